#include "ZelColorLibrary.h"

#include "ColorLog.h"

#include <QApplication>
#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QMimeData>
#include <QPainter>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QStandardPaths>
#include <QXmlStreamReader>

static void initPresetResources() {
    // The presets live in this static library; without a reference the linker drops them.
    Q_INIT_RESOURCE(zelcolorpresets);
}

const QString ZelColorLibrary::ProjectSwatches = QStringLiteral("Project Swatches");
const QString ZelColorLibrary::DefaultSwatches = QStringLiteral("Varnel Swatches");

namespace {

const QString RootElement = QStringLiteral("ZelColors");
const QString ListElement = QStringLiteral("List");
const QString ColorElement = QStringLiteral("Color");
constexpr int FormatVersion = 1;

ZelColorLibrary::ProblemReporter& reporter() {
    static ZelColorLibrary::ProblemReporter r = [](const QString& title, const QString& text) {
        if (qobject_cast<QApplication*>(QCoreApplication::instance()))
            QMessageBox::warning(QApplication::activeWindow(), title, text);
    };
    return r;
}

QString secondText(const ZelColor& color, const QString& vendorId) {
    const QString hex = color.toQColor().name();
    return vendorId.isEmpty() ? hex : vendorId + QLatin1Char(' ') + hex;
}

QString describe(const ZelColor& color) {
    switch (color.spec()) {
    case ZelColor::Rgb:
        return QStringLiteral("RGB %1, %2, %3").arg(color.red8()).arg(color.green8()).arg(color.blue8());
    case ZelColor::Hsb:
        return QStringLiteral("HSB %1\u00b0, %2, %3").arg(color.hue8()).arg(color.saturation8()).arg(color.value8());
    case ZelColor::Yxy:
        return QStringLiteral("x %1 y %2 Y %3")
            .arg(color.getx(), 0, 'f', 4)
            .arg(color.gety(), 0, 'f', 4)
            .arg(color.getY(), 0, 'f', 2);
    case ZelColor::NChannel: {
        QStringList levels;
        for (int i = 0; i < color.nChannelCount(); ++i)
            levels << QString::number(color.getNChannel8(i));
        return ColorUtils::hueformProfileIDName(color.hueformProfileID()) + QLatin1Char(' ') +
               levels.join(QLatin1Char(' '));
    }
    default:
        return QString();
    }
}

QPixmap plainThumbnail(const ZelColor& color) {
    QPixmap pixmap(13, 13);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(QColor(90, 90, 90));
    painter.setBrush(color.toQColor());
    painter.drawRect(0, 0, 12, 12);
    return pixmap;
}

// Control characters, and half characters (a surrogate without its pair, which a file in UTF-7 or
// with character references can hold): no file can carry them back, UTF-8 writes a '?' instead.
bool hasUnsafeCharacters(const QString& text) {
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.category() == QChar::Other_Control)
            return true;
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
        else if (c.isSurrogate())
            return true;
    }
    return false;
}

} // namespace

ZelColorLibrary* ZelColorLibrary::Instance() {
    static ZelColorLibrary* library = new ZelColorLibrary;
    return library;
}

ZelColorLibrary::ZelColorLibrary(QObject* parent)
    : QStandardItemModel(parent) {
    setColumnCount(1);
    ZelColor::registerMetaType();
    init(false, false, false);
}

void ZelColorLibrary::init(bool seedDefaults, bool loadPresets, bool loadUser) {
    if (!m_initialised) {
        m_initialised = true;
        ensureList(ProjectSwatches, FixedList);
        ensureList(DefaultSwatches, FixedList);
    }
    if (seedDefaults && !m_containsDefaults) {
        addDefaultColors();
        setContainsDefaults(true);
    }
    if (loadPresets)
        loadPresetFiles();
    if (loadUser)
        loadUserColors(QString());
}

