#include "BlackBodyCurveWidget.h"
#include "CCTUtils.h"
#include "ColorTempSliderWidget.h"
#include "ColorTintSliderWidget.h"
#include "TestEnvironment.h"
#include "WhitePickerWidget.h"
#include "WhiteRange.h"

#include <QDir>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QSpinBox>
#include <QtTest>

#include <cmath>

using namespace ZelColorPickerLib;

namespace {

// Chords of the outline between its 10 K vertices stray from the tint and temperature curves
// by far less than these.
constexpr double TintSlack = 0.05;
constexpr double CctSlack = 0.5;

void typeInto(QSpinBox* spinBox, const QString& text) {
    spinBox->setFocus();
    spinBox->selectAll();
    QTest::keyClicks(spinBox, text);
    QTest::keyClick(spinBox, Qt::Key_Return);
}

QPointF xyOf(const ZelColor& color) {
    return QPointF(color.getx(), color.gety());
}

void cctAndTint(const ZelColor& color, double* cct, double* tint) {
    CCTUtils::getCCTAndTintFromxy(color.getx(), color.gety(), cct, tint);
}

// Names the first way @p color breaks the white range, or an empty string.
QString rangeFault(const ZelColor& color) {
    double cct = 0;
    double tint = 0;
    cctAndTint(color, &cct, &tint);
    if (color.spec() != ZelColor::Yxy)
        return QStringLiteral("kind %1").arg(color.spec());
    if (!WhiteRange::instance().contains(xyOf(color)))
        return QStringLiteral("(%1, %2) outside the outline").arg(color.getx()).arg(color.gety());
    if (cct < WhiteRange::MinimumCCT - CctSlack || cct > WhiteRange::MaximumCCT + CctSlack)
        return QStringLiteral("temperature %1").arg(cct);
    if (tint < CCTUtils::getMinTint() - TintSlack || tint > WhiteRange::instance().upperTint(cct) + TintSlack)
        return QStringLiteral("tint %1 at %2 K").arg(tint).arg(cct);
    return QString();
}

ZelColor whiteAt(double cct, double tint, double intensity = 1.0) {
    const QPointF xy = CCTUtils::getxyFromCCTAndTint(cct, tint);
    ZelColor color;
    color.setYxyF(intensity, xy.x(), xy.y(), 1.0, 0);
    return color;
}

// The page, shown and active so its shortcuts work, with every colour it emits recorded.
struct Page {
    Page() {
        widget.resize(520, 420);
        widget.show();
        QApplication::setActiveWindow(&widget);
        QVERIFY(QTest::qWaitForWindowActive(&widget));
        temperature = widget.findChild<QSpinBox*>(QStringLiteral("colorTempSpinBox"));
        tint = widget.findChild<QSpinBox*>(QStringLiteral("colorTintSpinBox"));
        diagram = widget.findChild<BlackBodyCurveWidget*>(QStringLiteral("blackBodyCurveWidget"));
        QVERIFY(temperature && tint && diagram);
        QObject::connect(&widget, &WhitePickerWidget::colorChanged, &widget,
                         [this](ZelColor color, const QString& uid) {
                             emitted << color;
                             uids << uid;
                         });
    }
    WhitePickerWidget widget;
    QSpinBox* temperature = nullptr;
    QSpinBox* tint = nullptr;
    BlackBodyCurveWidget* diagram = nullptr;
    QVector<ZelColor> emitted;
    QStringList uids;
};

} // namespace

class TestWhitePicker : public QObject {
    Q_OBJECT

private slots:
    void largestTintRule();
    void outlineFollowsTheRule();
    void temperatureAndTintRoundTrip_data();
    void temperatureAndTintRoundTrip();
    void sliderTintGivesWayAtLowTemperatures();
    void colourSetFromOutsideIsBroughtIn();
    void repeatedPrimaryShortcutStopsAtTheEdge_data();
    void repeatedPrimaryShortcutStopsAtTheEdge();
    void arrowKeysStopAtTheEdge();
    void everyEmittedColourStaysInRange();
    void diagramIsDrawnWhereTheNumbersSay();
    void intensityKeepsThePoint();
    void repaintIsFastAndLooksFinished();
};

