#include "MSPDocument.h"

#include "MSPHandler.h"
#include "MSPScene.h"
#include "MSPSceneModel.h"
#include "MSPXmlText.h"
#include "ModelLog.h"
#include "SystemConfiguration.h"

#include <QDebug>
#include <QIODevice>
#include <QXmlInputSource>
#include <QXmlSimpleReader>
#include <QXmlStreamReader>

#include <QRegularExpression>

QT_WARNING_PUSH
QT_WARNING_DISABLE_DEPRECATED

namespace {

// The reader keeps only the low 16 bits of a character reference beyond U+FFFF, so such
// references (which we write for characters outside ISO-8859-1) are handed to it as the two
// references of their UTF-16 surrogate pair, which it joins back into the character.
QByteArray withReadableReferences(const QByteArray& data) {
    if (!data.contains("&#"))
        return data;
    static const QRegularExpression reference(QStringLiteral("&#(x[0-9A-Fa-f]{5,6}|[0-9]{5,7});"));
    const QString text = QString::fromLatin1(data);
    QString result;
    int last = 0;
    QRegularExpressionMatchIterator it = reference.globalMatch(text);
    while (it.hasNext()) {
        const QRegularExpressionMatch match = it.next();
        const QString digits = match.captured(1);
        bool ok = false;
        const uint code = digits.startsWith(QLatin1Char('x')) ? digits.mid(1).toUInt(&ok, 16) : digits.toUInt(&ok);
        if (!ok || code <= 0xFFFF || code > 0x10FFFF)
            continue;
        result += text.midRef(last, match.capturedStart() - last);
        result += QStringLiteral("&#%1;&#%2;").arg(QChar::highSurrogate(code)).arg(QChar::lowSurrogate(code));
        last = match.capturedEnd();
    }
    if (last == 0)
        return data;
    result += text.midRef(last);
    return result.toLatin1();
}

} // namespace

QString MSPDocument::text(const MSPSceneModel& model, const SystemConfiguration& configuration) {
    QString text = QLatin1String("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<v1>\n<all_shows>\n");
    text += QLatin1String("<currentShow>") + QString::number(model.activeSceneIndex() + 1) +
            QLatin1String("</currentShow>\n");
    for (int row = 0; row < MSPSceneModel::sceneCount; ++row) {
        if (const MSPScene* scene = model.scene(row))
            text += scene->XMLData();
        text += QLatin1Char('\n');
    }
    text += QLatin1String("</all_shows>") + configuration.XMLData(false) + QLatin1String("\n</v1>");
    return text;
}

QString MSPDocument::text() {
    return text(*MSPSceneModel::instance(), *SystemConfiguration::instance());
}

QByteArray MSPDocument::fileContents() {
    // Text content is escaped to ISO-8859-1 characters, so nothing is lost here.
    return text().toLatin1();
}

bool MSPDocument::write(QIODevice* device) {
    if (!device || !device->isWritable()) {
        qCWarning(lcModel) << "no writable device for the configuration";
        return false;
    }
    const QByteArray contents = fileContents();
    if (device->write(contents) != contents.size()) {
        qCWarning(lcModel) << "configuration not written:" << device->errorString();
        return false;
    }
    return true;
}

MSPDocument::ReadResult MSPDocument::read(const QByteArray& data, bool sendToDevice) {
    MSPHandler handler(sendToDevice);
    return parse(data, &handler);
}

MSPDocument::ReadResult MSPDocument::check(const QByteArray& data) {
    return inspect(data, Inspector());
}

MSPDocument::ReadResult MSPDocument::inspect(const QByteArray& data, const Inspector& inspector) {
    MSPSceneModel model;
    SystemConfiguration configuration;
    MSPHandler handler(&model, &configuration);
    const ReadResult result = parse(data, &handler);
    if (inspector)
        inspector(result, model, configuration);
    return result;
}

