#pragma once

#include <chrono>
#include <string>
#include <string_view>

#include "core/files/FileResult.h"

namespace quirtel {

// Replaces the file at `path` with `content` in one step, through a temporary
// file in the same folder, fsync and rename; on failure the old file stays
// whole. Follows a symbolic link to the file it names, also when that file
// does not exist yet (a dangling link), and creates missing folders (private
// to the user). The new file keeps the old one's permission bits; a file
// made new is private to the user (0600). An empty path is missing. After a
// successful replacement, temporary files that earlier writes left behind are
// removed.
FileResult ReplaceFileAtomically(const std::string& path, std::string_view content);

// Creates the missing folders on the way to the file at `path`, private to
// the user.
FileResult CreateFolders(const std::string& path);

// Removes the temporary files of `path` ("<name>.XXXXXX" beside it, as the
// replacement makes them) that are at least `minimumAge` old; younger ones
// may belong to a write still going on in another process.
void RemoveStaleTemporaries(const std::string& path,
                            std::chrono::seconds minimumAge = std::chrono::seconds(60));

}  // namespace quirtel
