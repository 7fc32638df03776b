#include "gui/typing/CGuardedEdit.h"

#include <QAbstractTextDocumentLayout>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTextCursor>

#include "gui/typing/KeyClassifier.h"

namespace quirtel {

CGuardedEdit::CGuardedEdit(QWidget* parent) : QTextEdit(parent) {
    setContextMenuPolicy(Qt::PreventContextMenu);
    setAcceptDrops(false);
    viewport()->setAcceptDrops(false);
}

int CGuardedEdit::CharacterAt(QPoint point) const {
    const QPointF inDocument(point.x() + horizontalScrollBar()->value(),
                             point.y() + verticalScrollBar()->value());
    const int hit = document()->documentLayout()->hitTest(inDocument, Qt::ExactHit);
    if (hit < 0) {
        return -1;
    }
    // The hit is the caret position nearest the point: the character under
    // the point is the one after it or, over a character's right half, before.
    QTextCursor caret(document());
    caret.setPosition(hit);
    return point.x() >= cursorRect(caret).left() ? hit : hit - 1;
}

QRect CGuardedEdit::RangeRect(int start, int end) const {
    QTextCursor from(document());
    from.setPosition(start);
    QTextCursor to(document());
    to.setPosition(end);
    return cursorRect(from).united(cursorRect(to));
}

QString CGuardedEdit::TextBackspaceRemoves() const {
    const QTextCursor caret = textCursor();
    if (caret.hasSelection()) {
        return caret.selectedText();
    }
    return caret.position() > 0 ? QString(document()->characterAt(caret.position() - 1))
                                : QString();
}

bool CGuardedEdit::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        const auto& key = *static_cast<QKeyEvent*>(event);
        event->setAccepted(OwnsShortcut(key.key(), key.modifiers(), key.text()));
        return true;
    }
    return QTextEdit::event(event);
}

bool CGuardedEdit::SendPlainKey(const QKeyEvent& event) {
    const int key = PlainCharacterKey(event.key(), event.modifiers());
    if (key == 0) {
        return false;
    }
    QString text;
    switch (key) {
        case Qt::Key_Tab:
            text = QStringLiteral("\t");
            break;
        case Qt::Key_Backspace:
            text = QStringLiteral("\b");
            break;
        default:
            text = QStringLiteral("\r");
            break;
    }
    QKeyEvent plain(event.type(), key, Qt::NoModifier, text, event.isAutoRepeat(),
                    static_cast<quint16>(event.count()));
    QTextEdit::keyPressEvent(&plain);
    return true;
}

// A middle click would paste the selection of the window system.
void CGuardedEdit::mousePressEvent(QMouseEvent* event) {
    event->accept();
}
void CGuardedEdit::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
}
void CGuardedEdit::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();
}
void CGuardedEdit::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
}

void CGuardedEdit::dragEnterEvent(QDragEnterEvent* event) {
    event->ignore();
}
void CGuardedEdit::dragMoveEvent(QDragMoveEvent* event) {
    event->ignore();
}
void CGuardedEdit::dropEvent(QDropEvent* event) {
    event->ignore();
}

bool CGuardedEdit::canInsertFromMimeData(const QMimeData*) const {
    return false;
}
void CGuardedEdit::insertFromMimeData(const QMimeData*) {}

}  // namespace quirtel
