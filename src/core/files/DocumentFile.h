#pragma once

#include <string>

// The file behind a document: opened to prove it is there, created empty when
// saved. Only regular files qualify, and nothing here ever blocks (a named
// pipe or a device would otherwise hold the program in its open).
namespace quirtel {

enum class DocumentFileError {
    none,
    notFound,        // the file or a folder of its path is missing, or the name is invalid
    accessDenied,    // no permission, or a read-only file system
    notRegularFile,  // a folder, a named pipe, a device or a socket
    diskFull,        // no space (or quota) left on the device
    other,           // anything else; systemError tells what
};

struct DocumentFileResult {
    DocumentFileError error = DocumentFileError::none;
    int systemError = 0;  // errno of the failed call, 0 when there was none

    bool ok() const { return error == DocumentFileError::none; }
};

// Opens the regular file at `path` for reading and closes it again, reading nothing.
DocumentFileResult OpenDocumentFile(const std::string& path);

// Creates `path` empty when it is missing; an existing regular file is opened
// for appending and left exactly as it was. Anything that is not a regular
// file is refused before it is opened for writing.
DocumentFileResult SaveDocumentFile(const std::string& path);

// The failure kind of an errno value.
DocumentFileError DocumentErrorFromErrno(int err);

}  // namespace quirtel
