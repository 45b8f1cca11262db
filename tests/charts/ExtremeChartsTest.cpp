#include "charts/ChartsTestSupport.h"
#include "extremes/PortPirie.h"

#include "charts/ExtremeCharts.h"
#include "extremes/GevDistribution.h"

#include <QAreaSeries>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QScatterSeries>
#include <QValueAxis>

#include <gmock/gmock.h>

#include <algorithm>
#include <cmath>

using ::testing::HasSubstr;

namespace {

BridgeBlocks blocksOf(const std::vector<double>& maxima)
{
    BridgeBlocks blocks;
    blocks.bridge = "Deck";
    blocks.runs = 1;
    blocks.series = 1;
    for (std::size_t i = 0; i < maxima.size(); ++i)
        blocks.whole.push_back({1, static_cast<long long>(i), i * 86400.0, maxima[i], i * 86400.0 + 500.0, 86400.0});
    return blocks;
}

struct Charted
{
    BridgeBlocks blocks;
    std::vector<ReturnPeriod> periods;
    BlockMaximaFits fits;
    std::vector<ResultChart> charts;
};

Charted charted(const std::vector<double>& maxima, BlockLength length = BlockLength::day)
{
    Charted c;
    c.blocks = blocksOf(maxima);
    c.periods = ReturnPeriods::of({}, {100.0}, length);
    c.fits = BlockFits::of(c.blocks, c.periods);
    c.charts = ExtremeCharts::of(c.blocks, c.fits, c.periods, length);
    return c;
}

QString axisTitle(const QChart& chart, Qt::Orientation orientation)
{
    return chart.axes(orientation).first()->titleText();
}

QLineSeries* lineNamed(const QChart& chart, const QString& name)
{
    for (QLineSeries* line : seriesOf<QLineSeries>(chart))
        if (line->name() == name.toHtmlEscaped())
            return line;
    return nullptr;
}

QAreaSeries* bandStartingWith(const QChart& chart, const QString& prefix)
{
    for (QAreaSeries* area : seriesOf<QAreaSeries>(chart))
        if (area->name().startsWith(prefix))
            return area;
    return nullptr;
}

}  // namespace

TEST(ExtremeChartsTest, TheProbabilityPlotShowsTheSortedMaximaAtTheirGumbelPositionsAndBothFits)
{
    const Charted c = charted(portPirie);
    ASSERT_EQ(c.charts.size(), 2u);
    const QChart& plot = *chartNamed(c.charts, QStringLiteral("probability-plot")).chart;
    EXPECT_THAT(axisTitle(plot, Qt::Horizontal).toStdString(), HasSubstr("−ln(−ln p), p = i/(n + 1)"));
    EXPECT_THAT(axisTitle(plot, Qt::Vertical).toStdString(), HasSubstr("Daily maximum"));

    QList<QScatterSeries*> scatter = seriesOf<QScatterSeries>(plot);
    ASSERT_EQ(scatter.size(), 1);
    std::vector<double> sorted = portPirie;
    std::sort(sorted.begin(), sorted.end());
    ASSERT_EQ(scatter[0]->count(), 65);
    for (int i : {0, 31, 64})
    {
        EXPECT_DOUBLE_EQ(scatter[0]->at(i).x(), -std::log(-std::log((i + 1) / 66.0)));
        EXPECT_DOUBLE_EQ(scatter[0]->at(i).y(), sorted[static_cast<std::size_t>(i)]);
    }

    // The Gumbel line passes through its own quantiles; the GEV's curve bends with its shape.
    const QLineSeries* gumbel = lineNamed(plot, QStringLiteral("Gumbel fit"));
    const QLineSeries* gev = lineNamed(plot, QStringLiteral("GEV fit"));
    ASSERT_NE(gumbel, nullptr);
    ASSERT_NE(gev, nullptr);
    for (const QPointF& point : gumbel->points())
        EXPECT_NEAR(point.y(), Gev::quantile(c.fits.gumbel->parameters, std::exp(-std::exp(-point.x()))), 1e-9);
    EXPECT_LE(gumbel->at(0).x(), scatter[0]->at(0).x());
    EXPECT_GE(gumbel->at(gumbel->count() - 1).x(), scatter[0]->at(64).x());
    const QPointF first = gev->at(0), middle = gev->at(gev->count() / 2), last = gev->at(gev->count() - 1);
    const double straight = first.y() + (last.y() - first.y()) * (middle.x() - first.x()) / (last.x() - first.x());
    EXPECT_GT(std::abs(middle.y() - straight), 1e-3);  // shape −0.05: concave
    for (const QPointF& point : gev->points())
        EXPECT_NEAR(point.y(), Gev::quantile(c.fits.gev->parameters, std::exp(-std::exp(-point.x()))), 1e-9);
}

