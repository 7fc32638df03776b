#pragma once

#include <string>
#include <string_view>

#include "core/settings/RegistryBackend.h"
#include "core/settings/RegistryTree.h"

namespace quirtel {

// The per-user registry kept in one text file, in the registry's own export
// format ("Windows Registry Editor Version 5.00", one [HKEY_CURRENT_USER\...]
// section per key, values as "name"=hex:.., dword:.., hex(N):.. or "text").
// The file is read once, on construction; Flush rewrites it whole through a
// temporary file in the same folder, fsync and rename, so a reader or a failed
// write never sees a partial file.
//
// A file that cannot be parsed (damaged, or not a registry file) reads as an
// empty registry and is left alone until a value is written, which replaces
// it. A file that exists but cannot be read is never replaced: every flush
// fails with the read's code.
class RegistryFile final : public RegistryBackend {
public:
    enum class LoadState { Missing, Loaded, Damaged, Unreadable };

    explicit RegistryFile(std::string path);

    // $XDG_CONFIG_HOME/quirtel/registry.reg; without an absolute
    // XDG_CONFIG_HOME, ~/.config/quirtel/registry.reg. Empty when the user
    // has no home folder.
    static std::string DefaultPath();

    const std::string& Path() const { return path_; }
    // What the construction found at the path.
    LoadState State() const { return state_; }

    int CreateKey(std::string_view path) override;
    int OpenKey(std::string_view path) override;
    int QueryValue(std::string_view path, std::string_view name, RegistryValue& value) override;
    int SetBinaryValue(std::string_view path, std::string_view name,
                       std::span<const std::uint8_t> data) override;
    int Flush() override;

    // The in-memory key tree the file holds.
    using PathLess = registry::PathLess;
    using Values = registry::Values;
    using Tree = registry::Tree;

private:
    std::string path_;
    LoadState state_ = LoadState::Missing;
    int readError_ = REGISTRY_OK;
    Tree stored_;   // what the file holds
    Tree current_;  // stored_ plus the changes not yet flushed
    bool dirty_ = false;
    bool valueChanged_ = false;
};

}  // namespace quirtel
