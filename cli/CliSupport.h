#pragma once
// Shared pieces of the command-line commands.

#include <string>

#include "calc/RunRequest.h"
#include "cli/Cli.h"
#include "model/ProjectRecord.h"

// Reads a project as the program opens it; on failure prints the Swedish message to err,
// sets exitCode to kExitBadFile and returns false.
bool readOrReport(const std::string& path, ProjectRecord& r, CliStreams& io, int& exitCode);
// Writes a project; returns the exit code (messages to err).
int writeOrReport(const std::string& path, const ProjectRecord& r, CliStreams& io);

// The request of a command that calculates a file: "Beräkning" right after opening it, with
// the "Segment" setting given.
RunRequest fileRunRequest(int segmentSetting);
// Prints what the run path said to err: the run's messages, then the message that stopped it.
// A stopped run sets exitCode (an incomplete project is a usage error, the rest a bad file)
// and returns false.
bool reportOutcome(const RunOutcome& out, CliStreams& io, int& exitCode);
