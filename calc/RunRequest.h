#pragma once
// The one way from a project file or the open project to checked, calculated results, used by
// the window's "Beräkning" and by every command-line command that calculates: reading, the
// completeness check, the segment-length rule, the run settings, the run with its refusal of a
// cross-section that should be a screen case, and the texts of every message on the way.

#include <string>
#include <vector>

#include "calc/Profile.h"
#include "calc/Results.h"
#include "calc/Run.h"
#include "model/ProjectRecord.h"

struct RunRequest {
    // The "Segment" setting; the length used is the setting after the segment-length rule
    // (as the control has it after opening the project at program start). The window's control
    // has applied the rule at every edit already: it passes its value with `segmentSettled`.
    int segmentSetting = 1;
    bool segmentSettled = false;
    // "Korrektion för fasadreflexer" and "Innenivå". The window passes its boxes; a project file
    // just opened has them as the project stores them (`boxesFromProject`).
    bool boxesFromProject = true;
    bool facadeBoxChecked = false;
    bool indoorBoxChecked = false;
    TraceSettings trace;
    RunMessageSink message;  // each message of the run as it comes (may be empty)
    RunProgress progress;    // may throw to stop the run; the exception passes through
};

enum class RunStatus {
    Done,        // calculated; when results.RadiusError is set there is nothing to show
    Unreadable,  // the file could not be read
    Incomplete,  // a value is missing (firstMissingInput)
    ScreenCase,  // refused: a cross-section should be calculated as a screen case
    Failed,      // the run stopped on an error; nothing changed
};

struct RunOutcome {
    RunStatus status = RunStatus::Done;
    std::string error;                  // the message of Unreadable, Incomplete and Failed (UTF-8)
    int segmentLength = 1;              // the length the run used (or would have used)
    std::vector<std::string> messages;  // the run's messages in order, as handed to the sink
    bool done() const { return status == RunStatus::Done; }
};

// The checks before a run: completeness, then the segment length and the run settings.
RunOutcome CheckRun(const ProjectRecord& record, const RunRequest& q, RunSettings& settings);

// Checks and calculates the open project. The record, the angle factors and the results
// change as RunCalculation changes them, and only when the status is Done.
RunOutcome RunProject(ProjectRecord& record, AngleFactors& factors, CalcResults& results, const RunRequest& q);

// Reads the file as the program opens it; CheckRun with the read record when that succeeds.
RunOutcome PrepareProjectFile(const std::string& pathUtf8, ProjectRecord& record, const RunRequest& q,
                              RunSettings& settings);

// Reads the file and calculates it as "Beräkning" right after opening it would.
RunOutcome RunProjectFile(const std::string& pathUtf8, ProjectRecord& record, CalcResults& results,
                          const RunRequest& q);

// The message of a project that cannot be calculated yet: its first missing value.
std::string IncompleteProjectText(const MissingInput& m);
// After a radius error a run shows no results.
std::string NoResultsText();
// The segment length setting that the rule changed.
std::string SegmentChangedText(int setting, int used);

// A message as a terminal shows it: without carriage returns.
std::string forTerminal(const std::string& text);
