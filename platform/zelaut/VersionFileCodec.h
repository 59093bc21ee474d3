#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>
#include <array>

namespace ZelCommonUtils {

/**
 * Reads and writes the version file that lists the newest release of each application
 * (docs/update-version-file.md). Pure: bytes in, values out, no I/O.
 */
class VersionFileCodec final {
public:
    /// Larger downloads are refused: a real version file is a few hundred bytes.
    static constexpr int MaxFileSize = 64 * 1024;
    static constexpr int FieldCount = 5;

    /// major, minor, patch, build, release date as yyyymmdd (0 when unknown). Compared in that order.
    using Version = std::array<uint, FieldCount>;

    struct Application {
        QString name;
        Version version{};
        QString downloadUrl; ///< empty, or an absolute http/https URL
    };

    struct Document {
        bool ok = false;
        QString error; ///< why the file was refused, when !ok
        QVector<Application> applications;

        /// The entry for @p name, or null.
        const Application* find(const QString& name) const;
    };

    /// Parses a version file. Anything malformed or larger than MaxFileSize gives ok == false.
    static Document parse(const QByteArray& data);

    /// Negative when @p a is older than @p b, 0 when equal, positive when newer.
    static int compare(const Version& a, const Version& b);

    /// "3.1.3.0 (2013-11-27)", or "3.1.3.0" when no release date is known.
    static QString versionText(const Version& version);

    /// Parses "3.1.3.0" (one to four numbers, missing ones are 0) and an optional release date
    /// "2013-11-27". False when either is malformed.
    static bool parseVersion(const QString& numbers, const QString& released, Version* version);
};

} // namespace ZelCommonUtils
