#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <functional>
#include <limits>

#include "ModelFixtures.h"
#include "model/DocumentState.h"
#include "model/ProjectFile.h"

namespace fs = std::filesystem;

namespace {
std::int32_t i32At(const RecordBytes& b, int off)
{
    std::uint32_t x = 0;
    for (int i = 0; i < 4; ++i) x |= static_cast<std::uint32_t>(b[off + i]) << (8 * i);
    return static_cast<std::int32_t>(x);
}
float f32At(const RecordBytes& b, int off)
{
    const std::uint32_t x = static_cast<std::uint32_t>(i32At(b, off));
    float f;
    std::memcpy(&f, &x, 4);
    return f;
}

ProjectRecord sample()
{
    ProjectRecord r = startupDefaults("2026-12-06 10:00:00");
    r.stretchCount = 3;
    r.track[2] = 1;
    r.track[3] = 2;
    r.orderInTrack[2] = 2;
    r.trainCount = 2;
    return r;
}
}  // namespace

// Every field lands at its documented offset, little-endian.
TEST(ProjectFileLayout, FieldsAtTheirOffsets)
{
    ProjectRecord r = startupDefaults("2026-12-06 10:00:00");
    r.country = 2;
    r.objectName.setBytes("Objekt");
    r.description.setBytes("Beskr");
    r.caseOfficer.setBytes("Hand");
    r.trainCount = 5;
    r.stretchCount = 7;
    r.windowArea = 3.5f;
    r.roomAbsorption = 11.25f;
    r.windowRw = 33;
    r.indoorLevelOn = 1;
    r.facadeInsulation = -27.5f;
    r.facadeReflectionOn = 1;
    r.facadeDistance = 4.5f;
    // Per-stretch arrays: value 100*field + s so every element is distinct.
    struct IntArr {
        Array1<std::int32_t, 8>* a;
        int off;
    };
    struct FltArr {
        Array1<float, 8>* a;
        int off;
    };
    std::vector<IntArr> ints{{&r.angleFrom, 180}, {&r.angleTo, 212},     {&r.track, 244},         {&r.orderInTrack, 276},
                             {&r.shape, 340},     {&r.screenType, 660},  {&r.bankCorrection, 884}, {&r.switchesOn, 916},
                             {&r.switchStart, 948}, {&r.crossSectionOn, 980}, {&r.bpCount, 1012},
                             {&r.bpDistanceBasis, 1044}};
    std::vector<FltArr> flts{{&r.trackHeight, 308},      {&r.perpDistance, 372},     {&r.startDistance, 404},
                             {&r.endDistance, 436},      {&r.radius, 468},           {&r.receiverGroundHeight, 500},
                             {&r.groundSource, 564},     {&r.groundReceiver, 596},   {&r.groundMiddle, 628},
                             {&r.screenBaseHeight, 692}, {&r.screenDistance, 724},   {&r.screenEffectEqA, 756},
                             {&r.screenEffectEqB, 788},  {&r.screenEffectMaxA, 820}, {&r.screenEffectMaxB, 852},
                             {&r.receiverHeight, 1076},  {&r.screenCrestHeight, 1108}};
    for (std::size_t i = 0; i < ints.size(); ++i)
        for (int s = 1; s <= 8; ++s) (*ints[i].a)[s] = static_cast<int>(100 * i) + s;
    for (std::size_t i = 0; i < flts.size(); ++i)
        for (int s = 1; s <= 8; ++s) (*flts[i].a)[s] = static_cast<float>(100 * i) + s + 0.25f;
    for (int s = 1; s <= 8; ++s) r.spare[s] = {std::uint8_t(s), 0xAA, 0xBB, std::uint8_t(0xF0 + s)};
    struct TrainArr {
        Array1<std::int32_t, 6>* a;
        int off;
    };
    std::vector<TrainArr> trains{{&r.trainLengthPerDay, 1140}, {&r.maxTrainLength, 1164}, {&r.speed, 1188},
                                 {&r.trainType, 1212},        {&r.nationality, 1236}};
    for (std::size_t i = 0; i < trains.size(); ++i)
        for (int t = 1; t <= 6; ++t) (*trains[i].a)[t] = static_cast<int>(1000 * i) + t;
    for (int t = 1; t <= 6; ++t)
        for (int k = 1; k <= 8; ++k) r.runsOnTrack[t][k] = static_cast<std::uint8_t>((t * 8 + k) % 3);
    for (int s = 1; s <= 8; ++s)
        for (int p = 1; p <= 33; ++p) {
            r.bpDistance[s][p] = s * 100.0f + p;
            r.bpHeight[s][p] = -(s * 100.0f + p);
            r.bpLabel[s][p].clear();
            r.bpLabel[s][p].setBytes(p == 1 ? "SM" : p % 2 ? "BP" : "MT");
        }

    const RecordBytes b = encodeRecord(r);
    for (auto [off, text] : {std::pair{4, "Objekt"}, {44, "Beskr"}, {84, "Hand"}, {124, "2026-12-06 10:00:00"}}) {
        EXPECT_EQ(std::size_t{b[off]}, std::string(text).size()) << off;  // a length byte, then the characters
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[off + 1]), b[off]), text);
    }
    for (auto [off, v] : {std::pair{0, 2}, {144, 5}, {148, 7}, {160, 33}, {164, 1}, {172, 1}}) EXPECT_EQ(i32At(b, off), v) << off;
    for (auto [off, v] : {std::pair{152, 3.5f}, {156, 11.25f}, {168, -27.5f}, {176, 4.5f}}) EXPECT_EQ(f32At(b, off), v) << off;
    for (std::size_t i = 0; i < ints.size(); ++i)
        for (int s = 1; s <= 8; ++s)
            EXPECT_EQ(i32At(b, ints[i].off + (s - 1) * 4), static_cast<int>(100 * i) + s) << ints[i].off;
    for (std::size_t i = 0; i < flts.size(); ++i)
        for (int s = 1; s <= 8; ++s)
            EXPECT_FLOAT_EQ(f32At(b, flts[i].off + (s - 1) * 4), static_cast<float>(100 * i) + s + 0.25f)
                << flts[i].off;
    for (int s = 1; s <= 8; ++s) {
        EXPECT_EQ(b[532 + (s - 1) * 4], s);
        EXPECT_EQ(b[532 + (s - 1) * 4 + 3], 0xF0 + s);
    }
    for (std::size_t i = 0; i < trains.size(); ++i)
        for (int t = 1; t <= 6; ++t)
            EXPECT_EQ(i32At(b, trains[i].off + (t - 1) * 4), static_cast<int>(1000 * i) + t) << trains[i].off;
    for (int t = 1; t <= 6; ++t)
        for (int k = 1; k <= 8; ++k) EXPECT_EQ(b[1260 + (t - 1) * 8 + (k - 1)], (t * 8 + k) % 3);
    for (int s = 1; s <= 8; ++s)
        for (int p = 1; p <= 33; ++p) {
            EXPECT_FLOAT_EQ(f32At(b, 1308 + (s - 1) * 132 + (p - 1) * 4), s * 100.0f + p);
            EXPECT_FLOAT_EQ(f32At(b, 2364 + (s - 1) * 132 + (p - 1) * 4), -(s * 100.0f + p));
            const int lo = 3420 + (s - 1) * 99 + (p - 1) * 3;
            EXPECT_EQ(b[lo], 2);
            EXPECT_EQ(b[lo + 1], p == 1 ? 'S' : p % 2 ? 'B' : 'M');
        }
    EXPECT_EQ(decodeRecord(b), r);
}

