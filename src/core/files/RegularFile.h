#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>

#include "core/files/FileDescriptor.h"
#include "core/files/FileResult.h"

// Opening, reading, writing and locking files, the one way the program opens
// them: an opening never blocks on a named pipe or a device unless asked to.
namespace quirtel {

enum class FileKind {
    regular,  // anything else is refused with notRegularFile
    any,      // a pipe or a device is taken too (and then read or written as it is)
    waiting,  // as any, but the opening of a FIFO waits for its other end, as a
              // command reading a named file does
};

// Opens `path` with `flags` (O_RDONLY, O_WRONLY | O_CREAT...; O_CLOEXEC and
// O_NOCTTY are added) into `fd` and fills `info`. The opening never waits on
// a FIFO (unless FileKind::waiting); the descriptor blocks afterwards. With
// FileKind::regular a folder, FIFO, device or socket is closed again and
// refused (systemError EISDIR for a folder). `mode` is for a file that
// O_CREAT makes.
FileResult OpenFile(const std::string& path, int flags, FileDescriptor& fd, struct stat& info,
                    FileKind kind = FileKind::regular, mode_t mode = 0666);

// Appends what `fd` holds, to its end, to `out`: tooLarge (with `out` holding
// more than `maxBytes`, nothing read after that) once it passes `maxBytes`.
FileResult ReadAll(int fd, std::string& out, std::size_t maxBytes);

// Reads the regular file at `path` whole into `out` (replaced): tooLarge, and
// `out` empty, when it is or grows larger than `maxBytes`.
FileResult ReadRegularFile(const std::string& path, std::string& out, std::size_t maxBytes);

// Writes all of `bytes` to `fd`, going on after a short write; a device that
// takes nothing more is diskFull.
FileResult WriteAll(int fd, std::string_view bytes);

// Takes an exclusive flock and an open-file-description write lock over the
// whole of `fd` (flock for other instances of this program, the record lock
// for programs that lock with fcntl), retrying while either is held elsewhere.
// False when one is still held elsewhere after `wait`. A file system that
// cannot lock one way counts as locked that way.
bool LockForWriting(int fd, std::chrono::milliseconds wait);

// Opens (creating it, private to the user) the lock file at `lockPath` into
// `fd` and locks it as LockForWriting does; closing `fd` releases it. Another
// holder after `wait` gives accessDenied with systemError EWOULDBLOCK.
FileResult LockFile(const std::string& lockPath, FileDescriptor& fd,
                    std::chrono::milliseconds wait);

}  // namespace quirtel
