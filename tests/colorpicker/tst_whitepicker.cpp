#include "BlackBodyCurveWidget.h"
#include "CCTUtils.h"
#include "FixtureGamut.h"
#include "TestEnvironment.h"
#include "WhitePickerWidget.h"
#include "WhiteRange.h"

#include <QAccessible>
#include <QRandomGenerator>
#include <QSpinBox>

#include <cmath>

using namespace ZelColorPickerLib;

namespace {

// Chords of the outline between its 10 K vertices stray from the tint and temperature curves
// by far less than these.
constexpr double TintSlack = 0.05;
constexpr double CctSlack = 0.5;

using TestSupport::typeInto;

QPointF xyOf(const ZelColor& color) {
    return QPointF(color.getx(), color.gety());
}

QPointF cctAndTint(const ZelColor& color) {
    return QPointF(CCTUtils::getCCTFromxy(color.getx(), color.gety()),
                   CCTUtils::getTintFromxy(color.getx(), color.gety()));
}

// Names the first way @p color breaks the white range, or an empty string.
QString rangeFault(const ZelColor& color) {
    const QPointF ct = cctAndTint(color);
    if (color.spec() != ZelColor::Yxy)
        return QStringLiteral("kind %1").arg(color.spec());
    if (!WhiteRange::instance().contains(xyOf(color)))
        return QStringLiteral("(%1, %2) outside the outline").arg(color.getx()).arg(color.gety());
    if (ct.x() < WhiteRange::MinimumCCT - CctSlack || ct.x() > WhiteRange::MaximumCCT + CctSlack)
        return QStringLiteral("temperature %1").arg(ct.x());
    if (ct.y() < CCTUtils::getMinTint() - TintSlack || ct.y() > WhiteRange::instance().upperTint(ct.x()) + TintSlack)
        return QStringLiteral("tint %1 at %2 K").arg(ct.y()).arg(ct.x());
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
                             QVERIFY(uid.isEmpty());
                             emitted << color;
                         });
    }
    QPointF shown() const { return cctAndTint(emitted.last()); }
    bool shows(double cct, double tint) const {
        return qAbs(shown().x() - cct) < 1.0 && qAbs(shown().y() - tint) < 0.01;
    }
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers, int times) {
        diagram->setFocus();
        for (int i = 0; i < times; ++i)
            QTest::keyClick(diagram, key, modifiers);
    }
    void verifyAllInRange() const {
        for (const ZelColor& color : emitted)
            QVERIFY2(rangeFault(color).isEmpty(), qPrintable(rangeFault(color)));
    }
    WhitePickerWidget widget;
    QSpinBox* temperature = nullptr;
    QSpinBox* tint = nullptr;
    BlackBodyCurveWidget* diagram = nullptr;
    QVector<ZelColor> emitted;
};

} // namespace

class TestWhitePicker : public QObject {
    Q_OBJECT

private slots:
    void largestTintRule();
    void temperatureAndTintRoundTrip_data();
    void temperatureAndTintRoundTrip();
    void colourSetFromOutsideIsBroughtIn();
    void repeatedPrimaryShortcutStopsAtTheEdge_data();
    void repeatedPrimaryShortcutStopsAtTheEdge();
    void everyEmittedColourStaysInRange();
    void diagramIsDrawnWhereTheNumbersSay();
    void fixtureGamutOnTheDiagram();
};

