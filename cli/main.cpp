#include "command_registry.h"
#include "interrupt.h"

#include <QCoreApplication>

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
    return runCommandLine(registry, QCoreApplication::arguments().mid(1));
}
