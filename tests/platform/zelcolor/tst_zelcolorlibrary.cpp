#include "TestEnvironment.h"
#include "ZelColorLibrary.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

namespace {

QStringList problems;

QStringList userFiles(const QString& suffix) {
    const QFileInfo info(ZelColorLibrary::userFilePath());
    return QDir(info.absolutePath()).entryList({info.fileName() + suffix}, QDir::Files);
}

using TestSupport::readFile;

bool writeFile(const QString& path, const QByteArray& data) {
    return QDir().mkpath(QFileInfo(path).absolutePath()) && TestSupport::writeFile(path, data);
}

QStringList namesIn(const ZelColorLibrary& library, const QString& list) {
    QStringList names;
    const QModelIndex index = library.getIndexOfList(list);
    for (int row = 0; row < library.rowCount(index); ++row)
        names << library.index(row, 0, index).data(ZelColorLibrary::NameRole).toString();
    return names;
}

QString add(ZelColorLibrary& library, const ZelColor& color, const QString& list, const QString& name = QString(),
            const QString& uid = QString(), const QString& vendorId = QString()) {
    return library.createColorWithName(color, name, uid, list, vendorId);
}

} // namespace

class TestZelColorLibrary : public QObject {
    Q_OBJECT

private slots:
    void init() {
        const QFileInfo info(ZelColorLibrary::userFilePath());
        for (const QString& name : userFiles(QStringLiteral("*")))
            QDir(info.absolutePath()).remove(name);
        problems.clear();
        ZelColorLibrary::setProblemReporter(
            [](const QString& title, const QString& text) { problems << title + QStringLiteral(": ") + text; });
    }

    void fixedAndUserLists() {
        ZelColorLibrary library;
        library.init(true, true, false);
        const int lists = library.rowCount();
        library.init(true, true, false); // seeding twice would duplicate everything
        QVERIFY(library.rowCount() == lists && namesIn(library, ZelColorLibrary::DefaultSwatches).size() == 32);
        const QModelIndex red = library.index(0, 0, library.getIndexOfList(ZelColorLibrary::DefaultSwatches));
        QVERIFY(!(red.flags() & Qt::ItemIsEditable) &&
                !library.deleteColor(red.data(ZelColorLibrary::UidRole).toString()));
        for (const QString& fixed : {ZelColorLibrary::ProjectSwatches, ZelColorLibrary::DefaultSwatches})
            QVERIFY(!library.renameColorList(fixed, QStringLiteral("Mine")) && !library.deleteColorList(fixed) &&
                    !library.setData(library.getIndexOfList(fixed), QStringLiteral("Mine")));
        // Fixed lists belong to the program and are not written.
        QVERIFY(!QFile::exists(ZelColorLibrary::userFilePath()));

        QSignalSpy changed(&library, &ZelColorLibrary::listsChanged);
        QSignalSpy renamed(&library, &ZelColorLibrary::listRenamed);
        QCOMPARE(library.createColorList(QStringLiteral("Favourites"), true), QStringLiteral("Favourites"));
        QCOMPARE(library.createColorList(QStringLiteral("Favourites"), true), QStringLiteral("Favourites 2"));
        QCOMPARE(library.createColorList(QStringLiteral("Project Swatches"), true),
                 QStringLiteral("Project Swatches 2"));
        QVERIFY(library.createColorList(QStringLiteral("   "), true).isEmpty());
        QCOMPARE(changed.count(), 3);
        QCOMPARE(changed.last().first().toStringList(), library.getModifiableLists());
        QVERIFY(!library.renameColorList(QStringLiteral("Favourites 2"), QString()));
        // Through the model a refused name is reported to the user.
        QVERIFY(!library.setData(library.getIndexOfList(QStringLiteral("Favourites 2")), QStringLiteral("Favourites")));
        QCOMPARE(problems.size(), 1);
        QVERIFY(
            library.setData(library.getIndexOfList(QStringLiteral("Favourites 2")), QStringLiteral("Show colours")));
        QVERIFY(library.deleteColorList(QStringLiteral("Project Swatches 2")));
        QVERIFY(renamed.count() == 1 && changed.count() == 5);
        // A group named with other spacing is the same group, not a new empty one.
        QVERIFY(!add(library, ZelColor::fromRgb8(4, 5, 6), QStringLiteral(" Show   colours ")).isEmpty());
        QCOMPARE(library.getModifiableLists(), QStringList({"Favourites", "Show colours"}));

        // No more groups than the next start reads back.
        library.setEditingMultipleColors(true);
        for (int i = library.getModifiableLists().size(); i < ZelColorLibrary::MaxLists; ++i)
            QVERIFY(!library.createColorList(QStringLiteral("Group %1").arg(i), true).isEmpty());
        QVERIFY(library.createColorList(QStringLiteral("One too many"), true).isEmpty());
        for (const QString& name : library.getModifiableLists().mid(2))
            library.deleteColorList(name);
        library.setEditingMultipleColors(false);

        // A colour for a list that does not exist makes it a user list; deleting the list deletes it.
        const QString uid = add(library, ZelColor::fromRgb8(1, 2, 3), QStringLiteral("Migrated Favorites"));
        QVERIFY(library.isModifiableList(QStringLiteral("Migrated Favorites")));
        QVERIFY(library.deleteColorList(QStringLiteral("Migrated Favorites")));
        QVERIFY(!library.containsUid(uid) && !library.getIndexOfUid(uid).isValid());
    }

