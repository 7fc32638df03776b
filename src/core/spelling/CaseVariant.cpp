#include "core/spelling/CaseVariant.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cerrno>
#include <string_view>

namespace quirtel {

namespace {

bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::string FindCaseVariant(const std::string& path) {
    struct stat info {};
    if (path.empty() || ::lstat(path.c_str(), &info) == 0 || errno != ENOENT) {
        return {};
    }
    const std::size_t slash = path.rfind('/');
    const std::string folder =
        slash == std::string::npos ? "." : path.substr(0, slash == 0 ? 1 : slash);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        return {};
    }
    std::string best;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view candidate = entry->d_name;
        if (EqualIgnoringAsciiCase(candidate, name) && (best.empty() || candidate < best)) {
            best = candidate;
        }
    }
    ::closedir(dir);
    if (best.empty()) {
        return {};
    }
    return slash == std::string::npos ? best : path.substr(0, slash + 1) + best;
}

}  // namespace quirtel
