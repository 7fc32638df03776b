#include "gui/typing/KeyClassifier.h"

#include <QString>

#include "core/session/Keystroke.h"

namespace quirtel {

namespace {

bool IsDeadKey(int key) {
    return key >= Qt::Key_Dead_Grave && key <= Qt::Key_Dead_Longsolidusoverlay;
}

bool IsEditingKey(int key) {
    switch (key) {
        case Qt::Key_Delete:
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_Home:
        case Qt::Key_End:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_Insert:
        case Qt::Key_Clear:
            return true;
        default:
            return false;
    }
}

// Keys whose press sends a control character of its own.
bool IsControlKey(int key) {
    switch (key) {
        case Qt::Key_Backspace:
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
        case Qt::Key_Escape:
            return true;
        default:
            return false;
    }
}

bool IsPrintable(const QString& text) {
    if (text.isEmpty()) {
        return false;
    }
    const char16_t first = text.at(0).unicode();
    return first >= 0x20 && !(first >= 0x7F && first <= 0x9F);
}

}  // namespace

KeyRole ClassifyKey(int key, Qt::KeyboardModifiers modifiers, const QString& text) {
    // Keypad and group-switch flags do not change what a key means here.
    const Qt::KeyboardModifiers mods =
        modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);

    // The edit accelerators, matched with their exact modifiers.
    if (mods == Qt::ControlModifier) {
        switch (key) {
            case Qt::Key_Z:
                return KeyRole::Undo;
            case Qt::Key_X:
                return KeyRole::Cut;
            case Qt::Key_C:
            case Qt::Key_Insert:
                return KeyRole::Copy;
            case Qt::Key_V:
                return KeyRole::Paste;
            default:
                break;
        }
    } else if (mods == Qt::ShiftModifier) {
        if (key == Qt::Key_Delete) {
            return KeyRole::Cut;
        }
        if (key == Qt::Key_Insert) {
            return KeyRole::Paste;
        }
    } else if (mods == Qt::AltModifier && key == Qt::Key_Backspace) {
        return KeyRole::Undo;
    }

    // Alt and Meta combinations belong to the menu and the desktop.
    if (mods & (Qt::AltModifier | Qt::MetaModifier)) {
        return KeyRole::Other;
    }
    if (IsControlKey(key) || IsDeadKey(key)) {
        return KeyRole::Character;
    }
    if (IsEditingKey(key)) {
        return KeyRole::Editing;
    }
    if (mods & Qt::ControlModifier) {
        return key >= Qt::Key_A && key <= Qt::Key_Z ? KeyRole::ControlCharacter : KeyRole::Other;
    }
    return IsPrintable(text) ? KeyRole::Character : KeyRole::Other;
}

int PlainCharacterKey(int key, Qt::KeyboardModifiers modifiers) {
    const bool shift = modifiers & Qt::ShiftModifier;
    const bool control = modifiers & Qt::ControlModifier;
    switch (key) {
        case Qt::Key_Backtab:
            return Qt::Key_Tab;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return shift || control ? static_cast<int>(Qt::Key_Return) : 0;
        case Qt::Key_H:
            return control ? static_cast<int>(Qt::Key_Backspace) : 0;
        case Qt::Key_I:
            return control ? static_cast<int>(Qt::Key_Tab) : 0;
        case Qt::Key_J:
        case Qt::Key_M:
            return control ? static_cast<int>(Qt::Key_Return) : 0;
        default:
            return 0;
    }
}

bool OwnsShortcut(int key, Qt::KeyboardModifiers modifiers, const QString& text) {
    const bool altOrMeta = modifiers & (Qt::AltModifier | Qt::MetaModifier);
    if (!altOrMeta && (key == Qt::Key_F2 || key == Qt::Key_F3 || key == Qt::Key_Escape)) {
        return true;
    }
    switch (ClassifyKey(key, modifiers, text)) {
        case KeyRole::Character:
        case KeyRole::Undo:
        case KeyRole::Cut:
        case KeyRole::Copy:
        case KeyRole::Paste:
        case KeyRole::Editing:
            return true;
        case KeyRole::ControlCharacter:
        case KeyRole::Other:
            // Ctrl+letters are the window's accelerators first (Ctrl+N, Ctrl+O,
            // Ctrl+S); only those without one reach the text as a character.
            return false;
    }
    return false;
}

bool IsModifierKey(int key) {
    return key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt ||
           key == Qt::Key_AltGr || key == Qt::Key_Meta || key == Qt::Key_CapsLock;
}

KeystrokeCode KeystrokeOf(int key, Qt::KeyboardModifiers modifiers, const QString& text) {
    const auto control = [](ControlKey k) { return KeystrokeCode{true, static_cast<char32_t>(k)}; };
    const int plainKey = PlainCharacterKey(key, modifiers);
    switch (plainKey != 0 ? plainKey : key) {
        case Qt::Key_Backspace:
            return control(ControlKey::Backspace);
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return control(ControlKey::Enter);
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return control(ControlKey::Tab);
        case Qt::Key_Escape:
            return control(ControlKey::Escape);
        default:
            break;
    }
    if (IsDeadKey(key) && text.isEmpty()) {
        return control(ControlKey::DeadKey);
    }
    if ((modifiers & Qt::ControlModifier) || text.isEmpty()) {
        return control(ControlKey::Other);
    }
    const char32_t first = text.front().isHighSurrogate() && text.size() > 1
                               ? QChar::surrogateToUcs4(text[0], text[1])
                               : text.front().unicode();
    return first < 0x20 || first == 0x7F ? control(ControlKey::Other) : KeystrokeCode{false, first};
}

}  // namespace quirtel
