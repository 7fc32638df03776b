#pragma once

#include <QAbstractTableModel>
#include <optional>
#include <vector>

#include "core/results/StatisticsRecord.h"

namespace quirtel {

// The records of the statistics log as a table: Fecha, Duración, Velocidad
// bruta, Faltas, Velocidad neta (pulsaciones finales), and for copy tests
// Precisión and Texto (the model's title; empty for free tests). Sorts by the
// values (dates as dates, numbers as numbers, titles alphabetically; a test
// without spelling check below every fault count, a free test below every
// accuracy); ties keep the newest record first. Starts sorted newest first.
// Hidden records are left out, or shown greyed; a kind filter leaves out the
// tests of the other kind.
class ProgressTableModel final : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { Date, Duration, Speed, Faults, NetSpeed, Accuracy, Text, ColumnCount };

    // `hidden` marks the records hidden (none when shorter than `records`).
    explicit ProgressTableModel(std::vector<StatisticsRecord> records,
                                std::vector<bool> hidden = {}, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

    // The column and order of the last sort.
    int SortColumn() const { return sortColumn; }
    Qt::SortOrder SortOrder() const { return sortOrder; }

    // Whether hidden records are rows too (greyed).
    void SetShowHidden(bool show);
    bool ShowsHidden() const { return showHidden; }
    // Only the tests of `kind` are rows; all of them without one.
    void SetKind(std::optional<TestKind> kind);
    std::optional<TestKind> Kind() const { return kindFilter; }
    // Whether Precisión and Texto say anything: the records hold a copy test
    // and the filter does not leave copies out.
    bool ShowsCopyColumns() const;

    // Marks record `record` (an index in the records given) hidden or not.
    void SetHidden(std::size_t record, bool isHidden);

    // The record shown in `row`, and its index in the records given.
    const StatisticsRecord& RecordAt(int row) const;
    std::size_t RecordIndex(int row) const;
    bool IsHidden(int row) const;
    // The row that shows record `record`, or -1.
    int RowOf(std::size_t record) const;
    // The text of a cell as the table shows it.
    QString CellText(int row, int column) const;
    // The header and every row in the order shown, cells separated by tabs,
    // each line ended by '\n'; numbers as the user's locale writes them.
    // Precisión and Texto only when ShowsCopyColumns().
    QString TabSeparatedText() const;

private:
    void Rebuild();

    std::vector<StatisticsRecord> records;
    std::vector<bool> hidden;
    std::vector<int> rows;  // record index of each row shown
    bool showHidden = false;
    bool hasCopies = false;
    std::optional<TestKind> kindFilter;
    int sortColumn = Date;
    Qt::SortOrder sortOrder = Qt::DescendingOrder;
};

}  // namespace quirtel
