#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

// The statistics log: one record appended per finished test. The program only
// appends to it; the progress window and quirtel-score --history read it.
namespace quirtel {

inline constexpr const char* STATISTICS_LOG_PATH = "./estadistica.txt";

// Why a file operation failed, with the numbers that the log's message shows.
enum FileFailureCause : int {
    none = 0,
    generic = 1,
    fileNotFound = 2,
    badPath = 3,
    tooManyOpenFiles = 4,
    accessDenied = 5,
    invalidFile = 6,
    removeCurrentDir = 7,
    directoryFull = 8,
    badSeek = 9,
    hardIO = 10,
    sharingViolation = 11,
    lockViolation = 12,
    diskFull = 13,
    endOfFile = 14
};

// A failed file operation: its cause code and the file name to show.
struct FileFailure {
    int cause = none;
    std::string fileName;
};

// Appends `record` (bytes written as they are) to the file at `path`, creating
// it when missing. While writing it holds an exclusive flock and an
// open-file-description write lock on the file; a lock of either kind held
// elsewhere is retried for `lockWait` before giving up with sharingViolation.
// A file without any write permission bit is refused with accessDenied, also
// for root. A failure after opening cuts the file back to its previous
// length, so no partial record stays. Returns nullopt on success; otherwise the
// cause and the file name: `path` as given when the opening (or the lock)
// failed, the absolute path after that.
std::optional<FileFailure> AppendStatisticsRecord(
    const std::string& path, std::string_view record,
    std::chrono::milliseconds lockWait = std::chrono::seconds(2));

// "No puedo escribir datos\n<CFileException(cause)>\nfileName".
std::string FileFailureMessage(const FileFailure& failure);

// The cause code for an errno value of a failed opening. ENOENT gives
// fileNotFound; AppendStatisticsRecord turns it into badPath when a folder of
// the path is missing.
int CauseFromErrno(int err);

// `path` made absolute against `currentDir` (itself absolute) and normalised
// lexically: "." and empty segments dropped, ".." takes one segment off (never
// above the root). Symbolic links are not followed.
std::string AbsolutePath(std::string_view currentDir, std::string_view path);

}  // namespace quirtel
