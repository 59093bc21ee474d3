// The colour drag-and-drop payload: the colours read from any payload, offered again, are read
// back the same (colour, library uid, name and vendor id, in order).
//
// Input: one byte saying which formats are present (bit 0 "data/x-zelcolor", 1 its names,
// 2 its vendor ids, 3 the foreign format, 4 the toolkit's colour from the next four bytes),
// then the payloads of the present formats, in that order, separated by 0x1E.
#include "ColorMimeData.h"
#include "FuzzSupport.h"

#include <QColor>
#include <QMimeData>

#include <memory>

using ZelColorPickerLib::ColorMimeData;

namespace {

QString describe(const QList<ColorMimeData::Entry>& entries) {
    QStringList items;
    for (const ColorMimeData::Entry& e : entries)
        items << QStringLiteral("[%1|%2|%3|%4]").arg(e.uid, e.color.aName(), e.name, e.vendorId);
    return items.join(QLatin1Char(' '));
}

bool sameEntries(const QList<ColorMimeData::Entry>& a, const QList<ColorMimeData::Entry>& b) {
    if (a.size() != b.size())
        return false;
    for (int i = 0; i < a.size(); ++i) {
        if (a.at(i).uid != b.at(i).uid || a.at(i).color.aName() != b.at(i).color.aName() ||
            a.at(i).name != b.at(i).name || a.at(i).vendorId != b.at(i).vendorId)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzSupport::initialise(true);
    if (size < 1)
        return 0;
    const quint8 present = data[0];
    QByteArray rest = FuzzSupport::bytes(data + 1, size - 1);
    QMimeData payload;
    if (present & 0x10) {
        const QByteArray rgba = rest.left(4).leftJustified(4, '\0');
        rest = rest.mid(4);
        payload.setColorData(QColor(quint8(rgba.at(0)), quint8(rgba.at(1)), quint8(rgba.at(2)), quint8(rgba.at(3))));
    }
    const QList<QByteArray> parts = rest.split('\x1e');
    const QStringList types = {ColorMimeData::ColorType, ColorMimeData::NameType, ColorMimeData::VendorIdType,
                               ColorMimeData::ForeignType};
    int next = 0;
    for (int bit = 0; bit < types.size(); ++bit) {
        if (present & (1 << bit))
            payload.setData(types.at(bit), parts.value(next++));
    }

    const QList<ColorMimeData::Entry> entries = ColorMimeData::decode(&payload);
    for (const ColorMimeData::Entry& entry : entries)
        FUZZ_CHECK(entry.color.isValid(), describe(entries));
    if (entries.isEmpty())
        return 0;
    FUZZ_CHECK(ColorMimeData::canDecode(&payload), QString());
    FUZZ_CHECK(sameEntries({ColorMimeData::first(&payload)}, {entries.first()}), describe(entries));

    const std::unique_ptr<QMimeData> offered(ColorMimeData::encode(entries));
    const QList<ColorMimeData::Entry> again = ColorMimeData::decode(offered.get());
    FUZZ_CHECK(sameEntries(entries, again), describe(entries) + QStringLiteral(" came back as ") + describe(again));
    return 0;
}
