#include "core/files/RegularFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <thread>

namespace quirtel {
namespace {

constexpr std::chrono::milliseconds kLockRetryPeriod{20};

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

}  // namespace

FileError FileErrorFromErrno(int err) {
    switch (err) {
        case 0:
            return FileError::none;
        case ENOENT:
        case ENOTDIR:
        case ENAMETOOLONG:
        case ELOOP:
        case EINVAL:
            return FileError::missing;
        case EACCES:
        case EPERM:
        case EROFS:
        case ETXTBSY:
            return FileError::accessDenied;
        case EISDIR:
        case ENXIO:  // a named pipe with no reader, opened for writing
        case ENODEV:
            return FileError::notRegularFile;
        case EFBIG:
            return FileError::tooLarge;
        case ENOSPC:
        case EDQUOT:
            return FileError::diskFull;
        default:
            return FileError::other;
    }
}

FileResult OpenFile(const std::string& path, int flags, FileDescriptor& fd, struct stat& info,
                    FileKind kind, mode_t mode) {
    fd.Reset();
    if (path.empty()) {
        return FailureFromErrno(ENOENT);
    }
    // O_NONBLOCK only for the opening: a FIFO would otherwise hold the caller
    // until a writer (or reader) turns up. Regular files ignore it.
    const int nonBlocking = kind == FileKind::waiting ? 0 : O_NONBLOCK;
    FileDescriptor opened(::open(path.c_str(), flags | nonBlocking | O_CLOEXEC | O_NOCTTY, mode));
    if (!opened) {
        return FailureFromErrno(errno);
    }
    if (::fstat(opened.Get(), &info) != 0) {
        return FailureFromErrno(errno);
    }
    if (kind == FileKind::regular && !S_ISREG(info.st_mode)) {
        return {FileError::notRegularFile, S_ISDIR(info.st_mode) ? EISDIR : 0};
    }
    const int status = ::fcntl(opened.Get(), F_GETFL);
    if (status >= 0) {
        ::fcntl(opened.Get(), F_SETFL, status & ~O_NONBLOCK);
    }
    fd = std::move(opened);
    return {};
}

FileResult ReadAll(int fd, std::string& out, std::size_t maxBytes) {
    const std::size_t start = out.size();
    std::array<char, 65536> buffer;
    for (;;) {
        const ssize_t got = ::read(fd, buffer.data(), buffer.size());
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return FailureFromErrno(errno);
        }
        if (got == 0) {
            return {};
        }
        out.append(buffer.data(), static_cast<std::size_t>(got));
        if (out.size() - start > maxBytes) {
            return {FileError::tooLarge, 0};
        }
    }
}

FileResult ReadRegularFile(const std::string& path, std::string& out, std::size_t maxBytes) {
    out.clear();
    FileDescriptor fd;
    struct stat info {};
    if (FileResult opened = OpenFile(path, O_RDONLY, fd, info); !opened.ok()) {
        return opened;
    }
    // The size says at once whether the file is too large; reading still
    // stops at the bound, since the file may grow meanwhile.
    if (static_cast<std::uintmax_t>(info.st_size) > maxBytes) {
        return {FileError::tooLarge, 0};
    }
    out.reserve(static_cast<std::size_t>(info.st_size));
    FileResult read = ReadAll(fd.Get(), out, maxBytes);
    if (!read.ok()) {
        out.clear();
    }
    return read;
}

FileResult WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return FailureFromErrno(errno);
        }
        if (written == 0) {
            return FailureFromErrno(ENOSPC);  // no progress: a device that takes nothing more
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return {};
}

bool LockForWriting(int fd, std::chrono::milliseconds wait) {
    const auto deadline = std::chrono::steady_clock::now() + wait;
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

FileResult LockFile(const std::string& lockPath, FileDescriptor& fd,
                    std::chrono::milliseconds wait) {
    struct stat info {};
    if (FileResult opened = OpenFile(lockPath, O_RDWR | O_CREAT, fd, info, FileKind::regular, 0600);
        !opened.ok()) {
        return opened;
    }
    if (!LockForWriting(fd.Get(), wait)) {
        fd.Reset();
        return {FileError::accessDenied, EWOULDBLOCK};
    }
    return {};
}

}  // namespace quirtel
