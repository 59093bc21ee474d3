#include "ConnectedWindow.h"
#include "ConnectionState.h"
#include "DisplayScaling.h"
#include "KeypadSimulator.h"
#include "MSPControlPanelWidget.h"
#include "MSPEffect.h"
#include "MSPEffectWidget.h"
#include "MSPSceneSettingsWidget.h"
#include "MainWindow.h"
#include "SplashScreen.h"
#include "SystemConfiguration.h"
#include "TestEnvironment.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QWindow>
#include <memory>

namespace {

constexpr int Generous = 20000;

bool isControl(const QWidget* widget) {
    const QWidget* parent = widget->parentWidget();
    if (qobject_cast<const QScrollBar*>(widget) || qobject_cast<const QAbstractSpinBox*>(parent) ||
        qobject_cast<const QComboBox*>(parent))
        return false;
    return qobject_cast<const QAbstractButton*>(widget) || qobject_cast<const QAbstractSlider*>(widget) ||
           qobject_cast<const QAbstractSpinBox*>(widget) || qobject_cast<const QComboBox*>(widget) ||
           qobject_cast<const QLineEdit*>(widget);
}

using TestSupport::describe;
using TestSupport::meanDifference;

// Scrolls every area the widget is in until all of it shows (as much as fits), innermost first.
void bringIntoView(QWidget* widget) {
    for (QWidget* w = widget->parentWidget(); w && !w->isWindow(); w = w->parentWidget()) {
        if (auto* area = qobject_cast<QScrollArea*>(w)) {
            const QRect there(widget->mapTo(area->widget(), QPoint(0, 0)), widget->size());
            area->ensureVisible(there.center().x(), there.center().y(), there.width() / 2 + 1, there.height() / 2 + 1);
        }
    }
}

// Where the widget is cut off: by one of its parents (a column, a dock, the window), or by the screen. A
// widget larger than a scrolling column shows as much of itself as the column can (give or take the
// pixel or two where scrolling stops).
QString clipping(const QWidget* widget) {
    const auto short_ = [](int shown, int size, int room) { return size <= room ? shown < size : shown < room - 2; };
    const QPoint origin = widget->mapTo(widget->window(), QPoint(0, 0));
    QRect visible = widget->rect();
    QSize room = widget->size();
    for (const QWidget* ancestor = widget->parentWidget(); ancestor; ancestor = ancestor->parentWidget()) {
        visible &= QRect(ancestor->mapTo(widget->window(), QPoint(0, 0)) - origin, ancestor->size());
        room = room.boundedTo(ancestor->size());
        if (short_(visible.width(), widget->width(), room.width()) ||
            short_(visible.height(), widget->height(), room.height()))
            return QStringLiteral("cut by %1")
                .arg(ancestor->isWindow() ? QStringLiteral("the window") : describe(ancestor));
        if (ancestor->isWindow())
            break;
    }
    const QRect onScreen(widget->mapToGlobal(visible.topLeft()), visible.size());
    const QRect screen = widget->window()->windowHandle()->screen()->availableGeometry();
    return screen.contains(onScreen) ? QString() : QStringLiteral("off the screen");
}

} // namespace

