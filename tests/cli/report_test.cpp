// skenbrus-cli export and report: the texts of the calculated example, refusals, the PDF page.

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

#include "CliFixture.h"
#ifdef SKENBRUS_HAVE_PDF
#include "paint/ReportPainter.h"
#endif

namespace fs = std::filesystem;

TEST(CliReport, ExportsPrintTheTextsOfTheCalculatedExample)
{
    CliResult train = cli({"export", "tagdata", example()});
    ASSERT_EQ(train.code, 0) << train.err;
    EXPECT_EQ(train.out.rfind("TÅGDATA\r\nTåg nr:\t1\t2\t3\r\n", 0), 0u) << train.out;

    CliResult results = cli({"export", "resultat", example(), "--segment", "2"});
    ASSERT_EQ(results.code, 0) << results.err;
    EXPECT_EQ(results.out.rfind("RESULTAT\r\nEkvivalentnivå\tdBA\r\nFrifältsvärde\t", 0), 0u);
    EXPECT_NE(results.out.find("\r\nMaxnivå vid samv. tåg/spår\tdBA\r\n"), std::string::npos);  // two tracks

    CliResult stretches = cli({"export", "strackdata", example()});
    ASSERT_EQ(stretches.code, 0) << stretches.err;
    EXPECT_NE(stretches.out.find("\r\nTotalt maxnivå (dBA)\t"), std::string::npos);
    EXPECT_EQ(stretches.out.find("Totalt ekvivalentnivå (dBA)\t0.0\t0.0\t0.0"), std::string::npos) << "no results";
}

TEST(CliReport, BadInputIsRefusedWithAMessage)
{
    TempDir tmp;
    EXPECT_EQ(cli({"export", "allt", example()}).code, kExitUsage);
    EXPECT_EQ(cli({"export", "resultat", tmp / "saknas.sdb"}).code, kExitBadFile);
    EXPECT_EQ(cli({"export", "resultat", example(), "--segment", "0"}).code, kExitUsage);
    // A project with an unfilled field cannot be calculated.
    ASSERT_EQ(cli({"new", tmp / "ny.sdb"}).code, 0);
    CliResult incomplete = cli({"export", "resultat", tmp / "ny.sdb"});
    EXPECT_EQ(incomplete.code, kExitUsage);
    EXPECT_NE(incomplete.err.find("Projektet är ofullständigt"), std::string::npos) << incomplete.err;
    EXPECT_TRUE(incomplete.out.empty());
}

#ifdef SKENBRUS_HAVE_PDF
namespace {
// The page's text as pdftotext reads it, or nullopt where the poppler tools are missing (they
// are looked for on Linux only).
std::optional<std::string> pdfText(const TempDir& tmp, const std::string& pdf)
{
#ifdef _WIN32
    (void)tmp, (void)pdf;
    return std::nullopt;
#else
    const std::string text = tmp / "text.txt";
    if (std::system(("pdftotext -layout '" + pdf + "' '" + text + "' 2>/dev/null").c_str()) != 0) return std::nullopt;
    return slurp(text);
#endif
}
}  // namespace

TEST(CliReport, ReportWritesOneA4PageWithTheTextsOfThePage)
{
    TempDir tmp;
    CliResult r = cli({"report", example(), "-o", tmp / "rapport.pdf"});
    ASSERT_EQ(r.code, 0) << r.err;
    const std::string pdf = slurp(tmp / "rapport.pdf");
    EXPECT_EQ(pdf.rfind("%PDF-", 0), 0u);
    EXPECT_NE(pdf.find("/MediaBox [0 0 595.000000 842.000000]"), std::string::npos);  // A4 in points
    EXPECT_NE(pdf.find("/Count 1\n"), std::string::npos);
    EXPECT_NE(cli({"report", example(), "-o", tmp / "saknas/x.pdf"}).code, kExitOk);

    const auto text = pdfText(tmp, tmp / "rapport.pdf");
    if (!text) GTEST_SKIP() << "poppler tools not installed";
    for (const char* s : {"Beräkning av Tågbuller", "Kv. Stationsvägen 12", "RESULTAT", "Maxnivå samv. tåg/spår",
                          "Segmentlängd: 1 m", "Tåg nr:", "Delsträcka", "Tågposition för maxnivå (tågmitt)"})
        EXPECT_NE(text->find(s), std::string::npos) << s;
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
