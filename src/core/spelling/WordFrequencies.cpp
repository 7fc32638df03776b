#include "core/spelling/WordFrequencies.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <new>

#include "core/common/Cp1252.h"
#include "core/spelling/LineReader.h"
#include "core/spelling/WordCheck.h"

namespace quirtel {

FileResult WordFrequencies::Load(const std::string& path) {
    ranks.clear();
    detail::LineReader reader;
    if (FileResult opened = reader.Open(path, MAX_FILE_BYTES); !opened.ok()) {
        return opened;
    }
    std::uint32_t line = 0;
    bool complete = false;
    try {
        complete = reader.ReadWholeLines([&](std::string_view lines) {
            detail::ForEachLine(lines, [&](std::string_view word) {
                if (!word.empty() && word.size() <= MAX_WORD_BYTES &&
                    word.find('\0') == std::string_view::npos) {
                    std::string lower(word);
                    ToLowerCp1252(lower);
                    ranks.emplace_back(std::move(lower), line);
                }
                ++line;
            });
        });
    } catch (const std::bad_alloc&) {
        ranks.clear();
        return {FileError::other, ENOMEM};
    }
    // Sorted by word, then rank: the first of each word is its best rank.
    std::sort(ranks.begin(), ranks.end());
    ranks.erase(std::unique(ranks.begin(), ranks.end(),
                            [](const auto& a, const auto& b) { return a.first == b.first; }),
                ranks.end());
    ranks.shrink_to_fit();
    return complete ? FileResult{} : FileResult{FileError::other, EIO};
}

std::uint32_t WordFrequencies::RankOf(std::string_view word) const {
    const auto at = std::lower_bound(ranks.begin(), ranks.end(), word,
                                     [](const auto& entry, std::string_view key) {
                                         return std::string_view(entry.first) < key;
                                     });
    return at != ranks.end() && at->first == word ? at->second : NOT_RANKED;
}

std::size_t WordFrequencies::MemoryBytes() const {
    std::size_t bytes = ranks.capacity() * sizeof(decltype(ranks)::value_type);
    for (const auto& [word, rank] : ranks) {
        // Short words live inside the string object itself.
        if (word.capacity() > 15) {
            bytes += word.capacity() + 1;
        }
    }
    return bytes;
}

std::string FrequencyPathFor(const std::string& wordListPath) {
    const std::size_t slash = wordListPath.rfind('/');
    return (slash == std::string::npos ? std::string() : wordListPath.substr(0, slash + 1)) +
           "frecuencias.txt";
}

}  // namespace quirtel

namespace quirtel {

std::string FrequencyListNote(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode) ||
        static_cast<std::uintmax_t>(info.st_size) <= WordFrequencies::MAX_FILE_BYTES) {
        return {};
    }
    return "la lista de frecuencias " + cp1252::FromUtf8(path) +
           " pasa de 16 MiB y no se lee: las sugerencias no se ordenan por frecuencia.";
}

}  // namespace quirtel
