#include "calc/Run.h"

#include <memory>

#include "calc/Bands.h"
#include "calc/CrossSectionCheck.h"
#include "calc/Format.h"
#include "calc/MaxLevel.h"
#include "calc/StretchLevel.h"
#include "calc/TraceFiles.h"
#include "calc/TrainTypes.h"

double FacadeReflectionCorrection(double d)
{
    if (d >= 0.5 && d <= 2.0) return 3.0;
    if (d > 2.0 && d <= 20.0) return 3.0 - 3.0 * d / 20.0;
    return 0.0;
}

namespace {
double ClampToZero(double x) { return x >= 0.0 ? x : 0.0; }
}  // namespace

float RoundedStretchLevel(double Leq) { return static_cast<float>(ClampToZero(RoundEven(10.0 * Leq) / 10.0)); }

float RoundedTotalLevel(double total) { return static_cast<float>(ClampToZero(RoundEven(total))); }

namespace {
// Everything one run works on. The run fills copies of the record, the angle factors and the
// results and hands them back only when it completes, so a run that fails publishes nothing.
struct Run {
    ProjectRecord& r;
    const RunSettings& settings;
    AngleFactors& factors;
    const RunMessageSink& message;
    const RunProgress& progress;
    CalcResults& res;
    int nTracks = 1;
};

void setProgress(const Run& run, int percent)
{
    if (run.progress) run.progress(percent);
}

void traceStretchHeading(TraceSink& t, const ProjectRecord& r, int s, double facadeCorrection)
{
    const char sep = t.decimalSeparator();
    auto G = [sep](double x) { return formatGeneral(x, 15, sep); };
    const std::string head = "***** STRÄCKA " + formatInt(s) + " *****";
    t.line(TraceFile::Main, head);
    for (auto f : {TraceFile::Ld, TraceFile::La, TraceFile::Ls, TraceFile::Lg}) {
        t.line(f, head);
        t.line(f, "");
    }
    static const char* const shapes[] = {"Sträckform: Rak", "Sträckform: Konvex", "Sträckform: Konkav"};
    const int shape = r.shape[s];
    t.line(TraceFile::Main, shape >= 0 && shape <= 2 ? shapes[shape] : "Sträckform: " + formatInt(shape));
    t.line(TraceFile::Main, "Vinkelområde: " + formatInt(r.angleFrom[s]) + "-" + formatInt(r.angleTo[s]));
    t.line(TraceFile::Main, "Vinkelrätt mottagaravstånd: " + G(r.perpDistance[s]));
    t.line(TraceFile::Main, "Mottagaravstånd startpunkt: " + G(r.startDistance[s]));
    t.line(TraceFile::Main, "Mottagaravstånd slutpunkt: " + G(r.endDistance[s]));
    t.line(TraceFile::Main, "Radie: " + G(r.radius[s]));
    t.line(TraceFile::Main, "Marktyp källdel: " + G(r.groundSource[s]));
    t.line(TraceFile::Main, "Marktyp mottagardel: " + G(r.groundReceiver[s]));
    t.line(TraceFile::Main, "Marktyp mellandel: " + G(r.groundMiddle[s]));
    static const char* const banks[] = {"Bankorrektion: Nej", "Bankorrektion: Räl med skarv (3dB)",
                                        "Bankorrektion: Bro utan ballast (6dB)",
                                        "Bankorrektion: Bro med ballast (3dB)"};
    const int bank = r.bankCorrection[s];
    t.line(TraceFile::Main, banks[bank >= 0 && bank <= 3 ? bank : 0]);
    t.line(TraceFile::Main, "Fasadreflektion: " + G(facadeCorrection));
    t.line(TraceFile::Main, "");
}

void traceTrainHeading(TraceSink& t, const ProjectRecord& r, int tr)
{
    t.line(TraceFile::Main, "***** TÅG " + formatInt(tr) + " *****");
    t.line(TraceFile::Main, "Total tåglängd: " + formatInt(r.trainLengthPerDay[tr]));
    t.line(TraceFile::Main, "Tågets längd: " + formatInt(r.maxTrainLength[tr]));
    t.line(TraceFile::Main, "Hastighet: " + formatInt(r.speed[tr]));
    t.line(TraceFile::Main, "TågTyp: " + trainTypeName(r, tr));
}

// The effective screen heights of stretch s for both calculation lines.
void storeScreenEffects(ProjectRecord& r, int s, AngleFactors& factors)
{
    double low = 0.0, high = 0.0;
    ComputeAngleFactors(r, s, factors);
    EffectiveScreenHeights(r, s, factors.EqFactor, low, high);
    r.screenEffectEqA[s] = static_cast<float>(low);
    r.screenEffectEqB[s] = static_cast<float>(high);
    EffectiveScreenHeights(r, s, factors.MaxFactor, low, high);
    r.screenEffectMaxA[s] = static_cast<float>(low);
    r.screenEffectMaxB[s] = static_cast<float>(high);
}

// The equivalent part of the run: facade correction, screen effects, stretch, track and
// total equivalent levels, with the equivalent trace.
void runEquivalentPart(Run& run)
{
    ProjectRecord& r = run.r;
    CalcResults& res = run.res;

    std::unique_ptr<TraceFiles> trace;
    if (run.settings.trace.equivalent)
        trace = std::make_unique<TraceFiles>(run.settings.trace.folder, TracePass::Equivalent,
                                             run.settings.trace.decimalSeparator);

    double Total = 0.0;
    res.FacadeCorrection = FacadeReflectionCorrection(r.facadeDistance);

    const int nStretches = std::clamp(r.stretchCount, 1, kMaxStretches);
    run.nTracks = std::clamp(r.track[nStretches], 1, kMaxTracks);
    for (int k = 1; k <= run.nTracks; ++k) res.TrackEqLevel[k] = 0.0;

    StretchLevelContext ctx;
    ctx.segmentLength = run.settings.segmentLength;
    ctx.FacadeCorrection = res.FacadeCorrection;
    ctx.trace = trace.get();
    ctx.message = [&run](const std::string& text) {
        if (run.message) run.message(RunMessage{text, false});
    };

    for (int s = 1; s <= nStretches; ++s) {
        if (r.screenType[s] > 0) storeScreenEffects(r, s, run.factors);
        if (trace) traceStretchHeading(*trace, r, s, res.FacadeCorrection);

        const double dLc = BankCorrection(r, s);
        if (!run.settings.facadeBoxChecked) r.facadeDistance = 0.0f;
        if (trace)
            for (int t = 1; t <= r.trainCount; ++t) traceTrainHeading(*trace, r, t);
        const Array1<double, 7> BandEmission = StretchBandEmission(r, s);

        const double Leq = StretchEquivalentLevel(r, s, BandEmission, dLc, ctx, res).Leq;

        setProgress(run, RoundEven(50.0 * s / nStretches));

        Total = AddLevel(Total, Leq);
        if (trace) trace->line(TraceFile::Main, "Totalt: " + formatGeneral(Total, 15, trace->decimalSeparator()));
        res.StretchEqLevel[s] = RoundedStretchLevel(Leq);
        const int k = r.track[s];
        if (k >= 1 && k <= kMaxTracks) res.TrackEqLevel[k] = ClampToZero(AddLevel(res.TrackEqLevel[k], Leq));
    }

    if (trace) trace->close();

    res.FreeFieldEq = RoundedTotalLevel(Total);
    res.ResultGrid[1][1] = res.FreeFieldEq;
}
void correctedRows(Run& run);

// The maximum-level part and the result grid: the maximum-level run with its own trace,
// the maxima of row 1, the withdrawal of the stretch levels after a radius error, and the
// corrected rows from the two check boxes.
void runMaximumPart(Run& run)
{
    ProjectRecord& r = run.r;
    CalcResults& res = run.res;

    setProgress(run, 50);
    std::unique_ptr<TraceFiles> trace;
    if (run.settings.trace.maximum)
        trace = std::make_unique<TraceFiles>(run.settings.trace.folder, TracePass::Maximum,
                                             run.settings.trace.decimalSeparator);
    MaxRunHooks hooks;
    hooks.trace = trace.get();
    hooks.message = [&run](const std::string& text) {
        if (run.message) run.message(RunMessage{text, false});
    };
    hooks.warning = hooks.message;
    hooks.progress = [&run](int percent) { setProgress(run, percent); };
    RunMaximumLevel(r, res, hooks);
    if (trace) trace->close();
    setProgress(run, 100);

    res.ResultRowLabel[1] = "Frifältsvärde (dBA)";
    res.ResultGrid[1][3] = static_cast<float>(ClampToZero(RoundEven(res.SimultaneousMaxLevel)));
    res.ResultGrid[1][2] = static_cast<float>(ClampToZero(res.TrackMaxLevel[1]));
    for (int k = 2; k <= kMaxTracks; ++k)
        if (res.ResultGrid[1][2] < res.TrackMaxLevel[k])
            res.ResultGrid[1][2] = static_cast<float>(ClampToZero(res.TrackMaxLevel[k]));

    const int nStretches = std::clamp(r.stretchCount, 1, kMaxStretches);
    if (res.RadiusError) {
        for (int s = 1; s <= nStretches; ++s) {
            res.StretchEqLevel[s] = 0.0f;
            res.StretchMaxLevel[s] = 0.0f;
        }
        return;  // the result display is skipped; rows 2 and 3 stay as they were
    }

    correctedRows(run);
}

// Rows 2 and 3 of the result grid from the two check boxes: indoor level and level in front
// of the facade.
void correctedRows(Run& run)
{
    CalcResults& res = run.res;
    const char sep = run.settings.trace.decimalSeparator;
    const double fi = run.r.facadeInsulation;
    const double fr = res.FacadeCorrection;
    auto fillRow = [&res](int row, double correction) {
        for (int c = 1; c <= 3; ++c)
            res.ResultGrid[row][c] =
                static_cast<float>(ClampToZero(RoundEven(static_cast<double>(res.ResultGrid[1][c]) + correction)));
    };
    int row = 1;
    if (run.settings.indoorBoxChecked) {
        fillRow(++row, fi);
        res.ResultRowLabel[row] = "Innenivå efter korrektion för fasadisolering (" + formatFixed(fi, 1, sep) + " dBA)";
    }
    if (run.settings.facadeBoxChecked) {
        fillRow(++row, fr);
        res.ResultRowLabel[row] =
            "Utenivå framför fasad, efter korrektion för fasadreflex (+" + formatFixed(fr, 1, sep) + " dBA)";
    }
    res.correctedRows = row - 1;
}
}  // namespace

bool RunCalculation(ProjectRecord& record, const RunSettings& settings, AngleFactors& factors,
                    const RunMessageSink& message, const RunProgress& progress, CalcResults& results)
{
    if (const int s = FirstScreenCaseStretch(record)) {
        if (message) message(RunMessage{ScreenCaseStretchWarning(s), true});
        return false;
    }

    ProjectRecord work = record;
    AngleFactors workFactors = factors;
    CalcResults res = results;
    Run run{work, settings, workFactors, message, progress, res};

    res.TrainLongerThanTrack = false;
    setProgress(run, 0);
    res.RadiusError = false;

    runEquivalentPart(run);

    runMaximumPart(run);

    record = work;
    factors = workFactors;
    results = res;
    return true;
}