MSPDocument::ReadResult MSPDocument::parse(const QByteArray& data, MSPHandler* handler) {
    ReadResult result;
    if (data.size() > maximumSize) {
        result.error = QStringLiteral("document of %1 bytes is larger than %2 bytes").arg(data.size()).arg(maximumSize);
        qCWarning(lcModel).noquote() << result.error;
        return result;
    }
    QXmlInputSource source;
    source.setData(withReadableReferences(data));
    QXmlSimpleReader reader;
    reader.setFeature(QStringLiteral("http://xml.org/sax/features/namespaces"), false);
    reader.setFeature(QStringLiteral("http://xml.org/sax/features/namespace-prefixes"), true);
    reader.setContentHandler(handler);
    reader.setErrorHandler(handler);
    result.ok = reader.parse(&source, false);
    result.currentShowIndex = handler->currentShowIndex();
    result.restore = handler->restoreSequence();
    if (!result.ok) {
        result.error = handler->failure();
        result.line = handler->failureLine();
        if (result.error.isEmpty())
            result.error = QStringLiteral("document unreadable");
    }
    return result;
}

MSPDocument::ReadResult MSPDocument::read(QIODevice* device, bool sendToDevice) {
    if (!device || !device->isReadable()) {
        ReadResult result;
        result.error = QStringLiteral("no readable document");
        qCWarning(lcModel).noquote() << result.error;
        return result;
    }
    // One byte more than allowed tells a document at the limit from a larger one.
    return read(device->read(maximumSize + 1), sendToDevice);
}

QByteArray MSPDocument::withName(const QByteArray& data, const QString& name) {
    // Bytes taken one to one as characters keep every offset a byte offset, whatever encoding the
    // document declares; only the markup is looked at.
    const QString text = QString::fromLatin1(data);
    QXmlStreamReader xml(text);
    struct Span {
        int start = -1;
        int end = -1;
    };
    // As the document reader has it: a property applies the last value read to the key that the
    // last url read ends in.
    QString urlText;
    QString elementText;
    Span value;
    QVector<Span> names;
    while (!xml.atEnd()) {
        xml.readNext();
        // The reader may have looked a character past the token; the tags' brackets are certain.
        const int offset = int(xml.characterOffset());
        if (xml.isStartElement()) {
            elementText.clear();
            if (xml.name() == QLatin1String("value"))
                value = Span{text.lastIndexOf(QLatin1Char('>'), offset - 1) + 1, -1};
        } else if (xml.isCharacters()) {
            elementText += xml.text();
        } else if (xml.isEndElement()) {
            if (xml.name() == QLatin1String("url")) {
                urlText = elementText;
            } else if (xml.name() == QLatin1String("value") && value.start >= 0) {
                value.end = text.lastIndexOf(QLatin1Char('<'), offset - 1);
            } else if (xml.name() == QLatin1String("property") && value.end >= 0 &&
                       urlText.split(QLatin1Char('/')).last() == QLatin1String("name") &&
                       (names.isEmpty() || names.last().start != value.start)) {
                names.append(value);
            }
        }
    }
    if (xml.hasError() || names.isEmpty())
        return data;

    // Character references for everything beyond ASCII: right in a file of any encoding.
    QString escaped;
    for (const QChar c : MSPXmlText::escaped(name)) {
        if (c.unicode() < 0x80)
            escaped += c;
        else
            escaped += QStringLiteral("&#%1;").arg(c.unicode());
    }
    QByteArray result = data;
    for (int i = names.size() - 1; i >= 0; --i) {
        const Span& span = names.at(i);
        // An empty element written <value/> gets a start and an end tag around the name.
        if (text.midRef(span.start - 2, 2) == QLatin1String("/>"))
            result.replace(span.start - 2, 2, (QLatin1String(">") + escaped + QLatin1String("</value>")).toLatin1());
        else
            result.replace(span.start, span.end - span.start, escaped.toLatin1());
    }
    return result;
}

QT_WARNING_POP
