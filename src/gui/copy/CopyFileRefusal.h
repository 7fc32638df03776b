#pragma once

#include <string>

namespace quirtel {

// Why a file the user chose cannot be copied from.
enum class CopyFileRefusal { None, Empty, Binary, TooLarge, Unreadable };

// The message that names the cause, Windows-1252; empty for None.
std::string CopyFileRefusalText(CopyFileRefusal refusal);

}  // namespace quirtel
