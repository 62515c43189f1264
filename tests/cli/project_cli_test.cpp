#include <gtest/gtest.h>

#include "CliFixture.h"

namespace fs = std::filesystem;

static const fs::path examples = fs::path(SKENBRUS_SOURCE_DIR) / "examples";

// The bundled example projects are generated from their JSON sources and stay in step.
TEST(CliProject, ExamplesMatchTheirJsonSourcesAndTheJsonRoundTripIsExact)
{
    TempDir tmp;
    for (const char* name : {"stationsvagen", "minimal"}) {
        auto r = cli({"from-json", (examples / (std::string(name) + ".json")).string(), tmp / "x.sdb"});
        ASSERT_EQ(r.code, 0) << r.err;
        EXPECT_EQ(slurp(tmp / "x.sdb"), slurp(examples / (std::string(name) + ".sdb"))) << name;
    }
    // show --json and from-json give back the same project.
    auto shown = cli({"show", (examples / "stationsvagen.sdb").string(), "--json"});
    ASSERT_EQ(shown.code, 0);
    std::ofstream(tmp / "a.json") << shown.out;
    ASSERT_EQ(cli({"from-json", tmp / "a.json", tmp / "a.sdb"}).code, 0);
    auto again = cli({"show", tmp / "a.sdb", "--json"});
    EXPECT_EQ(again.out, shown.out);
    auto j = nlohmann::json::parse(shown.out);
    EXPECT_EQ(j["objectName"], "Kv. Stationsvägen 12");
    EXPECT_EQ(j["groundMiddle"][1].dump(), "0.35");
}

TEST(CliProject, NewWritesTheNewProjectOfTheCountry)
{
    TempDir tmp;
    ASSERT_EQ(cli({"new", tmp / "n.sdb", "--land", "Norge"}).code, 0);
    ProjectRecord r = readProject(tmp / "n.sdb");
    EXPECT_EQ(r.country, 0);
    EXPECT_EQ(r.nationality[1], 0);
    auto shown = cli({"show", tmp / "n.sdb"});
    EXPECT_NE(shown.out.find("Tåglängd (m/dygn)"), std::string::npos);
    EXPECT_NE(shown.out.find("Vinkelrätt mottagaravstånd (m)"), std::string::npos);
    EXPECT_EQ(cli({"new", tmp / "n.sdb", "--land", "Danmark"}).code, kExitUsage);
}

TEST(CliProject, ErrorsAreSwedishWithExitCodes)
{
    TempDir tmp;
    std::ofstream(tmp / "kort.sdb") << "abc";
    auto r = cli({"show", tmp / "kort.sdb"});
    EXPECT_EQ(r.code, kExitBadFile);
    EXPECT_EQ(r.err, "kort.sdb är ingen giltig skenbrusfil!\n");
    EXPECT_EQ(cli({"show", tmp / "saknas.sdb"}).code, kExitBadFile);
    EXPECT_EQ(cli({"visa"}).code, kExitUsage);
    EXPECT_EQ(cli({}).code, kExitUsage);

    std::ofstream(tmp / "bad.json") << R"({"speed": [1, 2, "tre", 4, 5, 6]})";
    r = cli({"from-json", tmp / "bad.json", tmp / "b.sdb"});
    EXPECT_EQ(r.code, kExitBadFile);
    EXPECT_NE(r.err.find("\"speed\""), std::string::npos);
    EXPECT_FALSE(fs::exists(tmp / "b.sdb"));
    std::ofstream(tmp / "syntax.json") << "{ nej";
    EXPECT_EQ(cli({"from-json", tmp / "syntax.json", tmp / "b.sdb"}).code, kExitBadFile);
    std::ofstream(tmp / "unsafe.json") << R"({"trainCount": 9})";
    r = cli({"from-json", tmp / "unsafe.json", tmp / "b.sdb"});
    EXPECT_EQ(r.code, kExitBadFile);
    EXPECT_FALSE(fs::exists(tmp / "b.sdb"));
}
