#pragma once

#include <QString>

// The version text of a discovery answer: at least four "label:value" lines, the product, its
// hardware, its software part number and its firmware version. Only the software part number
// tells this product from others that answer the same request.
class DiscoveryVersionText final {
public:
    static constexpr char KeypadPartNumber[] = "SFT-009251-00";

    explicit DiscoveryVersionText(const char* text);

    bool isReadable() const { return m_readable; }
    QString product() const { return m_product; }
    QString hardware() const { return m_hardware; }
    QString softwarePartNumber() const { return m_softwarePartNumber; }
    // The firmware version as the fourth line gives it ("1.1.20"), exact where the packed number
    // of the answer saturates.
    QString firmware() const { return m_firmware; }
    // The fourth line's digits as one number (132 for 1.3.2).
    int firmwareNumber() const { return m_firmwareNumber; }

    bool isKeypad() const;

private:
    bool m_readable = false;
    QString m_product;
    QString m_hardware;
    QString m_softwarePartNumber;
    QString m_firmware;
    int m_firmwareNumber = 0;
};
