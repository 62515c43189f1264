// Timing of whole calculation runs: the bundled example, a heavy project, a long stretch and
// the growth of the cost with the train length.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>
#include <vector>

#include "calc/MaxLevel.h"
#include "calc/Run.h"
#include "model/DocumentState.h"
#include "model/ProjectFile.h"
#include "HeavyProject.h"

namespace {
using namespace bench;

ProjectRecord oneStretch(int a1, int a2, float d, int length)
{
    ProjectRecord r = startupDefaults("2026-01-01 10:00:00");
    r.stretchCount = 1;
    r.trainCount = 1;
    setStretch(r, 1, 1, 1, 0, a1, a2, d);
    setTrain(r, 1, length, 160, 0, 1);
    return r;
}

// The machine is shared: besides mean and median, the minimum of the repetitions
// (--benchmark_repetitions=5) is the figure least disturbed by other load.
double minimum(const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); }

void runWhole(benchmark::State& state, const ProjectRecord& project, int segment)
{
    RunSettings settings;
    settings.segmentLength = segment;
    for (auto _ : state) {
        ProjectRecord r = project;
        AngleFactors f;
        CalcResults res;
        RunCalculation(r, settings, f, nullptr, nullptr, res);
        benchmark::DoNotOptimize(res.SimultaneousMaxLevel);
    }
}

void BM_Example(benchmark::State& state)
{
    const ProjectRecord r = readProject(SKENBRUS_SOURCE_DIR "/examples/stationsvagen.sdb");
    SegmentControl c;
    runWhole(state, r, refreshSegmentLength(r, 1, c));
}
BENCHMARK(BM_Example)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", minimum);

void BM_Heavy(benchmark::State& state) { runWhole(state, heavyProject(), 1); }
BENCHMARK(BM_Heavy)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", minimum);

// The maximum-level part alone.
void maximumOnly(benchmark::State& state, ProjectRecord r, int segment)
{
    RunSettings settings;
    settings.segmentLength = segment;
    AngleFactors f;
    CalcResults frames;
    RunCalculation(r, settings, f, nullptr, nullptr, frames);  // arc frames of the curved stretches
    for (auto _ : state) {
        CalcResults res = frames;
        RunMaximumLevel(r, res, MaxRunHooks{});
        benchmark::DoNotOptimize(res.SimultaneousMaxLevel);
    }
}
void BM_ExampleMaximumOnly(benchmark::State& state)
{
    const ProjectRecord r = readProject(SKENBRUS_SOURCE_DIR "/examples/stationsvagen.sdb");
    SegmentControl c;
    maximumOnly(state, r, refreshSegmentLength(r, 1, c));
}
BENCHMARK(BM_ExampleMaximumOnly)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", minimum);
void BM_HeavyMaximumOnly(benchmark::State& state) { maximumOnly(state, heavyProject(), 1); }
BENCHMARK(BM_HeavyMaximumOnly)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", minimum);

// 0..180 degrees at 1000 m (about 115 km of track), segment 1 m.
void BM_Long(benchmark::State& state) { runWhole(state, oneStretch(0, 180, 1000.0f, 750), 1); }
BENCHMARK(BM_Long)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", minimum);

// One stretch of 2 292 m (0..180 degrees at 20 m): the cost grows with the train length
// until the train is longer than the track, then stays.
void BM_TrainLength(benchmark::State& state)
{
    runWhole(state, oneStretch(0, 180, 20.0f, static_cast<int>(state.range(0))), 1);
}
BENCHMARK(BM_TrainLength)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->ComputeStatistics("min", minimum);

}  // namespace

BENCHMARK_MAIN();