void ZelColorLibrary::addDefaultColors() {
    struct Named {
        const char* name;
        int r, g, b;
    };
    static const Named swatches[] = {
        {QT_TRANSLATE_NOOP("ZelColorLibrary", "Red"), 255, 0, 0},
        {QT_TRANSLATE_NOOP("ZelColorLibrary", "Orange"), 255, 127, 0},
        {QT_TRANSLATE_NOOP("ZelColorLibrary", "Yellow"), 255, 255, 0},
        {QT_TRANSLATE_NOOP("ZelColorLibrary", "Green"), 0, 255, 0},
        {QT_TRANSLATE_NOOP("ZelColorLibrary", "Cyan"), 0, 255, 255},
        {QT_TRANSLATE_NOOP("ZelColorLibrary", "Blue"), 0, 0, 255},
        {QT_TRANSLATE_NOOP("ZelColorLibrary", "Violet"), 139, 0, 255},
        {QT_TRANSLATE_NOOP("ZelColorLibrary", "Magenta"), 255, 0, 255},
        {QT_TRANSLATE_NOOP("ZelColorLibrary", "White"), 255, 255, 255},
        {QT_TRANSLATE_NOOP("ZelColorLibrary", "Silver"), 192, 192, 192},
        {QT_TRANSLATE_NOOP("ZelColorLibrary", "Gray"), 128, 128, 128},
        {QT_TRANSLATE_NOOP("ZelColorLibrary", "Black"), 0, 0, 0},
    };
    struct White {
        const char* name;
        double x, y;
    };
    static const White bins[] = {
        {"2700", 0.45766, 0.40983}, {"3000", 0.43387, 0.40319}, {"3500", 0.40775, 0.39292}, {"4000", 0.38177, 0.37959},
        {"4500", 0.36128, 0.36686}, {"5000", 0.34464, 0.35506}, {"5700", 0.32867, 0.34246}, {"6500", 0.31230, 0.32825},
    };
    static const White whites[] = {
        {QT_TRANSLATE_NOOP("ZelColorLibrary", "Candle"), 0.50563, 0.41520},
        {QT_TRANSLATE_NOOP("ZelColorLibrary", "Incandescent"), 0.44757, 0.40745},
        {QT_TRANSLATE_NOOP("ZelColorLibrary", "Afternoon Daylight"), 0.33242, 0.34743},
        {QT_TRANSLATE_NOOP("ZelColorLibrary", "Noon Daylight"), 0.31271, 0.32902},
        {QT_TRANSLATE_NOOP("ZelColorLibrary", "North Sky Daylight"), 0.29902, 0.31485},
        {QT_TRANSLATE_NOOP("ZelColorLibrary", "Overcast Sky"), 0.28063, 0.28829},
        {QT_TRANSLATE_NOOP("ZelColorLibrary", "Spring White"), 0.34724, 0.38528},
        {QT_TRANSLATE_NOOP("ZelColorLibrary", "Summer White"), 0.41848, 0.42916},
        {QT_TRANSLATE_NOOP("ZelColorLibrary", "Fall White"), 0.50459, 0.40021},
        {QT_TRANSLATE_NOOP("ZelColorLibrary", "Winter White"), 0.28972, 0.31094},
        {QT_TRANSLATE_NOOP("ZelColorLibrary", "Rose White"), 0.38549, 0.34874},
        {QT_TRANSLATE_NOOP("ZelColorLibrary", "Violet White"), 0.31789, 0.29164},
    };

    setEditingMultipleColors(true);
    for (const Named& s : swatches)
        createColorWithName(ZelColor::fromRgb8(s.r, s.g, s.b), tr(s.name), QString(), DefaultSwatches, QString());
    for (const White& w : bins) {
        ZelColor white;
        white.setYxyF(1.0, w.x, w.y);
        createColorWithName(white, tr("%1 K %2").arg(QLatin1String(w.name), tr("/ center of ANSI bin")), QString(),
                            DefaultSwatches, QString());
    }
    for (const White& w : whites) {
        ZelColor white;
        white.setYxyF(1.0, w.x, w.y);
        createColorWithName(white, tr(w.name), QString(), DefaultSwatches, QString());
    }
    setEditingMultipleColors(false);
}

void ZelColorLibrary::setThumbnailGenerator(ThumbnailGenerator generator) {
    m_thumbnailGenerator = std::move(generator);
    for (QStandardItem* item : qAsConst(m_byUid))
        item->setData(thumbnail(get(item->data(UidRole).toString())), Qt::DecorationRole);
}

QPixmap ZelColorLibrary::thumbnail(const ZelColor& color) const {
    return m_thumbnailGenerator ? m_thumbnailGenerator(color) : plainThumbnail(color);
}

void ZelColorLibrary::setProblemReporter(ProblemReporter r) {
    reporter() = std::move(r);
}

void ZelColorLibrary::report(const QString& title, const QString& text) {
    qCWarning(lcColor).noquote() << title << ":" << text;
    if (reporter())
        reporter()(title, text);
}

// --- lookups ------------------------------------------------------------------------------

