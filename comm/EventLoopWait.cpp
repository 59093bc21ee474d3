#include "EventLoopWait.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

void EventLoopWait::wait(int msec) {
    QTimer timer;
    timer.setSingleShot(true);
    bool fired = false;
    QObject::connect(&timer, &QTimer::timeout, [&fired] { fired = true; });
    timer.start(msec);
    // Sleeping until the next event instead of spinning keeps a busy machine responsive.
    while (!fired)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}
