#pragma once

#include "ZelColor.h"

#include <QDomDocument>
#include <QHash>
#include <QModelIndexList>
#include <QPixmap>
#include <QSet>
#include <QStandardItemModel>
#include <QStringList>
#include <functional>

/**
 * The one colour collection: lists (groups) of named colours, shown as a two-level item model.
 *
 * Top-level rows are lists; their children are colours. A colour row carries its display name
 * (Qt::DisplayRole), its text form (ColorTextRole, 257), its uid (UidRole, 258), a second text
 * the filter searches (SecondTextRole, 265: vendor id and hex value) and its vendor id
 * (VendorIdRole). A list row answers ListKindRole.
 *
 * Uids are unique across the whole library, never empty and never hold '#', ',' or '|', so
 * "uid + colour text" (a colour text always starts with '#') splits back unambiguously and lists
 * of such items can be joined with ',' or '|'.
 *
 * Fixed lists ("Project Swatches", "Varnel Swatches" with the defaults, and the presets that ship
 * with the program) cannot be renamed, deleted or edited by the user. User lists are kept in
 * userFilePath(), rewritten atomically after every change and read once per process.
 */
class ZelColorLibrary : public QStandardItemModel {
    Q_OBJECT
    Q_DISABLE_COPY(ZelColorLibrary)

public:
    enum Role {
        ColorTextRole = Qt::UserRole + 1,  // 257
        UidRole = Qt::UserRole + 2,        // 258
        SecondTextRole = Qt::UserRole + 9, // 265
        VendorIdRole = Qt::UserRole + 10,
        ListKindRole = Qt::UserRole + 11,
        NameRole = Qt::UserRole + 12, // the stored name, possibly empty
    };
    enum ListKind { NotAList = 0, FixedList = 1, UserList = 2 };
    /** Naming modes of getName(). */
    enum NameMode { StoredName = 0, NameWithList = 1, Description = 2 };

    static const QString ProjectSwatches; // "Project Swatches"
    static const QString DefaultSwatches; // "Varnel Swatches"

    using ThumbnailGenerator = std::function<QPixmap(const ZelColor&)>;
    /** Shows a problem to the user (title, text). The default opens a warning message box. */
    using ProblemReporter = std::function<void(const QString& title, const QString& text)>;

    /** Upper limits for files that are read; anything beyond is refused unread. */
    static constexpr qint64 MaxFileBytes = 16 * 1024 * 1024;
    static constexpr int MaxColors = 100000;
    static constexpr int MaxLists = 2000;
    static constexpr int MaxTextLength = 1024;

    /** The collection; made on first use and alive until the program ends. */
    static ZelColorLibrary* Instance();

    /** The program uses Instance(); a separate library is for tests (a second start, say). */
    explicit ZelColorLibrary(QObject* parent = nullptr);

    /**
     * Makes the fixed lists (idempotent). With @p seedDefaults the default swatches and whites
     * are added to "Varnel Swatches", with @p loadPresets the presets are loaded, with
     * @p loadUser the user file is read now. The editor calls init(false, false, false) and lets
     * the first colour picker seed the rest.
     */
    void init(bool seedDefaults, bool loadPresets, bool loadUser);

    /** The function that draws the icon of a colour row; rows already present are redrawn. */
    void setThumbnailGenerator(ThumbnailGenerator generator);
    QPixmap thumbnail(const ZelColor& color) const;

    static void setProblemReporter(ProblemReporter reporter);

    /**
     * The stored colour for a uid; @p uidOrValue may also be "uid + colour text" (the stored
     * colour if the uid is known, else the text's colour) or a bare colour text. An unknown uid
     * gives an empty colour.
     */
    ZelColor get(const QString& uidOrValue) const;
    /**
     * StoredName: the name stored for the uid, or for a bare colour text the name of the first
     * library colour of that text; empty when unknown. NameWithList: "name (list)".
     * Description: a readable form of the colour's value ("RGB 255, 0, 0", "x 0.3127 y 0.3290").
     */
    QString getName(const QString& uidOrValue, int mode = StoredName) const;
    QString getVendorId(const QString& uid) const;
    /** The list that holds the uid; empty when unknown. */
    QString getListOfUid(const QString& uid) const;

    /** Names of the user lists, in row order. */
    QStringList getModifiableLists() const;
    QStringList getAllLists() const;
    bool isModifiableList(const QString& name) const;

    /**
     * Adds a list; @p userList makes it a user list. A name already taken gets " 2", " 3"...;
     * an empty name is refused. Answers the name it got (empty when refused).
     */
    QString createColorList(const QString& name, bool userList = true);
    bool renameColorList(const QString& oldName, const QString& newName);
    bool deleteColorList(const QString& name);

    /**
     * Adds a colour to @p list (made as a user list when missing). An empty or taken @p uid gets a
     * fresh one; an invalid colour is refused. Answers the uid used, empty when refused.
     */
    QString createColorWithName(const ZelColor& color, const QString& name, const QString& uid, const QString& list,
                                const QString& vendorId);
    /** createColorWithName without a name: the row shows the colour's description. */
    QString createColor(const ZelColor& color, const QString& uid, const QString& list, const QString& name,
                        const QString& vendorId);
    bool renameColor(const QString& uid, const QString& name);
    bool deleteColor(const QString& uid);

