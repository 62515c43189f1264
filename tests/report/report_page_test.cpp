#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "ReportFixtures.h"
#include "report/ReportPage.h"

namespace {
ReportInput input(const ProjectRecord& r, CalcResults& res, char sep = '.')
{
    return ReportInput{r, res, 10, "/projekt/stationsvägen.sdb", "4.5.0.4", "2026-12-06", sep};
}

ReportPage build(const ProjectRecord& r, CalcResults& res, char sep = '.', ReportKind kind = ReportKind::Standard)
{
    return buildReport(kind, input(r, res, sep));
}

bool near(double a, double b) { return std::fabs(a - b) < 1e-6; }

// The text right-aligned at x on the line y, or "<none>".
std::string cell(const ReportPage& p, double x, double y)
{
    for (const DrawOp* op : p.textsAt(y))
        if (op->align == DrawOp::Align::Right && near(op->x, x)) return op->text;
    return "<none>";
}

double yOf(const ReportPage& p, const std::string& text)
{
    const DrawOp* op = p.findText(text);
    EXPECT_NE(op, nullptr) << text;
    return op ? op->y : -1.0;
}

// The text that follows `label` on its line (a subscript), or "<none>".
std::string follower(const ReportPage& p, const std::string& label, int which = 0)
{
    for (size_t i = 0; i + 1 < p.ops.size(); ++i)
        if (p.ops[i].text == label && which-- == 0 && p.ops[i + 1].align == DrawOp::Align::Follow)
            return p.ops[i + 1].text;
    return "<none>";
}

ProjectRecord oneTrackProject()
{
    ProjectRecord r = twoTrackProject();
    r.stretchCount = 2;  // stretches 1 and 2, both on track 1
    r.runsOnTrack[1][2] = 0;
    return r;
}
}  // namespace

TEST(ReportPage, HeaderShowsProjectTextsDateAndVersion)
{
    ProjectRecord r = twoTrackProject();
    CalcResults res = twoTrackResults();
    ReportPage p = build(r, res);
    const DrawOp* name = p.findText("Stationsvägen 3");  // stored in Windows-1252
    ASSERT_TRUE(name && p.findText("Åsa Öberg"));
    EXPECT_TRUE(near(name->x, 6.1) && near(name->y, 2.9) && name->bold);
    EXPECT_FALSE(p.findText("/projekt/stationsvägen.sdb")->bold);
    const DrawOp* date = p.findText("2026-12-06");
    EXPECT_TRUE(date->align == DrawOp::Align::Right && near(date->x, 19.7) && near(date->y, 1.0));
    EXPECT_TRUE(p.findText("(Enl. Naturvårdverkets rapport 4935. Skenbrus version 4.5.0.4, Morvik AB)"));

    // The site plan's page carries the same header and its own title above the plan's area.
    const ReportPage plan = buildSitePlanPageHeader(input(r, res));
    EXPECT_TRUE(plan.findText("Stationsvägen 3") && plan.findText("/projekt/stationsvägen.sdb"));
    EXPECT_LT(yOf(plan, "Situationsplan"), sitePlanArea.top);
    EXPECT_EQ(plan.findText("RESULTAT"), nullptr);
}

TEST(ReportPage, SubscriptOfTheMaximumRowFollowsNationalityAndTracks)
{
    CalcResults res = twoTrackResults();
    ProjectRecord swedish = twoTrackProject();
    ReportPage p = build(swedish, res);
    EXPECT_EQ(follower(p, "Frifältsvärde, L"), "maxF");
    EXPECT_EQ(follower(p, "Frifältsvärde, L", 1), "maxF");  // the simultaneous section

    ProjectRecord norwegianOneTrack = oneTrackProject();
    norwegianOneTrack.nationality[2] = 0;
    norwegianOneTrack.trainType[2] = 1;
    p = build(norwegianOneTrack, res);
    EXPECT_EQ(follower(p, "Frifältsvärde, L"), "maxM");
    EXPECT_EQ(p.findText("Maxnivå samv. tåg/spår"), nullptr);

    ProjectRecord norwegianTwoTracks = twoTrackProject();
    norwegianTwoTracks.nationality[1] = 0;
    p = build(norwegianTwoTracks, res);
    EXPECT_EQ(follower(p, "Frifältsvärde, L"), "MaxM");
    const DrawOp* sub = p.findText("MaxM");
    EXPECT_TRUE(near(sub->rise, 0.1));
}

