// A live chart fed in batches draws every finite point once, in order, across the pieces its
// lines are drawn in, breaks where a value is missing, and widens its axes to what it holds.

#include "charts/LiveTimeChart.h"

#include <QChart>
#include <QLineSeries>
#include <QValueAxis>

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

TEST(LiveTimeChart, DrawsEachPointOnceAcrossPiecesAndBreaksAtMissingValues)
{
    QChart chart;
    constexpr double start = 7.5 * 3600.0;
    LiveTimeChart live(chart, QStringLiteral("Flow (veh/h)"), {QStringLiteral("Lane 1"), QStringLiteral("Totals")},
                       start, 60.0);
    QList<QPointF> expected;
    for (int interval = 1; interval <= 200; ++interval)
    {
        const double time = start + 60.0 * interval;
        // Intervals 50 to 52 saw no vehicle.
        const bool missing = interval >= 50 && interval <= 52;
        live.add(0, time, missing ? std::numeric_limits<double>::quiet_NaN() : interval * 10.0);
        if (!missing)
            expected.append(QPointF(time, interval * 10.0));
        // Flushed at uneven batches, as frames come.
        if (interval % 7 == 0)
            live.flush();
    }
    live.flush();
    EXPECT_EQ(live.drawn(0), expected);
    EXPECT_TRUE(live.drawn(1).isEmpty());
    // No piece holds more than its share, so that a flush redraws few points.
    int pieces = 0;
    for (QAbstractSeries* series : chart.series())
    {
        auto* line = qobject_cast<QLineSeries*>(series);
        ASSERT_NE(line, nullptr);
        EXPECT_LE(line->count(), LiveTimeChart::pointsPerPiece);
        pieces += line->count() > 0;
    }
    EXPECT_GE(pieces, 200 / static_cast<int>(LiveTimeChart::pointsPerPiece));
    // The break leaves a gap: no piece joins interval 49 to 53.
    for (QAbstractSeries* series : chart.series())
    {
        const QList<QPointF> points = qobject_cast<QLineSeries*>(series)->points();
        for (qsizetype i = 1; i < points.size(); ++i)
            EXPECT_NEAR(points[i].x() - points[i - 1].x(), 60.0, 1e-9);
    }
    EXPECT_LE(live.timeAxis().min(), start);
    EXPECT_GE(live.timeAxis().max(), start + 60.0 * 200);
    EXPECT_GE(live.valueAxis().max(), 2000.0);
}
