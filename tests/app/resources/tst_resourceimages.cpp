#include "TestEnvironment.h"

#include <QImage>
#include <QtTest>

// Every picture the program asks for by path must be compiled in, at the size its place needs.
class tst_ResourceImages : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void namedImage_data();
    void namedImage();
    void keyStatesDiffer_data();
    void keyStatesDiffer();
    void backgroundsFitTheirUse();

private:
    static QImage load(const QString& path);
};

namespace {

struct KeyPlace {
    int number;
    QSize size;
};

// The plate's keys counted row by row, with the sizes of their places on the control panel.
const KeyPlace keyPlaces[] = {
    {1, {152, 87}}, {2, {152, 87}}, {3, {152, 86}}, {4, {152, 86}},  {5, {152, 85}},  {6, {152, 85}},
    {7, {152, 86}}, {8, {152, 86}}, {9, {152, 86}}, {10, {152, 86}}, {11, {309, 88}},
};

const char* const keyStates[] = {"off", "on", "down", "disabled"};

int pixelsAbove(const QImage& image, int alpha) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += qAlpha(image.pixel(x, y)) > alpha ? 1 : 0;
    return count;
}

int opaquePixels(const QImage& image) {
    return pixelsAbove(image, 200);
}

qreal meanLightness(const QImage& image, const QRect& area) {
    qreal sum = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            sum += QColor(image.pixel(x, y)).lightnessF();
    return sum / (area.width() * area.height());
}

} // namespace

void tst_ResourceImages::initTestCase() {
    Q_INIT_RESOURCE(app_resources);
}

QImage tst_ResourceImages::load(const QString& path) {
    QImage image(path);
    return image.convertToFormat(QImage::Format_ARGB32);
}

void tst_ResourceImages::namedImage_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QSize>("size");

    const auto row = [](const QString& path, QSize size) { QTest::newRow(qPrintable(path)) << path << size; };
    row(QStringLiteral(":/images/images/splash.png"), QSize(400, 260));
    for (const char* name : {"connected", "discovering", "disconnected", "unreachable", "demo"})
        row(QStringLiteral(":/images/images/%1.png").arg(QLatin1String(name)), QSize(16, 16));
    row(QStringLiteral(":/images/images/background.png"), QSize(400, 600));
    row(QStringLiteral(":/images/images/controlpaneldisabledoverlay.png"), QSize(400, 600));
    row(QStringLiteral(":/images/images/icon_question.png"), QSize(48, 48));
    for (const KeyPlace& place : keyPlaces)
        for (const char* state : keyStates)
            row(QStringLiteral(":/images/images/button_%1_%2.png").arg(place.number).arg(QLatin1String(state)),
                place.size);
    row(QStringLiteral(":/images/reload_arrow.png"), QSize(10, 13));
    row(QStringLiteral(":/images/PlusSign.png"), QSize(14, 14));
    row(QStringLiteral(":/images/MinusSign.png"), QSize(14, 14));
    for (const char* name :
         {"ColorSelection", "userIcon", "WarningIndication", "addColorGroup", "importColors", "exportIcon"})
        row(QStringLiteral(":/images/%1.png").arg(QLatin1String(name)), QSize(16, 16));
    row(QStringLiteral(":/images/images/lumetto-keypad.png"), QSize(256, 256));
}

void tst_ResourceImages::namedImage() {
    QFETCH(QString, path);
    QFETCH(QSize, size);
    QVERIFY2(QFile::exists(path), qPrintable(path));
    const QImage image = load(path);
    QVERIFY2(!image.isNull(), qPrintable(path));
    QCOMPARE(image.size(), size);
    // An all-transparent picture would be a drawing fault that no size check catches.
    QVERIFY2(pixelsAbove(image, 30) > 0, qPrintable(path));
}

void tst_ResourceImages::keyStatesDiffer_data() {
    QTest::addColumn<int>("number");
    for (const KeyPlace& place : keyPlaces)
        QTest::newRow(qPrintable(QStringLiteral("button_%1").arg(place.number))) << place.number;
}

void tst_ResourceImages::keyStatesDiffer() {
    QFETCH(int, number);
    QVector<QImage> images;
    for (const char* state : keyStates)
        images.append(load(QStringLiteral(":/images/images/button_%1_%2.png").arg(number).arg(QLatin1String(state))));
    for (int i = 0; i < images.size(); ++i) {
        // The key itself fills most of its place; the margin is left for shadow and glow.
        const int area = images[i].width() * images[i].height();
        QVERIFY2(opaquePixels(images[i]) > area * 3 / 4, keyStates[i]);
        for (int j = i + 1; j < images.size(); ++j)
            QVERIFY2(images[i] != images[j],
                     qPrintable(
                         QStringLiteral("%1 equals %2").arg(QLatin1String(keyStates[i]), QLatin1String(keyStates[j]))));
    }
    // The same scene key looks different from its neighbours: each carries its own number.
    if (number < 8)
        QVERIFY(images[0] != load(QStringLiteral(":/images/images/button_%1_off.png").arg(number + 1)));
}

void tst_ResourceImages::backgroundsFitTheirUse() {
    // The plate is the panel's whole background: no see-through pixels anywhere.
    const QImage plate = load(QStringLiteral(":/images/images/background.png"));
    QCOMPARE(opaquePixels(plate), plate.width() * plate.height());

    // The overlay greys the plate out but lets it show through. The panel puts it 10 pixels left of its
    // edge: the plate's centre lies at x = 210 of the overlay, and the wall stays clear, so the strip the
    // overlay leaves uncovered at the right does not stand out.
    const QImage overlay = load(QStringLiteral(":/images/images/controlpaneldisabledoverlay.png"));
    for (const QPoint& point : {QPoint(210, 300), QPoint(60, 40), QPoint(360, 560)}) {
        const int alpha = qAlpha(overlay.pixel(point));
        QVERIFY2(alpha > 60 && alpha < 230, qPrintable(QString::number(alpha)));
    }
    for (const QPoint& point : {QPoint(0, 0), QPoint(20, 300), QPoint(399, 599), QPoint(395, 300)})
        QCOMPARE(qAlpha(overlay.pixel(point)), 0);

    // The splash and the about box print white text at the bottom left: it must stay dark there.
    const QImage splash = load(QStringLiteral(":/images/images/splash.png"));
    QCOMPARE(opaquePixels(splash), splash.width() * splash.height());
    QVERIFY(meanLightness(splash, QRect(0, 170, 220, 90)) < 0.3);

    // The swatch pattern is a two-tone checker that tiles seamlessly.
    const QImage checker = load(QStringLiteral(":/images/TransparentBackground.png"));
    QVERIFY(checker.pixel(0, 0) != checker.pixel(checker.width() / 2, 0));
    QCOMPARE(checker.pixel(0, 0), checker.pixel(checker.width() / 2, checker.height() / 2));
    QCOMPARE(checker.width() % 2, 0);
}

LUMETTO_TEST_MAIN(tst_ResourceImages, "tst_resourceimages")
#include "tst_resourceimages.moc"
