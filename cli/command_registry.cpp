#include "command_registry.h"

#include "file_error.h"
#include "interrupt.h"
#include "native_path.h"
#include "output_stream.h"
#include "terminal_text.h"

#include <QCoreApplication>
#include <cerrno>
#include <cstdio>
#include <cstring>

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
        "prints one JSON object on standard output.\n\n"
        "Names are printed as they are, except that control characters, bytes that\n"
        "aren\u2019t UTF-8 and backslashes are escaped as ls -b does (\\n, \\377, \\\\).\n"
        "In JSON, bytes that aren\u2019t UTF-8 read as U+FFFD in paths and names. Beside\n"
        "such a path the object also has the path\u2019s exact bytes percent-encoded\n"
        "(RFC 3986, \"/\" kept), as in a file URL, under its key with \"native\" before\n"
        "it: \"nativePath\", \"nativeSource\", \"nativeTo\" and so on. trash adds a\n"
        "list \"nativeTrashed\" beside \"trashed\", null where a path is UTF-8;\n"
        "duplicates adds \"nativeSameFileAs\", with both sides percent-encoded.\n\nCommands:\n");
    for (const Command& command : commands_)
        text +=
            QStringLiteral("  %1 %2\n      %3\n").arg(command.name, command.usage, command.summary);
    return text;
}

namespace {

void printError(const QString& message)
{
    std::fprintf(stderr, "quorvane-cli: %s\n", terminalText(message).constData());
}

int dispatch(const CommandRegistry& registry, const QStringList& words);

} // namespace

int runCommandLine(const CommandRegistry& registry, const QStringList& words)
{
    const int status = dispatch(registry, words);
    // Output that couldn't be written (a full disk, a closed pipe) is a failure.
    int failure = std::fflush(stdout) == 0 ? OutputStream::failure() : errno;
    if (failure == 0 && std::ferror(stdout)) failure = EIO;
    if (failure == 0) return status;
    printError(QStringLiteral("couldn\u2019t write the output: %1")
                   .arg(QString::fromLocal8Bit(std::strerror(failure))));
    return status == 0 ? 1 : status;
}

namespace {

int dispatch(const CommandRegistry& registry, const QStringList& words)
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

} // namespace

int runProgram(int argc, char** argv,
               const std::function<void(CommandRegistry&)>& registerDiscovery)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Quorvane"));
    QCoreApplication::setApplicationName(QStringLiteral("Quorvane"));
    Interrupt::install();

    CommandRegistry registry;
    registerFileCommands(registry);
    registerAnalysisCommands(registry);
    registerTransferCommands(registry);
    registerDiscovery(registry);
    // From argv itself: QCoreApplication::arguments() would lose bytes that aren't UTF-8.
    QStringList words;
    for (int i = 1; i < argc; ++i)
        words.append(decodePath(argv[i]));
    return runCommandLine(registry, words);
}
