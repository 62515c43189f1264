#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "calc/Format.h"
#include "calc/StretchLevel.h"
#include "model/ProjectFile.h"
#include "TraceCapture.h"
#include "projects.h"

namespace fs = std::filesystem;

namespace {
struct TempDir {
    fs::path path;
    TempDir()
        : path(fs::temp_directory_path() /
               ("skenbrus-trace-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name())))
    {
        fs::remove_all(path);
        fs::create_directories(path);
    }
    ~TempDir() { fs::remove_all(path); }
};

// The lines of a CR LF file; a bare LF or a missing last line end fails the test.
std::vector<std::string> lines(const fs::path& p)
{
    std::ifstream f(p, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    const std::string text = s.str();
    std::vector<std::string> out;
    std::size_t pos = 0, e;
    while ((e = text.find("\r\n", pos)) != std::string::npos) {
        out.push_back(text.substr(pos, e - pos));
        EXPECT_EQ(out.back().find('\n'), std::string::npos);
        pos = e + 2;
    }
    EXPECT_EQ(pos, text.size());
    return out;
}

// n lines from the first one equal to `first`, or the first one starting with it when n = 1.
std::vector<std::string> from(const std::vector<std::string>& v, const std::string& first, std::size_t n)
{
    for (std::size_t i = 0; i < v.size(); ++i)
        if (v[i] == first || (n == 1 && v[i].rfind(first, 0) == 0))
            return {v.begin() + i, v.begin() + std::min(v.size(), i + n)};
    return {};
}

// One source point at the foot of the normal, 100 m out; source zone half porous,
// receiver zone hard, middle zone half porous.
ProjectRecord onePoint()
{
    ProjectRecord r = straight(90, 90, 100.0f);
    setTrain(r, 1, 1000, 100, 200);
    r.groundSource[1] = r.groundMiddle[1] = 0.5f;
    r.groundReceiver[1] = 0.0f;
    return r;
}

// The run with the equivalent trace (and the maximum-level one when asked) written to dir.
CalcResults runTraced(ProjectRecord r, const fs::path& dir, bool maximum = false)
{
    RunSettings st;
    st.facadeBoxChecked = r.facadeReflectionOn == 1;
    st.trace.equivalent = true;
    st.trace.maximum = maximum;
    st.trace.folder = dir.string();
    const Calculation c = calculate(r, st);
    EXPECT_TRUE(c.ran);
    return c.res;
}
}  // namespace

TEST(Trace, ExampleProjectFilesInWindows1252)
{
    TempDir dir;
    ProjectRecord r = readProject(std::string(SKENBRUS_SOURCE_DIR) + "/examples/stationsvagen.sdb");
    const CalcResults traced = runTraced(r, dir.path, true);
    EXPECT_EQ(lines(dir.path / "_maximal").at(0), "***** SP\xC5" "R 1 *****");
    RunSettings plain;
    plain.facadeBoxChecked = r.facadeReflectionOn == 1;
    const CalcResults untraced = calculate(r, plain).res;  // the trace changes nothing
    EXPECT_TRUE(untraced.StretchEqLevel == traced.StretchEqLevel && untraced.TrackMaxLevel == traced.TrackMaxLevel);

    const auto main = lines(dir.path / "_ekvivalent");
    ASSERT_GT(main.size(), 20u);
    EXPECT_EQ(main[0], "***** STR\xC4" "CKA 1 *****");
    // The stretch block: its inputs one a line, then the trains.
    EXPECT_EQ((std::vector<std::string>{main[1], main[3], main[11], main[13]}),
              (std::vector<std::string>{"Str\xE4" "ckform: Rak", "Vinkelr\xE4" "tt mottagaravst\xE5" "nd: 60",
                                        "Fasadreflektion: 3", "***** T\xC5" "G 1 *****"}));
    EXPECT_EQ(main[17], "T\xE5" "gTyp: X2");
    EXPECT_EQ(std::count_if(main.begin(), main.end(), [](const std::string& l) { return l.rfind("Totalt: ", 0) == 0; }),
              3);
    EXPECT_EQ(from(main, "Punkt 1 ( ", 1), std::vector<std::string>{"Punkt 1 ( -1200.00 , 0.00 )"});
    EXPECT_EQ(from(main, "Bankorrektion: R", 1), std::vector<std::string>{"Bankorrektion: R\xE4" "l med skarv (3dB)"});
    const auto lg = lines(dir.path / "_ekvivalentLg");
    EXPECT_EQ(std::vector<std::string>(lg.begin(), lg.begin() + 2),
              (std::vector<std::string>{"***** STR\xC4" "CKA 1 *****", ""}));
    EXPECT_EQ(lg[2].rfind("meter: 0 avst\xE5" "nd: 60 ", 0), 0u);
    EXPECT_EQ(lg[3], "1: ");
}

TEST(Trace, TermBlockOfOneBandMatchesHandComputation)
{
    TempDir dir;
    const CalcResults res = runTraced(onePoint(), dir.path);
    // Band 5 (1000 Hz), R = 100, source 0.6 m, receiver 2 m, no screen: path 2 × 50.03 =
    // 100.06 m; dLd = −10·lg(4π·100.06²) = −51.00; dLa = −0.004·100.06 = −0.40;
    // m = 1 − 30·2.6/100 = 0.22; d(0.6) = 4.627, dLgs = 1.5 − 0.5·4.627 = −0.81;
    // dLgi = 1.5; dLgc = 3·0.22·0.5 = 0.33; dLg = 1.02.
    const auto ld = lines(dir.path / "_ekvivalentLd"), la = lines(dir.path / "_ekvivalentLa");
    EXPECT_EQ(ld[2], "meter: 0 avst\xE5" "nd: 100 ");
    EXPECT_EQ(ld[7], "5: -10*Log(4*Pi*100.06*100.06)=-51.00");
    EXPECT_EQ(la[7], "5: -0.004*100.06=-0.40");
    EXPECT_EQ(ld.back(), "");
    EXPECT_EQ(from(lines(dir.path / "_ekvivalentLs"), "5: ", 2), (std::vector<std::string>{"5: ", "dLs = 0"}));
    const auto lg = from(lines(dir.path / "_ekvivalentLg"), "5: ", 9);  // the line forms as in the ground tests
    EXPECT_EQ(lg.at(1), "dLgs = 1.5 - 0.50*d(h)=-0.81");
    EXPECT_EQ(lg.at(8), "dLg = 1.02");

    const auto main = lines(dir.path / "_ekvivalent");
    EXPECT_EQ(from(main, "***** POSITION *****", 3).at(2), "SlutPosition: 0.00m f\xF6re normalen");
    const auto dld = from(main, "dLd: ", 1)[0];
    EXPECT_EQ(dld.substr(dld.size() - 9), " -51.00  ");  // each value with a blank, then one more
    EXPECT_NE(from(main, "dLg: ", 1)[0].find(" 1.02 "), std::string::npos);
    EXPECT_EQ(from(main, "dLCv: ", 1)[0], "dLCv: 0.00");
    EXPECT_EQ(from(main, "LpTotal: ", 1)[0], "LpTotal: " + formatFixed(res.TrackEqLevel[1], 2));
    EXPECT_EQ(from(main, "Totalt: ", 1)[0], "Totalt: " + formatGeneral(res.TrackEqLevel[1], 15));
}

TEST(Trace, ZeroPathCurvedBlockAndDecimalComma)
{
    Array1<double, 7> e;
    e.fill(60.0);
    CalcResults res;
    // A stretch through the receiver (D = 0): the zero lines of every term.
    ProjectRecord r = onePoint();
    r.perpDistance[1] = 0.0f;
    TraceCapture z(TracePass::Equivalent, ',');
    StretchLevelContext ctx;
    ctx.trace = &z;
    StretchEquivalentLevel(r, 1, e, 0.5, ctx, res);
    EXPECT_EQ(z.lines(TraceFile::Ld)[1], "1: -10*Log(4*Pi*0*0)=0");
    EXPECT_EQ(z.lines(TraceFile::La)[1], "1: -0*0,00=0");
    EXPECT_EQ(from(z.lines(TraceFile::Main), "dLc: ", 1)[0], "dLc: 0,50");

    // Curved stretch (Konvex, θ = 60°, S = 104.72 m) in 50 m segments: numbers in G.
    ProjectRecord c = onePoint();
    makeCurved(c, 1, 1, 60, 120, 100, 100, 100);
    TraceCapture t;
    ctx.trace = &t;
    ctx.segmentLength = 50;
    ctx.FacadeCorrection = 1.5;
    StretchEquivalentLevel(c, 1, e, 3.0, ctx, res);
    const auto& m = t.lines(TraceFile::Main);
    EXPECT_EQ((std::vector<std::string>{m.at(2), m[4], m[9], m[10], m[11]}),
              (std::vector<std::string>{"SlutPosition: 104.72m", "Punkt 2 ( -50.00 , 86.60 )", "meter: 25 avstånd: 100 ",
                                        "Lw0: 60 60 60 60 60 60 60  ", "dLc: 3"}));
    EXPECT_EQ(from(m, "dLr: ", 1)[0], "dLr: 1.5");
    EXPECT_EQ(std::count_if(m.begin(), m.end(), [](const std::string& l) { return l.rfind("meter: ", 0) == 0; }), 3);
}