    void coloursUidsAndBatches() {
        ZelColorLibrary library;
        library.createColorList(QStringLiteral("A"), true);
        library.createColorList(QStringLiteral("B"), true);
        const ZelColor amber = ZelColor::fromRgb8(255, 176, 0);
        const QString uid = add(library, amber, "A", QStringLiteral("Amber"), "amber-1", QStringLiteral("V-021"));
        QVERIFY(uid == "amber-1" && add(library, ZelColor(), "A", QStringLiteral("None")).isEmpty());
        // The role numbers are shared with the pickers and the drag payloads.
        const QModelIndex row = library.getIndexOfUid(uid);
        QVERIFY(row.data().toString() == "Amber" && row.data(257).toString() == amber.aName());
        QCOMPARE(row.data(258).toString(), uid);
        QCOMPARE(library.getName(amber.aName(), ZelColorLibrary::StoredName), QStringLiteral("Amber"));
        QCOMPARE(library.getName(uid, ZelColorLibrary::NameWithList), QStringLiteral("Amber (A)"));
        // Without a name a row shows what the colour is.
        const QString unnamed = add(library, ZelColor::fromRgb8(10, 20, 30), "A");
        QCOMPARE(library.getIndexOfUid(unnamed).data().toString(), QStringLiteral("RGB 10, 20, 30"));

        // A batch announces each touched list once and writes the file once, at its end.
        QSignalSpy added(&library, &ZelColorLibrary::addedColorToList);
        QSet<QString> uids{uid, unnamed};
        library.setEditingMultipleColors(true);
        for (int i = 0; i < 100; ++i)
            uids << add(library, ZelColor::fromRgb8(i, 1, 1), "A") << add(library, ZelColor::fromRgb8(i, 2, 2), "B");
        QVERIFY(added.isEmpty() && !readFile(ZelColorLibrary::userFilePath()).contains("#000101"));
        library.setEditingMultipleColors(false);
        QVERIFY(added.count() == 2 && readFile(ZelColorLibrary::userFilePath()).contains("#630202"));
        QCOMPARE(uids.size(), 202);
        // The same uid asked for again, or one that would break a payload, gets a fresh valid one.
        for (const QString& asked : {uid, QStringLiteral("a#b"), QStringLiteral("a,b"), QStringLiteral("a|b"),
                                     QStringLiteral("a b"), QStringLiteral("\u00e9t\u00e9")}) {
            const QString got = add(library, ZelColor::fromRgb8(2, 2, 2), "B", QString(), asked);
            QVERIFY2(got != asked && !uids.contains(got), qPrintable(got));
            uids << got;
        }
        uids << library.createNewSwatchUidFromUid(uid, "B");
        QCOMPARE(uids.size(), 209);
        for (const QString& each : qAsConst(uids))
            QVERIFY2(ZelColorLibrary::isValidUid(each), qPrintable(each));
    }

