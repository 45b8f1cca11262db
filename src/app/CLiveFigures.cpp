#include "app/CLiveFigures.h"

#include "detectors/MetricsDetector.h"
#include "engine/Road.h"
#include "outputfiles/MeasurementFileName.h"

#include <algorithm>
#include <iterator>

void CLiveFigures::start(const Road& road, double startTime)
{
    finish();
    detectors.clear();
    pending.clear();
    ++runNumber;
    runStart = startTime;
    for (const Road::DetectorList* list : {&road.getDetectors1(), &road.getDetectors2()})
        for (const std::unique_ptr<::Detector>& detector : *list)
        {
            auto* metrics = dynamic_cast<MetricsDetector*>(detector.get());
            if (metrics == nullptr || metrics->getKind() != ::Detector::kindFlowDensity)
                continue;
            const std::optional<MeasurementFileName> name = MeasurementFileName::parse(metrics->fileName());
            detectors.push_back({name ? name->title() : metrics->fileName(),
                                 name ? name->shortTitle() : metrics->fileName(), metrics->getLaneCount(),
                                 metrics->getIntervalSeconds()});
            heard.push_back(metrics);
            metrics->setFlowDensityObserver(this);
        }
}

void CLiveFigures::finish()
{
    for (MetricsDetector* detector : heard)
        detector->setFlowDensityObserver(nullptr);
    heard.clear();
}

std::vector<CLiveFigures::Interval> CLiveFigures::takeNew()
{
    std::vector<Interval> taken;
    taken.swap(pending);
    return taken;
}

void CLiveFigures::intervalEnded(const MetricsDetector& detector, int interval,
                                 std::span<const FlowDensityFigures> groups)
{
    const auto found = std::find(heard.begin(), heard.end(), &detector);
    if (found == heard.end())
        return;
    pending.push_back({static_cast<std::size_t>(std::distance(heard.begin(), found)),
                       runStart + interval * detector.getIntervalSeconds(),
                       std::vector<FlowDensityFigures>(groups.begin(), groups.end())});
}
