#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/session/ModelText.h"

namespace quirtel {

// Where the built-in texts are, relative to the working folder like the
// other data files.
inline constexpr std::string_view BUILT_IN_TEXTS_FOLDER = "./datos/textos";

// One built-in text as the chooser lists it.
struct ModelTextEntry {
    std::string fileName;  // e.g. "informativo-02-pinguino-emperador.txt"
    std::string title;     // Windows-1252, the file's first line
    ModelTextKind kind = ModelTextKind::administrative;
    std::size_t length = 0;  // characters of the passage, title excluded
};

// The built-in texts of one folder: UTF-8 files named "<kind>-....txt" whose
// first line is the title and whose other lines are the passage.
class ModelTextCatalogue {
public:
    explicit ModelTextCatalogue(std::string folder = std::string(BUILT_IN_TEXTS_FOLDER))
        : folder_(std::move(folder)) {}

    // The usable texts of the folder in file-name order. Files of an unknown
    // kind, unreadable ones and ones without a passage are left out; a
    // missing folder gives an empty list.
    std::vector<ModelTextEntry> List() const;

    // The text of `fileName` in the folder: title, kind and passage in
    // Windows-1252, the passage without trailing line breaks.
    ModelTextResult Load(const std::string& fileName) const;

    const std::string& Folder() const { return folder_; }

private:
    std::string folder_;
};

}  // namespace quirtel
