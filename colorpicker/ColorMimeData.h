#pragma once

#include "ZelColor.h"

#include <QList>
#include <QString>

class QDrag;
class QMimeData;
class QObject;

namespace ZelColorPickerLib {

/**
 * The colour drag-and-drop payload every colour widget shares.
 *
 * "data/x-zelcolor" holds one item per colour, joined by ",": a library colour is its uid
 * followed directly by its text form, any other colour its text form alone (a text form starts
 * with '#'). "data/x-zelcolor-name" and "data/x-zelcolor-vendorid" hold the names and vendor
 * ids in the same order, joined by ","; a ',' or '%' inside one is written as %2C or %25.
 * "x-spectrail3/color" is read in the same item form when another program offers it, and the
 * toolkit's own colour format is offered and read for everything else.
 */
class ColorMimeData final {
public:
    struct Entry {
        QString uid;
        ZelColor color;
        QString name;
        QString vendorId;
    };

    static const QString ColorType;    // "data/x-zelcolor"
    static const QString NameType;     // "data/x-zelcolor-name"
    static const QString VendorIdType; // "data/x-zelcolor-vendorid"
    static const QString ForeignType;  // "x-spectrail3/color"

    /** Payloads beyond these are not read: a drop is a small thing. */
    static constexpr int MaxPayloadBytes = 4 * 1024 * 1024;
    static constexpr int MaxItems = 10000;

    /** A new payload for @p entries (the caller owns it). */
    static QMimeData* encode(const QList<Entry>& entries);
    /** True when the payload carries a colour in one of the forms above. */
    static bool canDecode(const QMimeData* data);
    /**
     * The colours of a payload, in order; a library uid is looked up in the library (its stored
     * colour wins over the text). Items that name no colour are left out.
     */
    static QList<Entry> decode(const QMimeData* data);
    /** The first colour of a payload; magenta when nothing decodes. */
    static Entry first(const QMimeData* data);
    /** The "data/x-zelcolor" item of one colour. */
    static QString item(const Entry& entry);

    /** A drag with the payload, a 22 x 22 picture of the first colour and hot spot (16, 16). */
    static QDrag* createDrag(QObject* source, const QList<Entry>& entries);
};

} // namespace ZelColorPickerLib
