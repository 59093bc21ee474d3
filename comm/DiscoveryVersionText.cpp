#include "DiscoveryVersionText.h"

#include <QStringList>

DiscoveryVersionText::DiscoveryVersionText(const char* text) {
    if (!text)
        return;
    const QStringList lines = QString::fromLatin1(text).trimmed().split(QLatin1Char('\n'));
    if (lines.size() < 4)
        return;
    m_readable = true;
    // Values are taken untrimmed: a blank after the colon makes a different part number.
    m_product = lines.at(0).section(QLatin1Char(':'), 1, 1);
    m_hardware = lines.at(1).section(QLatin1Char(':'), 1, 1);
    m_softwarePartNumber = lines.at(2).section(QLatin1Char(':'), 1, 1);
    m_firmware = lines.at(3).section(QLatin1Char(':'), 1, 1).trimmed();
    QString digits;
    for (const QChar c : lines.at(3)) {
        if (c.isDigit())
            digits += c;
    }
    m_firmwareNumber = digits.toInt();
}

bool DiscoveryVersionText::isKeypad() const {
    return m_readable && m_softwarePartNumber == QLatin1String(KeypadPartNumber);
}
