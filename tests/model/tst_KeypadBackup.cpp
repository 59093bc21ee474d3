#include "KeypadBackup.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

class TestKeypadBackup : public QObject {
    Q_OBJECT

private slots:
    void namesAreSafeAndTimed_data() {
        QTest::addColumn<QString>("keypad");
        QTest::addColumn<QString>("file");
        QTest::newRow("plain") << "Foyer West"
                               << "Foyer West 2026-12-08 07.05.09.xml";
        QTest::newRow("separators and wildcards") << "a/b\\c:d*e?f\"g<h>i|j"
                                                  << "abcdefghij 2026-12-08 07.05.09.xml";
        QTest::newRow("hidden, spaced") << "..  Bar\t\n  Grill "
                                        << "Bar Grill 2026-12-08 07.05.09.xml";
        QTest::newRow("nothing left") << "///"
                                      << "keypad 2026-12-08 07.05.09.xml";
        QTest::newRow("unnamed") << ""
                                 << "keypad 2026-12-08 07.05.09.xml";
        QTest::newRow("letters of any script") << QString::fromUtf8("Salle \xc3\xa9t\xc3\xa9")
                                               << QString::fromUtf8("Salle \xc3\xa9t\xc3\xa9 2026-12-08 07.05.09.xml");
    }

    void namesAreSafeAndTimed() {
        QFETCH(QString, keypad);
        QFETCH(QString, file);
        QCOMPARE(KeypadBackup::fileName(keypad, QDateTime(QDate(2026, 12, 8), QTime(7, 5, 9))), file);
    }

    // Backups are never written over each other, and a folder that cannot be made is named.
    void writesBesideEarlierBackups() {
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("deep/backups"));
        const QDateTime when(QDate(2026, 1, 2), QTime(3, 4, 5));
        QStringList written;
        for (const QByteArray& document : {QByteArray("<v1>one</v1>"), QByteArray("<v1>two</v1>")}) {
            const KeypadBackup::Result result = KeypadBackup::write(folder, QStringLiteral("Hall"), document, when);
            QVERIFY2(result.ok(), qPrintable(result.error));
            QFile file(result.path);
            QVERIFY(file.open(QFile::ReadOnly));
            QCOMPARE(file.readAll(), document);
            written << QFileInfo(result.path).fileName();
        }
        QCOMPARE(written, QStringList({"Hall 2026-01-02 03.04.05.xml", "Hall 2026-01-02 03.04.05 (2).xml"}));

        QFile blocker(dir.filePath(QStringLiteral("file")));
        QVERIFY(blocker.open(QFile::WriteOnly));
        blocker.close();
        const KeypadBackup::Result refused =
            KeypadBackup::write(blocker.fileName() + QStringLiteral("/backups"), QStringLiteral("Hall"), "x", when);
        QVERIFY(!refused.ok());
        QVERIFY(refused.path.isEmpty());
        QVERIFY2(refused.error.contains(QDir::toNativeSeparators(blocker.fileName())), qPrintable(refused.error));
    }
};

LUMETTO_TEST_MAIN(TestKeypadBackup, "tst_keypadbackup")
#include "tst_KeypadBackup.moc"
