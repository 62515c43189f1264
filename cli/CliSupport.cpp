#include "cli/CliSupport.h"

#include <ostream>

#include "model/ProjectFile.h"

bool readOrReport(const std::string& path, ProjectRecord& r, CliStreams& io, int& exitCode)
{
    try {
        r = readProject(path);
        return true;
    } catch (const ProjectFileError& e) {
        io.err << e.what() << "\n";
        exitCode = kExitBadFile;
        return false;
    }
}

int writeOrReport(const std::string& path, const ProjectRecord& r, CliStreams& io)
{
    try {
        writeProject(path, r);
        return kExitOk;
    } catch (const ProjectFileError& e) {
        io.err << "Kan inte skriva " << e.what() << "\n";
        return kExitBadFile;
    }
}

RunRequest fileRunRequest(int segmentSetting)
{
    RunRequest q;
    q.segmentSetting = segmentSetting;
    q.trace.decimalSeparator = '.';
    return q;
}

bool reportOutcome(const RunOutcome& out, CliStreams& io, int& exitCode)
{
    for (const std::string& m : out.messages) io.err << forTerminal(m) << "\n";
    if (out.done()) return true;
    if (!out.error.empty()) io.err << forTerminal(out.error) << "\n";
    exitCode = out.status == RunStatus::Incomplete ? kExitUsage : kExitBadFile;
    return false;
}
