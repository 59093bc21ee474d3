// The ".zelcolors" reader: what it takes is within its limits, names real colours, and written
// again (as the user file and exports are) reads back to the same groups.
#include "FuzzSupport.h"
#include "ZelColorLibrary.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzSupport::initialise();
    const QByteArray input = FuzzSupport::bytes(data, size);

    QList<ZelColorLibrary::ParsedList> lists;
    QString error;
    if (!ZelColorLibrary::parseColorFile(input, &lists, &error)) {
        FUZZ_CHECK(lists.isEmpty() && !error.isEmpty(), error);
        return 0;
    }
    FUZZ_CHECK(lists.size() <= ZelColorLibrary::MaxLists, QString::number(lists.size()));
    int colors = 0;
    for (const ZelColorLibrary::ParsedList& list : qAsConst(lists)) {
        FUZZ_CHECK(list.name.size() <= ZelColorLibrary::MaxTextLength, list.name.left(80));
        for (const ZelColorLibrary::ParsedColor& color : list.colors) {
            ++colors;
            FUZZ_CHECK(ZelColor(color.value).isValid(), color.value.left(80));
        }
    }
    FUZZ_CHECK(colors <= ZelColorLibrary::MaxColors, QString::number(colors));

    const QByteArray written = ZelColorLibrary::colorDocument(lists).toByteArray(1);
    QList<ZelColorLibrary::ParsedList> again;
    FUZZ_CHECK(ZelColorLibrary::parseColorFile(written, &again, &error), error);
    FUZZ_CHECK(again == lists, QString::fromUtf8(written.left(400)));
    return 0;
}