TEST(ReportPage, ResultsBlockWithBothOptionsAndSeveralTracks)
{
    ProjectRecord r = twoTrackProject();
    CalcResults res = twoTrackResults();
    res.TrainLongerThanTrack = true;
    ReportPage p = build(r, res);
    // Equivalent rows: free field, indoor (57 − 30), facade (57 + 1.5 = 58.5 → 58).
    EXPECT_EQ(p.textsAt(6.3).back()->text, "57");
    EXPECT_EQ(p.textsAt(6.8).back()->text, "27");
    EXPECT_EQ(p.textsAt(7.3).back()->text, "58");
    EXPECT_TRUE(p.findText("Utenivå framför fasad, efter korrektion för fasadreflex (+1.5 dBA)"));
    // Maximum section from 7.8, rows 0.5 apart; simultaneous section from 10.0.
    EXPECT_TRUE(near(yOf(p, "Maxnivå"), 7.9));
    EXPECT_EQ(p.textsAt(8.4).back()->text, "78");
    EXPECT_TRUE(near(yOf(p, "Maxnivå samv. tåg/spår"), 10.0));
    EXPECT_EQ(p.textsAt(10.5).back()->text, "79");
    EXPECT_EQ(p.textsAt(11.5).back()->text, "80");  // 79 + 1.5 = 80.5 → 80
    // Warning, indoor data line and segment length, 0.3 apart after 12.05.
    EXPECT_TRUE(near(yOf(p, "Varning! Något/några tågs maxlängd är längre än spåren de trafikerar!"), 12.05));
    EXPECT_TRUE(near(yOf(p, "Fönsteryta: 2.0 m"), 12.35));
    EXPECT_EQ(follower(p, "Fönsteryta: 2.0 m"), "2");
    const DrawOp* squared = p.findText("2");
    EXPECT_EQ(squared->fontSize, 7);
    EXPECT_TRUE(near(squared->rise, -0.05));
    EXPECT_TRUE(p.findText(" Rw: 29.0  Fasadisolering: -30.0 dBA"));
    EXPECT_TRUE(near(yOf(p, "Segmentlängd: 10 m"), 12.65));
    // The frame closes at 12.0.
    bool bottom = false;
    for (const auto& op : p.ops)
        if (op.kind == DrawOp::Kind::Line && near(op.y, 12.0) && near(op.y2, 12.0)) bottom = true;
    EXPECT_TRUE(bottom);

    // An indoor level below zero is printed as 0 (the export shows it as it is).
    r = oneTrackProject();
    r.facadeReflectionOn = 0;
    res.FreeFieldEq = 25.0f;
    p = build(r, res, ',');
    EXPECT_TRUE(p.findText("Innenivå efter korrektion för fasadisolering (-30,0 dBA)"));
    EXPECT_EQ(p.textsAt(6.8).back()->text, "0");
}

TEST(ReportPage, DataPartTopForOptionsWarningAndTracks)
{
    struct Case {
        bool indoor, facade, warning, severalTracks;
        double y0;
    };
    const Case cases[] = {
        {true, false, true, false, 10.6},  {true, false, true, true, 12.2},   {true, false, false, false, 10.3},
        {true, false, false, true, 11.9},  {false, false, true, false, 9.1},  {false, false, true, true, 10.2},
        {false, false, false, false, 8.8}, {false, false, false, true, 9.9},  {false, true, false, false, 9.8},
        {false, true, false, true, 11.4},  {true, true, true, false, 12.1},   {true, true, true, true, 13.7},
    };
    for (const Case& c : cases) {
        ProjectRecord r = c.severalTracks ? twoTrackProject() : oneTrackProject();
        r.indoorLevelOn = c.indoor;
        r.facadeReflectionOn = c.facade;
        CalcResults res = twoTrackResults();
        res.TrainLongerThanTrack = c.warning;
        ReportPage p = build(r, res);
        EXPECT_NEAR(yOf(p, "Tåg nr:"), c.y0, 1e-9)
            << "indoor " << c.indoor << " facade " << c.facade << " warning " << c.warning << " tracks "
            << c.severalTracks;
        const DrawOp* title = p.findText("Tåg nr:");
        EXPECT_TRUE(title->bold && title->colour == ReportColour::Navy && title->fontSize == 9);
    }
}

