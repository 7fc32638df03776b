#include "core/files/DocumentFile.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>

#include "core/files/FileDescriptor.h"
#include "core/files/RegularFile.h"

namespace quirtel {

namespace {

// Opens `path` as a regular file and closes it again; a failed close is a
// failure too.
FileResult OpenAndClose(const std::string& path, int flags) {
    FileDescriptor fd;
    struct stat info {};
    if (FileResult opened = OpenFile(path, flags, fd, info); !opened.ok()) {
        return opened;
    }
    if (const int err = fd.Close(); err != 0) {
        return FailureFromErrno(err);
    }
    return {};
}

}  // namespace

FileResult OpenDocumentFile(const std::string& path) {
    return OpenAndClose(path, O_RDONLY);
}

FileResult SaveDocumentFile(const std::string& path) {
    // A device or pipe is refused before it is opened for writing, which for
    // some devices is already an action.
    struct stat info {};
    if (!path.empty() && ::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
        return {FileError::notRegularFile, S_ISDIR(info.st_mode) ? EISDIR : 0};
    }
    // Append mode never truncates; the descriptor is checked again in case the
    // path changed in between.
    return OpenAndClose(path, O_WRONLY | O_CREAT | O_APPEND);
}

}  // namespace quirtel