    void exportThenImport() {
        QTemporaryDir dir;
        ZelColorLibrary library;
        library.init(true, false, false);
        const QString list = QStringLiteral("Show, \"Act 1\" & <more>");
        library.createColorList(list, true);
        ZelColor white;
        white.setYxyF(0.8, 0.4, 0.39, 0.5);
        const QString a = add(library, ZelColor::fromRgb8(255, 0, 128, 200), list, QStringLiteral("Pink & Co"),
                              QString(), QStringLiteral("P,1"));
        const QString b = add(library, white, list, QStringLiteral("Dim white"));
        const QModelIndex red = library.index(0, 0, library.getIndexOfList(ZelColorLibrary::DefaultSwatches));
        // A list and one of its own colours: each colour once.
        const QDomDocument doc = library.createColorDoc({library.getIndexOfList(list), library.getIndexOfUid(a), red},
                                                        QStringLiteral("Exported"));
        QCOMPARE(doc.elementsByTagName(QStringLiteral("Color")).count(), 3);
        const QString path = dir.filePath(QStringLiteral("Exported.zelcolors"));
        QVERIFY(writeFile(path, doc.toByteArray(1)));

        init();
        ZelColorLibrary other;
        QSignalSpy lists(&other, &ZelColorLibrary::listsChanged);
        QVERIFY(other.loadUserColors(path) && problems.isEmpty() && lists.count() == 1);
        QCOMPARE(namesIn(other, QStringLiteral("Exported")), QStringList({"Pink & Co", "Dim white", "Red"}));
        QVERIFY(other.get(a) == library.get(a) && other.get(b) == white);
        QCOMPARE(other.getVendorId(a), QStringLiteral("P,1"));
        // Importing the same file again: a second group, and no uid shared with the first.
        QVERIFY(other.loadUserColors(path));
        QCOMPARE(other.getModifiableLists(), QStringList({"Exported", "Exported 2"}));
        const QModelIndex second = other.getIndexOfList(QStringLiteral("Exported 2"));
        QCOMPARE(other.rowCount(second), 3);
        for (int row = 0; row < 3; ++row)
            QCOMPARE(other.getListOfUid(other.index(row, 0, second).data(258).toString()),
                     QStringLiteral("Exported 2"));
    }

