#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>
#include <vector>

class QPushButton;
class QTableWidget;

namespace quirtel {

// "Revisión de faltas": every token the spelling check marked, in text order,
// with its line, the token, why it is marked and what was probably meant,
// and a tick box "No es falta". "Aceptar" (Enter) accepts; "Cancelar", Escape
// and the close box reject. Space ticks or unticks the current row; rows of
// the same word tick together. A row whose fault does not depend on the word
// list (a shape fault) has no tick box.
class CReviewDlg final : public QDialog {
    Q_OBJECT

public:
    struct Row {
        int line = 0;
        QString token;
        QString kind;
        QStringList suggestions;
        QString word;  // what a tick adds to the personal list
        bool tickable = true;
    };

    // Table columns.
    enum Column { LINE, TOKEN, KIND, SUGGESTIONS, NOT_A_FAULT, COLUMN_COUNT };

    explicit CReviewDlg(const std::vector<Row>& rows, QWidget* parent = nullptr);

    // The words of the ticked rows, each once, in text order.
    QStringList TickedWords() const;
    // Ticks or unticks `row` and every row of the same word.
    void SetTicked(int row, bool ticked);
    bool IsTicked(int row) const;

    QTableWidget& Table() const { return *table_; }
    QPushButton& OkButton() const { return *okButton_; }
    QPushButton& CancelButton() const { return *cancelButton_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::vector<Row> rows_;
    QTableWidget* table_;
    QPushButton* okButton_;
    QPushButton* cancelButton_;
};

}  // namespace quirtel
