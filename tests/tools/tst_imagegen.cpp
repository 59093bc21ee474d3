#include "TestEnvironment.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QPainter>
#include <QProcess>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QXmlStreamReader>

namespace {

int run(const QString& output, const QString& workingDirectory = QString()) {
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.setWorkingDirectory(workingDirectory);
    process.start(QStringLiteral(IMAGEGEN_PATH),
                  output.isEmpty() ? QStringList() : QStringList({QStringLiteral("--output"), output}));
    if (!process.waitForFinished(120000))
        return -1;
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

QMap<QString, QByteArray> digests(const QString& folder) {
    QMap<QString, QByteArray> result;
    for (QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
        QFile file(it.next());
        if (file.open(QIODevice::ReadOnly))
            result.insert(QDir(folder).relativeFilePath(file.fileName()),
                          QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha1));
    }
    return result;
}

} // namespace

// The image generator runs in every build: its resource list must match what it wrote, and it must
// write the same bytes every time, or every build would recompile the resources for nothing.
class tst_ImageGen : public QObject {
    Q_OBJECT

private slots:
    void resourceListMatchesTheFilesAndIsReproducible() {
        QTemporaryDir out;
        QCOMPARE(run(out.path()), 0);
        QFile qrc(out.filePath(QStringLiteral("app_resources.qrc")));
        QVERIFY(qrc.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&qrc);
        QSet<QString> listed;
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isStartElement() && xml.name() == QLatin1String("file"))
                listed.insert(xml.readElementText());
        }
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        // Everything drawn for the program is listed, and nothing else: the program finds each picture under
        // its own name, which the resource test checks.
        const QStringList drawn = QDir(out.filePath(QStringLiteral("art"))).entryList({QStringLiteral("*.png")});
        QCOMPARE(drawn.size(), listed.size());
        for (const QString& name : drawn)
            QVERIFY2(listed.contains(QStringLiteral("art/") + name), qPrintable(name));

        QTemporaryDir again;
        QCOMPARE(run(again.path()), 0);
        const auto first = digests(out.path());
        QVERIFY(first.size() > 60);
        QCOMPARE(digests(again.path()), first);

        // Without a folder it refuses, and writes nothing where it was started.
        QTemporaryDir cwd;
        QCOMPARE(run(QString(), cwd.path()), 2);
        QVERIFY(QDir(cwd.path()).isEmpty());
    }

    // The scalable icon is the pictures' drawing in vector form: no picture embedded in it, and
    // rendered at each picture's size it looks like that picture.
    void scalableIconIsTheSameDrawing() {
        QTemporaryDir out;
        QCOMPARE(run(out.path()), 0);
        const QString icons = out.filePath(QStringLiteral("icons/hicolor/"));
        QFile file(icons + QStringLiteral("scalable/apps/lumetto-keypad.svg"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray svg = file.readAll();
        QVERIFY(!svg.contains("<image"));
        QSvgRenderer renderer(svg);
        QVERIFY(renderer.isValid());
        QCOMPARE(renderer.viewBox(), QRect(0, 0, 256, 256));
        // The small pictures are drawn for their size (fewer keys, thinner shadows) and differ.
        for (int size : {128, 256}) {
            const QImage picture(icons + QStringLiteral("%1x%1/apps/lumetto-keypad.png").arg(size));
            QVERIFY(!picture.isNull());
            QImage rendered(size, size, QImage::Format_ARGB32);
            rendered.fill(Qt::transparent);
            QPainter painter(&rendered);
            renderer.render(&painter);
            painter.end();
            const QImage expected = picture.convertToFormat(QImage::Format_ARGB32);
            qint64 difference = 0;
            for (int y = 0; y < size; ++y) {
                const auto* a = reinterpret_cast<const QRgb*>(rendered.constScanLine(y));
                const auto* b = reinterpret_cast<const QRgb*>(expected.constScanLine(y));
                for (int x = 0; x < size; ++x)
                    difference += qAbs(qRed(a[x]) - qRed(b[x])) + qAbs(qGreen(a[x]) - qGreen(b[x])) +
                                  qAbs(qBlue(a[x]) - qBlue(b[x])) + qAbs(qAlpha(a[x]) - qAlpha(b[x]));
            }
            // Shadows are layered rather than blurred: two or three levels on average, where the
            // same picture mirrored differs by eleven.
            const double mean = double(difference) / (size * size * 4);
            if (qEnvironmentVariableIsSet("LUMETTO_SCREENSHOT_DIR"))
                rendered.save(QDir(qEnvironmentVariable("LUMETTO_SCREENSHOT_DIR"))
                                  .filePath(QStringLiteral("icon-svg-%1.png").arg(size)));
            QVERIFY2(mean < 5, qPrintable(QStringLiteral("%1 px: %2").arg(size).arg(mean)));
        }
    }
};

LUMETTO_TEST_MAIN(tst_ImageGen, "tst_imagegen")
#include "tst_imagegen.moc"
