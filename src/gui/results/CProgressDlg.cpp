#include "gui/results/CProgressDlg.h"

#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <optional>

#include "gui/common/DialogUnits.h"
#include "gui/common/QtText.h"
#include "gui/results/ProgressChart.h"
#include "gui/results/ProgressTableModel.h"

namespace quirtel {
namespace {

QLabel* MakeLabel(QWidget* parent, const char* objectName, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(objectName));
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    return label;
}

// The kind the "Tipo de prueba" box chooses: none for "Todas".
std::optional<TestKind> ChosenKind(const QComboBox& box) {
    switch (box.currentIndex()) {
        case 1:
            return TestKind::free;
        case 2:
            return TestKind::copy;
        default:
            return std::nullopt;
    }
}

QComboBox* MakeBox(QWidget* parent, const char* objectName, const QString& accessibleName,
                   const QStringList& items) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(objectName));
    box->setAccessibleName(accessibleName);
    box->addItems(items);
    return box;
}

// The widest text a column shows, with room for the sort mark.
int ColumnWidth(const QFontMetrics& metrics, const QString& sample) {
    return metrics.horizontalAdvance(sample) + 4 * metrics.averageCharWidth();
}

}  // namespace

CProgressDlg::CProgressDlg(const std::string& logPath, QWidget* parent,
                           const std::string& hiddenPath)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint),
      logPath_(logPath),
      hidden_(hiddenPath),
      history_(ReadStatisticsLog(logPath, MAX_HISTORY_BYTES, &hidden_)) {
    setWindowTitle(QStringLiteral("Progreso"));
    setSizeGripEnabled(true);

    kind_ = MakeBox(this, "kind", QStringLiteral("Tipo de prueba"),
                    {QStringLiteral("Todas"), QStringLiteral("Libres"), QStringLiteral("Copias")});
    kind_->setToolTip(
        QStringLiteral(u"Las pruebas que cuentan en el resumen, el gr\u00E1fico y la tabla: todas, "
                       u"solo las de escritura libre o solo las de copia de un texto"));
    auto* kindLabel = new QLabel(QStringLiteral("&Tipo de prueba:"), this);
    kindLabel->setBuddy(kind_);
    auto* kindRow = new QHBoxLayout();
    kindRow->addWidget(kindLabel);
    kindRow->addWidget(kind_);
    kindRow->addStretch(1);
    kindLabel->setVisible(!history_.records.empty());
    kind_->setVisible(!history_.records.empty());

    summary_ = MakeLabel(this, "summary", QString());
    summary_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    notes_ = MakeLabel(this, "notes", QString());

    QWidget* chartArea = MakeChartArea();
    QWidget* tableArea = MakeTableArea();
    auto* splitter = new QSplitter(Qt::Vertical, this);
    splitter->setChildrenCollapsible(false);
    splitter->addWidget(chartArea);
    splitter->addWidget(tableArea);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);
    splitter->setSizes({3000, 2000});

    copy_ = new QPushButton(QStringLiteral("&Copiar"), this);
    copy_->setObjectName(QStringLiteral("copy"));
    copy_->setToolTip(
        QStringLiteral("Copia la tabla en el portapapeles, separada por tabuladores"));
    copy_->setEnabled(!history_.records.empty());
    connect(copy_, &QPushButton::clicked, this, &CProgressDlg::CopyTable);
    close_ = new QPushButton(QStringLiteral("Cerrar"), this);
    close_->setObjectName(QStringLiteral("close"));
    close_->setDefault(true);
    connect(close_, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout();
    buttons->addWidget(copy_);
    buttons->addStretch(1);
    buttons->addWidget(close_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(kindRow);
    layout->addWidget(summary_);
    layout->addWidget(notes_);
    layout->addWidget(splitter, 1);
    layout->addLayout(buttons);

    QWidget* order[] = {kind_,       axis_, chart_, sortColumn_, sortOrder_,
                        showHidden_, hide_, table_, copy_,       close_};
    QWidget* previous = nullptr;
    for (QWidget* widget : order) {
        if (widget != nullptr) {
            if (previous != nullptr) {
                setTabOrder(previous, widget);
            }
            previous = widget;
        }
    }

    connect(kind_, &QComboBox::currentIndexChanged, this, &CProgressDlg::ShowKind);
    ShowKind();
    // Large enough for chart and table, never larger than the screen.
    QSize size = DialogUnitsToPixels(font(), 460, 400);
    if (model_->ShowsCopyColumns()) {
        // Wide enough for every column and some 30 characters of a title.
        int width = 30 * fontMetrics().averageCharWidth() + 4 * fontMetrics().height();
        for (int column = 0; column < ProgressTableModel::Text; ++column) {
            width += table_->horizontalHeader()->sectionSize(column);
        }
        size.setWidth(std::max(size.width(), width));
    }
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        size = size.boundedTo(screen->availableSize());
    }
    resize(size);
    table_->setFocus();
}

