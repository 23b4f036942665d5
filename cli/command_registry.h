#pragma once

#include "arguments.h"

#include <QString>
#include <functional>
#include <vector>

// One subcommand of quorvane-cli.
struct Command {
    QString name;
    QString usage;   // arguments after the name, e.g. "DIR [--hidden]"
    QString summary; // one line for --help
    ArgumentSpec spec;
    std::function<int(const Arguments&)> run;
};

class CommandRegistry {
public:
    void add(Command command) { commands_.push_back(std::move(command)); }
    const Command* find(const QString& name) const;
    const std::vector<Command>& commands() const { return commands_; }
    QString help() const;

private:
    std::vector<Command> commands_;
};

// Each group of commands registers itself here.
void registerFileCommands(CommandRegistry& registry);
void registerAnalysisCommands(CommandRegistry& registry);
void registerTransferCommands(CommandRegistry& registry);
void registerDiscoveryCommands(CommandRegistry& registry);
// The same commands, run by `run(name, arguments)`: for a program that hands them on.
using DiscoveryRunner = std::function<int(const QString& name, const Arguments&)>;
void registerDiscoveryCommands(CommandRegistry& registry, const DiscoveryRunner& run);

// Parses and runs one command line; returns the exit status. Output goes to
// stdout, errors to stderr as "quorvane-cli: MESSAGE".
int runCommandLine(const CommandRegistry& registry, const QStringList& arguments);
// A whole program: the application object, Ctrl-C, every command group with
// the index and media commands from `registerDiscovery`, then the command
// line read from argv's own bytes.
int runProgram(int argc, char** argv,
               const std::function<void(CommandRegistry&)>& registerDiscovery);