// The editor on screens of several sizes and scales (an X server in memory, see tests/app/CMakeLists.txt),
// connected to a simulated keypad: nothing is cut off, the window stays on its screen, and at 200 % the
// pictures are the ones drawn for it.
class TestScreens : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        Q_INIT_RESOURCE(app_resources);
        m_window = ConnectedWindow::open(m_keypad);
        QVERIFY(m_window);
        const QScreen* screen = m_window->windowHandle()->screen();
        qInfo("screen %dx%d points at %.2fx, fonts at %.0f dpi", screen->geometry().width(),
              screen->geometry().height(), screen->devicePixelRatio(), screen->logicalDotsPerInch());
    }

    void cleanupTestCase() {
        m_window.reset();
        m_keypad.stop();
    }

    // Whole on a screen with room; on a smaller one as large as the screen, its columns scrolling.
    void windowFitsItsScreen() {
        // The window settles once it is shown and whenever its content asks for other room.
        QTest::qWait(100);
        const QRect screen = m_window->windowHandle()->screen()->availableGeometry();
        const QRect frame = m_window->frameGeometry();
        QVERIFY2(screen.contains(frame), qPrintable(QStringLiteral("window %1,%2 %3x%4 on %5x%6")
                                                        .arg(frame.x())
                                                        .arg(frame.y())
                                                        .arg(frame.width())
                                                        .arg(frame.height())
                                                        .arg(screen.width())
                                                        .arg(screen.height())));
        const auto scrolling = [this] {
            for (QScrollArea* area : m_window->findChildren<QScrollArea*>(QStringLiteral("controlPanelScroll")) +
                                         m_window->findChildren<QScrollArea*>(QStringLiteral("settingsScroll")))
                if (area->verticalScrollBar()->isVisible() || area->horizontalScrollBar()->isVisible())
                    return true;
            return false;
        };
        if (qEnvironmentVariableIsSet("LUMETTO_SCREEN_HAS_ROOM")) {
            QVERIFY(!scrolling());
            // Never below its designed height, the control panel's and a little.
            QVERIFY(m_window->height() >= m_window->findChild<MSPControlPanelWidget*>()->height() + 63);
        } else {
            QVERIFY(scrolling());
            QCOMPARE(frame.height(), screen.height());
        }
        // What the status bar says shows whole ("100%", not "100'").
        for (QLabel* label : m_window->statusBar()->findChildren<QLabel*>()) {
            if (label->isVisible() && !label->text().isEmpty())
                QVERIFY2(label->width() >= label->sizeHint().width() && label->height() >= label->sizeHint().height(),
                         qPrintable(label->objectName() + QStringLiteral(": ") + label->text()));
        }
    }

    void everyControlOfEveryTabShowsWhole_data() {
        QTest::addColumn<int>("tab");
        QTest::addColumn<int>("kind");
        for (int kind = 0; kind < MSPEffect::typeCount; ++kind)
            QTest::addRow("scene settings, %s", qPrintable(MSPEffect::nameForType(kind))) << 0 << kind;
        QTest::addRow("system configuration") << 1 << -1;
        QTest::addRow("network") << 2 << -1;
    }

    // Scrolled into view where the window is smaller than its columns, as Tab scrolls them.
    void everyControlOfEveryTabShowsWhole() {
        QFETCH(int, tab);
        QFETCH(int, kind);
        auto* tabs = m_window->findChild<QTabWidget*>(QStringLiteral("tabWidget"));
        tabs->setCurrentIndex(tab);
        if (kind >= 0) {
            m_window->findChild<MSPSceneSettingsWidget*>()
                ->findChild<QComboBox*>(QStringLiteral("effectsComboBox"))
                ->setCurrentIndex(kind);
            QVERIFY(ConnectedWindow::idle());
        }
        QTest::qWait(100);
        QList<QWidget*> controls = tabs->currentWidget()->findChildren<QWidget*>();
        controls += m_window->findChild<MSPControlPanelWidget*>()->findChildren<QWidget*>();
        controls << tabs->tabBar();
        QStringList cut;
        int checked = 0;
        for (QWidget* widget : qAsConst(controls)) {
            if (!isControl(widget) && widget != tabs->tabBar())
                continue;
            if (!widget->isVisible())
                continue;
            bringIntoView(widget);
            const QString where = clipping(widget);
            if (!where.isEmpty())
                cut << describe(widget) + QStringLiteral(": ") + where;
            ++checked;
        }
        for (const QString& control : qAsConst(cut))
            qWarning("%s", qPrintable(control));
        QVERIFY(checked > 10);
        QVERIFY2(cut.isEmpty(), qPrintable(QStringLiteral("%1 of %2 controls cut off").arg(cut.size()).arg(checked)));
    }

    // At 200 % the keys, the plate and the splash are the pictures drawn at twice the size, not the
    // others enlarged: style sheets and icons find them by name, the other pictures through ScaledPixmap.
    void picturesForScreensAt200Percent() {
        if (m_window->devicePixelRatioF() < 2)
            QSKIP("the screen is at 100 %");
        auto* key = m_window->findChild<QAbstractButton*>(QStringLiteral("scene5Button"));
        if (key->isChecked())
            m_window->findChild<MSPControlPanelWidget*>()->selectScene(0);
        bringIntoView(key);
        const QImage shown = key->grab().toImage();
        TestSupport::keepPicture(shown, QStringLiteral("key-at-200.png"));
        QCOMPARE(shown.size(), key->size() * 2);
        const QImage twin(QStringLiteral(":/images/images/button_2_off@2x.png"));
        const QImage enlarged = QImage(QStringLiteral(":/images/images/button_2_off.png"))
                                    .scaled(twin.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        // Compared on the key's face, where the picture is opaque (the grab fills in the background).
        const QRect face(8, 6, 136, 70);
        const QRect pixels(face.topLeft() * 2, face.size() * 2);
        const double fromTwin = meanDifference(shown.copy(pixels), twin.copy(pixels));
        const double fromEnlarged = meanDifference(shown.copy(pixels), enlarged.copy(pixels));
        QVERIFY2(fromTwin < 0.25 && fromEnlarged > 0.5,
                 qPrintable(QStringLiteral("twin %1, enlarged %2").arg(fromTwin).arg(fromEnlarged)));

        SplashScreen splash;
        QCOMPARE(splash.pixmap().devicePixelRatio(), 2.0);
    }

private:
    KeypadSimulator m_keypad;
    std::unique_ptr<MainWindow> m_window;
};

int main(int argc, char* argv[]) {
    if (!TestSupport::insideNetworkNamespace()) {
        fprintf(stderr, "SKIPPED: this test opens sockets and runs only inside scripts/netns-run\n");
        return 77;
    }
    // As the program does, before the application object.
    DisplayScaling::prepare();
    QApplication app(argc, argv);
    TestSupport::isolate(QStringLiteral("tst_screens"));
    TestScreens test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_screens.moc"
