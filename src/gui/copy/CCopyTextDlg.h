#pragma once

#include <QDialog>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "gui/copy/CopyFileRefusal.h"

class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QTableWidget;

namespace quirtel {

class Prompts;

// A text that can be copied. All texts are Windows-1252.
struct CopyTextEntry {
    std::string title;
    std::string kind;        // "administrativo", "informativo", "narrativo"...
    std::size_t length = 0;  // in characters
    std::string cp1252Text;
};

// The exam rules as the dialog edits them.
struct CopyRulesView {
    int minutes = 10;          // 1 to 30
    int penalty = 5;           // keystrokes subtracted per error, 0 to 100
    int passMark = 0;          // net keystrokes per minute; 0 = no pass mark
    int maxErrorsPercent = 0;  // of the words reached; 0 = no limit
};

// What loading a user's file gave: the text, or why it was refused.
struct CopyFileLoad {
    CopyFileRefusal refusal = CopyFileRefusal::None;
    CopyTextEntry text;  // an empty title is replaced by the file name without extension
};

// Loads the file at a path given in the file system's own encoding.
using CopyFileLoader = std::function<CopyFileLoad(const std::string& path)>;

// "Texto para copiar": the texts to choose from (title, kind, length), "Abrir
// archivo..." to copy from a file of the user's (chosen through `prompts`,
// loaded by `loader`, a refusal shown through `prompts`), a preview of the
// chosen text, the exam rules, "Empezar" (default, accepts) and "Cancelar".
// "Empezar" is enabled while a text is chosen. Object names: "texts",
// "openFile", "preview", "minutes", "penalty", "passMark", "maxErrors",
// "start", "cancel".
class CCopyTextDlg final : public QDialog {
    Q_OBJECT

public:
    // Table columns.
    enum Column { TITLE, KIND, LENGTH, COLUMN_COUNT };

    // Rules out of range open at the nearest allowed value.
    CCopyTextDlg(std::vector<CopyTextEntry> texts, const CopyRulesView& rules,
                 CopyFileLoader loader, Prompts& prompts, QWidget* parent = nullptr);

    // The chosen text; meaningful while "Empezar" is enabled and after it.
    const CopyTextEntry& ChosenText() const;
    // Index of the chosen text in the list: the given texts first, then the
    // files opened, in order; -1 when none is chosen.
    int ChosenIndex() const;
    CopyRulesView Rules() const;

    // Asks for a file, loads it and, when it is accepted, adds and chooses it.
    void OpenFile();

    QTableWidget& Texts() const { return *table_; }
    QPlainTextEdit& Preview() const { return *preview_; }
    QPushButton& OpenButton() const { return *openButton_; }
    QPushButton& StartButton() const { return *startButton_; }
    QPushButton& CancelButton() const { return *cancelButton_; }

private:
    void AddRow(const CopyTextEntry& entry);
    void ShowChosen();

    std::vector<CopyTextEntry> texts_;
    CopyFileLoader loader_;
    Prompts& prompts_;
    QTableWidget* table_;
    QPushButton* openButton_;
    QPlainTextEdit* preview_;
    QSpinBox* minutes_;
    QSpinBox* penalty_;
    QSpinBox* passMark_;
    QSpinBox* maxErrors_;
    QPushButton* startButton_;
    QPushButton* cancelButton_;
};

}  // namespace quirtel
