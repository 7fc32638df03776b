#pragma once

#include <QDialog>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class QLabel;
class QPushButton;
class QTableWidget;

namespace quirtel {

// One error of a copy: the line of the typed text, the model's word, the
// typed word (either may be empty) and the kind ("tilde", "letra"...).
struct CopyErrorRow {
    int line = 0;
    std::string modelWord;
    std::string typedWord;
    std::string kind;
};

// A key typed in place of another, and how often.
struct CopyKeyCount {
    std::string expected;
    std::string typed;
    int count = 0;
};

// A key and the mean time it took, in milliseconds.
struct CopyKeySlowness {
    std::string key;
    double meanMs = 0.0;
};

// The figures and lists of a judged copy. All texts are Windows-1252; a key
// is the character it types (" ", "\n" and "\t" are shown by name).
struct CopyResultView {
    std::int32_t keystrokes = 0;
    std::int32_t elapsedSeconds = 0;
    std::int32_t errors = 0;
    std::int32_t wordsReached = 0;
    double accuracyPercent = 0.0;
    double grossSpeed = 0.0;   // keystrokes per minute
    double netSpeed = 0.0;     // under the rules
    std::optional<bool> pass;  // set only when the rules set a pass mark
    std::vector<CopyErrorRow> errorRows;
    std::vector<CopyKeyCount> mistyped;    // most first
    std::vector<CopyKeySlowness> slowest;  // slowest first
};

// "Resultado de la copia": the figures, the verdict "Apto"/"No apto" (hidden
// without a pass mark), the errors, the keys mistyped most and the slowest
// keys as tables, and "Aceptar" (default), which closes it; Escape too.
// Object names: "keystrokes", "time", "wordsReached", "errors", "accuracy",
// "grossSpeed", "netSpeed", "verdict", "errorTable", "mistypedTable",
// "slowTable", "ok".
class CCopyResultDlg final : public QDialog {
    Q_OBJECT

public:
    // Columns of the errors table.
    enum ErrorColumn { LINE, MODEL_WORD, TYPED_WORD, KIND, ERROR_COLUMN_COUNT };

    explicit CCopyResultDlg(const CopyResultView& result, QWidget* parent = nullptr);

    QLabel& Verdict() const { return *verdict_; }
    QTableWidget& ErrorTable() const { return *errorTable_; }
    QTableWidget& MistypedTable() const { return *mistypedTable_; }
    QTableWidget& SlowTable() const { return *slowTable_; }
    QPushButton& OkButton() const { return *okButton_; }

private:
    QLabel* verdict_ = nullptr;
    QTableWidget* errorTable_ = nullptr;
    QTableWidget* mistypedTable_ = nullptr;
    QTableWidget* slowTable_ = nullptr;
    QPushButton* okButton_ = nullptr;
};

}  // namespace quirtel
