// The project file: layout, exact round trips, safe saving, refused files, read processing; and
// the record's rules: New, facade insulation, the completeness check, the segment length.

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <functional>
#include <limits>

#include "ModelFixtures.h"
#include "model/DocumentState.h"

namespace fs = std::filesystem;

namespace {
// The value at a byte offset of the record; the file is little-endian like every system we run on.
template <class T>
T at(const RecordBytes& b, int off)
{
    static_assert(std::endian::native == std::endian::little);
    T v;
    std::memcpy(&v, &b[off], sizeof v);
    return v;
}

ProjectRecord sample(const char* name = "")
{
    ProjectRecord r = startupDefaults("2026-12-06 10:00:00");
    r.objectName.setBytes(name);
    r.stretchCount = 3, r.track[2] = 1, r.track[3] = 2, r.orderInTrack[2] = 2;
    r.trainCount = 2;
    return r;
}
}  // namespace

// One value in each block of the record at its offset: a field out of place or of the wrong size
// moves one of them. (The examples, made from JSON and calculated by the golden test, pin the rest.)
TEST(ProjectFileLayout, EachBlockAtItsOffset)
{
    ProjectRecord r = sample();
    r.country = 2;
    r.caseOfficer.setBytes("Hand");
    r.facadeDistance = 4.5f;
    r.angleFrom[1] = 7, r.trackHeight[8] = 1.25f, r.spare[8] = {1, 2, 3, 0xF8}, r.bpDistanceBasis[8] = 3;
    r.screenCrestHeight[8] = 2.5f;
    r.trainLengthPerDay[1] = 1234, r.nationality[6] = 2, r.runsOnTrack[6][8] = 7;
    r.bpDistance[8][33] = 12.5f, r.bpHeight[8][33] = -3.5f;
    r.bpLabel[8][33].setBytes("MT");
    const RecordBytes b = encodeRecord(r);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[84]), 5), "\x04Hand");  // length byte, characters
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[124]), 20), "\x13" "2026-12-06 10:00:00");
    for (auto [off, v] : {std::pair{0, 2}, {148, 3}, {180, 7}, {1072, 3}, {1140, 1234}, {1256, 2}})
        EXPECT_EQ(at<std::int32_t>(b, off), v) << off;
    for (auto [off, v] : {std::pair{176, 4.5f}, {336, 1.25f}, {1136, 2.5f}, {2360, 12.5f}, {3416, -3.5f}})
        EXPECT_EQ(at<float>(b, off), v) << off;
    for (auto [off, v] : {std::pair{560, 1}, {563, 0xF8}, {1307, 7}, {4209, 2}, {4210, 'M'}, {4211, 'T'}})
        EXPECT_EQ(b[off], v) << off;
    EXPECT_EQ(decodeRecord(b), r);
}

TEST(ProjectFile, RoundTripIsByteIdenticalIncludingUndefinedBytes)
{
    SwedishDir tmp;
    RecordBytes raw = encodeRecord(sample());
    // Garbage after a string's length, a Boolean byte of 7 and odd spare bytes stay as read.
    raw[4] = 3, raw[5] = 'a', raw[6] = 'b', raw[7] = 'c', raw[20] = 0xE9;
    raw[1260] = 7, raw[533] = 0x55;
    writeBytes(tmp.file("p.sdb"), raw);
    const ProjectRecord r = readProject(tmp.file("p.sdb"));
    EXPECT_TRUE(r.runs(1, 1) && r.objectName.bytes() == "abc");
    writeProject(tmp.file("q.sdb"), r);
    EXPECT_EQ(bytesOf(tmp.file("q.sdb")), std::string(raw.begin(), raw.end()));
}

