#include "TestEnvironment.h"
#include "ZelColorLibrary.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <memory>

namespace {

QStringList problems;

void clearUserFiles() {
    const QFileInfo info(ZelColorLibrary::userFilePath());
    QDir dir(info.absolutePath());
    for (const QString& name : dir.entryList({info.fileName() + QStringLiteral("*")}, QDir::Files))
        dir.remove(name);
}

QStringList damagedCopies() {
    const QFileInfo info(ZelColorLibrary::userFilePath());
    return QDir(info.absolutePath()).entryList({info.fileName() + QStringLiteral(".damaged-*")}, QDir::Files);
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& data) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

QStringList namesIn(const ZelColorLibrary& library, const QString& list) {
    QStringList names;
    const QModelIndex index = library.getIndexOfList(list);
    for (int row = 0; row < library.rowCount(index); ++row)
        names << library.index(row, 0, index).data(ZelColorLibrary::NameRole).toString();
    return names;
}

} // namespace

class TestZelColorLibrary : public QObject {
    Q_OBJECT

private slots:
    void init();
    void fixedListsAndDefaults();
    void userListsAndSignals();
    void coloursRolesAndLookups();
    void uidsStayUnique();
    void batchEmitsOncePerList();
    void editingThroughTheModel();
    void exportThenImport();
    void badImportsChangeNothing_data();
    void badImportsChangeNothing();
    void persistsAcrossRestart();
    void damagedUserFileIsKeptAside();
    void changesBeforeReadingDoNotLoseTheFile();
};

void TestZelColorLibrary::init() {
    clearUserFiles();
    problems.clear();
    ZelColorLibrary::setProblemReporter(
        [](const QString& title, const QString& text) { problems << title + QStringLiteral(": ") + text; });
}

void TestZelColorLibrary::fixedListsAndDefaults() {
    ZelColorLibrary library;
    QCOMPARE(library.getAllLists(), QStringList({"Project Swatches", "Varnel Swatches"}));
    QVERIFY(library.getModifiableLists().isEmpty());
    QVERIFY(!library.containsDefaults());

    library.init(true, true, false);
    QVERIFY(library.containsDefaults());
    const QStringList defaults = namesIn(library, ZelColorLibrary::DefaultSwatches);
    QCOMPARE(defaults.size(), 12 + 8 + 12);
    QCOMPARE(defaults.first(), QStringLiteral("Red"));
    QCOMPARE(defaults.at(12), QStringLiteral("2700 K / center of ANSI bin"));
    QCOMPARE(defaults.last(), QStringLiteral("Violet White"));
    QVERIFY(library.getAllLists().contains(QStringLiteral("Stage Colors")));
    const int listCount = library.rowCount();
    library.init(true, true, false); // seeding twice would duplicate everything
    QCOMPARE(library.rowCount(), listCount);
    QCOMPARE(namesIn(library, ZelColorLibrary::DefaultSwatches).size(), defaults.size());

    const QModelIndex red = library.index(0, 0, library.getIndexOfList(ZelColorLibrary::DefaultSwatches));
    const QModelIndex white = library.index(12, 0, library.getIndexOfList(ZelColorLibrary::DefaultSwatches));
    QCOMPARE(library.get(red.data(ZelColorLibrary::UidRole).toString()), ZelColor::fromRgb8(255, 0, 0));
    QCOMPARE(library.get(white.data(ZelColorLibrary::UidRole).toString()).spec(), 3);
    QVERIFY(!(red.flags() & Qt::ItemIsEditable));

    // Fixed lists stay as they are, through the operations and through the model.
    for (const QString& fixed : {ZelColorLibrary::ProjectSwatches, ZelColorLibrary::DefaultSwatches}) {
        QVERIFY(!library.renameColorList(fixed, QStringLiteral("Mine")));
        QVERIFY(!library.deleteColorList(fixed));
        QVERIFY(!library.setData(library.getIndexOfList(fixed), QStringLiteral("Mine")));
        QVERIFY(!library.isUserListIndex(library.getIndexOfList(fixed)));
        QVERIFY(library.isListIndex(library.getIndexOfList(fixed)));
    }
    QVERIFY(!library.deleteColor(red.data(ZelColorLibrary::UidRole).toString()));
    QVERIFY(!QFile::exists(ZelColorLibrary::userFilePath()));
}