    /** The uid part of "uid + colour text" (everything before the first '#'). */
    static QString UidAndValueToUid(const QString& text);
    /** The colour text part (from the first '#'); empty when there is none. */
    static QString UidAndValueToValue(const QString& text);
    /** The payload item for a library colour. */
    static QString uidAndValue(const QString& uid, const ZelColor& color);
    /** 1 to 128 printable ASCII characters, none of them '#', ',', '|' or a space. */
    static bool isValidUid(const QString& uid);

    /** Adds the default swatches and whites to "Varnel Swatches" (what a first picker seeds). */
    void addDefaultColors();
    /** Loads the preset lists that ship with the program (once). */
    void loadPresetFiles();
    void setContainsDefaults(bool contains = true);
    bool containsDefaults() const { return m_containsDefaults; }

    /**
     * Empty @p path: reads the user file (once per process). Otherwise imports a ".zelcolors"
     * file: each of its lists becomes a new user list. A file that is not a colour document,
     * truncated, too large or too deep is refused with a message and changes nothing.
     */
    bool loadUserColors(const QString& path);
    /** The reason the last loadUserColors refused its file. */
    QString lastError() const { return m_lastError; }
    /** Where the user lists are kept. */
    static QString userFilePath();

    /** One colour of a ".zelcolors" document, its attributes as written. */
    struct ParsedColor {
        QString uid;
        QString name;
        QString value;
        QString vendorId;
        bool operator==(const ParsedColor& other) const {
            return uid == other.uid && name == other.name && value == other.value && vendorId == other.vendorId;
        }
    };
    /** One colour group of a ".zelcolors" document. */
    struct ParsedList {
        QString name;
        QList<ParsedColor> colors;
        bool operator==(const ParsedList& other) const { return name == other.name && colors == other.colors; }
    };
    /**
     * Reads a ".zelcolors" document without touching any library. False, with @p lists empty and
     * @p error naming the problem and its line, for anything that is not a well-formed colour
     * document within the limits above.
     */
    static bool parseColorFile(const QByteArray& data, QList<ParsedList>* lists, QString* error);
    /** The ".zelcolors" document of @p lists, as the user file and exports are written. */
    static QDomDocument colorDocument(const QList<ParsedList>& lists);

    /**
     * A ".zelcolors" document named @p name with the colours of @p indexes (a list index stands
     * for all its colours; each colour appears once).
     */
    QDomDocument createColorDoc(const QModelIndexList& indexes, const QString& name) const;

    bool isListIndex(const QModelIndex& index) const;
    bool isUserListIndex(const QModelIndex& index) const;
    /** The list row of an index (itself for a list row). */
    QModelIndex listIndexOf(const QModelIndex& index) const;
    QModelIndex getIndexOfList(const QString& name) const;
    QModelIndex getIndexOfUid(const QString& uid) const;
    bool containsUid(const QString& uid) const;
    /** A fresh uid for a copy of @p uid going into @p list; never one the library holds. */
    QString createNewSwatchUidFromUid(const QString& uid, const QString& list);

    /** Brackets a batch of additions: one save and one addedColorToList per list at the end. */
    void setEditingMultipleColors(bool editing);

    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    // Views accept colour drops onto user lists; the view adds the colours itself (it decodes
    // the payload), so dropMimeData never changes the model.
    Qt::DropActions supportedDropActions() const override { return Qt::CopyAction; }
    QStringList mimeTypes() const override;
    bool canDropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                         const QModelIndex& parent) const override;
    bool dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                      const QModelIndex& parent) override;

signals:
    void addedColorToList(QModelIndex& listIndex);
    void listRenamed(const QString& oldName, const QString& newName);
    void listsChanged(QStringList userLists);

private:
    QStandardItem* listItem(const QString& name) const;
    QStandardItem* colorItem(const QString& uid) const;
    QStandardItem* ensureList(const QString& name, ListKind kind);
    QString uniqueListName(const QString& wanted) const;
    QString freshUid() const;
    void updateColorItem(QStandardItem* item, const ZelColor& color, const QString& name, const QString& vendorId);
    void userListsChanged();
    void ensureUserFileRead();
    void readUserFile();
    void saveUserFile();
    QDomDocument userDocument() const;
    static void report(const QString& title, const QString& text);

    ThumbnailGenerator m_thumbnailGenerator;
    QHash<QString, QStandardItem*> m_byUid;
    QSet<QString> m_batchLists;
    QString m_lastError;
    int m_batchDepth = 0;
    bool m_batchDirty = false;
    bool m_batchListsChanged = false;
    bool m_initialised = false;
    bool m_containsDefaults = false;
    bool m_presetsLoaded = false;
    bool m_userFileRead = false;
    bool m_readingUserFile = false;
    // False when a damaged user file could not be moved aside: it must not be overwritten.
    bool m_userFileWritable = true;
};
