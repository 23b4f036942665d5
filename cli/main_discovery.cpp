#include "command_registry.h"

// Every command, the index and media ones included: quorvane-cli hands those on to this program.
int main(int argc, char** argv)
{
    return runProgram(argc, argv,
                      [](CommandRegistry& registry) { registerDiscoveryCommands(registry); });
}
