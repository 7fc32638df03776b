#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/MessagePrompt.h"
#include "core/spelling/WordList.h"

namespace quirtel::testing {

// A folder of its own under the temporary directory, removed with the object.
class TempDir {
public:
    TempDir() {
        const char* base = std::getenv("TMPDIR");
        std::string pattern = std::string(base != nullptr ? base : "/tmp") + "/quirtel-XXXXXX";
        path = ::mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // Writes `bytes` to the file `name` in the folder; returns its path.
    std::string Write(const std::string& name, std::string_view bytes) const {
        const std::string file = path + "/" + name;
        std::ofstream(file, std::ios::binary).write(bytes.data(), std::ssize(bytes));
        return file;
    }
    const std::string& Path() const { return path; }

private:
    std::string path;
};

// Keeps every message instead of showing it.
class RecordingPrompt final : public MessagePrompt {
public:
    void ShowMessage(std::string_view cp1252Text) override { messages.emplace_back(cp1252Text); }
    std::vector<std::string> messages;
};

inline std::vector<std::string> Entries(const WordList& list, int bucket) {
    std::vector<std::string> entries;
    for (const std::string_view entry : list.Bucket(bucket)) {
        entries.emplace_back(entry);
    }
    return entries;
}

}  // namespace quirtel::testing
