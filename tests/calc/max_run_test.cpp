// The maximum-level run and the end of the calculation run: results, ties, warnings, the
// radius error, the result grid, and properties of the maxima.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <stdexcept>
#include <tuple>

#include "TraceCapture.h"
#include "max_fixture.h"
#include "model/ProjectFile.h"

namespace {

// The elements a traced run computed: one "Meter: " line each in the main file.
long long elementCount(const TraceCapture& t)
{
    const auto& m = t.lines(TraceFile::Main);
    return std::count_if(m.begin(), m.end(), [](const std::string& l) { return l.rfind("Meter: ", 0) == 0; });
}

}  // namespace

TEST(MaxRun, TrainLongerThanItsTrackWarnsOnceAfterAllTracksButNotForAnInvalidRadius)
{
    // Two tracks of 600 m (300 m before and 300 m after the normal); a 700 m train on both.
    ProjectRecord r = maxProject(45, 90, 300.0f, 700);
    addStretch(r, 1, 90, 135, 300.0f);
    addStretch(r, 2, 45, 90, 300.0f);
    addStretch(r, 2, 90, 135, 300.0f);
    RunOutcome o = runMax(r);
    EXPECT_TRUE(o.res.TrainLongerThanTrack);
    EXPECT_EQ(o.warnings.size(), 1u);  // its text is in the frozen results
    // The train covers the whole track, so its full-length level is the same from either slot.
    EXPECT_DOUBLE_EQ(o.res.StretchMaxLevelFullTrain[1], o.res.StretchMaxLevelFullTrain[2]);
    r.maxTrainLength[1] = 600;
    EXPECT_FALSE(runMax(r).res.TrainLongerThanTrack);

    // rs = re = 100 m, 60° subtended, radius 40 m: chord 100 m > 80 m. The message comes in each
    // train pass; the stretch then has no length, so no claim that a train is longer than it.
    ProjectRecord arc = maxProject(60, 120, 0.0f);
    makeCurved(arc, 1, 1, 60, 120, 100, 100, 40);
    setTrain(arc, 2, 100, 50, 80);
    o = runMax(arc);
    EXPECT_TRUE(o.res.RadiusError);
    EXPECT_EQ(o.messages, std::vector<std::string>(2, "Felaktig radie. Beräkning kan ej utföras på sträckan!"));
    EXPECT_EQ(o.res.TrackMaxLevel[1] + o.res.StretchMaxLevelFullTrain[1], 0.0);
    EXPECT_FALSE(o.res.TrainLongerThanTrack);
    EXPECT_TRUE(o.warnings.empty());
}

TEST(MaxRun, EqualTrainsKeepTheFirstAndASilentTrackStaysZero)
{
    ProjectRecord r = maxProject(0, 180, 20.0f, 100);
    setTrain(r, 2, 500, 100, 100);
    addStretch(r, 2, 0, 180, 40.0f);
    r.runsOnTrack[1][2] = 0;  // track 2 carries only train 2
    RunOutcome o = runMax(r);
    EXPECT_EQ(o.res.TrackMaxTrain, (Array1<int, 4>{{1, 2, 0, 0}}));
    EXPECT_EQ(o.res.TrackMaxStretch[1] * 10 + o.res.TrackMaxStretch[2], 12);
    // A symmetric placement across the normal has its middle at the foot of the normal.
    EXPECT_EQ(o.res.TrackMaxAngle[1], 90);

    r.runsOnTrack[2][2] = 0;
    o = runMax(r);
    EXPECT_EQ(o.res.TrackMaxLevel[2] + o.res.StretchMaxLevel[2], 0.0);
    EXPECT_EQ(o.res.TrackMaxStretch[2] + o.res.TrackMaxAngle[2] + o.res.TrackMaxTrain[2], 0);
    // The silent track adds its 0 dB as a level (10^0), which is below a microdecibel here.
    EXPECT_NEAR(o.res.SimultaneousMaxLevel, o.res.TrackMaxLevel[1], 1e-6);
}

