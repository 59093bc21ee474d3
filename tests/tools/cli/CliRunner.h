#pragma once

#include "TestEnvironment.h"

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
};

inline Run run(const QStringList& arguments, const QString& home, int limitMs = 60000) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/config"));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/data"));
    process.setProcessEnvironment(environment);
    process.start(TestSupport::binDir() + QStringLiteral("/lumetto-keypad-cli"), arguments);
    if (!process.waitForStarted() ||
        !QTest::qWaitFor([&process] { return process.state() == QProcess::NotRunning; }, limitMs))
        return {};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2,
            QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
}

} // namespace CliRunner
