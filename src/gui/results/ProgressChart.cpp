#include "gui/results/ProgressChart.h"

#include <QChart>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QLineSeries>
#include <QScatterSeries>
#include <QValueAxis>
#include <algorithm>

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

// Many points are drawn with thin pens: a wide or dashed pen makes the raster
// engine stroke the line as a path, which is slow for long series.
QLineSeries* Line(const QString& name, const QList<QPointF>& values, bool few) {
    auto* series = new QLineSeries();
    series->setName(name);
    series->replace(values);
    series->setPointsVisible(few);
    if (!few) {
        QPen pen = series->pen();
        pen.setWidth(1);
        series->setPen(pen);
    }
    return series;
}

}  // namespace

std::unique_ptr<QChart> BuildProgressChart(const std::vector<ProgressPoint>& points) {
    QList<QPointF> net;
    QList<QPointF> gross;
    QList<QPointF> average;
    QList<QPointF> faults;
    net.reserve(static_cast<qsizetype>(points.size()));
    gross.reserve(net.capacity());
    average.reserve(net.capacity());
    // The speed axis spans the values shown, so that progress of a few
    // keystrokes per minute is visible.
    double lowest = points.empty() ? 0.0 : points.front().netSpeed;
    double highest = lowest;
    double mostFaults = 1.0;
    for (const ProgressPoint& point : points) {
        const qreal x = Milliseconds(point.date);
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
    QLineSeries* netSeries = Line(QStringLiteral("Pulsaciones finales"), net, marked);
    QLineSeries* grossSeries = Line(QStringLiteral("Velocidad"), gross, marked);
    QLineSeries* averageSeries = Line(QStringLiteral("Media de 10 pruebas"), average, false);
    QPen averagePen = averageSeries->pen();
    averagePen.setColor(Qt::black);
    averagePen.setStyle(marked ? Qt::DashLine : Qt::SolidLine);
    averagePen.setWidth(marked ? 2 : 1);
    averageSeries->setPen(averagePen);
    auto* faultSeries = new QScatterSeries();
    faultSeries->setName(QStringLiteral("Faltas"));
    faultSeries->setMarkerSize(marked ? 7 : 4);
    faultSeries->replace(faults);
    for (QAbstractSeries* series : std::initializer_list<QAbstractSeries*>{
             grossSeries, netSeries, averageSeries, faultSeries}) {
        chart->addSeries(series);
    }

    auto* dates = new QDateTimeAxis();
    dates->setTitleText(QStringLiteral("Fecha"));
    const qreal first = net.isEmpty() ? 0 : net.front().x();
    const qreal last = net.isEmpty() ? 0 : net.back().x();
    // Over a few days the ticks fall within a day: they show the hour too.
    dates->setFormat(last - first < 5 * 2 * kHalfDayMs ? QStringLiteral("dd/MM HH:mm")
                                                       : QStringLiteral("dd/MM/yyyy"));
    dates->setRange(QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(first) - kHalfDayMs),
                    QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(last) + kHalfDayMs));
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
    chart->addAxis(dates, Qt::AlignBottom);
    chart->addAxis(speeds, Qt::AlignLeft);
    chart->addAxis(faultAxis, Qt::AlignRight);
    for (QAbstractSeries* series : chart->series()) {
        series->attachAxis(dates);
        series->attachAxis(series == faultSeries ? faultAxis : speeds);
    }
    return chart;
}

QString ProgressChartDescription(const std::vector<StatisticsRecord>& records,
                                 const ProgressSummary& summary, std::size_t points) {
    if (records.empty()) {
        return QStringLiteral(u"Sin pruebas registradas.");
    }
    const auto speed = [](double value) { return FromCp1252(FormatSpeedText(value)); };
    QString text = (records.size() == 1 ? QStringLiteral("1 prueba.")
                                        : QStringLiteral("%1 pruebas.").arg(records.size())) +
                   QStringLiteral(
                       u" Pulsaciones finales de la primera: %1; de la \u00FAltima: "
                       u"%2; la mejor: %3, el %4.")
                       .arg(speed(records.front().netSpeed), speed(records.back().netSpeed),
                            speed(*summary.bestNetSpeed),
                            QString::fromStdString(summary.bestDate->ShownText()));
    if (points < records.size()) {
        text += QStringLiteral(
                    u" Cada punto es la media de las pruebas de un periodo de "
                    u"d\u00EDas (%1 puntos).")
                    .arg(points);
    }
    return text;
}

}  // namespace quirtel