// Saving replaces the file under the name as given, in a folder named with Swedish letters; a save
// failing at any step (full disk, lost drive) leaves the old file whole. No temporary file stays.
TEST(ProjectFileSave, SavesReplacesAndOnFailureKeepsTheOldFileWhole)
{
    SwedishDir tmp;
    const std::string path = tmp.file("Övägen 3 Å.sdb");
    writeProject(path, sample("Första"));
    writeProject(path, sample("Andra"));
    EXPECT_EQ(tmp.names(), std::vector<std::string>{"Övägen 3 Å.sdb"});
    EXPECT_EQ(encodeRecord(readProject(path)), encodeRecord(sample("Andra")));
    EXPECT_EQ(fileNameOnly(path), "Övägen 3 Å.sdb");
    EXPECT_EQ(fs::path(pathFromUtf8(folderOf(path))), tmp.dir);
    const std::string now = localTimestampNow(), form = "dddd-dd-dd dd:dd:dd";
    ASSERT_EQ(now.size(), form.size()) << now;
    for (std::size_t i = 0; i < form.size(); ++i)
        EXPECT_TRUE(form[i] == 'd' ? now[i] >= '0' && now[i] <= '9' : now[i] == form[i]) << now;

    const std::string before = bytesOf(path);
    for (ReplaceStep step : {ReplaceStep::Create, ReplaceStep::Write, ReplaceStep::Flush, ReplaceStep::Replace}) {
        try {
            writeProject(path, sample("Ny"), step);
            ADD_FAILURE() << "step " << static_cast<int>(step) << " did not fail";
        } catch (const ProjectFileError& e) {
            EXPECT_EQ(e.kind, ProjectFileError::Kind::CannotWrite);
            EXPECT_EQ(std::string(e.what()).rfind(path + ": ", 0), 0u) << e.what();
        }
        EXPECT_EQ(bytesOf(path), before) << static_cast<int>(step);
    }
    // A missing folder, and a folder in the target's place.
    EXPECT_THROW(writeProject(tmp.file("saknas/Å.sdb"), sample("Ny")), ProjectFileError);
    fs::create_directories(tmp.dir / pathFromUtf8("mapp.sdb") / "x");
    EXPECT_THROW(writeProject(tmp.file("mapp.sdb"), sample("Ny")), ProjectFileError);
    EXPECT_EQ(bytesOf(path), before);
    EXPECT_EQ(tmp.names().size(), 2u);
}

TEST(ProjectFileSave, ReadOnlyFileInAReadOnlyFolderIsNotReplaced)
{
    SwedishDir tmp;
    const std::string path = tmp.file("Skrivskyddad.sdb");
    writeProject(path, sample("Gammal"));
    const std::string before = bytesOf(path);
    const auto writable = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    fs::permissions(pathFromUtf8(path), writable, fs::perm_options::remove);
    fs::permissions(tmp.dir, writable, fs::perm_options::remove);
    bool refused = false;
    try {
        writeProject(path, sample("Ny"));
    } catch (const ProjectFileError& e) {
        refused = e.kind == ProjectFileError::Kind::CannotWrite;
    }
    fs::permissions(tmp.dir, fs::perms::owner_write, fs::perm_options::add);
    fs::permissions(pathFromUtf8(path), fs::perms::owner_write, fs::perm_options::add);
    if (!refused) GTEST_SKIP() << "this user may write read-only files (root)";
    EXPECT_EQ(bytesOf(path), before);
    EXPECT_EQ(tmp.names().size(), 1u);
}

