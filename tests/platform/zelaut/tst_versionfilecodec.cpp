#include "TestEnvironment.h"
#include "VersionFileCodec.h"

using ZelCommonUtils::VersionFileCodec;
using Version = VersionFileCodec::Version;

Q_DECLARE_METATYPE(Version)

class TestVersionFileCodec : public QObject {
    Q_OBJECT

private slots:
    void readsEveryApplication();
    void comparesEveryField_data();
    void comparesEveryField();
    void versionTexts();
    void refusesMalformedFiles_data();
    void refusesMalformedFiles();
    void refusesHugeFilesQuickly();
    void ignoresUnknownContent();
};

void TestVersionFileCodec::readsEveryApplication() {
    const QByteArray data = R"(<?xml version="1.0" encoding="UTF-8"?>
<ZelAppVersions format="1">
  <application name="Lumetto Keypad Effect Manager" version="3.2.0.1" released="2014-03-05"
               download="http://updates.example.com/lumetto/"/>
  <application name="Other Tool" version="7" />
</ZelAppVersions>)";
    const VersionFileCodec::Document document = VersionFileCodec::parse(data);
    QVERIFY2(document.ok, qPrintable(document.error));
    QCOMPARE(document.applications.size(), 2);
    const VersionFileCodec::Application* lumetto = document.find(QStringLiteral("Lumetto Keypad Effect Manager"));
    QVERIFY(lumetto);
    QCOMPARE(lumetto->version, (Version{3, 2, 0, 1, 20140305}));
    QCOMPARE(lumetto->downloadUrl, QStringLiteral("http://updates.example.com/lumetto/"));
    const VersionFileCodec::Application* other = document.find(QStringLiteral("Other Tool"));
    QVERIFY(other);
    QCOMPARE(other->version, (Version{7, 0, 0, 0, 0}));
    QVERIFY(other->downloadUrl.isEmpty());
    QVERIFY(!document.find(QStringLiteral("lumetto keypad effect manager")));
}

