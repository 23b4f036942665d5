#include "command_registry.h"

#include "file_error.h"

#include <cstdio>

const Command* CommandRegistry::find(const QString& name) const
{
    for (const Command& command : commands_)
        if (command.name == name) return &command;
    return nullptr;
}

QString CommandRegistry::help() const
{
    QString text = QStringLiteral(
        "Usage: quorvane-cli COMMAND [ARGUMENTS] [--json]\n\n"
        "Quorvane's file jobs without the window. Every command takes --json and then\n"
        "prints one JSON object on standard output.\n\nCommands:\n");
    for (const Command& command : commands_)
        text +=
            QStringLiteral("  %1 %2\n      %3\n").arg(command.name, command.usage, command.summary);
    return text;
}

namespace {

void printError(const QString& message)
{
    std::fprintf(stderr, "quorvane-cli: %s\n", message.toUtf8().constData());
}

} // namespace

int runCommandLine(const CommandRegistry& registry, const QStringList& words)
{
    if (words.isEmpty() || words.first() == u"--help" || words.first() == u"-h" ||
        words.first() == u"help") {
        std::fputs(registry.help().toUtf8().constData(), words.isEmpty() ? stderr : stdout);
        return words.isEmpty() ? 2 : 0;
    }
    const Command* command = registry.find(words.first());
    if (!command) {
        printError(
            QStringLiteral("unknown command \u201C%1\u201D (see --help)").arg(words.first()));
        return 2;
    }
    const QStringList rest = words.mid(1);
    if (rest.contains(QStringLiteral("--help"))) {
        std::printf("Usage: quorvane-cli %s %s\n  %s\n", command->name.toUtf8().constData(),
                    command->usage.toUtf8().constData(), command->summary.toUtf8().constData());
        return 0;
    }
    try {
        return command->run(Arguments::parse(rest, command->spec));
    } catch (const UsageError& error) {
        printError(QStringLiteral("%1 (usage: quorvane-cli %2 %3)")
                       .arg(QString::fromStdString(error.what()), command->name, command->usage));
        return 2;
    } catch (const Cancelled&) {
        printError(QStringLiteral("cancelled"));
        return 130;
    } catch (const FileError& error) {
        printError(error.message());
        return 1;
    }
}