TEST(ExtremeChartsTest, TheReturnLevelBandsHoldTheLevelsWidenWithThePeriodAndMeetTheTable)
{
    const Charted c = charted(portPirie);
    const QChart& plot = *chartNamed(c.charts, QStringLiteral("return-levels")).chart;
    auto* x = qobject_cast<QLogValueAxis*>(plot.axes(Qt::Horizontal).first());
    ASSERT_NE(x, nullptr);
    EXPECT_THAT(x->titleText().toStdString(), HasSubstr("Return period (years of 365.25 days"));
    EXPECT_THAT(x->titleText().toStdString(), HasSubstr("blocks of one day"));
    EXPECT_THAT(axisTitle(plot, Qt::Vertical).toStdString(), HasSubstr("Return level"));

    for (const char* fit : {"Gumbel", "GEV"})
    {
        const QLineSeries* level = lineNamed(plot, QStringLiteral("%1 fit").arg(fit));
        const QAreaSeries* band = bandStartingWith(plot, QStringLiteral("%1 95 %").arg(fit));
        ASSERT_NE(level, nullptr) << fit;
        ASSERT_NE(band, nullptr) << fit;
        const QList<QPointF> lows = band->lowerSeries()->points();
        const QList<QPointF> highs = band->upperSeries()->points();
        ASSERT_EQ(lows.size(), level->count());
        ASSERT_EQ(highs.size(), level->count());
        double previousWidth = 0.0;
        for (int i = 0; i < level->count(); ++i)
        {
            EXPECT_LT(lows[i].y(), level->at(i).y()) << fit << " at " << level->at(i).x();
            EXPECT_GT(highs[i].y(), level->at(i).y()) << fit << " at " << level->at(i).x();
            const double width = highs[i].y() - lows[i].y();
            // From a year out, where the levels extrapolate, the band only widens.
            if (level->at(i).x() > 1.0)
            {
                EXPECT_GT(width, previousWidth) << fit << " at " << level->at(i).x();
            }
            previousWidth = width;
        }
    }
    EXPECT_EQ(bandStartingWith(plot, QStringLiteral("GEV"))->name(), QStringLiteral("GEV 95 % (profile likelihood)"));

    // The 100-day period asked is on both curves, with the table's figures.
    const double years = 100.0 / 365.25;
    const QLineSeries* gev = lineNamed(plot, QStringLiteral("GEV fit"));
    const QAreaSeries* gevBand = bandStartingWith(plot, QStringLiteral("GEV"));
    bool met = false;
    for (int i = 0; i < gev->count(); ++i)
        if (std::abs(gev->at(i).x() - years) < 1e-12)
        {
            met = true;
            EXPECT_NEAR(gev->at(i).y(), c.fits.gevProfiles[0]->level, 1e-12);
            EXPECT_NEAR(gevBand->lowerSeries()->at(i).y(), *c.fits.gevProfiles[0]->low, 1e-12);
            EXPECT_NEAR(gevBand->upperSeries()->at(i).y(), *c.fits.gevProfiles[0]->high, 1e-12);
        }
    EXPECT_TRUE(met);

    // The maxima at their empirical periods, (n + 1)/(n + 1 − i) days, in years.
    QScatterSeries* observed = seriesOf<QScatterSeries>(plot).first();
    ASSERT_EQ(observed->count(), 65);
    EXPECT_DOUBLE_EQ(observed->at(0).x(), 66.0 / 65.0 / 365.25);
    EXPECT_DOUBLE_EQ(observed->at(64).x(), 66.0 / 365.25);
    EXPECT_DOUBLE_EQ(observed->at(64).y(), 4.69);
    EXPECT_LE(x->min(), observed->at(0).x());
    EXPECT_GE(x->max(), years);
}

TEST(ExtremeChartsTest, WeeksAreSaidOnTheAxesAndABridgeWithoutAFitHasNoCharts)
{
    const Charted weeks = charted(portPirie, BlockLength::week);
    const QChart& levels = *chartNamed(weeks.charts, QStringLiteral("return-levels")).chart;
    EXPECT_THAT(axisTitle(levels, Qt::Horizontal).toStdString(), HasSubstr("blocks of one week"));
    EXPECT_THAT(
        axisTitle(*chartNamed(weeks.charts, QStringLiteral("probability-plot")).chart, Qt::Vertical).toStdString(),
        HasSubstr("Weekly maximum"));
    EXPECT_DOUBLE_EQ(seriesOf<QScatterSeries>(levels).first()->at(64).x(), 66.0 * 7.0 / 365.25);

    const Charted few = charted({3.0, 4.0, 5.0});
    EXPECT_FALSE(few.fits.gumbel);
    EXPECT_TRUE(few.charts.empty());
}
