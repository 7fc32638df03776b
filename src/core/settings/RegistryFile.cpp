#include "core/settings/RegistryFile.h"

#include <cerrno>
#include <cstddef>
#include <optional>

#include "core/files/AtomicFile.h"
#include "core/files/RegularFile.h"
#include "core/files/UserFolder.h"
#include "core/settings/RegistryText.h"

namespace quirtel {
namespace {

using registry::AddKeyPath;
using registry::FindValue;
using registry::IsValidKeyPath;
using registry::IsValidValueName;
using registry::PutValue;

// A settings file holds a few lines; anything this large is not ours, and
// reading it whole would only waste memory.
constexpr std::size_t MAX_FILE_SIZE = 1 << 20;

// The registry's code for a file outcome: a folder or a permission fault is
// access denied, a missing file (or folder on the way) not found, the rest a
// failure.
int RegistryCode(const FileResult& result) {
    switch (result.error) {
        case FileError::none:
            return REGISTRY_OK;
        case FileError::missing:
            return result.systemError == ENOENT || result.systemError == ENOTDIR
                       ? REGISTRY_NOT_FOUND
                       : REGISTRY_FAILED;
        case FileError::notRegularFile:
            return result.systemError == EISDIR ? REGISTRY_ACCESS_DENIED : REGISTRY_FAILED;
        case FileError::accessDenied:
            return result.systemError == ETXTBSY ? REGISTRY_FAILED : REGISTRY_ACCESS_DENIED;
        case FileError::tooLarge:
        case FileError::diskFull:
        case FileError::other:
            break;
    }
    return REGISTRY_FAILED;
}

}  // namespace

RegistryFile::RegistryFile(std::string path) : path_(std::move(path)) {
    if (path_.empty()) {
        return;
    }
    std::string raw;
    const FileResult read = ReadRegularFile(path_, raw, MAX_FILE_SIZE);
    // A file too large to be ours reads as damaged, not as unreadable.
    const bool tooLarge = read.error == FileError::tooLarge;
    const int code = tooLarge ? REGISTRY_OK : RegistryCode(read);
    if (code == REGISTRY_NOT_FOUND) {
        state_ = LoadState::Missing;
        return;
    }
    if (code != REGISTRY_OK) {
        state_ = LoadState::Unreadable;
        readError_ = code;
        return;
    }
    auto tree =
        tooLarge ? std::nullopt : registry::ParseRegistryText(registry::DecodeText(std::move(raw)));
    if (!tree) {
        state_ = LoadState::Damaged;
        return;
    }
    state_ = LoadState::Loaded;
    stored_ = std::move(*tree);
    current_ = stored_;
}

std::string RegistryFile::DefaultPath() {
    const std::string base = UserFolder("XDG_CONFIG_HOME", ".config");
    return base.empty() ? base : base + "/quirtel/registry.reg";
}

int RegistryFile::CreateKey(std::string_view path) {
    if (!IsValidKeyPath(path)) {
        return REGISTRY_FAILED;
    }
    if (path.empty()) {
        return REGISTRY_OK;
    }
    bool added = false;
    AddKeyPath(current_, path, added);
    dirty_ = dirty_ || added;
    return REGISTRY_OK;
}

int RegistryFile::OpenKey(std::string_view path) {
    if (!IsValidKeyPath(path)) {
        return REGISTRY_FAILED;
    }
    return (path.empty() || current_.find(path) != current_.end()) ? REGISTRY_OK
                                                                   : REGISTRY_NOT_FOUND;
}

int RegistryFile::QueryValue(std::string_view path, std::string_view name, RegistryValue& value) {
    if (!IsValidKeyPath(path)) {
        return REGISTRY_FAILED;
    }
    const auto key = current_.find(path);
    if (key == current_.end()) {
        return REGISTRY_NOT_FOUND;
    }
    const RegistryValue* found = FindValue(key->second, name);
    if (found == nullptr) {
        return REGISTRY_NOT_FOUND;
    }
    value = *found;
    return REGISTRY_OK;
}

int RegistryFile::SetBinaryValue(std::string_view path, std::string_view name,
                                 std::span<const std::uint8_t> data) {
    if (!IsValidKeyPath(path) || !IsValidValueName(name)) {
        return REGISTRY_FAILED;
    }
    auto key = current_.find(path);
    if (key == current_.end()) {
        if (!path.empty()) {
            return REGISTRY_NOT_FOUND;
        }
        key = current_.emplace(std::string(), Values{}).first;
    }
    PutValue(key->second, name, RegistryValue{REG_TYPE_BINARY, {data.begin(), data.end()}});
    dirty_ = true;
    valueChanged_ = true;
    return REGISTRY_OK;
}

int RegistryFile::Flush() {
    if (!dirty_) {
        return REGISTRY_OK;
    }
    int code = REGISTRY_OK;
    if (state_ == LoadState::Unreadable) {
        code = readError_;
    } else if (state_ == LoadState::Damaged && !valueChanged_) {
        // New keys alone do not justify replacing a file we could not read;
        // they are written with the first value.
        return REGISTRY_OK;
    } else {
        // Not found is an answer about reading; a path that cannot hold the
        // file is a failure of the write.
        const FileResult written =
            ReplaceFileAtomically(path_, registry::FormatRegistryText(current_));
        code = written.error == FileError::missing ? REGISTRY_FAILED : RegistryCode(written);
    }
    if (code == REGISTRY_OK) {
        stored_ = current_;
        state_ = LoadState::Loaded;
    } else {
        current_ = stored_;
    }
    dirty_ = false;
    valueChanged_ = false;
    return code;
}

}  // namespace quirtel
