#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/files/FileResult.h"

namespace quirtel {

// The words a typist knows are right although the word list lacks them: a
// Windows-1252 text file, one lower-case word per line, LF (CR LF read too),
// that a person may edit by hand. It lives in the user's data folder.
class PersonalWordList {
public:
    // What became of a change of the file.
    enum class Outcome {
        Written,      // the file was replaced with the words added
        Unchanged,    // every word was there already (or none was given)
        NotReadable,  // the file exists but could not be read: left as it is
        NotWritten,   // the new file could not be written: the old one is whole
    };

    // Lines longer than this are damage, not words, and are ignored.
    static constexpr std::size_t MAX_WORD_BYTES = 100;
    // A file larger than this is not read (and never replaced).
    static constexpr std::size_t MAX_FILE_BYTES = std::size_t{16} << 20;

    // $XDG_DATA_HOME/quirtel/personal.dic; without an absolute XDG_DATA_HOME,
    // ~/.local/share/quirtel/personal.dic. Empty when the user has no home.
    static std::string DefaultPath();

    // Loads `path` at once unless it is empty (then the list stays empty and
    // cannot be added to).
    explicit PersonalWordList(std::string path);

    // Reads the file again. A missing file is an empty list. A file that is
    // not a regular file, cannot be read or is larger than MAX_FILE_BYTES is
    // skipped: the list is empty and Readable() false. Never blocks on a
    // FIFO. Each line is lower-cased; empty lines, lines holding a NUL byte
    // and lines longer than MAX_WORD_BYTES are ignored.
    void Load();

    // Whether `word` (lower case) is one of the words.
    bool Contains(std::string_view word) const;
    // Appends to `words` each word whose accent-folded form (FoldAccents)
    // equals `folded`.
    void FindFolded(std::string_view folded, std::vector<std::string_view>& words) const;

    // Adds `words` (lower-cased here) with one atomic replacement of the file,
    // under a lock (the file "<path>.lock", flock) that other instances adding
    // at the same time wait for, up to a few seconds: the file is read again, the words it lacks
    // are appended in order after its bytes, which stay exactly as they were, and the new file
    // replaces the old one in one step. Words that are empty, too long or hold a line break or a
    // NUL byte are left out. On any failure the old file stays whole and the list in memory is
    // unchanged.
    Outcome Add(const std::vector<std::string>& words);

    // The Windows-1252 message for an outcome of Add that is a failure.
    std::string FailureMessage(Outcome outcome) const;
    // The Windows-1252 message that the file was skipped by the last Load
    // and why; empty when it was not.
    std::string SkippedMessage() const;

    const std::string& Path() const { return path; }
    // False when the file exists but was skipped by the last Load.
    bool Readable() const { return readable; }
    // Why the last Load skipped the file (ok when it did not).
    const FileResult& LoadResult() const { return loadResult; }
    std::size_t Size() const { return byWord.size(); }

private:
    // Reads the file into `bytes`; a missing file is empty and ok.
    FileResult Read(std::string& bytes) const;
    void Take(std::string_view bytes);

    std::string path;
    bool readable = true;
    FileResult loadResult;
    // The words, sorted and unique; and (folded form, word), sorted.
    std::vector<std::string> byWord;
    std::vector<std::pair<std::string, std::string>> byFold;
};

}  // namespace quirtel
