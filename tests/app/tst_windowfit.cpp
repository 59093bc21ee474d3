#include "TestEnvironment.h"
#include "WindowFit.h"

// The main window's size rule: designed at the default font, grown to what its columns need, never
// beyond the screen, where the columns scroll instead.
class TestWindowFit : public QObject {
    Q_OBJECT

private slots:
    void sizes_data() {
        QTest::addColumn<QSize>("needed");
        QTest::addColumn<bool>("panelAlone");
        QTest::addColumn<QSize>("available");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("minimumWidth");
        QTest::addColumn<int>("maximumWidth");
        QTest::addColumn<bool>("scroll");
        const QSize roomy(1400, 870);
        // The forms need less than designed: the design holds.
        QTest::newRow("default font") << QSize(900, 640) << false << roomy << 663 << 970 << 10000 << false;
        // A larger font: the window grows to what the columns need.
        QTest::newRow("large font") << QSize(1033, 830) << false << roomy << 830 << 1033 << 10000 << false;
        QTest::newRow("just fits") << QSize(1400, 870) << false << roomy << 870 << 1400 << 10000 << false;
        // Taller than the screen: as high as the screen, and the columns scroll.
        QTest::newRow("screen too low") << QSize(1033, 900) << false << roomy << 870 << 1033 << 10000 << true;
        // 200 % on a 1366 x 768 screen: 683 x 384 points, smaller than the design itself.
        QTest::newRow("small screen") << QSize(970, 684) << false << QSize(683, 384) << 384 << 683 << 10000 << true;
        // The settings float: the window is the panel's column, exactly as wide.
        QTest::newRow("panel alone") << QSize(414, 663) << true << roomy << 663 << 414 << 414 << false;
        QTest::newRow("panel alone, low screen")
            << QSize(414, 663) << true << QSize(1366, 400) << 400 << 414 << 414 << true;
    }

    void sizes() {
        QFETCH(QSize, needed);
        QFETCH(bool, panelAlone);
        QFETCH(QSize, available);
        WindowFit::Input input;
        input.needed = needed;
        input.panelAlone = panelAlone;
        input.designedHeight = 600 + 63;
        input.designedMinimumWidth = 970;
        input.maximumWidth = 10000;
        input.available = available;
        const WindowFit::Result fit = WindowFit::compute(input);
        QTEST(fit.height, "height");
        QTEST(fit.minimumWidth, "minimumWidth");
        QTEST(fit.maximumWidth, "maximumWidth");
        QTEST(fit.scroll, "scroll");
    }
};

LUMETTO_TEST_MAIN_CORE(TestWindowFit, "tst_windowfit")
#include "tst_windowfit.moc"
