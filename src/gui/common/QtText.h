#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace quirtel {

// Windows-1252 bytes of the core to and from Qt's strings; characters outside
// Windows-1252 become '?'.
QString FromCp1252(std::string_view cp1252);
std::string ToCp1252(const QString& text);

}  // namespace quirtel
