#include "VersionFileCodec.h"

#include <QDate>
#include <QSet>
#include <QStringList>
#include <QUrl>
#include <QXmlStreamReader>

namespace ZelCommonUtils {

namespace {

const QString RootElement = QStringLiteral("ZelAppVersions");
const QString ApplicationElement = QStringLiteral("application");
const QString SupportedFormat = QStringLiteral("1");

constexpr int DateField = 4;

QDate dateOf(uint yyyymmdd) {
    return QDate(int(yyyymmdd / 10000), int(yyyymmdd / 100 % 100), int(yyyymmdd % 100));
}

VersionFileCodec::Document refused(const QString& why) {
    VersionFileCodec::Document document;
    document.error = why;
    return document;
}

// Only web pages may be offered to the browser: the file comes over plain HTTP.
bool isAcceptableDownloadUrl(const QString& text) {
    if (text.isEmpty())
        return true;
    const QUrl url(text, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    return url.isValid() && (scheme == QLatin1String("http") || scheme == QLatin1String("https")) &&
           !url.host().isEmpty();
}

} // namespace

const VersionFileCodec::Application* VersionFileCodec::Document::find(const QString& name) const {
    for (const Application& application : applications) {
        if (application.name == name)
            return &application;
    }
    return nullptr;
}

bool VersionFileCodec::parseVersion(const QString& numbers, const QString& released, Version* version) {
    Version parsed{};
    const QStringList parts = numbers.trimmed().split(QLatin1Char('.'));
    if (parts.isEmpty() || parts.size() > DateField)
        return false;
    for (int i = 0; i < parts.size(); ++i) {
        const QString& part = parts.at(i);
        // toUInt() would also take "+3" and " 3"; only plain digits are a version number.
        if (part.isEmpty() || part.size() > 9)
            return false;
        for (const QChar c : part) {
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return false;
        }
        parsed[size_t(i)] = part.toUInt();
    }
    if (!released.isEmpty()) {
        const QDate date = QDate::fromString(released.trimmed(), Qt::ISODate);
        if (!date.isValid() || date.year() < 1 || date.year() > 9999)
            return false;
        parsed[DateField] = uint(date.year() * 10000 + date.month() * 100 + date.day());
    }
    *version = parsed;
    return true;
}

int VersionFileCodec::compare(const Version& a, const Version& b) {
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i] != b[i])
            return a[i] < b[i] ? -1 : 1;
    }
    return 0;
}

QString VersionFileCodec::versionText(const Version& version) {
    QString text = QStringLiteral("%1.%2.%3.%4").arg(version[0]).arg(version[1]).arg(version[2]).arg(version[3]);
    const uint released = version[DateField];
    if (released == 0)
        return text;
    const QDate date = dateOf(released);
    return text + QStringLiteral(" (%1)").arg(date.isValid() ? date.toString(Qt::ISODate) : QString::number(released));
}

VersionFileCodec::Document VersionFileCodec::parse(const QByteArray& data) {
    if (data.size() > MaxFileSize)
        return refused(QStringLiteral("the file is larger than %1 bytes").arg(MaxFileSize));
    if (data.trimmed().isEmpty())
        return refused(QStringLiteral("the file is empty"));

    Document document;
    QSet<QString> seen;
    QXmlStreamReader xml(data);
    bool inRoot = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.tokenType() == QXmlStreamReader::DTD)
            return refused(QStringLiteral("document type declarations are not accepted"));
        if (!xml.isStartElement())
            continue;
        if (!inRoot) {
            if (xml.name() != RootElement)
                return refused(QStringLiteral("the root element is not <%1>").arg(RootElement));
            const QStringRef format = xml.attributes().value(QLatin1String("format"));
            if (!format.isEmpty() && format != SupportedFormat)
                return refused(QStringLiteral("unsupported format \"%1\"").arg(format.toString()));
            inRoot = true;
            continue;
        }
        if (xml.name() != ApplicationElement) {
            // Newer files may carry more; what we do not know we leave alone.
            xml.skipCurrentElement();
            continue;
        }
        const QXmlStreamAttributes attributes = xml.attributes();
        Application application;
        application.name = attributes.value(QLatin1String("name")).toString().trimmed();
        const QString numbers = attributes.value(QLatin1String("version")).toString();
        const QString released = attributes.value(QLatin1String("released")).toString();
        application.downloadUrl = attributes.value(QLatin1String("download")).toString().trimmed();
        const qint64 line = xml.lineNumber();
        if (application.name.isEmpty())
            return refused(QStringLiteral("line %1: an application without a name").arg(line));
        if (seen.contains(application.name))
            return refused(QStringLiteral("line %1: \"%2\" is listed twice").arg(line).arg(application.name));
        if (!parseVersion(numbers, released, &application.version))
            return refused(QStringLiteral("line %1: \"%2\" has a malformed version \"%3\" or release date \"%4\"")
                               .arg(line)
                               .arg(application.name, numbers, released));
        if (!isAcceptableDownloadUrl(application.downloadUrl))
            return refused(QStringLiteral("line %1: \"%2\" has a download page that is not an http(s) URL")
                               .arg(line)
                               .arg(application.name));
        seen.insert(application.name);
        document.applications.append(application);
        xml.skipCurrentElement();
    }
    if (xml.hasError())
        return refused(QStringLiteral("line %1: %2").arg(xml.lineNumber()).arg(xml.errorString()));
    if (!inRoot)
        return refused(QStringLiteral("no <%1> element").arg(RootElement));
    document.ok = true;
    return document;
}

} // namespace ZelCommonUtils