ZelColor ZelColorLibrary::get(const QString& uidOrValue) const {
    const QString uid = UidAndValueToUid(uidOrValue);
    if (!uid.isEmpty()) {
        if (const QStandardItem* item = colorItem(uid))
            return ZelColor(item->data(ColorTextRole).toString());
    }
    const QString value = UidAndValueToValue(uidOrValue);
    return value.isEmpty() ? ZelColor() : ZelColor(value);
}

QString ZelColorLibrary::getName(const QString& uidOrValue, int mode) const {
    const QString uid = UidAndValueToUid(uidOrValue);
    const QStandardItem* item = uid.isEmpty() ? nullptr : colorItem(uid);
    if (!item) {
        const QString value = UidAndValueToValue(uidOrValue);
        if (value.isEmpty())
            return QString();
        if (mode == Description)
            return describe(ZelColor(value));
        // In row order, so the same text always finds the same name.
        const QString normalised = ZelColor(value).aName();
        for (int row = 0; row < rowCount() && !item; ++row) {
            const QStandardItem* list = this->item(row);
            for (int c = 0; c < list->rowCount() && !item; ++c) {
                const QStandardItem* candidate = list->child(c);
                if (candidate->data(ColorTextRole).toString() == normalised &&
                    !candidate->data(NameRole).toString().isEmpty())
                    item = candidate;
            }
        }
        if (!item)
            return QString();
    }
    switch (mode) {
    case Description:
        return describe(ZelColor(item->data(ColorTextRole).toString()));
    case NameWithList:
        return QStringLiteral("%1 (%2)").arg(item->data(NameRole).toString(), item->parent()->text());
    default:
        return item->data(NameRole).toString();
    }
}

QString ZelColorLibrary::getVendorId(const QString& uid) const {
    const QStandardItem* item = colorItem(uid);
    return item ? item->data(VendorIdRole).toString() : QString();
}

QString ZelColorLibrary::getListOfUid(const QString& uid) const {
    const QStandardItem* item = colorItem(uid);
    return item ? item->parent()->text() : QString();
}

QStringList ZelColorLibrary::getModifiableLists() const {
    QStringList names;
    for (int row = 0; row < rowCount(); ++row) {
        if (item(row)->data(ListKindRole).toInt() == UserList)
            names << item(row)->text();
    }
    return names;
}

QStringList ZelColorLibrary::getAllLists() const {
    QStringList names;
    for (int row = 0; row < rowCount(); ++row)
        names << item(row)->text();
    return names;
}

bool ZelColorLibrary::isModifiableList(const QString& name) const {
    const QStandardItem* list = listItem(name);
    return list && list->data(ListKindRole).toInt() == UserList;
}

QStandardItem* ZelColorLibrary::listItem(const QString& name) const {
    for (int row = 0; row < rowCount(); ++row) {
        if (item(row)->text() == name)
            return item(row);
    }
    return nullptr;
}

QStandardItem* ZelColorLibrary::colorItem(const QString& uid) const {
    return m_byUid.value(uid, nullptr);
}

bool ZelColorLibrary::isListIndex(const QModelIndex& index) const {
    return index.isValid() && index.model() == this && !index.parent().isValid();
}

bool ZelColorLibrary::isUserListIndex(const QModelIndex& index) const {
    return isListIndex(index) && index.data(ListKindRole).toInt() == UserList;
}

QModelIndex ZelColorLibrary::listIndexOf(const QModelIndex& index) const {
    if (!index.isValid() || index.model() != this)
        return QModelIndex();
    return index.parent().isValid() ? index.parent() : index.sibling(index.row(), 0);
}

QModelIndex ZelColorLibrary::getIndexOfList(const QString& name) const {
    const QStandardItem* list = listItem(name);
    return list ? list->index() : QModelIndex();
}

QModelIndex ZelColorLibrary::getIndexOfUid(const QString& uid) const {
    const QStandardItem* item = colorItem(uid);
    return item ? item->index() : QModelIndex();
}

bool ZelColorLibrary::containsUid(const QString& uid) const {
    return m_byUid.contains(uid);
}

// --- uids ---------------------------------------------------------------------------------

QString ZelColorLibrary::UidAndValueToUid(const QString& text) {
    const int hash = text.indexOf(QLatin1Char('#'));
    return (hash < 0 ? text : text.left(hash)).trimmed();
}

QString ZelColorLibrary::UidAndValueToValue(const QString& text) {
    const int hash = text.indexOf(QLatin1Char('#'));
    return hash < 0 ? QString() : text.mid(hash).trimmed();
}

QString ZelColorLibrary::uidAndValue(const QString& uid, const ZelColor& color) {
    return uid + color.aName();
}

