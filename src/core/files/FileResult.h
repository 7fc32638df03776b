#pragma once

namespace quirtel {

// What went wrong with a file, in the kinds its callers tell the user apart.
enum class FileError {
    none,
    missing,         // the file or a folder of its path is missing, or the name is invalid
    accessDenied,    // no permission, or a read-only file system
    notRegularFile,  // a folder, a named pipe, a device or a socket
    tooLarge,        // larger than the caller reads
    diskFull,        // no space (or quota) left on the device
    other,           // anything else; systemError tells what
};

// The outcome of a file operation: its kind, and the errno of the failed call
// (0 when no call failed; EISDIR for a folder refused as not a regular file).
struct FileResult {
    FileError error = FileError::none;
    int systemError = 0;

    bool ok() const { return error == FileError::none; }
};

// The failure kind of an errno value (none for 0).
FileError FileErrorFromErrno(int err);

// A failure of kind FileErrorFromErrno(err) with `err` kept.
inline FileResult FailureFromErrno(int err) {
    return {FileErrorFromErrno(err), err};
}

}  // namespace quirtel
