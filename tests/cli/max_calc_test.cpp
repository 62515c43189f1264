// skenbrus-cli calc: the maximum-level part of the result page, its JSON keys and its trace.

#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>

#include "cli/Cli.h"

namespace fs = std::filesystem;

namespace {
const std::string kExample = std::string(SKENBRUS_SOURCE_DIR) + "/examples/stationsvagen.sdb";

int cli(const std::vector<std::string>& args, std::string& out, std::string& err)
{
    std::ostringstream o, e;
    const int code = runCli(args, o, e);
    out = o.str();
    err = e.str();
    return code;
}
}  // namespace

TEST(CliCalcMax, ResultPageAndJsonOfTheMaximumLevel)
{
    std::string out, err;
    ASSERT_EQ(cli({"calc", kExample, "--json"}, out, err), 0) << err;
    const auto j = nlohmann::json::parse(out);
    EXPECT_EQ(j["stretchMaxLevel"].size(), 8u);
    EXPECT_EQ(j["stretchMaxLevelFullTrain"].size(), 8u);
    for (const char* k : {"trackMaxLevel", "trackMaxStretch", "trackMaxAngle", "trackMaxTrain"})
        EXPECT_EQ(j[k].size(), 4u) << k;
    ASSERT_EQ(j["resultGrid"].size(), 3u);
    for (const auto& row : j["resultGrid"]) EXPECT_EQ(row.size(), 3u);
    ASSERT_EQ(j["resultRowLabels"].size(), 3u);
    EXPECT_EQ(j["resultRowLabels"][0], "Frifältsvärde (dBA)");
    EXPECT_TRUE(j["trackMaxStretch"][0].is_number_integer());
    EXPECT_FALSE(j["trainLongerThanTrack"].get<bool>());
    // Row 1: the loudest track's maximum unrounded, the simultaneous maximum in whole dB.
    const double m1 = j["trackMaxLevel"][0], m2 = j["trackMaxLevel"][1];
    EXPECT_FLOAT_EQ(j["resultGrid"][0][1].get<double>(), static_cast<float>(std::max(m1, m2)));
    EXPECT_EQ(j["resultGrid"][0][2].get<double>(), std::nearbyint(j["simultaneousMaxLevel"].get<double>()));

    ASSERT_EQ(cli({"calc", kExample}, out, err), 0) << err;
    EXPECT_NE(out.find("Max. samv. tåg/spår"), std::string::npos);
    EXPECT_NE(out.find("Delsträcka för maxnivå (tågmitt)"), std::string::npos);
    EXPECT_NE(out.find("Tågposition för maxnivå (tågmitt)"), std::string::npos);
}

TEST(CliCalcMax, TraceOfTheMaximumLevel)
{
    const fs::path dir = fs::temp_directory_path() / "skenbrus-cli-trace-max";
    fs::remove_all(dir);
    fs::create_directories(dir);
    std::string out, err;
    ASSERT_EQ(cli({"calc", kExample, "--trace-max", "--trace-dir", dir.string()}, out, err), 0) << err;
    for (const char* f : {"_maximal", "_maximallD", "_maximallA", "_maximallS", "_maximallG"})
        EXPECT_TRUE(fs::exists(dir / f)) << f;
    EXPECT_FALSE(fs::exists(dir / "_ekvivalent"));
    EXPECT_GT(fs::file_size(dir / "_maximal"), 1000u);
    fs::remove_all(dir);
}
