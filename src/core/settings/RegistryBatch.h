#pragma once

#include "core/settings/RegistryBackend.h"

namespace quirtel {

// Gathers the changes of several registry operations into one: every
// operation goes on to `inner`, but a Flush only answers success, and Commit
// makes all changes durable at once (for a file, one replacement), or none.
// Used where a crash between separate flushes would store a mix of old and new
// values, as with the four edges of the window placement.
class RegistryBatch final : public RegistryBackend {
public:
    explicit RegistryBatch(RegistryBackend& inner) : inner_(inner) {}
    RegistryBatch(const RegistryBatch&) = delete;
    RegistryBatch& operator=(const RegistryBatch&) = delete;

    int CreateKey(std::string_view path) override { return inner_.CreateKey(path); }
    int OpenKey(std::string_view path) override { return inner_.OpenKey(path); }
    int QueryValue(std::string_view path, std::string_view name, RegistryValue& value) override {
        return inner_.QueryValue(path, name, value);
    }
    int SetBinaryValue(std::string_view path, std::string_view name,
                       std::span<const std::uint8_t> data) override {
        return inner_.SetBinaryValue(path, name, data);
    }
    int Flush() override { return REGISTRY_OK; }

    // Flushes the inner registry once; its result code.
    int Commit() { return inner_.Flush(); }

private:
    RegistryBackend& inner_;
};

}  // namespace quirtel
