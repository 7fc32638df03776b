#include "core/results/StatisticsLog.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <vector>

#include "core/files/FileDescriptor.h"
#include "core/files/RegularFile.h"

namespace quirtel {
namespace {

std::string CurrentDirectory() {
    std::vector<char> buffer(256);
    while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE) {
            return {};
        }
        buffer.resize(buffer.size() * 2);
    }
    return buffer.data();
}

// The name the message shows once the file is open: absolute, as the user
// would look for it. Without a current directory the path stays as given.
std::string ShownPath(const std::string& path) {
    if (!path.empty() && path.front() == '/') {
        return AbsolutePath("/", path);
    }
    const std::string currentDir = CurrentDirectory();
    return currentDir.empty() ? path : AbsolutePath(currentDir, path);
}

// With O_CREAT, ENOENT mostly means a missing folder on the way (or an empty
// name), which is an invalid path rather than a missing file.
int OpeningCause(const std::string& path, int err) {
    if (err != ENOENT) {
        return CauseFromErrno(err);
    }
    if (path.empty()) {
        return badPath;
    }
    const std::size_t slash = path.find_last_of('/');
    const std::string folder =
        slash == std::string::npos ? std::string(".") : path.substr(0, slash == 0 ? 1 : slash);
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        return badPath;
    }
    return fileNotFound;
}

}  // namespace

int CauseFromErrno(int err) {
    switch (err) {
        case ENOENT:
            return fileNotFound;
        case ENOTDIR:
        case ENAMETOOLONG:
        case ELOOP:
        case EINVAL:
            return badPath;
        case EMFILE:
        case ENFILE:
            return tooManyOpenFiles;
        case EACCES:
        case EPERM:
        case EROFS:
        case EISDIR:  // opening a folder for writing is refused access
            return accessDenied;
        case EBADF:
            return invalidFile;
        case ESPIPE:
            return badSeek;
        case EIO:
            return hardIO;
        case EWOULDBLOCK:
        case ETXTBSY:
        case EBUSY:
            return sharingViolation;
        case ENOSPC:
        case EDQUOT:
        case EFBIG:
            return diskFull;
        default:
            return generic;
    }
}

std::string AbsolutePath(std::string_view currentDir, std::string_view path) {
    std::string joined;
    if (!path.empty() && path.front() == '/') {
        joined = path;
    } else {
        joined.append(currentDir).append("/").append(path);
    }
    std::vector<std::string_view> segments;
    std::string_view rest = joined;
    while (!rest.empty()) {
        const std::size_t slash = rest.find('/');
        const std::string_view segment = rest.substr(0, slash);
        rest = slash == std::string_view::npos ? std::string_view{} : rest.substr(slash + 1);
        if (segment.empty() || segment == ".") {
            continue;
        }
        if (segment == "..") {
            if (!segments.empty()) {
                segments.pop_back();
            }
            continue;
        }
        segments.push_back(segment);
    }
    std::string result;
    for (const std::string_view segment : segments) {
        result.append("/").append(segment);
    }
    return result.empty() ? "/" : result;
}

std::optional<FileFailure> AppendStatisticsRecord(const std::string& path, std::string_view record,
                                                  std::chrono::milliseconds lockWait) {
    // A pipe or a device at the path is written as it is, but never waited on.
    FileDescriptor fd;
    struct stat info {};
    if (const FileResult opened = OpenFile(path, O_WRONLY | O_CREAT, fd, info, FileKind::any, 0644);
        !opened.ok()) {
        return FileFailure{OpeningCause(path, opened.systemError), path};
    }
    const bool regular = S_ISREG(info.st_mode);
    // A log that nobody may write is read-only for root too, who could
    // otherwise write through the missing permission.
    if (regular && (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
        return FileFailure{accessDenied, path};
    }
    if (!LockForWriting(fd.Get(), lockWait)) {
        return FileFailure{sharingViolation, path};
    }

    const off_t end = ::lseek(fd.Get(), 0, SEEK_END);
    // Every failure from here on cuts a regular file back to `end`, so a record
    // is either whole in the log or not there at all.
    const auto fail = [&](int cause) {
        if (regular && end >= 0) {
            [[maybe_unused]] const int ignored = ::ftruncate(fd.Get(), end);
        }
        fd.Reset();
        return FileFailure{cause, ShownPath(path)};
    };
    if (end < 0) {
        return fail(badSeek);
    }
    if (!WriteAll(fd.Get(), record).ok()) {
        return fail(diskFull);
    }
    // A full disk or an I/O error may only show when the data is flushed;
    // devices that cannot be synchronised (EINVAL, EROFS) are not a failure.
    if (::fsync(fd.Get()) != 0 && errno != EINVAL && errno != EROFS) {
        return fail(diskFull);
    }
    // The data has been synchronised above, so only a failed close counts.
    if (fd.Close() != 0) {
        return FileFailure{diskFull, ShownPath(path)};
    }
    return std::nullopt;
}

std::string FileFailureMessage(const FileFailure& failure) {
    char digits[16];
    const auto result = std::to_chars(digits, digits + sizeof digits, failure.cause);
    return "No puedo escribir datos\n<CFileException(" + std::string(digits, result.ptr) + ")>\n" +
           failure.fileName;
}

}  // namespace quirtel