void TestWhitePicker::largestTintRule() {
    const WhiteRange& range = WhiteRange::instance();
    const int maxTint = CCTUtils::getMaxTint();
    const int k = int(maxTint * 0.05);
    QCOMPARE(range.largestTint(3100), maxTint);
    QCOMPARE(range.largestTint(10000), maxTint);
    QCOMPARE(range.largestTint(3075), int(std::trunc(maxTint - k * 0.55)));
    QCOMPARE(range.largestTint(3050), int(std::trunc(maxTint - k * 1.1)));
    // Below the ramp: never above its start, rising with the temperature, and inside the diagram.
    const QRectF window = WhiteRange::diagramWindow().normalized();
    int previous = 0;
    for (int cct = 2000; cct < 3050; cct += 10) {
        const int tint = range.largestTint(cct);
        QVERIFY2(tint >= previous && tint <= range.largestTint(3050), qPrintable(QString::number(cct)));
        QVERIFY(window.contains(CCTUtils::getxyFromCCTAndTint(cct, tint)));
        previous = tint;
    }
    QVERIFY2(range.largestTint(2000) < maxTint, "the full tint at 2000 K lies outside the diagram");
    QVERIFY(!window.contains(CCTUtils::getxyFromCCTAndTint(2000, maxTint)));
    // Out-of-range temperatures read as the nearest limit.
    QCOMPARE(range.largestTint(500), range.largestTint(2000));
    QCOMPARE(range.largestTint(qInf()), maxTint);
}

void TestWhitePicker::outlineFollowsTheRule() {
    const WhiteRange& range = WhiteRange::instance();
    const QPolygonF& outline = range.polygon();
    // Four edges: 801 + 51 + 51 + 801 + 51 + 51 vertices.
    QCOMPARE(outline.size(), 801 * 2 + 51 * 4);
    QVERIFY(qAbs(outline.first().x() - CCTUtils::getxyFromCCTAndTint(10000, 200).x()) < 1e-12);
    for (const QPointF& vertex : outline) {
        double cct = 0;
        double tint = 0;
        CCTUtils::getCCTAndTintFromxy(vertex.x(), vertex.y(), &cct, &tint);
        QVERIFY(cct > 2000 - 0.01 && cct < 10000 + 0.01);
        QVERIFY(tint >= CCTUtils::getMinTint() - 1e-6 && tint <= range.largestTint(qRound(cct)) + 1e-6);
    }
    QVERIFY(range.contains(CCTUtils::getxyFromCCT(5000)));
    QVERIFY(range.contains(CCTUtils::getxyFromCCTAndTint(3100, 200)));
    QVERIFY(!range.contains(CCTUtils::getxyFromCCTAndTint(5000, 260)));
    QVERIFY(!range.contains(CCTUtils::getxyFromCCT(12000)));
    QVERIFY(!range.contains(QPointF(qQNaN(), 0.3)));
    // The nearest allowed point of a point beyond the lower edge lies on that edge.
    const QPointF pulled = range.nearestAllowed(CCTUtils::getxyFromCCTAndTint(6000, -300));
    double cct = 0;
    double tint = 0;
    CCTUtils::getCCTAndTintFromxy(pulled.x(), pulled.y(), &cct, &tint);
    QVERIFY2(qAbs(tint - CCTUtils::getMinTint()) < TintSlack && qAbs(cct - 6000) < 1,
             qPrintable(QStringLiteral("%1 K %2").arg(cct).arg(tint)));
    QVERIFY(range.contains(range.nearestAllowed(QPointF(qInf(), qQNaN()))));
}

void TestWhitePicker::temperatureAndTintRoundTrip_data() {
    QTest::addColumn<int>("cct");
    QTest::addColumn<int>("tint");
    QTest::newRow("2000 K on the locus") << 2000 << 0;
    QTest::newRow("2700 K magenta") << 2700 << -150;
    QTest::newRow("3100 K full green") << 3100 << 200;
    QTest::newRow("5600 K") << 5600 << 57;
    QTest::newRow("10000 K lowest tint") << 10000 << -200;
}

