#include <gtest/gtest.h>

#include <algorithm>
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
    r.stretchCount = 2, r.indoorLevelOn = 0, r.facadeReflectionOn = 0;
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
    r.runsOnTrack[2][1] = 0, r.runsOnTrack[2][2] = 1, r.runsOnTrack[2][3] = 1;
    EXPECT_NE(exportTrainData(r).find("Spår\t1, 2\t2\r\n"), std::string::npos);
}

TEST(Exports, StretchDataWithAndWithoutCurveScreenAndCrossSection)
{
    ProjectRecord r = twoTrackProject();
    CalcResults res = twoTrackResults();
    const std::string all = exportStretchData(r, res);
    // What the export writes unlike the report: the angle ranges start with ' so that a
    // spreadsheet keeps them as text, long names, brackets, empty lines between the parts.
    for (const char* lines : {"STRÄCKDATA\r\nDelsträcka:\t1\t2\t3\r\nSpår\t1\t1\t2\r\n",
                              "\r\nVinkelområde (grader)\t'0 - 90\t'90 - 180\t'30 - 150\r\n",
                              "\r\nBankorrektion\tNej\tSkarvar\tBro utan ballast\r\n",
                              "\r\nVäxel/Korsning\tNej\tJa\tNej\r\n\r\nTvärsektion\tNej\tJa\tNej\r\n",
                              "\r\nMottagarhöjd över marken (m)\t---\t2.0\t---\r\nSkärm\tNej\tAbsorb.\tNej\r\n",
                              "\r\nSkärmeffekt maxnivå (m)\t---\t[2.5 - 3.4]\t---\r\n\r\nTotalt ekvivalentnivå"})
        EXPECT_NE(all.find(lines), std::string::npos) << lines;
    EXPECT_TRUE(all.ends_with("\r\nTotalt maxnivå (dBA)\t76.0\t74.2\t70.1\r\n"));

    // Straight stretches only, no screen or cross-section: the curve and screen rows go.
    r.shape[3] = 0, r.screenType[2] = 0, r.crossSectionOn[2] = 0;
    const std::string text = exportStretchData(r, res);
    EXPECT_EQ(text.find("Mottagaravstånd startpunkt"), std::string::npos);
    EXPECT_NE(text.find("Vinkelrätt Mottagaravstånd (m)\t25\t25.5\t12\r\nMarktyp källdel"), std::string::npos);
    // An empty line stands in for the receiver-height line, and another one ends the screen part.
    EXPECT_NE(text.find("\r\nTvärsektion\tNej\tNej\tNej\r\n\r\nSkärm\tNej\tNej\tNej\r\n\r\nTotalt"), std::string::npos);
}

// A spreadsheet pastes the texts as rows of cells: the title alone, then on every line that is
// not empty a label and one cell per column. Every line ends with CR LF and holds no other break.
TEST(Exports, TextsPasteAsOneTitleAndOneCellPerColumn)
{
    ProjectRecord r = twoTrackProject();
    CalcResults res = twoTrackResults();
    for (const auto& [text, cells] :
         {std::pair{exportTrainData(r), 3}, {exportStretchData(r, res), 4}, {exportResults(r, res), 0}}) {
        EXPECT_TRUE(text.ends_with("\r\n"));
        std::size_t start = 0, row = 0;
        for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2, ++row) {
            const std::string line = text.substr(start, end - start);
            const auto n = std::count(line.begin(), line.end(), '\t') + 1;
            EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << line;
            EXPECT_TRUE(row == 0 ? n == 1 : line.empty() || (cells ? n == cells : n <= 2)) << line;
        }
    }
}