TEST(ProjectFile, RoundTripIsByteIdenticalIncludingUndefinedBytes)
{
    SwedishDir tmp;
    RecordBytes raw = encodeRecord(sample());
    // Garbage after a string's length, a Boolean byte of 7 and odd spare bytes stay as read.
    raw[4] = 3;
    raw[5] = 'a';
    raw[6] = 'b';
    raw[7] = 'c';
    raw[20] = 0xE9;
    raw[1260] = 7;
    raw[533] = 0x55;
    const std::string path = tmp.file("p.sdb");
    writeBytes(path, raw);
    ProjectRecord r = readProject(path);
    EXPECT_TRUE(r.runs(1, 1));
    EXPECT_EQ(r.objectName.bytes(), "abc");
    writeProject(tmp.file("q.sdb"), r);
    EXPECT_EQ(bytesOf(tmp.file("q.sdb")), std::string(raw.begin(), raw.end()));
}

TEST(ProjectFile, ShortFileRefusedLongFileReadFromItsStart)
{
    SwedishDir tmp;
    RecordBytes raw = encodeRecord(sample());
    writeBytes(tmp.file("kort.sdb"), std::vector<std::uint8_t>(raw.begin(), raw.begin() + 4211));
    try {
        readProject(tmp.file("kort.sdb"));
        FAIL();
    } catch (const ProjectFileError& e) {
        EXPECT_EQ(e.kind, ProjectFileError::Kind::Invalid);
        EXPECT_STREQ(e.what(), "kort.sdb är ingen giltig skenbrusfil!");
    }
    std::vector<std::uint8_t> longer(raw.begin(), raw.end());
    longer.insert(longer.end(), 100, 0xFF);
    writeBytes(tmp.file("lang.sdb"), longer);
    EXPECT_EQ(encodeRecord(readProject(tmp.file("lang.sdb"))), raw);

    // Missing files and folders are reported with the system's text, not as invalid.
    for (const std::string& p : {tmp.file("finns-inte.sdb"), utf8Of(tmp.dir)}) {
        try {
            readProject(p);
            FAIL();
        } catch (const ProjectFileError& e) {
            EXPECT_EQ(e.kind, ProjectFileError::Kind::CannotOpen) << p;
        }
    }
}