void TestWhitePicker::temperatureAndTintRoundTrip() {
    QFETCH(int, cct);
    QFETCH(int, tint);
    Page page;
    typeInto(page.tint, QString::number(tint));
    typeInto(page.temperature, QString::number(cct));
    QVERIFY(!page.emitted.isEmpty());
    double shownCct = 0;
    double shownTint = 0;
    cctAndTint(page.emitted.last(), &shownCct, &shownTint);
    QVERIFY2(qAbs(shownCct - cct) < 1.0, qPrintable(QString::number(shownCct)));
    QVERIFY2(qAbs(shownTint - tint) < 0.01, qPrintable(QString::number(shownTint)));
    QCOMPARE(page.tint->value(), tint);
    QVERIFY(page.uids.last().isEmpty());

    // Moving the tint keeps the temperature, moving the temperature keeps the tint.
    const int otherTint = tint >= 0 ? tint - 90 : tint + 90;
    typeInto(page.tint, QString::number(otherTint));
    cctAndTint(page.emitted.last(), &shownCct, &shownTint);
    QVERIFY2(qAbs(shownCct - cct) < 1.0, qPrintable(QString::number(shownCct)));
    QVERIFY(qAbs(shownTint - otherTint) < 0.01);
    QCOMPARE(page.temperature->value(), cct);
    const int otherCct = cct < 6000 ? cct + 1500 : cct - 1500;
    typeInto(page.temperature, QString::number(otherCct));
    cctAndTint(page.emitted.last(), &shownCct, &shownTint);
    QVERIFY(qAbs(shownCct - otherCct) < 1.0);
    QVERIFY2(qAbs(shownTint - otherTint) < 0.01, qPrintable(QString::number(shownTint)));
    QCOMPARE(page.tint->value(), otherTint);

    // The colour set back on a fresh page shows the same numbers.
    WhitePickerWidget fresh;
    fresh.setColor(page.emitted.last());
    QCOMPARE(fresh.findChild<QSpinBox*>(QStringLiteral("colorTempSpinBox"))->value(), otherCct);
    QCOMPARE(fresh.findChild<QSpinBox*>(QStringLiteral("colorTintSpinBox"))->value(), otherTint);
}

void TestWhitePicker::sliderTintGivesWayAtLowTemperatures() {
    Page page;
    typeInto(page.temperature, QStringLiteral("3100"));
    typeInto(page.tint, QStringLiteral("200"));
    double cct = 0;
    double tint = 0;
    cctAndTint(page.emitted.last(), &cct, &tint);
    QVERIFY(qAbs(tint - 200) < 0.01);

    typeInto(page.temperature, QStringLiteral("2000"));
    const int allowed = WhiteRange::instance().largestTint(2000);
    QCOMPARE(page.tint->value(), allowed);
    cctAndTint(page.emitted.last(), &cct, &tint);
    QVERIFY(qAbs(tint - allowed) < 0.01 && qAbs(cct - 2000) < 1.0);
    QVERIFY2(rangeFault(page.emitted.last()).isEmpty(), qPrintable(rangeFault(page.emitted.last())));
}

void TestWhitePicker::colourSetFromOutsideIsBroughtIn() {
    Page page;
    // 3075 K with the full tint lies above the ramp.
    ZelColor above = whiteAt(3075, 200, 0.4);
    above.setAlphaF(0.5);
    page.widget.setColor(above);
    QVERIFY(page.emitted.isEmpty());
    const ZelColor kept = page.widget.color();
    QVERIFY2(rangeFault(kept).isEmpty(), qPrintable(rangeFault(kept)));
    QCOMPARE(kept.getY(), 0.4);
    QCOMPARE(kept.alpha8(), above.alpha8());
    double cct = 0;
    double tint = 0;
    cctAndTint(kept, &cct, &tint);
    QVERIFY2(tint <= WhiteRange::instance().largestTint(3075) + 1.0 && tint > 190, qPrintable(QString::number(tint)));
    QVERIFY(page.diagram->isOutsideWhiteRange());
    QVERIFY(qAbs(page.diagram->point().x() - kept.getx()) < 1e-12);

    // Picking on the diagram clears the warning.
    QTest::mouseClick(page.diagram, Qt::LeftButton, {}, page.diagram->rect().center());
    QVERIFY(!page.diagram->isOutsideWhiteRange());
    QCOMPARE(page.emitted.size(), 1);
    QCOMPARE(page.emitted.last().getY(), 0.4);

    // Colours of other kinds are converted.
    page.widget.setColor(ZelColor::fromRgb8(255, 0, 0));
    QVERIFY2(rangeFault(page.widget.color()).isEmpty(), qPrintable(rangeFault(page.widget.color())));
    QVERIFY(page.diagram->isOutsideWhiteRange());
}

void TestWhitePicker::repeatedPrimaryShortcutStopsAtTheEdge_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("shift");
    QTest::newRow("Ctrl+R") << int(Qt::Key_R) << false;
    QTest::newRow("Ctrl+Shift+R") << int(Qt::Key_R) << true;
    QTest::newRow("Ctrl+G") << int(Qt::Key_G) << false;
    QTest::newRow("Ctrl+B") << int(Qt::Key_B) << false;
    QTest::newRow("Ctrl+Shift+B") << int(Qt::Key_B) << true;
}

