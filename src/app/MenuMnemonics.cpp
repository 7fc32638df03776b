#include "app/MenuMnemonics.h"

#include <QAction>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMenu>

namespace quirtel {

void MenuMnemonics::Install(QMenu& menu) {
    menu.installEventFilter(new MenuMnemonics(menu));
}

MenuMnemonics::MenuMnemonics(QMenu& menu) : QObject(&menu), menu_(menu) {}

bool MenuMnemonics::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &menu_ || event->type() != QEvent::KeyPress) {
        return false;
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
    if ((mods != Qt::NoModifier && mods != Qt::AltModifier && mods != Qt::ShiftModifier) ||
        key->text().size() != 1 || !key->text().at(0).isLetterOrNumber()) {
        return false;
    }
    const QChar letter = key->text().at(0).toUpper();
    QList<QAction*> matches;
    for (QAction* action : menu_.actions()) {
        if (action->isSeparator() || !action->isVisible() || !action->isEnabled()) {
            continue;
        }
        const QKeySequence mnemonic = QKeySequence::mnemonic(action->text());
        if (!mnemonic.isEmpty() &&
            QChar(static_cast<char16_t>(mnemonic[0].toCombined() & 0xFFFF)).toUpper() == letter) {
            matches.append(action);
        }
    }
    if (matches.isEmpty()) {
        return false;
    }
    if (matches.size() > 1) {
        // Several enabled items share the letter: highlight the next one.
        const qsizetype current = matches.indexOf(menu_.activeAction());
        menu_.setActiveAction(matches.at((current + 1) % matches.size()));
        return true;
    }
    // Return on the highlighted item activates it the way the menu does
    // itself: the menus close, then the command runs (or a submenu opens).
    menu_.setActiveAction(matches.front());
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(&menu_, &enter);
    return true;
}

}  // namespace quirtel