void TestVersionFileCodec::comparesEveryField_data() {
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

void TestVersionFileCodec::comparesEveryField() {
    QFETCH(Version, older);
    QFETCH(Version, newer);
    QVERIFY(VersionFileCodec::compare(older, newer) < 0);
    QVERIFY(VersionFileCodec::compare(newer, older) > 0);
    QCOMPARE(VersionFileCodec::compare(newer, newer), 0);
}

void TestVersionFileCodec::versionTexts() {
    QCOMPARE(VersionFileCodec::versionText({3, 1, 3, 0, 20131127}), QStringLiteral("3.1.3.0 (2013-11-27)"));
    QCOMPARE(VersionFileCodec::versionText({3, 2, 0, 0, 0}), QStringLiteral("3.2.0.0"));
    QCOMPARE(VersionFileCodec::versionText({1, 0, 0, 0, 12345}), QStringLiteral("1.0.0.0 (12345)"));

    Version version{};
    QVERIFY(VersionFileCodec::parseVersion(QStringLiteral("3.1"), QString(), &version));
    QCOMPARE(version, (Version{3, 1, 0, 0, 0}));
    for (const char* bad : {"", "3.", ".3", "3..1", "3.1.3.0.1", "+3", "3.-1", "3.x", "3 .1", "9999999999"}) {
        QVERIFY2(!VersionFileCodec::parseVersion(QString::fromLatin1(bad), QString(), &version), bad);
    }
    for (const char* bad : {"2013-02-30", "27.11.2013", "20131127", "tomorrow"}) {
        QVERIFY2(!VersionFileCodec::parseVersion(QStringLiteral("3.1.3.0"), QString::fromLatin1(bad), &version), bad);
    }
    QCOMPARE(version, (Version{3, 1, 0, 0, 0})); // untouched by failures
}

void TestVersionFileCodec::refusesMalformedFiles_data() {
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("reason");
    QTest::newRow("empty") << QByteArray() << "empty";
    QTest::newRow("blank") << QByteArray(" \n\t") << "empty";
    QTest::newRow("html page") << QByteArray("<html><body>Moved</body></html>") << "root element";
    QTest::newRow("not xml") << QByteArray("version=3.2") << "line 1";
    QTest::newRow("truncated") << QByteArray("<ZelAppVersions><application name=\"A\" version=\"1\"/>") << "line 1";
    QTest::newRow("binary") << QByteArray("\x00\xff\xfe<\x01", 5) << "line";
    QTest::newRow("future format") << QByteArray("<ZelAppVersions format=\"2\"/>") << "unsupported format";
    QTest::newRow("no name") << QByteArray("<ZelAppVersions><application version=\"1\"/></ZelAppVersions>")
                             << "without a name";
    QTest::newRow("no version") << QByteArray("<ZelAppVersions><application name=\"A\"/></ZelAppVersions>")
                                << "malformed version";
    QTest::newRow("bad version") << QByteArray(
                                        "<ZelAppVersions><application name=\"A\" version=\"3.one\"/></ZelAppVersions>")
                                 << "malformed version";
    QTest::newRow("bad date")
        << QByteArray(
               "<ZelAppVersions><application name=\"A\" version=\"3\" released=\"2014-13-01\"/></ZelAppVersions>")
        << "release date";
    QTest::newRow("twice") << QByteArray("<ZelAppVersions><application name=\"A\" version=\"3\"/>"
                                         "<application name=\"A\" version=\"4\"/></ZelAppVersions>")
                           << "listed twice";
    QTest::newRow("file url") << QByteArray("<ZelAppVersions><application name=\"A\" version=\"3\" "
                                            "download=\"file:///etc/passwd\"/></ZelAppVersions>")
                              << "not an http(s) URL";
    QTest::newRow("script url") << QByteArray("<ZelAppVersions><application name=\"A\" version=\"3\" "
                                              "download=\"javascript:alert(1)\"/></ZelAppVersions>")
                                << "not an http(s) URL";
    QTest::newRow("entity expansion") << QByteArray("<?xml version=\"1.0\"?><!DOCTYPE z [<!ENTITY a \"aaaaaaaa\">"
                                                    "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;\">]>"
                                                    "<ZelAppVersions><application name=\"&b;\" version=\"1\"/>"
                                                    "</ZelAppVersions>")
                                      << "document type";
}

void TestVersionFileCodec::refusesMalformedFiles() {
    QFETCH(QByteArray, data);
    QFETCH(QString, reason);
    const VersionFileCodec::Document document = VersionFileCodec::parse(data);
    QVERIFY(!document.ok);
    QVERIFY(document.applications.isEmpty());
    QVERIFY2(document.error.contains(reason), qPrintable(document.error));
}

void TestVersionFileCodec::refusesHugeFilesQuickly() {
    QByteArray data = "<ZelAppVersions>";
    const QByteArray entry = "<application name=\"A%1\" version=\"1\"/>";
    for (int i = 0; data.size() <= VersionFileCodec::MaxFileSize; ++i)
        data += QByteArray(entry).replace("%1", QByteArray::number(i));
    data += "</ZelAppVersions>";
    const VersionFileCodec::Document huge = VersionFileCodec::parse(data);
    QVERIFY(!huge.ok);
    QVERIFY2(huge.error.contains(QStringLiteral("larger than")), qPrintable(huge.error));

    data.truncate(VersionFileCodec::MaxFileSize - 1000);
    data.truncate(data.lastIndexOf("<application"));
    data += "</ZelAppVersions>";
    const VersionFileCodec::Document justBelow = VersionFileCodec::parse(data);
    QVERIFY2(justBelow.ok, qPrintable(justBelow.error));
    QVERIFY(justBelow.applications.size() > 1000);
}

void TestVersionFileCodec::ignoresUnknownContent() {
    const QByteArray data = "<ZelAppVersions><!-- hand edited --><news><application name=\"Hidden\" version=\"1\"/>"
                            "</news><application name=\"A\" version=\"2.0\" channel=\"beta\"><notes>x</notes>"
                            "</application></ZelAppVersions>";
    const VersionFileCodec::Document document = VersionFileCodec::parse(data);
    QVERIFY2(document.ok, qPrintable(document.error));
    QCOMPARE(document.applications.size(), 1);
    QCOMPARE(document.applications.first().name, QStringLiteral("A"));
}

LUMETTO_TEST_MAIN_CORE(TestVersionFileCodec, "tst_versionfilecodec")

#include "tst_versionfilecodec.moc"