void TestWhitePicker::largestTintRule() {
    const WhiteRange& range = WhiteRange::instance();
    const int maxTint = CCTUtils::getMaxTint();
    const int k = int(maxTint * 0.05);
    QCOMPARE(range.largestTint(3100), maxTint);
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
    QVERIFY(!window.contains(CCTUtils::getxyFromCCTAndTint(2000, maxTint)));
    // Out-of-range temperatures read as the nearest limit; points that are no point are not allowed.
    QCOMPARE(range.largestTint(500), range.largestTint(2000));
    QCOMPARE(range.largestTint(qInf()), maxTint);
    QVERIFY(!range.contains(QPointF(qQNaN(), 0.3)));
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
    typeInto(page.tint, tint);
    typeInto(page.temperature, cct);
    QVERIFY2(page.shows(cct, tint), qPrintable(QStringLiteral("%1 K %2").arg(page.shown().x()).arg(page.shown().y())));

    // Moving the tint keeps the temperature, moving the temperature keeps the tint.
    const int otherTint = tint >= 0 ? tint - 90 : tint + 90;
    typeInto(page.tint, otherTint);
    QVERIFY(page.shows(cct, otherTint));
    const int otherCct = cct < 6000 ? cct + 1500 : cct - 1500;
    typeInto(page.temperature, otherCct);
    QVERIFY(page.shows(otherCct, otherTint));
    // A screen reader hears the diagram's white by its numbers.
    QCOMPARE(
        QAccessible::queryAccessibleInterface(page.diagram)->text(QAccessible::Name),
        QStringLiteral("White diagram: %1 K, tint %2").arg(qRound(page.shown().x())).arg(qRound(page.shown().y())));

    // The colour set back on a fresh page shows the same numbers.
    WhitePickerWidget fresh;
    fresh.setColor(page.emitted.last());
    QCOMPARE(fresh.findChild<QSpinBox*>(QStringLiteral("colorTempSpinBox"))->value(), otherCct);
    QCOMPARE(fresh.findChild<QSpinBox*>(QStringLiteral("colorTintSpinBox"))->value(), otherTint);

    // A tint too green for a low temperature gives way to the largest one allowed there.
    typeInto(page.tint, 200);
    typeInto(page.temperature, 2000);
    QCOMPARE(page.tint->value(), WhiteRange::instance().largestTint(2000));
    QVERIFY(qAbs(page.shown().y() - page.tint->value()) < 0.01);
    page.verifyAllInRange();
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
    const double tint = cctAndTint(kept).y();
    QVERIFY2(tint <= WhiteRange::instance().largestTint(3075) + 1.0 && tint > 190, qPrintable(QString::number(tint)));
    QVERIFY(page.diagram->isOutsideWhiteRange());
    const QImage warned = page.widget.grab().toImage();

    // Picking on the diagram clears the warning; picks and typed tints keep the intensity.
    QTest::mouseClick(page.diagram, Qt::LeftButton, {}, page.diagram->rect().center());
    QVERIFY(!page.diagram->isOutsideWhiteRange());
    QVERIFY(page.widget.grab().toImage() != warned);
    typeInto(page.tint, 12);
    QCOMPARE(page.emitted.size(), 2);
    QCOMPARE(page.emitted.first().getY(), 0.4);
    QCOMPARE(page.emitted.last().getY(), 0.4);

    TestSupport::keepPicture(&page.widget, QStringLiteral("white-page.png"));
    TestSupport::keepPicture(warned, QStringLiteral("white-page-outside.png"));
    // Colours of other kinds are converted.
    page.widget.setColor(ZelColor::fromRgb8(255, 0, 0));
    QVERIFY2(rangeFault(page.widget.color()).isEmpty(), qPrintable(rangeFault(page.widget.color())));
    QVERIFY(page.diagram->isOutsideWhiteRange());
}

void TestWhitePicker::repeatedPrimaryShortcutStopsAtTheEdge_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QPointF>("start");  // temperature and tint
    QTest::addColumn<QPointF>("toward"); // the primary pressed for, or none for the arrows
    const int ctrl = Qt::ControlModifier;
    const int ctrlShift = Qt::ControlModifier | Qt::ShiftModifier;
    const QPointF corner(2600, -185);
    QTest::newRow("Ctrl+R") << int(Qt::Key_R) << ctrl << corner << QPointF(0.64, 0.33);
    QTest::newRow("Ctrl+Shift+R") << int(Qt::Key_R) << ctrlShift << corner << QPointF(0.64, 0.33);
    QTest::newRow("Ctrl+G") << int(Qt::Key_G) << ctrl << corner << QPointF(0.30, 0.60);
    QTest::newRow("Ctrl+B") << int(Qt::Key_B) << ctrl << corner << QPointF(0.15, 0.06);
    QTest::newRow("Ctrl+Shift+B") << int(Qt::Key_B) << ctrlShift << corner << QPointF(0.15, 0.06);
    QTest::newRow("Shift+Left") << int(Qt::Key_Left) << int(Qt::ShiftModifier) << QPointF(9900, 0) << QPointF();
}

void TestWhitePicker::repeatedPrimaryShortcutStopsAtTheEdge() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QPointF, start);
    QFETCH(QPointF, toward);
    Page page;
    page.widget.setColor(whiteAt(start.x(), start.y()));
    page.press(Qt::Key(key), Qt::KeyboardModifiers(modifiers), 150);
    QCOMPARE(page.emitted.size(), 150);
    page.verifyAllInRange();
    // Stopped: the last presses no longer move the point.
    const QPointF last = xyOf(page.emitted.last());
    const QPointF before = xyOf(page.emitted[page.emitted.size() - 20]);
    QVERIFY2(QLineF(last, before).length() < 1e-5, qPrintable(QString::number(QLineF(last, before).length())));
    if (toward.isNull()) {
        // The arrows stop at the hottest white, and a step back is a full step again.
        QVERIFY2(qAbs(page.shown().x() - 10000) < 1.0, qPrintable(QString::number(page.shown().x())));
        QCOMPARE(page.temperature->value(), 10000);
        page.press(Qt::Key_Right, Qt::NoModifier, 1);
        QVERIFY(qAbs(page.emitted.last().getx() - last.x() - 0.001) < 1e-9);
        return;
    }
    // One more step would leave the range; the first press moved by the full step.
    QLineF step(last, toward);
    step.setLength(modifiers & Qt::ShiftModifier ? -WhitePickerWidget::PrimaryStep : WhitePickerWidget::PrimaryStep);
    QVERIFY(!WhiteRange::instance().contains(step.p2()));
    const QPointF first = xyOf(whiteAt(start.x(), start.y()));
    QVERIFY(qAbs(QLineF(first, xyOf(page.emitted.first())).length() - WhitePickerWidget::PrimaryStep) < 1e-6);
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
            page.press(key, modifiers, 1);
        } else if (action < 8) {
            const QPoint at(random.bounded(-20, page.diagram->width() + 20),
                            random.bounded(-20, page.diagram->height() + 20));
            QTest::mousePress(page.diagram, Qt::LeftButton, {}, page.diagram->rect().center());
            QMouseEvent move(QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(page.diagram, &move);
            QTest::mouseRelease(page.diagram, Qt::LeftButton, {}, at);
        } else {
            typeInto(action == 8 ? page.temperature : page.tint,
                     action == 8 ? random.bounded(1500, 11000) : random.bounded(-250, 250));
        }
    }
    QVERIFY(page.emitted.size() > 1000);
    page.verifyAllInRange();
}

