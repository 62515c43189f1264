#pragma once
// What the command-line tests share: running the tool in-process, the bundled examples and a
// fresh temporary folder per test.

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
