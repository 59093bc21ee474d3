#include "ColorListPicker2.h"
#include "ColorSelectorWidget.h"
#include "ColorViewWidget.h"
#include "ConnectedWindow.h"
#include "ConnectionState.h"
#include "KeypadSimulator.h"
#include "MSPControlPanelWidget.h"
#include "MSPEffect.h"
#include "MSPEffectWidget.h"
#include "MSPSceneSettingsWidget.h"
#include "MainWindow.h"
#include "RecentColorsWidget.h"
#include "SystemConfiguration.h"
#include "TestEnvironment.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <memory>

namespace {

constexpr int Generous = 20000;

// What a user works with: buttons, sliders, fields, lists, and the picker's drawn controls. Scroll bars
// and splitter handles are the mouse's; the parts inside a spin box or a combo box are the box's.
bool interactive(const QWidget* widget) {
    const QWidget* parent = widget->parentWidget();
    if (qobject_cast<const QScrollBar*>(widget) || qobject_cast<const QAbstractSpinBox*>(parent) ||
        qobject_cast<const QComboBox*>(parent) || qobject_cast<const QTabBar*>(parent) ||
        qobject_cast<const QAbstractItemView*>(parent))
        return false;
    return qobject_cast<const QAbstractButton*>(widget) || qobject_cast<const QAbstractSlider*>(widget) ||
           qobject_cast<const QAbstractSpinBox*>(widget) || qobject_cast<const QComboBox*>(widget) ||
           qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QAbstractItemView*>(widget) ||
           qobject_cast<const QTabBar*>(widget) ||
           qobject_cast<const ZelColorPickerLib::ColorSelectorWidget*>(widget) ||
           qobject_cast<const ZelColorPickerLib::ColorViewWidget*>(widget) ||
           qobject_cast<const ZelColorPickerLib::RecentColorsWidget*>(widget) ||
           qobject_cast<const ColorListPicker2*>(widget);
}

using TestSupport::describe;

QString accessibleName(QWidget* widget) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
    return face ? face->text(QAccessible::Name) : QString();
}

// Radio buttons of one exclusive group are one Tab stop: Tab reaches the group, arrows move within.
const QWidget* tabStopOf(const QWidget* widget) {
    const auto* button = qobject_cast<const QAbstractButton*>(widget);
    if (!button || !button->isCheckable())
        return widget;
    if (button->group() && button->group()->exclusive())
        return button->group()->buttons().value(0);
    if (button->autoExclusive() && qobject_cast<const QRadioButton*>(button)) {
        for (QRadioButton* sibling :
             button->parentWidget()->findChildren<QRadioButton*>(QString(), Qt::FindDirectChildrenOnly)) {
            if (sibling->autoExclusive())
                return sibling;
        }
    }
    return widget;
}

} // namespace

