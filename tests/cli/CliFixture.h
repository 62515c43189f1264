#pragma once
// What the command-line tests share: running the tool in-process, the bundled examples, a
// small complete project and a fresh temporary folder per test.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "cli/Cli.h"
#include "model/ProjectFile.h"

struct CliResult {
    int code;
    std::string out, err;
    nlohmann::ordered_json json() const { return nlohmann::ordered_json::parse(out); }
};

inline CliResult cli(const std::vector<std::string>& args)
{
    std::ostringstream out, err;
    const int code = runCli(args, out, err);
    return {code, out.str(), err.str()};
}

inline std::string example(const char* name = "stationsvagen.sdb")
{
    return (std::filesystem::path(SKENBRUS_SOURCE_DIR) / "examples" / name).string();
}

inline std::string slurp(const std::filesystem::path& p)
{
    std::ifstream f(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), {}};
}

// A complete project: one Swedish X2 train and one straight stretch at 50 m.
inline ProjectRecord completeProject()
{
    ProjectRecord r = startupDefaults("2026-01-01 10:00:00");
    r.trainLengthPerDay[1] = 2000, r.maxTrainLength[1] = 200, r.speed[1] = 160;
    r.perpDistance[1] = r.bpDistance[1][2] = 50.0f;
    return r;
}

// The same with its cross-section in use and a ridge above the line of sight, no screen: it
// must be calculated as a screen case, so every run is refused with kRidgeMessage.
inline ProjectRecord ridgeProject()
{
    ProjectRecord r = completeProject();
    r.crossSectionOn[1] = 1, r.bpCount[1] = 3, r.bpDistance[1][3] = 50.0f;
    r.bpDistance[1][2] = 25.0f, r.bpHeight[1][2] = 5.0f;
    r.bpLabel[1][3].setBytes("MT");
    r.bpLabel[1][2].setBytes("BP");
    return r;
}
inline const std::string kRidgeMessage = "Tvärsnittet för delsträcka 1 bör räknas som skärmfall eftersom\n"
                                         "någon/några brytpunkter ligger ovanför siktlinjen!";

struct TempDir {
    std::filesystem::path dir =
        std::filesystem::temp_directory_path() /
        ("skenbrus-cli-" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()) + "-" +
         std::to_string(std::random_device{}()));
    TempDir() { std::filesystem::create_directories(dir); }
    ~TempDir()
    {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
    std::string operator/(const std::string& name) const { return (dir / name).string(); }
    // Writes the project and returns its path.
    std::string write(const std::string& name, const ProjectRecord& r) const
    {
        writeProject(*this / name, r);
        return *this / name;
    }
};