void TestZelColorLibrary::userListsAndSignals() {
    ZelColorLibrary library;
    QSignalSpy lists(&library, &ZelColorLibrary::listsChanged);
    QSignalSpy renamed(&library, &ZelColorLibrary::listRenamed);

    QCOMPARE(library.createColorList(QStringLiteral("Favourites"), true), QStringLiteral("Favourites"));
    QCOMPARE(library.createColorList(QStringLiteral("Favourites"), true), QStringLiteral("Favourites 2"));
    QCOMPARE(library.createColorList(QStringLiteral("Project Swatches"), true), QStringLiteral("Project Swatches 2"));
    QVERIFY(library.createColorList(QStringLiteral("   "), true).isEmpty());
    QCOMPARE(library.getModifiableLists(), QStringList({"Favourites", "Favourites 2", "Project Swatches 2"}));
    QCOMPARE(lists.count(), 3);
    QCOMPARE(lists.last().first().toStringList(), library.getModifiableLists());

    QVERIFY(!library.renameColorList(QStringLiteral("Favourites 2"), QStringLiteral("Favourites")));
    QVERIFY(!library.renameColorList(QStringLiteral("Favourites 2"), QString()));
    QVERIFY(library.renameColorList(QStringLiteral("Favourites 2"), QStringLiteral("Show colours")));
    QCOMPARE(renamed.count(), 1);
    QCOMPARE(renamed.first(), QVariantList({"Favourites 2", "Show colours"}));
    QVERIFY(library.deleteColorList(QStringLiteral("Project Swatches 2")));
    QCOMPARE(library.getModifiableLists(), QStringList({"Favourites", "Show colours"}));
    QCOMPARE(lists.count(), 5);
    // A group named with other spacing is the same group, not a new empty one.
    QVERIFY(!library
                 .createColorWithName(ZelColor::fromRgb8(4, 5, 6), QString(), QString(),
                                      QStringLiteral(" Show   colours "), QString())
                 .isEmpty());
    QCOMPARE(library.getModifiableLists(), QStringList({"Favourites", "Show colours"}));

    // No more groups than the next start reads back.
    library.setEditingMultipleColors(true);
    for (int i = library.getModifiableLists().size(); i < ZelColorLibrary::MaxLists; ++i)
        QVERIFY(!library.createColorList(QStringLiteral("Group %1").arg(i), true).isEmpty());
    QVERIFY(library.createColorList(QStringLiteral("One too many"), true).isEmpty());
    for (const QString& name : library.getModifiableLists().mid(2))
        library.deleteColorList(name);
    library.setEditingMultipleColors(false);

    // A colour for a list that does not exist makes it a user list, as favourites expect.
    const QString uid = library.createColorWithName(ZelColor::fromRgb8(1, 2, 3), QStringLiteral("Dark"), QString(),
                                                    QStringLiteral("Migrated Favorites"), QString());
    QVERIFY(!uid.isEmpty());
    QVERIFY(library.isModifiableList(QStringLiteral("Migrated Favorites")));
    QCOMPARE(library.getListOfUid(uid), QStringLiteral("Migrated Favorites"));
    QVERIFY(library.deleteColorList(QStringLiteral("Migrated Favorites")));
    QVERIFY(!library.containsUid(uid));
    QVERIFY(!library.getIndexOfUid(uid).isValid());
}

