#include "model/ProjectFile.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "model/FileSystem.h"

namespace {
// Walks the record's fields in file order; the visitor sees every field with its offset.
template <class Rec, class V>
void visitFields(Rec& r, V&& v)
{
    v(r.country);
    v(r.objectName);
    v(r.description);
    v(r.caseOfficer);
    v(r.lastUpdate);
    v(r.trainCount);
    v(r.stretchCount);
    v(r.windowArea);
    v(r.roomAbsorption);
    v(r.windowRw);
    v(r.indoorLevelOn);
    v(r.facadeInsulation);
    v(r.facadeReflectionOn);
    v(r.facadeDistance);
    auto each8 = [&](auto& a) {
        for (int s = 1; s <= 8; ++s) v(a[s]);
    };
    each8(r.angleFrom);
    each8(r.angleTo);
    each8(r.track);
    each8(r.orderInTrack);
    each8(r.trackHeight);
    each8(r.shape);
    each8(r.perpDistance);
    each8(r.startDistance);
    each8(r.endDistance);
    each8(r.radius);
    each8(r.receiverGroundHeight);
    each8(r.spare);
    each8(r.groundSource);
    each8(r.groundReceiver);
    each8(r.groundMiddle);
    each8(r.screenType);
    each8(r.screenBaseHeight);
    each8(r.screenDistance);
    each8(r.screenEffectEqA);
    each8(r.screenEffectEqB);
    each8(r.screenEffectMaxA);
    each8(r.screenEffectMaxB);
    each8(r.bankCorrection);
    each8(r.switchesOn);
    each8(r.switchStart);
    each8(r.crossSectionOn);
    each8(r.bpCount);
    each8(r.bpDistanceBasis);
    each8(r.receiverHeight);
    each8(r.screenCrestHeight);
    auto each6 = [&](auto& a) {
        for (int t = 1; t <= 6; ++t) v(a[t]);
    };
    each6(r.trainLengthPerDay);
    each6(r.maxTrainLength);
    each6(r.speed);
    each6(r.trainType);
    each6(r.nationality);
    for (int t = 1; t <= 6; ++t)
        for (int k = 1; k <= 8; ++k) v(r.runsOnTrack[t][k]);
    for (int s = 1; s <= 8; ++s)
        for (int p = 1; p <= 33; ++p) v(r.bpDistance[s][p]);
    for (int s = 1; s <= 8; ++s)
        for (int p = 1; p <= 33; ++p) v(r.bpHeight[s][p]);
    for (int s = 1; s <= 8; ++s)
        for (int p = 1; p <= 33; ++p) v(r.bpLabel[s][p]);
}

struct Writer {
    std::uint8_t* out;
    std::size_t pos = 0;
    void put32(std::uint32_t x)
    {
        for (int i = 0; i < 4; ++i) out[pos++] = static_cast<std::uint8_t>(x >> (8 * i));
    }
    void operator()(const std::int32_t& x) { put32(static_cast<std::uint32_t>(x)); }
    void operator()(const float& x)
    {
        std::uint32_t u;
        std::memcpy(&u, &x, 4);
        put32(u);
    }
    void operator()(const std::uint8_t& b) { out[pos++] = b; }
    template <std::size_t N>
    void operator()(const std::array<std::uint8_t, N>& a)
    {
        for (auto b : a) out[pos++] = b;
    }
    template <int N>
    void operator()(const ShortString<N>& s)
    {
        (*this)(s.raw);
    }
};

struct Reader {
    const std::uint8_t* in;
    std::size_t pos = 0;
    std::uint32_t get32()
    {
        std::uint32_t x = 0;
        for (int i = 0; i < 4; ++i) x |= static_cast<std::uint32_t>(in[pos++]) << (8 * i);
        return x;
    }
    void operator()(std::int32_t& x) { x = static_cast<std::int32_t>(get32()); }
    void operator()(float& x)
    {
        std::uint32_t u = get32();
        std::memcpy(&x, &u, 4);
    }
    void operator()(std::uint8_t& b) { b = in[pos++]; }
    template <std::size_t N>
    void operator()(std::array<std::uint8_t, N>& a)
    {
        for (auto& b : a) b = in[pos++];
    }
    template <int N>
    void operator()(ShortString<N>& s)
    {
        (*this)(s.raw);
    }
};

std::string invalidMessage(const std::string& path) { return fileNameOnly(path) + " är ingen giltig skenbrusfil!"; }

std::string systemText(int err) { return std::error_code(err, std::generic_category()).message(); }
}  // namespace

RecordBytes encodeRecord(const ProjectRecord& r)
{
    RecordBytes b{};
    Writer w{b.data()};
    visitFields(r, w);
    return b;
}

ProjectRecord decodeRecord(const RecordBytes& bytes)
{
    ProjectRecord r;
    Reader rd{bytes.data()};
    visitFields(r, rd);
    return r;
}