TEST(ReportPage, DataPartOfMixedProjectWithScreenAndCrossSection)
{
    ProjectRecord r = twoTrackProject();
    CalcResults res = twoTrackResults();
    ReportPage p = build(r, res);
    const double y0 = yOf(p, "Tåg nr:");
    auto tx = [](int t) { return 5.5 + 2.33 * t; };
    auto sx = [](int s) { return 5.5 + 2.33 * s; };
    EXPECT_EQ(cell(p, tx(1), y0 + 6 * 0.38), "1,2");
    EXPECT_EQ(cell(p, tx(2), y0 + 6 * 0.38), "1");
    EXPECT_EQ(cell(p, tx(2), y0 + 4 * 0.38), "Gods");
    EXPECT_EQ(cell(p, sx(3), y0 + 4.46), "30 - 150");
    // Mixed shapes: the perpendicular row first, then the three curve rows, "---" where not used.
    EXPECT_TRUE(near(yOf(p, "Vinkelrätt Mottagaravstånd (m)"), y0 + 4.84));
    EXPECT_EQ(cell(p, sx(3), y0 + 4.84), "---");
    EXPECT_EQ(cell(p, sx(2), y0 + 4.84), "25.5");
    EXPECT_EQ(cell(p, sx(1), y0 + 5.22), "---");
    EXPECT_EQ(cell(p, sx(3), y0 + 5.60), "45.5");
    EXPECT_EQ(cell(p, sx(3), y0 + 5.98), "800");
    const double y1 = y0 + 6.36;
    EXPECT_TRUE(near(yOf(p, "Marktyp källdel"), y1));
    EXPECT_EQ(cell(p, sx(2), y1), "Hård");
    EXPECT_EQ(cell(p, sx(3), y1 + 0.76), "Porös 35%");
    EXPECT_EQ(cell(p, sx(3), y1 + 1.14), "Bro u bal");
    EXPECT_EQ(cell(p, sx(2), y1 + 1.90), "---");  // receiver height comes from the cross-section
    EXPECT_EQ(cell(p, sx(1), y1 + 1.90), "2.0");
    // Cross-section rows, screen rows 1.32 below "Tvärsektion".
    const double yx = y1 + 2.46;
    EXPECT_EQ(cell(p, sx(2), yx + 0.38), "1.2");
    EXPECT_EQ(cell(p, sx(1), yx + 0.76), "---");
    const double ys = yx + 1.32;
    EXPECT_TRUE(near(yOf(p, "Skärm"), ys));
    EXPECT_EQ(cell(p, sx(2), ys + 5 * 0.38), "2.3 - 3.1");
    EXPECT_EQ(cell(p, sx(1), ys + 6 * 0.38), "---");
    // Results 0.56 below the last screen row, the track block below them.
    const double b = ys + 6 * 0.38 + 0.56;
    EXPECT_EQ(cell(p, sx(1), b), "54.3");
    EXPECT_EQ(cell(p, sx(1), b + 0.76), "77.2");  // 77.25 to one decimal, half to even
    EXPECT_EQ(cell(p, tx(1), b + 1.42), "1");
    EXPECT_EQ(cell(p, tx(1), b + 1.80), "56.3");
    EXPECT_EQ(cell(p, tx(2), b + 2.18), "71.8");
    EXPECT_EQ(cell(p, tx(2), b + 2.56), "3");
    EXPECT_EQ(cell(p, tx(2), b + 2.94), "94°");
}

TEST(ReportPage, OnlyCurvedOrOnlyStraightStretchesAndNoScreen)
{
    ProjectRecord r = oneTrackProject();
    r.screenType[2] = 0;
    r.crossSectionOn[2] = 0;
    CalcResults res = twoTrackResults();
    ReportPage p = build(r, res);
    double y0 = yOf(p, "Tåg nr:");
    EXPECT_EQ(p.findText("Radie (m)"), nullptr);
    EXPECT_TRUE(near(yOf(p, "Marktyp källdel"), y0 + 5.22));
    const double ys = y0 + 5.22 + 2.46 + 0.56;
    EXPECT_TRUE(near(yOf(p, "Skärm"), ys));
    EXPECT_EQ(p.findText("Markhöjd vid mottagare (m)"), nullptr);
    EXPECT_TRUE(near(yOf(p, "Totalt ekvivalentnivå (dBA)"), ys + 0.66));

    r.shape[1] = r.shape[2] = 2;
    r.startDistance[1] = 30.0f;
    p = build(r, res);
    y0 = yOf(p, "Tåg nr:");
    EXPECT_EQ(p.findText("Vinkelrätt Mottagaravstånd (m)"), nullptr);
    EXPECT_TRUE(near(yOf(p, "Mottagaravstånd startpunkt(m)"), y0 + 4.84));
    EXPECT_EQ(cell(p, 5.5 + 2.33, y0 + 4.84), "30");
    EXPECT_TRUE(near(yOf(p, "Marktyp källdel"), y0 + 5.98));
    EXPECT_EQ(cell(p, 5.5 + 2.33, y0 + 4.08), "Konkav");
}