void TestZelColorLibrary::coloursRolesAndLookups() {
    ZelColorLibrary library;
    library.createColorList(QStringLiteral("Mine"), true);
    QList<QModelIndex> added;
    connect(&library, &ZelColorLibrary::addedColorToList, this, [&added](QModelIndex& list) { added << list; });
    const ZelColor amber = ZelColor::fromRgb8(255, 176, 0);
    const QString uid = library.createColorWithName(amber, QStringLiteral("Amber"), QStringLiteral("amber-1"),
                                                    QStringLiteral("Mine"), QStringLiteral("V-021"));
    QCOMPARE(uid, QStringLiteral("amber-1"));
    QCOMPARE(added.count(), 1);
    QCOMPARE(added.first(), library.getIndexOfList(QStringLiteral("Mine")));
    QVERIFY(
        library.createColorWithName(ZelColor(), QStringLiteral("None"), QString(), QStringLiteral("Mine"), QString())
            .isEmpty());

    const QModelIndex row = library.getIndexOfUid(uid);
    QCOMPARE(row.data().toString(), QStringLiteral("Amber"));
    QCOMPARE(row.data(257).toString(), amber.aName());
    QCOMPARE(row.data(258).toString(), uid);
    QVERIFY(row.data(265).toString().contains(QStringLiteral("V-021")));
    QVERIFY(row.data(265).toString().contains(QStringLiteral("#ffb000")));
    QCOMPARE(library.getVendorId(uid), QStringLiteral("V-021"));
    QCOMPARE(row.data(Qt::DecorationRole).value<QPixmap>().size(), QSize(13, 13));
    QVERIFY(row.flags() & Qt::ItemIsEditable);

    const QString item = ZelColorLibrary::uidAndValue(uid, amber);
    QCOMPARE(item, QStringLiteral("amber-1#ffb000"));
    QCOMPARE(ZelColorLibrary::UidAndValueToUid(item), uid);
    QCOMPARE(ZelColorLibrary::UidAndValueToValue(item), QStringLiteral("#ffb000"));
    QCOMPARE(ZelColorLibrary::UidAndValueToUid(QStringLiteral("#ffb000")), QString());
    QCOMPARE(ZelColorLibrary::UidAndValueToValue(QStringLiteral("amber-1")), QString());

    // The stored colour wins over the text that travels with the uid.
    QCOMPARE(library.get(uid), amber);
    QCOMPARE(library.get(uid + QStringLiteral("#000000")), amber);
    QCOMPARE(library.get(QStringLiteral("gone#0000ff")), ZelColor::fromRgb8(0, 0, 255));
    QCOMPARE(library.get(QStringLiteral("#00ff00")), ZelColor::fromRgb8(0, 255, 0));
    QVERIFY(!library.get(QStringLiteral("gone")).isValid());

    QCOMPARE(library.getName(uid, ZelColorLibrary::StoredName), QStringLiteral("Amber"));
    QCOMPARE(library.getName(amber.aName(), ZelColorLibrary::StoredName), QStringLiteral("Amber"));
    QCOMPARE(library.getName(uid, ZelColorLibrary::NameWithList), QStringLiteral("Amber (Mine)"));
    QCOMPARE(library.getName(uid, ZelColorLibrary::Description), QStringLiteral("RGB 255, 176, 0"));
    QCOMPARE(library.getName(QStringLiteral("#010203"), ZelColorLibrary::StoredName), QString());

    // Without a name a row shows what the colour is.
    const QString unnamed =
        library.createColor(ZelColor::fromRgb8(10, 20, 30), QString(), QStringLiteral("Mine"), QString(), QString());
    QCOMPARE(library.getIndexOfUid(unnamed).data().toString(), QStringLiteral("RGB 10, 20, 30"));
    QCOMPARE(library.getName(unnamed, 0), QString());

    int calls = 0;
    library.setThumbnailGenerator([&calls](const ZelColor&) {
        ++calls;
        QPixmap pixmap(13, 13);
        pixmap.fill(Qt::black);
        return pixmap;
    });
    QCOMPARE(calls, 2); // existing rows are redrawn
    QCOMPARE(library.getIndexOfUid(uid).data(Qt::DecorationRole).value<QPixmap>().toImage().pixelColor(6, 6),
             QColor(Qt::black));
}

void TestZelColorLibrary::uidsStayUnique() {
    ZelColorLibrary library;
    library.createColorList(QStringLiteral("A"), true);
    library.createColorList(QStringLiteral("B"), true);
    QSet<QString> uids;
    for (int i = 0; i < 200; ++i)
        uids << library.createColor(ZelColor::fromRgb8(i, 0, 0), QString(), QStringLiteral("A"), QString(), QString());
    QCOMPARE(uids.size(), 200);
    for (const QString& uid : qAsConst(uids))
        QVERIFY2(ZelColorLibrary::isValidUid(uid), qPrintable(uid));

    const QString first = *uids.cbegin();
    // The same uid asked for again, or one that would break a payload, gets a fresh one.
    const QString again =
        library.createColor(ZelColor::fromRgb8(1, 1, 1), first, QStringLiteral("B"), QString(), QString());
    QVERIFY(again != first && !uids.contains(again));
    for (const QString& bad : {QStringLiteral("a#b"), QStringLiteral("a,b"), QStringLiteral("a|b"),
                               QStringLiteral("a b"), QStringLiteral("\u00e9t\u00e9")}) {
        const QString got =
            library.createColor(ZelColor::fromRgb8(2, 2, 2), bad, QStringLiteral("B"), QString(), QString());
        QVERIFY(got != bad);
        QVERIFY(ZelColorLibrary::isValidUid(got));
    }
    const QString copy = library.createNewSwatchUidFromUid(first, QStringLiteral("B"));
    QVERIFY(copy != first && !library.containsUid(copy) && ZelColorLibrary::isValidUid(copy));
}