void TestWhitePicker::repeatedPrimaryShortcutStopsAtTheEdge() {
    QFETCH(int, key);
    QFETCH(bool, shift);
    Page page;
    page.widget.setColor(whiteAt(2600, -185));
    page.diagram->setFocus();
    const Qt::KeyboardModifiers modifiers = shift ? Qt::ControlModifier | Qt::ShiftModifier : Qt::ControlModifier;
    for (int i = 0; i < 150; ++i)
        QTest::keyClick(page.diagram, Qt::Key(key), modifiers);
    QCOMPARE(page.emitted.size(), 150);
    for (const ZelColor& color : qAsConst(page.emitted))
        QVERIFY2(rangeFault(color).isEmpty(), qPrintable(rangeFault(color)));
    // Stopped: the last presses no longer move the point, and one more step would leave the range.
    const QPointF last = xyOf(page.emitted.last());
    const QPointF before = xyOf(page.emitted[page.emitted.size() - 20]);
    QVERIFY2(QLineF(last, before).length() < 1e-5, qPrintable(QString::number(QLineF(last, before).length())));
    const QPointF primary = key == Qt::Key_R   ? QPointF(0.64, 0.33)
                            : key == Qt::Key_G ? QPointF(0.30, 0.60)
                                               : QPointF(0.15, 0.06);
    QLineF toward(last, primary);
    toward.setLength(shift ? -0.002 : 0.002);
    QVERIFY(!WhiteRange::instance().contains(toward.p2()));
    // The first press moved by the full step.
    const QPointF start = xyOf(whiteAt(2600, -185));
    QVERIFY(qAbs(QLineF(start, xyOf(page.emitted.first())).length() - 0.002) < 1e-6);
}

void TestWhitePicker::arrowKeysStopAtTheEdge() {
    Page page;
    page.widget.setColor(whiteAt(9900, 0));
    page.diagram->setFocus();
    for (int i = 0; i < 40; ++i)
        QTest::keyClick(page.diagram, Qt::Key_Left, Qt::ShiftModifier);
    double cct = 0;
    double tint = 0;
    cctAndTint(page.emitted.last(), &cct, &tint);
    QVERIFY2(qAbs(cct - 10000) < 1.0, qPrintable(QString::number(cct)));
    QCOMPARE(page.temperature->value(), 10000);
    for (const ZelColor& color : qAsConst(page.emitted))
        QVERIFY2(rangeFault(color).isEmpty(), qPrintable(rangeFault(color)));
    const int before = page.emitted.size();
    QTest::keyClick(page.diagram, Qt::Key_Right);
    QCOMPARE(page.emitted.size(), before + 1);
    QVERIFY(qAbs(page.emitted.last().getx() - page.emitted[before - 1].getx() - 0.001) < 1e-9);
}

void TestWhitePicker::everyEmittedColourStaysInRange() {
    Page page;
    QRandomGenerator random(20261207);
    const Qt::Key keys[] = {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down, Qt::Key_R, Qt::Key_G, Qt::Key_B};
    for (int i = 0; i < 1500; ++i) {
        const int action = random.bounded(10);
        if (action < 6) {
            const Qt::Key key = keys[random.bounded(7)];
            Qt::KeyboardModifiers modifiers = random.bounded(2) ? Qt::ShiftModifier : Qt::NoModifier;
            if (key == Qt::Key_R || key == Qt::Key_G || key == Qt::Key_B)
                modifiers |= Qt::ControlModifier;
            page.diagram->setFocus();
            QTest::keyClick(page.diagram, key, modifiers);
        } else if (action < 8) {
            const QPoint at(random.bounded(-20, page.diagram->width() + 20),
                            random.bounded(-20, page.diagram->height() + 20));
            QTest::mousePress(page.diagram, Qt::LeftButton, {}, page.diagram->rect().center());
            QMouseEvent move(QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(page.diagram, &move);
            QTest::mouseRelease(page.diagram, Qt::LeftButton, {}, at);
        } else if (action == 8) {
            typeInto(page.temperature, QString::number(random.bounded(1500, 11000)));
        } else {
            typeInto(page.tint, QString::number(random.bounded(-250, 250)));
        }
    }
    QVERIFY(page.emitted.size() > 1000);
    for (const ZelColor& color : qAsConst(page.emitted))
        QVERIFY2(rangeFault(color).isEmpty(), qPrintable(rangeFault(color)));
}

void TestWhitePicker::diagramIsDrawnWhereTheNumbersSay() {
    Page page;
    const QImage drawn = page.diagram->grab().toImage();
    const auto darkNear = [&](const QPointF& at) {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const QColor pixel = drawn.pixelColor(qRound(at.x()) + dx, qRound(at.y()) + dy);
                if (pixel.lightness() < 90)
                    return true;
            }
        return false;
    };
    for (const int cct : {2200, 2900, 4500, 7500}) {
        const QPointF onLocus = page.diagram->pointFromxy(CCTUtils::getxyFromCCT(cct));
        QVERIFY2(darkNear(onLocus), qPrintable(QStringLiteral("locus at %1 K").arg(cct)));
        // Below the locus: the temperature labels sit above it, where the font decides their extent.
        QVERIFY2(!darkNear(page.diagram->pointFromxy(CCTUtils::getxyFromCCTAndTint(cct, -110))),
                 qPrintable(QStringLiteral("off the locus at %1 K").arg(cct)));
        // And a click there picks that temperature.
        QTest::mouseClick(page.diagram, Qt::LeftButton, {}, onLocus.toPoint());
        double picked = 0;
        double tint = 0;
        cctAndTint(page.emitted.last(), &picked, &tint);
        QVERIFY2(qAbs(picked - cct) < cct * cct * 2e-6 && qAbs(tint) < 15,
                 qPrintable(QStringLiteral("%1 K %2").arg(picked).arg(tint)));
        QCOMPARE(page.temperature->value(), qRound(picked));
    }
    // The range outline: a vertex of the lower edge.
    QVERIFY(darkNear(page.diagram->pointFromxy(CCTUtils::getxyFromCCTAndTint(4500, -200))));
}

