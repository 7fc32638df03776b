#pragma once

#include <string_view>

namespace quirtel {

// Shows a modal message box (caption "Tapo", warning icon, one OK button) and
// returns when the user has closed it. The text is Windows-1252. Everything
// that would show a message goes through this, so tests never block.
class MessagePrompt {
public:
    virtual ~MessagePrompt() = default;
    virtual void ShowMessage(std::string_view cp1252Text) = 0;
};

}  // namespace quirtel
