// The report page: what each part prints for the options of a project, that the columns the
// user reads line up without rows running into each other, and that the page fits the sheet.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <string>

#include "ReportFixtures.h"
#include "report/ReportPage.h"

namespace {
using Texts = std::vector<std::string>;

// The which-th text op reading `text`, or nullptr.
const DrawOp* nth(const ReportPage& p, const std::string& text, int which = 0)
{
    for (const DrawOp& op : p.ops)
        if (op.kind == DrawOp::Kind::Text && op.text == text && which-- == 0) return &op;
    return nullptr;
}

// The values on the line of the which-th `label`: its other texts but a subscript.
Texts values(const ReportPage& p, const std::string& label, int which = 0)
{
    const DrawOp* l = nth(p, label, which);
    if (!l) return {"<no " + label + ">"};
    Texts v;
    for (const DrawOp* op : p.textsAt(l->y))
        if (op != l && op->align != DrawOp::Align::Follow) v.push_back(op->text);
    return v;
}

// The text that follows the which-th `label` on its line (a subscript or superscript).
const DrawOp* follower(const ReportPage& p, const std::string& label, int which = 0)
{
    const DrawOp* l = nth(p, label, which);
    return l && l + 1 != &*p.ops.end() && l[1].align == DrawOp::Align::Follow ? l + 1 : nullptr;
}

// Below the title row of the trains, every value stands right-aligned under the number of its
// train, stretch or track, and the rows lie at least a row's height apart.
void expectDataColumnsAligned(const ReportPage& p, const std::string& firstTitle = "Tåg nr:")
{
    const double top = nth(p, firstTitle)->y;
    std::set<double> columns, rows;
    for (const char* title : {"Tåg nr:", "Delsträcka", "Spår"})
        for (int i = 0; nth(p, title, i); ++i)
            if (nth(p, title, i)->bold)
                for (const DrawOp* op : p.textsAt(nth(p, title, i)->y))
                    if (op->align == DrawOp::Align::Right) columns.insert(op->x);
    for (const DrawOp& op : p.ops) {
        if (op.kind != DrawOp::Kind::Text || op.y < top - 1e-9) continue;
        rows.insert(op.y);
        const bool inColumn =
            std::any_of(columns.begin(), columns.end(), [&](double x) { return std::fabs(x - op.x) < 1e-6; });
        EXPECT_TRUE(op.align != DrawOp::Align::Right || inColumn) << op.text << " at " << op.x << ", " << op.y;
    }
    for (auto a = rows.begin(), b = std::next(a); b != rows.end(); ++a, ++b) EXPECT_GE(*b - *a, 0.38 - 1e-9) << *b;
}
}  // namespace

// Each test starts from the two-track project and its results.
struct Report : testing::Test {
    ProjectRecord r = twoTrackProject();
    CalcResults res = twoTrackResults();
    ReportInput input(char sep = '.') { return {r, res, 10, "/p/stationsvägen.sdb", "4.5.0.4", "2026-12-06", sep}; }
    ReportPage build(char sep = '.', ReportKind kind = ReportKind::Standard) { return buildReport(kind, input(sep)); }
    void oneTrack() { r.stretchCount = 2, r.runsOnTrack[1][2] = 0; }  // stretches 1 and 2, both on track 1
};

TEST_F(Report, HeaderOnEveryPageAndThePartialReport)
{
    const ReportPage p = build();
    // The project's texts are stored in Windows-1252.
    for (const char* text : {"Nybyggnad, fasad mot spåret", "Åsa Öberg", "2026-12-06", "/p/stationsvägen.sdb",
                             "(Enl. Naturvårdverkets rapport 4935. Skenbrus version 4.5.0.4, Morvik AB)"})
        EXPECT_TRUE(p.findText(text)) << text;
    EXPECT_TRUE(p.findText("Stationsvägen 3")->bold);

    // The site plan's page carries the same header and its own title above the plan's area.
    const ReportPage plan = buildSitePlanPageHeader(input());
    EXPECT_TRUE(plan.findText("Stationsvägen 3") && !plan.findText("RESULTAT"));
    EXPECT_LT(plan.findText("Situationsplan")->y, sitePlanArea.top);
    // The partial report: the header, the stretch and track results, nothing else.
    const ReportPage partial = build('.', ReportKind::Partial);
    expectDataColumnsAligned(partial, "Delsträcka");
    EXPECT_TRUE(partial.findText("Stationsvägen 3") && partial.findText("Delresultat"));
    EXPECT_FALSE(partial.findText("RESULTAT") || partial.findText("Tåg nr:"));
    EXPECT_EQ(values(partial, "Totalt ekvivalentnivå (dBA)"), (Texts{"54.3", "52.1", "50.6"}));
    EXPECT_EQ(values(partial, "Tågposition för maxnivå (tågmitt)"), (Texts{"87°", "94°"}));
}

