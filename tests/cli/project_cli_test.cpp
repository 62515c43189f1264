// skenbrus-cli new, show and from-json: the examples and their JSON sources, New of a
// country, and the refusals with their exit codes and Swedish messages.

#include <gtest/gtest.h>

#include "CliFixture.h"

namespace fs = std::filesystem;

// The bundled example projects are generated from their JSON sources and stay in step.
TEST(CliProject, ExamplesMatchTheirJsonSourcesAndTheJsonRoundTripIsExact)
{
    TempDir tmp;
    for (const std::string name : {"stationsvagen", "minimal"}) {
        const CliResult r = cli({"from-json", example((name + ".json").c_str()), tmp / "x.sdb"});
        ASSERT_EQ(r.code, 0) << r.err;
        EXPECT_EQ(slurp(tmp / "x.sdb"), slurp(example((name + ".sdb").c_str()))) << name;
    }
    // show --json and from-json give back the same project.
    const CliResult shown = cli({"show", example(), "--json"});
    ASSERT_EQ(shown.code, 0);
    std::ofstream(tmp / "a.json") << shown.out;
    ASSERT_EQ(cli({"from-json", tmp / "a.json", tmp / "a.sdb"}).code, 0);
    EXPECT_EQ(cli({"show", tmp / "a.sdb", "--json"}).out, shown.out);
    EXPECT_EQ(shown.json()["objectName"], "Kv. Stationsvägen 12");
    EXPECT_EQ(shown.json()["groundMiddle"][1].dump(), "0.35");
}

TEST(CliProject, NewWritesTheNewProjectOfTheCountry)
{
    TempDir tmp;
    ASSERT_EQ(cli({"new", tmp / "n.sdb", "--land", "Norge"}).code, 0);
    const ProjectRecord r = readProject(tmp / "n.sdb");
    EXPECT_TRUE(r.country == 0 && r.nationality[1] == 0);
    const std::string shown = cli({"show", tmp / "n.sdb"}).out;
    EXPECT_NE(shown.find("Tåglängd (m/dygn)"), std::string::npos);
    EXPECT_NE(shown.find("Vinkelrätt mottagaravstånd (m)"), std::string::npos);
    EXPECT_EQ(cli({"new", tmp / "n.sdb", "--land", "Danmark"}).code, kExitUsage);
}

TEST(CliProject, ErrorsAreSwedishWithExitCodes)
{
    TempDir tmp;
    std::ofstream(tmp / "kort.sdb") << "abc";
    const CliResult shortFile = cli({"show", tmp / "kort.sdb"});
    EXPECT_EQ(shortFile.code, kExitBadFile);
    EXPECT_EQ(shortFile.err, "kort.sdb är ingen giltig skenbrusfil!\n");
    EXPECT_EQ(cli({"show", tmp / "saknas.sdb"}).code, kExitBadFile);
    // A path starting with / is a file, also where options may be written /name (Windows).
    EXPECT_EQ(cli({"show", "/saknas/x.sdb"}).code, kExitBadFile);
    EXPECT_EQ(cli({"visa"}).code, kExitUsage);
    EXPECT_EQ(cli({}).code, kExitUsage);

    // JSON with a wrong type, broken syntax or an unsafe value writes no project.
    for (const auto& [json, named] : {std::pair{R"({"speed": [1, 2, "tre", 4, 5, 6]})", "\"speed\""},
                                      {"{ nej", ""}, {R"({"trainCount": 9})", ""}}) {
        std::ofstream(tmp / "bad.json") << json;
        const CliResult r = cli({"from-json", tmp / "bad.json", tmp / "b.sdb"});
        EXPECT_EQ(r.code, kExitBadFile) << json;
        EXPECT_NE(r.err.find(named), std::string::npos) << r.err;
        EXPECT_FALSE(fs::exists(tmp / "b.sdb")) << json;
    }
}