void TestZelColorLibrary::batchEmitsOncePerList() {
    ZelColorLibrary library;
    library.createColorList(QStringLiteral("A"), true);
    library.createColorList(QStringLiteral("B"), true);
    QSignalSpy added(&library, &ZelColorLibrary::addedColorToList);
    const QDateTime before = QFileInfo(ZelColorLibrary::userFilePath()).lastModified();
    library.setEditingMultipleColors(true);
    for (int i = 0; i < 5; ++i) {
        library.createColor(ZelColor::fromRgb8(i, 1, 1), QString(), QStringLiteral("A"), QString(), QString());
        library.createColor(ZelColor::fromRgb8(i, 2, 2), QString(), QStringLiteral("B"), QString(), QString());
    }
    QCOMPARE(added.count(), 0);
    QVERIFY(!readAll(ZelColorLibrary::userFilePath()).contains("#000101"));
    library.setEditingMultipleColors(false);
    QCOMPARE(added.count(), 2);
    QVERIFY(readAll(ZelColorLibrary::userFilePath()).contains("#040202"));
    Q_UNUSED(before)
}

void TestZelColorLibrary::editingThroughTheModel() {
    ZelColorLibrary library;
    library.createColorList(QStringLiteral("Mine"), true);
    const QString uid = library.createColorWithName(ZelColor::fromRgb8(9, 9, 9), QStringLiteral("Coal"), QString(),
                                                    QStringLiteral("Mine"), QString());
    QSignalSpy renamed(&library, &ZelColorLibrary::listRenamed);
    QVERIFY(library.setData(library.getIndexOfList(QStringLiteral("Mine")), QStringLiteral("Ours")));
    QCOMPARE(renamed.count(), 1);
    library.createColorList(QStringLiteral("Taken"), true);
    QVERIFY(!library.setData(library.getIndexOfList(QStringLiteral("Ours")), QStringLiteral("Taken")));
    QCOMPARE(problems.size(), 1);
    QVERIFY(library.setData(library.getIndexOfUid(uid), QStringLiteral("Soot")));
    QCOMPARE(library.getName(uid), QStringLiteral("Soot"));
    QVERIFY(readAll(ZelColorLibrary::userFilePath()).contains("Soot"));
    QVERIFY(readAll(ZelColorLibrary::userFilePath()).contains("Ours"));
    QVERIFY(library.deleteColor(uid));
    QVERIFY(!readAll(ZelColorLibrary::userFilePath()).contains("Soot"));
}

void TestZelColorLibrary::exportThenImport() {
    QTemporaryDir dir;
    ZelColorLibrary library;
    library.init(true, false, false);
    library.createColorList(QStringLiteral("Show, \"Act 1\" & <more>"), true);
    ZelColor white;
    white.setYxyF(0.8, 0.4, 0.39, 0.5);
    const QString list = QStringLiteral("Show, \"Act 1\" & <more>");
    const QString a = library.createColorWithName(ZelColor::fromRgb8(255, 0, 128, 200), QStringLiteral("Pink & Co"),
                                                  QString(), list, QStringLiteral("P,1"));
    const QString b = library.createColorWithName(white, QStringLiteral("Dim white"), QString(), list, QString());
    const QModelIndex red = library.index(0, 0, library.getIndexOfList(ZelColorLibrary::DefaultSwatches));

    // A list and one of its own colours: each colour once.
    const QDomDocument doc = library.createColorDoc({library.getIndexOfList(list), library.getIndexOfUid(a), red},
                                                    QStringLiteral("Exported"));
    const QString path = dir.filePath(QStringLiteral("Exported.zelcolors"));
    QVERIFY(writeFile(path, doc.toByteArray(1)));
    QCOMPARE(doc.elementsByTagName(QStringLiteral("Color")).count(), 3);

    clearUserFiles();
    ZelColorLibrary other;
    QSignalSpy lists(&other, &ZelColorLibrary::listsChanged);
    QVERIFY(other.loadUserColors(path));
    QVERIFY(problems.isEmpty());
    QCOMPARE(other.getModifiableLists(), QStringList({"Exported"}));
    QCOMPARE(namesIn(other, QStringLiteral("Exported")), QStringList({"Pink & Co", "Dim white", "Red"}));
    QCOMPARE(other.get(a), library.get(a));
    QCOMPARE(other.get(b), white);
    QCOMPARE(other.getVendorId(a), QStringLiteral("P,1"));
    QCOMPARE(lists.count(), 1);

    // Importing the same file again: a second group, and no uid shared with the first.
    QVERIFY(other.loadUserColors(path));
    QCOMPARE(other.getModifiableLists(), QStringList({"Exported", "Exported 2"}));
    const QModelIndex second = other.getIndexOfList(QStringLiteral("Exported 2"));
    QCOMPARE(other.rowCount(second), 3);
    for (int row = 0; row < 3; ++row)
        QCOMPARE(other.getListOfUid(other.index(row, 0, second).data(258).toString()), QStringLiteral("Exported 2"));
}

