#include "gui/results/CReviewDlg.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace quirtel {

namespace {

QTableWidgetItem* ReadOnlyItem(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

}  // namespace

CReviewDlg::CReviewDlg(const std::vector<Row>& rows, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      rows_(rows),
      table_(new QTableWidget(static_cast<int>(rows.size()), COLUMN_COUNT, this)),
      okButton_(new QPushButton(QStringLiteral("Aceptar"), this)),
      cancelButton_(new QPushButton(QStringLiteral("Cancelar"), this)) {
    setWindowTitle(QStringLiteral(u"Revisi\u00F3n de faltas"));
    setObjectName(QStringLiteral("reviewDialog"));

    auto* intro = new QLabel(
        QStringLiteral(u"&Palabras marcadas. Marque \u00ABNo es falta\u00BB (barra espaciadora) "
                       u"en las que est\u00E9n bien escritas: se a\u00F1adir\u00E1n a su lista "
                       u"personal de palabras y dejar\u00E1n de marcarse."),
        this);
    intro->setWordWrap(true);
    intro->setBuddy(table_);

    table_->setObjectName(QStringLiteral("faultTable"));
    table_->setAccessibleName(QStringLiteral("Palabras marcadas"));
    table_->setHorizontalHeaderLabels({QStringLiteral(u"L\u00EDnea"), QStringLiteral("Palabra"),
                                       QStringLiteral("Tipo"), QStringLiteral("Sugerencias"),
                                       QStringLiteral("No es falta")});
    table_->verticalHeader()->hide();
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Tab leaves the table for the buttons; the arrows move within it.
    table_->setTabKeyNavigation(false);
    table_->installEventFilter(this);
    for (int r = 0; r < table_->rowCount(); ++r) {
        const Row& row = rows_[static_cast<std::size_t>(r)];
        table_->setItem(r, LINE, ReadOnlyItem(QString::number(row.line)));
        table_->setItem(r, TOKEN, ReadOnlyItem(row.token));
        table_->setItem(r, KIND, ReadOnlyItem(row.kind));
        table_->setItem(
            r, SUGGESTIONS,
            ReadOnlyItem(row.suggestions.isEmpty() ? QStringLiteral("(ninguna)")
                                                   : row.suggestions.join(QStringLiteral(", "))));
        auto* tick = ReadOnlyItem(QString());
        if (row.tickable) {
            tick->setFlags(tick->flags() | Qt::ItemIsUserCheckable);
            tick->setCheckState(Qt::Unchecked);
            tick->setData(Qt::AccessibleTextRole, QStringLiteral("No es falta"));
        } else {
            tick->setData(Qt::AccessibleTextRole,
                          QStringLiteral("No se puede marcar: la forma es incorrecta"));
            tick->setToolTip(QStringLiteral(
                u"Los signos que rodean la palabra son una falta sea cual sea la palabra"));
        }
        table_->setItem(r, NOT_A_FAULT, tick);
    }
    table_->resizeColumnsToContents();
    table_->horizontalHeader()->setSectionResizeMode(SUGGESTIONS, QHeaderView::Stretch);
    if (table_->rowCount() > 0) {
        table_->setCurrentCell(0, NOT_A_FAULT);
    }
    // A tick by mouse or key ticks the other rows of the same word too.
    connect(table_, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (item->column() == NOT_A_FAULT && (item->flags() & Qt::ItemIsUserCheckable)) {
            SetTicked(item->row(), item->checkState() == Qt::Checked);
        }
    });

    okButton_->setObjectName(QStringLiteral("okButton"));
    okButton_->setDefault(true);
    cancelButton_->setObjectName(QStringLiteral("cancelButton"));
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(okButton_, QDialogButtonBox::AcceptRole);
    buttons->addButton(cancelButton_, QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addWidget(table_);
    layout->addWidget(buttons);
    setTabOrder(table_, okButton_);
    setTabOrder(okButton_, cancelButton_);
    table_->setFocus(Qt::OtherFocusReason);

    const int wanted = table_->horizontalHeader()->length() + 2 * table_->frameWidth() +
                       layout->contentsMargins().left() + layout->contentsMargins().right();
    resize(std::max(wanted, 560), 360);
}

QStringList CReviewDlg::TickedWords() const {
    QStringList words;
    for (int r = 0; r < table_->rowCount(); ++r) {
        const QString& word = rows_[static_cast<std::size_t>(r)].word;
        if (IsTicked(r) && !words.contains(word)) {
            words.append(word);
        }
    }
    return words;
}

bool CReviewDlg::IsTicked(int row) const {
    const QTableWidgetItem* tick = table_->item(row, NOT_A_FAULT);
    return tick != nullptr && (tick->flags() & Qt::ItemIsUserCheckable) &&
           tick->checkState() == Qt::Checked;
}

void CReviewDlg::SetTicked(int row, bool ticked) {
    if (row < 0 || row >= table_->rowCount() || !rows_[static_cast<std::size_t>(row)].tickable) {
        return;
    }
    const QString& word = rows_[static_cast<std::size_t>(row)].word;
    const QSignalBlocker blocker(table_);
    for (int r = 0; r < table_->rowCount(); ++r) {
        const Row& other = rows_[static_cast<std::size_t>(r)];
        if (other.tickable && other.word == word) {
            table_->item(r, NOT_A_FAULT)->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
        }
    }
}

bool CReviewDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == table_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Space && key->modifiers() == Qt::NoModifier) {
            const int row = table_->currentRow();
            SetTicked(row, !IsTicked(row));
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace quirtel
