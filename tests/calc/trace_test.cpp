#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "calc/Format.h"
#include "calc/Run.h"
#include "calc/StretchLevel.h"
#include "calc/TraceFiles.h"
#include "model/ProjectFile.h"
#include "model/ProjectRecord.h"
#include "TraceCapture.h"

namespace fs = std::filesystem;

namespace {
struct TempDir {
    fs::path path;
    TempDir()
    {
        path = fs::temp_directory_path() /
               ("skenbrus-trace-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(path);
        fs::create_directories(path);
    }
    ~TempDir() { fs::remove_all(path); }
};

std::string readFile(const fs::path& p)
{
    std::ifstream f(p, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

// Lines of a CR LF file (the final line end included).
std::vector<std::string> crlfLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t pos = 0;
    for (;;) {
        const std::size_t e = text.find("\r\n", pos);
        if (e == std::string::npos) break;
        lines.push_back(text.substr(pos, e - pos));
        pos = e + 2;
    }
    EXPECT_EQ(pos, text.size()) << "text after the last CR LF";
    return lines;
}

// One source point at the foot of the normal, 100 m out: 90..90, hard source zone at one
// half porous, hard receiver zone, middle zone half porous.
ProjectRecord onePointProject()
{
    ProjectRecord r = startupDefaults("2026-01-01 10:00:00");
    r.trainLengthPerDay[1] = 1000;
    r.maxTrainLength[1] = 100;
    r.speed[1] = 200;
    r.nationality[1] = 1;
    r.trainType[1] = 0;
    r.angleFrom[1] = 90;
    r.angleTo[1] = 90;
    r.perpDistance[1] = 100.0f;
    r.bpDistance[1][2] = 100.0f;
    r.groundSource[1] = 0.5f;
    r.groundReceiver[1] = 0.0f;
    r.groundMiddle[1] = 0.5f;
    return r;
}

// n lines from the first line equal to `first`.
std::vector<std::string> block(const std::vector<std::string>& lines, const std::string& first, std::size_t n)
{
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (lines[i] == first) return std::vector<std::string>(lines.begin() + i, lines.begin() + std::min(lines.size(), i + n));
    return {};
}
}  // namespace

TEST(TraceFiles, FiveFilesOfTheExampleProjectInWindows1252WithCrLf)
{
    TempDir dir;
    ProjectRecord r = readProject(std::string(SKENBRUS_SOURCE_DIR) + "/examples/stationsvagen.sdb");
    RunSettings st;
    st.segmentLength = 1;
    st.facadeBoxChecked = r.facadeReflectionOn == 1;
    st.trace.equivalent = true;
    st.trace.folder = dir.path.string();
    AngleFactors f;
    CalcResults plain, traced;
    {
        ProjectRecord copy = r;
        RunSettings off = st;
        off.trace.equivalent = false;
        ASSERT_TRUE(RunCalculation(copy, off, f, {}, {}, plain));
    }
    ASSERT_TRUE(RunCalculation(r, st, f, {}, {}, traced));

    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir.path)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"_ekvivalent", "_ekvivalentLa", "_ekvivalentLd", "_ekvivalentLg",
                                               "_ekvivalentLs"}));

    // Writing the trace never changes a result.
    EXPECT_EQ(plain.StretchEqLevel, traced.StretchEqLevel);
    EXPECT_EQ(plain.TrackEqLevel, traced.TrackEqLevel);

    const std::string main = readFile(dir.path / "_ekvivalent");
    const auto lines = crlfLines(main);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0], "***** STR\xC4" "CKA 1 *****");  // Ä in Windows-1252
    EXPECT_EQ(lines[1], "Str\xE4" "ckform: Rak");
    EXPECT_EQ(lines[2], "Vinkelomr\xE5" "de: 20-110");
    EXPECT_EQ(lines[3], "Vinkelr\xE4" "tt mottagaravst\xE5" "nd: 60");
    EXPECT_EQ(lines[11], "Fasadreflektion: 3");
    EXPECT_EQ(lines[12], "");
    EXPECT_EQ(lines[13], "***** T\xC5" "G 1 *****");
    EXPECT_EQ(lines[17], "T\xE5" "gTyp: X2");
    // One "Totalt: " per stretch, the curved stretch with its arc frame.
    std::size_t totals = 0;
    for (const auto& l : lines) totals += l.rfind("Totalt: ", 0) == 0;
    EXPECT_EQ(totals, 3u);
    EXPECT_NE(main.find("Str\xE4" "ckform: Konvex"), std::string::npos);
    EXPECT_NE(main.find("Punkt 1 ( -1200.00 , 0.00 )"), std::string::npos);
    EXPECT_EQ(main.find('\n', 0), main.find("\r\n", 0) + 1);

    const auto lg = crlfLines(readFile(dir.path / "_ekvivalentLg"));
    EXPECT_EQ(lg[0], "***** STR\xC4" "CKA 1 *****");
    EXPECT_EQ(lg[1], "");
    EXPECT_EQ(lg[2].rfind("meter: ", 0), 0u);
    EXPECT_EQ(lg[3], "1: ");
    EXPECT_EQ(lg[4], "dLgs = 1.5");
}

