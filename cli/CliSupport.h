#pragma once
// Shared pieces of the command-line commands.

#include <string>

#include "cli/Cli.h"
#include "model/ProjectRecord.h"

// Reads a project as the program opens it; on failure prints the Swedish message to err,
// sets exitCode to kExitBadFile and returns false.
bool readOrReport(const std::string& path, ProjectRecord& r, CliStreams& io, int& exitCode);
// Writes a project; returns the exit code (messages to err).
int writeOrReport(const std::string& path, const ProjectRecord& r, CliStreams& io);
// The message for a project that cannot be calculated yet: the first missing value.
std::string incompleteProjectText(const MissingInput& m);
