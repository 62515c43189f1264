#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>

#include "calc/Format.h"
#include "cli/Cli.h"
#include "model/FileSystem.h"
#include "model/ProjectFile.h"

namespace fs = std::filesystem;

namespace {
const std::string kExample = std::string(SKENBRUS_SOURCE_DIR) + "/examples/stationsvagen.sdb";

struct Result {
    int code;
    std::string out, err;
    nlohmann::ordered_json json() const { return nlohmann::ordered_json::parse(out); }
};

Result cli(const std::vector<std::string>& args)
{
    std::ostringstream out, err;
    const int code = runCli(args, out, err);
    return {code, out.str(), err.str()};
}

struct TempDir {
    fs::path path = fs::temp_directory_path() /
                    ("skenbrus-cli-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    TempDir()
    {
        fs::remove_all(path);
        fs::create_directories(path);
    }
    ~TempDir() { fs::remove_all(path); }
    // Writes the project and returns its path.
    std::string write(const std::string& name, const ProjectRecord& r) const
    {
        const std::string p = (path / name).string();
        writeProject(p, r);
        return p;
    }
};

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

TEST(CliCalc, ExampleProjectAsTablesAndJson)
{
    const Result text = cli({"calc", kExample});
    ASSERT_EQ(text.code, 0) << text.err;
    EXPECT_TRUE(text.err.empty());
    for (const char* s : {"Segmentlängd: 1 m", "Resultat", "Ekv. ", "Frifältsvärde (dBA)", "Spår", "Delsträcka",
                          "Bullertillskott för ekv. nivå (dBA)"})
        EXPECT_NE(text.out.find(s), std::string::npos) << s;

    const Result r = cli({"calc", kExample, "--json"});
    ASSERT_EQ(r.code, 0) << r.err;
    const auto j = r.json();
    std::vector<std::string> keys;  // the equivalent-level keys lead the object
    for (auto it = j.begin(); it != j.end() && keys.size() < 12; ++it) keys.push_back(it.key());
    EXPECT_EQ(keys, (std::vector<std::string>{"segmentLength", "facadeCorrection", "freeFieldEq", "stretchEqLevel",
                                              "trackEqLevel", "radiusError", "messages", "screenEffectEqA",
                                              "screenEffectEqB", "screenEffectMaxA", "screenEffectMaxB",
                                              "facadeDistance"}));
    EXPECT_EQ(j["stretchEqLevel"].size(), 8u);
    EXPECT_EQ(j["trackEqLevel"].size(), 4u);
    EXPECT_EQ(j["screenEffectMaxB"].size(), 8u);
    EXPECT_EQ(j["radiusError"], false);
    EXPECT_TRUE(j["messages"].empty());
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
    // The free-field row starts with the equivalent level.
    const std::size_t row = text.out.find("Frifältsvärde (dBA)");
    ASSERT_NE(row, std::string::npos);
    std::istringstream cells(text.out.substr(row + std::string("Frifältsvärde (dBA)").size()));
    std::string first;
    cells >> first;
    EXPECT_EQ(first, formatFixed(j["freeFieldEq"].get<double>(), 0));
}

TEST(CliCalc, SegmentSettingFollowsTheSegmentRule)
{
    // The smallest distance of the example is 60 m: at most 30 m; never below 1.
    for (auto [given, used] : {std::pair{"100", 30}, {"7", 7}, {"0", 1}})
        EXPECT_EQ(cli({"calc", kExample, "--segment", given, "--json"}).json()["segmentLength"], used) << given;
}

TEST(CliCalc, IncompleteOrUnreadableProjectIsRefused)
{
    TempDir dir;
    ProjectRecord r = complete();
    r.speed[1] = 0;
    const Result a = cli({"calc", dir.write("a.sdb", r)});
    EXPECT_EQ(a.code, 2);
    EXPECT_TRUE(a.out.empty());
    EXPECT_NE(a.err.find("\"Hastighet (km/h)\" för tåg 1"), std::string::npos) << a.err;
    r = complete();
    r.perpDistance[1] = 0.0f;
    const Result b = cli({"calc", dir.write("b.sdb", r), "--json"});
    EXPECT_EQ(b.code, 2);
    EXPECT_NE(b.err.find("\"Vinkelrätt mottagaravstånd (m)\" för delsträcka 1"), std::string::npos) << b.err;
    EXPECT_EQ(cli({"calc", (dir.path / "none.sdb").string()}).code, 1);
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
        const Result c = cli(args);
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
    const Result text = cli({"calc", bad});  // no tables, the message on stderr
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
    const fs::path traces = dir.path / pathFromUtf8("spår");  // a Swedish letter in the folder name
    fs::create_directories(traces);
    const Result ok = cli({"calc", project, "--trace-eq", "--trace-dir", utf8Of(traces)});
    ASSERT_EQ(ok.code, 0) << ok.err;
    for (const char* name : {"_ekvivalent", "_ekvivalentLd", "_ekvivalentLa", "_ekvivalentLs", "_ekvivalentLg"})
        EXPECT_GT(fs::file_size(traces / name), 0u) << name;
    // A folder that does not exist ends the run with a message and no results.
    const Result bad = cli({"calc", project, "--trace-eq", "--trace-dir", (dir.path / "saknas").string()});
    EXPECT_EQ(bad.code, 1);
    EXPECT_TRUE(bad.out.empty());
    EXPECT_NE(bad.err.find("Kan inte skapa felsökningsfilen"), std::string::npos) << bad.err;
}
