#include "core/results/StatisticsLog.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <thread>
#include <vector>

namespace quirtel {
namespace {

constexpr std::chrono::milliseconds kLockRetryPeriod{20};

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

// One attempt at each lock the log takes: flock, which other instances of
// this program use, and an open-file-description record lock over the whole
// file, which programs locking with fcntl see. Each is true when held or when
// the file system cannot lock that way (writing unlocked keeps the record,
// which matters more than excluding a second writer); false while held
// elsewhere.
bool TryFlock(int fd) {
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EINTR) {
            return errno != EWOULDBLOCK;
        }
    }
    return true;
}

bool TryRecordLock(int fd) {
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    lock.l_start = 0;
    lock.l_len = 0;  // the whole file, however long it grows
    while (::fcntl(fd, F_OFD_SETLK, &lock) != 0) {
        if (errno != EINTR) {
            return errno != EAGAIN && errno != EACCES;
        }
    }
    return true;
}

// Takes both locks, retrying while another holder has one. False when a lock
// is still held elsewhere after `lockWait`.
bool LockForWriting(int fd, std::chrono::milliseconds lockWait) {
    const auto deadline = std::chrono::steady_clock::now() + lockWait;
    while (!TryFlock(fd) || !TryRecordLock(fd)) {
        const auto now = std::chrono::steady_clock::now();
        if (now >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(
            std::min<std::chrono::steady_clock::duration>(kLockRetryPeriod, deadline - now));
    }
    return true;
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        if (written == 0) {
            return false;  // no progress: a device that takes nothing more
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
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
    // O_NONBLOCK only for the opening: a FIFO at the path would otherwise block
    // the caller until some reader turns up. Regular files ignore it.
    const int fd =
        ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, 0644);
    if (fd < 0) {
        return FileFailure{OpeningCause(path, errno), path};
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0) {
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    }
    struct stat info {};
    const bool regular = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    // A log that nobody may write is read-only for root too, who could
    // otherwise write through the missing permission.
    if (regular && (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
        ::close(fd);
        return FileFailure{accessDenied, path};
    }
    if (!LockForWriting(fd, lockWait)) {
        ::close(fd);
        return FileFailure{sharingViolation, path};
    }

    const off_t end = ::lseek(fd, 0, SEEK_END);
    // Every failure from here on cuts a regular file back to `end`, so a record
    // is either whole in the log or not there at all.
    const auto fail = [&](int cause) {
        if (regular && end >= 0) {
            [[maybe_unused]] const int ignored = ::ftruncate(fd, end);
        }
        ::close(fd);
        return FileFailure{cause, ShownPath(path)};
    };
    if (end < 0) {
        return fail(badSeek);
    }
    if (!WriteAll(fd, record)) {
        return fail(diskFull);
    }
    // A full disk or an I/O error may only show when the data is flushed;
    // devices that cannot be synchronised (EINVAL, EROFS) are not a failure.
    if (::fsync(fd) != 0 && errno != EINVAL && errno != EROFS) {
        return fail(diskFull);
    }
    // On Linux the descriptor is released even when close reports EINTR, and
    // the data has been synchronised above, so only other errors count.
    if (::close(fd) != 0 && errno != EINTR) {
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