void TestWhitePicker::intensityKeepsThePoint() {
    Page page;
    QTest::mouseClick(page.diagram, Qt::LeftButton, {}, page.diagram->rect().center() + QPoint(13, 7));
    const ZelColor picked = page.emitted.last();
    page.widget.onIntensityChanged(0.25);
    QCOMPARE(page.emitted.last().getY(), 0.25);
    QCOMPARE(page.emitted.last().getx(), picked.getx());
    QCOMPARE(page.emitted.last().gety(), picked.gety());
    typeInto(page.tint, QStringLiteral("12"));
    QCOMPARE(page.emitted.last().getY(), 0.25);
    QCOMPARE(page.diagram->intensity(), 0.25);
}

void TestWhitePicker::repaintIsFastAndLooksFinished() {
    Page page;
    page.widget.setColor(whiteAt(2400, -150, 0.8));
    page.diagram->repaint(); // draws the static image
    QElapsedTimer timer;
    timer.start();
    const int repaints = 60;
    for (int i = 0; i < repaints; ++i)
        page.diagram->repaint();
    const double repaintMs = timer.nsecsElapsed() / 1e6 / repaints;

    // A temperature drag: every step converts, emits and repaints.
    timer.restart();
    for (int i = 0; i < repaints; ++i) {
        page.widget.onColorTempChanged(3000 + i * 50);
        page.diagram->repaint();
    }
    const double dragMs = timer.nsecsElapsed() / 1e6 / repaints;
    qInfo("diagram %dx%d: repaint %.3f ms, temperature step %.3f ms", page.diagram->width(), page.diagram->height(),
          repaintMs, dragMs);
    QVERIFY2(repaintMs < 8.0, qPrintable(QString::number(repaintMs)));
    QVERIFY2(dragMs < 16.0, qPrintable(QString::number(dragMs)));

    // Screenshots for review when a folder is named.
    page.widget.setColor(whiteAt(3300, 60, 0.8));
    const QPixmap inRange = page.widget.grab();
    ZelColor outside;
    outside.setYxyF(0.8, 0.42, 0.33, 1.0, 0);
    page.widget.setColor(outside);
    QVERIFY(page.diagram->isOutsideWhiteRange());
    const QPixmap warned = page.widget.grab();
    QVERIFY(!inRange.isNull() && !warned.isNull());
    QVERIFY(inRange.toImage() != warned.toImage());
    const QString folder = qEnvironmentVariable("LUMETTO_SCREENSHOT_DIR");
    if (!folder.isEmpty()) {
        QVERIFY(inRange.save(QDir(folder).filePath(QStringLiteral("white-page.png"))));
        QVERIFY(warned.save(QDir(folder).filePath(QStringLiteral("white-page-outside.png"))));
    }
}

LUMETTO_TEST_MAIN(TestWhitePicker, "tst_whitepicker")
#include "tst_whitepicker.moc"
