#include "core/settings/CRegistryStore.h"

#include <vector>

#include "core/settings/RegistryBackend.h"

namespace quirtel {

CRegistryStore::SplitName CRegistryStore::Split(std::string_view name) {
    const std::size_t slash = name.rfind('\\');
    if (slash == std::string_view::npos) {
        return {{}, name};
    }
    return {name.substr(0, slash), name.substr(slash + 1)};
}

bool CRegistryStore::Open(int& status) {
    Close();
    std::string path = "Software\\" + company + "\\" + application;
    status = backend_.CreateKey(path);
    // The key must survive even when nothing is ever written under it.
    if (status == REGISTRY_OK) {
        status = backend_.Flush();
    }
    if (status != REGISTRY_OK) {
        return false;
    }
    keyPath_ = std::move(path);
    open_ = true;
    return true;
}

void CRegistryStore::Close() {
    open_ = false;
    keyPath_.clear();
}

std::string CRegistryStore::SubkeyPath(std::string_view subkey) const {
    if (subkey.empty()) {
        return keyPath_;
    }
    std::string path = keyPath_;
    path.push_back('\\');
    path.append(subkey);
    return path;
}

bool CRegistryStore::WriteInt(std::string_view name, std::int32_t value, int& status) {
    const auto bits = static_cast<std::uint32_t>(value);
    const char bytes[4] = {static_cast<char>(bits & 0xFF), static_cast<char>((bits >> 8) & 0xFF),
                           static_cast<char>((bits >> 16) & 0xFF),
                           static_cast<char>((bits >> 24) & 0xFF)};
    return WriteBytes(name, std::string_view(bytes, 4), status);
}

bool CRegistryStore::WriteBytes(std::string_view name, std::string_view bytes, int& status) {
    if (!open_ && !Open(status)) {
        return false;
    }
    const SplitName split = Split(name);
    const std::string path = SubkeyPath(split.subkey);
    status = backend_.CreateKey(path);
    if (status != REGISTRY_OK) {
        return false;
    }
    const std::vector<std::uint8_t> data(bytes.begin(), bytes.end());
    status = backend_.SetBinaryValue(path, split.value, data);
    // A value held only in memory is not stored: success means durable.
    if (status == REGISTRY_OK) {
        status = backend_.Flush();
    }
    return status == REGISTRY_OK;
}

bool CRegistryStore::ReadBytes(std::string_view name, std::string& bytes) {
    bytes.clear();
    int status = REGISTRY_OK;
    if (!open_ && !Open(status)) {
        return false;
    }
    const SplitName split = Split(name);
    const std::string path = SubkeyPath(split.subkey);
    RegistryValue stored;
    if (backend_.OpenKey(path) != REGISTRY_OK ||
        backend_.QueryValue(path, split.value, stored) != REGISTRY_OK) {
        return false;
    }
    bytes.assign(stored.data.begin(), stored.data.end());
    return true;
}

bool CRegistryStore::ReadInt(std::string_view name, std::int32_t& value,
                             std::int32_t defaultValue) {
    int status = REGISTRY_OK;
    if (!open_ && !Open(status)) {
        value = defaultValue;
        return false;
    }
    const SplitName split = Split(name);
    const std::string path = SubkeyPath(split.subkey);
    RegistryValue stored;
    // The type is not checked: a four-byte REG_DWORD reads like REG_BINARY.
    if (backend_.OpenKey(path) != REGISTRY_OK ||
        backend_.QueryValue(path, split.value, stored) != REGISTRY_OK || stored.data.size() > 4) {
        value = defaultValue;
        return false;
    }
    std::uint32_t bits = 0;
    for (std::size_t i = 0; i < stored.data.size(); ++i) {
        bits |= static_cast<std::uint32_t>(stored.data[i]) << (8 * i);
    }
    value = static_cast<std::int32_t>(bits);
    return true;
}

}  // namespace quirtel