// Records whose values would index outside the program's arrays are refused whole.
TEST(ProjectFile, UnsafeRecordsAreRefused)
{
    SwedishDir tmp;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    std::vector<std::pair<std::string, std::function<void(ProjectRecord&)>>> cases{
        {"trainCount 0", [](ProjectRecord& r) { r.trainCount = 0; }},
        {"trainCount 7", [](ProjectRecord& r) { r.trainCount = 7; }},
        {"stretchCount 9", [](ProjectRecord& r) { r.stretchCount = 9; }},
        {"country 3", [](ProjectRecord& r) { r.country = 3; }},
        {"nationality", [](ProjectRecord& r) { r.nationality[2] = -1; }},
        {"track gap", [](ProjectRecord& r) { r.track[3] = 3; }},
        {"track start", [](ProjectRecord& r) { r.track[1] = 2; }},
        {"order", [](ProjectRecord& r) { r.orderInTrack[2] = 9; }},
        {"bpCount unused slot", [](ProjectRecord& r) { r.bpCount[8] = 34; }},
        {"bpCount 1", [](ProjectRecord& r) { r.bpCount[1] = 1; }},
        {"nan distance", [nan](ProjectRecord& r) { r.perpDistance[2] = nan; }},
        {"inf break point", [](ProjectRecord& r) { r.bpHeight[1][2] = std::numeric_limits<float>::infinity(); }},
        {"angle to 181", [](ProjectRecord& r) { r.angleTo[3] = 181; }},
        {"angle from -1", [](ProjectRecord& r) { r.angleFrom[1] = -1; }},
    };
    for (auto& [name, change] : cases) {
        ProjectRecord r = sample();
        change(r);
        RecordBytes raw = encodeRecord(r);
        writeBytes(tmp.file("x.sdb"), raw);
        try {
            readProject(tmp.file("x.sdb"));
            ADD_FAILURE() << name << " was accepted";
        } catch (const ProjectFileError& e) {
            EXPECT_EQ(e.kind, ProjectFileError::Kind::Invalid) << name;
            EXPECT_STREQ(e.what(), "x.sdb är ingen giltig skenbrusfil!") << name;
        }
    }
    // The fuzzer's file: a stretch starting at angle -2147483648.
    const fs::path found = fs::path(SKENBRUS_SOURCE_DIR) / "fuzz/regressions/angle-from-int-min.sdb";
    EXPECT_THROW(readProject(found.string()), ProjectFileError);
    // Unused train slots and an unused stretch's NaN and angle are kept as stored.
    ProjectRecord r = sample();
    r.nationality[6] = 9;
    r.perpDistance[8] = nan;
    r.angleFrom[8] = -5;
    RecordBytes raw = encodeRecord(r);
    writeBytes(tmp.file("ok.sdb"), raw);
    EXPECT_NO_THROW(readProject(tmp.file("ok.sdb")));
}

