#include <gtest/gtest.h>

#ifdef SKENBRUS_HAVE_PDF
#include <QFile>
#include <QXmlStreamReader>

#include "CliFixture.h"

namespace {
// The track lines of an SVG written by the plan command: paths stroked at the track width
// (2.5 pt at 96 dpi). Fails the test when the file is no well-formed SVG.
int trackPaths(const std::string& path)
{
    QFile f(QString::fromStdString(path));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&f);
    int paths = 0;
    bool root = true;
    std::vector<bool> trackGroup{false};
    while (!xml.atEnd()) {
        const auto token = xml.readNext();
        if (token == QXmlStreamReader::StartElement) {
            EXPECT_TRUE(!root || xml.name() == QStringLiteral("svg"));
            root = false;
            const bool track = xml.name() == QStringLiteral("g")
                                   ? xml.attributes().value("stroke-width") == QStringLiteral("3.33333") &&
                                         xml.attributes().value("fill") == QStringLiteral("none")
                                   : trackGroup.back();
            if (xml.name() == QStringLiteral("path") && track) ++paths;
            trackGroup.push_back(track);
        } else if (token == QXmlStreamReader::EndElement) {
            trackGroup.pop_back();
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return paths;
}
}  // namespace

TEST(CliPlan, WritesOnePathPerPlacedStretch)
{
    TempDir tmp;
    ASSERT_EQ(cli({"plan", example("stationsvagen.sdb"), "-o", tmp / "plan.svg"}).code, kExitOk);
    EXPECT_EQ(trackPaths(tmp / "plan.svg"), 3);
    ASSERT_EQ(cli({"plan", example("minimal.sdb"), "-o", tmp / "min.svg", "--width", "600"}).code, kExitOk);
    EXPECT_EQ(trackPaths(tmp / "min.svg"), 1);

    // Stretches without usable geometry are left out and named; the rest is drawn.
    ProjectRecord r = readProject(example("stationsvagen.sdb"));
    r.perpDistance[1] = 0.0f, r.radius[2] = 0.0f;
    r.angleFrom[3] = 170, r.angleTo[3] = 10;  // reversed, as only a damaged file holds it
    writeProject(tmp / "gap.sdb", r);
    const CliResult gap = cli({"plan", tmp / "gap.sdb", "-o", tmp / "gap.svg"});
    ASSERT_EQ(gap.code, kExitOk) << gap.err;
    EXPECT_EQ(trackPaths(tmp / "gap.svg"), 1);
    EXPECT_EQ(gap.err, "Delsträcka 1 saknar geometri\nDelsträcka 2 saknar geometri\n");
    r.perpDistance[3] = 1e30f;
    writeProject(tmp / "none.sdb", r);
    ASSERT_EQ(cli({"plan", tmp / "none.sdb", "-o", tmp / "none.png"}).code, kExitOk);

    for (const char* name : {"plan.png", "plan.pdf"}) {
        ASSERT_EQ(cli({"plan", example("stationsvagen.sdb"), "-o", tmp / name}).code, kExitOk) << name;
        EXPECT_GT(std::filesystem::file_size(tmp / name), 1000u) << name;
    }
    const CliResult gif = cli({"plan", example("minimal.sdb"), "-o", tmp / "plan.gif"});
    EXPECT_EQ(gif.code, kExitBadFile);
    EXPECT_NE(gif.err.find(".svg, .png eller .pdf"), std::string::npos);
    EXPECT_EQ(cli({"plan", example("minimal.sdb"), "-o", tmp / "x.svg", "--width", "5"}).code, kExitUsage);
}
#endif
