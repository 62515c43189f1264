#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <vector>

#include "calc/Bands.h"
#include "calc/Run.h"
#include "calc/StretchLevel.h"
#include "calc/TraceFiles.h"
#include "model/ProjectRecord.h"

namespace {
// One Swedish X2 train (200 km/h, 6000 m a day) on track 1 and one straight stretch 0..180
// at 40 m over porous ground.
ProjectRecord project()
{
    ProjectRecord r = startupDefaults("2026-01-01 10:00:00");
    r.trainLengthPerDay[1] = 6000;
    r.maxTrainLength[1] = 200;
    r.speed[1] = 200;
    r.nationality[1] = 1;
    r.trainType[1] = 0;
    r.perpDistance[1] = 40.0f;
    r.bpDistance[1][2] = 40.0f;
    return r;
}

// A second stretch slot s, copied from stretch 1, on the given track.
void addStretch(ProjectRecord& r, int track)
{
    const int s = ++r.stretchCount;
    r.track[s] = track;
    r.angleFrom[s] = r.angleFrom[1];
    r.angleTo[s] = r.angleTo[1];
    r.perpDistance[s] = r.perpDistance[1];
    r.receiverHeight[s] = r.receiverHeight[1];
    r.groundSource[s] = r.groundReceiver[s] = r.groundMiddle[s] = 1.0f;
    r.bpCount[s] = 2;
    r.bpDistance[s][2] = r.perpDistance[1];
}

struct Outcome {
    bool ran = false;
    CalcResults res;
    std::vector<RunMessage> messages;
    std::vector<int> progress;
};

Outcome run(ProjectRecord& r, RunSettings st = {}, AngleFactors* factors = nullptr)
{
    Outcome o;
    AngleFactors local;
    o.ran = RunCalculation(
        r, st, factors ? *factors : local, [&o](const RunMessage& m) { o.messages.push_back(m); },
        [&o](int p) { o.progress.push_back(p); }, o.res);
    return o;
}
}  // namespace

TEST(RunFacade, CorrectionByDistance)
{
    EXPECT_EQ(FacadeReflectionCorrection(0.5), 3.0);
    EXPECT_EQ(FacadeReflectionCorrection(2.0), 3.0);
    EXPECT_NEAR(FacadeReflectionCorrection(2.01f), 2.6985, 1e-6);  // the stored single
    EXPECT_EQ(FacadeReflectionCorrection(10.0), 1.5);
    EXPECT_EQ(FacadeReflectionCorrection(20.0), 0.0);
    EXPECT_EQ(FacadeReflectionCorrection(25.0), 0.0);
    EXPECT_EQ(FacadeReflectionCorrection(0.49), 0.0);
    EXPECT_EQ(FacadeReflectionCorrection(0.0), 0.0);
}

TEST(RunFacade, UncheckedBoxClearsTheStoredDistance)
{
    ProjectRecord r = project();
    r.facadeDistance = 1.0f;
    RunSettings st;
    st.facadeBoxChecked = false;
    Outcome o = run(r, st);
    // This run still takes its correction from the old distance.
    EXPECT_EQ(o.res.FacadeCorrection, 3.0);
    EXPECT_EQ(r.facadeDistance, 0.0f);
    // The next run with the box checked finds 0 m.
    st.facadeBoxChecked = true;
    EXPECT_EQ(run(r, st).res.FacadeCorrection, 0.0);

    r.facadeDistance = 10.0f;
    Outcome kept = run(r, st);
    EXPECT_EQ(r.facadeDistance, 10.0f);
    EXPECT_EQ(kept.res.FacadeCorrection, 1.5);
}

TEST(RunRounding, StretchLevelsToATenthAndTotalsToWholeDecibels)
{
    EXPECT_EQ(RoundedTotalLevel(62.5), 62.0f);
    EXPECT_EQ(RoundedTotalLevel(63.5), 64.0f);
    EXPECT_EQ(RoundedTotalLevel(-3.0), 0.0f);
    EXPECT_EQ(RoundedStretchLevel(62.45), 62.4f);  // 624.5 → 624
    EXPECT_EQ(RoundedStretchLevel(62.55), 62.6f);  // 625.5 → 626
    EXPECT_EQ(RoundedStretchLevel(-0.04), 0.0f);
    EXPECT_THROW(RoundedTotalLevel(std::nan("")), std::range_error);
}

