#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/results/StatisticsRecord.h"

namespace quirtel {
class HiddenRecords;
}

// The statistics log read back, for the progress window and quirtel-score.
namespace quirtel {

// The most of the log that is read: its last 64 MiB, some 600,000 records.
inline constexpr std::size_t MAX_HISTORY_BYTES = std::size_t{64} << 20;

struct StatisticsHistory {
    enum class Status {
        read,        // the log was read (the records may still be none)
        missing,     // there is no log yet: no test has been finished
        notAFile,    // a folder, a FIFO, a device: not read, and never waited on
        unreadable,  // it exists but cannot be opened or read (error holds errno)
    };
    Status status = Status::read;
    int error = 0;

    // The records in file order, oldest first.
    std::vector<StatisticsRecord> records;
    // For each record: where its line starts in the log, and whether the
    // user has hidden it (see HiddenRecords).
    std::vector<std::uint64_t> lineOffsets;
    std::vector<bool> hidden;
    std::int64_t hiddenCount = 0;
    // Lines that are neither a record nor empty; they are skipped, never mended.
    std::int64_t unreadableLines = 0;
    // The log's size; when it is larger than what was read, only its end was
    // read, from the first whole line on.
    std::uint64_t fileBytes = 0;
    std::uint64_t bytesRead = 0;

    bool Cut() const { return bytesRead < fileBytes; }
};

// Reads the log at `path` without writing to it or waiting on it: a regular
// file only (a FIFO or a device is notAFile), and of a file larger than
// `maxBytes` only the last `maxBytes`, without the line cut by that start.
// Lines end with LF or CR LF; empty lines (such as the log's first) are not
// records and not unreadable. Records whose lines `hidden` holds are marked
// hidden. Throws std::bad_alloc when memory runs out.
StatisticsHistory ReadStatisticsLog(const std::string& path,
                                    std::size_t maxBytes = MAX_HISTORY_BYTES,
                                    const HiddenRecords* hidden = nullptr);

// Reads the records out of log text held in memory, adding to `history`;
// `offset` is where `text` starts in the log. Records whose lines `hidden`
// holds are marked hidden.
void ParseStatisticsLog(std::string_view text, StatisticsHistory& history, std::uint64_t offset = 0,
                        const HiddenRecords* hidden = nullptr);

// Removes the hidden records (and their offsets and marks).
void DropHidden(StatisticsHistory& history);

// The line of the log at `path` that starts at `offset`, without its line
// break (and trailing CR); nullopt when it cannot be read or is longer than
// 4 KiB. For a record's line, to hide it or show it again.
std::optional<std::string> ReadLogLine(const std::string& path, std::uint64_t offset);

// Windows-1252 sentences about what was read, for the window and the command
// line; empty when there is nothing to say. The problem with the file
// (missing, not a file, unreadable) names `path`.
std::string HistoryProblemText(const StatisticsHistory& history, const std::string& path);
// "Solo se han leído ..." when the log was cut, else empty.
std::string HistoryCutText(const StatisticsHistory& history);
// "Líneas ilegibles ...: N" when there are any, else empty.
std::string HistoryUnreadableText(const StatisticsHistory& history);

}  // namespace quirtel
