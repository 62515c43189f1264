#pragma once
// A fresh folder per test, named with Å, Ä and Ö as a Nordic user's folders are, whole-file
// byte helpers that go through the file-system seam, and the check of a refused read.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "model/FileSystem.h"
#include "model/ProjectFile.h"

struct SwedishDir {
    // Named after the test and a random number: test programs of several builds may run at once.
    std::filesystem::path dir =
        std::filesystem::temp_directory_path() /
        pathFromUtf8("skenbrus-" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()) + "-" +
                     std::to_string(std::random_device{}())) /
        pathFromUtf8("Åsa Ärlig Ö");
    SwedishDir()
    {
        std::filesystem::remove_all(dir.parent_path());
        std::filesystem::create_directories(dir);
    }
    ~SwedishDir()
    {
        std::error_code ec;
        std::filesystem::remove_all(dir.parent_path(), ec);
    }
    std::string file(const std::string& name) const { return utf8Of(dir / pathFromUtf8(name)); }
    std::vector<std::string> names() const
    {
        std::vector<std::string> n;
        for (const auto& e : std::filesystem::directory_iterator(dir)) n.push_back(utf8Of(e.path().filename()));
        return n;
    }
};

inline std::string bytesOf(const std::string& path)
{
    std::string b;
    EXPECT_FALSE(readWholeFile(pathFromUtf8(path), b)) << path;
    return b;
}

template <class Bytes>
void writeBytes(const std::string& path, const Bytes& bytes)
{
    std::ofstream(pathFromUtf8(path), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// Reading `path` is refused with this kind of error and, when given, exactly this message.
inline void expectReadRefused(const std::string& path, ProjectFileError::Kind kind, const std::string& message = "",
                              const std::string& why = "")
{
    try {
        readProject(path);
        ADD_FAILURE() << why << ": " << path << " was read";
    } catch (const ProjectFileError& e) {
        EXPECT_EQ(e.kind, kind) << why;
        EXPECT_TRUE(message.empty() || e.what() == message) << why << ": " << e.what();
    }
}
