#include "gui/results/CProgressDlg.h"

#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QClipboard>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

#include "core/results/ProgressSeries.h"
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

// The widest text a column shows, with room for the sort mark.
int ColumnWidth(const QFontMetrics& metrics, const QString& sample) {
    return metrics.horizontalAdvance(sample) + 4 * metrics.averageCharWidth();
}

}  // namespace

CProgressDlg::CProgressDlg(const std::string& logPath, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint),
      history_(ReadStatisticsLog(logPath)),
      figures_(SummarizeProgress(history_.records)) {
    setWindowTitle(QStringLiteral("Progreso"));
    setSizeGripEnabled(true);

    summary_ = MakeLabel(this, "summary", FromCp1252(FormatProgressSummary(figures_)).trimmed());
    summary_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QStringList notes;
    for (const std::string& note : {HistoryCutText(history_), HistoryUnreadableText(history_)}) {
        if (!note.empty()) {
            notes << FromCp1252(note);
        }
    }
    notes_ = MakeLabel(this, "notes", notes.join(u'\n'));
    notes_->setVisible(!notes.isEmpty());

    QWidget* chartArea = MakeChart(logPath);
    MakeTable();
    auto* splitter = new QSplitter(Qt::Vertical, this);
    splitter->setChildrenCollapsible(false);
    splitter->addWidget(chartArea);
    splitter->addWidget(table_);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);
    splitter->setSizes({3000, 2000});

    copy_ = new QPushButton(QStringLiteral("&Copiar"), this);
    copy_->setObjectName(QStringLiteral("copy"));
    copy_->setToolTip(
        QStringLiteral("Copia la tabla en el portapapeles, separada por tabuladores"));
    copy_->setEnabled(model_->rowCount() > 0);
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
    layout->addWidget(summary_);
    layout->addWidget(notes_);
    layout->addWidget(splitter, 1);
    layout->addLayout(buttons);

    // Large enough for chart and table, never larger than the screen.
    QSize size = DialogUnitsToPixels(font(), 460, 400);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        size = size.boundedTo(screen->availableSize());
    }
    resize(size);
    table_->setFocus();
}

CProgressDlg::~CProgressDlg() = default;

QWidget* CProgressDlg::MakeChart(const std::string& logPath) {
    const QString problem = FromCp1252(HistoryProblemText(history_, logPath));
    // A log that cannot be read says why; a missing or empty one has no tests yet.
    const bool unreadable =
        !problem.isEmpty() && history_.status != StatisticsHistory::Status::missing;
    noChart_ =
        MakeLabel(this, "noChart",
                  unreadable ? problem
                             : QStringLiteral(u"A\u00FAn no hay pruebas registradas. Cada prueba "
                                              u"terminada a\u00F1ade una l\u00EDnea a %1, y "
                                              u"aqu\u00ED se ver\u00E1 su progreso.")
                                   .arg(FromCp1252(logPath)));
    noChart_->setAlignment(Qt::AlignCenter);
    noChart_->setMinimumHeight(5 * fontMetrics().height());
    if (history_.records.empty()) {
        return noChart_;
    }
    noChart_->hide();
    // No more points than the screen is wide: more could not be told apart
    // and would only slow the drawing down.
    const QScreen* screen = QGuiApplication::primaryScreen();
    const int width = screen ? screen->availableSize().width() : 1920;
    const std::vector<ProgressPoint> points =
        BuildProgressSeries(history_.records, static_cast<std::size_t>(std::max(width, 100)));
    chart_ = new QChartView(BuildProgressChart(points).release(), this);
    chart_->setObjectName(QStringLiteral("chart"));
    chart_->setRenderHint(QPainter::Antialiasing, points.size() <= 300);
    chart_->setMinimumHeight(18 * fontMetrics().height());
    chart_->setAccessibleName(QStringLiteral(u"Gr\u00E1fico de progreso"));
    chart_->setAccessibleDescription(
        ProgressChartDescription(history_.records, figures_, points.size()));
    return chart_;
}

void CProgressDlg::MakeTable() {
    model_ = new ProgressTableModel(history_.records, this);
    table_ = new QTableView(this);
    table_->setObjectName(QStringLiteral("table"));
    table_->setAccessibleName(QStringLiteral("Pruebas"));
    table_->setModel(model_);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setAlternatingRowColors(true);
    table_->setWordWrap(false);
    table_->verticalHeader()->hide();
    // Fixed row heights and column widths from the font: measuring the
    // contents would visit every row of a large log.
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    QHeaderView* header = table_->horizontalHeader();
    header->setStretchLastSection(true);
    const QFontMetrics metrics = fontMetrics();
    const QString samples[] = {QStringLiteral("00/00/0000 00:00"), QStringLiteral(u"Duraci\u00F3n"),
                               QStringLiteral("0000.00"), QStringLiteral(u"sin ortograf\u00EDa")};
    for (int column = 0; column < 4; ++column) {
        header->resizeSection(column, ColumnWidth(metrics, samples[column]));
    }
    header->setSortIndicator(ProgressTableModel::Date, Qt::DescendingOrder);
    table_->setSortingEnabled(true);
    table_->setMinimumHeight(6 * fontMetrics().height());
}

void CProgressDlg::CopyTable() {
    QApplication::clipboard()->setText(model_->TabSeparatedText());
}

}  // namespace quirtel
