#pragma once

#include <QString>

// The version text of a discovery answer: at least four "label:value" lines. Only the software
// part number tells this product from others that answer the same request.
class DiscoveryVersionText final {
public:
    static constexpr char KeypadPartNumber[] = "SFT-009251-00";

    explicit DiscoveryVersionText(const char* text);

    bool isReadable() const { return m_readable; }
    QString hardwareVersion() const { return m_hardwareVersion; }
    QString firmwareVersion() const { return m_firmwareVersion; }
    QString softwarePartNumber() const { return m_softwarePartNumber; }
    int buildNumber() const { return m_buildNumber; }

    bool isKeypad() const;

private:
    bool m_readable = false;
    QString m_hardwareVersion;
    QString m_firmwareVersion;
    QString m_softwarePartNumber;
    int m_buildNumber = 0;
};