bool ZelColorLibrary::isValidUid(const QString& uid) {
    if (uid.isEmpty() || uid.size() > 128)
        return false;
    for (const QChar c : uid) {
        // Printable ASCII only: drag payloads carry uids as Latin-1.
        if (c == QLatin1Char('#') || c == QLatin1Char(',') || c == QLatin1Char('|') || c.unicode() <= 0x20 ||
            c.unicode() >= 0x7f)
            return false;
    }
    return true;
}

QString ZelColorLibrary::freshUid() const {
    QString uid;
    do {
        uid = QStringLiteral("zc") + QString::number(QRandomGenerator::global()->generate64(), 16);
    } while (m_byUid.contains(uid));
    return uid;
}

QString ZelColorLibrary::createNewSwatchUidFromUid(const QString& uid, const QString& list) {
    Q_UNUSED(list)
    Q_UNUSED(uid)
    // A copy is a colour of its own: nothing of the original uid may make them collide.
    return freshUid();
}

// --- lists --------------------------------------------------------------------------------

QString ZelColorLibrary::uniqueListName(const QString& wanted) const {
    if (!listItem(wanted))
        return wanted;
    for (int n = 2;; ++n) {
        const QString candidate = QStringLiteral("%1 %2").arg(wanted).arg(n);
        if (!listItem(candidate))
            return candidate;
    }
}

QStandardItem* ZelColorLibrary::ensureList(const QString& name, ListKind kind) {
    if (QStandardItem* existing = listItem(name))
        return existing;
    auto* list = new QStandardItem(name);
    list->setData(kind, ListKindRole);
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDropEnabled;
    if (kind == UserList)
        flags |= Qt::ItemIsEditable;
    list->setFlags(flags);
    appendRow(list);
    return list;
}

QString ZelColorLibrary::createColorList(const QString& name, bool userList) {
    const QString trimmed = name.simplified();
    if (trimmed.isEmpty() || trimmed.size() > MaxTextLength) {
        qCWarning(lcColor) << "A colour group needs a name of 1 to" << MaxTextLength << "characters";
        return QString();
    }
    if (userList) {
        ensureUserFileRead();
        // More than the reader takes would make the whole file unreadable at the next start.
        if (getModifiableLists().size() >= MaxLists) {
            qCWarning(lcColor) << "No more than" << MaxLists << "colour groups can be kept";
            return QString();
        }
    }
    const QString unique = uniqueListName(trimmed);
    ensureList(unique, userList ? UserList : FixedList);
    if (userList)
        userListsChanged();
    return unique;
}

bool ZelColorLibrary::renameColorList(const QString& oldName, const QString& newName) {
    QStandardItem* list = listItem(oldName);
    const QString trimmed = newName.simplified();
    if (!list || list->data(ListKindRole).toInt() != UserList) {
        qCWarning(lcColor) << "Only user groups can be renamed:" << oldName;
        return false;
    }
    if (trimmed == oldName)
        return true;
    if (trimmed.isEmpty() || trimmed.size() > MaxTextLength || listItem(trimmed)) {
        qCWarning(lcColor) << "A colour group cannot be named" << trimmed;
        return false;
    }
    ensureUserFileRead();
    list->setText(trimmed);
    emit listRenamed(oldName, trimmed);
    userListsChanged();
    return true;
}

bool ZelColorLibrary::deleteColorList(const QString& name) {
    QStandardItem* list = listItem(name);
    if (!list || list->data(ListKindRole).toInt() != UserList) {
        qCWarning(lcColor) << "Only user groups can be deleted:" << name;
        return false;
    }
    ensureUserFileRead();
    for (int row = 0; row < list->rowCount(); ++row)
        m_byUid.remove(list->child(row)->data(UidRole).toString());
    removeRow(list->row());
    userListsChanged();
    return true;
}

void ZelColorLibrary::userListsChanged() {
    saveUserFile();
    if (m_readingUserFile || m_batchDepth > 0)
        m_batchListsChanged = true;
    else
        emit listsChanged(getModifiableLists());
}

// --- colours ------------------------------------------------------------------------------

void ZelColorLibrary::updateColorItem(QStandardItem* item, const ZelColor& color, const QString& name,
                                      const QString& vendorId) {
    item->setText(name.isEmpty() ? describe(color) : name);
    item->setData(name, NameRole);
    item->setData(color.aName(), ColorTextRole);
    item->setData(vendorId, VendorIdRole);
    item->setData(secondText(color, vendorId), SecondTextRole);
    item->setData(thumbnail(color), Qt::DecorationRole);
    const QString description = describe(color);
    item->setToolTip(name.isEmpty() || name == description ? description : name + QLatin1Char('\n') + description);
}

