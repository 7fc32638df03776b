#pragma once

#include <string>

#include "core/files/FileResult.h"

// The file behind a document: opened to prove it is there, created empty when
// saved. Only regular files qualify, and nothing here ever blocks (a named
// pipe or a device would otherwise hold the program in its open).
namespace quirtel {

// Opens the regular file at `path` for reading and closes it again, reading nothing.
FileResult OpenDocumentFile(const std::string& path);

// Creates `path` empty when it is missing; an existing regular file is opened
// for appending and left exactly as it was. Anything that is not a regular
// file is refused before it is opened for writing.
FileResult SaveDocumentFile(const std::string& path);

}  // namespace quirtel
