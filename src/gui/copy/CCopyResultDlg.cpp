#include "gui/copy/CCopyResultDlg.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QVBoxLayout>
#include <cmath>

#include "core/results/FinalResult.h"
#include "gui/common/DialogUnits.h"
#include "gui/common/QtText.h"

namespace quirtel {
namespace {

const QString NONE = QStringLiteral("(ninguna)");

QTableWidgetItem* ReadOnlyItem(const QString& text, bool number = false) {
    auto* item = new QTableWidgetItem(text.isEmpty() ? NONE : text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    if (number) {
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    return item;
}

// Keys that type no visible character are named.
QString KeyName(const std::string& key) {
    if (key == " ") {
        return QStringLiteral("espacio");
    }
    if (key == "\n" || key == "\r" || key == "\r\n") {
        return QStringLiteral("Intro");
    }
    if (key == "\t") {
        return QStringLiteral("tabulador");
    }
    return FromCp1252(key);
}

QTableWidget* MakeTable(QWidget* parent, const char* objectName, const QString& accessibleName,
                        const QStringList& headers, int rows) {
    auto* table = new QTableWidget(rows, static_cast<int>(headers.size()), parent);
    table->setObjectName(QString::fromLatin1(objectName));
    table->setAccessibleName(accessibleName);
    table->setHorizontalHeaderLabels(headers);
    table->verticalHeader()->hide();
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Tab moves on to the next control; the arrows move within the table.
    table->setTabKeyNavigation(false);
    table->setWordWrap(false);
    return table;
}

void FinishTable(QTableWidget& table, int stretchColumn) {
    table.resizeColumnsToContents();
    table.horizontalHeader()->setSectionResizeMode(stretchColumn, QHeaderView::Stretch);
    if (table.rowCount() > 0) {
        table.setCurrentCell(0, 0);
    }
}

QLabel* TableCaption(QWidget* parent, const QString& text, QTableWidget& table) {
    auto* caption = new QLabel(text, parent);
    caption->setBuddy(&table);
    return caption;
}

}  // namespace

CCopyResultDlg::CCopyResultDlg(const CopyResultView& result, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint) {
    setWindowTitle(QStringLiteral("Resultado de la copia"));
    setObjectName(QStringLiteral("copyResultDialog"));
    setSizeGripEnabled(true);

    auto* figures = new QFormLayout();
    const auto addFigure = [this, figures](const char* objectName, const QString& caption,
                                           const QString& value) {
        auto* label = new QLabel(value, this);
        label->setObjectName(QString::fromLatin1(objectName));
        label->setTextFormat(Qt::PlainText);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        // A screen reader hears the figure with its caption.
        label->setAccessibleName(caption + QStringLiteral(" ") + value);
        figures->addRow(caption, label);
        return label;
    };
    addFigure("keystrokes", QStringLiteral("Pulsaciones:"), QString::number(result.keystrokes));
    addFigure("time", QStringLiteral("Tiempo:"), FromCp1252(FormatTimeText(result.elapsedSeconds)));
    addFigure("wordsReached", QStringLiteral("Palabras alcanzadas:"),
              QString::number(result.wordsReached));
    addFigure("errors", QStringLiteral("Errores:"), QString::number(result.errors));
    addFigure("accuracy", QStringLiteral(u"Precisi\u00F3n:"),
              QString::number(result.accuracyPercent, 'f', 2) + QStringLiteral(" %"));
    addFigure("grossSpeed", QStringLiteral("Velocidad bruta:"),
              FromCp1252(FormatSpeedText(result.grossSpeed)));
    addFigure("netSpeed", QStringLiteral("Velocidad neta:"),
              FromCp1252(FormatSpeedText(result.netSpeed)));
    verdict_ =
        addFigure("verdict", QStringLiteral(u"Calificaci\u00F3n:"),
                  result.pass.value_or(false) ? QStringLiteral("Apto") : QStringLiteral("No apto"));
    QFont bold = verdict_->font();
    bold.setBold(true);
    verdict_->setFont(bold);
    figures->setRowVisible(verdict_, result.pass.has_value());

    errorTable_ = MakeTable(this, "errorTable", QStringLiteral("Lista de errores"),
                            {QStringLiteral(u"L\u00EDnea"), QStringLiteral("Palabra del modelo"),
                             QStringLiteral("Palabra escrita"), QStringLiteral("Tipo")},
                            static_cast<int>(result.errorRows.size()));
    for (int r = 0; r < errorTable_->rowCount(); ++r) {
        const CopyErrorRow& row = result.errorRows[static_cast<std::size_t>(r)];
        errorTable_->setItem(r, LINE, ReadOnlyItem(QString::number(row.line), true));
        errorTable_->setItem(r, MODEL_WORD, ReadOnlyItem(FromCp1252(row.modelWord)));
        errorTable_->setItem(r, TYPED_WORD, ReadOnlyItem(FromCp1252(row.typedWord)));
        errorTable_->setItem(r, KIND, ReadOnlyItem(FromCp1252(row.kind)));
    }
    FinishTable(*errorTable_, TYPED_WORD);

    mistypedTable_ =
        MakeTable(this, "mistypedTable", QStringLiteral(u"Teclas m\u00E1s equivocadas"),
                  {QStringLiteral("Esperada"), QStringLiteral("Escrita"), QStringLiteral("Veces")},
                  static_cast<int>(result.mistyped.size()));
    for (int r = 0; r < mistypedTable_->rowCount(); ++r) {
        const CopyKeyCount& key = result.mistyped[static_cast<std::size_t>(r)];
        mistypedTable_->setItem(r, 0, ReadOnlyItem(KeyName(key.expected)));
        mistypedTable_->setItem(r, 1, ReadOnlyItem(KeyName(key.typed)));
        mistypedTable_->setItem(r, 2, ReadOnlyItem(QString::number(key.count), true));
    }
    FinishTable(*mistypedTable_, 1);

    slowTable_ = MakeTable(this, "slowTable", QStringLiteral(u"Teclas m\u00E1s lentas"),
                           {QStringLiteral("Tecla"), QStringLiteral("Media (ms)")},
                           static_cast<int>(result.slowest.size()));
    for (int r = 0; r < slowTable_->rowCount(); ++r) {
        const CopyKeySlowness& key = result.slowest[static_cast<std::size_t>(r)];
        slowTable_->setItem(r, 0, ReadOnlyItem(KeyName(key.key)));
        slowTable_->setItem(
            r, 1,
            ReadOnlyItem(QString::number(static_cast<qlonglong>(std::llround(key.meanMs))), true));
    }
    FinishTable(*slowTable_, 0);

    okButton_ = new QPushButton(QStringLiteral("Aceptar"), this);
    okButton_->setObjectName(QStringLiteral("ok"));
    okButton_->setDefault(true);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(okButton_, QDialogButtonBox::AcceptRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* keys = new QGridLayout();
    keys->addWidget(
        TableCaption(this, QStringLiteral(u"Teclas m\u00E1s e&quivocadas:"), *mistypedTable_), 0,
        0);
    keys->addWidget(TableCaption(this, QStringLiteral(u"Teclas m\u00E1s &lentas:"), *slowTable_), 0,
                    1);
    keys->addWidget(mistypedTable_, 1, 0);
    keys->addWidget(slowTable_, 1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(figures);
    layout->addWidget(TableCaption(this, QStringLiteral("Lista de &errores:"), *errorTable_));
    layout->addWidget(errorTable_, 3);
    layout->addLayout(keys, 2);
    layout->addWidget(buttons);

    setTabOrder(okButton_, errorTable_);
    setTabOrder(errorTable_, mistypedTable_);
    setTabOrder(mistypedTable_, slowTable_);
    okButton_->setFocus(Qt::OtherFocusReason);

    QSize size = DialogUnitsToPixels(font(), 320, 320);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        size = size.boundedTo(screen->availableSize());
    }
    resize(size);
}

}  // namespace quirtel
