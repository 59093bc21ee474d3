#include "TestEnvironment.h"

#include <QFile>
#include <QXmlStreamReader>
#include <QtTest>

// The files the program looks for beside itself: the factory defaults and the product guide.
class tst_DataFiles : public QObject {
    Q_OBJECT

private slots:
    void factoryDefaultsMatchTheFileFormat();
    void factoryDefaultsAreEightCompleteScenes();
    void buildCopyIsCurrent();
    void productGuideIsARealDocument();

private:
    static QByteArray read(const QString& path);
};

namespace {

struct Show {
    QString url;
    int effect = -1;
    QStringList params;
    int numColors = -1;
    int colors = 0;
    QList<int> channels;
};

QString defaultsPath() {
    return TestSupport::binDir() + QStringLiteral("/defaultConfiguration.xml");
}

} // namespace

QByteArray tst_DataFiles::read(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qWarning() << "cannot read" << path << file.errorString();
    return file.readAll();
}

void tst_DataFiles::factoryDefaultsMatchTheFileFormat() {
    const QByteArray text = read(defaultsPath());
    QVERIFY(!text.isEmpty());
    // The frame the program itself writes, character for character, so a saved file and this one agree.
    QVERIFY(text.startsWith("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<v1>\n<all_shows>\n<currentShow>"));
    QVERIFY(text.contains("</currentShow>\n<show><url>/api/v1/shows/1</url>\n<effect>"));
    QVERIFY(
        text.contains("\n</customColors>\n</show>\n</all_shows><config>\n<property>\n<url>/api/v1/config/name</url>"));
    QVERIFY(text.endsWith("</value>\n</property>\n</config>\n\n</v1>"));
    QVERIFY(text.contains("<url>/api/v1/config/global_profile</url>\n<value>0</value>\n</property><property>"));
    // The factory file never carries an address: restoring must not move the keypad.
    QVERIFY(!text.contains("/api/v1/config/ip"));
    QVERIFY(!text.contains('\r'));
    for (const char c : text)
        QVERIFY2(uchar(c) < 0x80, "only plain characters, the same in Latin-1 and UTF-8");
}

void tst_DataFiles::factoryDefaultsAreEightCompleteScenes() {
    QFile file(defaultsPath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    QList<Show> shows;
    QStringList path;
    QMap<QString, QString> properties;
    QString propertyUrl;
    int currentShow = 0;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            path.append(xml.name().toString());
            if (xml.name() == QLatin1String("show"))
                shows.append(Show());
            else if (xml.name() == QLatin1String("color"))
                ++shows.last().colors;
        } else if (xml.isEndElement()) {
            path.removeLast();
        } else if (xml.isCharacters() && !xml.isWhitespace()) {
            const QString element = path.last();
            const QString value = xml.text().toString();
            const bool inShow = path.contains(QLatin1String("show"));
            if (element == QLatin1String("currentShow"))
                currentShow = value.toInt();
            else if (inShow && element == QLatin1String("url"))
                shows.last().url = value;
            else if (inShow && element == QLatin1String("effect"))
                shows.last().effect = value.toInt();
            else if (inShow && element == QLatin1String("param"))
                shows.last().params.append(value);
            else if (inShow && element == QLatin1String("numColors"))
                shows.last().numColors = value.toInt();
            else if (inShow && (element == QLatin1String("red") || element == QLatin1String("grn") ||
                                element == QLatin1String("blu")))
                shows.last().channels.append(value.toInt());
            else if (element == QLatin1String("url"))
                propertyUrl = value;
            else if (element == QLatin1String("value"))
                properties.insert(propertyUrl, value);
        }
    }
    QVERIFY2(!xml.hasError(), qPrintable(QStringLiteral("line %1: %2").arg(xml.lineNumber()).arg(xml.errorString())));

    QCOMPARE(shows.size(), 8);
    QVERIFY(currentShow >= 1 && currentShow <= 8);
    QSet<int> kinds;
    for (int i = 0; i < shows.size(); ++i) {
        const Show& show = shows[i];
        const QByteArray where = QByteArray::number(i + 1);
        QVERIFY2(show.url == QStringLiteral("/api/v1/shows/%1").arg(i + 1), where);
        QVERIFY2(show.effect >= 0 && show.effect <= 7, where);
        QVERIFY2(show.params.size() == 3, where);
        QVERIFY2(show.colors == 6, where);
        QVERIFY2(show.numColors >= 0 && show.numColors <= 6, where);
        for (const QString& param : show.params) {
            bool number = false;
            QVERIFY2(param.toInt(&number) >= 0 && number, where);
        }
        for (int channel : show.channels)
            QVERIFY2(channel >= 0 && channel <= 255, where);
        // A wash reads its colours only when it finds its whole list of six, the used ones first.
        if (show.effect == 3 || show.effect == 4)
            QVERIFY2(show.numColors >= 2, where);
        kinds.insert(show.effect);
    }
    QVERIFY2(kinds.size() >= 6, "the factory scenes show off most of the effect kinds");

    QCOMPARE(properties.value(QStringLiteral("/api/v1/config/switch_state")).split(QLatin1Char(',')).size(), 11);
    QVERIFY(!properties.value(QStringLiteral("/api/v1/config/name")).isEmpty());
    const int universe = properties.value(QStringLiteral("/api/v1/config/universe")).toInt();
    QVERIFY(universe >= 0 && universe <= 255);
    const int ports = properties.value(QStringLiteral("/api/v1/config/num_ports")).toInt();
    QVERIFY(ports >= 1 && ports <= 16);
    const int lights = properties.value(QStringLiteral("/api/v1/config/num_lights")).toInt();
    QVERIFY(lights >= 1 && lights <= 170);
    QCOMPARE(properties.size(), 8);
}

void tst_DataFiles::buildCopyIsCurrent() {
    const QByteArray source =
        read(TestSupport::sourceDir() + QStringLiteral("/app/resources/defaultConfiguration.xml"));
    QVERIFY(!source.isEmpty());
    QCOMPARE(read(defaultsPath()), source);
}

void tst_DataFiles::productGuideIsARealDocument() {
    const QByteArray pdf = read(TestSupport::binDir() + QStringLiteral("/help/LumettoKeypad_ProductGuide.pdf"));
    QVERIFY(pdf.startsWith("%PDF-"));
    QVERIFY(pdf.trimmed().endsWith("%%EOF"));
    QVERIFY2(pdf.size() > 40 * 1024, QByteArray::number(pdf.size()));
    // Count page objects, not the page tree ("/Type /Pages").
    const int pages = pdf.count("/Type /Page") - pdf.count("/Type /Pages");
    QVERIFY2(pages >= 8, QByteArray::number(pages));
}

LUMETTO_TEST_MAIN_CORE(tst_DataFiles, "tst_datafiles")
#include "tst_datafiles.moc"
