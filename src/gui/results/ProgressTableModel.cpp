#include "gui/results/ProgressTableModel.h"

#include <QCollator>
#include <QGuiApplication>
#include <QLocale>
#include <QPalette>
#include <algorithm>
#include <map>

#include "core/results/FinalResult.h"
#include "gui/common/QtText.h"

namespace quirtel {
namespace {

const char16_t* const kHeaders[] = {u"Fecha",
                                    u"Duraci\u00F3n",
                                    u"Velocidad bruta",
                                    u"Faltas",
                                    u"Velocidad neta (pulsaciones finales)",
                                    u"Precisi\u00F3n",
                                    u"Texto"};

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
        case ProgressTableModel::Accuracy:
            return record.accuracy ? *record.accuracy : -1.0;
        default:
            return record.netSpeed;
    }
}

}  // namespace

ProgressTableModel::ProgressTableModel(std::vector<StatisticsRecord> records,
                                       std::vector<bool> hidden, QObject* parent)
    : QAbstractTableModel(parent), records(std::move(records)), hidden(std::move(hidden)) {
    this->hidden.resize(this->records.size(), false);
    hasCopies = std::any_of(this->records.begin(), this->records.end(),
                            [](const StatisticsRecord& r) { return r.kind == TestKind::copy; });
    Rebuild();
}

void ProgressTableModel::Rebuild() {
    beginResetModel();
    rows.clear();
    for (std::size_t i = 0; i < records.size(); ++i) {
        if ((showHidden || !hidden[i]) && (!kindFilter || records[i].kind == *kindFilter)) {
            rows.push_back(static_cast<int>(i));
        }
    }
    endResetModel();
    sort(sortColumn, sortOrder);
}

void ProgressTableModel::SetShowHidden(bool show) {
    if (show != showHidden) {
        showHidden = show;
        Rebuild();
    }
}

void ProgressTableModel::SetKind(std::optional<TestKind> kind) {
    if (kind != kindFilter) {
        kindFilter = kind;
        Rebuild();
    }
}

bool ProgressTableModel::ShowsCopyColumns() const {
    return hasCopies && kindFilter != TestKind::free;
}

void ProgressTableModel::SetHidden(std::size_t record, bool isHidden) {
    if (record >= records.size() || hidden[record] == isHidden) {
        return;
    }
    hidden[record] = isHidden;
    const int row = RowOf(record);
    if (kindFilter && records[record].kind != *kindFilter) {
        return;
    }
    if (showHidden && row >= 0) {
        emit dataChanged(index(row, 0), index(row, columnCount() - 1));
        return;
    }
    // The record leaves or joins the rows shown.
    const auto at = std::find(rows.begin(), rows.end(), static_cast<int>(record));
    if (!isHidden) {
        Rebuild();
    } else if (at != rows.end()) {
        const auto gone = static_cast<int>(at - rows.begin());
        beginRemoveRows({}, gone, gone);
        rows.erase(at);
        endRemoveRows();
    }
}

int ProgressTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows.size());
}

