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
    // Whether --dictionary named it; if not, the installed list replaces a
    // missing WORD_LIST_PATH.
    bool dictionaryGiven = false;
    std::string personal;  // a personal word list file; none unless given
    bool json = false;
    bool help = false;
    std::optional<std::string> file;  // none (or "-"): standard input
    // --history: read the statistics log `file` (STATISTICS_LOG_PATH, or the
    // launcher's log when that is missing) instead of scoring a text; --csv
    // prints it as CSV.
    bool history = false;
    bool csv = false;
    // --model: judge the text as a copy of this model file, under these
    // exam rules (see CopyRules).
    std::optional<std::string> model;
    int penalty = 5;
    int passMark = 0;
    int maxErrorsPercent = 0;
    // --all: with --history, the records the user has hidden too.
    bool all = false;
};

// Reads the arguments after the program name. Returns false with a one-line
// UTF-8 message (arguments quoted as given) in `error` for an unknown option,
// a missing or invalid value (--seconds takes 0 to 2147483647), a second file,
// --csv or --all without --history, an option of scoring (--seconds,
// --capitals-single, --no-spelling, --dictionary, --personal) with --history,
// --csv with --json, or "-" for the log of --history; --penalty (0 to 100),
// --pass (0 to 2147483647) and --max-errors (0 to 100) without --model, or
// --model with --history. --help wins over everything after it and stops the
// reading.
bool ParseScoreOptions(const std::vector<std::string_view>& args, ScoreOptions& options,
                       std::string& error);

// The text --help prints (UTF-8).
std::string ScoreUsage();

}  // namespace quirtel