TEST(ProjectFile, ReadProcessingNormalisesCodesLabelsAndHeights)
{
    SwedishDir tmp;
    ProjectRecord r = sample();
    r.facadeReflectionOn = 1;
    r.facadeDistance = 25.0f;
    r.nationality[1] = 2;
    r.trainType[1] = 4;   // Finnish list has 0..3
    r.trainType[2] = -3;  // negative like out of range
    r.bpLabel[2][2].setBytes("SK");
    r.bpHeight[2][2] = 1.5f;
    r.bpLabel[3][2].setBytes("SK");
    r.bpHeight[3][2] = 1.5f;
    r.screenBaseHeight[3] = 0.7f;
    r.bpLabel[5][3].setBytes("SK");  // slots outside the counts are normalised too
    RecordBytes raw = encodeRecord(r);
    writeBytes(tmp.file("p.sdb"), raw);
    ProjectRecord g = readProject(tmp.file("p.sdb"));
    EXPECT_EQ(g.facadeReflectionOn, 0);
    EXPECT_EQ(g.trainType[1], 0);
    EXPECT_EQ(g.trainType[2], 0);
    EXPECT_FLOAT_EQ(g.screenBaseHeight[2], 1.5f);
    EXPECT_FLOAT_EQ(g.screenBaseHeight[3], 0.7f);
    EXPECT_TRUE(g.bpLabel[2][2].equals("BP"));
    EXPECT_TRUE(g.bpLabel[5][3].equals("BP"));

    r.facadeDistance = 20.0f;
    raw = encodeRecord(r);
    writeBytes(tmp.file("p.sdb"), raw);
    EXPECT_EQ(readProject(tmp.file("p.sdb")).facadeReflectionOn, 1);

    // Track and receiver ground heights come from the labelled points of the stretches in use.
    ProjectRecord n = startupDefaults("x");
    n.bpHeight[1][1] = 2.0f;
    n.bpHeight[1][2] = -1.0f;
    n.trackHeight[2] = 0.5f;
    n.bpHeight[2][1] = 3.0f;
    normaliseAfterRead(n);
    EXPECT_FLOAT_EQ(n.trackHeight[1], 2.0f);
    EXPECT_FLOAT_EQ(n.receiverGroundHeight[1], -1.0f);
    EXPECT_FLOAT_EQ(n.trackHeight[2], 0.5f);
}

TEST(Record, NewKeepsCountryOrderAndScreenEffects)
{
    EXPECT_EQ(startupDefaults("x").receiverHeight[1], 2.0f);  // the start-up receiver stands 2 m up
    ProjectRecord r = sample();
    r.country = 0;
    r.orderInTrack[3] = 5;
    r.screenEffectEqA[2] = 1.25f;
    r.trainLengthPerDay[1] = 400;
    resetProjectForNew(r, 2, "2026-01-01 00:00:00");
    EXPECT_EQ(r.country, 0);
    EXPECT_EQ(r.orderInTrack[3], 5);
    EXPECT_FLOAT_EQ(r.screenEffectEqA[2], 1.25f);
    EXPECT_EQ(r.trainLengthPerDay[1], 0);
    EXPECT_EQ(r.nationality[4], 2);
    EXPECT_EQ(r.trainCount, 1);
    EXPECT_EQ(r.stretchCount, 1);
    EXPECT_EQ(r.lastUpdate.bytes(), "2026-01-01 00:00:00");
    EXPECT_EQ(r.bpCount[8], 2);
    EXPECT_TRUE(r.runs(6, 4));
}

