#pragma once
// The command-line tool. Each command lives in its own source file and registers itself
// with CliCommand, so areas can add commands without touching each other.

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

namespace CLI {
class App;
}

// Exit codes: 0 success, 1 unreadable or invalid file, 2 wrong usage.
enum CliExit { kExitOk = 0, kExitBadFile = 1, kExitUsage = 2 };

struct CliStreams {
    std::ostream& out;
    std::ostream& err;
};

// A command adds its subcommand to the app. The callback it installs must store its exit
// code in `exitCode`.
struct CliCommand {
    using Setup = std::function<void(CLI::App& app, CliStreams& io, int& exitCode)>;
    CliCommand(int order, Setup setup);
    static std::vector<std::pair<int, Setup>>& all();
};

int runCli(int argc, char** argv);
int runCli(int argc, char** argv, std::ostream& out, std::ostream& err);
// Convenience for tests: runs with the given arguments (without the program name).
int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
