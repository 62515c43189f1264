// The calculation run: facade correction, rounding, the levels it stores, and what it refuses.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <vector>

#include "calc/MaxLevel.h"
#include "calc/TraceFiles.h"
#include "projects.h"

namespace {
// One Swedish X2 train (200 km/h, 6000 m a day), one straight stretch 0..180 at 40 m.
ProjectRecord project()
{
    ProjectRecord r = straight(0, 180, 40.0f);
    setTrain(r, 1, 6000, 200, 200);
    return r;
}
}  // namespace

TEST(Run, FacadeCorrectionRoundingAndTheUncheckedFacadeBox)
{
    for (auto [d, dB] : {std::pair{0.5, 3.0}, {2.0, 3.0}, {2.01f, 2.6985}, {10.0, 1.5}, {20.0, 0.0}, {25.0, 0.0},
                         {0.49, 0.0}})
        EXPECT_NEAR(FacadeReflectionCorrection(d), dB, 1e-4) << d;
    EXPECT_EQ(RoundedTotalLevel(62.5), 62.0f);  // halves to even, never negative
    EXPECT_EQ(RoundedTotalLevel(-3.0), 0.0f);
    for (auto [x, tenth] : {std::pair{62.45, 62.4f}, {62.55, 62.6f}, {-0.04, 0.0f}})
        EXPECT_EQ(RoundedStretchLevel(x), tenth);
    for (auto [x, tenth] : {std::pair{81.25, 81.2}, {81.75, 81.8}, {81.26, 81.3}})
        EXPECT_DOUBLE_EQ(RoundToTenth(x), tenth);
    EXPECT_THROW(RoundedTotalLevel(std::nan("")), std::range_error);

    ProjectRecord r = project();
    r.facadeDistance = 1.0f;
    RunSettings st;
    EXPECT_EQ(calculate(r, st).res.FacadeCorrection, 3.0);  // this run still uses the old distance
    EXPECT_EQ(r.facadeDistance, 0.0f);
    st.facadeBoxChecked = true;
    EXPECT_EQ(calculate(r, st).res.FacadeCorrection, 0.0);
    r.facadeDistance = 10.0f;
    EXPECT_EQ(calculate(r, st).res.FacadeCorrection, 1.5);
    EXPECT_EQ(r.facadeDistance, 10.0f);
}

TEST(Run, TracksWithoutTrainsAndTheMeter)
{
    // A track without trains is computed but stores 0; tracks beyond those in use keep their
    // values. The equivalent part takes the meter to 50 %.
    ProjectRecord r = project();
    addStretch(r, 2, 0, 180, 40.0f);
    r.runsOnTrack[1][2] = 0;
    CalcResults start;
    start.TrackEqLevel[3] = 99.0;
    const Calculation c = calculate(r, {}, start);
    EXPECT_GT(c.res.StretchEqLevel[1], 40.0f);
    EXPECT_EQ(c.res.StretchEqLevel[2], 0.0f);
    EXPECT_EQ(c.res.TrackEqLevel[2], 0.0);
    EXPECT_EQ(c.res.TrackEqLevel[3], 99.0);
    ASSERT_GE(c.progress.size(), 3u);
    EXPECT_EQ(std::vector<int>(c.progress.begin(), c.progress.begin() + 3), (std::vector<int>{0, 25, 50}));
}

