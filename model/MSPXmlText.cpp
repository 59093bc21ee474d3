#include "MSPXmlText.h"

#include "ModelLog.h"

#include <QDebug>

namespace {

bool isXmlChar(uint code) {
    return code == 0x9 || code == 0xA || code == 0xD || (code >= 0x20 && code <= 0xD7FF) ||
           (code >= 0xE000 && code <= 0xFFFD) || (code >= 0x10000 && code <= 0x10FFFF);
}

} // namespace

QString MSPXmlText::escaped(const QString& text) {
    QString result;
    result.reserve(text.size());
    bool dropped = false;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        uint code = c.unicode();
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            code = QChar::surrogateToUcs4(c, text.at(i + 1));
            ++i;
        } else if (c.isSurrogate()) {
            dropped = true;
            continue;
        }
        if (!isXmlChar(code)) {
            dropped = true;
            continue;
        }
        switch (code) {
        case '&':
            result += QLatin1String("&amp;");
            break;
        case '<':
            result += QLatin1String("&lt;");
            break;
        case '>':
            result += QLatin1String("&gt;");
            break;
        case '\r':
            // A raw carriage return would be turned into a line feed by the reader.
            result += QLatin1String("&#13;");
            break;
        default:
            if (code > 0xFF)
                result += QLatin1String("&#") + QString::number(code) + QLatin1Char(';');
            else
                result += QChar(code);
        }
    }
    if (dropped)
        qCWarning(lcModel) << "dropped characters that a document cannot hold from" << text;
    return result;
}
