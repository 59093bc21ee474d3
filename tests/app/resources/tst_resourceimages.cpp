#include "TestEnvironment.h"

#include <QImage>

namespace {

// The plate's keys counted row by row, with the sizes of their places on the control panel.
const QSize keyPlaces[] = {{152, 87}, {152, 87}, {152, 86}, {152, 86}, {152, 85}, {152, 85},
                           {152, 86}, {152, 86}, {152, 86}, {152, 86}, {309, 88}};

QImage load(const QString& path) {
    return QImage(path).convertToFormat(QImage::Format_ARGB32);
}

int pixelsAbove(const QImage& image, int alpha) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += qAlpha(image.pixel(x, y)) > alpha ? 1 : 0;
    return count;
}

} // namespace

// Every picture the program asks for by path must be compiled in, at the size its place needs.
class tst_ResourceImages : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { Q_INIT_RESOURCE(app_resources); }

    void namedImage_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QSize>("size");
        const auto row = [](const QString& path, QSize size) { QTest::newRow(qPrintable(path)) << path << size; };
        const auto rows = [&](const char* pattern, std::initializer_list<const char*> names, QSize size) {
            for (const char* name : names)
                row(QString::fromLatin1(pattern).arg(QLatin1String(name)), size);
        };
        rows(":/images/images/%1.png", {"connected", "discovering", "disconnected", "unreachable", "demo"}, {16, 16});
        rows(":/images/images/%1.png", {"background"}, {400, 600});
        rows(":/images/images/%1.png", {"splash"}, {400, 260});
        rows(":/images/images/%1.png", {"icon_question"}, {48, 48});
        rows(":/images/images/%1.png", {"lumetto-keypad"}, {256, 256});
        rows(":/images/%1.png",
             {"ColorSelection", "userIcon", "WarningIndication", "addColorGroup", "importColors", "exportIcon"},
             {16, 16});
        rows(":/images/%1.png", {"PlusSign", "MinusSign"}, {14, 14});
        rows(":/images/%1.png", {"reload_arrow"}, {10, 13});
        rows(":/images/%1.png", {"TransparentBackground"}, {8, 8});
        for (int number = 1; number <= 11; ++number)
            for (const char* state : {"off", "on", "down", "disabled"})
                row(QStringLiteral(":/images/images/button_%1_%2.png").arg(number).arg(QLatin1String(state)),
                    keyPlaces[number - 1]);
    }

    void namedImage() {
        QFETCH(QString, path);
        QFETCH(QSize, size);
        const QImage image = load(path);
        QCOMPARE(image.size(), size);
        // An all-transparent picture would be a drawing fault that no size check catches.
        QVERIFY(pixelsAbove(image, 30) > 0);
    }

    void backgroundsFitTheirUse() {
        // The plate is the panel's whole background: no see-through pixels anywhere.
        const QImage plate = load(QStringLiteral(":/images/images/background.png"));
        QCOMPARE(pixelsAbove(plate, 200), plate.width() * plate.height());
    }
};

LUMETTO_TEST_MAIN(tst_ResourceImages, "tst_resourceimages")
#include "tst_resourceimages.moc"
