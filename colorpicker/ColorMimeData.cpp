#include "ColorMimeData.h"

#include "ColorThumbnail.h"
#include "PickerLog.h"
#include "ZelColorLibrary.h"

#include <QColor>
#include <QDebug>
#include <QDrag>
#include <QMimeData>
#include <QPixmap>

namespace ZelColorPickerLib {

const QString ColorMimeData::ColorType = QStringLiteral("data/x-zelcolor");
const QString ColorMimeData::NameType = QStringLiteral("data/x-zelcolor-name");
const QString ColorMimeData::VendorIdType = QStringLiteral("data/x-zelcolor-vendorid");
const QString ColorMimeData::ForeignType = QStringLiteral("x-spectrail3/color");

namespace {

QString escapeField(QString text) {
    return text.replace(QLatin1Char('%'), QLatin1String("%25")).replace(QLatin1Char(','), QLatin1String("%2C"));
}

QString unescapeField(QString text) {
    return text.replace(QLatin1String("%2C"), QLatin1String(","), Qt::CaseInsensitive)
        .replace(QLatin1String("%25"), QLatin1String("%"));
}

QStringList fields(const QMimeData* data, const QString& type, bool latin1) {
    const QByteArray bytes = data->data(type);
    if (bytes.isEmpty())
        return {};
    if (bytes.size() > ColorMimeData::MaxPayloadBytes) {
        qCWarning(lcPicker) << "Colour payload of" << bytes.size() << "bytes in" << type << "ignored";
        return {};
    }
    const QString text = latin1 ? QString::fromLatin1(bytes) : QString::fromUtf8(bytes);
    QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() > ColorMimeData::MaxItems) {
        qCWarning(lcPicker) << "Colour payload of" << parts.size() << "items cut to" << ColorMimeData::MaxItems;
        parts = parts.mid(0, ColorMimeData::MaxItems);
    }
    return parts;
}

} // namespace

QString ColorMimeData::item(const Entry& entry) {
    return ZelColorLibrary::isValidUid(entry.uid) ? ZelColorLibrary::uidAndValue(entry.uid, entry.color)
                                                  : entry.color.aName();
}

QMimeData* ColorMimeData::encode(const QList<Entry>& entries) {
    auto* data = new QMimeData;
    QStringList items, names, vendorIds;
    ZelColor firstColor;
    for (const Entry& entry : entries) {
        if (!entry.color.isValid())
            continue;
        if (items.isEmpty())
            firstColor = entry.color;
        items << item(entry);
        names << escapeField(entry.name);
        vendorIds << escapeField(entry.vendorId);
    }
    if (items.isEmpty())
        return data;
    data->setData(ColorType, items.join(QLatin1Char(',')).toLatin1());
    data->setData(NameType, names.join(QLatin1Char(',')).toUtf8());
    data->setData(VendorIdType, vendorIds.join(QLatin1Char(',')).toUtf8());
    // Other programs understand the toolkit's own colour format.
    data->setColorData(firstColor.toQColor());
    return data;
}

bool ColorMimeData::canDecode(const QMimeData* data) {
    return data && (data->hasFormat(ColorType) || data->hasFormat(ForeignType) || data->hasColor());
}

QList<ColorMimeData::Entry> ColorMimeData::decode(const QMimeData* data) {
    QList<Entry> entries;
    if (!data)
        return entries;
    const bool ours = data->hasFormat(ColorType);
    const QStringList items = ours ? fields(data, ColorType, true) : fields(data, ForeignType, false);
    const QStringList names = ours ? fields(data, NameType, false) : QStringList();
    const QStringList vendorIds = ours ? fields(data, VendorIdType, false) : QStringList();
    const ZelColorLibrary* library = ZelColorLibrary::Instance();
    for (int i = 0; i < items.size(); ++i) {
        const QString text = items.at(i).trimmed();
        Entry entry;
        entry.uid = ZelColorLibrary::UidAndValueToUid(text);
        if (!ZelColorLibrary::isValidUid(entry.uid))
            entry.uid.clear();
        entry.color = library->get(text);
        if (!entry.color.isValid())
            continue;
        entry.name = unescapeField(names.value(i));
        entry.vendorId = unescapeField(vendorIds.value(i));
        entries << entry;
    }
    if (entries.isEmpty() && data->hasColor()) {
        const QColor color = qvariant_cast<QColor>(data->colorData());
        if (color.isValid())
            entries << Entry{QString(), ZelColor(color), QString(), QString()};
    }
    return entries;
}

ColorMimeData::Entry ColorMimeData::first(const QMimeData* data) {
    const QList<Entry> entries = decode(data);
    if (!entries.isEmpty())
        return entries.first();
    return Entry{QString(), ZelColor::fromRgb8(255, 0, 255), QString(), QString()};
}

QDrag* ColorMimeData::createDrag(QObject* source, const QList<Entry>& entries) {
    auto* drag = new QDrag(source);
    drag->setMimeData(encode(entries));
    const QPixmap pixmap =
        ColorThumbnail::swatch(entries.isEmpty() ? ZelColor::fromRgb8(255, 0, 255) : entries.first().color, 22);
    drag->setPixmap(pixmap);
    drag->setHotSpot(QPoint(16, 16));
    return drag;
}

} // namespace ZelColorPickerLib
