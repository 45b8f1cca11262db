#include "document/StudyChecks.h"

#include "document/MeasurementFileNames.h"
#include "document/StudyNames.h"
#include "document/UserMessages.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <utility>

namespace {
constexpr double kmhPerMetresPerSecond = 3.6;
constexpr int smallestQuietInterval = 10;         // s
constexpr int largestQuietLaneChangeStep = 1000;  // m

template <class... Values>
std::string formatted(const char* format, Values... values)
{
    char text[256];
    std::snprintf(text, sizeof text, format, values...);
    return text;
}

StudyRefusal refuse(std::string message, int control)
{
    return StudyRefusal{std::move(message), control};
}

std::string integerBetween(int low, int high)
{
    return "Please enter an integer between " + std::to_string(low) + " and " + std::to_string(high) + ".";
}

bool isLaneCount(int lanes)
{
    return lanes >= 0 && lanes <= StudyChecks::maxLanesPerDirection;
}

// Overlap as the dialog has always judged it: one section strictly inside the other, or the
// other starting strictly inside this one. Sections that only touch pass.
bool overlaps(const CRoadFeature& a, const CRoadFeature& b)
{
    return (a.getStart() > b.getStart() && a.getEnd() < b.getEnd()) ||
           (b.getStart() > a.getStart() && b.getStart() < a.getEnd());
}

std::array<const CParameter*, 10> parametersOf(const CIDMParameterSet& set)
{
    return {&set.getParamT(),          &set.getParamA(),       &set.getParamB(),     &set.getParamS0(),
            &set.getParamS1(),         &set.getParamV0(),      &set.getParamDelta(), &set.getParamP(),
            &set.getParamDeltaAbias(), &set.getParamDeltaAth()};
}

std::string notFinite(const std::string& place, double value)
{
    return place + " is not a finite number (" + formatted("%g", value) + ").";
}

std::optional<StudyRefusal> checkFeatureValue(const CRoadFeature& feature, int number, int maxGradient,
                                              int minSpeedLimit, int maxSpeedLimit)
{
    if (!std::isfinite(feature.getValue()))
        return refuse(notFinite(formatted("Feature %d: The value", number), feature.getValue()),
                      StudyChecks::gridControl);
    if (feature.getType() == CRoadFeature::gradient)
    {
        if (feature.getValue() > maxGradient)
            return refuse(
                formatted("Feature %d: Gradient specified is greater \nthan the maximum of %d%%.", number, maxGradient),
                StudyChecks::gridControl);
        return std::nullopt;
    }
    const double kmh = feature.getValue() * kmhPerMetresPerSecond;
    if (kmh < minSpeedLimit)
        return refuse(formatted("Feature %d: Speed limit specified is smaller \nthan the minimum of %d km/h.", number,
                                minSpeedLimit),
                      StudyChecks::gridControl);
    if (kmh > maxSpeedLimit)
        return refuse(formatted("Feature %d: Speed limit specified is greater \nthan the maximum of %d km/h.", number,
                                maxSpeedLimit),
                      StudyChecks::gridControl);
    return std::nullopt;
}
}

std::optional<StudyRefusal> StudyChecks::checkSimulationSettings(const SimulationSettingsEntry& entry)
{
    if (entry.roadLength < minRoadLength || entry.roadLength > maxRoadLength)
        return refuse(integerBetween(minRoadLength, maxRoadLength), roadLengthControl);
    if (entry.timeStepMs < minTimeStepMs || entry.timeStepMs > maxTimeStepMs)
        return refuse(integerBetween(minTimeStepMs, maxTimeStepMs), timeStepControl);
    if (entry.outputDetectorLocation1 < 0)
        return refuse("Please enter an integer.", outputDetector1Control);
    if (entry.outputDetectorLocation2 < 0)
        return refuse("Please enter an integer.", outputDetector2Control);

    const char* const noLanes = "Please specify the number of lanes.";
    const char* const fewerLanes = "The number of simulation lanes must not \nbe less than that of the traffic file.";
    const char* const offRoad = "The output dector must be located on the road \n- please check the road length";
    const char* const noTraffic =
        "For this direction, there will be no vehicles \nsince there are no lanes in the traffic file";

    if (entry.inputFileName.empty())
        return refuse("Please select a file.", inputFileControl);
    if (entry.outputFileName.empty())
        return refuse("Please specify a filename.", outputFileControl);
    if (!isLaneCount(entry.lanesDir1))
        return refuse(noLanes, lanesDir1Control);
    if (!isLaneCount(entry.lanesDir2))
        return refuse(noLanes, lanesDir2Control);
    if (!isLaneCount(entry.fileLanesDir1))
        return refuse(noLanes, fileLanesDir1Control);
    if (!isLaneCount(entry.fileLanesDir2))
        return refuse(noLanes, fileLanesDir2Control);
    if (entry.fileLanesDir1 == 0 && entry.fileLanesDir2 == 0)
        return refuse("There cannot be zero lanes in both directions", fileLanesDir1Control);
    if (entry.fileLanesDir1 > entry.lanesDir1)
        return refuse(fewerLanes, lanesDir1Control);
    if (entry.fileLanesDir2 > entry.lanesDir2)
        return refuse(fewerLanes, lanesDir2Control);
    if (entry.outputDetectorLocation1 > entry.roadLength)
        return refuse(offRoad, outputDetector1Control);
    if (entry.outputDetectorLocation2 > entry.roadLength)
        return refuse(offRoad, outputDetector2Control);
    if (entry.fileLanesDir1 == 0 && entry.lanesDir1 > 0)
        return refuse(noTraffic, lanesDir1Control);
    if (entry.fileLanesDir2 == 0 && entry.lanesDir2 > 0)
        return refuse(noTraffic, lanesDir2Control);
    return std::nullopt;
}

