#include "gui/results/CProgressDlg.h"

#include <QAbstractAxis>
#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QXYSeries>
#include <algorithm>

#include "gui/results/ProgressChart.h"
#include "gui/results/ProgressTableModel.h"

namespace quirtel {
namespace {

// Four records (one without spelling check, dates not in file order) and a
// damaged line, as CR LF lines after the log's leading empty line.
const char kLog[] =
    "\r\n06-Dec-2026 08:15 --- 212.40 caracteres/min --- 05:00 minutos --- Faltas: 11 --- "
    "Pulsaciones: 201.40 caracteres/min"
    "\r\n07-Dec-2026 09:00 --- 95.00 caracteres/min --- 10:00 minutos --- Faltas: <ortograf\xED"
    "a desactivada> --- Pulsaciones: 95.00 caracteres/min"
    "\r\n06-Dec-2026 23:59 --- 180.50 caracteres/min --- 01:05 minutos --- Faltas: 2 --- "
    "Pulsaciones: 178.50 caracteres/min"
    "\r\n05-ene-2026 10:00 --- 1000.00 caracteres/min --- 00:30 minutos --- Faltas: 0 --- "
    "Pulsaciones: 1000.00 caracteres/min"
    "\r\n06-Dec-2026 08:15 --- roto";

QStringList Column(const ProgressTableModel& model, int column) {
    QStringList cells;
    for (int row = 0; row < model.rowCount(); ++row) {
        cells << model.CellText(row, column);
    }
    return cells;
}

}  // namespace

class CProgressDlgTest : public QObject {
    Q_OBJECT

private slots:
    void smallLogInTableSummaryChartAndClipboard();
    void chartPointsColoursAndHiddenTests();
    void noChartWithoutRecords();
    void kindFilterOverMixedLog();

private:
    std::string HiddenPath() const {
        return dir.filePath(QStringLiteral("ocultas.txt")).toStdString();
    }
    QString WriteLog(const QByteArray& bytes) const {
        const QString path = dir.filePath(QStringLiteral("estadistica.txt"));
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
        return path;
    }

