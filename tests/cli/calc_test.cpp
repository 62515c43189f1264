// skenbrus-cli calc: the result tables, the segment setting, refusals and their messages, the
// radius error and the trace files. The numbers themselves are pinned by the golden test.

#include <gtest/gtest.h>

#include <set>

#include "CliFixture.h"
#include "calc/Format.h"
#include "model/FileSystem.h"

namespace fs = std::filesystem;

TEST(CliCalc, TablesShowTheValuesOfTheJsonAndTheSegmentFollowsItsRule)
{
    const CliResult text = cli({"calc", example()});
    ASSERT_EQ(text.code, 0) << text.err;
    EXPECT_TRUE(text.err.empty());
    for (const char* s : {"Segmentlängd: 1 m", "Bullertillskott för ekv. nivå (dBA)", "Max. samv. tåg/spår",
                          "Delsträcka för maxnivå (tågmitt)", "Tågposition för maxnivå (tågmitt)"})
        EXPECT_NE(text.out.find(s), std::string::npos) << s;
    // The free-field row shows the JSON's level in whole decibels.
    const std::string freeField = "Frifältsvärde (dBA)";
    std::istringstream row(text.out.substr(text.out.find(freeField) + freeField.size()));
    std::string first;
    row >> first;
    EXPECT_EQ(first, formatFixed(cli({"calc", example(), "--json"}).json()["freeFieldEq"].get<double>(), 0));

    // The smallest distance of the example is 60 m, so the segment is at most 30 m; never below 1.
    for (auto [given, used] : {std::pair{"100", 30}, {"7", 7}, {"0", 1}})
        EXPECT_EQ(cli({"calc", example(), "--segment", given, "--json"}).json()["segmentLength"], used) << given;
}

// calc and export refuse an incomplete, blocked or missing project and bad arguments; a curve
// too tight for its distances gets its message and no tables, but is no error.
TEST(CliCalc, RefusalsAndTheRadiusErrorGiveNoResults)
{
    TempDir dir;
    ProjectRecord speedless = completeProject(), distanceless = completeProject(), tight = completeProject();
    speedless.speed[1] = 0;
    distanceless.perpDistance[1] = 0.0f;
    tight.shape[1] = 1, tight.angleFrom[1] = 60, tight.angleTo[1] = 120, tight.radius[1] = 40.0f;
    tight.startDistance[1] = tight.endDistance[1] = 100.0f;
    const struct {
        std::vector<std::string> args;
        int code;
        std::string message;
    } cases[] = {
        {{"calc", dir.write("a.sdb", speedless)}, kExitUsage, "\"Hastighet (km/h)\" för tåg 1"},
        {{"calc", dir.write("b.sdb", distanceless), "--json"}, kExitUsage,
         "\"Vinkelrätt mottagaravstånd (m)\" för delsträcka 1"},
        {{"export", "resultat", dir / "a.sdb"}, kExitUsage, "Projektet är ofullständigt"},
        {{"calc", dir / "none.sdb"}, kExitBadFile, "none.sdb"},
        {{"export", "resultat", dir / "none.sdb"}, kExitBadFile, "none.sdb"},
        {{"calc", dir.write("c.sdb", ridgeProject())}, kExitBadFile, kRidgeMessage},
        {{"export", "resultat", dir / "c.sdb"}, kExitBadFile, kRidgeMessage},
        {{"export", "allt", example()}, kExitUsage, ""},
        {{"export", "resultat", example(), "--segment", "0"}, kExitUsage, ""},
        {{"calc", dir.write("r.sdb", tight)}, kExitOk, "Felaktig radie. Beräkning kan ej utföras på sträckan!"},
    };
    for (const auto& c : cases) {
        const CliResult r = cli(c.args);
        EXPECT_TRUE(r.code == c.code && r.out.empty()) << c.args[0] << " " << c.args[1] << ": " << r.code;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    }
    EXPECT_EQ(cli({"calc", dir / "c.sdb"}).err, kRidgeMessage + "\n");  // nothing before or after it
}

TEST(CliCalc, TraceFilesInTheGivenFolder)
{
    TempDir dir;
    const std::string project = dir.write("t.sdb", completeProject());
    // Each trace writes its own five files, and only those, into the folder (here named with Å).
    using Names = std::set<std::string>;
    for (const auto& [flag, names] : {std::pair{"--trace-eq", Names{"_ekvivalent", "_ekvivalentLd", "_ekvivalentLa",
                                                                    "_ekvivalentLs", "_ekvivalentLg"}},
                                      {"--trace-max", Names{"_maximal", "_maximallD", "_maximallA", "_maximallS",
                                                            "_maximallG"}}}) {
        const fs::path traces = dir.dir / pathFromUtf8(std::string("spår") + flag);
        fs::create_directories(traces);
        ASSERT_EQ(cli({"calc", project, flag, "--trace-dir", utf8Of(traces)}).code, 0) << flag;
        Names written;
        for (const auto& f : fs::directory_iterator(traces)) written.insert(utf8Of(f.path().filename()));
        EXPECT_EQ(written, names);
        for (const auto& f : fs::directory_iterator(traces)) EXPECT_GT(f.file_size(), 0u) << f.path();
    }
    // A folder that does not exist ends the run with a message and no results.
    const CliResult bad = cli({"calc", project, "--trace-eq", "--trace-dir", dir / "saknas"});
    EXPECT_EQ(bad.code, 1);
    EXPECT_TRUE(bad.out.empty());
    EXPECT_NE(bad.err.find("Kan inte skapa felsökningsfilen"), std::string::npos) << bad.err;
}
