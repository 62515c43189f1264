// Feeds any bytes to the project-file reader; a file that is accepted and complete is
// calculated end to end (equivalent and maximum level, result grid). A crash, a sanitizer
// report, a hang or a non-finite result is a finding; a refused file or the run's own
// range error (an exception with a Swedish message) is an orderly outcome.

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <random>
#include <string>

#include "calc/Profile.h"
#include "calc/Results.h"
#include "calc/Run.h"
#include "model/DocumentState.h"
#include "model/ProjectFile.h"

namespace {

// The run is linear in train length and track length; projects far larger than any real one
// would only make the fuzzer slow, so they are read but not calculated.
bool smallEnough(const ProjectRecord& r)
{
    for (int t = 1; t <= r.trainCount; ++t)
        if (std::abs(static_cast<long long>(r.maxTrainLength[t])) > 3000) return false;
    for (int s = 1; s <= r.stretchCount; ++s) {
        for (float v : {r.perpDistance[s], r.startDistance[s], r.endDistance[s], r.radius[s]})
            if (std::fabs(v) > 3000.0f) return false;
    }
    return true;
}

const std::string& scratchPath()
{
    // One scratch file per fuzzing process (several may run side by side).
    static const std::string p =
        (std::filesystem::temp_directory_path() / ("skenbrus-fuzz-" + std::to_string(std::random_device{}()) + ".sdb"))
            .string();
    return p;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string& path = scratchPath();
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return 0;
    if (size > 0) std::fwrite(data, 1, size, f);
    std::fclose(f);

    ProjectRecord r;
    try {
        r = readProject(path);
    } catch (const ProjectFileError&) {
        return 0;
    }
    if (!firstMissingInput(r).complete() || !smallEnough(r)) return 0;

    SegmentControl control;
    RunSettings settings;
    settings.segmentLength = refreshSegmentLength(r, 1, control);
    settings.facadeBoxChecked = r.facadeReflectionOn != 0;
    settings.indoorBoxChecked = r.indoorLevelOn != 0;
    AngleFactors factors;
    CalcResults res;
    try {
        RunCalculation(r, settings, factors, nullptr, nullptr, res);
    } catch (const std::exception&) {
        return 0;
    }
    for (int s = 1; s <= 8; ++s)
        if (!std::isfinite(res.StretchMaxLevel[s]) || !std::isfinite(res.StretchMaxLevelFullTrain[s]) ||
            !std::isfinite(res.StretchEqLevel[s]))
            std::abort();
    for (int k = 1; k <= 4; ++k)
        if (!std::isfinite(res.TrackMaxLevel[k]) || !std::isfinite(res.TrackEqLevel[k])) std::abort();
    if (!std::isfinite(res.SimultaneousMaxLevel)) std::abort();
    return 0;
}
