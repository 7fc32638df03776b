#pragma once

#include <QAbstractTableModel>
#include <vector>

#include "core/results/StatisticsRecord.h"

namespace quirtel {

// The records of the statistics log as a table: Fecha, Duración, Velocidad,
// Faltas, Pulsaciones finales. Sorts by the values (dates as dates, numbers
// as numbers; a test without spelling check below every fault count); ties
// keep the newest record first. Starts sorted newest first.
class ProgressTableModel final : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { Date, Duration, Speed, Faults, NetSpeed, ColumnCount };

    explicit ProgressTableModel(std::vector<StatisticsRecord> records, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

    // The record shown in `row`.
    const StatisticsRecord& RecordAt(int row) const;
    // The text of a cell as the table shows it.
    QString CellText(int row, int column) const;
    // The header and every row in the order shown, cells separated by tabs,
    // each line ended by '\n'.
    QString TabSeparatedText() const;

private:
    std::vector<StatisticsRecord> records;
    std::vector<int> rows;  // record index of each row shown
};

}  // namespace quirtel
