// The study command: each JSON row holds exactly what calc --json prints for the modified
// project; the height lists, good and bad; the text and CSV tables.

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
    EXPECT_EQ(j["study"], "floors");
    EXPECT_EQ(j["heights"], nlohmann::ordered_json({1.5, 4.5, 7.5}));
    ASSERT_EQ(j["rows"].size(), 3u);
    for (const auto& row : j["rows"]) {
        ProjectRecord m = example;
        for (int s = 1; s <= m.stretchCount; ++s) m.receiverHeight[s] = row["height"].get<float>();
        EXPECT_EQ(row["result"], cli({"calc", tmp.write("floor.sdb", m), "--json"}).json()) << row["height"];
    }

    // Stretch 3 of the example has the screen.
    const CliResult screen = cli({"study", "screen", kExample, "--stretch", "3", "--heights", "0,2.5", "--json"});
    ASSERT_EQ(screen.code, 0) << screen.err;
    const auto s = screen.json();
    EXPECT_EQ(s["study"], "screen");
    EXPECT_EQ(s["stretch"], 3);
    ProjectRecord m = example;
    m.screenCrestHeight[3] = 2.5f;
    EXPECT_EQ(s["rows"][1]["result"], cli({"calc", tmp.write("screen.sdb", m), "--json"}).json());
    EXPECT_NE(s["rows"][0]["result"]["freeFieldEq"], s["rows"][1]["result"]["freeFieldEq"]);

    const CliResult none = cli({"study", "screen", kExample, "--stretch", "2", "--heights", "1"});
    EXPECT_EQ(none.code, 2);
    EXPECT_EQ(none.err, "Delsträcka 2 har ingen skärm\n");
}

TEST(CliStudy, HeightLists)
{
    struct Good {
        const char* list;
        std::vector<double> heights;
    };
    for (const Good& g : {Good{"1.5,4.5,7.5", {1.5, 4.5, 7.5}}, Good{" 2 , 0 ", {2, 0}},
                          Good{"0:0.1:0.3", {0, 0.1, 0.2, 0.3}}, Good{"1,5:1,5:4,5", {1.5, 3, 4.5}},
                          Good{"0:0.5:1.9", {0, 0.5, 1, 1.5}}, Good{"1000", {1000}}, Good{"0:5:999", {}}}) {
        const CliResult r = cli({"study", "floors", kExample, "--heights", g.list, "--json", "--segment", "2"});
        ASSERT_EQ(r.code, 0) << g.list << ": " << r.err;
        if (!g.heights.empty())
            EXPECT_EQ(r.json()["heights"], nlohmann::ordered_json(g.heights)) << g.list;
        else
            EXPECT_EQ(r.json()["rows"].size(), 200u);
    }
    struct Bad {
        const char* list;
        std::string message;
    };
    const std::string form = " Skriv höjderna som 1.5,4.5,7.5 eller FRÅN:STEG:TILL, t.ex. 1.5:3:10.5.\n";
    for (const Bad& b : {Bad{"", "Ange minst en höjd.\n"},
                         Bad{"1.5,,3", "Ogiltig höjd: \"\"." + form},
                         Bad{"tre", "Ogiltig höjd: \"tre\"." + form},
                         Bad{"1e999", "Ogiltig höjd: \"1e999\"." + form},
                         Bad{"1:2", "Fel form på höjderna \"1:2\"." + form},
                         Bad{"1:0:5", "Steget måste vara större än 0.\n"},
                         Bad{"5:1:1", "Första höjden (5 m) är större än sista (1 m).\n"},
                         Bad{"-1,2", "Höjden -1 m ligger utanför 0 - 1000 m.\n"},
                         Bad{"0:100:1100", "Höjden 1100 m ligger utanför 0 - 1000 m.\n"},
                         Bad{"0:0.01:2.5", "Högst 200 höjder kan beräknas på en gång (251 angavs).\n"}}) {
        const CliResult r = cli({"study", "floors", kExample, "--heights", b.list});
        EXPECT_EQ(r.code, 2) << b.list;
        EXPECT_EQ(r.err, b.message) << b.list;
        EXPECT_TRUE(r.out.empty());
    }
    EXPECT_EQ(cli({"study", "screen", kExample, "--stretch", "9", "--heights", "1"}).code, 2);
    EXPECT_EQ(cli({"study", "floors", kExample, "--heights", "1", "--json", "--csv"}).code, 2);
}

TEST(CliStudy, TextAndCsvTables)
{
    const CliResult text = cli({"study", "screen", kExample, "--stretch", "alla", "--heights", "0:1:3"});
    ASSERT_EQ(text.code, 0) << text.err;
    EXPECT_EQ(text.out.rfind("Skärmhöjdsstudie: skärmkrönets höjd på alla delsträckor med skärm\nSegmentlängd: 1 m\n\n"
                             "Höjd (m)  Ekv. frifält (dBA)  Ekv. fasad (dBA)  Max. (dBA)  Max. samv. (dBA)  "
                             "Ekv. spår 1 (dBA)  Ekv. spår 2 (dBA)  Max. spår 1 (dBA)  Max. spår 2 (dBA)\n",
                             0),
              0u)
        << text.out;
    EXPECT_EQ(std::count(text.out.begin(), text.out.end(), '\n'), 3 + 1 + 4);

    const CliResult csv = cli({"study", "floors", kExample, "--heights", "2,5", "--csv"});
    ASSERT_EQ(csv.code, 0) << csv.err;
    std::istringstream lines(csv.out);
    std::string head, row;
    std::getline(lines, head);
    EXPECT_EQ(head, "Höjd (m),Ekv. frifält (dBA),Ekv. fasad (dBA),Max. (dBA),Max. samv. (dBA),Ekv. spår 1 (dBA),"
                    "Ekv. spår 2 (dBA),Max. spår 1 (dBA),Max. spår 2 (dBA),Meddelande");
    std::getline(lines, row);
    EXPECT_EQ(row.rfind("2,", 0), 0u);
    EXPECT_EQ(std::count(row.begin(), row.end(), ','), 9);
}
