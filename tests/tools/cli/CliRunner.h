#pragma once

#include "TestEnvironment.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <QtTest>

// Runs lumetto-keypad-cli while the test's event loop keeps turning, so keypads the test serves
// itself answer meanwhile. Its settings live under home: the user's own stay out of reach.
namespace CliRunner {

struct Run {
    // -1 when the tool hung and was killed, -2 when it crashed.
    int exitCode = -1;
    QString out;
    QString err;
    qint64 peakKiB = 0; // the largest resident size seen while it ran
    qint64 ms = 0;
};

// A process's resident high-water mark, 0 once it is gone.
inline qint64 peakResidentKiB(qint64 pid) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return 0;
}

inline Run run(const QStringList& arguments, const QString& home, int limitMs = 60000) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/config"));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/data"));
    process.setProcessEnvironment(environment);
    QElapsedTimer clock;
    clock.start();
    process.start(TestSupport::binDir() + QStringLiteral("/lumetto-keypad-cli"), arguments);
    qint64 peak = 0;
    const auto ended = [&] {
        peak = qMax(peak, peakResidentKiB(process.processId()));
        return process.state() == QProcess::NotRunning;
    };
    if (!process.waitForStarted() || !QTest::qWaitFor(ended, limitMs))
        return {};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2,
            QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError()), peak,
            clock.elapsed()};
}

} // namespace CliRunner