    // A file refused halfway adds nothing; hostile ones are refused within bounded memory and time.
    void refusedImportsChangeNothing() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("bad.zelcolors"));
        const QByteArray head = "<ZelColors version=\"1\">";
        const QList<QPair<QByteArray, QString>> files{
            {head + "<List name=\"L\"><Color uid=\"u\" value=\"#zz\"/></List></ZelColors>", "not a colour value"},
            {head + "<List name=\"L\"><Color value=\"#ff0000\">" + QByteArray("<a>").repeated(100000), "nested deeper"},
            {"<?xml version=\"1.0\"?><!DOCTYPE z [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;\">]>" + head +
                 "<List name=\"&b;&b;\"/></ZelColors>",
             "document type"},
            {QByteArray(), "larger than"}};
        ZelColorLibrary library;
        library.createColorList(QStringLiteral("Mine"), true);
        const QByteArray saved = readFile(ZelColorLibrary::userFilePath());
        QSignalSpy lists(&library, &ZelColorLibrary::listsChanged);
        QSignalSpy added(&library, &ZelColorLibrary::addedColorToList);
        for (const auto& [content, reason] : files) {
            // The empty one is made huge: refused unread.
            QVERIFY(writeFile(path, content) &&
                    (!content.isEmpty() || QFile(path).resize(ZelColorLibrary::MaxFileBytes + 1)));
            QVERIFY(!library.loadUserColors(path));
            QVERIFY2(library.lastError().contains(reason), qPrintable(library.lastError()));
            QVERIFY(problems.size() == 1 && problems.takeFirst().contains(QStringLiteral("Nothing was changed")));
        }
        QCOMPARE(library.getAllLists(), QStringList({"Project Swatches", "Varnel Swatches", "Mine"}));
        QCOMPARE(lists.count() + added.count(), 0);
        QCOMPARE(readFile(ZelColorLibrary::userFilePath()), saved);
    }

    void userFileAcrossRestarts() {
        const QString path = ZelColorLibrary::userFilePath();
        QString a, b;
        {
            ZelColorLibrary first;
            first.loadUserColors(QString());
            first.createColorList(QStringLiteral("Kept"), true);
            first.createColorList(QStringLiteral("Dropped"), true);
            a = add(first, ZelColor::fromRgb8(1, 2, 3), "Kept", QStringLiteral("First"), QString(), "V1");
            ZelColor white;
            white.setYxyF(1.0, 0.3127, 0.329);
            b = add(first, white, "Kept", QStringLiteral("Two"));
            first.deleteColor(add(first, white, "Kept", QStringLiteral("Deleted")));
            first.setData(first.getIndexOfUid(a), QStringLiteral("One"));
            first.renameColorList(QStringLiteral("Kept"), QStringLiteral("Kept Group"));
            first.deleteColorList(QStringLiteral("Dropped"));
            first.init(true, false, false);
        }
        QVERIFY(!readFile(path).contains("Varnel"));
        {
            ZelColorLibrary second;
            QSignalSpy lists(&second, &ZelColorLibrary::listsChanged);
            QVERIFY(second.loadUserColors(QString()) && lists.count() == 1);
            QCOMPARE(namesIn(second, QStringLiteral("Kept Group")), QStringList({"One", "Two"}));
            QVERIFY(second.getVendorId(a) == "V1" && second.get(a) == ZelColor::fromRgb8(1, 2, 3));
            QVERIFY(second.get(b).spec() == ZelColor::Yxy && second.get(b).getx() == 0.3127);
            // Read once: a second call (the next picker) adds nothing.
            QVERIFY(second.loadUserColors(QString()));
            QCOMPARE(second.getModifiableLists(), QStringList({"Kept Group"}));
            QCOMPARE(second.rowCount(second.getIndexOfList(QStringLiteral("Kept Group"))), 2);
        }
        // A change made before anyone read the file reads it first instead of overwriting it.
        ZelColorLibrary().createColorList(QStringLiteral("Later"), true);
        QVERIFY(readFile(path).contains("Kept Group") && readFile(path).contains("Later"));

        // A damaged file is kept aside, reported once, and new work goes to a fresh file.
        const QByteArray damaged = "<ZelColors version=\"1\"><List name=\"Precious\"><Color uid=\"x\" value=\"#ff";
        QVERIFY(writeFile(path, damaged));
        ZelColorLibrary fourth;
        fourth.loadUserColors(QString());
        const QStringList copies = userFiles(QStringLiteral(".damaged-*"));
        QVERIFY(copies.size() == 1 && fourth.getModifiableLists().isEmpty());
        QVERIFY(problems.size() == 1 && problems.first().contains(QStringLiteral("could not be read")) &&
                problems.first().contains(copies.first()));
        const QString aside = QFileInfo(path).absolutePath() + QLatin1Char('/') + copies.first();
        fourth.loadUserColors(QString());
        fourth.createColorList(QStringLiteral("Fresh"), true);
        QVERIFY(problems.size() == 1 && readFile(path).contains("Fresh") && readFile(aside) == damaged);

        // A write that fails half way (a full disk; here a file size limit) leaves the previous file whole.
        const QByteArray before = readFile(path);
        {
            const TestSupport::FileSizeLimit full(before.size());
            QVERIFY(full.active());
            add(fourth, ZelColor::fromRgb8(9, 9, 9), "Fresh",
                QString(ZelColorLibrary::MaxTextLength, QLatin1Char('n')));
        }
        QCOMPARE(userFiles(QStringLiteral("*")).size(), 2);
        QCOMPARE(readFile(path), before);
        QVERIFY(problems.size() == 2 && problems.last().contains(QStringLiteral("could not be saved")));
    }
};

LUMETTO_TEST_MAIN(TestZelColorLibrary, "tst_zelcolorlibrary")
#include "tst_zelcolorlibrary.moc"