// Seeded random projects that the program would accept: every result finite, nothing
// hangs, and remembered element levels give bit for bit the results of computing each
// afresh. The sanitizer build runs more of them.
TEST(MaxRun, RandomValidProjectsGiveFiniteResults)
{
    const int count = std::getenv("SKENBRUS_SANITIZER_RUN") ? 300 : 120;
    std::mt19937 rng(4935);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    auto real = [&](double lo, double hi) { return static_cast<float>(std::uniform_real_distribution<double>(lo, hi)(rng)); };
    for (int i = 0; i < count; ++i) {
        ProjectRecord r = startupDefaults("2026-01-01 10:00:00");
        r.trainCount = pick(1, 3);
        r.stretchCount = pick(1, 4);
        int track = 1, order = 0;
        for (int s = 1; s <= r.stretchCount; ++s) {
            if (s > 1 && track < 4 && pick(0, 2) == 0) {
                ++track;
                order = 0;
            }
            r.track[s] = track;
            r.orderInTrack[s] = ++order;
            r.angleFrom[s] = pick(0, 180);
            r.angleTo[s] = pick(0, 180);
            if (r.angleFrom[s] > r.angleTo[s]) std::swap(r.angleFrom[s], r.angleTo[s]);
            r.shape[s] = pick(0, 3) == 0 ? pick(1, 2) : 0;
            r.perpDistance[s] = real(2.0, 150.0);
            r.startDistance[s] = real(10.0, 200.0);
            r.endDistance[s] = real(10.0, 200.0);
            r.radius[s] = real(20.0, 400.0);
            r.groundSource[s] = real(0.0, 1.0);
            r.switchesOn[s] = pick(0, 1);
            r.switchStart[s] = pick(0, 60);
            r.bankCorrection[s] = pick(0, 3);
        }
        for (int t = 1; t <= r.trainCount; ++t) {
            r.nationality[t] = pick(0, 2);
            r.trainType[t] = pick(0, TrainTypeCount(r.nationality[t]) - 1);
            setTrain(r, t, pick(1, 5000), pick(1, 150), pick(10, 250));
        }
        ASSERT_EQ(recordDefect(r), "") << i;
        ASSERT_TRUE(firstMissingInput(r).complete()) << i;
        RunSettings st;
        st.indoorBoxChecked = pick(0, 1) == 1;
        st.facadeBoxChecked = pick(0, 1) == 1;
        const Calculation f = calculate(r, st);
        ASSERT_TRUE(f.ran);
        for (int s = 1; s <= 8; ++s) {
            EXPECT_TRUE(std::isfinite(f.res.StretchMaxLevel[s]) && f.res.StretchMaxLevel[s] >= 0.0f) << i;
            EXPECT_TRUE(std::isfinite(f.res.StretchMaxLevelFullTrain[s])) << i;
        }
        for (int k = 1; k <= 4; ++k) {
            EXPECT_TRUE(std::isfinite(f.res.TrackMaxLevel[k])) << i;
            EXPECT_TRUE(f.res.TrackMaxAngle[k] >= -180 && f.res.TrackMaxAngle[k] <= 360) << i;
        }
        EXPECT_TRUE(std::isfinite(f.res.SimultaneousMaxLevel)) << i;
        if (i % 6 == 0) {
            TraceCapture traced(TracePass::Maximum);  // a traced run computes every element afresh
            const CalcResults fresh = runMax(r, f.res, &traced).res;
            auto maxima = [](const CalcResults& c) {
                return std::tie(c.StretchMaxLevel, c.StretchMaxLevelFullTrain, c.TrackMaxLevel, c.TrackMaxStretch,
                                c.TrackMaxAngle, c.TrackMaxTrain);
            };
            EXPECT_TRUE(maxima(fresh) == maxima(f.res)) << i;
        }
    }
}

TEST(MaxRun, TraceHeadingsElementsOfThePassesAndTheWorkStopsAtTheEndOfTheTrack)
{
    // (That tracing changes nothing, and the first lines, are read in the trace tests.)
    TraceCapture tc(TracePass::Maximum);
    runMax(maxProject(0, 90, 10.0f, 40), {}, &tc);
    const auto& main = tc.lines(TraceFile::Main);
    for (const char* l : {"Sträckan börjar 573m före normalen", "***** FULL TÅGLÄNGD *****",
                          "***** TÅGLÄNGD EJ LÄNGRE ÄN STRÄCKAN *****", "Tågets maxvärde för:"})
        EXPECT_NE(std::find(main.begin(), main.end(), l), main.end()) << l;
    EXPECT_EQ(elementCount(tc), 80);  // 40 elements in pass 2 and 40 in pass 3

    // 0..180 at 10 m is 1 146 m of track: a train of 5 km and one of 500 km walk the same
    // elements, and the longer one is not slower for it.
    TraceCapture a(TracePass::Maximum), b(TracePass::Maximum);
    RunOutcome five = runMax(maxProject(0, 180, 10.0f, 5000), {}, &a);
    RunOutcome far = runMax(maxProject(0, 180, 10.0f, 500000), {}, &b);
    EXPECT_EQ(elementCount(a), elementCount(b));
    EXPECT_LE(elementCount(a), 2 * 1146 + 4);
    EXPECT_EQ(five.res.StretchMaxLevel[1], far.res.StretchMaxLevel[1]);
    EXPECT_EQ(five.res.TrackMaxLevel[1], far.res.TrackMaxLevel[1]);
    EXPECT_TRUE(far.res.TrainLongerThanTrack);

    // angleFrom above angleTo (the tables refuse it, a file may hold it) and negative
    // distances: the searches and walks end at the track's extent instead of running on.
    ProjectRecord r = maxProject(120, 60, 30.0f, 2000000);
    addStretch(r, 1, 90, 90, -40.0f);
    addStretch(r, 1, 170, 100, 25.0f);
    RunOutcome o = runMax(r);
    for (int s = 1; s <= 3; ++s) EXPECT_TRUE(std::isfinite(o.res.StretchMaxLevelFullTrain[s]));
    EXPECT_TRUE(std::isfinite(o.res.TrackMaxLevel[1]));
}

// Inputs the fuzzer found: each is refused by the reader or calculated to the end.
TEST(MaxRun, FuzzerFindingsAreRefusedOrCalculated)
{
    int files = 0;
    for (const auto& e : std::filesystem::directory_iterator(SKENBRUS_SOURCE_DIR "/fuzz/regressions")) {
        ++files;
        ProjectRecord r;
        try {
            r = readProject(e.path().string());
        } catch (const ProjectFileError&) {
            continue;
        }
        if (!firstMissingInput(r).complete()) continue;
        try {
            const Calculation f = calculate(r);
            for (int k = 1; k <= 4; ++k) EXPECT_TRUE(std::isfinite(f.res.TrackMaxLevel[k])) << e.path();
        } catch (const std::range_error&) {
            // the run's own refusal of a number it cannot round
        }
    }
    EXPECT_GE(files, 1);
}