QString ZelColorLibrary::createColorWithName(const ZelColor& color, const QString& name, const QString& uid,
                                             const QString& list, const QString& vendorId) {
    if (!color.isValid()) {
        qCWarning(lcColor) << "An empty colour cannot be added to" << list;
        return QString();
    }
    if (list.trimmed().isEmpty()) {
        qCWarning(lcColor) << "A colour needs a group to go into";
        return QString();
    }
    QStandardItem* listRow = listItem(list);
    if (!listRow)
        listRow = listItem(list.simplified());
    if (!listRow) {
        qCDebug(lcColor) << "Making the user group" << list << "for a new colour";
        if (createColorList(list, true) != list.simplified())
            return QString();
        listRow = listItem(list.simplified());
    }
    const bool userList = listRow->data(ListKindRole).toInt() == UserList;
    if (userList) {
        ensureUserFileRead();
        if (m_byUid.size() >= MaxColors) {
            qCWarning(lcColor) << "No more than" << MaxColors << "colours can be kept";
            return QString();
        }
    }

    const QString newUid = (isValidUid(uid) && !m_byUid.contains(uid)) ? uid : freshUid();
    auto* item = new QStandardItem;
    updateColorItem(item, color, name.left(MaxTextLength), vendorId.left(MaxTextLength));
    item->setData(newUid, UidRole);
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
    if (userList)
        flags |= Qt::ItemIsEditable;
    item->setFlags(flags);
    listRow->appendRow(item);
    m_byUid.insert(newUid, item);

    if (m_batchDepth > 0) {
        m_batchLists.insert(listRow->text());
        m_batchDirty = m_batchDirty || userList;
    } else {
        if (userList)
            saveUserFile();
        QModelIndex listIndex = listRow->index();
        emit addedColorToList(listIndex);
    }
    return newUid;
}

QString ZelColorLibrary::createColor(const ZelColor& color, const QString& uid, const QString& list,
                                     const QString& name, const QString& vendorId) {
    return createColorWithName(color, name, uid, list, vendorId);
}

bool ZelColorLibrary::renameColor(const QString& uid, const QString& name) {
    QStandardItem* item = colorItem(uid);
    if (!item || item->parent()->data(ListKindRole).toInt() != UserList) {
        qCWarning(lcColor) << "Only colours of user groups can be renamed:" << uid;
        return false;
    }
    ensureUserFileRead();
    const QString trimmed = name.simplified().left(MaxTextLength);
    updateColorItem(item, ZelColor(item->data(ColorTextRole).toString()), trimmed, item->data(VendorIdRole).toString());
    saveUserFile();
    return true;
}

bool ZelColorLibrary::deleteColor(const QString& uid) {
    QStandardItem* item = colorItem(uid);
    if (!item || item->parent()->data(ListKindRole).toInt() != UserList) {
        qCWarning(lcColor) << "Only colours of user groups can be deleted:" << uid;
        return false;
    }
    ensureUserFileRead();
    m_byUid.remove(uid);
    item->parent()->removeRow(item->row());
    saveUserFile();
    return true;
}

void ZelColorLibrary::setEditingMultipleColors(bool editing) {
    if (editing) {
        ++m_batchDepth;
        return;
    }
    if (m_batchDepth == 0) {
        qCWarning(lcColor) << "setEditingMultipleColors(false) without a matching true";
        return;
    }
    if (--m_batchDepth > 0)
        return;
    if (m_batchDirty) {
        m_batchDirty = false;
        saveUserFile();
    }
    if (std::exchange(m_batchListsChanged, false))
        emit listsChanged(getModifiableLists());
    const QSet<QString> lists = std::exchange(m_batchLists, {});
    for (const QString& name : lists) {
        QModelIndex listIndex = getIndexOfList(name);
        if (listIndex.isValid())
            emit addedColorToList(listIndex);
    }
}

bool ZelColorLibrary::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (index.model() != this || (role != Qt::EditRole && role != Qt::DisplayRole))
        return QStandardItemModel::setData(index, value, role);
    if (isListIndex(index)) {
        const QString oldName = index.data().toString();
        const QString newName = value.toString().simplified();
        // The user typed this name in place: say why it is not taken instead of quietly undoing it.
        if (newName != oldName && isUserListIndex(index) && listItem(newName)) {
            report(tr("Rename Color Group"), tr("A color group named \"%1\" already exists.").arg(newName));
            return false;
        }
        return renameColorList(oldName, newName);
    }
    return renameColor(index.data(UidRole).toString(), value.toString());
}

