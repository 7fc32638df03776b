#pragma once

#include <string>
#include <string_view>

namespace quirtel {

// The shortest text that reads back as the same double, with a point.
std::string JsonNumber(double value);

// A JSON string of Windows-1252 text, still in Windows-1252: quotes,
// backslashes and control characters escaped in ASCII, so converting the whole
// report to UTF-8 afterwards keeps the escapes.
std::string JsonText(std::string_view text);

}  // namespace quirtel
