#include "TestEnvironment.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtEndian>

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

using TestSupport::meanDifference;

// The row filters of a PNG file, or an empty list when its image data cannot be read.
QList<int> rowFilters(const QByteArray& png, const QImage& image) {
    QByteArray compressed;
    for (int at = 8; at + 12 <= png.size();) {
        const int length = qFromBigEndian<qint32>(png.constData() + at);
        if (png.mid(at + 4, 4) == "IDAT")
            compressed += png.mid(at + 8, length);
        at += 12 + length;
    }
    const int rowBytes = image.width() * 4 + 1;
    QByteArray sized(4, '\0');
    qToBigEndian<quint32>(quint32(rowBytes * image.height()), sized.data());
    const QByteArray raw = qUncompress(sized + compressed);
    QList<int> filters;
    for (int y = 0; y < image.height() && raw.size() == rowBytes * image.height(); ++y)
        filters << raw.at(y * rowBytes);
    return filters;
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

    // Screens at 200 % find every picture's twin under its name with "@2x": twice the size, the same drawing
    // (halved, it is the picture), and drawn at that size rather than enlarged, or it would look blurred.
    void everyPictureHasATwinForScreensAt200Percent() {
        QTemporaryDir out;
        QCOMPARE(run(out.path()), 0);
        const QDir art(out.filePath(QStringLiteral("art")));
        const QStringList pictures =
            art.entryList({QStringLiteral("*.png")}).filter(QRegularExpression("^[^@]*\\.png$"));
        QVERIFY(pictures.size() > 60);
        for (const QString& name : pictures) {
            const QImage picture(art.filePath(name));
            const QImage twin(art.filePath(QString(name).replace(QStringLiteral(".png"), QStringLiteral("@2x.png"))));
            QVERIFY2(!twin.isNull(), qPrintable(name));
            QCOMPARE(twin.size(), picture.size() * 2);
            const QImage halved = twin.scaled(picture.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            // Small icons differ most, in their antialiased edges (six levels for a 16-pixel badge); a twin
            // drawn in the wrong place or at the wrong size differs by tens.
            const double sameDrawing = meanDifference(halved, picture);
            QVERIFY2(sameDrawing < 8, qPrintable(QStringLiteral("%1: %2").arg(name).arg(sameDrawing)));
            const QImage enlarged = picture.scaled(twin.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            // Keys and splash carry the finest detail: drawn at twice the size they differ from the enlargement
            // by two to three levels, an enlargement by none.
            if (name.startsWith(QLatin1String("button_")) || name == QLatin1String("splash.png"))
                QVERIFY2(meanDifference(enlarged, twin) > 1, qPrintable(name + QStringLiteral(" is only enlarged")));
        }
    }

    // The scalable icon is the pictures' drawing in vector form: no picture embedded in it, and
    // rendered at each picture's size it looks like that picture.
    // The editor decodes the control panel's full-size images before its window shows: they use
    // only the row filters that are cheap to undo, and read back as the images they are.
    void imagesAreQuickToDecode() {
        QTemporaryDir out;
        QCOMPARE(run(out.path()), 0);
        int files = 0;
        for (QDirIterator it(out.path(), {QStringLiteral("*.png")}, QDir::Files, QDirIterator::Subdirectories);
             it.hasNext();) {
            QFile file(it.next());
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QByteArray png = file.readAll();
            const QImage image = QImage::fromData(png, "PNG");
            QVERIFY2(!image.isNull(), qPrintable(file.fileName()));
            const QList<int> filters = rowFilters(png, image);
            QCOMPARE(filters.size(), image.height());
            for (int filter : filters)
                QVERIFY2(filter >= 0 && filter <= 2, qPrintable(file.fileName()));
            ++files;
        }
        QVERIFY(files > 60);
        const QImage background(out.filePath(QStringLiteral("art/background.png")));
        QCOMPARE(background.size(), QSize(400, 600));
        QVERIFY(background.hasAlphaChannel());
    }

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
            // Shadows are layered rather than blurred: two or three levels on average, where the
            // same picture mirrored differs by eleven.
            const double mean = meanDifference(rendered, expected);
            if (qEnvironmentVariableIsSet("LUMETTO_SCREENSHOT_DIR"))
                rendered.save(QDir(qEnvironmentVariable("LUMETTO_SCREENSHOT_DIR"))
                                  .filePath(QStringLiteral("icon-svg-%1.png").arg(size)));
            QVERIFY2(mean < 5, qPrintable(QStringLiteral("%1 px: %2").arg(size).arg(mean)));
        }
    }
};

LUMETTO_TEST_MAIN(tst_ImageGen, "tst_imagegen")
#include "tst_imagegen.moc"