QStringList ZelColorLibrary::mimeTypes() const {
    return {QStringLiteral("data/x-zelcolor"), QStringLiteral("x-spectrail3/color"),
            QStringLiteral("application/x-color")};
}

bool ZelColorLibrary::canDropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                                      const QModelIndex& parent) const {
    Q_UNUSED(action)
    Q_UNUSED(row)
    Q_UNUSED(column)
    if (!data || !isUserListIndex(listIndexOf(parent)))
        return false;
    const QStringList types = mimeTypes();
    return std::any_of(types.cbegin(), types.cend(), [data](const QString& type) { return data->hasFormat(type); });
}

bool ZelColorLibrary::dropMimeData(const QMimeData*, Qt::DropAction, int, int, const QModelIndex&) {
    return false;
}

// --- files --------------------------------------------------------------------------------

QString ZelColorLibrary::userFilePath() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
           QStringLiteral("/UserColorGroups.zelcolors");
}

void ZelColorLibrary::setContainsDefaults(bool contains) {
    m_containsDefaults = contains;
}

void ZelColorLibrary::loadPresetFiles() {
    if (m_presetsLoaded)
        return;
    m_presetsLoaded = true;
    initPresetResources();
    const QDir dir(QStringLiteral(":/zelcolor/presets"));
    // Without a name filter: that would compile a regular expression, and load its engine, at start-up.
    const QStringList files = dir.entryList(QDir::Files, QDir::Name);
    for (const QString& fileName : files) {
        if (!fileName.endsWith(QLatin1String(".zelcolors")))
            continue;
        QFile file(dir.filePath(fileName));
        QList<ParsedList> lists;
        QString error;
        if (!file.open(QIODevice::ReadOnly) || !parseColorFile(file.readAll(), &lists, &error)) {
            qCWarning(lcColor) << "Preset" << fileName << "unreadable:" << error;
            continue;
        }
        setEditingMultipleColors(true);
        for (const ParsedList& parsed : qAsConst(lists)) {
            const QString name = createColorList(parsed.name, false);
            for (const ParsedColor& c : parsed.colors)
                createColorWithName(ZelColor(c.value), c.name, c.uid, name, c.vendorId);
        }
        setEditingMultipleColors(false);
    }
}

bool ZelColorLibrary::parseColorFile(const QByteArray& data, QList<ParsedList>* lists, QString* error) {
    QXmlStreamReader xml(data);
    int depth = 0;
    int colorCount = 0;
    bool sawRoot = false;
    bool inList = false;
    auto fail = [&](const QString& why) {
        *error = tr("%1 (line %2)").arg(why).arg(xml.lineNumber());
        lists->clear();
        return false;
    };
    auto attribute = [&](const QString& name, QString* out) {
        *out = xml.attributes().value(name).toString();
        return out->size() <= MaxTextLength && !hasUnsafeCharacters(*out);
    };

    while (!xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::DTD:
            // Entity declarations are how small files expand into huge ones; colour files need none.
            return fail(tr("The file declares a document type, which colour files never do."));
        case QXmlStreamReader::EntityReference:
            return fail(tr("The file uses entities, which colour files never do."));
        case QXmlStreamReader::StartElement: {
            ++depth;
            if (depth > 3)
                return fail(tr("The file is nested deeper than a colour file can be."));
            const QStringRef element = xml.name();
            if (depth == 1) {
                if (element != RootElement)
                    return fail(tr("This is not a colour file."));
                sawRoot = true;
                const int version = xml.attributes().value(QStringLiteral("version")).toInt();
                if (version > FormatVersion)
                    return fail(tr("The file was written by a newer version (format %1).").arg(version));
            } else if (depth == 2 && element == ListElement) {
                if (lists->size() >= MaxLists)
                    return fail(tr("The file holds more than %1 colour groups.").arg(MaxLists));
                ParsedList list;
                if (!attribute(QStringLiteral("name"), &list.name))
                    return fail(tr("A colour group has an unusable name."));
                lists->append(list);
                inList = true;
            } else if (depth == 3 && inList && element == ColorElement) {
                if (++colorCount > MaxColors)
                    return fail(tr("The file holds more than %1 colours.").arg(MaxColors));
                ParsedColor c;
                if (!attribute(QStringLiteral("uid"), &c.uid) || !attribute(QStringLiteral("name"), &c.name) ||
                    !attribute(QStringLiteral("value"), &c.value) ||
                    !attribute(QStringLiteral("vendorId"), &c.vendorId))
                    return fail(tr("A colour has an unusable attribute."));
                if (!ZelColor(c.value).isValid())
                    return fail(tr("\"%1\" is not a colour value.").arg(c.value.left(40)));
                lists->last().colors.append(c);
            }
            // Unknown elements are skipped, so that later versions can add to the format.
            break;
        }
        case QXmlStreamReader::EndElement:
            if (depth == 2)
                inList = false;
            --depth;
            break;
        default:
            break;
        }
    }
    if (xml.hasError()) {
        if (!sawRoot)
            return fail(tr("This is not a colour file."));
        if (xml.error() == QXmlStreamReader::PrematureEndOfDocumentError)
            return fail(tr("The file ends before the document does (truncated?)."));
        return fail(tr("The file is not readable XML: %1").arg(xml.errorString()));
    }
    if (!sawRoot)
        return fail(tr("This is not a colour file."));
    return true;
}

