#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace quirtel {

// Result codes of registry operations, the registry's own numbers: 0 is success.
inline constexpr int REGISTRY_OK = 0;
inline constexpr int REGISTRY_FAILED = 1;         // any other failure (bad name, I/O error)
inline constexpr int REGISTRY_NOT_FOUND = 2;      // key or value missing
inline constexpr int REGISTRY_ACCESS_DENIED = 5;  // store not readable or not writable

// Registry value types, by their registry numbers.
inline constexpr std::uint32_t REG_TYPE_SZ = 1;
inline constexpr std::uint32_t REG_TYPE_BINARY = 3;
inline constexpr std::uint32_t REG_TYPE_DWORD = 4;

struct RegistryValue {
    std::uint32_t type = REG_TYPE_BINARY;
    std::vector<std::uint8_t> data;
};

// The per-user part of a registry (what lies under HKEY_CURRENT_USER). Key
// paths are relative to that root, their parts separated by backslashes; the
// empty path is the root itself. Key and value names compare without regard to
// ASCII case. Changes are kept in memory until Flush makes them durable.
class RegistryBackend {
public:
    virtual ~RegistryBackend() = default;

    // Creates the key and every missing key along its path; opens it when it
    // exists. Returns a result code.
    virtual int CreateKey(std::string_view path) = 0;
    // REGISTRY_OK when the key exists, REGISTRY_NOT_FOUND when not; creates nothing.
    virtual int OpenKey(std::string_view path) = 0;
    // Copies the value `name` of the key at `path` into `value`.
    virtual int QueryValue(std::string_view path, std::string_view name, RegistryValue& value) = 0;
    // Sets the value `name` of the existing key at `path` to REG_BINARY `data`.
    virtual int SetBinaryValue(std::string_view path, std::string_view name,
                               std::span<const std::uint8_t> data) = 0;
    // Makes every change since the last flush durable, or none of them: on
    // failure the changes are dropped and the stored state stays as it was.
    virtual int Flush() = 0;
};

}  // namespace quirtel
