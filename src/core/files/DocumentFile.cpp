#include "core/files/DocumentFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace quirtel {

namespace {

DocumentFileResult Failure(int err) {
    return {DocumentErrorFromErrno(err), err};
}

// Checks the opened descriptor and closes it; a failed close is a failure too.
DocumentFileResult CheckAndClose(int fd) {
    struct stat info {};
    DocumentFileResult result;
    if (::fstat(fd, &info) != 0) {
        result = Failure(errno);
    } else if (!S_ISREG(info.st_mode)) {
        result = {DocumentFileError::notRegularFile, 0};
    }
    if (::close(fd) != 0 && result.ok() && errno != EINTR) {
        result = Failure(errno);
    }
    return result;
}

}  // namespace

DocumentFileError DocumentErrorFromErrno(int err) {
    switch (err) {
        case 0:
            return DocumentFileError::none;
        case ENOENT:
        case ENOTDIR:
        case ENAMETOOLONG:
        case ELOOP:
        case EINVAL:
            return DocumentFileError::notFound;
        case EACCES:
        case EPERM:
        case EROFS:
        case ETXTBSY:
            return DocumentFileError::accessDenied;
        case EISDIR:
        case ENXIO:  // a named pipe with no reader, opened for writing
        case ENODEV:
            return DocumentFileError::notRegularFile;
        case ENOSPC:
        case EDQUOT:
            return DocumentFileError::diskFull;
        default:
            return DocumentFileError::other;
    }
}

DocumentFileResult OpenDocumentFile(const std::string& path) {
    if (path.empty()) {
        return Failure(ENOENT);
    }
    // O_NONBLOCK: a named pipe opens at once instead of waiting for a writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        return Failure(errno);
    }
    return CheckAndClose(fd);
}

DocumentFileResult SaveDocumentFile(const std::string& path) {
    if (path.empty()) {
        return Failure(ENOENT);
    }
    // A device or pipe is refused before it is opened for writing, which for
    // some devices is already an action.
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
        return {DocumentFileError::notRegularFile, 0};
    }
    // Append mode never truncates; the descriptor is checked again in case the
    // path changed in between.
    const int fd = ::open(path.c_str(),
                          O_WRONLY | O_CREAT | O_APPEND | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
    if (fd < 0) {
        return Failure(errno);
    }
    return CheckAndClose(fd);
}

}  // namespace quirtel
