// Height studies: every row is a plain run of its modified record, bit for bit, whatever the
// number of threads; refusals, cancellation and the rows that carry only a message.

#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>

#include "calc/CrossSectionCheck.h"
#include "calc/Study.h"
#include "model/DocumentState.h"
#include "model/ProjectFile.h"
#include "projects.h"

namespace {

// Two tracks, three stretches: stretch 1 with a terrain cross-section (a bank between track
// and receiver) and an absorbing screen, stretch 2 convex with a reflecting screen, stretch 3
// straight and open; two trains, the facade and indoor options on.
ProjectRecord screened()
{
    ProjectRecord r = straight(30, 120, 60.0f);
    for (int t = 1; t <= 2; ++t) {
        setTrain(r, t, 8000 * t, 300 * t, 100 + 60 * t);
        r.trainType[t] = t;
    }
    r.runsOnTrack[1][2] = 0;
    r.crossSectionOn[1] = 1;
    setProfile(r, 1, {{0, 1.0f}, {12, 1.5f}, {25, 0.5f}, {60, 0.0f}});
    r.trackHeight[1] = 1.0f;
    setScreen(r, 1, 1, 8.0f, 2.5f);
    r.screenBaseHeight[1] = 1.33f;
    makeCurved(r, addStretch(r, 1, 0, 0, 0.0f), 1, 120, 170, 70.0f, 120.0f, 800.0f);
    setScreen(r, 2, 2, 6.0f, 2.0f);
    r.groundMiddle[addStretch(r, 2, 10, 150, 90.0f)] = 0.0f;
    r.indoorLevelOn = r.facadeReflectionOn = 1;
    r.facadeDistance = 4.0f;
    return r;
}

RunSettings settingsOf(const ProjectRecord& r, int segment = 1)
{
    RunSettings s;
    SegmentControl c;
    s.segmentLength = refreshSegmentLength(r, segment, c);
    s.facadeBoxChecked = r.facadeReflectionOn == 1;
    s.indoorBoxChecked = r.indoorLevelOn == 1;
    return s;
}

// Bit for bit: every stored value of the results, the record as the run left it, the messages.
void expectSameRow(const StudyRow& a, const StudyRow& b)
{
    using C = CalcResults;
    auto one = [&](auto f) {
        EXPECT_EQ(0, std::memcmp(&(a.results.*f), &(b.results.*f), sizeof(a.results.*f))) << a.height;
    };
    auto same = [&](auto... f) { (one(f), ...); };
    same(&C::FacadeCorrection, &C::StretchEqLevel, &C::TrackEqLevel, &C::FreeFieldEq, &C::StretchMaxLevel,
         &C::StretchMaxLevelFullTrain, &C::TrackMaxLevel, &C::TrackMaxStretch, &C::TrackMaxAngle, &C::TrackMaxTrain,
         &C::SimultaneousMaxLevel, &C::CurveStartX, &C::CurveReceiverY, &C::ResultGrid, &C::TrainLongerThanTrack,
         &C::RadiusError, &C::correctedRows);
    EXPECT_EQ(a.results.ResultRowLabel, b.results.ResultRowLabel);
    EXPECT_EQ(0, std::memcmp(&a.record, &b.record, sizeof a.record)) << "record at " << a.height;
    EXPECT_EQ(a.ran, b.ran);
    EXPECT_EQ(a.messages, b.messages);
}

// The plain run of the record with the height written in by hand.
StudyRow plainRun(ProjectRecord r, const RunSettings& s, double h, StudyKind kind, int stretch)
{
    for (int i = 1; i <= r.stretchCount; ++i) {
        if (kind == StudyKind::Floors) r.receiverHeight[i] = static_cast<float>(h);
        if (kind == StudyKind::Screen && (i == stretch || (stretch == 0 && r.screenType[i] > 0)))
            r.screenCrestHeight[i] = static_cast<float>(h);
    }
    StudyRow row;
    row.height = h;
    AngleFactors f;
    row.ran = RunCalculation(r, s, f, [&row](const RunMessage& m) { row.messages.push_back(m.text); }, {},
                             row.results);
    row.record = r;
    return row;
}

}  // namespace

TEST(Study, RowsAreThePlainRunsOfTheModifiedRecords)
{
    const ProjectRecord example = readProject(SKENBRUS_SOURCE_DIR "/examples/stationsvagen.sdb");
    const ProjectRecord withScreens = screened();
    struct Case {
        const ProjectRecord* r;
        StudyRequest q;
    };
    const Case cases[] = {
        {&example, StudyRequest{StudyKind::Floors, {1.5, 4.5, 7.5, 10.5}}},
        {&withScreens, StudyRequest{StudyKind::Floors, {0.0, 1.5, 4.5, 7.5, 16.5}}},
        {&withScreens, StudyRequest{StudyKind::Screen, {0.0, 1.0, 2.5, 4.0, 6.0}}},     // every screen
        {&withScreens, StudyRequest{StudyKind::Screen, {0.5, 3.0, 5.5}, 2}},           // stretch 2 only
    };
    for (const Case& c : cases) {
        const RunSettings s = settingsOf(*c.r);
        const StudyOutcome out = RunStudy(*c.r, s, AngleFactors{}, c.q, 3);
        ASSERT_FALSE(out.cancelled);
        ASSERT_EQ(out.rows.size(), c.q.heights.size());
        for (std::size_t i = 0; i < out.rows.size(); ++i) {
            EXPECT_EQ(out.rows[i].height, c.q.heights[i]);
            EXPECT_TRUE(out.rows[i].hasLevels());
            expectSameRow(out.rows[i], plainRun(*c.r, s, c.q.heights[i], c.q.kind, c.q.stretch));
        }
    }
}

