#include "core/session/ModelTextCatalogue.h"

#include <dirent.h>

#include <algorithm>
#include <array>
#include <memory>

#include "core/common/Cp1252.h"

namespace quirtel {

namespace {

constexpr std::array<ModelTextKind, 3> kBuiltInKinds = {
    ModelTextKind::administrative, ModelTextKind::informative, ModelTextKind::narrative};

// The kind named by the prefix of "<kind>-....txt"; false for other names.
bool KindOfFileName(std::string_view name, ModelTextKind& kind) {
    constexpr std::string_view kExtension = ".txt";
    if (name.size() <= kExtension.size() ||
        name.substr(name.size() - kExtension.size()) != kExtension) {
        return false;
    }
    for (const ModelTextKind candidate : kBuiltInKinds) {
        const std::string_view prefix = ModelTextKindName(candidate);
        if (name.size() > prefix.size() && name.substr(0, prefix.size()) == prefix &&
            name[prefix.size()] == '-') {
            kind = candidate;
            return true;
        }
    }
    return false;
}

std::string_view TrimEnd(std::string_view text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ' ||
                             text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

}  // namespace

std::vector<ModelTextEntry> ModelTextCatalogue::List() const {
    std::vector<std::string> names;
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder_.c_str()), ::closedir);
    if (dir) {
        while (const dirent* item = ::readdir(dir.get())) {
            ModelTextKind kind{};
            if (KindOfFileName(item->d_name, kind)) {
                names.emplace_back(item->d_name);
            }
        }
    }
    std::sort(names.begin(), names.end());

    std::vector<ModelTextEntry> entries;
    for (const std::string& name : names) {
        const ModelTextResult loaded = Load(name);
        if (loaded.ok()) {
            entries.push_back(
                {name, loaded.model.title, loaded.model.kind, loaded.model.text.size()});
        }
    }
    return entries;
}

ModelTextResult ModelTextCatalogue::Load(const std::string& fileName) const {
    ModelTextKind kind{};
    if (fileName.find('/') != std::string::npos || !KindOfFileName(fileName, kind)) {
        ModelTextResult refused;
        refused.error = ModelTextError::notFound;
        return refused;
    }
    std::string bytes;
    ModelTextResult result =
        ReadModelTextFile(folder_ + "/" + fileName, MODEL_TEXT_MAX_BYTES, bytes);
    if (!result.ok()) {
        return result;
    }
    const std::string text = cp1252::FromUtf8(bytes);
    const std::size_t lineEnd = text.find('\n');
    const std::string_view title = TrimEnd(std::string_view(text).substr(0, lineEnd));
    std::string_view passage;
    if (lineEnd != std::string::npos) {
        passage = TrimEnd(std::string_view(text).substr(lineEnd + 1));
        // Blank lines between the title and the passage are not part of it.
        passage.remove_prefix(std::min(passage.find_first_not_of("\r\n"), passage.size()));
    }
    if (title.empty() || passage.empty()) {
        result.error = ModelTextError::empty;
        return result;
    }
    result.model.title = std::string(title);
    result.model.kind = kind;
    result.model.text = std::string(passage);
    return result;
}

}  // namespace quirtel
