#pragma once

#include <QByteArray>
#include <QProcess>
#include <QStringList>

// One run of the command-line tool built with the tests.
struct CliRun {
    int status = -1;
    QByteArray out;
    QByteArray err;
};

inline CliRun cli(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral(QUORVANE_CLI_PATH), arguments);
    process.waitForFinished(120000);
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}