TEST(RunLevels, StretchTrackAndTotal)
{
    ProjectRecord one = project();
    Outcome a = run(one);
    ASSERT_TRUE(a.ran);
    const double L = a.res.TrackEqLevel[1];
    EXPECT_GT(L, 40.0);
    EXPECT_EQ(a.res.StretchEqLevel[1], RoundedStretchLevel(L));
    EXPECT_EQ(a.res.FreeFieldEq, RoundedTotalLevel(L));
    EXPECT_EQ(a.res.ResultGrid[1][1], a.res.FreeFieldEq);

    // Two equal stretches on track 1: the track level rises by 10·lg 2, unrounded.
    ProjectRecord two = project();
    addStretch(two, 1);
    Outcome b = run(two);
    EXPECT_NEAR(b.res.TrackEqLevel[1] - L, 3.0103, 1e-4);
    EXPECT_EQ(b.res.StretchEqLevel[1], b.res.StretchEqLevel[2]);
    EXPECT_EQ(b.res.FreeFieldEq, RoundedTotalLevel(b.res.TrackEqLevel[1]));
    EXPECT_EQ(b.progress, (std::vector<int>{0, 25, 50}));

    // Two identical trains on the track raise the level by 3.01 dB.
    ProjectRecord trains = project();
    trains.trainCount = 2;
    trains.trainLengthPerDay[2] = 6000;
    trains.maxTrainLength[2] = 200;
    trains.speed[2] = 200;
    trains.nationality[2] = 1;
    trains.trainType[2] = 0;
    EXPECT_NEAR(run(trains).res.TrackEqLevel[1] - L, 3.0103, 0.001);
}

TEST(RunLevels, TrackWithoutTrainsContributesNothing)
{
    ProjectRecord r = project();
    addStretch(r, 2);
    r.runsOnTrack[1][2] = 0;
    CalcResults before;
    before.TrackEqLevel[3] = 99.0;  // beyond the tracks in use: left as it was
    AngleFactors f;
    std::vector<RunMessage> msgs;
    ASSERT_TRUE(RunCalculation(r, {}, f, [&](const RunMessage& m) { msgs.push_back(m); }, {}, before));
    EXPECT_EQ(before.StretchEqLevel[2], 0.0f);
    EXPECT_EQ(before.TrackEqLevel[2], 0.0);
    EXPECT_EQ(before.TrackEqLevel[3], 99.0);
    EXPECT_GT(before.StretchEqLevel[1], 0.0f);
    EXPECT_EQ(before.FreeFieldEq, RoundedTotalLevel(before.TrackEqLevel[1]));
}

TEST(RunRefusal, ScreenCaseProfileStopsTheRun)
{
    ProjectRecord r = project();
    r.facadeDistance = 1.0f;
    const ProjectRecord original = r;
    RunSettings st;
    st.profileState = 4;
    Outcome o;
    o.res.FreeFieldEq = 77.0f;
    AngleFactors f;
    const bool ran = RunCalculation(
        r, st, f, [&o](const RunMessage& m) { o.messages.push_back(m); }, [&o](int p) { o.progress.push_back(p); },
        o.res);
    EXPECT_FALSE(ran);
    ASSERT_EQ(o.messages.size(), 1u);
    EXPECT_TRUE(o.messages[0].beep);
    EXPECT_EQ(o.messages[0].text,
              "Tvärsnittet bör räknas som skärmfall eftersom\r\nnågon/några brytpunkter ligger ovanför siktlinjen!");
    EXPECT_EQ(o.res.FreeFieldEq, 77.0f);
    EXPECT_TRUE(o.progress.empty());
    EXPECT_EQ(r, original);
}