CProgressDlg::~CProgressDlg() = default;

QWidget* CProgressDlg::MakeChartArea() {
    auto* area = new QWidget(this);
    auto* layout = new QVBoxLayout(area);
    layout->setContentsMargins(0, 0, 0, 0);
    axis_ = MakeBox(area, "axis", QStringLiteral("Eje horizontal"),
                    {QStringLiteral("Por prueba"), QStringLiteral("Por fecha")});
    axis_->setToolTip(
        QStringLiteral(u"Un punto tras otro por cada prueba, o las pruebas en el calendario"));
    auto* axisLabel = new QLabel(QStringLiteral("&Eje horizontal:"), area);
    axisLabel->setBuddy(axis_);
    auto* row = new QHBoxLayout();
    row->addWidget(axisLabel);
    row->addWidget(axis_);
    row->addStretch(1);
    layout->addLayout(row);

    const QString problem = FromCp1252(HistoryProblemText(history_, logPath_));
    // A log that cannot be read says why; a missing or empty one has no tests yet.
    const bool unreadable =
        !problem.isEmpty() && history_.status != StatisticsHistory::Status::missing;
    noChart_ =
        MakeLabel(area, "noChart",
                  unreadable ? problem
                             : QStringLiteral(u"A\u00FAn no hay pruebas registradas. Cada prueba "
                                              u"terminada a\u00F1ade una l\u00EDnea a %1, y "
                                              u"aqu\u00ED se ver\u00E1 su progreso.")
                                   .arg(FromCp1252(logPath_)));
    noChart_->setAlignment(Qt::AlignCenter);
    noChart_->setMinimumHeight(5 * fontMetrics().height());
    layout->addWidget(noChart_, 1);
    if (history_.records.empty()) {
        axisLabel->hide();
        axis_->hide();
        return area;
    }
    chart_ = new QChartView(area);
    chart_->setObjectName(QStringLiteral("chart"));
    chart_->setMinimumHeight(18 * fontMetrics().height());
    chart_->setAccessibleName(QStringLiteral(u"Gr\u00E1fico de progreso"));
    layout->addWidget(chart_, 1);
    connect(axis_, &QComboBox::currentIndexChanged, this, &CProgressDlg::ShowFigures);
    return area;
}

