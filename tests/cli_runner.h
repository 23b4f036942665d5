#pragma once

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <unistd.h>
#include <vector>

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

// How a run with raw arguments is set up besides its arguments.
struct CliSetup {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    QString workingDirectory;
    QString standardOutputFile; // e.g. /dev/full
};

// A run whose arguments are bytes, not text: QProcess would re-encode names
// that aren't UTF-8, so the child calls execve itself.
inline CliRun cliBytes(const QList<QByteArray>& arguments, const CliSetup& setup = {})
{
    QList<QByteArray> words{QByteArray(QUORVANE_CLI_PATH)};
    words += arguments;
    QList<QByteArray> variables;
    for (const QString& entry : setup.environment.toStringList())
        variables.append(entry.toLocal8Bit());
    std::vector<char*> argv, envp;
    for (QByteArray& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    for (QByteArray& variable : variables)
        envp.push_back(variable.data());
    envp.push_back(nullptr);

    QProcess process;
    if (!setup.workingDirectory.isEmpty()) process.setWorkingDirectory(setup.workingDirectory);
    if (!setup.standardOutputFile.isEmpty())
        process.setStandardOutputFile(setup.standardOutputFile);
    process.setChildProcessModifier([&] {
        ::execve(argv[0], argv.data(), envp.data());
        ::_exit(127);
    });
    process.start(QStringLiteral(QUORVANE_CLI_PATH), {});
    process.waitForFinished(120000);
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}