std::string recordDefect(const ProjectRecord& r)
{
    if (r.trainCount < 1 || r.trainCount > kMaxTrains) return "trainCount";
    if (r.stretchCount < 1 || r.stretchCount > kMaxStretches) return "stretchCount";
    if (r.country < 0 || r.country > 2) return "country";
    for (int t = 1; t <= r.trainCount; ++t)
        if (r.nationality[t] < 0 || r.nationality[t] > 2) return "nationality";
    for (int s = 1; s <= r.stretchCount; ++s) {
        const int prev = s == 1 ? 0 : r.track[s - 1];
        if (s == 1 ? r.track[1] != 1 : (r.track[s] != prev && r.track[s] != prev + 1)) return "track";
        if (r.track[s] > kMaxTracks) return "track";
        if (r.orderInTrack[s] < 1 || r.orderInTrack[s] > kMaxStretches) return "orderInTrack";
        // The tables keep angles within 0..180; the level arithmetic relies on it.
        if (r.angleFrom[s] < 0 || r.angleFrom[s] > 180 || r.angleTo[s] < 0 || r.angleTo[s] > 180) return "angle";
    }
    for (int s = 1; s <= kMaxStretches; ++s)
        if (r.bpCount[s] < 2 || r.bpCount[s] > kMaxBreakPoints) return "bpCount";
    auto finite = [](float x) { return std::isfinite(x); };
    for (float x : {r.windowArea, r.roomAbsorption, r.facadeInsulation, r.facadeDistance})
        if (!finite(x)) return "float";
    for (int s = 1; s <= r.stretchCount; ++s) {
        for (const Array1<float, 8>* a :
             {&r.trackHeight, &r.perpDistance, &r.startDistance, &r.endDistance, &r.radius, &r.receiverGroundHeight,
              &r.groundSource, &r.groundReceiver, &r.groundMiddle, &r.screenBaseHeight, &r.screenDistance,
              &r.screenEffectEqA, &r.screenEffectEqB, &r.screenEffectMaxA, &r.screenEffectMaxB, &r.receiverHeight,
              &r.screenCrestHeight})
            if (!finite((*a)[s])) return "float";
        for (int p = 1; p <= r.bpCount[s]; ++p)
            if (!finite(r.bpDistance[s][p]) || !finite(r.bpHeight[s][p])) return "float";
    }
    return {};
}

void applyReadProcessing(ProjectRecord& r)
{
    if (r.facadeReflectionOn == 1 && !(r.facadeDistance >= 0.5f && r.facadeDistance <= 20.0f))
        r.facadeReflectionOn = 0;
    for (int t = 1; t <= r.trainCount && t <= kMaxTrains; ++t) rebuildTrainTypeList(r, t);
    normaliseAfterRead(r);
}

ProjectRecord readProject(const std::string& path)
{
    const std::filesystem::path file = pathFromUtf8(path);
    std::error_code ec;
    if (std::filesystem::is_directory(file, ec))
        throw ProjectFileError(ProjectFileError::Kind::CannotOpen, path + ": " + systemText(EISDIR));
    std::FILE* f = openFile(file, "rb");
    if (!f) throw ProjectFileError(ProjectFileError::Kind::CannotOpen, path + ": " + systemText(errno));
    RecordBytes bytes{};
    const std::size_t n = std::fread(bytes.data(), 1, bytes.size(), f);
    const bool readError = std::ferror(f) != 0;
    const int err = errno;
    std::fclose(f);
    if (readError) throw ProjectFileError(ProjectFileError::Kind::CannotOpen, path + ": " + systemText(err));
    if (n < bytes.size()) throw ProjectFileError(ProjectFileError::Kind::Invalid, invalidMessage(path));
    ProjectRecord r = decodeRecord(bytes);
    if (!recordDefect(r).empty()) throw ProjectFileError(ProjectFileError::Kind::Invalid, invalidMessage(path));
    applyReadProcessing(r);
    // The read processing copies heights from labelled break points, also from slots past
    // bpCount that the check above does not cover: check the result again.
    if (!recordDefect(r).empty()) throw ProjectFileError(ProjectFileError::Kind::Invalid, invalidMessage(path));
    return r;
}

void writeProject(const std::string& path, const ProjectRecord& r, ReplaceStep failAt)
{
    const RecordBytes bytes = encodeRecord(r);
    if (const std::error_code ec = replaceFile(pathFromUtf8(path), bytes, failAt))
        throw ProjectFileError(ProjectFileError::Kind::CannotWrite, path + ": " + errorText(ec));
}

std::string fileNameOnly(const std::string& path) { return utf8Of(pathFromUtf8(path).filename()); }

std::string folderOf(const std::string& path) { return utf8Of(pathFromUtf8(path).parent_path()); }