// The editor without a mouse and with a screen reader, against a simulated keypad: every control of
// every tab is reached with Tab and has a name, and a scene chosen from the keyboard plays on the keypad.
class TestKeyboardAccess : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        Q_INIT_RESOURCE(app_resources);
        m_window = ConnectedWindow::open(m_keypad, ConnectedWindow::Wait::Active);
        QVERIFY(m_window);
    }

    void cleanupTestCase() {
        m_window.reset();
        m_keypad.stop();
    }

    // From wherever the focus is, Tab leads to the scene keys; Space, Enter and Alt with a number play a
    // scene on the keypad.
    void sceneChosenFromTheKeyboardPlaysOnTheKeypad() {
        tabs()->setCurrentIndex(1);
        QVERIFY(tabTo(QStringLiteral("scene3Button")));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QTRY_COMPARE_WITH_TIMEOUT(m_keypad.activeScene(), 3, Generous);
        QTRY_VERIFY_WITH_TIMEOUT(panelKey(3)->isChecked(), Generous);

        QVERIFY(tabTo(QStringLiteral("scene5Button")));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        tabs()->setCurrentIndex(0);
        // At once, while scene 5 is still down from Enter: the key pressed last is the scene played.
        QTest::keyClick(m_window.get(), Qt::Key_7, Qt::AltModifier);
        QTRY_COMPARE_WITH_TIMEOUT(m_keypad.activeScene(), 7, Generous);
        QTRY_COMPARE_WITH_TIMEOUT(m_window->findChild<QLabel*>(QStringLiteral("sceneNumberLabel"))->text(),
                                  QStringLiteral("Scene: 7"), Generous);
        QVERIFY(ConnectedWindow::idle());
    }

    void everyControlOfEveryTabIsReachedWithTab_data() {
        QTest::addColumn<int>("tab");
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("whites");
        for (int kind = 0; kind < MSPEffect::typeCount; ++kind)
            QTest::addRow("scene settings, %s", qPrintable(MSPEffect::nameForType(kind))) << 0 << kind << false;
        QTest::addRow("scene settings, Fixed Color, whites") << 0 << int(MSPEffect::FixedColor) << true;
        QTest::addRow("scene settings, Custom Wash, whites") << 0 << int(MSPEffect::CustomWash) << true;
        QTest::addRow("system configuration") << 1 << -1 << false;
        QTest::addRow("network") << 2 << -1 << false;
    }

    void everyControlOfEveryTabIsReachedWithTab() {
        QFETCH(int, tab);
        QFETCH(int, kind);
        QFETCH(bool, whites);
        tabs()->setCurrentIndex(tab);
        if (kind >= 0) {
            auto* settings = m_window->findChild<MSPSceneSettingsWidget*>();
            settings->findChild<QComboBox*>(QStringLiteral("effectsComboBox"))->setCurrentIndex(kind);
            QVERIFY(ConnectedWindow::idle());
            // The picker's white page, or its RGB page, as the picker buttons choose.
            const QString page =
                whites ? QStringLiteral("showWhitePickerButton") : QStringLiteral("showRgbPickerButton");
            for (QAbstractButton* button : settings->editor(kind)->findChildren<QAbstractButton*>(page)) {
                if (button->isVisible() && !button->isChecked())
                    QTest::mouseClick(button, Qt::LeftButton);
            }
        }
        QTest::qWait(50);

        QSet<const QWidget*> reached;
        QWidget* start = QApplication::focusWidget();
        for (int press = 0; press < 400; ++press) {
            QWidget* focus = QApplication::focusWidget();
            QVERIFY(focus);
            reached.insert(tabStopOf(focus));
            QTest::keyClick(focus, Qt::Key_Tab);
            if (QApplication::focusWidget() == start)
                break;
        }
        // The tab's controls and the keypad's keys (the docks' title buttons belong to the window's frame).
        QList<QWidget*> controls = tabs()->currentWidget()->findChildren<QWidget*>();
        controls += m_window->findChild<MSPControlPanelWidget*>()->findChildren<QWidget*>();
        QStringList missed;
        for (QWidget* widget : qAsConst(controls)) {
            if (!interactive(widget) || !widget->isVisible() || !widget->isEnabled())
                continue;
            const QWidget* stop = widget->focusProxy() ? widget->focusProxy() : widget;
            if (!reached.contains(tabStopOf(stop)))
                missed << describe(widget);
        }
        for (const QString& widget : qAsConst(missed))
            qWarning("not reached with Tab: %s", qPrintable(widget));
        QVERIFY2(missed.isEmpty(), qPrintable(QStringLiteral("%1 controls not reached").arg(missed.size())));
    }

    // Also the controls of the tabs and pages not showing.
    void everyInteractiveWidgetHasAName() {
        QStringList nameless;
        for (QWidget* widget : m_window->findChildren<QWidget*>()) {
            // Qt's own parts of its widgets (the menu bar's overflow button) are Qt's to name.
            if (!interactive(widget) || widget->window() != m_window.get() ||
                widget->objectName().startsWith(QLatin1String("qt_")))
                continue;
            if (accessibleName(widget).trimmed().isEmpty())
                nameless << describe(widget);
        }
        for (const QString& widget : qAsConst(nameless))
            qWarning("no name: %s", qPrintable(widget));
        QVERIFY2(nameless.isEmpty(), qPrintable(QStringLiteral("%1 controls without a name").arg(nameless.size())));
    }

private:
    QTabWidget* tabs() const { return m_window->findChild<QTabWidget*>(QStringLiteral("tabWidget")); }
    QRadioButton* panelKey(int number) const {
        return m_window->findChild<QRadioButton*>(QStringLiteral("scene%1Button").arg(number));
    }

    // Presses Tab until the widget of that name has the focus, as a user would.
    bool tabTo(const QString& name) {
        for (int press = 0; press < 400; ++press) {
            QWidget* focus = QApplication::focusWidget();
            if (!focus)
                return false;
            if (focus->objectName() == name)
                return true;
            QTest::keyClick(focus, Qt::Key_Tab);
        }
        return false;
    }

    KeypadSimulator m_keypad;
    std::unique_ptr<MainWindow> m_window;
};

LUMETTO_NETWORK_TEST_MAIN(TestKeyboardAccess, "tst_keyboardaccess", QApplication)
#include "tst_keyboardaccess.moc"
