#include "TestEnvironment.h"
#include "VersionFileCodec.h"

using ZelCommonUtils::VersionFileCodec;
using Version = VersionFileCodec::Version;

Q_DECLARE_METATYPE(Version)

class TestVersionFileCodec : public QObject {
    Q_OBJECT

private slots:
    void readsEveryApplication() {
        // Comments, unknown elements and attributes are skipped; nested applications are not read.
        const VersionFileCodec::Document document = VersionFileCodec::parse(
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ZelAppVersions format=\"1\"><!-- hand edited -->\n"
            "  <application name=\"Lumetto Keypad Effect Manager\" version=\"3.2.0.1\" released=\"2014-03-05\"\n"
            "     download=\"http://updates.example.com/lumetto/\" channel=\"beta\"><notes>x</notes></application>\n"
            "  <news><application name=\"Hidden\" version=\"1\"/></news><application name=\"Other\" version=\"7\"/>"
            "</ZelAppVersions>");
        QVERIFY2(document.ok, qPrintable(document.error));
        QCOMPARE(document.applications.size(), 2);
        const VersionFileCodec::Application* lumetto = document.find(QStringLiteral("Lumetto Keypad Effect Manager"));
        QVERIFY(lumetto && lumetto->version == (Version{3, 2, 0, 1, 20140305}));
        QCOMPARE(lumetto->downloadUrl, QStringLiteral("http://updates.example.com/lumetto/"));
        const VersionFileCodec::Application* other = document.find(QStringLiteral("Other"));
        QVERIFY(other && other->version == (Version{7, 0, 0, 0, 0}) && other->downloadUrl.isEmpty());
        QVERIFY(!document.find(QStringLiteral("lumetto keypad effect manager")) && !document.find("Hidden"));
    }

    void comparesEveryField_data() {
        QTest::addColumn<Version>("older");
        QTest::addColumn<Version>("newer");
        const Version base{3, 1, 3, 0, 20131127};
        // Each field alone decides when all before it are equal, and outranks every field after it.
        QTest::newRow("major") << base << Version{4, 0, 0, 0, 20100101};
        QTest::newRow("minor") << base << Version{3, 2, 0, 0, 20100101};
        QTest::newRow("patch") << base << Version{3, 1, 4, 0, 20100101};
        QTest::newRow("build") << base << Version{3, 1, 3, 1, 20100101};
        QTest::newRow("release date") << base << Version{3, 1, 3, 0, 20131128};
        QTest::newRow("undated is older") << Version{3, 1, 3, 0, 0} << base;
        QTest::newRow("numbers, not text") << Version{3, 9, 0, 0, 0} << Version{3, 10, 0, 0, 0};
        QTest::newRow("largest numbers") << Version{4294967294u, 0, 0, 0, 0} << Version{4294967295u, 0, 0, 0, 0};
    }

    void comparesEveryField() {
        QFETCH(Version, older);
        QFETCH(Version, newer);
        QVERIFY(VersionFileCodec::compare(older, newer) < 0 && VersionFileCodec::compare(newer, older) > 0);
        QCOMPARE(VersionFileCodec::compare(newer, newer), 0);
    }

    void refusesMalformedVersionsAndDates() {
        Version version{};
        QVERIFY(VersionFileCodec::parseVersion(QStringLiteral("3.1"), QString(), &version));
        QCOMPARE(version, (Version{3, 1, 0, 0, 0}));
        for (const char* bad : {"", "3.", ".3", "3..1", "3.1.3.0.1", "+3", "3.-1", "3.x", "3 .1", "9999999999"})
            QVERIFY2(!VersionFileCodec::parseVersion(QString::fromLatin1(bad), QString(), &version), bad);
        for (const char* bad : {"2013-02-30", "27.11.2013", "20131127", "tomorrow"})
            QVERIFY2(!VersionFileCodec::parseVersion("3.1.3.0", QString::fromLatin1(bad), &version), bad);
        QCOMPARE(version, (Version{3, 1, 0, 0, 0})); // untouched by failures
    }

    void refusesMalformedFiles_data() {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("reason");
        QTest::newRow("empty") << QByteArray() << "empty";
        QTest::newRow("html page") << QByteArray("<html><body>Moved</body></html>") << "root element";
        QTest::newRow("not xml") << QByteArray("version=3.2") << "line 1";
        QTest::newRow("truncated") << QByteArray("<ZelAppVersions><application name=\"A\" version=\"1\"/>") << "line 1";
        QTest::newRow("binary") << QByteArray("\x00\xff\xfe<\x01", 5) << "line";
        QTest::newRow("future format") << QByteArray("<ZelAppVersions format=\"2\"/>") << "unsupported format";
        auto app = [](const QByteArray& attributes, const QByteArray& more = QByteArray()) {
            return "<ZelAppVersions><application " + attributes + "/>" + more + "</ZelAppVersions>";
        };
        QTest::newRow("no name") << app("version=\"1\"") << "without a name";
        QTest::newRow("bad version") << app("name=\"A\" version=\"3.one\"") << "malformed version";
        QTest::newRow("bad date") << app("name=\"A\" version=\"3\" released=\"2014-13-01\"") << "release date";
        QTest::newRow("twice") << app("name=\"A\" version=\"3\"", "<application name=\"A\" version=\"4\"/>")
                               << "listed twice";
        QTest::newRow("file url") << app("name=\"A\" version=\"3\" download=\"file:///etc/passwd\"")
                                  << "not an http(s) URL";
        QTest::newRow("entity expansion") << QByteArray("<?xml version=\"1.0\"?><!DOCTYPE z [<!ENTITY a \"aaaaaaaa\">"
                                                        "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;\">]>"
                                                        "<ZelAppVersions><application name=\"&b;\" version=\"1\"/>"
                                                        "</ZelAppVersions>")
                                          << "document type";
    }

    void refusesMalformedFiles() {
        QFETCH(QByteArray, data);
        QFETCH(QString, reason);
        const VersionFileCodec::Document document = VersionFileCodec::parse(data);
        QVERIFY(!document.ok);
        QVERIFY(document.applications.isEmpty());
        QVERIFY2(document.error.contains(reason), qPrintable(document.error));
    }

    void sizeLimit() {
        // Just below the limit a file of many entries is read; past it the file is refused unread.
        QByteArray data = "<ZelAppVersions>";
        for (int i = 0; data.size() < VersionFileCodec::MaxFileSize - 1000; ++i)
            data += "<application name=\"A" + QByteArray::number(i) + "\" version=\"1\"/>";
        const VersionFileCodec::Document below = VersionFileCodec::parse(data + "</ZelAppVersions>");
        QVERIFY2(below.ok && below.applications.size() > 1000, qPrintable(below.error));
        const VersionFileCodec::Document huge =
            VersionFileCodec::parse(data + QByteArray(1000, ' ') + "</ZelAppVersions>");
        QVERIFY2(!huge.ok && huge.error.contains(QStringLiteral("larger than")), qPrintable(huge.error));
    }
};

LUMETTO_TEST_MAIN_CORE(TestVersionFileCodec, "tst_versionfilecodec")

#include "tst_versionfilecodec.moc"
