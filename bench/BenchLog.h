#pragma once

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>

#include "core/results/FinalResult.h"

// A statistics log for the benchmarks: `records` records written with the
// program's own record texts (some eight years of ten tests a day for
// 100,000), one test in seven without spelling check. Removed when destroyed.
namespace quirtel::bench {

struct BenchLog {
    std::string path;

    explicit BenchLog(int records) {
        path = std::string(std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp") +
               "/quirtel_bench_log_" + std::to_string(::getpid()) + "_" + std::to_string(records) +
               ".txt";
        std::ofstream out(path, std::ios::binary);
        std::mt19937 random(3);
        std::uniform_int_distribution<int> keystrokes(600, 2500);
        std::uniform_int_distribution<int> faults(0, 25);
        CalendarTime time = 1'500'000'000;
        for (int i = 0; i < records; ++i) {
            time += 2400 + random() % 20000;
            const int seconds = 60 * (1 + static_cast<int>(random() % 10));
            const double speed = ComputeSpeed(keystrokes(random), seconds);
            const bool spellCheck = i % 7 != 0;
            const int count = spellCheck ? faults(random) : 0;
            out << BuildStatisticsRecord(FormatSpeedText(speed), FormatNetSpeedText(speed, count),
                                         FormatTimeText(seconds),
                                         FormatFaultsText(count, spellCheck), FormatDateText(time));
        }
    }
    ~BenchLog() { std::remove(path.c_str()); }
    BenchLog(const BenchLog&) = delete;
    BenchLog& operator=(const BenchLog&) = delete;
};

}  // namespace quirtel::bench