TEST(ProjectFile, ShortMissingAndUnsafeFilesAreRefused)
{
    using K = ProjectFileError::Kind;
    SwedishDir tmp;
    const RecordBytes raw = encodeRecord(sample());
    writeBytes(tmp.file("kort.sdb"), std::vector<std::uint8_t>(raw.begin(), raw.begin() + 4211));
    expectReadRefused(tmp.file("kort.sdb"), K::Invalid, "kort.sdb är ingen giltig skenbrusfil!");
    // A longer file is read from its start.
    std::vector<std::uint8_t> longer(raw.begin(), raw.end());
    longer.insert(longer.end(), 100, 0xFF);
    writeBytes(tmp.file("lang.sdb"), longer);
    EXPECT_EQ(encodeRecord(readProject(tmp.file("lang.sdb"))), raw);
    // Missing files and folders are reported with the system's text, not as invalid.
    expectReadRefused(tmp.file("finns-inte.sdb"), K::CannotOpen);
    expectReadRefused(utf8Of(tmp.dir), K::CannotOpen);

    // Records whose values would index outside the program's arrays are refused whole.
    const float nan = std::numeric_limits<float>::quiet_NaN();
    using Change = std::function<void(ProjectRecord&)>;
    const std::vector<std::pair<std::string, Change>> unsafe{
        {"trainCount 0", [](auto& r) { r.trainCount = 0; }}, {"trainCount 7", [](auto& r) { r.trainCount = 7; }},
        {"stretchCount 9", [](auto& r) { r.stretchCount = 9; }}, {"country 3", [](auto& r) { r.country = 3; }},
        {"nationality", [](auto& r) { r.nationality[2] = -1; }}, {"track gap", [](auto& r) { r.track[3] = 3; }},
        {"track start", [](auto& r) { r.track[1] = 2; }}, {"order", [](auto& r) { r.orderInTrack[2] = 9; }},
        {"bpCount unused slot", [](auto& r) { r.bpCount[8] = 34; }}, {"bpCount 1", [](auto& r) { r.bpCount[1] = 1; }},
        {"nan distance", [nan](auto& r) { r.perpDistance[2] = nan; }},
        {"inf break point", [](auto& r) { r.bpHeight[1][2] = std::numeric_limits<float>::infinity(); }},
        {"angle to 181", [](auto& r) { r.angleTo[3] = 181; }}, {"angle from -1", [](auto& r) { r.angleFrom[1] = -1; }},
    };
    for (auto& [name, change] : unsafe) {
        ProjectRecord r = sample();
        change(r);
        writeBytes(tmp.file("x.sdb"), encodeRecord(r));
        expectReadRefused(tmp.file("x.sdb"), K::Invalid, "x.sdb är ingen giltig skenbrusfil!", name);
    }
    // The fuzzer's file: a stretch starting at angle -2147483648.
    expectReadRefused(utf8Of(fs::path(SKENBRUS_SOURCE_DIR) / "fuzz/regressions/angle-from-int-min.sdb"),
                      K::Invalid);
    // Unused train slots and an unused stretch's NaN and angle are kept as stored.
    ProjectRecord r = sample();
    r.nationality[6] = 9, r.perpDistance[8] = nan, r.angleFrom[8] = -5;
    writeBytes(tmp.file("ok.sdb"), encodeRecord(r));
    EXPECT_NO_THROW(readProject(tmp.file("ok.sdb")));
}

TEST(ProjectFile, ReadProcessingNormalisesCodesLabelsAndHeights)
{
    SwedishDir tmp;
    ProjectRecord r = sample();
    r.facadeReflectionOn = 1, r.facadeDistance = 25.0f;  // outside 0.5..20 m: cleared
    r.nationality[1] = 2, r.trainType[1] = 4;             // the Finnish list has 0..3
    r.trainType[2] = -3;
    r.bpLabel[2][2].setBytes("SK"), r.bpHeight[2][2] = 1.5f;  // an older file's screen foot
    r.bpLabel[3][2].setBytes("SK"), r.bpHeight[3][2] = 1.5f, r.screenBaseHeight[3] = 0.7f;
    r.bpLabel[5][3].setBytes("SK");  // slots outside the counts are normalised too
    writeBytes(tmp.file("p.sdb"), encodeRecord(r));
    const ProjectRecord g = readProject(tmp.file("p.sdb"));
    EXPECT_TRUE(g.facadeReflectionOn == 0 && g.trainType[1] == 0 && g.trainType[2] == 0);
    EXPECT_TRUE(g.screenBaseHeight[2] == 1.5f && g.screenBaseHeight[3] == 0.7f);
    EXPECT_TRUE(g.bpLabel[2][2].equals("BP") && g.bpLabel[5][3].equals("BP"));
    r.facadeDistance = 20.0f;
    writeBytes(tmp.file("p.sdb"), encodeRecord(r));
    EXPECT_EQ(readProject(tmp.file("p.sdb")).facadeReflectionOn, 1);

    // Track and receiver ground heights come from the labelled points of the stretches in use.
    ProjectRecord n = startupDefaults("x");
    n.bpHeight[1][1] = 2.0f, n.bpHeight[1][2] = -1.0f;
    n.trackHeight[2] = 0.5f, n.bpHeight[2][1] = 3.0f;
    normaliseAfterRead(n);
    EXPECT_TRUE(n.trackHeight[1] == 2.0f && n.receiverGroundHeight[1] == -1.0f && n.trackHeight[2] == 0.5f);
}