TEST_F(Report, SubscriptOfTheMaximumRowFollowsNationalityAndTracks)
{
    const std::string row = "Frifältsvärde, L";
    ReportPage p = build();
    EXPECT_EQ(follower(p, row)->text + " " + follower(p, row, 1)->text, "maxF maxF");  // and the simultaneous row
    EXPECT_GT(follower(p, row)->rise, 0.0);
    r.nationality[1] = 0;  // a Norwegian train on two tracks
    EXPECT_EQ(follower(build(), row)->text, "MaxM");
    oneTrack();
    p = build();
    EXPECT_EQ(follower(p, row)->text, "maxM");
    EXPECT_EQ(p.findText("Maxnivå samv. tåg/spår"), nullptr);
}

TEST_F(Report, ResultsBlockWithBothOptionsAndSeveralTracks)
{
    res.TrainLongerThanTrack = true;
    ReportPage p = build();
    const std::string indoor = "Innenivå efter korrektion för fasadisolering (-30.0 dBA)";
    const std::string facade = "Utenivå framför fasad, efter korrektion för fasadreflex (+1.5 dBA)";
    // Equivalent (57), maximum (78) and simultaneous maximum (79): free field, indoor (− 30)
    // and facade (+ 1.5, halves to even: 58.5 → 58, 80.5 → 80).
    const Texts rows[] = {values(p, "Frifältsvärde"), values(p, indoor), values(p, facade),
                          values(p, "Frifältsvärde, L"), values(p, indoor, 1), values(p, facade, 1),
                          values(p, "Frifältsvärde, L", 1), values(p, indoor, 2), values(p, facade, 2)};
    EXPECT_EQ(std::vector(std::begin(rows), std::end(rows)),
              (std::vector<Texts>{{"57"}, {"27"}, {"58"}, {"78"}, {"48"}, {"80"}, {"79"}, {"49"}, {"80"}}));
    // The warning, the indoor data with m² as a raised 2, and the segment length.
    EXPECT_TRUE(p.findText("Varning! Något/några tågs maxlängd är längre än spåren de trafikerar!"));
    const DrawOp* squared = follower(p, "Fönsteryta: 2.0 m");
    EXPECT_TRUE(squared && squared->text == "2" && squared->fontSize == 7 && squared->rise < 0);
    EXPECT_TRUE(p.findText(" Rw: 29.0  Fasadisolering: -30.0 dBA") && p.findText("Segmentlängd: 10 m"));

    // An indoor level below zero is printed as 0 (the export shows it as it is).
    oneTrack();
    r.facadeReflectionOn = 0, res.FreeFieldEq = 25.0f;
    EXPECT_EQ(values(build(','), "Innenivå efter korrektion för fasadisolering (-30,0 dBA)"), Texts{"0"});
}

// Whatever options, warning and number of tracks the results block has, the data part starts
// a little below its last line: never on it, never leaving a hole.
TEST_F(Report, DataPartStartsBelowTheResultsBlockForEveryOption)
{
    for (int m = 0; m < 16; ++m) {
        const bool indoor = m & 1, facade = m & 2, warning = m & 4, severalTracks = m & 8;
        r = twoTrackProject();
        if (!severalTracks) oneTrack();
        r.indoorLevelOn = indoor, r.facadeReflectionOn = facade;
        res.TrainLongerThanTrack = warning;
        const ReportPage p = build();
        const double gap = p.findText("Tåg nr:")->y - p.findText("Segmentlängd: 10 m")->y;
        EXPECT_TRUE(gap >= 0.8 - 1e-9 && gap <= 1.5 + 1e-9) << gap << " for options " << m;
    }
}

