#include "command_registry.h"
#include "interrupt.h"
#include "native_path.h"

#include <QCoreApplication>

// Every command, the index and media ones included: quorvane-cli hands those on to this program.
int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Quorvane"));
    QCoreApplication::setApplicationName(QStringLiteral("Quorvane"));
    Interrupt::install();

    CommandRegistry registry;
    registerFileCommands(registry);
    registerAnalysisCommands(registry);
    registerTransferCommands(registry);
    registerDiscoveryCommands(registry);
    // From argv itself: QCoreApplication::arguments() would lose bytes that aren't UTF-8.
    QStringList words;
    for (int i = 1; i < argc; ++i)
        words.append(decodePath(argv[i]));
    return runCommandLine(registry, words);
}
