#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "ReportFixtures.h"
#include "report/Exports.h"

namespace {
// Joins lines with CR LF after each, as the exports end every line.
std::string crlf(const std::vector<std::string>& lines)
{
    std::string s;
    for (const auto& l : lines) s += l + "\r\n";
    return s;
}

// Splits a TAB/CR LF text the way a spreadsheet pastes it: rows of cells.
std::vector<std::vector<std::string>> cellsOf(const std::string& text)
{
    std::vector<std::vector<std::string>> rows;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find("\r\n", start);
        EXPECT_NE(end, std::string::npos) << "line without CR LF";
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << "stray line break in: " << line;
        std::vector<std::string> cells;
        std::stringstream ss(line);
        std::string cell;
        while (std::getline(ss, cell, '\t')) cells.push_back(cell);
        if (!line.empty() && line.back() == '\t') cells.push_back("");
        rows.push_back(cells);
        start = end + 2;
    }
    return rows;
}
}  // namespace

TEST(Exports, ResultsOfTwoTracksWithBothCorrectionsRoundHalvesToEven)
{
    ProjectRecord r = twoTrackProject();
    CalcResults res = twoTrackResults();
    const std::string indoor = "Innenivå efter korrektion för fasadisolering (-30.0 dBA)\t";
    const std::string facade = "Utenivå framför fasad, efter korrektion för fasadreflex (+1.5 dBA)\t";
    EXPECT_EQ(exportResults(r, res),
              crlf({"RESULTAT", "Ekvivalentnivå\tdBA", "Frifältsvärde\t57", indoor + "27", facade + "58", "",
                    "Maxnivå\tdBA", "Frifältsvärde\t78", indoor + "48", facade + "80", "",
                    "Maxnivå vid samv. tåg/spår\tdBA", "Frifältsvärde\t79", indoor + "49", facade + "80"}));

    // One track and no options: no simultaneous section and no corrected rows.
    r.stretchCount = 2;
    r.indoorLevelOn = 0;
    r.facadeReflectionOn = 0;
    EXPECT_EQ(exportResults(r, res), crlf({"RESULTAT", "Ekvivalentnivå\tdBA", "Frifältsvärde\t57", "", "Maxnivå\tdBA",
                                           "Frifältsvärde\t78"}));

    // Corrected levels are not limited to zero (the report's are), and use the decimal separator.
    r.indoorLevelOn = 1;
    res.FreeFieldEq = 25.0f;
    const std::string text = exportResults(r, res, ',');
    EXPECT_NE(text.find("Innenivå efter korrektion för fasadisolering (-30,0 dBA)\t-5\r\n"), std::string::npos) << text;
}

TEST(Exports, TrainDataListsTracksWithSeparatorAfterAllButTheLastTrack)
{
    ProjectRecord r = twoTrackProject();
    EXPECT_EQ(exportTrainData(r),
              crlf({"TÅGDATA", "Tåg nr:\t1\t2", "Tåglängd (m/dygn)\t1200\t800", "Maximal tåglängd (m)\t300\t400",
                    "Hastighet (km/h)\t160\t100", "Tågtyp\tX2\tGods", "Nationalitet\tSvenskt\tSvenskt",
                    "Spår\t1, 2\t1, "}));
    // A train only on the last track gets no separator; tracks beyond those in use are ignored.
    r.runsOnTrack[2][1] = 0;
    r.runsOnTrack[2][2] = 1;
    r.runsOnTrack[2][3] = 1;
    EXPECT_NE(exportTrainData(r).find("Spår\t1, 2\t2\r\n"), std::string::npos);
}

TEST(Exports, StretchDataWithAndWithoutCurveScreenAndCrossSection)
{
    ProjectRecord r = twoTrackProject();
    CalcResults res = twoTrackResults();
    EXPECT_EQ(exportStretchData(r, res),
              crlf({"STRÄCKDATA",
                    "Delsträcka:\t1\t2\t3",
                    "Spår\t1\t1\t2",
                    "Ordning inom spåret\t1\t2\t1",
                    "Form\tRakt\tRakt\tKonvex",
                    "Vinkelområde (grader)\t'0 - 90\t'90 - 180\t'30 - 150",
                    "Vinkelrätt Mottagaravstånd (m)\t25\t25.5\t---",
                    "Mottagaravstånd startpunkt (m)\t---\t---\t40",
                    "Mottagaravstånd slutpunkt (m)\t---\t---\t45.5",
                    "Radie (m)\t---\t---\t800",
                    "Marktyp källdel\tPorös\tHård\tPorös",
                    "Marktyp mottagardel\tPorös\tPorös\tPorös",
                    "Marktyp mellandel\tPorös\tPorös\tPorös 35%",
                    "Bankorrektion\tNej\tSkarvar\tBro utan ballast",
                    "Växel/Korsning\tNej\tJa\tNej",
                    "",
                    "Tvärsektion\tNej\tJa\tNej",
                    "Mottagarhöjd över marken (m)\t---\t2.0\t---",
                    "Skärm\tNej\tAbsorb.\tNej",
                    "Avstånd spårmitt-skärm (m)\t---\t4.0\t---",
                    "Skärmkrönets höjd över marken (m)\t---\t3.5\t---",
                    "Spårhöjd (m)\t---\t0.5\t---",
                    "Skärmhöjd (m)\t---\t3.0\t---",
                    "Mottagarhöjd (m)\t---\t1.2\t---",
                    "Skärmeffekt ekvivalentnivå (m)\t---\t[2.3 - 3.1]\t---",
                    "Skärmeffekt maxnivå (m)\t---\t[2.5 - 3.4]\t---",
                    "",
                    "Totalt ekvivalentnivå (dBA)\t54.3\t52.1\t50.6",
                    "Totalt maxnivå (dBA)\t76.0\t74.2\t70.1"}));

    // Straight stretches only, no screen or cross-section: the curve and screen rows go.
    r.shape[3] = 0;
    r.screenType[2] = 0;
    r.crossSectionOn[2] = 0;
    const std::string text = exportStretchData(r, res);
    EXPECT_EQ(text.find("Mottagaravstånd startpunkt"), std::string::npos);
    EXPECT_NE(text.find("Vinkelrätt Mottagaravstånd (m)\t25\t25.5\t12\r\nMarktyp källdel"), std::string::npos);
    // An empty line stands in for the receiver-height line, and another one ends the screen part.
    EXPECT_NE(text.find("\r\nTvärsektion\tNej\tNej\tNej\r\n\r\nSkärm\tNej\tNej\tNej\r\n\r\nTotalt"), std::string::npos)
        << text;
}

TEST(Exports, TextsPasteAsOneTitleAndOneCellPerColumn)
{
    ProjectRecord r = twoTrackProject();
    CalcResults res = twoTrackResults();
    for (const auto& [text, columns] : {std::pair{exportTrainData(r), 2}, std::pair{exportStretchData(r, res), 3}}) {
        auto rows = cellsOf(text);
        ASSERT_GT(rows.size(), 2u);
        EXPECT_EQ(rows[0].size(), 1u);  // the title
        for (size_t i = 1; i < rows.size(); ++i) {
            if (!rows[i].empty()) {
                EXPECT_EQ(rows[i].size(), static_cast<size_t>(columns + 1)) << "row " << i;
            }
        }
    }
    for (const auto& row : cellsOf(exportResults(r, res))) EXPECT_LE(row.size(), 2u);
}
