#include "core/files/AtomicFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <ctime>

#include "core/settings/RegistryBackend.h"

namespace quirtel::registry {
namespace {

int CodeFromErrno(int error) {
    switch (error) {
        case EACCES:
        case EPERM:
        case EROFS:
            return REGISTRY_ACCESS_DENIED;
        default:
            return REGISTRY_FAILED;
    }
}

// mkdir -p; folders made here are private to the user.
int MakeFolders(const std::string& folder) {
    std::size_t pos = 0;
    while (pos != std::string::npos) {
        pos = folder.find('/', pos + 1);
        const std::string part = folder.substr(0, pos);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
            return CodeFromErrno(errno);
        }
    }
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0) {
        return CodeFromErrno(errno);
    }
    return S_ISDIR(info.st_mode) ? REGISTRY_OK : REGISTRY_FAILED;
}

int WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return CodeFromErrno(errno);
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return REGISTRY_OK;
}

// Whether `name` is `base` plus the suffix mkostemp makes: a dot and six
// letters or digits.
bool IsTemporaryName(std::string_view name, std::string_view base) {
    constexpr std::size_t suffix = 7;
    if (name.size() != base.size() + suffix || name.substr(0, base.size()) != base ||
        name[base.size()] != '.') {
        return false;
    }
    for (const char c : name.substr(base.size() + 1)) {
        const bool alnum =
            (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        if (!alnum) {
            return false;
        }
    }
    return true;
}

}  // namespace

void RemoveStaleTemporaries(const std::string& path, std::chrono::seconds minimumAge) {
    const std::size_t slash = path.rfind('/');
    const std::string folder =
        slash == std::string::npos ? "." : path.substr(0, slash == 0 ? 1 : slash);
    const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        return;
    }
    const std::time_t now = std::time(nullptr);
    while (const dirent* entry = ::readdir(dir)) {
        if (!IsTemporaryName(entry->d_name, base)) {
            continue;
        }
        // A young file may belong to a write in progress elsewhere.
        struct stat info {};
        if (::fstatat(::dirfd(dir), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(info.st_mode) && now - info.st_mtime >= minimumAge.count()) {
            ::unlinkat(::dirfd(dir), entry->d_name, 0);
        }
    }
    ::closedir(dir);
}

int ReadWholeFile(const std::string& path, std::string& out, std::size_t maxSize, bool& tooLarge) {
    tooLarge = false;
    // Non-blocking, so that a FIFO put in the file's place cannot hang the start.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        // A part of the path that is no folder means there is no file either.
        return (errno == ENOENT || errno == ENOTDIR) ? REGISTRY_NOT_FOUND : CodeFromErrno(errno);
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        const int code = S_ISDIR(info.st_mode) ? REGISTRY_ACCESS_DENIED : REGISTRY_FAILED;
        ::close(fd);
        return code;
    }
    char buffer[4096];
    while (true) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            const int code = CodeFromErrno(errno);
            ::close(fd);
            return code;
        }
        if (n == 0) {
            break;
        }
        out.append(buffer, static_cast<std::size_t>(n));
        if (out.size() > maxSize) {
            tooLarge = true;
            break;
        }
    }
    ::close(fd);
    return REGISTRY_OK;
}

int WriteFileAtomically(const std::string& link, std::string_view content) {
    if (link.empty()) {
        return REGISTRY_FAILED;
    }
    // A file kept elsewhere behind a symbolic link is updated where it lies;
    // renaming over the link would cut it off.
    std::string path = link;
    if (char* resolved = ::realpath(link.c_str(), nullptr)) {
        path = resolved;
        std::free(resolved);
    }
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash);
    if (slash != std::string::npos && slash > 0) {
        if (const int code = MakeFolders(folder); code != REGISTRY_OK) {
            return code;
        }
    }
    std::string temp = path + ".XXXXXX";
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) {
        return CodeFromErrno(errno);
    }
    int code = WriteAll(fd, content);
    if (code == REGISTRY_OK && ::fsync(fd) != 0) {
        code = CodeFromErrno(errno);
    }
    if (::close(fd) != 0 && code == REGISTRY_OK) {
        code = CodeFromErrno(errno);
    }
    if (code == REGISTRY_OK && ::rename(temp.c_str(), path.c_str()) != 0) {
        code = CodeFromErrno(errno);
    }
    if (code != REGISTRY_OK) {
        ::unlink(temp.c_str());
        return code;
    }
    // The rename itself lasts only once the folder is synced; a folder that
    // cannot be synced still holds a whole file, old or new.
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    // Temporary files of writes that a crash cut short are of no more use.
    RemoveStaleTemporaries(path);
    return REGISTRY_OK;
}

}  // namespace quirtel::registry