TEST(TraceFiles, NothingWrittenWhenTheSwitchIsOff)
{
    TempDir dir;
    ProjectRecord r = onePointProject();
    RunSettings st;
    st.trace.folder = dir.path.string();
    st.trace.maximum = true;  // the maximum pass's switch does not open the equivalent files
    AngleFactors f;
    CalcResults res;
    ASSERT_TRUE(RunCalculation(r, st, f, {}, {}, res));
    EXPECT_TRUE(fs::is_empty(dir.path));
}

TEST(TraceFiles, TermBlockOfOneBandMatchesHandComputation)
{
    TempDir dir;
    ProjectRecord r = onePointProject();
    RunSettings st;
    st.trace.equivalent = true;
    st.trace.folder = dir.path.string();
    AngleFactors f;
    CalcResults res;
    ASSERT_TRUE(RunCalculation(r, st, f, {}, {}, res));

    // Band 5 (1000 Hz), R = 100, source 0.6 m, receiver 2 m, no screen:
    // path 2 × 50.03 = 100.06 m; dLd = −10·lg(4π·100.06²) = −51.00; dLa = −0.004·100.06 = −0.40;
    // m = 1 − 30·2.6/100 = 0.22, d(0.6) = 4.627 → dLgs = 1.5 − 0.5·4.627 = −0.81,
    // dLgi = 1.5, dLgc = 3·0.22·0.5 = 0.33, dLg = 1.02.
    const auto ld = crlfLines(readFile(dir.path / "_ekvivalentLd"));
    const auto la = crlfLines(readFile(dir.path / "_ekvivalentLa"));
    const auto ls = crlfLines(readFile(dir.path / "_ekvivalentLs"));
    const auto lg = crlfLines(readFile(dir.path / "_ekvivalentLg"));
    EXPECT_EQ(ld[2], "meter: 0 avst\xE5" "nd: 100 ");
    EXPECT_EQ(ld[7], "5: -10*Log(4*Pi*100.06*100.06)=-51.00");
    EXPECT_EQ(la[7], "5: -0.004*100.06=-0.40");
    EXPECT_EQ(block(ls, "5: ", 2), (std::vector<std::string>{"5: ", "dLs = 0"}));
    EXPECT_EQ(block(lg, "5: ", 9), (std::vector<std::string>{
                                       "5: ",
                                       "dLgs = 1.5 - 0.50*d(h)=-0.81",
                                       "dLgi = 1.5 - 0.00*d(h)=1.50",
                                       "dLgc = 3*0.22(1-0.50=0.33",
                                       "Hsi: 0.00",
                                       "Hgg: 0.00",
                                       "Hsc: 0.60",
                                       "Hic: 2.00",
                                       "dLg = 1.02",
                                   }));
    // Each term file ends the point with an empty line.
    EXPECT_EQ(ld.back(), "");
    EXPECT_EQ(lg.back(), "");

    const auto main = crlfLines(readFile(dir.path / "_ekvivalent"));
    auto at = [&](const std::string& prefix) {
        for (const auto& l : main)
            if (l.rfind(prefix, 0) == 0) return l;
        return std::string();
    };
    EXPECT_EQ(at("***** POSITION"), "***** POSITION *****");
    EXPECT_EQ(at("StartPosition: "), "StartPosition: 0.00m f\xF6" "re normalen");
    EXPECT_EQ(at("SlutPosition: "), "SlutPosition: 0.00m f\xF6" "re normalen");
    EXPECT_EQ(at("dLc: "), "dLc: 0.00");
    EXPECT_EQ(at("dLr: "), "dLr: 0.00");
    EXPECT_EQ(at("dLCv: "), "dLCv: 0.00");
    const std::string dld = at("dLd: ");
    EXPECT_EQ(dld.substr(dld.size() - 2), "  ");  // seven values each with a blank, then one more
    EXPECT_NE(dld.find(" -51.00 "), std::string::npos);
    EXPECT_NE(at("dLg: ").find(" 1.02 "), std::string::npos);
    EXPECT_EQ(at("LpTotal: "), "LpTotal: " + formatFixed(res.TrackEqLevel[1], 2));
    EXPECT_EQ(at("Totalt: "), "Totalt: " + formatGeneral(res.TrackEqLevel[1], 15));
}

