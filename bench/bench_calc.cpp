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

namespace {

void setStretch(ProjectRecord& r, int s, int track, int order, int shape, int a1, int a2, float d, float rs = 0,
                float re = 0, float radius = 0)
{
    r.track[s] = track;
    r.orderInTrack[s] = order;
    r.shape[s] = shape;
    r.angleFrom[s] = a1;
    r.angleTo[s] = a2;
    r.perpDistance[s] = d;
    r.startDistance[s] = rs;
    r.endDistance[s] = re;
    r.radius[s] = radius;
    r.groundSource[s] = 0.5f;
    r.groundReceiver[s] = 1.0f;
    r.groundMiddle[s] = 0.3f;
}

void setTrain(ProjectRecord& r, int t, int length, int speed, int type, int tracks)
{
    r.trainLengthPerDay[t] = 20 * length;
    r.maxTrainLength[t] = length;
    r.speed[t] = speed;
    r.nationality[t] = 1;
    r.trainType[t] = type;
    for (int k = 1; k <= tracks; ++k) r.runsOnTrack[t][k] = 1;
}

// 8 stretches on 4 tracks (two of them curved), 6 trains of 750 m, distances 10..500 m.
ProjectRecord heavyProject()
{
    ProjectRecord r = startupDefaults("2026-01-01 10:00:00");
    r.stretchCount = 8;
    r.trainCount = 6;
    setStretch(r, 1, 1, 1, 0, 0, 70, 10.0f);
    setStretch(r, 2, 1, 2, 0, 70, 180, 10.0f);
    setStretch(r, 3, 2, 1, 0, 10, 95, 40.0f);
    setStretch(r, 4, 2, 2, 1, 0, 60, 0.0f, 150.0f, 200.0f, 400.0f);
    setStretch(r, 5, 3, 1, 0, 0, 120, 120.0f);
    setStretch(r, 6, 3, 2, 2, 0, 50, 0.0f, 250.0f, 300.0f, 600.0f);
    setStretch(r, 7, 4, 1, 0, 0, 90, 500.0f);
    setStretch(r, 8, 4, 2, 0, 90, 180, 500.0f);
    for (int t = 1; t <= 6; ++t) setTrain(r, t, 750, 80 + 20 * t, t % 6, 4);
    return r;
}

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
