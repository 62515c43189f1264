// The study command: each JSON row holds exactly what calc --json prints for the modified
// project (null where the run is refused); the height lists, good and bad; the text and CSV tables.

#include <gtest/gtest.h>

#include "CliFixture.h"

namespace {
const std::string kExample = example();
}  // namespace

TEST(CliStudy, JsonRowsAreTheCalcObjectsOfTheModifiedProjects)
{
    TempDir tmp;
    const ProjectRecord example = readProject(kExample);
    const CliResult floors = cli({"study", "floors", kExample, "--heights", "1.5:3:7.5", "--json", "--threads", "2"});
    ASSERT_EQ(floors.code, 0) << floors.err;
    const auto j = floors.json();
    EXPECT_TRUE(j["study"] == "floors" && j["heights"] == nlohmann::ordered_json({1.5, 4.5, 7.5}));
    ASSERT_EQ(j["rows"].size(), 3u);
    for (const auto& row : j["rows"]) {
        ProjectRecord m = example;
        for (int s = 1; s <= m.stretchCount; ++s) m.receiverHeight[s] = row["height"].get<float>();
        EXPECT_EQ(row["result"], cli({"calc", tmp.write("floor.sdb", m), "--json"}).json()) << row["height"];
    }
    // Stretch 3 of the example has the screen.
    const auto s = cli({"study", "screen", kExample, "--stretch", "3", "--heights", "0,2.5", "--json"}).json();
    EXPECT_TRUE(s["study"] == "screen" && s["stretch"] == 3);
    ProjectRecord m = example;
    m.screenCrestHeight[3] = 2.5f;
    EXPECT_EQ(s["rows"][1]["result"], cli({"calc", tmp.write("screen.sdb", m), "--json"}).json());
    EXPECT_NE(s["rows"][0]["result"]["freeFieldEq"], s["rows"][1]["result"]["freeFieldEq"]);

    // A run that is refused has no result, only its message.
    const CliResult ridge = cli({"study", "floors", tmp.write("r.sdb", ridgeProject()), "--heights", "2", "--json"});
    ASSERT_EQ(ridge.code, 0) << ridge.err;
    const auto row = ridge.json()["rows"][0];
    EXPECT_TRUE(row["result"].is_null() && row["messages"].size() == 1u) << row;
    EXPECT_EQ(row["messages"][0].get<std::string>(), kRidgeMessage);
}

TEST(CliStudy, HeightListsAndRefusals)
{
    struct Good {
        const char* list;
        std::vector<double> heights;
    };
    // Lists and ranges, with decimal commas; the range may stop short of its end; 200 heights at most.
    for (const Good& g : {Good{"1.5,4.5,7.5", {1.5, 4.5, 7.5}}, Good{" 2 , 0 ", {2, 0}},
                          Good{"0:0.1:0.3", {0, 0.1, 0.2, 0.3}}, Good{"1,5:1,5:4,5", {1.5, 3, 4.5}},
                          Good{"0:0.5:1.9", {0, 0.5, 1, 1.5}}, Good{"1000", {1000}}}) {
        const CliResult r = cli({"study", "floors", kExample, "--heights", g.list, "--json", "--segment", "2"});
        ASSERT_EQ(r.code, 0) << g.list << ": " << r.err;
        EXPECT_EQ(r.json()["heights"], nlohmann::ordered_json(g.heights)) << g.list;
    }
    const CliResult most = cli({"study", "floors", kExample, "--heights", "0:5:999", "--json", "--segment", "2"});
    EXPECT_EQ(most.json()["rows"].size(), 200u);
    const std::string form = " Skriv höjderna som 1.5,4.5,7.5 eller FRÅN:STEG:TILL, t.ex. 1.5:3:10.5.\n";
    const std::pair<std::string, std::string> bad[] = {
        {"", "Ange minst en höjd.\n"}, {"1.5,,3", "Ogiltig höjd: \"\"." + form},
        {"tre", "Ogiltig höjd: \"tre\"." + form}, {"1e999", "Ogiltig höjd: \"1e999\"." + form},
        {"1:2", "Fel form på höjderna \"1:2\"." + form}, {"1:0:5", "Steget måste vara större än 0.\n"},
        {"5:1:1", "Första höjden (5 m) är större än sista (1 m).\n"},
        {"-1,2", "Höjden -1 m ligger utanför 0 - 1000 m.\n"},
        {"0:100:1100", "Höjden 1100 m ligger utanför 0 - 1000 m.\n"},
        {"0:0.01:2.5", "Högst 200 höjder kan beräknas på en gång (251 angavs).\n"}};
    for (const auto& [list, message] : bad) {
        const CliResult r = cli({"study", "floors", kExample, "--heights", list});
        EXPECT_TRUE(r.code == 2 && r.out.empty() && r.err == message) << list << ": " << r.err;
    }
    // A stretch without a screen or outside the project, and two output forms at once.
    const CliResult none = cli({"study", "screen", kExample, "--stretch", "2", "--heights", "1"});
    EXPECT_TRUE(none.code == 2 && none.err == "Delsträcka 2 har ingen skärm\n") << none.err;
    EXPECT_EQ(cli({"study", "screen", kExample, "--stretch", "9", "--heights", "1"}).code, 2);
    EXPECT_EQ(cli({"study", "floors", kExample, "--heights", "1", "--json", "--csv"}).code, 2);
}

TEST(CliStudy, TextAndCsvTables)
{
    const CliResult text = cli({"study", "screen", kExample, "--stretch", "alla", "--heights", "0:1:3"});
    ASSERT_EQ(text.code, 0) << text.err;
    EXPECT_TRUE(text.out.starts_with(
        "Skärmhöjdsstudie: skärmkrönets höjd på alla delsträckor med skärm\nSegmentlängd: 1 m\n\n"
        "Höjd (m)  Ekv. frifält (dBA)  Ekv. fasad (dBA)  Max. (dBA)  Max. samv. (dBA)  "
        "Ekv. spår 1 (dBA)  Ekv. spår 2 (dBA)  Max. spår 1 (dBA)  Max. spår 2 (dBA)\n"))
        << text.out;
    EXPECT_EQ(std::count(text.out.begin(), text.out.end(), '\n'), 3 + 1 + 4);

    const CliResult csv = cli({"study", "floors", kExample, "--heights", "2,5", "--csv"});
    ASSERT_EQ(csv.code, 0) << csv.err;
    EXPECT_TRUE(csv.out.starts_with("Höjd (m),Ekv. frifält (dBA),Ekv. fasad (dBA),Max. (dBA),Max. samv. (dBA),"
                                    "Ekv. spår 1 (dBA),Ekv. spår 2 (dBA),Max. spår 1 (dBA),Max. spår 2 (dBA),"
                                    "Meddelande\n2,"))
        << csv.out;
    const std::string rows = csv.out.substr(csv.out.find('\n') + 1);
    EXPECT_EQ(std::count(rows.begin(), rows.begin() + rows.find('\n'), ','), 9);
}
