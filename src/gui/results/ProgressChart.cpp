#include "gui/results/ProgressChart.h"

#include <QChart>
#include <QCursor>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QLineSeries>
#include <QScatterSeries>
#include <QToolTip>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

#include "core/results/FinalResult.h"
#include "gui/common/QtText.h"

namespace quirtel {
namespace {

// Below this many points each one is marked, so a single test still shows.
constexpr std::size_t kMarkedPoints = 60;
constexpr qint64 kHalfDayMs = 12 * 3600 * 1000;

qreal Milliseconds(const LogDate& date) {
    const QDateTime local(QDate(date.year, date.month, date.day), QTime(date.hour, date.minute));
    return static_cast<qreal>(local.toMSecsSinceEpoch());
}

// A span of tests sits at its middle test.
qreal TestNumber(const ProgressPoint& point) {
    return static_cast<qreal>(point.firstTest) + static_cast<qreal>(point.tests - 1) / 2.0;
}

QLineSeries* Line(const QString& name, const QList<QPointF>& values, bool few) {
    auto* series = new QLineSeries();
    series->setName(name);
    series->replace(values);
    series->setPointsVisible(few);
    return series;
}

// 1, 2 or 5 times a power of ten, the smallest not below `raw`.
double NiceStep(double raw) {
    double step = 1.0;
    while (step * 5 < raw) {
        step *= 10;
    }
    for (const double factor : {1.0, 2.0, 5.0, 10.0}) {
        if (step * factor >= raw) {
            return step * factor;
        }
    }
    return step * 10;
}

QAbstractAxis* TestAxis(std::int64_t tests) {
    auto* axis = new QValueAxis();
    axis->setTitleText(QStringLiteral("Prueba"));
    axis->setRange(0.5, static_cast<qreal>(tests) + 0.5);
    // Whole test numbers, about eight ticks at most.
    axis->setTickType(QValueAxis::TicksDynamic);
    axis->setTickAnchor(0);
    axis->setTickInterval(NiceStep(static_cast<double>(tests) / 8.0));
    axis->setLabelFormat(QStringLiteral("%.0f"));
    return axis;
}

QAbstractAxis* DateAxis(qreal first, qreal last) {
    auto* dates = new QDateTimeAxis();
    dates->setTitleText(QStringLiteral("Fecha"));
    // Over a few days the ticks fall within a day: they show the hour too.
    dates->setFormat(last - first < 5 * 2 * kHalfDayMs ? QStringLiteral("dd/MM HH:mm")
                                                       : QStringLiteral("dd/MM/yyyy"));
    dates->setRange(QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(first) - kHalfDayMs),
                    QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(last) + kHalfDayMs));
    return dates;
}

// Shows the tip of the point nearest to where the pointer rests.
void ShowTips(QXYSeries* series, const std::shared_ptr<const std::vector<ProgressPoint>>& points,
              const std::shared_ptr<const std::vector<qreal>>& xs) {
    QObject::connect(series, &QXYSeries::hovered, series,
                     [points, xs](const QPointF& at, bool state) {
                         if (!state || xs->empty()) {
                             QToolTip::hideText();
                             return;
                         }
                         auto next = std::lower_bound(xs->begin(), xs->end(), at.x());
                         if (next == xs->end() ||
                             (next != xs->begin() && at.x() - *(next - 1) < *next - at.x())) {
                             --next;
                         }
                         const auto index = static_cast<std::size_t>(next - xs->begin());
                         QToolTip::showText(QCursor::pos(), ProgressPointTip((*points)[index]));
                     });
}

}  // namespace