std::optional<StudyRefusal> StudyChecks::checkRoadFeatures(const std::vector<std::unique_ptr<CRoadFeature>>& features,
                                                           int roadLength, int maxGradient, int minSpeedLimit,
                                                           int maxSpeedLimit)
{
    for (std::size_t i = 0; i < features.size(); ++i)
    {
        CRoadFeature& feature = *features[i];
        const int number = static_cast<int>(i) + 1;
        if (feature.getEnd() < feature.getStart())
        {
            const int start = feature.getStart();
            feature.setStart(feature.getEnd());
            feature.setEnd(start);
        }
        if (feature.getStart() < 0 || feature.getStart() > roadLength || feature.getEnd() > roadLength)
            return refuse(formatted("Feature %d: Starts or ends outside the road length.", number), gridControl);
        if (auto refusal = checkFeatureValue(feature, number, maxGradient, minSpeedLimit, maxSpeedLimit))
            return refusal;
        for (std::size_t j = 0; j < features.size(); ++j)
        {
            const CRoadFeature& other = *features[j];
            if (j == i || other.getType() != feature.getType() ||
                other.isDirectionPositive() != feature.isDirectionPositive())
                continue;
            if (overlaps(feature, other))
                return refuse(formatted("Feature %d overlaps with Feature %d \n- change start and end points.", number,
                                        static_cast<int>(j) + 1),
                              gridControl);
        }
    }
    return std::nullopt;
}

std::optional<std::string> StudyChecks::findNonFiniteNumber(const std::vector<std::unique_ptr<CRoadFeature>>& features,
                                                            std::span<const CIDMParameterSet> parameterSets)
{
    for (std::size_t i = 0; i < features.size(); ++i)
        if (!std::isfinite(features[i]->getValue()))
            return notFinite(formatted("Feature %d: The value", static_cast<int>(i) + 1), features[i]->getValue());
    for (std::size_t k = 0; k < parameterSets.size(); ++k)
    {
        const CIDMParameterSet& set = parameterSets[k];
        for (const CParameter* parameter : parametersOf(set))
        {
            const CDistribution& law = parameter->getDistribution();
            const std::pair<const char*, double> numbers[] = {
                {"location", law.getLocation()}, {"scale", law.getScale()}, {"shape", law.getShape()}};
            for (const auto& [name, value] : numbers)
                if (!std::isfinite(value))
                    return notFinite(
                        formatted(
                            "Vehicle class %d (%s), %s: The %s", static_cast<int>(k),
                            StudyNames::nameOf(StudyNames::vehicleClasses(), static_cast<std::uint16_t>(k)).c_str(),
                            StudyNames::nameOf(StudyNames::parameters(), parameter->getId()).c_str(), name),
                        value);
        }
    }
    return std::nullopt;
}

std::optional<StudyChecks::ParameterFlaw>
StudyChecks::findUnusableParameter(std::span<const CIDMParameterSet> parameterSets)
{
    for (std::size_t k = 0; k < parameterSets.size(); ++k)
    {
        const auto parameters = parametersOf(parameterSets[k]);
        for (std::size_t p = 0; p < parameters.size(); ++p)
        {
            const CParameter& parameter = *parameters[p];
            const auto flaw = parameter.getDistribution().findFlaw(parameter.needsPositiveValues());
            if (!flaw)
                continue;
            const std::string message = formatted(
                "Vehicle class %d (%s), %s: %s.", static_cast<int>(k),
                StudyNames::nameOf(StudyNames::vehicleClasses(), static_cast<std::uint16_t>(k)).c_str(),
                StudyNames::nameOf(StudyNames::parameters(), parameter.getId()).c_str(), flaw->reason.c_str());
            return ParameterFlaw{message, static_cast<int>(k), static_cast<int>(p), flaw->field};
        }
    }
    return std::nullopt;
}

