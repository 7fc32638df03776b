#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>

namespace quirtel::registry {

// Whole-file reads and replacements for the registry file. Results are the
// registry's codes: REGISTRY_ACCESS_DENIED for permission and read-only
// errors, REGISTRY_FAILED for any other failure.

// Appends the file's bytes to `out`. REGISTRY_NOT_FOUND when there is no
// file; REGISTRY_ACCESS_DENIED for a folder, REGISTRY_FAILED for anything else
// that is no regular file. Never blocks on a FIFO. Stops once `out` holds more
// than `maxSize` bytes and sets `tooLarge`.
int ReadWholeFile(const std::string& path, std::string& out, std::size_t maxSize, bool& tooLarge);

// Replaces the file at `path` with `content` in one step, through a temporary
// file in the same folder, fsync and rename; on failure the old file stays
// whole. Follows a symbolic link to the file it names and creates missing
// folders (private to the user). REGISTRY_FAILED for an empty path. After a
// successful replacement, temporary files that earlier writes left behind are
// removed.
int WriteFileAtomically(const std::string& path, std::string_view content);

// Removes the temporary files of `path` ("<name>.XXXXXX" beside it, as the
// replacement makes them) that are at least `minimumAge` old; younger ones
// may belong to a write still going on in another process.
void RemoveStaleTemporaries(const std::string& path,
                            std::chrono::seconds minimumAge = std::chrono::seconds(60));

}  // namespace quirtel::registry
