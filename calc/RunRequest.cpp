#include "calc/RunRequest.h"

#include <exception>

#include "model/DocumentState.h"
#include "model/ProjectFile.h"

RunOutcome CheckRun(const ProjectRecord& record, const RunRequest& q, RunSettings& settings)
{
    RunOutcome out;
    if (q.segmentSettled) {
        out.segmentLength = q.segmentSetting;
    } else {
        SegmentControl control;
        out.segmentLength = refreshSegmentLength(record, q.segmentSetting, control);
    }
    const MissingInput missing = firstMissingInput(record);
    if (!missing.complete()) {
        out.status = RunStatus::Incomplete;
        out.error = IncompleteProjectText(missing);
        return out;
    }
    settings = RunSettings{};
    settings.segmentLength = out.segmentLength;
    settings.facadeBoxChecked = q.boxesFromProject ? record.facadeReflectionOn == 1 : q.facadeBoxChecked;
    settings.indoorBoxChecked = q.boxesFromProject ? record.indoorLevelOn == 1 : q.indoorBoxChecked;
    settings.trace = q.trace;
    return out;
}

RunOutcome RunProject(ProjectRecord& record, AngleFactors& factors, CalcResults& results, const RunRequest& q)
{
    RunSettings settings;
    RunOutcome out = CheckRun(record, q, settings);
    if (!out.done()) return out;
    const RunMessageSink sink = [&](const RunMessage& m) {
        out.messages.push_back(m.text);
        if (q.message) q.message(m);
    };
    try {
        if (!RunCalculation(record, settings, factors, sink, q.progress, results)) out.status = RunStatus::ScreenCase;
    } catch (const std::exception& e) {
        out.status = RunStatus::Failed;
        out.error = e.what();
    }
    return out;
}

RunOutcome PrepareProjectFile(const std::string& pathUtf8, ProjectRecord& record, const RunRequest& q,
                              RunSettings& settings)
{
    try {
        record = readProject(pathUtf8);
    } catch (const ProjectFileError& e) {
        RunOutcome out;
        out.status = RunStatus::Unreadable;
        out.error = e.what();
        return out;
    }
    return CheckRun(record, q, settings);
}

RunOutcome RunProjectFile(const std::string& pathUtf8, ProjectRecord& record, CalcResults& results,
                          const RunRequest& q)
{
    RunSettings unused;
    RunOutcome out = PrepareProjectFile(pathUtf8, record, q, unused);
    if (!out.done()) return out;
    AngleFactors factors;
    return RunProject(record, factors, results, q);
}

std::string IncompleteProjectText(const MissingInput& m)
{
    if (m.table == MissingInput::Table::Train)
        return "Projektet är ofullständigt: värde saknas i raden \"" + trainRowTitle(m.row) + "\" för tåg " +
               std::to_string(m.column) + ".";
    return "Projektet är ofullständigt: värde saknas i raden \"" + stretchRowTitle(m.row) + "\" för delsträcka " +
           std::to_string(m.column) + ".";
}

std::string NoResultsText() { return "Inget resultat visas eftersom någon delsträcka har felaktig radie."; }

std::string SegmentChangedText(int setting, int used)
{
    return "Segmentlängden " + std::to_string(setting) + " m ändrad till " + std::to_string(used) +
           " m (högst halva det minsta mottagaravståndet).";
}

std::string forTerminal(const std::string& text)
{
    std::string s;
    for (char c : text)
        if (c != '\r') s.push_back(c);
    return s;
}
