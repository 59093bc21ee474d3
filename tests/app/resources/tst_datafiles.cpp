#include "TestEnvironment.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QXmlStreamReader>
#include <QtTest>

namespace {

QByteArray read(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qWarning() << "cannot read" << path << file.errorString();
    return file.readAll();
}

QByteArray defaults() {
    return read(TestSupport::binDir() + QStringLiteral("/defaultConfiguration.xml"));
}

} // namespace

// The files the program looks for beside itself: the factory defaults and the product guide.
class tst_DataFiles : public QObject {
    Q_OBJECT

private slots:
    void factoryDefaultsMatchTheFileFormat() {
        const QByteArray text = defaults();
        QVERIFY(!text.isEmpty());
        // The frame the program itself writes, character for character, so a saved file and this one agree.
        QVERIFY(text.startsWith("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<v1>\n<all_shows>\n<currentShow>"));
        QVERIFY(text.contains("</currentShow>\n<show><url>/api/v1/shows/1</url>\n<effect>"));
        QVERIFY(text.contains(
            "\n</customColors>\n</show>\n</all_shows><config>\n<property>\n<url>/api/v1/config/name</url>"));
        QVERIFY(text.contains("<url>/api/v1/config/global_profile</url>\n<value>0</value>\n</property><property>"));
        QVERIFY(text.endsWith("</value>\n</property>\n</config>\n\n</v1>"));
        // The factory file never carries an address: restoring must not move the keypad.
        QVERIFY(!text.contains("/api/v1/config/ip"));
        QVERIFY(!text.contains('\r'));
        for (const char c : text)
            QVERIFY2(uchar(c) < 0x80, "only plain characters, the same in Latin-1 and UTF-8");
        QXmlStreamReader xml(text);
        while (!xml.atEnd())
            xml.readNext();
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    }

    void factoryDefaultsAreEightCompleteScenes() {
        const QString text = QString::fromLatin1(defaults());
        const QStringList shows = text.split(QStringLiteral("<show>")).mid(1);
        QCOMPARE(shows.size(), 8);
        QSet<int> kinds;
        for (int i = 0; i < shows.size(); ++i) {
            const QString& show = shows.at(i);
            QVERIFY(show.startsWith(QStringLiteral("<url>/api/v1/shows/%1</url>\n<effect>").arg(i + 1)));
            const auto number = [&show](const char* tag) {
                return show.section(QLatin1String(tag), 1, 1).section(QLatin1Char('<'), 0, 0).toInt();
            };
            const int kind = number("<effect>");
            const int used = number("<numColors>");
            QVERIFY(kind >= 0 && kind <= 7);
            QCOMPARE(show.count(QStringLiteral("<param>")), 3);
            QCOMPARE(show.count(QStringLiteral("<color>")), 6);
            // A wash reads its colours only when it finds its whole list of six, the used ones first.
            QVERIFY(used <= 6 && used >= (kind == 3 || kind == 4 ? 2 : 0));
            kinds.insert(kind);
        }
        QVERIFY2(kinds.size() >= 6, "the factory scenes show off most of the effect kinds");
        const QRegularExpression channel(QStringLiteral("<(?:red|grn|blu)>(\\d+)<"));
        for (auto it = channel.globalMatch(text); it.hasNext();)
            QVERIFY(it.next().captured(1).toInt() <= 255);

        QMap<QString, QString> properties;
        const QRegularExpression property(QStringLiteral("<url>/api/v1/config/(\\w+)</url>\n<value>([^<]*)</value>"));
        for (auto it = property.globalMatch(text); it.hasNext();) {
            const QRegularExpressionMatch match = it.next();
            properties.insert(match.captured(1), match.captured(2));
        }
        const auto within = [&](const char* key, int low, int high) {
            return properties.value(key).toInt() >= low && properties.value(key).toInt() <= high;
        };
        QCOMPARE(properties.size(), 8);
        QCOMPARE(properties.value("switch_state").split(QLatin1Char(',')).size(), 11);
        QVERIFY(!properties.value("name").isEmpty());
        QVERIFY(within("universe", 0, 255));
        QVERIFY(within("num_ports", 1, 16));
        QVERIFY(within("num_lights", 1, 170));
    }

    void buildCopyIsCurrent() {
        const QByteArray source =
            read(TestSupport::sourceDir() + QStringLiteral("/app/resources/defaultConfiguration.xml"));
        QVERIFY(!source.isEmpty());
        QCOMPARE(defaults(), source);
    }

    void productGuideIsARealDocument() {
        const QByteArray pdf = read(TestSupport::binDir() + QStringLiteral("/help/LumettoKeypad_ProductGuide.pdf"));
        QVERIFY(pdf.startsWith("%PDF-"));
        QVERIFY(pdf.trimmed().endsWith("%%EOF"));
        QVERIFY2(pdf.size() > 40 * 1024, QByteArray::number(pdf.size()));
        // Count page objects, not the page tree ("/Type /Pages").
        const int pages = pdf.count("/Type /Page") - pdf.count("/Type /Pages");
        QVERIFY2(pages >= 8, QByteArray::number(pages));
    }
};

LUMETTO_TEST_MAIN_CORE(tst_DataFiles, "tst_datafiles")
#include "tst_datafiles.moc"
