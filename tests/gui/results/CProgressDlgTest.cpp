#include "gui/results/CProgressDlg.h"

#include <QApplication>
#include <QChartView>
#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

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
    void noChartWithoutRecords();

private:
    QTemporaryDir dir;
};

void CProgressDlgTest::smallLogInTableSummaryChartAndClipboard() {
    const QString path = dir.filePath(QStringLiteral("estadistica.txt"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(kLog, sizeof kLog - 1);
    file.close();
    CProgressDlg dialog(path.toStdString());
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
    dialog.Table().sortByColumn(ProgressTableModel::Duration, Qt::AscendingOrder);
    QCOMPARE(Column(model, ProgressTableModel::Duration),
             (QStringList{QStringLiteral("00:30"), QStringLiteral("01:05"), QStringLiteral("05:00"),
                          QStringLiteral("10:00")}));

    QVERIFY(dialog.SummaryLabel().text().startsWith(
        QStringLiteral("Pruebas: 4\nTiempo total de escritura: 16 min 35 s\n"
                       "Mejor velocidad neta: 1000.00 caracteres/min, el 05/01/2026 10:00\n")));
    QCOMPARE(dialog.NotesLabel().text(),
             QStringLiteral(u"L\u00EDneas ilegibles (se han saltado): 1"));
    QVERIFY(dialog.NotesLabel().isVisible());

    QChartView* chart = dialog.ChartView();
    QVERIFY(chart != nullptr);
    QVERIFY(!dialog.NoChartLabel().isVisible());
    QCOMPARE(chart->accessibleName(), QStringLiteral(u"Gr\u00E1fico de progreso"));
    QCOMPARE(chart->accessibleDescription(),
             QStringLiteral(u"4 pruebas. Pulsaciones finales de la primera: 201.40 "
                            u"caracteres/min; de la \u00FAltima: 1000.00 caracteres/min; la "
                            u"mejor: 1000.00 caracteres/min, el 05/01/2026 10:00."));

    dialog.CopyButton().click();
    QCOMPARE(QApplication::clipboard()->text(),
             QStringLiteral(u"Fecha\tDuraci\u00F3n\tVelocidad\tFaltas\tPulsaciones finales\n"
                            u"05/01/2026 10:00\t00:30\t1000.00\t0\t1000.00\n"
                            u"06/12/2026 23:59\t01:05\t180.50\t2\t178.50\n"
                            u"06/12/2026 08:15\t05:00\t212.40\t11\t201.40\n"
                            u"07/12/2026 09:00\t10:00\t95.00\tsin ortograf\u00EDa\t95.00\n"));
    dialog.CloseButton().click();
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
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
        CProgressDlg dialog(c.path.toStdString());
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