void TestZelColorLibrary::badImportsChangeNothing_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("reason");
    const QByteArray good = "<?xml version=\"1.0\"?><ZelColors version=\"1\"><List name=\"L\">"
                            "<Color uid=\"u1\" name=\"n\" value=\"#ff0000\" vendorId=\"\"/></List></ZelColors>";
    QTest::newRow("not xml") << QByteArray("GIF89a\x01\x02 binary junk") << "not a colour file";
    QTest::newRow("broken xml") << QByteArray("<ZelColors version=\"1\"><List name=\"L\"></Lost></ZelColors>")
                                << "not readable XML";
    QTest::newRow("other document") << QByteArray("<?xml version=\"1.0\"?><html><body/></html>") << "not a colour file";
    QTest::newRow("empty") << QByteArray() << "not a colour file";
    QTest::newRow("truncated") << good.left(good.size() - 30) << "truncated";
    QTest::newRow("no groups") << QByteArray("<ZelColors version=\"1\"/>") << "no colour groups";
    QTest::newRow("newer format") << QByteArray("<ZelColors version=\"7\"><List name=\"L\"/></ZelColors>")
                                  << "newer version";
    QTest::newRow("bad colour") << QByteArray("<ZelColors version=\"1\"><List name=\"L\"><Color uid=\"u\" "
                                              "value=\"#zz\"/></List></ZelColors>")
                                << "not a colour value";
    QByteArray deep = "<ZelColors version=\"1\"><List name=\"L\"><Color value=\"#ff0000\">";
    for (int i = 0; i < 100000; ++i)
        deep += "<a>";
    QTest::newRow("deeply nested") << deep << "nested deeper";
    QTest::newRow("entity expansion")
        << QByteArray("<?xml version=\"1.0\"?><!DOCTYPE z [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;\">]>"
                      "<ZelColors version=\"1\"><List name=\"&b;&b;\"/></ZelColors>")
        << "document type";
    QByteArray many = "<ZelColors version=\"1\">";
    for (int i = 0; i <= ZelColorLibrary::MaxLists; ++i)
        many += "<List name=\"x\"/>";
    QTest::newRow("too many groups") << many + "</ZelColors>"
                                     << "more than";
    QTest::newRow("huge") << QByteArray("HUGE") << "larger than";
    QTest::newRow("long name") << QByteArray("<ZelColors version=\"1\"><List name=\"") + QByteArray(5000, 'x') +
                                      "\"/></ZelColors>"
                               << "unusable name";
}

void TestZelColorLibrary::badImportsChangeNothing() {
    QFETCH(QByteArray, content);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bad.zelcolors"));
    QVERIFY(writeFile(path, content));
    if (content == "HUGE")
        QVERIFY(QFile(path).resize(ZelColorLibrary::MaxFileBytes + 1));

    ZelColorLibrary library;
    library.createColorList(QStringLiteral("Mine"), true);
    const QByteArray saved = readAll(ZelColorLibrary::userFilePath());
    QSignalSpy lists(&library, &ZelColorLibrary::listsChanged);
    QSignalSpy added(&library, &ZelColorLibrary::addedColorToList);

    QVERIFY(!library.loadUserColors(path));
    QVERIFY2(library.lastError().contains(reason), qPrintable(library.lastError()));
    QCOMPARE(problems.size(), 1);
    QVERIFY(problems.first().contains(QStringLiteral("Nothing was changed")));
    QCOMPARE(library.getAllLists(), QStringList({"Project Swatches", "Varnel Swatches", "Mine"}));
    QCOMPARE(lists.count(), 0);
    QCOMPARE(added.count(), 0);
    QCOMPARE(readAll(ZelColorLibrary::userFilePath()), saved);
}

