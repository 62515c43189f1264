// skenbrus-cli calc: the result tables and their JSON twin, refusals, the radius error and
// the trace files. The exact numbers are pinned by the golden test.

#include <gtest/gtest.h>

#include <cmath>

#include "CliFixture.h"
#include "calc/Format.h"
#include "model/FileSystem.h"

namespace fs = std::filesystem;

namespace {
// A complete project: one Swedish X2 train and one straight stretch at 50 m.
ProjectRecord complete()
{
    ProjectRecord r = startupDefaults("2026-01-01 10:00:00");
    r.trainLengthPerDay[1] = 2000;
    r.maxTrainLength[1] = 200;
    r.speed[1] = 160;
    r.perpDistance[1] = r.bpDistance[1][2] = 50.0f;
    return r;
}
}  // namespace

TEST(CliCalc, ExampleProjectTablesShowTheValuesOfTheJson)
{
    const CliResult text = cli({"calc", example()});
    ASSERT_EQ(text.code, 0) << text.err;
    EXPECT_TRUE(text.err.empty());
    for (const char* s : {"Segmentlängd: 1 m", "Frifältsvärde (dBA)", "Bullertillskott för ekv. nivå (dBA)",
                          "Max. samv. tåg/spår", "Delsträcka för maxnivå (tågmitt)", "Tågposition för maxnivå (tågmitt)"})
        EXPECT_NE(text.out.find(s), std::string::npos) << s;

    const CliResult r = cli({"calc", example(), "--json"});
    ASSERT_EQ(r.code, 0) << r.err;
    const auto j = r.json();
    EXPECT_EQ(j["facadeCorrection"], 3.0);  // facade at 2 m, box on: distance kept
    EXPECT_EQ(j["facadeDistance"], 2.0);
    EXPECT_LT(j["screenEffectEqA"][2].get<double>(), j["screenEffectEqB"][2].get<double>());  // stretch 3's screen
    // Stored singles are written exactly (63.1 as the single it is), and the tables show the
    // same values to 0.1 dB and whole decibels.
    for (int s = 0; s < 3; ++s) {
        const double level = j["stretchEqLevel"][s].get<double>();
        EXPECT_EQ(static_cast<double>(static_cast<float>(level)), level);
        EXPECT_NE(text.out.find(formatFixed(level, 1)), std::string::npos);
    }
    const std::size_t row = text.out.find("Frifältsvärde (dBA)");
    std::istringstream cells(text.out.substr(row + std::string("Frifältsvärde (dBA)").size()));
    std::string first;
    cells >> first;
    EXPECT_EQ(first, formatFixed(j["freeFieldEq"].get<double>(), 0));
    // Result row 1: the loudest track's maximum unrounded, the simultaneous maximum in whole dB.
    const double m1 = j["trackMaxLevel"][0], m2 = j["trackMaxLevel"][1];
    EXPECT_FLOAT_EQ(j["resultGrid"][0][1].get<double>(), static_cast<float>(std::max(m1, m2)));
    EXPECT_EQ(j["resultGrid"][0][2].get<double>(), std::nearbyint(j["simultaneousMaxLevel"].get<double>()));

    // The segment setting follows the segment rule: the smallest distance of the example is
    // 60 m, so at most 30 m; never below 1.
    for (auto [given, used] : {std::pair{"100", 30}, {"7", 7}, {"0", 1}})
        EXPECT_EQ(cli({"calc", example(), "--segment", given, "--json"}).json()["segmentLength"], used) << given;
}

