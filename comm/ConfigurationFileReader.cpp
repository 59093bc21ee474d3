#include "ConfigurationFileReader.h"

#include "CommLog.h"
#include "ConnectionState.h"
#include "KeypadFailure.h"
#include "MSPComm.h"
#include "RestoreSequence.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>

namespace {

// A step waits behind at most one request on its path; both end within their transfer limits, so
// this only guards against an end that never comes.
constexpr int StepGuardMs = 2 * MSPComm::TransferTimeoutMs + 1000;

} // namespace

MSPDocument::ReadResult ConfigurationFileReader::read(QIODevice* device, bool sendToDevice) {
    if (!device)
        return MSPDocument::ReadResult();
    MSPComm* comm = MSPComm::instance();
    comm->setLoadingFile(true);
    MSPDocument::ReadResult result = MSPDocument::read(device, sendToDevice);
    if (sendToDevice && !result.restore.isEmpty()) {
        result.keypadFailure = writeToKeypad(result.restore);
        if (!result.keypadFailure.isEmpty())
            qCWarning(lcComm).noquote() << result.keypadFailure;
    }
    comm->setLoadingFile(false);
    return result;
}

MSPDocument::ReadResult ConfigurationFileReader::readForCurrentConnection(QIODevice* device) {
    return read(device, ConnectionState::instance()->state() == ConnectionState::Connected);
}

QString ConfigurationFileReader::writeToKeypad(RestoreSequence& sequence) {
    MSPComm* comm = MSPComm::instance();
    // The document replaces what still waited for the same scenes and configuration.
    comm->discardWaitingWrites(sequence.paths());

    QElapsedTimer clock;
    clock.start();
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    quint64 step = 0;
    bool finished = false;
    bool delivered = false;
    QString failure;
    const QMetaObject::Connection connection =
        QObject::connect(comm, &MSPComm::requestFinished, &loop, [&](quint64 id, bool ok, const QString& what) {
            if (id != step)
                return;
            finished = true;
            delivered = ok;
            failure = what;
            loop.quit();
        });

    for (;;) {
        qint64 until = -1;
        const RestoreSequence::Action action = sequence.next(clock.elapsed(), &until);
        if (action == RestoreSequence::Action::Finished || action == RestoreSequence::Action::Failed)
            break;
        if (action == RestoreSequence::Action::Wait) {
            timer.start(int(std::max<qint64>(0, until - clock.elapsed())));
            loop.exec();
            continue;
        }
        const RestoreSequence::Step& next = sequence.currentStep();
        finished = false;
        step = comm->sendStep(next.path, next.post, next.body, next.readReply);
        sequence.sent(clock.elapsed());
        if (!step) {
            sequence.failed(clock.elapsed(),
                            QCoreApplication::translate("ConfigurationFileReader", "could not be reached"), true);
            continue;
        }
        timer.start(StepGuardMs);
        while (!finished && timer.isActive())
            loop.exec();
        if (!finished)
            sequence.failed(clock.elapsed(), KeypadFailure::describe(QNetworkReply::TimeoutError, 0, QString(),
                                                                     MSPComm::TransferTimeoutMs));
        else if (delivered)
            sequence.answered(clock.elapsed());
        else
            sequence.failed(clock.elapsed(), failure);
    }
    QObject::disconnect(connection);
    return sequence.hasFailed() ? sequence.failureMessage(comm->address()) : QString();
}
