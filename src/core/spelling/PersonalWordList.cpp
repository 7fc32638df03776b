#include "core/spelling/PersonalWordList.h"

#include <algorithm>
#include <cerrno>
#include <chrono>

#include "core/common/Cp1252.h"
#include "core/files/AtomicFile.h"
#include "core/files/RegularFile.h"
#include "core/files/UserFolder.h"
#include "core/spelling/LineReader.h"
#include "core/spelling/WordCheck.h"

namespace quirtel {

namespace {

// A word as it is stored: lower case; empty when it cannot be one line.
std::string StoredForm(std::string_view word) {
    if (word.empty() || word.size() > PersonalWordList::MAX_WORD_BYTES ||
        word.find_first_of(std::string_view("\n\r\0", 3)) != std::string_view::npos) {
        return {};
    }
    std::string stored(word);
    ToLowerCp1252(stored);
    return stored;
}

// How long an addition waits for another instance's addition to end.
constexpr std::chrono::seconds kLockWait{5};

}  // namespace

std::string PersonalWordList::DefaultPath() {
    const std::string base = UserFolder("XDG_DATA_HOME", ".local/share");
    return base.empty() ? base : base + "/quirtel/personal.dic";
}

PersonalWordList::PersonalWordList(std::string path) : path(std::move(path)) {
    if (!this->path.empty()) {
        Load();
    }
}

void PersonalWordList::Load() {
    std::string bytes;
    loadResult = Read(bytes);
    readable = loadResult.ok();
    Take(readable ? bytes : std::string_view());
}

FileResult PersonalWordList::Read(std::string& bytes) const {
    FileResult result = ReadRegularFile(path, bytes, MAX_FILE_BYTES);
    // Only a file that is not there is an empty list; a wrong name on the
    // way (a file where a folder should be) is a list that cannot be used.
    if (result.error == FileError::missing && result.systemError == ENOENT) {
        bytes.clear();
        return {};
    }
    return result;
}

void PersonalWordList::Take(std::string_view bytes) {
    byWord.clear();
    byFold.clear();
    detail::ForEachLine(bytes, [this](std::string_view line) {
        if (line.find('\0') == std::string_view::npos) {
            if (std::string word = StoredForm(line); !word.empty()) {
                byWord.push_back(std::move(word));
            }
        }
    });
    std::sort(byWord.begin(), byWord.end());
    byWord.erase(std::unique(byWord.begin(), byWord.end()), byWord.end());
    byFold.reserve(byWord.size());
    for (const std::string& word : byWord) {
        std::string folded = word;
        FoldAccents(folded);
        byFold.emplace_back(std::move(folded), word);
    }
    std::sort(byFold.begin(), byFold.end());
}

bool PersonalWordList::Contains(std::string_view word) const {
    return std::binary_search(byWord.begin(), byWord.end(), word,
                              [](std::string_view a, std::string_view b) { return a < b; });
}

void PersonalWordList::FindFolded(std::string_view folded,
                                  std::vector<std::string_view>& words) const {
    auto at = std::lower_bound(byFold.begin(), byFold.end(), folded,
                               [](const auto& entry, std::string_view key) {
                                   return std::string_view(entry.first) < key;
                               });
    for (; at != byFold.end() && at->first == folded; ++at) {
        words.emplace_back(at->second);
    }
}

PersonalWordList::Outcome PersonalWordList::Add(const std::vector<std::string>& words) {
    std::string bytes;
    if (path.empty() || !Read(bytes).ok()) {
        return Outcome::NotReadable;
    }
    // Another instance adding at the same time would otherwise read the old
    // file too, and the later replacement would drop the earlier one's words.
    FileDescriptor lock;
    if (LockFile(path + ".lock", lock, kLockWait).error == FileError::missing) {
        if (!CreateFolders(path).ok() || !LockFile(path + ".lock", lock, kLockWait).ok()) {
            return Outcome::NotWritten;
        }
    } else if (!lock) {
        return Outcome::NotWritten;
    }
    if (!Read(bytes).ok()) {
        return Outcome::NotReadable;
    }
    // What the file holds now: it may have been edited since it was loaded.
    PersonalWordList current("");
    current.Take(bytes);
    std::vector<std::string> added;
    std::string lines;
    for (const std::string& word : words) {
        std::string stored = StoredForm(word);
        if (stored.empty() || current.Contains(stored) ||
            std::find(added.begin(), added.end(), stored) != added.end()) {
            continue;
        }
        lines += stored + '\n';
        added.push_back(std::move(stored));
    }
    if (added.empty()) {
        Take(bytes);
        readable = true;
        return Outcome::Unchanged;
    }
    if (!bytes.empty() && bytes.back() != '\n') {
        bytes += '\n';
    }
    bytes += lines;
    if (!ReplaceFileAtomically(path, bytes).ok()) {
        return Outcome::NotWritten;
    }
    Take(bytes);
    readable = true;
    return Outcome::Written;
}

std::string PersonalWordList::FailureMessage(Outcome outcome) const {
    // The path is shown as the file system spells it, in UTF-8 nearly always.
    const std::string shown = " (" + cp1252::FromUtf8(path) + ")";
    if (path.empty()) {
        return "No hay carpeta personal donde guardar la lista personal de palabras.";
    }
    if (outcome == Outcome::NotReadable) {
        return "No se puede leer la lista personal de palabras" + shown + ": no se ha cambiado.";
    }
    return "No se pudo guardar la lista personal de palabras" + shown + ": sigue como estaba.";
}

std::string PersonalWordList::SkippedMessage() const {
    if (readable) {
        return {};
    }
    const std::string shown = " (" + cp1252::FromUtf8(path) + ")";
    std::string why;
    switch (loadResult.error) {
        case FileError::tooLarge:
            why = "pasa de 16 MiB";
            break;
        case FileError::notRegularFile:
            why =
                "no es un archivo, sino una carpeta, una tuber\xED"
                "a o un dispositivo";
            break;
        case FileError::accessDenied:
            why = "acceso denegado";
            break;
        default:
            why = "no se puede leer";
            break;
    }
    return "No se usa la lista personal de palabras" + shown + ": " + why +
           ". Sus palabras se marcan como faltas.";
}

}  // namespace quirtel
