// Saving and reading through the file-system seam, on Linux and Windows alike.

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "ModelFixtures.h"

namespace fs = std::filesystem;

namespace {
ProjectRecord project(const char* name)
{
    ProjectRecord r = startupDefaults("2026-12-06 10:00:00");
    r.objectName.setBytes(name);
    r.stretchCount = 2, r.track[2] = 2, r.perpDistance[2] = 42.5f;
    return r;
}
}  // namespace

TEST(ProjectFileSave, SavesReplacesAndReadsInAFolderNamedWithSwedishLetters)
{
    SwedishDir tmp;
    const std::string path = tmp.file("Övägen 3 Å.sdb");
    writeProject(path, project("Första"));
    writeProject(path, project("Andra"));  // replaces the existing file
    EXPECT_EQ(tmp.names(), std::vector<std::string>{"Övägen 3 Å.sdb"});  // the name as given, no temporary left
    EXPECT_EQ(encodeRecord(readProject(path)), encodeRecord(project("Andra")));
    EXPECT_EQ(fileNameOnly(path), "Övägen 3 Å.sdb");
    EXPECT_EQ(fs::path(pathFromUtf8(folderOf(path))), tmp.dir);
    EXPECT_TRUE(std::regex_match(localTimestampNow(), std::regex(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d)")));
}

// A save that fails at any step (full disk, lost drive) leaves the old file byte for byte
// and no temporary file behind.
TEST(ProjectFileSave, FailedSaveLeavesTheOldFileWhole)
{
    SwedishDir tmp;
    const std::string path = tmp.file("Å.sdb");
    writeProject(path, project("Gammal"));
    const std::string before = bytesOf(path);
    for (ReplaceStep step : {ReplaceStep::Create, ReplaceStep::Write, ReplaceStep::Flush, ReplaceStep::Replace}) {
        try {
            writeProject(path, project("Ny"), step);
            ADD_FAILURE() << "step " << static_cast<int>(step) << " did not fail";
        } catch (const ProjectFileError& e) {
            EXPECT_EQ(e.kind, ProjectFileError::Kind::CannotWrite);
            EXPECT_EQ(std::string(e.what()).rfind(path + ": ", 0), 0u) << e.what();
        }
        EXPECT_EQ(bytesOf(path), before) << static_cast<int>(step);
    }
    // A missing folder, and a folder in the target's place.
    EXPECT_THROW(writeProject(tmp.file("saknas/Å.sdb"), project("Ny")), ProjectFileError);
    fs::create_directories(tmp.dir / pathFromUtf8("mapp.sdb") / "x");
    EXPECT_THROW(writeProject(tmp.file("mapp.sdb"), project("Ny")), ProjectFileError);
    EXPECT_EQ(bytesOf(path), before);
    EXPECT_EQ(tmp.names().size(), 2u);
}

TEST(ProjectFileSave, ReadOnlyFileInAReadOnlyFolderIsNotReplaced)
{
    SwedishDir tmp;
    const std::string path = tmp.file("Skrivskyddad.sdb");
    writeProject(path, project("Gammal"));
    const std::string before = bytesOf(path);
    const auto writable = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    fs::permissions(pathFromUtf8(path), writable, fs::perm_options::remove);
    fs::permissions(tmp.dir, writable, fs::perm_options::remove);
    bool refused = false;
    try {
        writeProject(path, project("Ny"));
    } catch (const ProjectFileError& e) {
        refused = e.kind == ProjectFileError::Kind::CannotWrite;
    }
    fs::permissions(tmp.dir, fs::perms::owner_write, fs::perm_options::add);
    fs::permissions(pathFromUtf8(path), fs::perms::owner_write, fs::perm_options::add);
    if (!refused) GTEST_SKIP() << "this user may write read-only files (root)";
    EXPECT_EQ(bytesOf(path), before);
    EXPECT_EQ(tmp.names().size(), 1u);
}
