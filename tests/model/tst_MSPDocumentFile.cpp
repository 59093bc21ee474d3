#include "TestEnvironment.h"

#include "MSPDocument.h"
#include "MSPDocumentFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>

namespace {

const QByteArray Latin1Declaration = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n";
const QByteArray Utf8Declaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";

// A document with one property whose value is the given bytes, on line 3 after a declaration.
QByteArray named(const QByteArray& declaration, const QByteArray& name) {
    return declaration + "<v1>\n<config><property><url>/api/v1/config/name</url><value>" + name +
           "</value></property></config>\n</v1>";
}

} // namespace

// The one way a configuration file is taken from disk: what it refuses, and the words and line
// it gives (the editor's and the command line's tests see the same through their faces).
class TestMSPDocumentFile : public QObject {
    Q_OBJECT

private slots:
    void contents_data() {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<int>("line"); // -1: taken
        QTest::addColumn<QString>("problem");
        QTest::newRow("latin-1, any byte") << named(Latin1Declaration, "Caf\xe9 \xff") << -1 << QString();
        QTest::newRow("utf-8, multi-byte") << named(Utf8Declaration, "Caf\xc3\xa9 \xf0\x9f\x92\xa1") << -1 << QString();
        QTest::newRow("utf-8 mark, no declaration") << "\xef\xbb\xbf" + named("", "Caf\xc3\xa9") << -1 << QString();
        QTest::newRow("latin-1 byte, utf-8 declared")
            << named(Utf8Declaration, "Caf\xe9") << 3
            << "byte 0xE9 is not valid UTF-8, the encoding the document declares";
        QTest::newRow("latin-1 byte, nothing declared")
            << named("", "\n\nCaf\xe9") << 4 << "byte 0xE9 is not UTF-8, the encoding of a document that declares none";
        QTest::newRow("overlong form") << named(Utf8Declaration, "\xc0\xaf") << 3 << "byte 0xC0 is not valid UTF-8";
        QTest::newRow("surrogate") << named(Utf8Declaration, "\xed\xa0\x80") << 3 << "byte 0xED is not valid UTF-8";
        QTest::newRow("cut short") << Utf8Declaration + "<v1/>\n\xe2\x82" << 3 << "byte 0xE2 is not valid UTF-8";
        QTest::newRow("unknown encoding")
            << named("<?xml version='1.0'\n encoding = 'X-NONE-9' ?>\n", "a") << 2
            << "the document declares the encoding \"X-NONE-9\", which this program does not know";
        QTest::newRow("ends early") << Latin1Declaration + "<v1>\n<all_shows>\n<show><url>/api/v1/shows/1</url>" << 4
                                    << "the document ends early, with <show> (line 4) still open";
        QTest::newRow("ends in a tag") << Latin1Declaration + "<v1>\n<all_sh" << 3
                                       << "the document ends early, with <v1> (line 2) still open";
        QTest::newRow("not ours") << Latin1Declaration + "<html>\n</html>" << 2
                                  << "not a configuration document: its root element is <html>, not <v1>";
        QTest::newRow("no elements") << Latin1Declaration + "<!-- nothing -->" << 2
                                     << "the file holds no configuration document";
        QTest::newRow("refused by the reader")
            << Latin1Declaration + "<v1>\n<config><property><url>/api/v1/config/switch_state</url>\n<value>1,1</"
                                   "value></property></config></v1>"
            << 4 << "not a valid configuration document: switch state \"1,1\"";
    }

    void contents() {
        QFETCH(QByteArray, contents);
        QFETCH(int, line);
        QFETCH(QString, problem);
        const MSPDocumentFile::Result result = MSPDocumentFile::check(contents);
        QVERIFY2(result.ok() == (line < 0), qPrintable(result.problem));
        if (line < 0) {
            QCOMPARE(result.contents, contents);
            return;
        }
        QCOMPARE(result.status, MSPDocumentFile::Status::Refused);
        QCOMPARE(result.line, line);
        QVERIFY2(result.problem.startsWith(problem), qPrintable(result.problem));
    }

    // Only regular files, and never more of one than the limit, whatever its claimed size.
    void files() {
        QTemporaryDir dir;
        auto write = [&dir](const QString& name, const QByteArray& contents) {
            QVERIFY(TestSupport::writeFile(dir.filePath(name), contents));
        };
        const QByteArray document = Latin1Declaration + "<v1>\n</v1>";
        write("limit.xml", document + QByteArray(int(MSPDocument::maximumSize) - document.size(), ' '));
        write("over.xml", document + QByteArray(int(MSPDocument::maximumSize) - document.size() + 1, ' '));
        QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath("pipe")).constData(), 0600), 0);
        QVERIFY(QFile::link(dir.filePath("pipe"), dir.filePath("link-to-pipe.xml")));
        // A socket's name on disk, made without opening any socket.
        QCOMPARE(::mknod(QFile::encodeName(dir.filePath("socket")).constData(), S_IFSOCK | 0600, 0), 0);
        QVERIFY(QDir(dir.path()).mkdir("folder.xml"));

        const MSPDocumentFile::Result limit = MSPDocumentFile::load(dir.filePath("limit.xml"));
        QVERIFY2(limit.ok(), qPrintable(limit.problem));
        QCOMPARE(limit.contents.size(), int(MSPDocument::maximumSize));

        const struct {
            const char* name;
            MSPDocumentFile::Status status;
            const char* problem;
        } refused[] = {
            {"over.xml", MSPDocumentFile::Status::Refused, "the file is larger than 1024 KiB"},
            {"pipe", MSPDocumentFile::Status::NotOpened, "it is a named pipe (FIFO), not a file"},
            {"link-to-pipe.xml", MSPDocumentFile::Status::NotOpened, "it is a named pipe (FIFO), not a file"},
            {"socket", MSPDocumentFile::Status::NotOpened, "it is a socket, not a file"},
            {"folder.xml", MSPDocumentFile::Status::NotOpened, "it is a folder, not a file"},
            {"missing.xml", MSPDocumentFile::Status::NotOpened, "No such file or directory"},
            {"/dev/null", MSPDocumentFile::Status::NotOpened, "it is a device, not a file"},
        };
        for (const auto& file : refused) {
            const QString path = QString::fromLatin1(file.name).startsWith('/') ? file.name : dir.filePath(file.name);
            const MSPDocumentFile::Result result = MSPDocumentFile::load(path);
            QVERIFY2(result.status == file.status, file.name);
            QVERIFY2(result.problem.startsWith(QLatin1String(file.problem)), qPrintable(result.problem));
            QVERIFY(result.contents.isEmpty());
        }
    }
};

LUMETTO_TEST_MAIN_CORE(TestMSPDocumentFile, "tst_MSPDocumentFile")

#include "tst_MSPDocumentFile.moc"
