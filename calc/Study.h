#pragma once
// Height studies: the complete calculation run once per height on a modified copy of the
// record, the heights shared out over a small pool of threads.
//
//  - floor study: receiverHeight of every stretch in use := h (the levels on each floor);
//  - screen study: screenCrestHeight := h for one stretch with a screen, or for every stretch
//    with a screen.
//
// Every row is exactly a plain run of its modified record: the same run settings, the same
// starting angle factors, fresh results. Each thread works on its own copies; the rows do
// not depend on the number of threads or on the order in which the heights finish.

#include <functional>
#include <string>
#include <vector>

#include "calc/Profile.h"
#include "calc/Results.h"
#include "calc/Run.h"
#include "model/ProjectRecord.h"

enum class StudyKind { Floors, Screen };

constexpr int kMaxStudyHeights = 200;
constexpr double kMaxStudyHeight = 1000.0;  // metres; heights run 0..1000

struct StudyRequest {
    StudyKind kind = StudyKind::Floors;
    std::vector<double> heights;  // metres, in the order the rows are wanted
    int stretch = 0;              // screen study: the stretch, or 0 for every stretch with a screen
};

struct StudyRow {
    double height = 0.0;
    // False when the run refused to start (a cross-section that must be calculated as a
    // screen case): the row has its message and no numbers.
    bool ran = false;
    CalcResults results;
    // The modified record as the run left it (screen effects, facade distance).
    ProjectRecord record;
    // The run's messages in order (UTF-8, CR LF line breaks).
    std::vector<std::string> messages;

    // True when the row has numbers to show: it ran and no stretch had an invalid radius.
    bool hasLevels() const { return ran && !results.RadiusError; }
};

struct StudyOutcome {
    bool cancelled = false;     // "Avbryt": no rows at all
    std::vector<StudyRow> rows; // one per height, in the order of the request
};

struct StudyHooks {
    // Called on the calling thread: at the start (0 done), after every finished height and
    // every few hundredths of a second while the heights run.
    std::function<void(int done, int total)> progress;
    // Polled at the same moments; true stops the study. The heights that run stop at their
    // next progress step and the outcome has no rows.
    std::function<bool()> cancelRequested;
};

// Why the request cannot run on this record (Swedish), or "" when it can: a stretch that does
// not exist or has no screen, a study of every screen without any screen, a height list that
// is empty, too long or outside 0..1000 m.
std::string StudyRefusal(const ProjectRecord& r, const StudyRequest& req);

// The record of one row: a copy of r with the study's height written in.
ProjectRecord StudyRecord(const ProjectRecord& r, const StudyRequest& req, double height);

// Runs the study with `threads` threads (0: one per core; never more than heights). Trace
// files are never written by a study (the settings' trace switches are ignored). Throws
// std::invalid_argument with StudyRefusal's text for a request that cannot run, and passes
// on a failure of a run (what() is Swedish) after all threads have stopped.
StudyOutcome RunStudy(const ProjectRecord& r, const RunSettings& settings, const AngleFactors& factors,
                      const StudyRequest& req, int threads = 0, const StudyHooks& hooks = {});

// Height lists as the user writes them: "1.5,4.5,7.5" or "FROM:STEP:TO" ("1.5:3:10.5"; in
// this form a decimal comma is accepted too). Returns "" and fills `out`, or a Swedish
// message and leaves `out` empty.
std::string ParseHeightList(const std::string& text, std::vector<double>& out);
// The heights from, from + step, ... up to and including `to` (within a millionth of a step),
// rounded to micrometres. Returns "" or a Swedish message (step not positive, from above to,
// more than kMaxStudyHeights heights, heights outside 0..1000 m).
std::string HeightRange(double from, double step, double to, std::vector<double>& out);
