#include "gui/typing/KeyInput.h"

#include <QInputMethodEvent>
#include <QKeyEvent>

#include "gui/typing/CTapoView.h"
#include "gui/typing/KeyClassifier.h"

namespace quirtel {

KeyInput::KeyInput(CTapoView& view) : view_(view) {}

void KeyInput::KeyPress(QKeyEvent& event) {
    event.accept();
    const KeyRole role = ClassifyKey(event.key(), event.modifiers(), event.text());
    const bool deadKey =
        event.key() >= Qt::Key_Dead_Grave && event.key() <= Qt::Key_Dead_Longsolidusoverlay;
    if (!IsModifierKey(event.key())) {
        deadKeySeen_ = deadKey;
    }

    // The edit commands come before the key reaches the test, as accelerators
    // do, and send no character: they never start the clock.
    const bool finished = view_.State() == CTapoView::TestState::Finished;
    switch (role) {
        case KeyRole::Undo:
            // A finished text stays as it was counted.
            if (!finished) {
                view_.undo();
            }
            return;
        case KeyRole::Cut:
            if (!finished) {
                view_.cut();
            }
            return;
        case KeyRole::Copy:
            view_.copy();
            return;
        case KeyRole::Paste:
            return;
        default:
            break;
    }

    if (event.modifiers() & Qt::AltModifier) {
        event.ignore();
        return;
    }
    if (!view_.HandleKeyDown(event.key())) {
        return;
    }

    switch (role) {
        case KeyRole::Character: {
            const bool counted = deadKey && countedDeadKey_ == event.timestamp();
            if ((!counted && !AcceptKey(event)) || event.key() == Qt::Key_Escape) {
                return;
            }
            // The text area gets what the character means: Shift+Tab is a tab,
            // and Shift+Enter or Ctrl+Enter a paragraph break (every line
            // break the text holds is a paragraph).
            if (!view_.EditPlainKey(event)) {
                view_.EditKey(&event);
            }
            return;
        }
        case KeyRole::ControlCharacter: {
            // Ctrl+H, Ctrl+I, Ctrl+J and Ctrl+M are the control characters of
            // Backspace, Tab and Enter and act like them; other Ctrl+letters
            // only count.
            if (AcceptKey(event)) {
                view_.EditPlainKey(event);
            }
            return;
        }
        case KeyRole::Editing:
            view_.EditKey(&event);
            return;
        default:
            event.ignore();
            return;
    }
}

bool KeyInput::AcceptKey(const QKeyEvent& event) {
    const KeystrokeCode keystroke = KeystrokeOf(event.key(), event.modifiers(), event.text());
    if (!keystroke.control) {
        return view_.AcceptCharacter(keystroke.code);
    }
    const auto key = static_cast<ControlKey>(keystroke.code);
    if (key != ControlKey::Backspace) {
        return view_.AcceptControl(key);
    }
    // What Backspace takes out of the text goes into the stream too.
    const QString gone = view_.TextBackspaceRemoves();
    if (!view_.AcceptControl(key)) {
        return false;
    }
    for (const char32_t c : gone.toUcs4()) {
        view_.session_.NoteDeleted(c);
    }
    return true;
}

void KeyInput::DeadKeyPressed(unsigned long timestamp) {
    countedDeadKey_ = timestamp;
    deadKeySeen_ = true;
    view_.AcceptControl(ControlKey::DeadKey);
}

void KeyInput::InputMethod(QInputMethodEvent& event) {
    event.accept();
    if (view_.State() == CTapoView::TestState::Finished) {
        return;
    }
    // Each committed character is one character message. X11's compose input
    // context swallows the dead key of an accented letter and commits only the
    // letter; that dead key was a character message of its own.
    const QList<uint> committed = event.commitString().toUcs4();
    const bool swallowedDeadKey = !deadKeySeen_ && committed.size() == 1 &&
                                  QChar::decompositionTag(committed.front()) == QChar::Canonical;
    if (!committed.isEmpty()) {
        deadKeySeen_ = false;
    }
    // The swallowed dead key comes first, then the committed characters.
    if (swallowedDeadKey && !view_.AcceptControl(ControlKey::DeadKey)) {
        return;
    }
    for (const uint character : committed) {
        if (!view_.AcceptCharacter(character)) {
            return;
        }
    }
    view_.EditInput(&event);
}

}  // namespace quirtel
