#include "core/results/HiddenRecords.h"

#include <algorithm>

#include "core/files/AtomicFile.h"
#include "core/files/RegularFile.h"
#include "core/files/UserFolder.h"

namespace quirtel {
namespace {

std::string_view WithoutCr(std::string_view line) {
    if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    return line;
}

// The lines that are not empty, in file order, without line breaks.
std::vector<std::string> SplitLines(std::string_view bytes) {
    std::vector<std::string> lines;
    while (!bytes.empty()) {
        const std::size_t end = std::min(bytes.find('\n'), bytes.size());
        const std::string_view line = WithoutCr(bytes.substr(0, end));
        bytes.remove_prefix(std::min(end + 1, bytes.size()));
        if (!line.empty()) {
            lines.emplace_back(line);
        }
    }
    return lines;
}

}  // namespace

std::string HiddenRecords::DefaultPath() {
    const std::string base = UserFolder("XDG_DATA_HOME", ".local/share");
    return base.empty() ? base : base + "/quirtel/ocultas.txt";
}

HiddenRecords::HiddenRecords(std::string path) : path(std::move(path)) {
    std::string bytes;
    if (!this->path.empty()) {
        readable = Read(bytes);
        Take(readable ? bytes : std::string_view());
    }
}

bool HiddenRecords::Read(std::string& bytes) const {
    const FileResult result = ReadRegularFile(path, bytes, MAX_FILE_BYTES);
    if (result.error == FileError::missing) {
        bytes.clear();
        return true;
    }
    return result.ok();
}

void HiddenRecords::Take(std::string_view bytes) {
    lines = SplitLines(bytes);
    std::sort(lines.begin(), lines.end());
}

bool HiddenRecords::Write(const std::vector<std::string>& newLines) {
    std::string bytes;
    for (const std::string& line : newLines) {
        bytes.append(line).append("\r\n");
    }
    if (!ReplaceFileAtomically(path, bytes).ok()) {
        return false;
    }
    lines = newLines;
    std::sort(lines.begin(), lines.end());
    readable = true;
    return true;
}

bool HiddenRecords::Hide(std::string_view line) {
    line = WithoutCr(line);
    std::string bytes;
    if (path.empty() || line.empty() || line.find('\n') != std::string_view::npos || !Read(bytes)) {
        return false;
    }
    // What the file holds now, in its order: it may have changed since it
    // was read, in another window or by hand.
    std::vector<std::string> newLines = SplitLines(bytes);
    newLines.emplace_back(line);
    return Write(newLines);
}

bool HiddenRecords::Show(std::string_view line) {
    line = WithoutCr(line);
    std::string bytes;
    if (path.empty() || !Read(bytes)) {
        return false;
    }
    std::vector<std::string> newLines = SplitLines(bytes);
    const auto found = std::find(newLines.begin(), newLines.end(), line);
    if (found == newLines.end()) {
        return false;
    }
    newLines.erase(found);
    return Write(newLines);
}

HiddenRecords::Matcher::Matcher(const HiddenRecords& hidden)
    : lines(hidden.lines), taken(hidden.lines.size(), false) {}

bool HiddenRecords::Matcher::Take(std::string_view line) {
    if (lines.empty()) {
        return false;
    }
    line = WithoutCr(line);
    auto at = std::lower_bound(lines.begin(), lines.end(), line,
                               [](const std::string& a, std::string_view b) { return a < b; });
    for (; at != lines.end() && *at == line; ++at) {
        const auto index = static_cast<std::size_t>(at - lines.begin());
        if (!taken[index]) {
            taken[index] = true;
            return true;
        }
    }
    return false;
}

}  // namespace quirtel
