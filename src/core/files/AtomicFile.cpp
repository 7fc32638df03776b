#include "core/files/AtomicFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <ctime>

#include "core/files/FileDescriptor.h"
#include "core/files/RegularFile.h"

namespace quirtel {
namespace {

// Links followed before a chain of them counts as a loop, as the kernel does.
constexpr int kMaxLinks = 40;

// mkdir -p; folders made here are private to the user.
FileResult MakeFolders(const std::string& folder) {
    std::size_t pos = 0;
    while (pos != std::string::npos) {
        pos = folder.find('/', pos + 1);
        const std::string part = folder.substr(0, pos);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
            return FailureFromErrno(errno);
        }
    }
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0) {
        return FailureFromErrno(errno);
    }
    return S_ISDIR(info.st_mode) ? FileResult{} : FailureFromErrno(EEXIST);
}

// The file `link` stands for: itself unless it is a symbolic link, else the
// end of its chain of links, which need not exist yet. A relative link is
// read against the folder of the link that holds it.
FileResult FinalTarget(const std::string& link, std::string& target) {
    target = link;
    for (int followed = 0;; ++followed) {
        struct stat info {};
        if (::lstat(target.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            return {};
        }
        if (followed == kMaxLinks) {
            return FailureFromErrno(ELOOP);
        }
        std::string next(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : 255) + 1, '\0');
        const ssize_t n = ::readlink(target.c_str(), next.data(), next.size());
        if (n < 0) {
            return FailureFromErrno(errno);
        }
        next.resize(static_cast<std::size_t>(n));
        if (next.empty()) {
            return FailureFromErrno(ENOENT);
        }
        if (next.front() != '/') {
            const std::size_t slash = target.rfind('/');
            if (slash != std::string::npos) {
                next = target.substr(0, slash + 1) + next;
            }
        }
        target = std::move(next);
    }
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

FileResult CreateFolders(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos || slash == 0) {
        return {};
    }
    return MakeFolders(path.substr(0, slash));
}

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

FileResult ReplaceFileAtomically(const std::string& link, std::string_view content) {
    if (link.empty()) {
        return FailureFromErrno(EINVAL);
    }
    // A file kept elsewhere behind a symbolic link is updated where it lies,
    // also when it is not there yet; renaming over the link would cut it off.
    std::string path;
    if (FileResult followed = FinalTarget(link, path); !followed.ok()) {
        return followed;
    }
    const std::size_t slash = path.rfind('/');
    const std::string folder =
        slash == std::string::npos ? "." : path.substr(0, slash == 0 ? 1 : slash);
    if (slash != std::string::npos && slash > 0) {
        if (FileResult made = MakeFolders(folder); !made.ok()) {
            return made;
        }
    }
    // The replacement keeps the permissions the user gave the old file.
    struct stat old {};
    const bool replacing = ::stat(path.c_str(), &old) == 0;
    std::string temp = path + ".XXXXXX";
    FileDescriptor fd(::mkostemp(temp.data(), O_CLOEXEC));
    if (!fd) {
        return FailureFromErrno(errno);
    }
    FileResult result = WriteAll(fd.Get(), content);
    if (result.ok() && replacing && ::fchmod(fd.Get(), old.st_mode & 07777) != 0) {
        result = FailureFromErrno(errno);
    }
    if (result.ok() && ::fsync(fd.Get()) != 0) {
        result = FailureFromErrno(errno);
    }
    if (const int closeError = fd.Close(); closeError != 0 && result.ok()) {
        result = FailureFromErrno(closeError);
    }
    if (result.ok() && ::rename(temp.c_str(), path.c_str()) != 0) {
        result = FailureFromErrno(errno);
    }
    if (!result.ok()) {
        ::unlink(temp.c_str());
        return result;
    }
    // The rename itself lasts only once the folder is synced; a folder that
    // cannot be synced still holds a whole file, old or new.
    if (const FileDescriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)); dir) {
        ::fsync(dir.Get());
    }
    // Temporary files of writes that a crash cut short are of no more use.
    RemoveStaleTemporaries(path);
    return {};
}

}  // namespace quirtel