QWidget* CProgressDlg::MakeTableArea() {
    auto* area = new QWidget(this);
    auto* layout = new QVBoxLayout(area);
    layout->setContentsMargins(0, 0, 0, 0);
    model_ = new ProgressTableModel(history_.records, history_.hidden, this);
    table_ = new QTableView(area);
    table_->setObjectName(QStringLiteral("table"));
    table_->setAccessibleName(QStringLiteral("Pruebas"));
    table_->setModel(model_);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setAlternatingRowColors(true);
    table_->setWordWrap(false);
    // Tab leaves the table for the buttons; the arrows walk the cells.
    table_->setTabKeyNavigation(false);
    table_->verticalHeader()->hide();
    // Fixed row heights and column widths from the font: measuring the
    // contents would visit every row of a large log.
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    QHeaderView* header = table_->horizontalHeader();
    header->setStretchLastSection(true);
    const QFontMetrics metrics = fontMetrics();
    const QString samples[] = {QStringLiteral("00/00/0000 00:00"),
                               QStringLiteral(u"Duraci\u00F3n"),
                               QStringLiteral("Velocidad bruta"),
                               QStringLiteral(u"sin ortograf\u00EDa"),
                               QStringLiteral("Velocidad neta (pulsaciones finales)"),
                               QStringLiteral(u"Precisi\u00F3n")};
    for (int column = 0; column < ProgressTableModel::Text; ++column) {
        header->resizeSection(column, ColumnWidth(metrics, samples[column]));
    }
    header->setSortIndicator(ProgressTableModel::Date, Qt::DescendingOrder);
    table_->setSortingEnabled(true);
    table_->setMinimumHeight(6 * fontMetrics().height());

    // Sorting by keyboard: the header cannot be reached with Tab.
    QStringList columns;
    for (int column = 0; column < ProgressTableModel::ColumnCount; ++column) {
        columns << model_->headerData(column, Qt::Horizontal).toString();
    }
    sortColumn_ = MakeBox(area, "sortColumn", QStringLiteral("Ordenar por"), columns);
    sortOrder_ = MakeBox(area, "sortOrder", QStringLiteral("Orden"),
                         {QStringLiteral("descendente"), QStringLiteral("ascendente")});
    const auto sortFromBoxes = [this] {
        table_->sortByColumn(sortColumn_->currentIndex(), sortOrder_->currentIndex() == 0
                                                              ? Qt::DescendingOrder
                                                              : Qt::AscendingOrder);
    };
    connect(sortColumn_, &QComboBox::currentIndexChanged, this, sortFromBoxes);
    connect(sortOrder_, &QComboBox::currentIndexChanged, this, sortFromBoxes);
    connect(header, &QHeaderView::sortIndicatorChanged, this,
            [this](int column, Qt::SortOrder order) {
                const QSignalBlocker columnBlocker(sortColumn_);
                const QSignalBlocker orderBlocker(sortOrder_);
                sortColumn_->setCurrentIndex(column);
                sortOrder_->setCurrentIndex(order == Qt::DescendingOrder ? 0 : 1);
            });
    auto* sortLabel = new QLabel(QStringLiteral("Ordenar &por:"), area);
    sortLabel->setBuddy(sortColumn_);

    showHidden_ = new QCheckBox(QStringLiteral("&Mostrar pruebas ocultas"), area);
    showHidden_->setObjectName(QStringLiteral("showHidden"));
    showHidden_->setToolTip(QStringLiteral("Muestra en la tabla, en gris, las pruebas ocultas"));
    connect(showHidden_, &QCheckBox::toggled, this, [this](bool show) {
        model_->SetShowHidden(show);
        UpdateHideButton();
    });
    hide_ = new QPushButton(QStringLiteral("&Ocultar prueba"), area);
    hide_->setObjectName(QStringLiteral("hide"));
    hide_->setCheckable(true);
    hide_->setToolTip(QStringLiteral(
        u"Quita la prueba elegida del resumen y del gr\u00E1fico (el registro no cambia); "
        u"pulsado otra vez, la prueba vuelve a contar"));
    connect(hide_, &QPushButton::clicked, this, &CProgressDlg::HideCurrent);
    connect(table_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &CProgressDlg::UpdateHideButton);
    connect(model_, &QAbstractItemModel::modelReset, this, &CProgressDlg::UpdateHideButton);
    connect(model_, &QAbstractItemModel::rowsRemoved, this, &CProgressDlg::UpdateHideButton);

    auto* row = new QHBoxLayout();
    row->addWidget(sortLabel);
    row->addWidget(sortColumn_);
    row->addWidget(sortOrder_);
    row->addStretch(1);
    row->addWidget(showHidden_);
    row->addWidget(hide_);
    layout->addLayout(row);
    layout->addWidget(table_, 1);
    return area;
}

void CProgressDlg::ShowKind() {
    const std::optional<TestKind> kind = ChosenKind(*kind_);
    model_->SetKind(kind);
    // Precisión and Texto only where they can say something; sorting by a
    // column that leaves goes back to newest first.
    const bool copyColumns = model_->ShowsCopyColumns();
    if (!copyColumns && model_->SortColumn() >= ProgressTableModel::Accuracy) {
        table_->sortByColumn(ProgressTableModel::Date, Qt::DescendingOrder);
    }
    for (const int column : {ProgressTableModel::Accuracy, ProgressTableModel::Text}) {
        table_->setColumnHidden(column, !copyColumns);
    }
    {
        const QSignalBlocker blocker(sortColumn_);
        const int columns =
            copyColumns ? int{ProgressTableModel::ColumnCount} : int{ProgressTableModel::Accuracy};
        while (sortColumn_->count() > columns) {
            sortColumn_->removeItem(sortColumn_->count() - 1);
        }
        for (int column = sortColumn_->count(); column < columns; ++column) {
            sortColumn_->addItem(model_->headerData(column, Qt::Horizontal).toString());
        }
        sortColumn_->setCurrentIndex(model_->SortColumn());
    }
    ShowFigures();
    UpdateHideButton();
}

