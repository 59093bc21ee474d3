// The colour text form: a text that names a colour gives a text form that names the very same
// colour again, and that text never holds the separators of colour lists.
#include "FuzzSupport.h"
#include "ZelColor.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzSupport::initialise();
    const QString text = QString::fromUtf8(FuzzSupport::bytes(data, size));
    const ZelColor color(text);
    if (!color.isValid()) {
        FUZZ_CHECK(color.aName().isEmpty(), color.aName());
        return 0;
    }
    const QString name = color.aName();
    FUZZ_CHECK(name.startsWith(QLatin1Char('#')), name);
    FUZZ_CHECK(!name.contains(QLatin1Char(',')) && !name.contains(QLatin1Char('|')), name);
    const ZelColor again(name);
    FUZZ_CHECK(again.isValid() && again.spec() == color.spec(), name);
    FUZZ_CHECK(again.aName() == name, FuzzSupport::firstDifference(name, again.aName()));
    FUZZ_CHECK(again == color, name);
    return 0;
}
