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

std::string incompleteProjectText(const MissingInput& m)
{
    if (m.table == MissingInput::Table::Train)
        return "Projektet är ofullständigt: värde saknas i raden \"" + trainRowTitle(m.row) + "\" för tåg " +
               std::to_string(m.column) + ".";
    return "Projektet är ofullständigt: värde saknas i raden \"" + stretchRowTitle(m.row) + "\" för delsträcka " +
           std::to_string(m.column) + ".";
}