void CProgressDlg::ShowFigures() {
    const std::optional<TestKind> kind = ChosenKind(*kind_);
    std::vector<StatisticsRecord> shown;
    bool anyOfKind = false;
    for (std::size_t i = 0; i < history_.records.size(); ++i) {
        if (kind && history_.records[i].kind != *kind) {
            continue;
        }
        anyOfKind = true;
        if (!history_.hidden[i]) {
            shown.push_back(history_.records[i]);
        }
    }
    figures_ = SummarizeProgress(shown);
    // A log with tests, none of them of the kind chosen.
    const QString noneOfKind =
        anyOfKind || history_.records.empty() ? QString()
        : kind == TestKind::copy
            ? QStringLiteral(
                  u"A\u00FAn no hay pruebas de copia registradas: "
                  u"\u00ABCopiar un texto...\u00BB, en el men\u00FA, empieza una.")
            : QStringLiteral(u"A\u00FAn no hay pruebas libres registradas.");
    summary_->setText(noneOfKind.isEmpty() ? FromCp1252(FormatProgressSummary(figures_)).trimmed()
                                           : noneOfKind);

    QStringList notes;
    for (const std::string& note : {HistoryCutText(history_), HistoryUnreadableText(history_)}) {
        if (!note.empty()) {
            notes << FromCp1252(note);
        }
    }
    if (history_.hiddenCount > 0) {
        notes << QStringLiteral(
                     u"Pruebas ocultas (no cuentan en el resumen ni en el gr\u00E1fico): %1")
                     .arg(history_.hiddenCount);
    }
    if (!hidden_.Readable()) {
        notes << QStringLiteral(
                     u"No se puede leer la lista de pruebas ocultas (%1): no se "
                     u"oculta ninguna.")
                     .arg(QString::fromStdString(hidden_.Path()));
    }
    if (!saveFailure_.isEmpty()) {
        notes << saveFailure_;
    }
    notes_->setText(notes.join(u'\n'));
    notes_->setVisible(!notes.isEmpty());

    if (chart_ == nullptr) {
        return;
    }
    if (!noneOfKind.isEmpty()) {
        noChart_->setText(noneOfKind);
    } else if (shown.empty()) {
        noChart_->setText(QStringLiteral(
            u"Todas las pruebas est\u00E1n ocultas: \u00ABMostrar pruebas ocultas\u00BB las "
            u"muestra en la tabla, y \u00ABOcultar prueba\u00BB las vuelve a contar."));
    }
    noChart_->setVisible(shown.empty());
    chart_->setVisible(!shown.empty());
    // No more points than the screen is wide: more could not be told apart
    // and would only slow the drawing down.
    const QScreen* screen = QGuiApplication::primaryScreen();
    const int width = screen ? screen->availableSize().width() : 1920;
    const ProgressAxis axis =
        axis_->currentIndex() == 0 ? ProgressAxis::byTest : ProgressAxis::byDate;
    const std::vector<ProgressPoint> points =
        BuildProgressSeries(shown, static_cast<std::size_t>(std::max(width, 100)), axis);
    // The view hands the old chart back to be deleted.
    const std::unique_ptr<QChart> old(chart_->chart());
    chart_->setChart(BuildProgressChart(points, axis).release());
    chart_->setRenderHint(QPainter::Antialiasing, points.size() <= 300);
    chart_->setAccessibleDescription(ProgressChartDescription(shown, figures_, points, axis));
}

void CProgressDlg::UpdateHideButton() {
    const QModelIndex current = table_->currentIndex();
    const bool usable = current.isValid() && !hidden_.Path().empty() && hidden_.Readable();
    hide_->setEnabled(usable);
    hide_->setChecked(current.isValid() && model_->IsHidden(current.row()));
}

void CProgressDlg::HideCurrent(bool hide) {
    const QModelIndex current = table_->currentIndex();
    if (!current.isValid()) {
        UpdateHideButton();
        return;
    }
    const std::size_t record = model_->RecordIndex(current.row());
    // The record's line as the log holds it, checked against what was read.
    const std::optional<std::string> line = ReadLogLine(logPath_, history_.lineOffsets[record]);
    const bool same = line && ParseStatisticsRecord(*line) == history_.records[record];
    if (!same || !(hide ? hidden_.Hide(*line) : hidden_.Show(*line))) {
        saveFailure_ = same ? QStringLiteral(
                                  u"No se pudo guardar la lista de pruebas ocultas (%1): sigue "
                                  u"como estaba.")
                                  .arg(QString::fromStdString(hidden_.Path()))
                            : QStringLiteral(
                                  u"El registro ha cambiado desde que se ley\u00F3: cierre y "
                                  u"vuelva a abrir Progreso.");
        ShowFigures();
        UpdateHideButton();
        return;
    }
    saveFailure_.clear();
    history_.hidden[record] = hide;
    history_.hiddenCount += hide ? 1 : -1;
    model_->SetHidden(record, hide);
    ShowFigures();
    // The next row takes the place of one that left the table.
    if (!table_->currentIndex().isValid() && model_->rowCount() > 0) {
        table_->setCurrentIndex(model_->index(std::min(current.row(), model_->rowCount() - 1), 0));
    }
    UpdateHideButton();
}

void CProgressDlg::CopyTable() {
    QApplication::clipboard()->setText(model_->TabSeparatedText());
}

}  // namespace quirtel
