#include "gui/results/ProgressTableModel.h"

#include <algorithm>
#include <numeric>

#include "core/results/FinalResult.h"

namespace quirtel {
namespace {

const char16_t* const kHeaders[] = {u"Fecha", u"Duraci\u00F3n", u"Velocidad", u"Faltas",
                                    u"Pulsaciones finales"};

QString Speed(double value) {
    // The core's "%.2f" text without its unit, which the header's tip gives.
    const std::string text = FormatSpeedText(value);
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.find(' ')));
}

// The value a column sorts by.
double SortKey(const StatisticsRecord& record, int column) {
    switch (column) {
        case ProgressTableModel::Date:
            return static_cast<double>(record.date.Minutes());
        case ProgressTableModel::Duration:
            return record.elapsedSeconds;
        case ProgressTableModel::Speed:
            return record.speed;
        case ProgressTableModel::Faults:
            return record.faults ? *record.faults : -1.0;
        default:
            return record.netSpeed;
    }
}

}  // namespace

ProgressTableModel::ProgressTableModel(std::vector<StatisticsRecord> records, QObject* parent)
    : QAbstractTableModel(parent), records(std::move(records)) {
    rows.resize(this->records.size());
    std::iota(rows.begin(), rows.end(), 0);
    sort(Date, Qt::DescendingOrder);
}

int ProgressTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows.size());
}

int ProgressTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QString ProgressTableModel::CellText(int row, int column) const {
    const StatisticsRecord& record = RecordAt(row);
    switch (column) {
        case Date:
            return QString::fromStdString(record.date.ShownText());
        case Duration:
            return QString::fromStdString(FormatTimeSpan(record.elapsedSeconds));
        case Speed:
            return quirtel::Speed(record.speed);
        case Faults:
            return record.faults ? QString::number(*record.faults)
                                 : QStringLiteral(u"sin ortograf\u00EDa");
        default:
            return quirtel::Speed(record.netSpeed);
    }
}

QVariant ProgressTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= ColumnCount) {
        return {};
    }
    if (role == Qt::DisplayRole) {
        return CellText(index.row(), index.column());
    }
    if (role == Qt::TextAlignmentRole) {
        return index.column() == Date ? QVariant(Qt::AlignLeft | Qt::AlignVCenter)
                                      : QVariant(Qt::AlignRight | Qt::AlignVCenter);
    }
    return {};
}

QVariant ProgressTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    if (role == Qt::DisplayRole) {
        return QString::fromUtf16(kHeaders[section]);
    }
    if (role == Qt::ToolTipRole) {
        switch (section) {
            case Duration:
                return QStringLiteral("Minutos y segundos");
            case Speed:
            case NetSpeed:
                return QStringLiteral("Caracteres por minuto");
            default:
                return {};
        }
    }
    return {};
}

void ProgressTableModel::sort(int column, Qt::SortOrder order) {
    if (column < 0 || column >= ColumnCount) {
        return;
    }
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    // Selections and the current cell follow their records to the new rows.
    const QModelIndexList persistent = persistentIndexList();
    std::vector<int> persistentRecords;
    for (const QModelIndex& index : persistent) {
        persistentRecords.push_back(rows[static_cast<std::size_t>(index.row())]);
    }
    // Each key is worked out once, not at every comparison. Newest first
    // among equal values: file order is oldest first.
    std::vector<double> keys(records.size());
    for (std::size_t i = 0; i < records.size(); ++i) {
        keys[i] = SortKey(records[i], column);
    }
    std::sort(rows.begin(), rows.end(), [&](int a, int b) {
        const double ka = keys[static_cast<std::size_t>(a)];
        const double kb = keys[static_cast<std::size_t>(b)];
        if (ka != kb) {
            return order == Qt::AscendingOrder ? ka < kb : ka > kb;
        }
        return a > b;
    });
    std::vector<int> rowOfRecord(rows.size());
    for (std::size_t row = 0; row < rows.size(); ++row) {
        rowOfRecord[static_cast<std::size_t>(rows[row])] = static_cast<int>(row);
    }
    QModelIndexList moved;
    for (qsizetype i = 0; i < persistent.size(); ++i) {
        moved << index(rowOfRecord[static_cast<std::size_t>(persistentRecords[i])],
                       persistent[i].column());
    }
    changePersistentIndexList(persistent, moved);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

const StatisticsRecord& ProgressTableModel::RecordAt(int row) const {
    return records[static_cast<std::size_t>(rows[static_cast<std::size_t>(row)])];
}

QString ProgressTableModel::TabSeparatedText() const {
    QStringList lines;
    QStringList cells;
    for (int column = 0; column < ColumnCount; ++column) {
        cells << QString::fromUtf16(kHeaders[column]);
    }
    lines << cells.join(u'\t');
    for (int row = 0; row < rowCount(); ++row) {
        cells.clear();
        for (int column = 0; column < ColumnCount; ++column) {
            cells << CellText(row, column);
        }
        lines << cells.join(u'\t');
    }
    return lines.join(u'\n') + u'\n';
}

}  // namespace quirtel