TEST(Run, RefusedRunsPublishNothingEveryCrossSectionInUseIsChecked)
{
    // A 5 m ridge at 20 m stands above the line of sight. Stretch 1 blocked but its cross-section
    // not in use, 2 and 4 blocked, 3 clear: stretch 2 is named.
    ProjectRecord r = project();
    for (int s = 2; s <= 4; ++s) addStretch(r, 1, 0, 180, 40.0f);
    for (auto [s, ridge] : {std::pair{1, 5.0f}, {2, 5.0f}, {3, 0.0f}, {4, 5.0f}}) {
        r.crossSectionOn[s] = s > 1;
        setProfile(r, s, {{0, 0}, {20, ridge}, {40, 0}});
    }
    r.bpDistance[2][4] = 0.0f;  // a trailing point at 0 that the classification would drop
    r.bpCount[2] = 4;
    r.facadeDistance = 1.0f;
    const ProjectRecord original = r;
    CalcResults start;
    start.FreeFieldEq = 77.0f;
    Calculation o = calculate(r, {}, start);
    EXPECT_FALSE(o.ran);
    ASSERT_EQ(o.messages.size(), 1u);
    EXPECT_TRUE(o.messages[0].beep);
    EXPECT_EQ(o.messages[0].text, "Tvärsnittet för delsträcka 2 bör räknas som skärmfall eftersom\r\n"
                                  "någon/några brytpunkter ligger ovanför siktlinjen!");
    EXPECT_EQ(o.res.FreeFieldEq, 77.0f);
    EXPECT_TRUE(o.progress.empty());
    EXPECT_EQ(r, original);
    // With the ridges lowered the run goes ahead.
    r.bpHeight[2][2] = r.bpHeight[4][2] = 0.0f;
    o = calculate(r);
    EXPECT_TRUE(o.ran);
    EXPECT_TRUE(o.messages.empty());

    // A trace folder that cannot be made stops the run the same way: nothing published.
    ProjectRecord p = project();
    p.facadeDistance = 5.0f;
    const ProjectRecord before = p;
    RunSettings st;
    st.trace.equivalent = true;
    st.trace.folder = (std::filesystem::temp_directory_path() / "skenbrus-no-such-folder" / "x").string();
    AngleFactors f;
    try {
        RunCalculation(p, st, f, {}, {}, start);
        ADD_FAILURE() << "no exception";
    } catch (const TraceFileError& e) {
        EXPECT_EQ(std::string(e.what()).rfind("Kan inte skapa felsökningsfilen", 0), 0u);
    }
    EXPECT_EQ(start.FreeFieldEq, 77.0f);
    EXPECT_EQ(p, before);
}

TEST(Run, RadiusErrorLastsOneRun)
{
    // A curve too tight for its chord (100 > 2·40) withholds its levels and every later curved
    // stretch's (the messages of each pass are in the frozen results); the straight one counts.
    // The next run starts without the error.
    ProjectRecord r = project();
    makeCurved(r, 1, 1, 60, 120, 100, 100, 40);
    addStretch(r, 1, 0, 180, 40.0f);
    makeCurved(r, addStretch(r, 1, 0, 180, 40.0f), 2, 60, 120, 100, 100, 100);
    const Calculation o = calculate(r);
    EXPECT_TRUE(o.res.RadiusError);
    EXPECT_FALSE(o.messages.at(0).beep);  // shown without a beep
    for (int s : {1, 3}) EXPECT_EQ(o.res.StretchEqLevel[s] + o.res.StretchMaxLevel[s], 0.0f) << s;
    EXPECT_GT(o.res.TrackEqLevel[1], 40.0);
    r.radius[1] = 100.0f;
    const Calculation ok = calculate(r);
    EXPECT_FALSE(ok.res.RadiusError);
    EXPECT_TRUE(ok.messages.empty());
    EXPECT_GT(ok.res.StretchEqLevel[3], 0.0f);
}

TEST(Run, ScreenEffectsStoredForScreenedStretchesOnly)
{
    // 60..120 at 100 m, a 3 m screen 10 m from the track (its effects are in the frozen results);
    // a second stretch without a screen keeps what it had.
    ProjectRecord r = straight(60, 120, 100.0f);
    setScreen(r, 1, 1, 10.0f, 3.0f);
    const int plain = addStretch(r, 1, 0, 180, 40.0f);
    r.screenEffectEqA[plain] = 5.5f;
    const Calculation o = calculate(r);
    EXPECT_GT(r.screenEffectMaxA[1], 0.0f);
    EXPECT_EQ(r.screenEffectEqA[plain], 5.5f);
    EXPECT_NEAR(o.factors.EqFactor, std::cos(3.141592653589793 / 12.0), 1e-6);  // angle factors kept
}