TEST(ReportPage, SevenStretchesUseTheNarrowerPitchAndThePartialReport)
{
    ProjectRecord r = oneTrackProject();
    r.stretchCount = 7;
    for (int s = 1; s <= 7; ++s) r.track[s] = 1, r.orderInTrack[s] = s;
    CalcResults res = twoTrackResults();
    ReportPage p = build(r, res);
    const double y = yOf(p, "Delsträcka");
    for (int s = 1; s <= 7; ++s) EXPECT_EQ(cell(p, 6.14 + 1.67 * s, y), std::to_string(s));
    // Trains keep their pitch.
    EXPECT_EQ(cell(p, 5.5 + 2.33 * 2, yOf(p, "Tåg nr:")), "2");

    r.stretchCount = 6;
    p = build(r, res);
    EXPECT_EQ(cell(p, 5.5 + 2.33 * 6, yOf(p, "Delsträcka")), "6");

    // The partial report: header, stretch and track results, nothing else.
    r = twoTrackProject();
    p = build(r, res, '.', ReportKind::Partial);
    EXPECT_TRUE(p.findText("Stationsvägen 3") && p.findText("Delresultat"));
    EXPECT_EQ(p.findText("RESULTAT"), nullptr);
    EXPECT_EQ(p.findText("Tåg nr:"), nullptr);
    const double yp = yOf(p, "Delsträcka");
    EXPECT_EQ(cell(p, 5.5 + 2.33 * 3, yp), "3");
    EXPECT_EQ(cell(p, 5.5 + 2.33 * 3, yp + 0.38), "50.6");
    EXPECT_EQ(cell(p, 5.5 + 2.33 * 2, yp + 0.38 + 2.94), "94°");
}

TEST(ReportPage, RoundingInPlaceMakesASecondPaintingIdentical)
{
    ProjectRecord r = twoTrackProject();
    CalcResults res = twoTrackResults();
    ReportPage first = build(r, res);
    EXPECT_DOUBLE_EQ(res.StretchMaxLevelFullTrain[1], 77.2);
    EXPECT_DOUBLE_EQ(res.StretchMaxLevelFullTrain[3], 71.0);
    EXPECT_DOUBLE_EQ(res.TrackEqLevel[1], 56.3);
    EXPECT_DOUBLE_EQ(res.TrackMaxLevel[1], 78.4);
    EXPECT_DOUBLE_EQ(res.TrackMaxLevel[2], 71.8);
    EXPECT_FLOAT_EQ(res.StretchMaxLevel[2], 74.2f);  // not one of the rounded arrays
    ReportPage second = build(r, res);
    ASSERT_EQ(first.ops.size(), second.ops.size());
    for (size_t i = 0; i < first.ops.size(); ++i) EXPECT_EQ(first.ops[i].text, second.ops[i].text);
}

TEST(ReportPage, EveryOptionPageFitsAboveThePrintersEdge)
{
    // Both corrections, two tracks, a screen, a cross-section, a curve, the train-length
    // warning and eight stretches: the page is drawn smaller so that its lowest text or line
    // ends 1 cm above the bottom of the sheet.
    ProjectRecord r = twoTrackProject();
    for (int s = 4; s <= 8; ++s) {
        r.stretchCount = s;
        r.track[s] = 2, r.orderInTrack[s] = s - 2, r.angleFrom[s] = 10, r.angleTo[s] = 20, r.perpDistance[s] = 30.0f;
    }
    CalcResults res = twoTrackResults();
    res.TrainLongerThanTrack = true;
    const ReportPage page = build(r, res);
    EXPECT_GT(page.bottom(), kReportBottomLimitCm);
    EXPECT_NEAR(page.bottom() * page.fitScale(), kReportBottomLimitCm, 1e-9);
    const DrawOp* last = &page.ops.front();
    for (const DrawOp& op : page.ops)
        if (std::max(op.y, op.y2) > std::max(last->y, last->y2)) last = &op;
    EXPECT_EQ(last->text, "Tågposition för maxnivå (tågmitt)");
}
