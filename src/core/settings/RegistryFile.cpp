#include "core/settings/RegistryFile.h"

#include <cstddef>
#include <optional>

#include "core/files/AtomicFile.h"
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

}  // namespace

RegistryFile::RegistryFile(std::string path) : path_(std::move(path)) {
    if (path_.empty()) {
        return;
    }
    std::string raw;
    bool tooLarge = false;
    const int code = registry::ReadWholeFile(path_, raw, MAX_FILE_SIZE, tooLarge);
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
        code = registry::WriteFileAtomically(path_, registry::FormatRegistryText(current_));
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
