#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// "render FILE --scene N --at SECONDS [--lights K]": the lights of a scene of a configuration file
// at a moment, one line "PORT LIGHT #rrggbb" per light, ports and lights counted from 1.
class FrameCommand final {
public:
    // Reads the arguments after "render"; on failure says why in error (empty: show the usage).
    bool parse(const QStringList& arguments, QString* error);

    QString fileName() const { return m_fileName; }

    // Renders the scene of a checked configuration document; on failure (no such scene in the
    // file) says why in error and returns an empty text.
    QString frameText(const QByteArray& document, QString* error) const;

private:
    QString m_fileName;
    int m_scene = 0;
    double m_seconds = 0.0;
    int m_lights = 0; // 0: as the file says
};