int ProgressTableModel::columnCount(const QModelIndex& parent) const {
    // Without copy tests to show, the table has the free test's five columns
    // only, for screen readers as much as for the eye.
    if (parent.isValid()) {
        return 0;
    }
    return ShowsCopyColumns() ? int{ColumnCount} : int{Accuracy};
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
        case Accuracy:
            return record.accuracy
                       ? QString::number(*record.accuracy, 'f', 2) + QStringLiteral(" %")
                       : QString();
        case Text:
            return FromCp1252(record.text);
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
        return index.column() == Date || index.column() == Text
                   ? QVariant(Qt::AlignLeft | Qt::AlignVCenter)
                   : QVariant(Qt::AlignRight | Qt::AlignVCenter);
    }
    const bool isHidden = IsHidden(index.row());
    if (role == Qt::ForegroundRole && isHidden) {
        return QGuiApplication::palette().brush(QPalette::Disabled, QPalette::Text);
    }
    if (role == Qt::ToolTipRole) {
        // A long title is cut by the column; the tip shows it whole.
        QStringList tip;
        if (index.column() == Text && !RecordAt(index.row()).text.empty()) {
            tip << CellText(index.row(), Text);
        }
        if (isHidden) {
            tip << QStringLiteral(u"Prueba oculta: no cuenta en el resumen ni en el gr\u00E1fico");
        }
        return tip.isEmpty() ? QVariant() : QVariant(tip.join(u'\n'));
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
            case Accuracy:
                return QStringLiteral(
                    u"Pruebas de copia: palabras del modelo bien escritas, en tanto por ciento");
            case Text:
                return QStringLiteral("Pruebas de copia: el texto copiado");
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
    sortColumn = column;
    sortOrder = order;
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
    if (column == Text) {
        // Titles in the order of the user's language (accented capitals among
        // their letters); a free test's empty title comes first.
        std::map<std::string, double> rank;
        for (const StatisticsRecord& record : records) {
            rank.emplace(record.text, 0.0);
        }
        std::vector<std::pair<QString, double*>> titles;
        for (auto& [title, value] : rank) {
            titles.emplace_back(FromCp1252(title), &value);
        }
        QCollator collator;
        std::stable_sort(titles.begin(), titles.end(), [&](const auto& a, const auto& b) {
            return collator.compare(a.first, b.first) < 0;
        });
        for (std::size_t i = 0; i < titles.size(); ++i) {
            *titles[i].second = static_cast<double>(i);
        }
        for (std::size_t i = 0; i < records.size(); ++i) {
            keys[i] = rank[records[i].text];
        }
    } else {
        for (std::size_t i = 0; i < records.size(); ++i) {
            keys[i] = SortKey(records[i], column);
        }
    }
    std::sort(rows.begin(), rows.end(), [&](int a, int b) {
        const double ka = keys[static_cast<std::size_t>(a)];
        const double kb = keys[static_cast<std::size_t>(b)];
        if (ka != kb) {
            return order == Qt::AscendingOrder ? ka < kb : ka > kb;
        }
        return a > b;
    });
    std::vector<int> rowOfRecord(records.size(), 0);
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
    return records[RecordIndex(row)];
}

std::size_t ProgressTableModel::RecordIndex(int row) const {
    return static_cast<std::size_t>(rows[static_cast<std::size_t>(row)]);
}

bool ProgressTableModel::IsHidden(int row) const {
    return hidden[RecordIndex(row)];
}

int ProgressTableModel::RowOf(std::size_t record) const {
    const auto at = std::find(rows.begin(), rows.end(), static_cast<int>(record));
    return at == rows.end() ? -1 : static_cast<int>(at - rows.begin());
}

QString ProgressTableModel::TabSeparatedText() const {
    // A spreadsheet in the user's language reads its own decimal separator.
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    QStringList lines;
    QStringList cells;
    const int columns = ShowsCopyColumns() ? int{ColumnCount} : int{Accuracy};
    for (int column = 0; column < columns; ++column) {
        cells << QString::fromUtf16(kHeaders[column]);
    }
    lines << cells.join(u'\t');
    for (int row = 0; row < rowCount(); ++row) {
        const StatisticsRecord& record = RecordAt(row);
        cells.clear();
        cells << CellText(row, Date) << CellText(row, Duration)
              << locale.toString(record.speed, 'f', 2)
              << (record.faults ? locale.toString(*record.faults) : CellText(row, Faults))
              << locale.toString(record.netSpeed, 'f', 2);
        if (columns > Accuracy) {
            cells << (record.accuracy ? locale.toString(*record.accuracy, 'f', 2) : QString())
                  << CellText(row, Text).replace(u'\t', u' ');
        }
        lines << cells.join(u'\t');
    }
    return lines.join(u'\n') + u'\n';
}

}  // namespace quirtel
