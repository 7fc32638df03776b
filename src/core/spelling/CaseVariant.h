#pragma once

#include <string>

namespace quirtel {

// When no file exists at `path`, the path of a file in the same folder whose
// name differs from it only in ASCII case ("datos/ES.dic" for
// "datos/es.dic"), the first in byte order when there are several; empty
// when the path exists or no such file is there.
std::string FindCaseVariant(const std::string& path);

}  // namespace quirtel