bool ZelColorLibrary::loadUserColors(const QString& path) {
    m_lastError.clear();
    if (path.isEmpty()) {
        ensureUserFileRead();
        return m_userFileWritable;
    }

    const QString title = tr("Import Color Group");
    auto refuse = [&](const QString& why) {
        m_lastError = why;
        report(
            title,
            tr("The file \"%1\" was not imported: %2\nNothing was changed.").arg(QDir::toNativeSeparators(path), why));
        return false;
    };
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return refuse(file.errorString());
    if (file.size() > MaxFileBytes)
        return refuse(tr("The file is larger than a colour file can be (%1 MB).").arg(MaxFileBytes >> 20));
    const QByteArray data = file.read(MaxFileBytes + 1);
    if (data.size() > MaxFileBytes)
        return refuse(tr("The file is larger than a colour file can be (%1 MB).").arg(MaxFileBytes >> 20));

    QList<ParsedList> lists;
    QString error;
    if (!parseColorFile(data, &lists, &error))
        return refuse(error);
    if (lists.isEmpty())
        return refuse(tr("The file holds no colour groups."));

    ensureUserFileRead();
    setEditingMultipleColors(true);
    for (const ParsedList& parsed : qAsConst(lists)) {
        const QString wanted = parsed.name.simplified().isEmpty() ? QFileInfo(path).completeBaseName() : parsed.name;
        const QString name = createColorList(wanted.isEmpty() ? tr("Imported Colors") : wanted, true);
        for (const ParsedColor& c : parsed.colors)
            createColorWithName(ZelColor(c.value), c.name, c.uid, name, c.vendorId);
    }
    setEditingMultipleColors(false);
    return true;
}

void ZelColorLibrary::ensureUserFileRead() {
    if (!m_userFileRead && !m_readingUserFile)
        readUserFile();
}

void ZelColorLibrary::readUserFile() {
    m_userFileRead = true;
    const QString path = userFilePath();
    QFile file(path);
    if (!file.exists())
        return;

    QList<ParsedList> lists;
    QString error;
    if (!file.open(QIODevice::ReadOnly)) {
        error = file.errorString();
    } else if (file.size() > MaxFileBytes) {
        error = tr("The file is larger than a colour file can be.");
    } else {
        const QByteArray data = file.readAll();
        file.close();
        if (parseColorFile(data, &lists, &error) && !lists.isEmpty()) {
            m_readingUserFile = true;
            setEditingMultipleColors(true);
            for (const ParsedList& parsed : qAsConst(lists)) {
                const QString name = createColorList(parsed.name.isEmpty() ? tr("User Colors") : parsed.name, true);
                for (const ParsedColor& c : parsed.colors)
                    createColorWithName(ZelColor(c.value), c.name, c.uid, name, c.vendorId);
            }
            m_batchDirty = false; // what was just read needs no writing back
            m_readingUserFile = false;
            setEditingMultipleColors(false);
            return;
        }
        if (error.isEmpty())
            return; // a file without groups: nothing to keep
    }
    file.close();

    // Keep the damaged file for the user (and for us), and start with empty user groups.
    const QString aside = path + QStringLiteral(".damaged-") +
                          QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd-hhmmss"));
    QString text;
    if (QFile::rename(path, aside)) {
        text = tr("Your saved colour groups could not be read: %1\nThe file was kept as \"%2\"; "
                  "new groups are saved in a fresh file.")
                   .arg(error, QDir::toNativeSeparators(aside));
    } else {
        m_userFileWritable = false;
        text = tr("Your saved colour groups could not be read: %1\nThe file \"%2\" could not be moved aside, "
                  "so changes to user groups are not saved in this session.")
                   .arg(error, QDir::toNativeSeparators(path));
    }
    report(tr("Color Library"), text);
}