TEST(RunRadius, MessageForEachCurvedStretchAfterTheError)
{
    ProjectRecord r = project();
    // Stretch 1 curved with a radius too small for its chord; stretch 2 straight;
    // stretch 3 curved and valid.
    r.shape[1] = 1;
    r.angleFrom[1] = 60;
    r.angleTo[1] = 120;
    r.startDistance[1] = r.endDistance[1] = 100.0f;
    r.radius[1] = 40.0f;
    addStretch(r, 1);
    addStretch(r, 1);
    r.shape[3] = 2;
    r.angleFrom[3] = 60;
    r.angleTo[3] = 120;
    r.startDistance[3] = r.endDistance[3] = 100.0f;
    r.radius[3] = 100.0f;
    Outcome o = run(r);
    EXPECT_TRUE(o.res.RadiusError);
    ASSERT_EQ(o.messages.size(), 2u);
    for (const auto& m : o.messages) {
        EXPECT_EQ(m.text, "Felaktig radie. Beräkning kan ej utföras på sträckan!");
        EXPECT_FALSE(m.beep);
    }
    EXPECT_EQ(o.res.StretchEqLevel[1], 0.0f);
    EXPECT_GT(o.res.StretchEqLevel[2], 0.0f);
    EXPECT_EQ(o.res.StretchEqLevel[3], 0.0f);
    // The next run starts without the error.
    r.radius[1] = 100.0f;
    Outcome ok = run(r);
    EXPECT_FALSE(ok.res.RadiusError);
    EXPECT_TRUE(ok.messages.empty());
    EXPECT_GT(ok.res.StretchEqLevel[3], 0.0f);
}

TEST(RunScreen, ScreenEffectsStoredForScreenedStretchesOnly)
{
    // Stretch 1: 60..120 at 100 m, a 3 m screen 10 m from the track over flat ground.
    ProjectRecord r = project();
    r.angleFrom[1] = 60;
    r.angleTo[1] = 120;
    r.perpDistance[1] = 100.0f;
    r.bpDistance[1][2] = 100.0f;
    r.screenType[1] = 1;
    r.screenDistance[1] = 10.0f;
    r.screenCrestHeight[1] = 3.0f;
    addStretch(r, 1);
    r.screenEffectEqA[2] = 5.5f;  // no screen: left as stored
    AngleFactors f;
    Outcome o = run(r, {}, &f);
    // Maximum line on the normal (factor 1): Dh = 10·90/1600 = 0.5625 for both source heights;
    // He1 = 3 − (2.2 − 0.2·0.1) − 0.5625, He2 = 3 − (0.5 + 1.5·0.1) − 0.5625.
    EXPECT_FLOAT_EQ(r.screenEffectMaxA[1], 0.2575f);
    EXPECT_FLOAT_EQ(r.screenEffectMaxB[1], 1.7875f);
    EXPECT_FLOAT_EQ(f.MaxFactor, 1.0f);
    EXPECT_NEAR(f.EqFactor, std::cos(3.141592653589793 / 12.0), 1e-6);
    EXPECT_GT(r.screenEffectEqA[1], r.screenEffectMaxA[1]);
    EXPECT_LT(r.screenEffectEqA[1], r.screenEffectEqB[1]);
    EXPECT_EQ(r.screenEffectEqA[2], 5.5f);
    // The screen lowers stretch 1 below the unscreened copy.
    EXPECT_LT(o.res.StretchEqLevel[1], o.res.StretchEqLevel[2] - 3.0f);
}

TEST(RunFailure, TraceFolderThatCannotBeWrittenPublishesNothing)
{
    ProjectRecord r = project();
    r.facadeDistance = 5.0f;
    const ProjectRecord original = r;
    RunSettings st;
    st.trace.equivalent = true;
    st.trace.folder = (std::filesystem::temp_directory_path() / "skenbrus-no-such-folder" / "deeper").string();
    CalcResults res;
    res.FreeFieldEq = 42.0f;
    AngleFactors f;
    try {
        RunCalculation(r, st, f, {}, {}, res);
        FAIL() << "expected an exception";
    } catch (const TraceFileError& e) {
        EXPECT_NE(std::string(e.what()).find("Kan inte skapa felsökningsfilen"), std::string::npos);
    }
    EXPECT_EQ(res.FreeFieldEq, 42.0f);
    EXPECT_EQ(r, original);
}
