#pragma once

#include <QTextEdit>

namespace quirtel {

// A rich-text editor that only the keyboard writes into: clicks never move
// the caret or select, drops and pastes never reach the text, there is no
// context menu, and the typing keys win over the window's shortcuts.
class CGuardedEdit : public QTextEdit {
    Q_OBJECT

public:
    explicit CGuardedEdit(QWidget* parent = nullptr);

    // The position of the character under a viewport point, -1 for none.
    int CharacterAt(QPoint point) const;
    // The rectangle, in viewport coordinates, of the text from `start` to `end`
    // on one display line.
    QRect RangeRect(int start, int end) const;
    // What a Backspace would take out: the selection, else the character
    // before the caret (none at the start).
    QString TextBackspaceRemoves() const;

protected:
    bool event(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;

    // Gives the editor the plain key (PlainCharacterKey) of `event` with no
    // modifiers, in place of `event`; false when the event has none.
    bool SendPlainKey(const QKeyEvent& event);
};

}  // namespace quirtel
