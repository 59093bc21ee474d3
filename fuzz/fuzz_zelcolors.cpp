// The ".zelcolors" reader: what it takes is within its limits, names real colours, and written
// again (as the user file and exports are) reads back to the same groups.
#include "FuzzSupport.h"
#include "ZelColorLibrary.h"

namespace {

// Every text of the groups, as UTF-16 code units: what differs may not print.
QString describe(const QList<ZelColorLibrary::ParsedList>& lists) {
    QStringList texts;
    auto units = [](const QString& text) {
        QStringList hex;
        for (const QChar c : text)
            hex << QString::number(c.unicode(), 16);
        return hex.join(QLatin1Char(' '));
    };
    for (const ZelColorLibrary::ParsedList& list : lists) {
        texts << QStringLiteral("list [%1]").arg(units(list.name));
        for (const ZelColorLibrary::ParsedColor& c : list.colors)
            texts << QStringLiteral("  [%1] [%2] [%3] [%4]")
                         .arg(units(c.uid), units(c.name), units(c.value), units(c.vendorId));
    }
    return texts.join(QLatin1Char('\n'));
}

} // namespace

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
    FUZZ_CHECK(again == lists, describe(lists) + QStringLiteral("\nread back as\n") + describe(again));
    return 0;
}
