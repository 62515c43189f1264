#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <random>
#include <fstream>
#include <optional>
#include <sstream>

#include "cli/Cli.h"
#include "model/ProjectFile.h"
#ifdef SKENBRUS_HAVE_PDF
#include "paint/ReportPainter.h"
#endif

namespace fs = std::filesystem;

namespace {
struct Result {
    int code;
    std::string out, err;
};
Result cli(const std::vector<std::string>& args)
{
    std::ostringstream out, err;
    int code = runCli(args, out, err);
    return {code, out.str(), err.str()};
}
struct Tmp {
    fs::path dir = fs::temp_directory_path() / ("skenbrus-report-" + std::to_string(std::random_device{}()));
    Tmp() { fs::create_directories(dir); }
    ~Tmp() { fs::remove_all(dir); }
    std::string operator/(const std::string& n) const { return (dir / n).string(); }
};
const std::string example = (fs::path(SKENBRUS_SOURCE_DIR) / "examples" / "stationsvagen.sdb").string();

}  // namespace

TEST(CliReport, ExportsPrintTheTextsOfTheCalculatedExample)
{
    Result train = cli({"export", "tagdata", example});
    ASSERT_EQ(train.code, 0) << train.err;
    EXPECT_EQ(train.out.rfind("TÅGDATA\r\nTåg nr:\t1\t2\t3\r\n", 0), 0u) << train.out;

    Result results = cli({"export", "resultat", example, "--segment", "2"});
    ASSERT_EQ(results.code, 0) << results.err;
    EXPECT_EQ(results.out.rfind("RESULTAT\r\nEkvivalentnivå\tdBA\r\nFrifältsvärde\t", 0), 0u);
    EXPECT_NE(results.out.find("\r\nMaxnivå vid samv. tåg/spår\tdBA\r\n"), std::string::npos);  // two tracks

    Result stretches = cli({"export", "strackdata", example});
    ASSERT_EQ(stretches.code, 0) << stretches.err;
    EXPECT_NE(stretches.out.find("\r\nTotalt maxnivå (dBA)\t"), std::string::npos);
    EXPECT_EQ(stretches.out.find("Totalt ekvivalentnivå (dBA)\t0.0\t0.0\t0.0"), std::string::npos) << "no results";
}

TEST(CliReport, BadInputIsRefusedWithAMessage)
{
    Tmp tmp;
    EXPECT_EQ(cli({"export", "allt", example}).code, kExitUsage);
    EXPECT_EQ(cli({"export", "resultat", tmp / "saknas.sdb"}).code, kExitBadFile);
    EXPECT_EQ(cli({"export", "resultat", example, "--segment", "0"}).code, kExitUsage);
    // A project with an unfilled field cannot be calculated.
    ASSERT_EQ(cli({"new", tmp / "ny.sdb"}).code, 0);
    Result incomplete = cli({"export", "resultat", tmp / "ny.sdb"});
    EXPECT_EQ(incomplete.code, kExitUsage);
    EXPECT_NE(incomplete.err.find("Projektet är ofullständigt"), std::string::npos) << incomplete.err;
    EXPECT_TRUE(incomplete.out.empty());
}

#ifdef SKENBRUS_HAVE_PDF
namespace {
// Output of a shell command, or nullopt when it fails (tool missing). The poppler tools are
// looked for on Linux only.
std::optional<std::string> shell(const std::string& command)
{
#ifdef _WIN32
    (void)command;
    return std::nullopt;
#else
    FILE* p = popen(command.c_str(), "r");
    if (!p) return std::nullopt;
    std::string s;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) s.append(buf, n);
    return pclose(p) == 0 ? std::optional(s) : std::nullopt;
#endif
}
}  // namespace

TEST(CliReport, ReportWritesAnA4PdfWithTheTextsOfThePage)
{
    Tmp tmp;
    Result r = cli({"report", example, "-o", tmp / "rapport.pdf"});
    ASSERT_EQ(r.code, 0) << r.err;
    std::ifstream f(tmp / "rapport.pdf", std::ios::binary);
    std::string head(5, '\0');
    f.read(head.data(), 5);
    EXPECT_EQ(head, "%PDF-");

    auto info = shell("pdfinfo '" + tmp / "rapport.pdf" + "' 2>/dev/null");
    auto text = shell("pdftotext -layout '" + tmp / "rapport.pdf" + "' - 2>/dev/null");
    if (!info || !text) GTEST_SKIP() << "poppler tools not installed";
    EXPECT_NE(info->find("Pages:           1\n"), std::string::npos) << *info;
    EXPECT_NE(info->find("(A4)"), std::string::npos);
    for (const char* s : {"Beräkning av Tågbuller", "Kv. Stationsvägen 12", "RESULTAT", "Maxnivå samv. tåg/spår",
                          "Segmentlängd: 1 m", "Tåg nr:", "Delsträcka", "Tågposition för maxnivå (tågmitt)"})
        EXPECT_NE(text->find(s), std::string::npos) << s;

    EXPECT_NE(cli({"report", example, "-o", tmp / "saknas/x.pdf"}).code, kExitOk);
}

TEST(CliReport, PageLongerThanThePaperIsScaledToFit)
{
    ReportPage page;
    DrawOp op;
    op.y = 10.0, op.fontSize = 12;
    page.ops.push_back(op);
    EXPECT_EQ(reportPageScale(page, 29.7), 1.0);
    // Rows in the strip that printers cut (less than 1 cm above the sheet's edge) or below a
    // shorter device bring the page up.
    op.y = 28.5;
    page.ops.push_back(op);
    const double bottom = 28.5 + 12 * 2.54 / 72 * 1.2;
    EXPECT_NEAR(reportPageScale(page, 29.7) * bottom, 28.7, 1e-9);
    EXPECT_NEAR(reportPageScale(page, 27.0) * bottom, 27.0, 1e-9);
}
#endif
