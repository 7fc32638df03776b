#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "core/results/HiddenRecords.h"
#include "core/results/ProgressSeries.h"
#include "core/results/ProgressSummary.h"
#include "core/results/StatisticsHistory.h"

class QChartView;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QTableView;

namespace quirtel {

class ProgressTableModel;

// "Progreso": the statistics log made visible. "Tipo de prueba" (Todas,
// Libres, Copias) chooses the tests that the rest shows. A summary, a chart of the
// speeds and faults (one point per test, or over the dates: "eje"), or a
// text saying why there is none, the records as a table sortable by mouse
// or keyboard ("Ordenar por", "orden"), "Ocultar prueba" (a checkable button:
// hides the current test from the summary and the chart, or shows it again)
// and "Mostrar pruebas ocultas" (hidden tests as greyed rows), "Copiar" (the
// table as tab-separated text to the clipboard) and "Cerrar". Notes say when
// lines were unreadable, when only the end of a large log was read and how
// many tests are hidden. Resizable; the log is read when the dialog is made
// and never written. Widgets carry object names: "kind", "summary", "notes", "axis",
// "chart", "noChart", "sortColumn", "sortOrder", "showHidden", "hide",
// "table", "copy", "close".
class CProgressDlg final : public QDialog {
    Q_OBJECT

public:
    // Reads the log at `logPath`; the hidden records are kept in `hiddenPath`.
    explicit CProgressDlg(const std::string& logPath, QWidget* parent = nullptr,
                          const std::string& hiddenPath = HiddenRecords::DefaultPath());
    ~CProgressDlg() override;

    const StatisticsHistory& History() const { return history_; }
    // Todas, Libres, Copias; hidden when the log has no tests.
    QComboBox& KindBox() const { return *kind_; }
    QLabel& SummaryLabel() const { return *summary_; }
    QLabel& NotesLabel() const { return *notes_; }
    QComboBox& AxisBox() const { return *axis_; }
    // The chart, or null when the log has no tests.
    QChartView* ChartView() const { return chart_; }
    // The text shown instead of the chart; hidden when there is a chart.
    QLabel& NoChartLabel() const { return *noChart_; }
    QComboBox& SortColumnBox() const { return *sortColumn_; }
    QComboBox& SortOrderBox() const { return *sortOrder_; }
    QCheckBox& ShowHiddenBox() const { return *showHidden_; }
    QPushButton& HideButton() const { return *hide_; }
    QTableView& Table() const { return *table_; }
    ProgressTableModel& Model() const { return *model_; }
    QPushButton& CopyButton() const { return *copy_; }
    QPushButton& CloseButton() const { return *close_; }

    // Puts the table, in the order shown, on the clipboard as tab-separated text.
    void CopyTable();
    // Hides the test in the table's current row, or shows it again.
    void HideCurrent(bool hide);

private:
    QWidget* MakeChartArea();
    QWidget* MakeTableArea();
    // Summary, notes and chart from the tests not hidden.
    void ShowFigures();
    void UpdateHideButton();
    // Applies "Tipo de prueba" to the table, its columns and the figures.
    void ShowKind();

    std::string logPath_;
    HiddenRecords hidden_;
    StatisticsHistory history_;
    ProgressSummary figures_;
    QComboBox* kind_ = nullptr;
    QLabel* summary_ = nullptr;
    QLabel* notes_ = nullptr;
    QComboBox* axis_ = nullptr;
    QChartView* chart_ = nullptr;
    QLabel* noChart_ = nullptr;
    QComboBox* sortColumn_ = nullptr;
    QComboBox* sortOrder_ = nullptr;
    QCheckBox* showHidden_ = nullptr;
    QPushButton* hide_ = nullptr;
    QTableView* table_ = nullptr;
    ProgressTableModel* model_ = nullptr;
    QPushButton* copy_ = nullptr;
    QPushButton* close_ = nullptr;
    QString saveFailure_;
};

}  // namespace quirtel
