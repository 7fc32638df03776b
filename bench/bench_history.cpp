// Reading a statistics log of 100,000 records (some eight years of ten tests
// a day) against reading the same file line by line with std::getline.
#include <benchmark/benchmark.h>

#include <fstream>
#include <string>

#include "BenchLog.h"
#include "core/results/StatisticsHistory.h"

namespace {

const quirtel::bench::BenchLog& Log() {
    static const quirtel::bench::BenchLog log(100'000);
    return log;
}

void BM_GetlineBaseline(benchmark::State& state) {
    std::size_t lines = 0;
    for (auto _ : state) {
        std::ifstream in(Log().path, std::ios::binary);
        std::string line;
        lines = 0;
        while (std::getline(in, line)) {
            ++lines;
        }
        benchmark::DoNotOptimize(lines);
    }
    state.counters["lines"] = static_cast<double>(lines);
}
BENCHMARK(BM_GetlineBaseline)->Unit(benchmark::kMillisecond);

void BM_ReadStatisticsLog(benchmark::State& state) {
    std::size_t records = 0;
    for (auto _ : state) {
        const quirtel::StatisticsHistory history = quirtel::ReadStatisticsLog(Log().path);
        records = history.records.size();
        benchmark::DoNotOptimize(records);
    }
    state.counters["records"] = static_cast<double>(records);
}
BENCHMARK(BM_ReadStatisticsLog)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
