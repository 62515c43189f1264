#pragma once
// The calculation run: from the project record to the results. No user interface: messages
// and progress go to callbacks, the results into a CalcResults that the caller keeps.

#include <functional>
#include <string>

#include "calc/Profile.h"
#include "calc/Results.h"
#include "model/ProjectRecord.h"

struct TraceSettings {
    bool equivalent = false;     // write the five "_ekvivalent…" files
    bool maximum = false;        // write the five "_maximal…" files
    std::string folder;          // where the files go (UTF-8); "" = the current folder
    char decimalSeparator = '.'; // the GUI passes the locale's, the command-line tool "."
};

struct RunSettings {
    int segmentLength = 1;
    bool facadeBoxChecked = false;  // "Korrektion för fasadreflexer"
    bool indoorBoxChecked = false;  // "Innenivå"
    TraceSettings trace;
};

// A message of the run, to be shown in a box with an OK button (after a beep when set).
struct RunMessage {
    std::string text;  // UTF-8 with CR LF line breaks
    bool beep = false;
};
using RunMessageSink = std::function<void(const RunMessage&)>;
// Progress in per cent, 0..100.
using RunProgress = std::function<void(int percent)>;

// Facade-reflection correction in dB for the distance d to the facade: 3 dB from 0.5 to 2 m,
// then 3 - 3d/20 (2.7 dB just above 2 m, a step, falling linearly to 0 at 20 m), 0 outside
// 0.5..20 m.
double FacadeReflectionCorrection(double d);

// The stored stretch level: Leq to 0.1 dB (halves to even), never negative.
float RoundedStretchLevel(double Leq);
// The free-field total in whole decibels (halves to even), never negative.
float RoundedTotalLevel(double total);

// Runs the calculation. Returns false when it is refused because a cross-section in use should
// be calculated as a screen case (FirstScreenCaseStretch): the warning goes to `message`,
// nothing changes. Otherwise the results replace those in `results`, and the record gets the
// screen-effect fields of the stretches with a screen and, when the facade box is not
// checked, facadeDistance 0.
//
// A failure (a trace file that cannot be written, a number outside the range the method can
// round) throws; then neither `results`, the record nor `factors` are changed and the trace
// files are closed. The exception's what() is a Swedish message.
bool RunCalculation(ProjectRecord& record, const RunSettings& settings, AngleFactors& factors,
                    const RunMessageSink& message, const RunProgress& progress, CalcResults& results);
