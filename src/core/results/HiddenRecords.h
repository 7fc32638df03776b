#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quirtel {

// The records of the statistics log that the user has hidden from the
// progress figures. The log itself is never rewritten: the hidden records are
// copies of its lines (without the line break), one per line, CR LF, in a
// file of their own in the user's data folder. A log line is hidden as many
// times as its exact text is in the file.
class HiddenRecords {
public:
    // A file larger than this is not read (and never replaced).
    static constexpr std::size_t MAX_FILE_BYTES = std::size_t{16} << 20;

    // $XDG_DATA_HOME/quirtel/ocultas.txt; without an absolute XDG_DATA_HOME,
    // ~/.local/share/quirtel/ocultas.txt. Empty when the user has no home.
    static std::string DefaultPath();

    // Reads `path` at once; an empty path hides nothing and cannot be changed.
    // A missing file hides nothing. A file that cannot be read, is no regular
    // file or is larger than MAX_FILE_BYTES hides nothing and Readable() is
    // false. Never blocks on a FIFO.
    explicit HiddenRecords(std::string path);

    const std::string& Path() const { return path; }
    bool Readable() const { return readable; }
    bool Empty() const { return lines.empty(); }

    // Adds `line` (a log line without its line break; a trailing CR is
    // dropped) or removes one copy of it, with one atomic replacement of the
    // file after reading it again, so that changes made elsewhere stay. False
    // when the file could not be read or written (it stays whole and nothing
    // changes here), when there is no path, and for Show of a line that is
    // not hidden.
    bool Hide(std::string_view line);
    bool Show(std::string_view line);

    // Hands out each hidden line once, for one reading of the log.
    class Matcher {
    public:
        explicit Matcher(const HiddenRecords& hidden);
        // Whether `line` (trailing CR dropped) is hidden by a copy in the
        // file not yet taken by an earlier line; takes that copy.
        bool Take(std::string_view line);

    private:
        const std::vector<std::string>& lines;
        std::vector<bool> taken;
    };

private:
    bool Read(std::string& bytes) const;
    void Take(std::string_view bytes);
    bool Write(const std::vector<std::string>& newLines);

    std::string path;
    std::vector<std::string> lines;  // sorted
    bool readable = true;
};

}  // namespace quirtel