TEST(TraceFiles, ZeroPathAndDecimalComma)
{
    // A stretch through the receiver (D = 0) gives the zero lines of the terms.
    ProjectRecord r = onePointProject();
    r.perpDistance[1] = 0.0f;
    TraceCapture t(TracePass::Equivalent, ',');
    StretchLevelContext ctx;
    ctx.trace = &t;
    CalcResults res;
    double Leq = 0.0;
    Array1<double, 7> e, totals;
    e.fill(60.0);
    StretchEquivalentLevel(r, 1, e, Leq, totals, 0.0, ctx, res);
    EXPECT_EQ(t.lines(TraceFile::Ld)[1], "1: -10*Log(4*Pi*0*0)=0");
    EXPECT_EQ(t.lines(TraceFile::La)[1], "1: -0*0,00=0");
    EXPECT_EQ(t.lines(TraceFile::Ls)[2], "dLs = 0");
    EXPECT_EQ(t.lines(TraceFile::Lg)[2], "dLg = 0");

    // Numbers take the given decimal separator.
    ProjectRecord p = onePointProject();
    TraceCapture c(TracePass::Equivalent, ',');
    ctx.trace = &c;
    Leq = 0.0;
    StretchEquivalentLevel(p, 1, e, Leq, totals, 0.5, ctx, res);
    EXPECT_EQ(c.lines(TraceFile::Ld)[5], "5: -10*Log(4*Pi*100,06*100,06)=-51,00");
    bool found = false;
    for (const auto& l : c.lines(TraceFile::Main)) found |= l == "dLc: 0,50";
    EXPECT_TRUE(found);
}

TEST(TraceFiles, CurvedStretchBlockUsesGeneralFormat)
{
    ProjectRecord r = onePointProject();
    r.shape[1] = 1;
    r.angleFrom[1] = 60;
    r.angleTo[1] = 120;
    r.startDistance[1] = r.endDistance[1] = r.radius[1] = 100.0f;
    TraceCapture t;
    StretchLevelContext ctx;
    ctx.trace = &t;
    ctx.segmentLength = 50;
    ctx.FacadeCorrection = 1.5;
    CalcResults res;
    double Leq = 0.0;
    Array1<double, 7> e, totals;
    e.fill(60.0);
    StretchEquivalentLevel(r, 1, e, Leq, totals, 3.0, ctx, res);
    const auto& m = t.lines(TraceFile::Main);
    const std::vector<std::string> head{"***** POSITION *****", "StartPosition: 0m",  "SlutPosition: 104.72m",
                                        "Punkt 1 ( -100.00 , 0.00 )", "Punkt 2 ( -50.00 , 86.60 )",
                                        "Mottagare ( 0.00 , 0.00 )", "", "********************", ""};
    ASSERT_GE(m.size(), head.size() + 9);
    EXPECT_EQ(std::vector<std::string>(m.begin(), m.begin() + head.size()), head);
    EXPECT_EQ(m[head.size()], "meter: 25 avst\u00e5nd: 100 ");
    EXPECT_EQ(m[head.size() + 1], "Lw0: 60 60 60 60 60 60 60  ");
    EXPECT_EQ(m[head.size() + 2], "dLc: 3");
    EXPECT_EQ(m[head.size() + 6], "dLr: 1.5");
    // Three points: 25, 75 and the rest of the arc (4.72 m) at 102.36.
    int points = 0;
    for (const auto& l : m) points += l.rfind("meter: ", 0) == 0;
    EXPECT_EQ(points, 3);
}