TEST(CliCalc, IncompleteOrUnreadableProjectIsRefused)
{
    TempDir dir;
    ProjectRecord r = complete();
    r.speed[1] = 0;
    const CliResult a = cli({"calc", dir.write("a.sdb", r)});
    EXPECT_EQ(a.code, 2);
    EXPECT_TRUE(a.out.empty());
    EXPECT_NE(a.err.find("\"Hastighet (km/h)\" för tåg 1"), std::string::npos) << a.err;
    r = complete();
    r.perpDistance[1] = 0.0f;
    const CliResult b = cli({"calc", dir.write("b.sdb", r), "--json"});
    EXPECT_EQ(b.code, 2);
    EXPECT_NE(b.err.find("\"Vinkelrätt mottagaravstånd (m)\" för delsträcka 1"), std::string::npos) << b.err;
    EXPECT_EQ(cli({"calc", dir / "none.sdb"}).code, 1);
    // A cross-section in use with a ridge above the line of sight and no screen.
    r = complete();
    r.crossSectionOn[1] = 1;
    r.bpCount[1] = 3;
    r.bpDistance[1][3] = 50.0f;
    r.bpLabel[1][3].setBytes("MT");
    r.bpLabel[1][2].setBytes("BP");
    r.bpDistance[1][2] = 25.0f;
    r.bpHeight[1][2] = 5.0f;
    const std::string blocked = dir.write("c.sdb", r);
    for (const std::vector<std::string>& args : {std::vector<std::string>{"calc", blocked},
                                                 {"export", "resultat", blocked}}) {
        const CliResult c = cli(args);
        EXPECT_EQ(c.code, 1);
        EXPECT_TRUE(c.out.empty());
        EXPECT_EQ(c.err, "Tvärsnittet för delsträcka 1 bör räknas som skärmfall eftersom\n"
                         "någon/några brytpunkter ligger ovanför siktlinjen!\n");
    }
}

TEST(CliCalc, FacadeBoxOffAndRadiusError)
{
    TempDir dir;
    ProjectRecord r = complete();
    r.facadeDistance = 5.0f;
    const auto f = cli({"calc", dir.write("f.sdb", r), "--json"}).json();
    EXPECT_EQ(f["facadeCorrection"], 2.25);
    EXPECT_EQ(f["facadeDistance"], 0.0);

    r = complete();
    r.shape[1] = 1;
    r.angleFrom[1] = 60;
    r.angleTo[1] = 120;
    r.startDistance[1] = r.endDistance[1] = 100.0f;
    r.radius[1] = 40.0f;
    const std::string bad = dir.write("r.sdb", r);
    const CliResult text = cli({"calc", bad});  // no tables, the message on stderr
    EXPECT_EQ(text.code, 0);
    EXPECT_TRUE(text.out.empty());
    EXPECT_NE(text.err.find("Felaktig radie. Beräkning kan ej utföras på sträckan!"), std::string::npos);
    const auto j = cli({"calc", bad, "--json"}).json();
    EXPECT_EQ(j["radiusError"], true);
    ASSERT_FALSE(j["messages"].empty());
    for (const auto& m : j["messages"]) EXPECT_EQ(m, "Felaktig radie. Beräkning kan ej utföras på sträckan!");
}

TEST(CliCalc, TraceFilesInTheGivenFolder)
{
    TempDir dir;
    const std::string project = dir.write("t.sdb", complete());
    const fs::path traces = dir.dir / pathFromUtf8("spår");  // a Swedish letter in the folder name
    fs::create_directories(traces);
    const CliResult ok = cli({"calc", project, "--trace-eq", "--trace-dir", utf8Of(traces)});
    ASSERT_EQ(ok.code, 0) << ok.err;
    for (const char* name : {"_ekvivalent", "_ekvivalentLd", "_ekvivalentLa", "_ekvivalentLs", "_ekvivalentLg"})
        EXPECT_GT(fs::file_size(traces / name), 0u) << name;
    // The maximum-level trace alone writes its own five files and not the equivalent ones.
    const fs::path max = dir.dir / "max";
    fs::create_directories(max);
    ASSERT_EQ(cli({"calc", example(), "--trace-max", "--trace-dir", max.string()}).code, 0);
    for (const char* f : {"_maximallD", "_maximallA", "_maximallS", "_maximallG"}) EXPECT_TRUE(fs::exists(max / f)) << f;
    EXPECT_GT(fs::file_size(max / "_maximal"), 1000u);
    EXPECT_FALSE(fs::exists(max / "_ekvivalent"));
    // A folder that does not exist ends the run with a message and no results.
    const CliResult bad = cli({"calc", project, "--trace-eq", "--trace-dir", dir / "saknas"});
    EXPECT_EQ(bad.code, 1);
    EXPECT_TRUE(bad.out.empty());
    EXPECT_NE(bad.err.find("Kan inte skapa felsökningsfilen"), std::string::npos) << bad.err;
}