TEST(Record, FacadeInsulationStaysFinite)
{
    ProjectRecord r = startupDefaults("x");
    recomputeFacadeInsulation(r);
    EXPECT_NEAR(r.facadeInsulation, -29.99, 0.005);
    r.windowArea = 0.0f;
    recomputeFacadeInsulation(r);
    EXPECT_FLOAT_EQ(r.facadeInsulation, -23.0f);
    r.windowArea = 2.0f;
    r.roomAbsorption = 0.0f;
    recomputeFacadeInsulation(r);
    EXPECT_TRUE(std::isfinite(r.facadeInsulation));
}

TEST(Record, FirstMissingInputOrder)
{
    using T = MissingInput::Table;
    ProjectRecord r = startupDefaults("x");
    EXPECT_EQ(firstMissingInput(r), (MissingInput{T::Train, 1, 1}));
    r.trainLengthPerDay[1] = 1000;
    EXPECT_EQ(firstMissingInput(r), (MissingInput{T::Train, 1, 2}));
    r.maxTrainLength[1] = 200;
    EXPECT_EQ(firstMissingInput(r), (MissingInput{T::Train, 1, 3}));
    r.speed[1] = 100;
    r.runsOnTrack[1][1] = 0;
    EXPECT_EQ(firstMissingInput(r), (MissingInput{T::Train, 1, 6}));
    r.runsOnTrack[1][1] = 1;
    EXPECT_EQ(firstMissingInput(r), (MissingInput{T::Stretch, 1, 6}));
    r.shape[1] = 1;
    EXPECT_EQ(firstMissingInput(r), (MissingInput{T::Stretch, 1, 9}));
    r.radius[1] = 300;
    EXPECT_EQ(firstMissingInput(r), (MissingInput{T::Stretch, 1, 7}));
    r.startDistance[1] = 50;
    EXPECT_EQ(firstMissingInput(r), (MissingInput{T::Stretch, 1, 8}));
    r.endDistance[1] = 80;
    EXPECT_TRUE(firstMissingInput(r).complete());
    // A second stretch on track 2 with no train there points at the train table's row "Spår 2".
    r.stretchCount = 2;
    r.track[2] = 2;
    r.perpDistance[2] = 30;
    r.runsOnTrack[1][2] = 0;
    EXPECT_EQ(firstMissingInput(r), (MissingInput{T::Train, 1, 7}));
    // Trains are checked before stretches.
    r.speed[1] = 0;
    EXPECT_EQ(firstMissingInput(r), (MissingInput{T::Train, 1, 3}));
}

TEST(SegmentLength, UpperLimitFromHalfTheSmallestDistance)
{
    ProjectRecord r = startupDefaults("x");
    SegmentControl c;
    r.perpDistance[1] = 5;
    EXPECT_EQ(refreshSegmentLength(r, 10, c), 2);  // 2.5 rounds to 2
    EXPECT_EQ(c.upper, 2);
    r.perpDistance[1] = 7;
    EXPECT_EQ(refreshSegmentLength(r, 10, c), 4);  // 3.5 rounds to 4
    EXPECT_EQ(refreshSegmentLength(r, 3, c), 3);
    // A curved stretch uses the smaller of its two distances; later stretches only lower it.
    r.stretchCount = 3;
    r.shape[2] = 1;
    r.startDistance[2] = 40;
    r.endDistance[2] = 12;
    r.perpDistance[3] = 100;
    EXPECT_EQ(refreshSegmentLength(r, 10, c), 4);
    r.perpDistance[1] = 100;
    EXPECT_EQ(refreshSegmentLength(r, 10, c), 6);
    // Only zero distances: the previous limit stays.
    r.perpDistance[1] = 0;
    r.startDistance[2] = r.endDistance[2] = 0;
    r.perpDistance[3] = 0;
    c.upper = 9;
    EXPECT_EQ(refreshSegmentLength(r, 20, c), 9);
    // Never below 1.
    r.perpDistance[1] = 0.6f;
    EXPECT_EQ(refreshSegmentLength(r, 5, c), 1);
    EXPECT_EQ(refreshSegmentLength(r, 0, c), 1);
    r.perpDistance[1] = 30;
    EXPECT_EQ(refreshSegmentLength(r, -4, c), 1);
}
