#include "TestEnvironment.h"

#include "ProgramVersion.h"

#include <QDir>
#include <QFile>
#include <QMimeDatabase>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QXmlStreamReader>

namespace {

QByteArray read(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qWarning() << "cannot read" << path << file.errorString();
    return file.readAll();
}

} // namespace

// The files the program looks for beside itself (the factory defaults and the product guide) and
// those the desktop reads about it.
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

    // The desktop entry, the software centre's description and the file type name the same type,
    // program and version, so that a file manager opens our files with us and the centre lists
    // the release that is installed.
    void desktopFilesAgree() {
        const QString resources = TestSupport::sourceDir() + QStringLiteral("/app/resources/");
        const QString entry = QString::fromUtf8(read(resources + QStringLiteral("lumetto-keypad.desktop")));
        const QString mimeType = QStringLiteral("application/x-lumetto-keypad-configuration");
        QVERIFY(entry.contains(QStringLiteral("\nMimeType=%1;\n").arg(mimeType)));
        QVERIFY(read(resources + QStringLiteral("lumetto-keypad-mime.xml"))
                    .contains(QStringLiteral("<mime-type type=\"%1\">").arg(mimeType).toUtf8()));

        QXmlStreamReader metainfo(read(resources + QStringLiteral("com.orvane.lumetto_keypad.metainfo.xml")));
        QStringList provided;
        QStringList releases;
        QString launchable;
        while (!metainfo.atEnd()) {
            if (metainfo.readNext() != QXmlStreamReader::StartElement)
                continue;
            if (metainfo.name() == QLatin1String("release"))
                releases << metainfo.attributes().value(QLatin1String("version")).toString();
            else if (metainfo.name() == QLatin1String("launchable"))
                launchable = metainfo.readElementText();
            else if (metainfo.name() == QLatin1String("mediatype") || metainfo.name() == QLatin1String("binary"))
                provided << metainfo.readElementText();
        }
        QVERIFY2(!metainfo.hasError(), qPrintable(metainfo.errorString()));
        QCOMPARE(launchable, QStringLiteral("lumetto-keypad.desktop"));
        QCOMPARE(provided, QStringList({"lumetto-keypad", "lumetto-keypad-cli", mimeType}));
        QVERIFY2(!releases.isEmpty() && releases.first() == QLatin1String(ProgramVersion::text),
                 "the newest release entry is the program's version");
    }

    // Installed into a file-type database like the system's, the file type recognises the files
    // the program writes, named .xml or not, and leaves other XML alone.
    void fileTypeRecognisesConfigurationFiles() {
        const QString system = QStringLiteral("/usr/share/mime/packages/freedesktop.org.xml");
        const QString update = QStandardPaths::findExecutable(QStringLiteral("update-mime-database"));
        if (update.isEmpty() || !QFile::exists(system))
            QSKIP("shared-mime-info is not installed");
        QTemporaryDir data;
        const QString packages = data.filePath(QStringLiteral("mime/packages"));
        QVERIFY(QDir().mkpath(packages));
        QVERIFY(QFile::copy(system, packages + QStringLiteral("/freedesktop.org.xml")));
        QVERIFY(QFile::copy(TestSupport::sourceDir() + QStringLiteral("/app/resources/lumetto-keypad-mime.xml"),
                            packages + QStringLiteral("/lumetto-keypad.xml")));
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("PKGSYSTEM_ENABLE_FSYNC"), QStringLiteral("0"));
        process.setProcessEnvironment(environment);
        process.start(update, {data.filePath(QStringLiteral("mime"))});
        QVERIFY(process.waitForFinished(60000) && process.exitCode() == 0);
        // Only this database: Qt lets the last of several decide on contents.
        qputenv("XDG_DATA_DIRS", QFile::encodeName(data.path()));
        qputenv("XDG_DATA_HOME", QFile::encodeName(data.filePath(QStringLiteral("none"))));

        const QByteArray saved = read(TestSupport::binDir() + QStringLiteral("/defaultConfiguration.xml"));
        const QByteArray other = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<html>\n<body/>\n</html>\n";
        const QList<std::tuple<QString, QByteArray, QString>> files = {
            {QStringLiteral("lobby.xml"), saved, QStringLiteral("application/x-lumetto-keypad-configuration")},
            {QStringLiteral("lobby backup"), saved, QStringLiteral("application/x-lumetto-keypad-configuration")},
            {QStringLiteral("page.xml"), other, QStringLiteral("application/xml")},
        };
        QMimeDatabase types;
        for (const auto& [name, contents, type] : files) {
            const QString path = data.filePath(name);
            QVERIFY(TestSupport::writeFile(path, contents));
            QCOMPARE(types.mimeTypeForFile(path).name(), type);
        }
        QVERIFY(types.mimeTypeForName(std::get<2>(files.first())).inherits(QStringLiteral("application/xml")));
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