TEST(Study, ThreadCountDoesNotChangeTheRows)
{
    const ProjectRecord r = screened();
    const RunSettings s = settingsOf(r, 2);
    std::vector<double> heights;
    ASSERT_EQ(HeightRange(1.5, 1.5, 15.0, heights), "");
    const StudyOutcome one = RunStudy(r, s, {}, StudyRequest{StudyKind::Floors, heights}, 1);
    for (int threads : {2, 5, 0}) {
        std::vector<int> progress;
        StudyHooks hooks;
        hooks.progress = [&progress](int done, int total) {
            EXPECT_EQ(total, 10);
            progress.push_back(done);
        };
        const StudyOutcome many = RunStudy(r, s, {}, StudyRequest{StudyKind::Floors, heights}, threads, hooks);
        ASSERT_EQ(many.rows.size(), one.rows.size());
        for (std::size_t i = 0; i < one.rows.size(); ++i) expectSameRow(many.rows[i], one.rows[i]);
        EXPECT_TRUE(!progress.empty() && progress.front() == 0 && progress.back() == 10);
        EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
    }
}

TEST(Study, CancellationLeavesNoRows)
{
    const ProjectRecord r = screened();
    std::vector<double> heights;
    ASSERT_EQ(HeightRange(0, 0.5, 20, heights), "");
    for (int after : {0, 1}) {  // at once, and after the first finished height
        StudyHooks hooks;
        int last = 0;
        hooks.progress = [&last](int done, int) { last = done; };
        hooks.cancelRequested = [&last, after] { return last >= after; };
        const StudyOutcome out = RunStudy(r, settingsOf(r), {}, StudyRequest{StudyKind::Floors, heights}, 2, hooks);
        EXPECT_TRUE(out.cancelled);
        EXPECT_TRUE(out.rows.empty());
        EXPECT_LT(last, static_cast<int>(heights.size()));
    }
    // A progress callback that fails stops the heights; its exception comes through.
    StudyHooks failing;
    failing.progress = [](int done, int) {
        if (done >= 1) throw std::runtime_error("meter");
    };
    EXPECT_THROW(RunStudy(r, settingsOf(r), {}, StudyRequest{StudyKind::Floors, heights}, 2, failing), std::runtime_error);
}

TEST(Study, RefusedRequestsAndRowsWithoutNumbers)
{
    ProjectRecord r = screened();
    const RunSettings s = settingsOf(r);
    EXPECT_EQ(StudyRefusal(r, StudyRequest{StudyKind::Screen, {1}, 3}), "Delsträcka 3 har ingen skärm");
    EXPECT_EQ(StudyRefusal(r, StudyRequest{StudyKind::Screen, {1}, 4}), "Delsträcka 4 finns inte (projektet har 3 delsträckor).");
    EXPECT_EQ(StudyRefusal(r, StudyRequest{StudyKind::Floors, {}}), "Ange minst en höjd.");
    EXPECT_EQ(StudyRefusal(r, StudyRequest{StudyKind::Floors, {2, 1000.5}}), "Höjden 1000.5 m ligger utanför 0 - 1000 m.");
    EXPECT_EQ(StudyRefusal(r, StudyRequest{StudyKind::Floors, std::vector<double>(201, 2.0)}),
              "Högst 200 höjder kan beräknas på en gång (201 angavs).");
    EXPECT_THROW(RunStudy(r, s, {}, StudyRequest{StudyKind::Screen, {1}, 3}), std::invalid_argument);
    ProjectRecord open = r;
    open.screenType[1] = open.screenType[2] = 0;
    EXPECT_EQ(StudyRefusal(open, StudyRequest{StudyKind::Screen, {1}}), "Ingen delsträcka har skärm.");

    // A cross-section that must be calculated as a screen case (a high ridge, no screen): every
    // row has the warning only.
    ProjectRecord blocked = r;
    blocked.screenType[1] = 0;
    blocked.bpHeight[1][2] = 8.0f;
    StudyOutcome out = RunStudy(blocked, s, {}, StudyRequest{StudyKind::Floors, {2, 5}}, 2);
    ASSERT_EQ(out.rows.size(), 2u);
    for (const StudyRow& row : out.rows)
        EXPECT_TRUE(!row.ran && !row.hasLevels() && row.messages == std::vector{ScreenCaseStretchWarning(1)});

    // A curve too tight for its end points: the row ran, has the radius message and no levels.
    r.radius[2] = 20.0f;
    out = RunStudy(r, s, {}, StudyRequest{StudyKind::Floors, {2, 5}}, 2);
    for (const StudyRow& row : out.rows) {
        EXPECT_TRUE(row.ran && row.results.RadiusError && !row.hasLevels() && !row.messages.empty());
        expectSameRow(row, plainRun(r, s, row.height, StudyKind::Floors, 0));
    }
}
