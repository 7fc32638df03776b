#pragma once

#include <QtCore/qnamespace.h>

class QString;

namespace quirtel {

// What one key press means to the typing view.
enum class KeyRole {
    Character,         // a character message; the text area inserts it
    ControlCharacter,  // a character message the text area has no use for (Ctrl+letter)
    Undo,              // edit commands of the text area: no character message
    Cut,
    Copy,
    Paste,
    Editing,  // moves the caret or deletes without a character (arrows, Delete, Home...)
    Other,    // none of these: function keys, modifiers alone, Alt and Meta combinations
};

// Classifies a key press by its key code and modifiers first and by its text
// last, since the text differs between platforms and test drivers (X11 sends
// Delete as "\x7F" and Ctrl+V as "\x16", test drivers send "v").
KeyRole ClassifyKey(int key, Qt::KeyboardModifiers modifiers, const QString& text);

// The plain key (Tab, Backspace or Return) that the text area should get for
// a character key whose modifiers would change what it inserts: Shift+Tab,
// Shift or Ctrl with Enter, and the control characters Ctrl+H, Ctrl+I, Ctrl+J
// and Ctrl+M. 0 when the key goes to the text area as it is.
int PlainCharacterKey(int key, Qt::KeyboardModifiers modifiers);

// Whether the typing view takes the key before the window's shortcuts: F2,
// F3, Escape, characters and the edit keys; Ctrl+letters are the window's
// accelerators first.
bool OwnsShortcut(int key, Qt::KeyboardModifiers modifiers, const QString& text);

// Shift, Ctrl, Alt, AltGr, Meta or Caps Lock alone.
bool IsModifierKey(int key);

// What a character key press puts into a test's keystroke stream: a control
// key (`control` true, `code` a ControlKey) or the character typed.
struct KeystrokeCode {
    bool control;
    char32_t code;
};
KeystrokeCode KeystrokeOf(int key, Qt::KeyboardModifiers modifiers, const QString& text);

}  // namespace quirtel
