// Timing of a 16-height floor study of the heavy project on 1 and on 2 threads. The work runs
// on the study's own threads, so the wall-clock time is what counts.

#include <benchmark/benchmark.h>

#include "HeavyProject.h"
#include "calc/Study.h"

namespace {

void BM_HeavyFloorStudy16(benchmark::State& state)
{
    const ProjectRecord r = bench::heavyProject();
    StudyRequest q;
    q.kind = StudyKind::Floors;
    HeightRange(1.5, 3.0, 46.5, q.heights);  // 16 floors
    RunSettings settings;
    settings.segmentLength = 1;
    for (auto _ : state) {
        const StudyOutcome out = RunStudy(r, settings, AngleFactors{}, q, static_cast<int>(state.range(0)));
        benchmark::DoNotOptimize(out.rows.back().results.SimultaneousMaxLevel);
    }
    state.counters["heights"] = static_cast<double>(q.heights.size());
}
BENCHMARK(BM_HeavyFloorStudy16)->ArgName("threads")->Arg(1)->Arg(2)->UseRealTime()->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
