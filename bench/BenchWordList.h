#pragma once

#include <unistd.h>

#include <sys/stat.h>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>

// The word list the benchmarks measure: the shipped datos/es.dic when it can be
// found (QUIRTEL_SOURCE_DIR, the source tree known at build time, or the
// current directory), else a synthetic list of the same shape written once to
// a temporary file.
namespace quirtel::bench {

struct BenchWordList {
    std::string path;
    bool real = false;
};

inline bool IsRegularFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// About a million lower-case words, 2 to 23 bytes, most of 8 to 13, with the
// Spanish accented letters as single Windows-1252 bytes.
inline std::string WriteSyntheticWordList() {
    const std::string path = std::string(std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp") +
                             "/quirtel_bench_synthetic_" + std::to_string(::getpid()) + ".dic";
    std::ofstream out(path, std::ios::binary);
    std::mt19937_64 random(1234);
    std::normal_distribution<double> length(10.7, 2.6);
    static const char letters[] =
        "aaaaaaeeeeeeiiiioooooouuusssrrrrnnnnllllddttccmmppbbggvvffhqzjyx"
        "\xE1\xE9\xED\xF3\xFA\xF1";
    std::uniform_int_distribution<std::size_t> letter(0, sizeof letters - 2);
    std::string word;
    for (int i = 0; i < 1'040'000; ++i) {
        const int n = std::clamp(static_cast<int>(length(random) + 0.5), 2, 23);
        word.clear();
        for (int k = 0; k < n; ++k) {
            word += letters[letter(random)];
        }
        out << word << '\n';
    }
    return path;
}

// Removes the synthetic list when the benchmark ends.
struct TemporaryFile {
    std::string path;
    ~TemporaryFile() { std::remove(path.c_str()); }
};

inline BenchWordList FindBenchWordList() {
    std::string candidates[3];
    if (const char* source = std::getenv("QUIRTEL_SOURCE_DIR")) {
        candidates[0] = std::string(source) + "/datos/es.dic";
    }
#ifdef QUIRTEL_SOURCE_DIR
    candidates[1] = std::string(QUIRTEL_SOURCE_DIR) + "/datos/es.dic";
#endif
    candidates[2] = "datos/es.dic";
    for (const std::string& candidate : candidates) {
        if (!candidate.empty() && IsRegularFile(candidate)) {
            return {candidate, true};
        }
    }
    static const TemporaryFile synthetic{WriteSyntheticWordList()};
    return {synthetic.path, false};
}

}  // namespace quirtel::bench
