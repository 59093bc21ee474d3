// The address field's validator: an accepted address is a plain dotted IPv4 address that is
// accepted again unchanged, nothing else is rewritten, and every beginning of an accepted
// address can be typed (is never refused on the way).
#include "FuzzSupport.h"
#include "IP4Validator.h"

#include <QHostAddress>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzSupport::initialise();
    static IP4Validator validator;
    const QString typed = QString::fromUtf8(FuzzSupport::bytes(data, size));
    QString input = typed;
    int pos = input.size();
    const QValidator::State state = validator.validate(input, pos);
    if (state != QValidator::Acceptable) {
        FUZZ_CHECK(input == typed, input);
        return 0;
    }

    const QHostAddress address(input);
    FUZZ_CHECK(address.protocol() == QAbstractSocket::IPv4Protocol && address.toString() == input, input);
    QString again = input;
    FUZZ_CHECK(validator.validate(again, pos) == QValidator::Acceptable && again == input, again);
    for (int length = 0; length < input.size(); ++length) {
        QString prefix = input.left(length);
        int at = prefix.size();
        FUZZ_CHECK(validator.validate(prefix, at) != QValidator::Invalid, input.left(length));
    }
    return 0;
}