QDomDocument ZelColorLibrary::colorDocument(const QList<ParsedList>& lists) {
    QDomDocument doc;
    doc.appendChild(
        doc.createProcessingInstruction(QStringLiteral("xml"), QStringLiteral("version=\"1.0\" encoding=\"UTF-8\"")));
    QDomElement root = doc.createElement(RootElement);
    root.setAttribute(QStringLiteral("version"), FormatVersion);
    doc.appendChild(root);
    for (const ParsedList& list : lists) {
        QDomElement listElement = doc.createElement(ListElement);
        listElement.setAttribute(QStringLiteral("name"), list.name);
        for (const ParsedColor& color : list.colors) {
            QDomElement e = doc.createElement(ColorElement);
            e.setAttribute(QStringLiteral("uid"), color.uid);
            e.setAttribute(QStringLiteral("name"), color.name);
            e.setAttribute(QStringLiteral("value"), color.value);
            e.setAttribute(QStringLiteral("vendorId"), color.vendorId);
            listElement.appendChild(e);
        }
        root.appendChild(listElement);
    }
    return doc;
}

QDomDocument ZelColorLibrary::userDocument() const {
    QList<ParsedList> lists;
    for (int row = 0; row < rowCount(); ++row) {
        const QStandardItem* list = item(row);
        if (list->data(ListKindRole).toInt() != UserList)
            continue;
        ParsedList parsed;
        parsed.name = list->text();
        for (int c = 0; c < list->rowCount(); ++c) {
            const QStandardItem* color = list->child(c);
            parsed.colors.append({color->data(UidRole).toString(), color->data(NameRole).toString(),
                                  color->data(ColorTextRole).toString(), color->data(VendorIdRole).toString()});
        }
        lists.append(parsed);
    }
    return colorDocument(lists);
}

void ZelColorLibrary::saveUserFile() {
    if (m_readingUserFile)
        return;
    if (m_batchDepth > 0) {
        m_batchDirty = true;
        return;
    }
    if (!m_userFileWritable) {
        qCWarning(lcColor) << "User colour groups are not saved: the unreadable file was not moved aside";
        return;
    }
    const QString path = userFilePath();
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    // commit() misses a failure of the last buffered bytes (a full disk) and would put the cut-off
    // file in place; flushing first makes the failure visible.
    if (!file.open(QIODevice::WriteOnly) || file.write(userDocument().toByteArray(1)) < 0 || !file.flush() ||
        !file.commit()) {
        // The previous file is still in place: QSaveFile replaces it only on a complete write.
        static bool reported = false;
        const QString why = file.errorString();
        qCWarning(lcColor) << "Saving the user colour groups to" << path << "failed:" << why;
        if (!reported) {
            reported = true;
            report(tr("Color Library"), tr("Your colour groups could not be saved: %1").arg(why));
        }
    }
}

QDomDocument ZelColorLibrary::createColorDoc(const QModelIndexList& indexes, const QString& name) const {
    QDomDocument doc;
    doc.appendChild(
        doc.createProcessingInstruction(QStringLiteral("xml"), QStringLiteral("version=\"1.0\" encoding=\"UTF-8\"")));
    QDomElement root = doc.createElement(RootElement);
    root.setAttribute(QStringLiteral("version"), FormatVersion);
    doc.appendChild(root);
    QDomElement listElement = doc.createElement(ListElement);
    listElement.setAttribute(QStringLiteral("name"), name);
    root.appendChild(listElement);

    QSet<QString> written;
    auto addColor = [&](const QModelIndex& index) {
        const QString uid = index.data(UidRole).toString();
        if (uid.isEmpty() || written.contains(uid))
            return;
        written.insert(uid);
        QDomElement e = doc.createElement(ColorElement);
        e.setAttribute(QStringLiteral("uid"), uid);
        e.setAttribute(QStringLiteral("name"), index.data(NameRole).toString());
        e.setAttribute(QStringLiteral("value"), index.data(ColorTextRole).toString());
        e.setAttribute(QStringLiteral("vendorId"), index.data(VendorIdRole).toString());
        listElement.appendChild(e);
    };
    for (const QModelIndex& index : indexes) {
        if (index.model() != this)
            continue;
        if (isListIndex(index)) {
            for (int row = 0; row < rowCount(index); ++row)
                addColor(this->index(row, 0, index));
        } else {
            addColor(index);
        }
    }
    return doc;
}