std::optional<std::string> StudyChecks::findOffRoadItem(const std::vector<std::unique_ptr<CRoadFeature>>& features,
                                                        const std::vector<std::unique_ptr<CStatDetector>>& detectors,
                                                        int roadLength, int outputDetector1, int outputDetector2)
{
    const auto onRoad = [roadLength](int metres) { return metres >= 0 && metres <= roadLength; };
    const std::string extent = formatted(" is off the road (0 to %d m).", roadLength);
    const std::pair<int, int> outputDetectors[] = {{1, outputDetector1}, {2, outputDetector2}};
    for (const auto& [direction, location] : outputDetectors)
        if (!onRoad(location))
            return formatted("The output detector of direction %d at %d m", direction, location) + extent;
    for (std::size_t i = 0; i < detectors.size(); ++i)
    {
        const CStatDetector& detector = *detectors[i];
        const int number = static_cast<int>(i) + 1;
        const std::string kind = StudyNames::nameOf(StudyNames::detectorKinds(), detector.getKind());
        if (detector.getKind() != CStatDetector::laneChanges && !onRoad(detector.getLocation()))
            return formatted("Detector %d (%s) at %d m", number, kind.c_str(), detector.getLocation()) + extent;
        if (detector.getInterval() <= 0)
            return formatted("Detector %d (%s): the time interval %d s is not above 0.", number, kind.c_str(),
                             detector.getInterval());
    }
    for (std::size_t i = 0; i < features.size(); ++i)
    {
        const CRoadFeature& feature = *features[i];
        if (!onRoad(feature.getStart()) || !onRoad(feature.getEnd()))
            return formatted("Feature %d (%s) from %d to %d m", static_cast<int>(i) + 1,
                             StudyNames::nameOf(StudyNames::featureTypes(), feature.getType()).c_str(),
                             feature.getStart(), feature.getEnd()) +
                   extent;
    }
    return std::nullopt;
}

std::optional<StudyRefusal>
StudyChecks::checkStatDetectors(const std::vector<std::unique_ptr<CStatDetector>>& detectors, int roadLength,
                                UserMessages& messages)
{
    for (std::size_t i = 0; i < detectors.size(); ++i)
    {
        const CStatDetector& detector = *detectors[i];
        const int number = static_cast<int>(i) + 1;
        const bool placed = detector.getKind() != CStatDetector::laneChanges;
        if (detector.getLocation() > roadLength || (placed && detector.getLocation() < 0))
            return refuse(formatted("Detector %d: must be located on the road.\nPlease check its location.", number),
                          gridControl);
        if (detector.getInterval() > 0 && detector.getInterval() < smallestQuietInterval)
        {
            const std::string question =
                formatted("Detector %d: The time interval is very small and may cause problems.", number) +
                "\nAre you sure you want to keep this value?";
            if (!messages.ask(question))
                return refuse(formatted("Detector %d: Change the time interval.", number), gridControl);
        }
        else if (detector.getInterval() == 0)
        {
            return refuse(formatted("Detector %d: The time interval must not be zero.", number), gridControl);
        }
        else if (detector.getInterval() < 0)
        {
            return refuse(formatted("Detector %d: The time interval must be above zero.", number), gridControl);
        }
        if (detector.getKind() == CStatDetector::laneChanges && detector.getLocation() > largestQuietLaneChangeStep)
            messages.warn(
                formatted("Detector %d: The lane change detector step is very large and may cause problems.", number));
    }
    return std::nullopt;
}

std::optional<StudyRefusal>
StudyChecks::checkMeasurementFileNames(const std::vector<std::unique_ptr<CStatDetector>>& detectors)
{
    std::map<std::string, int> writers;  // file name -> number of the first detector writing it
    for (std::size_t i = 0; i < detectors.size(); ++i)
    {
        const int number = static_cast<int>(i) + 1;
        for (const std::string& name : measurementFileNamesOf(*detectors[i]))
        {
            const auto [first, inserted] = writers.emplace(name, number);
            if (!inserted)
                return refuse(formatted("Detectors %d and %d would both write %s:\nchange the kind, vehicle type, "
                                        "direction or location of one of them.",
                                        first->second, number, name.c_str()),
                              gridControl);
        }
    }
    return std::nullopt;
}
