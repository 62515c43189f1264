// skenbrus-cli export, report and plan: the texts of the calculated example, refusals, the PDF
// page and the site plan's files.

#include <gtest/gtest.h>

#include <cstdlib>

#include "CliFixture.h"
#ifdef SKENBRUS_HAVE_PDF
#include <QFile>
#include <QXmlStreamReader>

#include "paint/ReportPainter.h"
#endif

// The export texts themselves are tested with the report, the refusals with calc; here, that
// each command prints its text of the calculated example.
TEST(CliReport, ExportsPrintTheTextsOfTheCalculatedExample)
{
    for (auto [what, start] : {std::pair{"tagdata", "TÅGDATA\r\nTåg nr:\t1\t2\t3\r\n"},
                               {"resultat", "RESULTAT\r\nEkvivalentnivå\tdBA\r\nFrifältsvärde\t"},
                               {"strackdata", "STRÄCKDATA\r\nDelsträcka:\t1\t2\t3\r\n"}}) {
        const CliResult r = cli({"export", what, example(), "--segment", "2"});
        ASSERT_EQ(r.code, 0) << r.err;
        EXPECT_TRUE(r.out.starts_with(start)) << r.out;
    }
    // Results, not zeros, in the stretch data.
    EXPECT_EQ(cli({"export", "strackdata", example()}).out.find("Totalt ekvivalentnivå (dBA)\t0.0\t0.0\t0.0"),
              std::string::npos);
}

#ifdef SKENBRUS_HAVE_PDF
TEST(CliReport, ReportWritesOneA4PageWithTheTextsOfThePage)
{
    TempDir tmp;
    const CliResult r = cli({"report", example(), "-o", tmp / "rapport.pdf"});
    ASSERT_EQ(r.code, 0) << r.err;
    const std::string pdf = slurp(tmp / "rapport.pdf");
    // A4 in points, one page.
    EXPECT_TRUE(pdf.starts_with("%PDF-") && pdf.find("/MediaBox [0 0 595.000000 842.000000]") != std::string::npos &&
                pdf.find("/Count 1\n") != std::string::npos);
    EXPECT_NE(cli({"report", example(), "-o", tmp / "saknas/x.pdf"}).code, kExitOk);

#ifndef _WIN32  // the page's text as pdftotext reads it, where the poppler tools are installed
    const std::string command = "pdftotext -layout '" + tmp / "rapport.pdf" + "' '" + tmp / "t.txt" + "' 2>/dev/null";
    if (std::system(command.c_str()) != 0) GTEST_SKIP() << "poppler tools not installed";
    const std::string text = slurp(tmp / "t.txt");
    for (const char* s : {"Beräkning av Tågbuller", "Kv. Stationsvägen 12", "RESULTAT", "Maxnivå samv. tåg/spår",
                          "Segmentlängd: 1 m", "Tåg nr:", "Delsträcka", "Tågposition för maxnivå (tågmitt)"})
        EXPECT_NE(text.find(s), std::string::npos) << s;
#endif
}

TEST(CliReport, PageLongerThanThePaperIsScaledToFit)
{
    DrawOp op;
    op.y = 10.0, op.fontSize = 12;
    ReportPage page{{op}};
    EXPECT_EQ(reportPageScale(page, 29.7), 1.0);
    // Rows in the strip that printers cut (less than 1 cm above the sheet's edge) or below a
    // shorter device bring the page up.
    op.y = 28.5;
    page.ops.push_back(op);
    const double bottom = 28.5 + 12 * 2.54 / 72 * 1.2;
    EXPECT_NEAR(reportPageScale(page, 29.7) * bottom, 28.7, 1e-9);
    EXPECT_NEAR(reportPageScale(page, 27.0) * bottom, 27.0, 1e-9);
}

namespace {
// The track lines of an SVG written by the plan command: paths stroked at the track width
// (2.5 pt at 96 dpi). Fails the test when the file is no well-formed SVG.
int trackPaths(const std::string& path)
{
    QFile f(QString::fromStdString(path));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&f);
    int paths = 0;
    std::vector<bool> inTrack{false};
    while (xml.readNext() != QXmlStreamReader::EndDocument && !xml.hasError()) {
        if (xml.isEndElement()) inTrack.pop_back();
        if (!xml.isStartElement()) continue;
        EXPECT_TRUE(inTrack.size() > 1 || xml.name() == QStringLiteral("svg"));
        const auto a = xml.attributes();
        inTrack.push_back(xml.name() == QStringLiteral("g") ? a.value("stroke-width") == QStringLiteral("3.33333") &&
                                                                  a.value("fill") == QStringLiteral("none")
                                                            : inTrack.back());
        paths += xml.name() == QStringLiteral("path") && inTrack.back();
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return paths;
}
}  // namespace

TEST(CliPlan, WritesOnePathPerPlacedStretch)
{
    TempDir tmp;
    ASSERT_EQ(cli({"plan", example(), "-o", tmp / "plan.svg"}).code, kExitOk);
    EXPECT_EQ(trackPaths(tmp / "plan.svg"), 3);
    ASSERT_EQ(cli({"plan", example("minimal.sdb"), "-o", tmp / "min.svg", "--width", "600"}).code, kExitOk);
    EXPECT_EQ(trackPaths(tmp / "min.svg"), 1);

    // Stretches without usable geometry are left out and named; the rest is drawn.
    ProjectRecord r = readProject(example());
    r.perpDistance[1] = 0.0f, r.radius[2] = 0.0f;
    r.angleFrom[3] = 170, r.angleTo[3] = 10;  // reversed, as only a damaged file holds it
    const CliResult gap = cli({"plan", tmp.write("gap.sdb", r), "-o", tmp / "gap.svg"});
    ASSERT_EQ(gap.code, kExitOk) << gap.err;
    EXPECT_EQ(trackPaths(tmp / "gap.svg"), 1);
    EXPECT_EQ(gap.err, "Delsträcka 1 saknar geometri\nDelsträcka 2 saknar geometri\n");
    r.perpDistance[3] = 1e30f;
    ASSERT_EQ(cli({"plan", tmp.write("none.sdb", r), "-o", tmp / "none.png"}).code, kExitOk);  // nothing to draw

    for (const char* name : {"plan.png", "plan.pdf"}) {
        ASSERT_EQ(cli({"plan", example(), "-o", tmp / name}).code, kExitOk) << name;
        EXPECT_GT(std::filesystem::file_size(tmp / name), 1000u) << name;
    }
    const CliResult gif = cli({"plan", example("minimal.sdb"), "-o", tmp / "plan.gif"});
    EXPECT_EQ(gif.code, kExitBadFile);
    EXPECT_NE(gif.err.find(".svg, .png eller .pdf"), std::string::npos);
    EXPECT_EQ(cli({"plan", example("minimal.sdb"), "-o", tmp / "x.svg", "--width", "5"}).code, kExitUsage);
}
#endif
