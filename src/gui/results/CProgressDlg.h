#pragma once

#include <QDialog>
#include <string>

#include "core/results/ProgressSummary.h"
#include "core/results/StatisticsHistory.h"

class QChartView;
class QLabel;
class QPushButton;
class QTableView;

namespace quirtel {

class ProgressTableModel;

// "Progreso": the statistics log made visible. A summary, a chart of the
// speeds and faults over time (or a text saying why there is none), the
// records as a sortable table, "Copiar" (the table as tab-separated text to
// the clipboard) and "Cerrar". Notes say when lines were unreadable and when
// only the end of a large log was read. Resizable; the log is read when the
// dialog is made. Widgets carry object names: "summary", "notes", "chart",
// "noChart", "table", "copy", "close".
class CProgressDlg final : public QDialog {
    Q_OBJECT

public:
    // Reads the log at `logPath`, never writing to it.
    explicit CProgressDlg(const std::string& logPath, QWidget* parent = nullptr);
    ~CProgressDlg() override;

    const StatisticsHistory& History() const { return history_; }
    QLabel& SummaryLabel() const { return *summary_; }
    QLabel& NotesLabel() const { return *notes_; }
    // The chart, or null when there is nothing to draw.
    QChartView* ChartView() const { return chart_; }
    // The text shown instead of the chart; hidden when there is a chart.
    QLabel& NoChartLabel() const { return *noChart_; }
    QTableView& Table() const { return *table_; }
    ProgressTableModel& Model() const { return *model_; }
    QPushButton& CopyButton() const { return *copy_; }
    QPushButton& CloseButton() const { return *close_; }

    // Puts the table, in the order shown, on the clipboard as tab-separated text.
    void CopyTable();

private:
    QWidget* MakeChart(const std::string& logPath);
    void MakeTable();

    StatisticsHistory history_;
    ProgressSummary figures_;
    QLabel* summary_ = nullptr;
    QLabel* notes_ = nullptr;
    QChartView* chart_ = nullptr;
    QLabel* noChart_ = nullptr;
    QTableView* table_ = nullptr;
    ProgressTableModel* model_ = nullptr;
    QPushButton* copy_ = nullptr;
    QPushButton* close_ = nullptr;
};

}  // namespace quirtel
