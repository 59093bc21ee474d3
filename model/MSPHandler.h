#pragma once

#include "ColorUtils.h"
#include "RestoreSequence.h"
#include "ZelColor.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QXmlDefaultHandler>

class MSPSceneModel;
class SystemConfiguration;

QT_WARNING_PUSH
QT_WARNING_DISABLE_DEPRECATED

// Reads a document (a configuration file or a keypad reply) into the scene model and the system
// configuration. With send-to-device it also lists, as it reads, the requests that write every
// scene and the configuration to the keypad (restoreSequence(), run by the caller).
class MSPHandler : public QXmlDefaultHandler {
public:
    // Far more than any document of ours needs; deeper or longer input is hostile or broken.
    static constexpr int maximumDepth = 32;
    static constexpr int maximumTextLength = 64 * 1024;

    explicit MSPHandler(bool sendToDevice);
    // A trial read into models of the caller's, never touching the keypad link: tells whether a
    // document would be taken whole before the shared models see any of it.
    MSPHandler(MSPSceneModel* model, SystemConfiguration* configuration);

    void setDocumentLocator(QXmlLocator* locator) override;

    bool startElement(const QString& namespaceURI, const QString& localName, const QString& qName,
                      const QXmlAttributes& attributes) override;
    bool endElement(const QString& namespaceURI, const QString& localName, const QString& qName) override;
    bool characters(const QString& text) override;

    bool warning(const QXmlParseException& exception) override;
    bool error(const QXmlParseException& exception) override;
    bool fatalError(const QXmlParseException& exception) override;
    QString errorString() const override;

    // The file's or reply's active scene (0-7), -1 when it named none.
    int currentShowIndex() const { return m_currentShowIndex; }
    // With send-to-device: what writes the document to the keypad.
    const RestoreSequence& restoreSequence() const { return m_restore; }
    // Why the parse ended early; empty after a good parse.
    QString failure() const { return m_failure; }
    // The line the parse ended on, 0 when it did not end early or the line is unknown.
    int failureLine() const { return m_failureLine; }

    // The chromaticity of a document number, n / scale, as the float that the writers turn back into n.
    static float documentChromaticity(const QString& text, int scale);

private:
    struct Triple {
        float Y = 0;
        float x = 0;
        float y = 0;
        bool isZero() const { return Y == 0 && x == 0 && y == 0; }
    };

    bool fail(const QString& reason);
    void endShow();
    bool endProperty();
    bool applySwitchState();
    void writeScene(int index);
    void writeConfiguration();
    void endAllShows();

    QString m_urlText;
    QStringList m_paramTexts;
    QList<ZelColor> m_colors;
    int m_numColors = 0;
    ZelColor m_currentColor;
    QString m_elementText;
    int m_effectType = 0;
    MSPSceneModel* m_sceneModel;
    SystemConfiguration* m_configuration;
    int m_currentShowIndex = -1;
    QString m_propertyValue;
    bool m_sendToDevice;
    bool m_linked = true;
    QXmlLocator* m_locator = nullptr;
    int m_failureLine = 0;
    ColorUtils::HueformProfileID m_profile;
    Triple m_colorTriple;
    Triple m_paramTriple;
    RestoreSequence m_restore;

    int m_depth = 0;
    QString m_failure;
};

QT_WARNING_POP