    QTemporaryDir dir;
};

void CProgressDlgTest::smallLogInTableSummaryChartAndClipboard() {
    const QString path = dir.filePath(QStringLiteral("estadistica.txt"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(kLog, sizeof kLog - 1);
    file.close();
    CProgressDlg dialog(path.toStdString(), nullptr, HiddenPath());
    dialog.show();

    QCOMPARE(dialog.windowTitle(), QStringLiteral("Progreso"));
    const ProgressTableModel& model = dialog.Model();
    QCOMPARE(dialog.Table().model(), &model);
    // Newest first; numbers and dates sort as such, not as text.
    QCOMPARE(Column(model, ProgressTableModel::Date),
             (QStringList{QStringLiteral("07/12/2026 09:00"), QStringLiteral("06/12/2026 23:59"),
                          QStringLiteral("06/12/2026 08:15"), QStringLiteral("05/01/2026 10:00")}));
    dialog.Table().sortByColumn(ProgressTableModel::Speed, Qt::AscendingOrder);
    QCOMPARE(Column(model, ProgressTableModel::Speed),
             (QStringList{QStringLiteral("95.00"), QStringLiteral("180.50"),
                          QStringLiteral("212.40"), QStringLiteral("1000.00")}));
    dialog.Table().sortByColumn(ProgressTableModel::Faults, Qt::DescendingOrder);
    QCOMPARE(Column(model, ProgressTableModel::Faults),
             (QStringList{QStringLiteral("11"), QStringLiteral("2"), QStringLiteral("0"),
                          QStringLiteral(u"sin ortograf\u00EDa")}));
    // By keyboard: the sort boxes; Tab leaves the table for the buttons.
    dialog.SortColumnBox().setCurrentIndex(ProgressTableModel::Duration);
    dialog.SortOrderBox().setCurrentIndex(1);
    QCOMPARE(dialog.SortOrderBox().accessibleName(), QStringLiteral("Orden"));
    QApplication::setActiveWindow(&dialog);
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    dialog.Table().setFocus();
    QTest::keyClick(&dialog.Table(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), &dialog.CopyButton());
    QTest::keyClick(&dialog.CopyButton(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), &dialog.CloseButton());
    QCOMPARE(Column(model, ProgressTableModel::Duration),
             (QStringList{QStringLiteral("00:30"), QStringLiteral("01:05"), QStringLiteral("05:00"),
                          QStringLiteral("10:00")}));

    QVERIFY(dialog.SummaryLabel().text().startsWith(
        QStringLiteral("Pruebas: 4\nTiempo total de escritura: 16 min 35 s\n"
                       "Mejor velocidad neta (pulsaciones finales): 1000.00 caracteres/min, el "
                       "05/01/2026 10:00\n")));
    QCOMPARE(dialog.NotesLabel().text(),
             QStringLiteral(u"L\u00EDneas ilegibles (se han saltado): 1"));
    QVERIFY(dialog.NotesLabel().isVisible());

    QChartView* chart = dialog.ChartView();
    QVERIFY(chart != nullptr);
    QVERIFY(!dialog.NoChartLabel().isVisible());
    QCOMPARE(chart->accessibleName(), QStringLiteral(u"Gr\u00E1fico de progreso"));
    QCOMPARE(chart->accessibleDescription(),
             QStringLiteral(u"4 pruebas. Velocidad neta de la primera: 201.40 "
                            u"caracteres/min; de la \u00FAltima: 1000.00 caracteres/min; la "
                            u"mejor: 1000.00 caracteres/min, el 05/01/2026 10:00."));

    // Numbers as a Spanish spreadsheet reads them.
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
    dialog.CopyButton().click();
    QLocale::setDefault(QLocale::c());
    // Without copy tests the clipboard keeps its five columns.
    QCOMPARE(QApplication::clipboard()->text(),
             QStringLiteral(u"Fecha\tDuraci\u00F3n\tVelocidad bruta\tFaltas\t"
                            u"Velocidad neta (pulsaciones finales)\n"
                            u"05/01/2026 10:00\t00:30\t1000,00\t0\t1000,00\n"
                            u"06/12/2026 23:59\t01:05\t180,50\t2\t178,50\n"
                            u"06/12/2026 08:15\t05:00\t212,40\t11\t201,40\n"
                            u"07/12/2026 09:00\t10:00\t95,00\tsin ortograf\u00EDa\t95,00\n"));
    // "Copias" over a log without any.
    dialog.KindBox().setCurrentIndex(2);
    QVERIFY(dialog.SummaryLabel().text().startsWith(
        QStringLiteral(u"A\u00FAn no hay pruebas de copia registradas")));
    QVERIFY(dialog.NoChartLabel().isVisible());
    QCOMPARE(model.rowCount(), 0);
    dialog.CloseButton().click();
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
}

void CProgressDlgTest::kindFilterOverMixedLog() {
    // Two free tests and two copies, the newest a copy.
    const auto free = [](const char* date, int net) {
        return QByteArray(date) + " --- 200.00 caracteres/min --- 05:00 minutos --- Faltas: 1 " +
               "--- Pulsaciones: " + QByteArray::number(net) + ".00 caracteres/min";
    };
    const QByteArray log =
        "\r\n" + free("01-Dec-2026 10:00", 190) + "\r\n" + free("02-Dec-2026 10:00", 195) +
        " --- Copia: Acta de la reuni\xF3n --- Precisi\xF3n: " + "98.40 %\r\n" +
        free("03-Dec-2026 10:00", 198) + "\r\n" + free("04-Dec-2026 10:00", 170) +
        " --- Copia: Cr\xF3nica --- Precisi\xF3n: 91.25 %\r\n";
    CProgressDlg dialog(WriteLog(log).toStdString(), nullptr, HiddenPath());
    dialog.show();
    ProgressTableModel& model = dialog.Model();

    QComboBox& kind = dialog.KindBox();
    QCOMPARE(kind.currentText(), QStringLiteral("Todas"));
    QCOMPARE(kind.accessibleName(), QStringLiteral("Tipo de prueba"));
    const auto labels = dialog.findChildren<QLabel*>();
    QVERIFY(std::any_of(labels.begin(), labels.end(), [&](QLabel* label) {
        return label->buddy() == &kind && label->text() == QStringLiteral("&Tipo de prueba:");
    }));

    // Per kind: rows, summary, chart points, and whether Precisión shows.
    const struct {
        int index;
        int tests;
        bool copyColumns;
    } cases[] = {{0, 4, true}, {1, 2, false}, {2, 2, true}};
    for (const auto& c : cases) {
        kind.setCurrentIndex(c.index);
        QCOMPARE(model.rowCount(), c.tests);
        QVERIFY(
            dialog.SummaryLabel().text().startsWith(QStringLiteral("Pruebas: %1\n").arg(c.tests)));
        const auto* net = static_cast<QXYSeries*>(dialog.ChartView()->chart()->series().at(1));
        QCOMPARE(net->points().size(), c.tests);
        QCOMPARE(model.columnCount(), c.copyColumns ? int{ProgressTableModel::ColumnCount} : 5);
        QCOMPARE(dialog.SortColumnBox().count(),
                 c.copyColumns ? int{ProgressTableModel::ColumnCount} : 5);
    }

    // Copias: the accuracy and the title, whole in the tooltip; copied with
    // the locale's numbers.
    QCOMPARE(Column(model, ProgressTableModel::Accuracy),
             (QStringList{QStringLiteral("91.25 %"), QStringLiteral("98.40 %")}));
    QCOMPARE(model.CellText(1, ProgressTableModel::Text),
             QStringLiteral(u"Acta de la reuni\u00F3n"));
    QCOMPARE(model.data(model.index(1, ProgressTableModel::Text), Qt::ToolTipRole).toString(),
             QStringLiteral(u"Acta de la reuni\u00F3n"));
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
    dialog.CopyTable();
    QLocale::setDefault(QLocale::c());
    QCOMPARE(QApplication::clipboard()->text().section(u'\n', 2, 2),
             QStringLiteral(u"02/12/2026 10:00\t05:00\t200,00\t1\t195,00\t98,40\t"
                            u"Acta de la reuni\u00F3n"));

    // Hiding a copy counts under every filter; a free test's accuracy is empty.
    dialog.Table().setCurrentIndex(model.index(0, 0));
    dialog.HideButton().click();
    QCOMPARE(model.rowCount(), 1);
    QVERIFY(dialog.SummaryLabel().text().startsWith(QStringLiteral("Pruebas: 1\n")));
    kind.setCurrentIndex(0);
    QCOMPARE(model.rowCount(), 3);
    QVERIFY(dialog.SummaryLabel().text().startsWith(QStringLiteral("Pruebas: 3\n")));
    dialog.Table().sortByColumn(ProgressTableModel::Accuracy, Qt::DescendingOrder);
    QCOMPARE(Column(model, ProgressTableModel::Accuracy),
             (QStringList{QStringLiteral("98.40 %"), QString(), QString()}));
    // Libres drops the sort by a column it hides.
    kind.setCurrentIndex(1);
    QCOMPARE(model.SortColumn(), int{ProgressTableModel::Date});
}

void CProgressDlgTest::chartPointsColoursAndHiddenTests() {
    // Eight tests of one session, a minute apart, then 61 tests.
    const auto log = [](int tests) {
        QByteArray bytes = "\r\n";
        for (int i = 0; i < tests; ++i) {
            bytes += QStringLiteral(
                         "07-Dec-2026 %1:%2 --- %3.00 caracteres/min --- 01:00 minutos "
                         "--- Faltas: 1 --- Pulsaciones: %4.00 caracteres/min\r\n")
                         .arg(10 + i / 60)
                         .arg(i % 60, 2, 10, QLatin1Char('0'))
                         .arg(200 + i)
                         .arg(199 + i)
                         .toLatin1();
        }
        return bytes;
    };
    const auto lineSeries = [](const CProgressDlg& dialog) {
        QList<QXYSeries*> lines;
        for (QAbstractSeries* series : dialog.ChartView()->chart()->series()) {
            lines << static_cast<QXYSeries*>(series);
        }
        return lines;
    };
    {
        CProgressDlg dialog(WriteLog(log(61)).toStdString(), nullptr, HiddenPath());
        QSet<QRgb> colours;
        for (QXYSeries* series : lineSeries(dialog)) {
            const QColor colour = series->type() == QAbstractSeries::SeriesTypeScatter
                                      ? series->color()
                                      : series->pen().color();
            QVERIFY2(colour != QColor(Qt::black), qPrintable(series->name()));
            colours << colour.rgb();
        }
        QCOMPARE(colours.size(), 4);
    }

    const QString path = WriteLog(log(8));
    CProgressDlg dialog(path.toStdString(), nullptr, HiddenPath());
    QCOMPARE(dialog.AxisBox().currentText(), QStringLiteral("Por prueba"));
    QXYSeries* net = lineSeries(dialog)[1];
    QCOMPARE(net->name(), QStringLiteral("Velocidad neta (pulsaciones finales)"));
    QCOMPARE(net->points().size(), 8);
    QCOMPARE(net->points().front(), QPointF(1, 199));
    QCOMPARE(net->points().back(), QPointF(8, 206));
    QCOMPARE(ProgressPointTip(BuildProgressSeries(dialog.History().records, 8)[7]),
             QStringLiteral("Prueba 8, 07/12/2026 10:07\nVelocidad bruta: 207.00 caracteres/min\n"
                            "Velocidad neta (pulsaciones finales): 206.00 caracteres/min\n"
                            "Faltas: 1"));

    // Hiding the newest test: out of the summary, the chart and the table,
    // its line copied to the hidden list; shown greyed on demand, and back.
    dialog.Table().setCurrentIndex(dialog.Model().index(0, 0));
    dialog.HideButton().click();
    QCOMPARE(dialog.Model().rowCount(), 7);
    QCOMPARE(lineSeries(dialog)[1]->points().size(), 7);
    QVERIFY(dialog.SummaryLabel().text().startsWith(QStringLiteral("Pruebas: 7\n")));
    QFile hidden(dir.filePath(QStringLiteral("ocultas.txt")));
    QVERIFY(hidden.open(QIODevice::ReadOnly));
    QCOMPARE(hidden.readAll(), log(8).mid(2 + 7 * log(1).mid(2).size()));
    hidden.close();
    dialog.ShowHiddenBox().setChecked(true);
    QCOMPARE(dialog.Model().rowCount(), 8);
    QVERIFY(dialog.Model().IsHidden(0));
    QVERIFY(dialog.Model().data(dialog.Model().index(0, 0), Qt::ForegroundRole).isValid());
    dialog.Table().setCurrentIndex(dialog.Model().index(0, 0));
    QVERIFY(dialog.HideButton().isChecked());
    dialog.HideButton().click();
    QVERIFY(!dialog.Model().IsHidden(0));
    QVERIFY(dialog.SummaryLabel().text().startsWith(QStringLiteral("Pruebas: 8\n")));
    QVERIFY(hidden.open(QIODevice::ReadOnly));
    QCOMPARE(hidden.readAll(), QByteArray());

    dialog.AxisBox().setCurrentIndex(1);
    QCOMPARE(dialog.ChartView()->chart()->axes(Qt::Horizontal).front()->type(),
             QAbstractAxis::AxisTypeDateTime);
}

void CProgressDlgTest::noChartWithoutRecords() {
    const struct {
        QString path;
        QString text;
    } cases[] = {
        {dir.filePath(QStringLiteral("no-existe.txt")),
         QStringLiteral(u"A\u00FAn no hay pruebas registradas.")},
        {dir.path(), QStringLiteral("no es un archivo")},
    };
    for (const auto& c : cases) {
        CProgressDlg dialog(c.path.toStdString(), nullptr, HiddenPath());
        dialog.show();
        QCOMPARE(dialog.ChartView(), nullptr);
        QVERIFY(dialog.NoChartLabel().isVisible());
        QVERIFY2(dialog.NoChartLabel().text().contains(c.text),
                 qPrintable(dialog.NoChartLabel().text()));
        QCOMPARE(dialog.Model().rowCount(), 0);
        QVERIFY(!dialog.CopyButton().isEnabled());
        QVERIFY(!dialog.NotesLabel().isVisible());
    }
}

}  // namespace quirtel

QTEST_MAIN(quirtel::CProgressDlgTest)
#include "CProgressDlgTest.moc"
