#include "TestEnvironment.h"

#include <QFile>
#include <QRegularExpression>
#include <QXmlStreamReader>

namespace {

QByteArray read(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qWarning() << "cannot read" << path << file.errorString();
    return file.readAll();
}

} // namespace

// The files the program looks for beside itself: the factory defaults and the product guide.
class tst_DataFiles : public QObject {
    Q_OBJECT

private slots:
    void factoryDefaults() {
        const QByteArray text = read(TestSupport::binDir() + QStringLiteral("/defaultConfiguration.xml"));
        QCOMPARE(text, read(TestSupport::sourceDir() + QStringLiteral("/app/resources/defaultConfiguration.xml")));
        // The frame the program itself writes, character for character, so a saved file and this one agree.
        QVERIFY(text.startsWith("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<v1>\n<all_shows>\n<currentShow>"));
        QVERIFY(text.contains("</currentShow>\n<show><url>/api/v1/shows/1</url>\n<effect>"));
        QVERIFY(text.contains(
            "\n</customColors>\n</show>\n</all_shows><config>\n<property>\n<url>/api/v1/config/name</url>"));
        QVERIFY(text.endsWith("</value>\n</property>\n</config>\n\n</v1>"));
        // The factory file never carries an address: restoring must not move the keypad.
        QVERIFY(!text.contains("/api/v1/config/ip"));
        for (const char c : text)
            QVERIFY2(uchar(c) < 0x80 && c != '\r', "only plain characters, the same in Latin-1 and UTF-8");
        QXmlStreamReader xml(text);
        while (!xml.atEnd())
            xml.readNext();
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));

        const QStringList shows = QString::fromLatin1(text).split(QStringLiteral("<show>")).mid(1);
        QCOMPARE(shows.size(), 8);
        for (int i = 0; i < shows.size(); ++i) {
            const QString& show = shows.at(i);
            QVERIFY(show.startsWith(QStringLiteral("<url>/api/v1/shows/%1</url>\n<effect>").arg(i + 1)));
            const auto number = [&show](const char* tag) {
                return show.section(QLatin1String(tag), 1, 1).section(QLatin1Char('<'), 0, 0).toInt();
            };
            const int kind = number("<effect>");
            QVERIFY(kind >= 0 && kind <= 7 && show.count(QStringLiteral("<param>")) == 3);
            // A wash reads its colours only when it finds its whole list of six, the used ones first.
            QCOMPARE(show.count(QStringLiteral("<color>")), 6);
            QVERIFY(number("<numColors>") <= 6 && number("<numColors>") >= (kind == 3 || kind == 4 ? 2 : 0));
        }
        // Every button has its switch, and the profile is the keypad's first.
        QVERIFY(QString::fromLatin1(text).contains(QRegularExpression("/switch_state</url>\n<value>([01],){10}[01]<")));
        QVERIFY(text.contains("<url>/api/v1/config/global_profile</url>\n<value>0</value>"));
    }

    void productGuideIsARealDocument() {
        const QByteArray pdf = read(TestSupport::binDir() + QStringLiteral("/help/LumettoKeypad_ProductGuide.pdf"));
        QVERIFY(pdf.startsWith("%PDF-") && pdf.trimmed().endsWith("%%EOF"));
        // Count page objects, not the page tree ("/Type /Pages").
        const int pages = pdf.count("/Type /Page") - pdf.count("/Type /Pages");
        QVERIFY2(pages >= 8, QByteArray::number(pages));
    }
};

LUMETTO_TEST_MAIN_CORE(tst_DataFiles, "tst_datafiles")
#include "tst_datafiles.moc"