std::unique_ptr<QChart> BuildProgressChart(const std::vector<ProgressPoint>& points,
                                           ProgressAxis axis) {
    QList<QPointF> net;
    QList<QPointF> gross;
    QList<QPointF> average;
    QList<QPointF> faults;
    auto xs = std::make_shared<std::vector<qreal>>();
    xs->reserve(points.size());
    net.reserve(static_cast<qsizetype>(points.size()));
    gross.reserve(net.capacity());
    average.reserve(net.capacity());
    // The speed axis spans the values shown, so that progress of a few
    // keystrokes per minute is visible.
    double lowest = points.empty() ? 0.0 : points.front().netSpeed;
    double highest = lowest;
    double mostFaults = 1.0;
    for (const ProgressPoint& point : points) {
        const qreal x = axis == ProgressAxis::byTest ? TestNumber(point) : Milliseconds(point.date);
        xs->push_back(x);
        net.append({x, point.netSpeed});
        gross.append({x, point.speed});
        average.append({x, point.movingAverage});
        if (point.faults) {
            faults.append({x, *point.faults});
            mostFaults = std::max(mostFaults, *point.faults);
        }
        lowest = std::min({lowest, point.netSpeed, point.speed});
        highest = std::max({highest, point.netSpeed, point.speed});
    }

    auto chart = std::make_unique<QChart>();
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->setMargins(QMargins(2, 2, 2, 2));
    chart->setBackgroundRoundness(0);
    const bool marked = points.size() <= kMarkedPoints;
    QLineSeries* netSeries =
        Line(QStringLiteral("Velocidad neta (pulsaciones finales)"), net, marked);
    QLineSeries* grossSeries = Line(QStringLiteral("Velocidad bruta"), gross, marked);
    QLineSeries* averageSeries = Line(QStringLiteral("Media de 10 pruebas"), average, false);
    auto* faultSeries = new QScatterSeries();
    faultSeries->setName(QStringLiteral("Faltas"));
    faultSeries->setMarkerSize(marked ? 7 : 4);
    faultSeries->replace(faults);
    for (QAbstractSeries* series : std::initializer_list<QAbstractSeries*>{
             grossSeries, netSeries, averageSeries, faultSeries}) {
        chart->addSeries(series);
    }
    // The theme colours the series as they join the chart; only then may the
    // pens be changed, or a copy of the default black pen would stick.
    // Many points are drawn with thin pens: a wide or dashed pen makes the
    // raster engine stroke the line as a path, which is slow for long series.
    if (!marked) {
        for (QLineSeries* series : {netSeries, grossSeries}) {
            QPen pen = series->pen();
            pen.setWidth(1);
            series->setPen(pen);
        }
    }
    QPen averagePen = averageSeries->pen();
    averagePen.setStyle(marked ? Qt::DashLine : Qt::SolidLine);
    averagePen.setWidth(marked ? 2 : 1);
    averageSeries->setPen(averagePen);

    QAbstractAxis* along = nullptr;
    if (axis == ProgressAxis::byTest) {
        along = TestAxis(points.empty() ? 1 : points.back().firstTest + points.back().tests - 1);
    } else {
        along = DateAxis(xs->empty() ? 0 : xs->front(), xs->empty() ? 0 : xs->back());
    }
    auto* speeds = new QValueAxis();
    speeds->setTitleText(QStringLiteral("caracteres/min"));
    const double room = std::max((highest - lowest) * 0.05, 1.0);
    speeds->setRange(lowest - room, highest + room);
    speeds->applyNiceNumbers();
    // Whole keystrokes unless the span is too narrow to tell the ticks apart.
    speeds->setLabelFormat(highest - lowest >= 20 ? QStringLiteral("%.0f")
                                                  : QStringLiteral("%.1f"));
    auto* faultAxis = new QValueAxis();
    faultAxis->setTitleText(QStringLiteral("Faltas"));
    faultAxis->setRange(0, mostFaults * 1.1);
    faultAxis->applyNiceNumbers();
    faultAxis->setLabelFormat(mostFaults >= 10 ? QStringLiteral("%.0f") : QStringLiteral("%.1f"));
    chart->addAxis(along, Qt::AlignBottom);
    chart->addAxis(speeds, Qt::AlignLeft);
    chart->addAxis(faultAxis, Qt::AlignRight);
    const auto shared = std::make_shared<const std::vector<ProgressPoint>>(points);
    for (QAbstractSeries* series : chart->series()) {
        series->attachAxis(along);
        series->attachAxis(series == faultSeries ? faultAxis : speeds);
        ShowTips(static_cast<QXYSeries*>(series), shared, xs);
    }
    return chart;
}

QString ProgressPointTip(const ProgressPoint& point) {
    const auto speed = [](double value) { return FromCp1252(FormatSpeedText(value)); };
    const QString date = QString::fromStdString(point.date.ShownText());
    QString text = point.tests == 1 ? QStringLiteral("Prueba %1, %2").arg(point.firstTest).arg(date)
                                    : QStringLiteral("Pruebas %1 a %2, desde el %3 (medias)")
                                          .arg(point.firstTest)
                                          .arg(point.firstTest + point.tests - 1)
                                          .arg(date.left(10));
    text += QStringLiteral("\nVelocidad bruta: %1\nVelocidad neta (pulsaciones finales): %2")
                .arg(speed(point.speed), speed(point.netSpeed));
    text += point.faults ? QStringLiteral("\nFaltas: %1")
                               .arg(QString::number(*point.faults, 'f', point.tests == 1 ? 0 : 2))
                         : QStringLiteral(u"\nFaltas: sin comprobaci\u00F3n ortogr\u00E1fica");
    return text;
}

QString ProgressChartDescription(const std::vector<StatisticsRecord>& records,
                                 const ProgressSummary& summary,
                                 const std::vector<ProgressPoint>& points, ProgressAxis axis) {
    if (records.empty()) {
        return QStringLiteral(u"Sin pruebas registradas.");
    }
    const auto speed = [](double value) { return FromCp1252(FormatSpeedText(value)); };
    QString text = (records.size() == 1 ? QStringLiteral("1 prueba.")
                                        : QStringLiteral("%1 pruebas.").arg(records.size())) +
                   QStringLiteral(
                       u" Velocidad neta de la primera: %1; de la \u00FAltima: "
                       u"%2; la mejor: %3, el %4.")
                       .arg(speed(records.front().netSpeed), speed(records.back().netSpeed),
                            speed(*summary.bestNetSpeed),
                            QString::fromStdString(summary.bestDate->ShownText()));
    if (points.size() < records.size()) {
        text += axis == ProgressAxis::byTest
                    ? QStringLiteral(u" Cada punto es la media de %1 pruebas seguidas (%2 puntos).")
                          .arg(points.front().tests)
                          .arg(points.size())
                    : QStringLiteral(
                          u" Cada punto es la media de las pruebas de un periodo de "
                          u"d\u00EDas (%1 puntos).")
                          .arg(points.size());
    }
    return text;
}

}  // namespace quirtel