TEST_F(Report, DataPartRowsFollowTheStretchesInUse)
{
    const ReportPage p = build();
    expectDataColumnsAligned(p);
    // "---" where a row does not apply (curve rows, the receiver height of a cross-section
    // stretch); results to one decimal, halves to even (77.25 → 77.2).
    const std::pair<const char*, Texts> rows[] = {
        {"Tågtyp", {"X2", "Gods"}}, {"Spår", {"1,2", "1"}}, {"Radie (m)", {"---", "---", "800"}},
        {"Vinkelområde (grader)", {"0 - 90", "90 - 180", "30 - 150"}},
        {"Vinkelrätt Mottagaravstånd (m)", {"25", "25.5", "---"}},
        {"Marktyp mellandel", {"Porös", "Porös", "Porös 35%"}}, {"Bankorrektion", {"Nej", "Skarvar", "Bro u bal"}},
        {"Mottagarhöjd (m, ej tvärsektion)", {"2.0", "---", "2.0"}},
        {"Markhöjd vid mottagare (m)", {"---", "1.2", "---"}},
        {"Skärmeffekt ekvivalentnivå (m)", {"---", "2.3 - 3.1", "---"}},
        {"Totalt maxnivå, full tåglängd (dBA)", {"77.2", "75", "71"}},
        {"Tågposition för maxnivå (tågmitt)", {"87°", "94°"}}};
    for (const auto& [label, expected] : rows) EXPECT_EQ(values(p, label), expected) << label;
    EXPECT_EQ(values(p, "Totalt maxnivå (dBA)", 1), (Texts{"78.4", "71.8"}));
    // Those results are rounded in place, as they always were, so a second painting is the same.
    EXPECT_TRUE(res.TrackMaxLevel[2] == 71.8 && res.StretchMaxLevel[2] == 74.2f);  // the latter is not rounded
    const ReportPage again = build();
    ASSERT_EQ(again.ops.size(), p.ops.size());
    for (size_t i = 0; i < p.ops.size(); ++i) EXPECT_EQ(again.ops[i].text, p.ops[i].text);

    // Only straight stretches, no screen, no cross-section: their rows go; then only curves.
    oneTrack();
    r.screenType[2] = 0, r.crossSectionOn[2] = 0;
    const ReportPage straight = build();
    expectDataColumnsAligned(straight);
    EXPECT_FALSE(straight.findText("Radie (m)") || straight.findText("Markhöjd vid mottagare (m)") ||
                 straight.findText("Skärmhöjd (m)"));
    r.shape[1] = r.shape[2] = 2, r.startDistance[1] = 30.0f;
    const ReportPage curved = build();
    expectDataColumnsAligned(curved);
    EXPECT_EQ(curved.findText("Vinkelrätt Mottagaravstånd (m)"), nullptr);
    EXPECT_EQ(values(curved, "Mottagaravstånd startpunkt(m)"), (Texts{"30", "0"}));
}

TEST_F(Report, EveryOptionPageFitsAboveThePrintersEdge)
{
    // Every option and eight stretches: the columns fit the width, and the page is drawn smaller
    // so that its lowest text or line ends 1 cm above the bottom of the sheet.
    for (int s = 4; s <= 8; ++s) {
        r.stretchCount = s;
        r.track[s] = 2, r.orderInTrack[s] = s - 2, r.angleFrom[s] = 10, r.angleTo[s] = 20, r.perpDistance[s] = 30.0f;
    }
    res.TrainLongerThanTrack = true;
    const ReportPage page = build();
    expectDataColumnsAligned(page);
    const auto columns = page.textsAt(page.findText("Delsträcka")->y);
    ASSERT_EQ(columns.size(), 9u);
    for (size_t i = 2; i < columns.size(); ++i) EXPECT_GE(columns[i]->x - columns[i - 1]->x, 1.5);
    EXPECT_LE(columns.back()->x, page.findText("2026-12-06")->x);  // the right edge of the header
    EXPECT_GT(page.bottom(), kReportBottomLimitCm);
    EXPECT_NEAR(page.bottom() * page.fitScale(), kReportBottomLimitCm, 1e-9);
    const DrawOp* last = &page.ops.front();
    for (const DrawOp& op : page.ops)
        if (std::max(op.y, op.y2) > std::max(last->y, last->y2)) last = &op;
    EXPECT_EQ(last->text, "Tågposition för maxnivå (tågmitt)");
}
