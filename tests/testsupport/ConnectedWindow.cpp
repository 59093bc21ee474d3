#include "ConnectedWindow.h"

#include "ConnectionState.h"
#include "KeypadSimulator.h"
#include "MSPComm.h"
#include "MainWindow.h"
#include "SystemConfiguration.h"

#include <QTest>

namespace {

// Discovery, the first read and a busy machine together.
constexpr int Generous = 20000;

} // namespace

std::unique_ptr<MainWindow> ConnectedWindow::open(KeypadSimulator& keypad, Wait wait) {
    if (!keypad.start({QStringLiteral("10.77.0.2"), QStringLiteral("Lobby")})) {
        qWarning("the simulated keypad did not start");
        return nullptr;
    }
    auto window = std::make_unique<MainWindow>();
    window->show();
    const bool shown =
        wait == Wait::Active ? QTest::qWaitForWindowActive(window.get()) : QTest::qWaitForWindowExposed(window.get());
    if (!shown) {
        qWarning("the window did not show");
        return nullptr;
    }
    const bool connected = QTest::qWaitFor(
        [] {
            return ConnectionState::instance()->state() == ConnectionState::Connected &&
                   SystemConfiguration::instance()->name() == QLatin1String("Lobby");
        },
        Generous);
    if (!connected || !idle()) {
        qWarning("the window did not connect to the keypad and read it");
        return nullptr;
    }
    return window;
}

bool ConnectedWindow::idle() {
    return QTest::qWaitFor([] { return !MSPComm::instance()->hasOutstandingReplies(); }, Generous);
}
