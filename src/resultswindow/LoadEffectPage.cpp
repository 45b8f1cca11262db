#include "resultswindow/LoadEffectPage.h"

#include "measurements/LoadEffectFigures.h"
#include "resultswindow/ChartPanel.h"

#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

constexpr int chartColumns = 2;
constexpr double longestReturnYears = 1e7;

}  // namespace

LoadEffectPage::LoadEffectPage(BridgeResults results, QString fileStem, const ResultsDialogs& resultsDialogs,
                               QWidget* parent)
    : QWidget(parent), bridge(std::move(results)), stem(std::move(fileStem)), dialogs(resultsDialogs)
{
    hour = new QSpinBox(this);
    hour->setObjectName(QStringLiteral("hour"));
    hour->setRange(1, std::max(1, LoadEffectFigures::hoursOf(bridge.rows, bridge.runStart())));
    hour->setToolTip(QStringLiteral("The hour of the run (from 1) the second-by-second chart shows"));
    returnYears = new QDoubleSpinBox(this);
    returnYears->setObjectName(QStringLiteral("returnYears"));
    returnYears->setDecimals(0);
    returnYears->setRange(1.0, longestReturnYears);
    returnYears->setValue(Gumbel::defaultReturnYears);
    returnYears->setSuffix(QStringLiteral(" years"));
    returnYears->setToolTip(QStringLiteral("The return period of the Gumbel plot's return level, in years of the "
                                           "traffic files' calendar, counted in intervals"));

    auto* choices = new QHBoxLayout;
    auto* hourLabel = new QLabel(QStringLiteral("&Hour:"), this);
    hourLabel->setBuddy(hour);
    auto* periodLabel = new QLabel(QStringLiteral("Return &period:"), this);
    periodLabel->setBuddy(returnYears);
    choices->addWidget(hourLabel);
    choices->addWidget(hour);
    choices->addSpacing(24);
    choices->addWidget(periodLabel);
    choices->addWidget(returnYears);
    choices->addStretch();

    auto* heading = new QLabel(QStringLiteral("<b>%1</b><br>%2")
                                   .arg(bridgeTitle(bridge).toHtmlEscaped(),
                                        QString::fromStdString(bridge.seriesPath.filename().string()).toHtmlEscaped()),
                               this);
    heading->setTextInteractionFlags(Qt::TextSelectableByMouse);
    heading->setWordWrap(true);
    grid = new QGridLayout;
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addLayout(choices);
    layout->addLayout(grid, 1);
    // Charts are drawn again when a value is entered, not at each key.
    hour->setKeyboardTracking(false);
    returnYears->setKeyboardTracking(false);
    connect(hour, &QSpinBox::valueChanged, this, &LoadEffectPage::showCharts);
    connect(returnYears, &QDoubleSpinBox::valueChanged, this, &LoadEffectPage::showCharts);
    showCharts();
}

void LoadEffectPage::showCharts()
{
    for (ChartPanel* panel : chartPanels)
        delete panel;
    chartPanels.clear();
    LoadEffectOptions options{hour->value(), returnYears->value()};
    int position = 0;
    for (ResultChart& chart : loadEffectCharts(bridge, options))
    {
        auto* panel = new ChartPanel(std::move(chart), stem, dialogs, this);
        grid->addWidget(panel, position / chartColumns, position % chartColumns);
        chartPanels.push_back(panel);
        ++position;
    }
}