TEST(Record, NewKeepsCountryOrderAndScreenEffectsAndFacadeInsulationStaysFinite)
{
    EXPECT_EQ(startupDefaults("x").receiverHeight[1], 2.0f);  // the start-up receiver stands 2 m up
    ProjectRecord r = sample();
    r.country = 0, r.orderInTrack[3] = 5, r.screenEffectEqA[2] = 1.25f, r.trainLengthPerDay[1] = 400;
    resetProjectForNew(r, 2, "2026-01-01 00:00:00");
    EXPECT_TRUE(r.country == 0 && r.orderInTrack[3] == 5 && r.screenEffectEqA[2] == 1.25f);  // kept
    EXPECT_TRUE(r.trainLengthPerDay[1] == 0 && r.nationality[4] == 2);
    EXPECT_TRUE(r.trainCount == 1 && r.stretchCount == 1 && r.bpCount[8] == 2 && r.runs(6, 4));
    EXPECT_EQ(r.lastUpdate.bytes(), "2026-01-01 00:00:00");

    r = startupDefaults("x");
    recomputeFacadeInsulation(r);
    EXPECT_NEAR(r.facadeInsulation, -29.99, 0.005);
    r.windowArea = 0.0f;
    recomputeFacadeInsulation(r);
    EXPECT_FLOAT_EQ(r.facadeInsulation, -23.0f);
    r.windowArea = 2.0f, r.roomAbsorption = 0.0f;
    recomputeFacadeInsulation(r);
    EXPECT_TRUE(std::isfinite(r.facadeInsulation));
}

// Filling the fields one by one walks the completeness check through the tables: trains
// before stretches, the stretch rows in the order the table asks for them.
TEST(Record, FirstMissingInputOrder)
{
    using T = MissingInput::Table;
    ProjectRecord r = startupDefaults("x");
    const std::vector<std::pair<std::function<void()>, MissingInput>> steps{
        {[] {}, {T::Train, 1, 1}},
        {[&] { r.trainLengthPerDay[1] = 1000; }, {T::Train, 1, 2}},
        {[&] { r.maxTrainLength[1] = 200; }, {T::Train, 1, 3}},
        {[&] { r.speed[1] = 100, r.runsOnTrack[1][1] = 0; }, {T::Train, 1, 6}},
        {[&] { r.runsOnTrack[1][1] = 1; }, {T::Stretch, 1, 6}},
        {[&] { r.shape[1] = 1; }, {T::Stretch, 1, 9}},
        {[&] { r.radius[1] = 300; }, {T::Stretch, 1, 7}},
        {[&] { r.startDistance[1] = 50; }, {T::Stretch, 1, 8}},
        {[&] { r.endDistance[1] = 80; }, {}},
        // A second stretch on track 2 with no train there points at the train table's row "Spår 2".
        {[&] { r.stretchCount = 2, r.track[2] = 2, r.perpDistance[2] = 30, r.runsOnTrack[1][2] = 0; },
         {T::Train, 1, 7}},
        {[&] { r.speed[1] = 0; }, {T::Train, 1, 3}},
    };
    for (std::size_t i = 0; i < steps.size(); ++i) {
        steps[i].first();
        EXPECT_EQ(firstMissingInput(r), steps[i].second) << "step " << i;
    }
}

// At most half the smallest distance, rounded half to even (a curve counts its smaller distance);
// zero distances do not count (with only those the previous limit stays); never below 1.
TEST(SegmentLength, UpperLimitFromHalfTheSmallestDistance)
{
    ProjectRecord r = startupDefaults("x");
    r.stretchCount = 3, r.shape[2] = 1;
    SegmentControl c;
    const struct {
        float straight1, start2, end2, straight3;
        int setting, used;
    } cases[] = {{5, 0, 0, 0, 10, 2},      {7, 0, 0, 0, 10, 4}, {7, 0, 0, 0, 3, 3},   {7, 40, 12, 100, 10, 4},
                 {100, 40, 12, 100, 10, 6}, {0, 0, 0, 0, 20, 6}, {0.6f, 0, 0, 0, 5, 1}, {0.6f, 0, 0, 0, 0, 1},
                 {30, 0, 0, 0, -4, 1}};
    for (const auto& k : cases) {
        r.perpDistance[1] = k.straight1, r.startDistance[2] = k.start2, r.endDistance[2] = k.end2;
        r.perpDistance[3] = k.straight3;
        EXPECT_EQ(refreshSegmentLength(r, k.setting, c), k.used) << k.straight1 << " " << k.end2 << " " << k.setting;
    }
}
