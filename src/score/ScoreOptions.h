#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The command line of quirtel-score.
namespace quirtel {

struct ScoreOptions {
    std::int32_t seconds = 600;
    bool capitalsDouble = true;
    bool spellCheck = true;
    std::string dictionary;  // the word list file; WORD_LIST_PATH unless given
    std::string personal;    // a personal word list file; none unless given
    bool json = false;
    bool help = false;
    std::optional<std::string> file;  // none (or "-"): standard input
    // --history: read the statistics log `file` (STATISTICS_LOG_PATH when
    // none) instead of scoring a text; --csv prints it as CSV.
    bool history = false;
    bool csv = false;
};

// Reads the arguments after the program name. Returns false with a one-line
// UTF-8 message (arguments quoted as given) in `error` for an unknown option, a missing or invalid
// value (--seconds takes 0 to 2147483647), a second file, --csv without
// --history, an option of scoring (--seconds, --capitals-single,
// --no-spelling, --dictionary, --personal) with --history, --csv with --json, or "-" for the log of
// --history. --help wins over everything after it and stops the reading.
bool ParseScoreOptions(const std::vector<std::string_view>& args, ScoreOptions& options,
                       std::string& error);

// The text --help prints (UTF-8).
std::string ScoreUsage();

}  // namespace quirtel
