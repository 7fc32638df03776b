#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quirtel {

class RegistryBackend;

// Access to one application key, Software\<company>\<application>, of the
// per-user registry. Value names may carry a subkey path before their last
// backslash ("Window\x1" is the value "x1" of the subkey "Window"). Result
// codes are those of RegistryBackend.h; no failure is ever shown.
class CRegistryStore {
public:
    explicit CRegistryStore(RegistryBackend& backend) : backend_(backend) {}
    ~CRegistryStore() { Close(); }
    CRegistryStore(const CRegistryStore&) = delete;
    CRegistryStore& operator=(const CRegistryStore&) = delete;

    // Creates or opens the application key (reopens it when open) and makes a
    // new key durable at once. The result code goes to `status`.
    bool Open(int& status);
    // Closes the application key if it is open.
    void Close();
    bool IsOpen() const { return open_; }

    // Stores `value` as four bytes, least significant first (REG_BINARY),
    // creating the subkey when missing; opens the application key first when
    // it is not open. True only once the value is durable.
    bool WriteInt(std::string_view name, std::int32_t value, int& status);
    // Reads the value under `name` into `value`, or sets `value` to
    // `defaultValue` when the key or value is missing or the data is longer
    // than four bytes. Shorter data is zero-extended. True when read.
    bool ReadInt(std::string_view name, std::int32_t& value, std::int32_t defaultValue);
    // Stores `bytes` as they are (REG_BINARY), as WriteInt does.
    bool WriteBytes(std::string_view name, std::string_view bytes, int& status);
    // Reads the value under `name` into `bytes`; empty and false when the key
    // or value is missing.
    bool ReadBytes(std::string_view name, std::string& bytes);

    // The subkey path and the value name of a value name: split at the last
    // backslash; without one the subkey path is empty (the key itself).
    struct SplitName {
        std::string_view subkey;
        std::string_view value;
    };
    static SplitName Split(std::string_view name);

    std::string company;
    std::string application;

private:
    std::string SubkeyPath(std::string_view subkey) const;

    RegistryBackend& backend_;
    std::string keyPath_;
    bool open_ = false;
};

}  // namespace quirtel
