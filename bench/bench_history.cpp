// Reading a statistics log of 100,000 records (some eight years of ten tests
// a day) against reading the same file line by line with std::getline.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <random>
#include <string>

#include "results/FinalResult.h"
#include "results/StatisticsHistory.h"

namespace {

constexpr int kRecords = 100'000;

// Written once with the program's own record texts; removed at exit.
struct LogFile {
    std::string path;
    LogFile() {
        path = std::string(std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp") +
               "/quirtel_bench_history_" + std::to_string(::getpid()) + ".txt";
        std::ofstream out(path, std::ios::binary);
        std::mt19937 random(3);
        std::uniform_int_distribution<int> keystrokes(600, 2500);
        std::uniform_int_distribution<int> faults(0, 25);
        quirtel::CalendarTime time = 1'500'000'000;
        for (int i = 0; i < kRecords; ++i) {
            time += 2400 + random() % 20000;
            const int seconds = 60 * (1 + static_cast<int>(random() % 10));
            const double speed = quirtel::ComputeSpeed(keystrokes(random), seconds);
            const bool spellCheck = i % 7 != 0;
            const int count = spellCheck ? faults(random) : 0;
            out << quirtel::BuildStatisticsRecord(
                quirtel::FormatSpeedText(speed), quirtel::FormatNetSpeedText(speed, count),
                quirtel::FormatTimeText(seconds), quirtel::FormatFaultsText(count, spellCheck),
                quirtel::FormatDateText(time));
        }
    }
    ~LogFile() { std::remove(path.c_str()); }
};

const LogFile& Log() {
    static const LogFile log;
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
