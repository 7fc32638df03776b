#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// A text to copy in a copy test: a built-in passage or a file of the user's,
// held in the core's encoding (Windows-1252).
namespace quirtel {

// The kind of a built-in text is the prefix of its file name
// ("administrativo-01-....txt"); a user's file has no kind of its own.
enum class ModelTextKind {
    administrative,  // "administrativo"
    informative,     // "informativo"
    narrative,       // "narrativo"
    userFile,
};

// Why a text could not be loaded.
enum class ModelTextError {
    none,
    notFound,        // the file or a folder of its path is missing
    accessDenied,    // no permission to read it
    notRegularFile,  // a folder, a named pipe, a device or a socket
    readFailed,      // the read itself failed; systemError tells why
    empty,           // no bytes, or nothing but whitespace
    binary,          // a NUL byte, or more than a tenth control characters
    tooLarge,        // more than MODEL_TEXT_MAX_BYTES
};

// The largest file accepted as a model: 1 MiB.
inline constexpr std::size_t MODEL_TEXT_MAX_BYTES = 1024 * 1024;

struct ModelText {
    std::string title;  // Windows-1252
    ModelTextKind kind = ModelTextKind::userFile;
    std::string text;  // Windows-1252, lines ended by '\n'
};

struct ModelTextResult {
    ModelTextError error = ModelTextError::none;
    int systemError = 0;  // errno of the failed call, 0 when there was none
    ModelText model;      // filled only when ok()

    bool ok() const { return error == ModelTextError::none; }
};

// The file-name prefix of a built-in kind ("administrativo", "informativo",
// "narrativo"); empty for userFile.
std::string_view ModelTextKindName(ModelTextKind kind);

// Loads the whole file at `path` as a model, titled by its file name without
// the extension. Valid UTF-8 is converted to Windows-1252 (characters it
// lacks become '?', a leading byte-order mark is dropped); anything else is
// taken as Windows-1252. CR LF and lone CR become '\n'. Never blocks on a
// named pipe; refuses what is not a regular file, an empty or binary file and
// one over MODEL_TEXT_MAX_BYTES.
ModelTextResult LoadUserModelText(const std::string& path);

// Reads the regular file at `path` whole into `bytes`, refusing one larger
// than `maxBytes` (tooLarge). Opens without blocking on named pipes.
ModelTextResult ReadModelTextFile(const std::string& path, std::size_t maxBytes,
                                  std::string& bytes);

// The file name of `path` without its folder and its last extension; a name
// that only starts with a dot (".notas") keeps it.
std::string ModelTextTitleFromPath(std::string_view path);

}  // namespace quirtel