void TestZelColorLibrary::persistsAcrossRestart() {
    QString a, b;
    {
        ZelColorLibrary first;
        first.loadUserColors(QString());
        first.createColorList(QStringLiteral("Kept"), true);
        first.createColorList(QStringLiteral("Dropped"), true);
        a = first.createColorWithName(ZelColor::fromRgb8(1, 2, 3), QStringLiteral("One"), QString(),
                                      QStringLiteral("Kept"), QStringLiteral("V1"));
        ZelColor white;
        white.setYxyF(1.0, 0.3127, 0.329);
        b = first.createColorWithName(white, QStringLiteral("Two"), QString(), QStringLiteral("Kept"), QString());
        first.renameColorList(QStringLiteral("Kept"), QStringLiteral("Kept Group"));
        first.deleteColorList(QStringLiteral("Dropped"));
        // Fixed lists belong to the program and are not written.
        first.init(true, false, false);
    }
    QVERIFY(!readAll(ZelColorLibrary::userFilePath()).contains("Varnel"));

    ZelColorLibrary second;
    QSignalSpy lists(&second, &ZelColorLibrary::listsChanged);
    QVERIFY(second.loadUserColors(QString()));
    QCOMPARE(lists.count(), 1);
    QCOMPARE(second.getModifiableLists(), QStringList({"Kept Group"}));
    QCOMPARE(second.getName(a), QStringLiteral("One"));
    QCOMPARE(second.getVendorId(a), QStringLiteral("V1"));
    QCOMPARE(second.get(a), ZelColor::fromRgb8(1, 2, 3));
    QCOMPARE(second.get(b).spec(), 3);
    QCOMPARE(second.get(b).getx(), 0.3127);
    // Read once: a second call (the next picker) adds nothing.
    QVERIFY(second.loadUserColors(QString()));
    QCOMPARE(second.rowCount(second.getIndexOfList(QStringLiteral("Kept Group"))), 2);
    QVERIFY(problems.isEmpty());
}

void TestZelColorLibrary::damagedUserFileIsKeptAside() {
    const QString path = ZelColorLibrary::userFilePath();
    QDir().mkpath(QFileInfo(path).absolutePath());
    const QByteArray damaged = "<ZelColors version=\"1\"><List name=\"Precious\"><Color uid=\"x\" value=\"#ff";
    QVERIFY(writeFile(path, damaged));

    ZelColorLibrary library;
    QVERIFY(!library.loadUserColors(QString()) || true);
    QCOMPARE(problems.size(), 1);
    QVERIFY(problems.first().contains(QStringLiteral("could not be read")));
    const QStringList copies = damagedCopies();
    QCOMPARE(copies.size(), 1);
    const QString aside = QFileInfo(path).absolutePath() + QLatin1Char('/') + copies.first();
    QCOMPARE(readAll(aside), damaged);
    QVERIFY(problems.first().contains(copies.first()));
    QVERIFY(library.getModifiableLists().isEmpty());

    // Reported once; new work goes to a fresh file and the damaged copy stays as it was.
    library.loadUserColors(QString());
    library.createColorList(QStringLiteral("Fresh"), true);
    QCOMPARE(problems.size(), 1);
    QVERIFY(readAll(path).contains("Fresh"));
    QCOMPARE(readAll(aside), damaged);
}

void TestZelColorLibrary::changesBeforeReadingDoNotLoseTheFile() {
    {
        ZelColorLibrary first;
        first.createColorList(QStringLiteral("Earlier"), true);
    }
    // A change made before anyone read the file reads it first instead of overwriting it.
    ZelColorLibrary second;
    second.createColorList(QStringLiteral("Later"), true);
    QCOMPARE(second.getModifiableLists(), QStringList({"Earlier", "Later"}));
    ZelColorLibrary third;
    third.loadUserColors(QString());
    QCOMPARE(third.getModifiableLists(), QStringList({"Earlier", "Later"}));
}

LUMETTO_TEST_MAIN(TestZelColorLibrary, "tst_zelcolorlibrary")
#include "tst_zelcolorlibrary.moc"
