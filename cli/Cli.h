#pragma once
// The command-line tool: its commands, usable from tests without a process.
#include <iosfwd>

// Exit codes: 0 success, 1 unreadable or invalid file, 2 wrong usage.
int runCli(int argc, char** argv);
int runCli(int argc, char** argv, std::ostream& out, std::ostream& err);
