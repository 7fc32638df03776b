#include "gui/copy/CCopyTextDlg.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include "gui/common/DialogUnits.h"
#include "gui/common/Prompts.h"
#include "gui/common/QtText.h"

namespace quirtel {
namespace {

constexpr int MAX_PASS_MARK = 2000;

QTableWidgetItem* ReadOnlyItem(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

QSpinBox* MakeSpinBox(QWidget* parent, const char* objectName, int minimum, int maximum,
                      int value) {
    auto* box = new QSpinBox(parent);
    box->setObjectName(QString::fromLatin1(objectName));
    box->setRange(minimum, maximum);
    box->setValue(value);
    return box;
}

// A rule's label with its mnemonic; the spin box is read out by the same words.
void AddRule(QFormLayout& form, const QString& label, QSpinBox& box) {
    auto* caption = new QLabel(label);
    caption->setBuddy(&box);
    box.setAccessibleName(QString(label).remove(u'&').chopped(1));
    form.addRow(caption, &box);
}

}  // namespace

CCopyTextDlg::CCopyTextDlg(std::vector<CopyTextEntry> texts, const CopyRulesView& rules,
                           CopyFileLoader loader, Prompts& prompts, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      texts_(std::move(texts)),
      loader_(std::move(loader)),
      prompts_(prompts),
      table_(new QTableWidget(0, COLUMN_COUNT, this)),
      openButton_(new QPushButton(QStringLiteral("Abrir archivo..."), this)),
      preview_(new QPlainTextEdit(this)),
      minutes_(MakeSpinBox(this, "minutes", 1, 30, rules.minutes)),
      penalty_(MakeSpinBox(this, "penalty", 0, 100, rules.penalty)),
      passMark_(MakeSpinBox(this, "passMark", 0, MAX_PASS_MARK, rules.passMark)),
      maxErrors_(MakeSpinBox(this, "maxErrors", 0, 100, rules.maxErrorsPercent)),
      startButton_(new QPushButton(QStringLiteral("Empezar"), this)),
      cancelButton_(new QPushButton(QStringLiteral("Cancelar"), this)) {
    setWindowTitle(QStringLiteral("Texto para copiar"));
    setObjectName(QStringLiteral("copyTextDialog"));
    setSizeGripEnabled(true);

    auto* textsLabel = new QLabel(QStringLiteral("&Textos:"), this);
    textsLabel->setBuddy(table_);
    table_->setObjectName(QStringLiteral("texts"));
    table_->setAccessibleName(QStringLiteral("Textos"));
    table_->setHorizontalHeaderLabels(
        {QStringLiteral(u"T\u00EDtulo"), QStringLiteral("Tipo"), QStringLiteral("Caracteres")});
    table_->verticalHeader()->hide();
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setTabKeyNavigation(false);
    table_->setWordWrap(false);
    for (const CopyTextEntry& entry : texts_) {
        AddRow(entry);
    }
    table_->resizeColumnsToContents();
    table_->horizontalHeader()->setSectionResizeMode(TITLE, QHeaderView::Stretch);
    connect(table_, &QTableWidget::currentCellChanged, this, [this] { ShowChosen(); });

    openButton_->setObjectName(QStringLiteral("openFile"));
    connect(openButton_, &QPushButton::clicked, this, &CCopyTextDlg::OpenFile);

    auto* previewLabel = new QLabel(QStringLiteral("&Vista previa:"), this);
    previewLabel->setBuddy(preview_);
    preview_->setObjectName(QStringLiteral("preview"));
    preview_->setAccessibleName(QStringLiteral("Vista previa"));
    preview_->setReadOnly(true);
    preview_->setTabChangesFocus(true);

    auto* rulesBox = new QGroupBox(QStringLiteral("Reglas"), this);
    auto* form = new QFormLayout(rulesBox);
    form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    AddRule(*form, QStringLiteral("&Minutos:"), *minutes_);
    AddRule(*form, QStringLiteral("&Pulsaciones restadas por error:"), *penalty_);
    AddRule(*form, QStringLiteral("&Aprobado con (pulsaciones netas por minuto, 0 = sin nota):"),
            *passMark_);
    AddRule(*form, QStringLiteral(u"M\u00E1ximo de &errores (% de palabras, 0 = sin l\u00EDmite):"),
            *maxErrors_);

    for (QSpinBox* box : {minutes_, penalty_, maxErrors_}) {
        box->setMinimumWidth(passMark_->sizeHint().width());
    }

    startButton_->setObjectName(QStringLiteral("start"));
    startButton_->setDefault(true);
    cancelButton_->setObjectName(QStringLiteral("cancel"));
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(startButton_, QDialogButtonBox::AcceptRole);
    buttons->addButton(cancelButton_, QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* textsRow = new QHBoxLayout();
    textsRow->addWidget(textsLabel);
    textsRow->addStretch(1);
    textsRow->addWidget(openButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(textsRow);
    layout->addWidget(table_, 2);
    layout->addWidget(previewLabel);
    layout->addWidget(preview_, 3);
    layout->addWidget(rulesBox);
    layout->addWidget(buttons);

    setTabOrder(table_, openButton_);
    setTabOrder(openButton_, preview_);
    setTabOrder(preview_, minutes_);
    setTabOrder(minutes_, penalty_);
    setTabOrder(penalty_, passMark_);
    setTabOrder(passMark_, maxErrors_);
    setTabOrder(maxErrors_, startButton_);
    setTabOrder(startButton_, cancelButton_);

    if (table_->rowCount() > 0) {
        table_->setCurrentCell(0, TITLE);
    }
    ShowChosen();
    table_->setFocus(Qt::OtherFocusReason);

    QSize size = DialogUnitsToPixels(font(), 360, 330);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        size = size.boundedTo(screen->availableSize());
    }
    resize(size);
}

const CopyTextEntry& CCopyTextDlg::ChosenText() const {
    static const CopyTextEntry none;
    const int index = ChosenIndex();
    return index < 0 ? none : texts_[static_cast<std::size_t>(index)];
}

int CCopyTextDlg::ChosenIndex() const {
    const int row = table_->currentRow();
    return row >= 0 && row < static_cast<int>(texts_.size()) ? row : -1;
}

CopyRulesView CCopyTextDlg::Rules() const {
    return {minutes_->value(), penalty_->value(), passMark_->value(), maxErrors_->value()};
}

void CCopyTextDlg::OpenFile() {
    const QString path = prompts_.OpenFileName(this);
    if (path.isEmpty() || !loader_) {
        return;
    }
    CopyFileLoad load = loader_(QFile::encodeName(path).toStdString());
    if (load.refusal != CopyFileRefusal::None) {
        prompts_.ShowMessage(CopyFileRefusalText(load.refusal));
        return;
    }
    CopyTextEntry& entry = load.text;
    if (entry.title.empty()) {
        entry.title = ToCp1252(QFileInfo(path).completeBaseName());
    }
    if (entry.kind.empty()) {
        entry.kind = "archivo";
    }
    if (entry.length == 0) {
        entry.length = entry.cp1252Text.size();
    }
    texts_.push_back(std::move(entry));
    AddRow(texts_.back());
    table_->setCurrentCell(table_->rowCount() - 1, TITLE);
    table_->setFocus(Qt::OtherFocusReason);
}

void CCopyTextDlg::AddRow(const CopyTextEntry& entry) {
    const int row = table_->rowCount();
    table_->insertRow(row);
    table_->setItem(row, TITLE, ReadOnlyItem(FromCp1252(entry.title)));
    table_->setItem(row, KIND, ReadOnlyItem(FromCp1252(entry.kind)));
    auto* length = ReadOnlyItem(QString::number(static_cast<qulonglong>(entry.length)));
    length->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    table_->setItem(row, LENGTH, length);
}

void CCopyTextDlg::ShowChosen() {
    const int index = ChosenIndex();
    preview_->setPlainText(index < 0 ? QString() : FromCp1252(ChosenText().cp1252Text));
    startButton_->setEnabled(index >= 0);
}

}  // namespace quirtel
