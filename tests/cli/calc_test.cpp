#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>

#include "cli/Cli.h"
#include "model/ProjectFile.h"
#include "model/ProjectRecord.h"

namespace fs = std::filesystem;

namespace {
const std::string kExample = std::string(SKENBRUS_SOURCE_DIR) + "/examples/stationsvagen.sdb";

struct Result {
    int code;
    std::string out, err;
};

Result cli(const std::vector<std::string>& args)
{
    std::ostringstream out, err;
    const int code = runCli(args, out, err);
    return {code, out.str(), err.str()};
}

struct TempDir {
    fs::path path;
    TempDir()
    {
        path = fs::temp_directory_path() /
               ("skenbrus-cli-calc-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(path);
        fs::create_directories(path);
    }
    ~TempDir() { fs::remove_all(path); }
    std::string file(const std::string& name) const { return (path / name).string(); }
};

// A complete project: one Swedish X2 train and one straight stretch at 50 m.
ProjectRecord complete()
{
    ProjectRecord r = startupDefaults("2026-01-01 10:00:00");
    r.trainLengthPerDay[1] = 2000;
    r.maxTrainLength[1] = 200;
    r.speed[1] = 160;
    r.perpDistance[1] = 50.0f;
    r.bpDistance[1][2] = 50.0f;
    return r;
}
}  // namespace

TEST(CliCalc, ExampleProjectAsResultTables)
{
    Result r = cli({"calc", kExample});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_TRUE(r.err.empty());
    EXPECT_NE(r.out.find("Segmentlängd: 1 m"), std::string::npos);
    EXPECT_NE(r.out.find("Frifältsvärde (dBA)"), std::string::npos);
    EXPECT_NE(r.out.find("Ekv. "), std::string::npos);
    EXPECT_NE(r.out.find("Delsträcka"), std::string::npos);
    EXPECT_NE(r.out.find("Bullertillskott för ekv. nivå (dBA)"), std::string::npos);

    // The text shows what the JSON holds: stretches to 0.1 dB, the total in whole decibels.
    Result j = cli({"calc", kExample, "--json"});
    ASSERT_EQ(j.code, 0);
    const auto doc = nlohmann::json::parse(j.out);
    std::ostringstream row;
    for (int s = 0; s < 3; ++s) {
        std::ostringstream cell;
        cell.setf(std::ios::fixed);
        cell.precision(1);
        cell << doc["stretchEqLevel"][s].get<double>();
        EXPECT_NE(r.out.find(cell.str()), std::string::npos) << cell.str();
    }
    EXPECT_NE(r.out.find(std::to_string(doc["freeFieldEq"].get<int>())), std::string::npos);
}

TEST(CliCalc, JsonKeysAndStoredValues)
{
    Result r = cli({"calc", kExample, "--json"});
    ASSERT_EQ(r.code, 0) << r.err;
    const auto j = nlohmann::ordered_json::parse(r.out);
    std::vector<std::string> keys;
    for (auto it = j.begin(); it != j.end(); ++it) keys.push_back(it.key());
    EXPECT_EQ(keys, (std::vector<std::string>{"segmentLength", "facadeCorrection", "freeFieldEq", "stretchEqLevel",
                                              "trackEqLevel", "radiusError", "messages", "screenEffectEqA",
                                              "screenEffectEqB", "screenEffectMaxA", "screenEffectMaxB",
                                              "facadeDistance"}));
    EXPECT_EQ(j["segmentLength"], 1);
    EXPECT_EQ(j["stretchEqLevel"].size(), 8u);
    EXPECT_EQ(j["trackEqLevel"].size(), 4u);
    for (const char* k : {"screenEffectEqA", "screenEffectEqB", "screenEffectMaxA", "screenEffectMaxB"})
        EXPECT_EQ(j[k].size(), 8u) << k;
    EXPECT_EQ(j["radiusError"], false);
    EXPECT_TRUE(j["messages"].empty());
    EXPECT_EQ(j["facadeCorrection"], 3.0);  // facade at 2 m
    EXPECT_EQ(j["facadeDistance"], 2.0);    // the facade box is on
    // Stored singles are written exactly: a level to 0.1 dB reads back as the single it was.
    const double level = j["stretchEqLevel"][0].get<double>();
    EXPECT_EQ(static_cast<double>(static_cast<float>(level)), level);
    EXPECT_NE(level, std::round(level * 10.0) / 10.0);
    // Stretch 3 has a screen: its effective heights are filled in.
    EXPECT_LT(j["screenEffectEqA"][2].get<double>(), j["screenEffectEqB"][2].get<double>());
}

TEST(CliCalc, SegmentSettingFollowsTheSegmentRule)
{
    // The smallest distance of the example is 60 m: the segment is at most 30 m.
    Result r = cli({"calc", kExample, "--segment", "100", "--json"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(nlohmann::json::parse(r.out)["segmentLength"], 30);
    r = cli({"calc", kExample, "--segment", "7", "--json"});
    EXPECT_EQ(nlohmann::json::parse(r.out)["segmentLength"], 7);
    r = cli({"calc", kExample, "--segment", "0", "--json"});
    EXPECT_EQ(nlohmann::json::parse(r.out)["segmentLength"], 1);
}

TEST(CliCalc, IncompleteProjectIsRefused)
{
    TempDir dir;
    ProjectRecord r = complete();
    r.speed[1] = 0;
    writeProject(dir.file("a.sdb"), r);
    Result a = cli({"calc", dir.file("a.sdb")});
    EXPECT_EQ(a.code, 2);
    EXPECT_TRUE(a.out.empty());
    EXPECT_NE(a.err.find("\"Hastighet (km/h)\" för tåg 1"), std::string::npos) << a.err;

    r = complete();
    r.perpDistance[1] = 0.0f;
    writeProject(dir.file("b.sdb"), r);
    Result b = cli({"calc", dir.file("b.sdb"), "--json"});
    EXPECT_EQ(b.code, 2);
    EXPECT_NE(b.err.find("\"Vinkelrätt mottagaravstånd (m)\" för delsträcka 1"), std::string::npos) << b.err;

    Result missing = cli({"calc", dir.file("none.sdb")});
    EXPECT_EQ(missing.code, 1);
}

TEST(CliCalc, FacadeBoxOffClearsTheDistance)
{
    TempDir dir;
    ProjectRecord r = complete();
    r.facadeDistance = 5.0f;
    r.facadeReflectionOn = 0;
    writeProject(dir.file("f.sdb"), r);
    Result res = cli({"calc", dir.file("f.sdb"), "--json"});
    ASSERT_EQ(res.code, 0) << res.err;
    const auto j = nlohmann::json::parse(res.out);
    EXPECT_EQ(j["facadeCorrection"], 2.25);
    EXPECT_EQ(j["facadeDistance"], 0.0);
}

TEST(CliCalc, RadiusErrorWithholdsTheTables)
{
    TempDir dir;
    ProjectRecord r = complete();
    r.shape[1] = 1;
    r.angleFrom[1] = 60;
    r.angleTo[1] = 120;
    r.startDistance[1] = r.endDistance[1] = 100.0f;
    r.radius[1] = 40.0f;
    writeProject(dir.file("r.sdb"), r);
    Result text = cli({"calc", dir.file("r.sdb")});
    EXPECT_EQ(text.code, 0);
    EXPECT_TRUE(text.out.empty());
    EXPECT_NE(text.err.find("Felaktig radie. Beräkning kan ej utföras på sträckan!"), std::string::npos);

    Result json = cli({"calc", dir.file("r.sdb"), "--json"});
    ASSERT_EQ(json.code, 0);
    const auto j = nlohmann::json::parse(json.out);
    EXPECT_EQ(j["radiusError"], true);
    EXPECT_EQ(j["messages"], nlohmann::json::array({"Felaktig radie. Beräkning kan ej utföras på sträckan!"}));
}

TEST(CliCalc, TraceFilesInTheGivenFolder)
{
    TempDir dir;
    ProjectRecord r = complete();
    writeProject(dir.file("t.sdb"), r);
    const fs::path traces = dir.path / "spar";
    fs::create_directories(traces);
    Result ok = cli({"calc", dir.file("t.sdb"), "--trace-eq", "--trace-dir", traces.string()});
    ASSERT_EQ(ok.code, 0) << ok.err;
    for (const char* name : {"_ekvivalent", "_ekvivalentLd", "_ekvivalentLa", "_ekvivalentLs", "_ekvivalentLg"})
        EXPECT_GT(fs::file_size(traces / name), 0u) << name;

    // Without the switch nothing is written.
    const fs::path quiet = dir.path / "tyst";
    fs::create_directories(quiet);
    ASSERT_EQ(cli({"calc", dir.file("t.sdb"), "--trace-dir", quiet.string()}).code, 0);
    EXPECT_TRUE(fs::is_empty(quiet));

    // A folder that does not exist ends the run with a message and no results.
    Result bad = cli({"calc", dir.file("t.sdb"), "--trace-eq", "--trace-dir", (dir.path / "saknas").string()});
    EXPECT_EQ(bad.code, 1);
    EXPECT_TRUE(bad.out.empty());
    EXPECT_NE(bad.err.find("Kan inte skapa felsökningsfilen"), std::string::npos) << bad.err;
}
