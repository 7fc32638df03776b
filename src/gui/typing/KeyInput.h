#pragma once

#include <optional>

class QInputMethodEvent;
class QKeyEvent;

namespace quirtel {

class CTapoView;

// The typing view's keyboard: turns key presses and input-method commits
// into the test's character messages and the text area's edits, counting a
// dead key once whether it arrives as a key press, through DeadKeyPressed or
// swallowed by the input method.
class KeyInput {
public:
    // The view must outlive the input.
    explicit KeyInput(CTapoView& view);

    // A key press: edit commands first, then the test's own keys, then the
    // character it sends; the text area gets what the character means.
    void KeyPress(QKeyEvent& event);
    // A dead key seen before any input method could swallow it: a character
    // message of its own; the key event with the same time stamp is not
    // counted again.
    void DeadKeyPressed(unsigned long timestamp);
    // An input-method commit: each committed character is one character
    // message, after the dead key the input method swallowed, if any.
    void InputMethod(QInputMethodEvent& event);

private:
    // Passes a character key event to the session as what it stands for.
    bool AcceptKey(const QKeyEvent& event);

    CTapoView& view_;
    // The last key press was a dead key, so the letter it composes, when it
    // comes as an input-method commit, is one character message only.
    bool deadKeySeen_ = false;
    // The time stamp of the last dead key counted through DeadKeyPressed.
    std::optional<unsigned long> countedDeadKey_;
};

}  // namespace quirtel