void TestWhitePicker::diagramIsDrawnWhereTheNumbersSay() {
    Page page;
    const QImage drawn = page.diagram->grab().toImage();
    const auto darkNear = [&](const QPointF& at) {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                if (drawn.pixelColor(qRound(at.x()) + dx, qRound(at.y()) + dy).lightness() < 90)
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
        const QPointF picked = page.shown();
        QVERIFY2(qAbs(picked.x() - cct) < cct * cct * 2e-6 && qAbs(picked.y()) < 15,
                 qPrintable(QStringLiteral("%1 K %2").arg(picked.x()).arg(picked.y())));
        QCOMPARE(page.temperature->value(), qRound(picked.x()));
    }
    // The range outline: a vertex of the lower edge.
    QVERIFY(darkNear(page.diagram->pointFromxy(CCTUtils::getxyFromCCTAndTint(4500, -200))));
}

void TestWhitePicker::fixtureGamutOnTheDiagram() {
    Page page;
    const auto madeOn = [](const FixtureGamut& gamut, const ZelColor& made) {
        return made.isValid() && gamut.contains(xyOf(made));
    };
    // Without a profile the diagram shows no gamut and flags nothing.
    page.widget.setColor(whiteAt(2000, 60));
    QCOMPARE(page.widget.fixtureProfile(), -1);
    QVERIFY(!page.diagram->isOutsideFixtureGamut());
    const QImage plain = page.diagram->grab().toImage();

    // Dual white makes only the whites on the line between its two: one on it passes, one off it
    // is flagged with the white the fixture makes instead, on the line.
    page.widget.setFixtureProfile(6);
    const FixtureGamut& gamut = page.diagram->fixtureGamut();
    QCOMPARE(gamut.profile(), 6);
    QVERIFY(page.diagram->grab().toImage() != plain);
    const QPointF middle = (gamut.polygon()[0] + gamut.polygon()[1]) / 2;
    ZelColor onLine;
    onLine.setYxyF(0.8, middle.x(), middle.y());
    page.widget.setColor(onLine);
    QVERIFY(!page.diagram->isOutsideFixtureGamut());
    const QImage passed = page.diagram->grab().toImage();
    page.widget.setColor(whiteAt(4000, 100, 0.8));
    QVERIFY(page.diagram->isOutsideFixtureGamut());
    QVERIFY(madeOn(gamut, page.diagram->fixtureColor()));
    QVERIFY(page.diagram->grab().toImage() != passed);
    TestSupport::keepPicture(&page.widget, QStringLiteral("white-page-gamut-dual-white.png"));
    // A click on the drawn line is on the line.
    QTest::mouseClick(page.diagram, Qt::LeftButton, {}, page.diagram->pointFromxy(middle).toPoint());
    QVERIFY(!page.diagram->isOutsideFixtureGamut());

    // An RGBW fixture makes every white of the range but the greenest warm ones, beyond its
    // red-green edge; even a dark one is answered with its chromaticity.
    page.widget.setFixtureProfile(2);
    page.widget.setColor(whiteAt(4000, 100, 0.8));
    QVERIFY(!page.diagram->isOutsideFixtureGamut());
    const ZelColor greenish = whiteAt(2000, WhiteRange::instance().largestTint(2000), 0.0);
    QVERIFY(!page.diagram->fixtureGamut().contains(xyOf(greenish)));
    page.widget.setColor(greenish);
    QVERIFY(page.diagram->isOutsideFixtureGamut());
    QVERIFY(madeOn(page.diagram->fixtureGamut(), page.diagram->fixtureColor()));
    TestSupport::keepPicture(&page.widget, QStringLiteral("white-page-gamut-rgbw.png"));
}

LUMETTO_TEST_MAIN(TestWhitePicker, "tst_whitepicker")
#include "tst_whitepicker.moc"
