#pragma once
// The checks a study's settings, road features and statistics detectors must pass when the
// user confirms them, with the messages of the configuration dialogs. Shared by the desktop
// dialogs and the runner's new command so that both refuse the same things.

#include "config/CIDMParameterSet.h"
#include "config/CRoadFeature.h"
#include "config/CStatDetector.h"
#include "document/SimulationSettingsEntry.h"
#include "document/StudyRefusal.h"

#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

class UserMessages;

class StudyChecks
{
public:
    // Controls of the simulation configuration dialog.
    static constexpr int inputFileControl = 1000;
    static constexpr int roadLengthControl = 1002;
    static constexpr int lanesDir1Control = 1005;
    static constexpr int lanesDir2Control = 1006;
    static constexpr int outputFileControl = 1007;
    static constexpr int timeStepControl = 1009;
    static constexpr int fileLanesDir1Control = 1010;
    static constexpr int fileLanesDir2Control = 1011;
    static constexpr int outputDetector1Control = 1013;
    static constexpr int outputDetector2Control = 1014;
    // The grid of the road features and metrics detectors dialogs.
    static constexpr int gridControl = 1010;

    static constexpr int minRoadLength = 500;     // m
    static constexpr int maxRoadLength = 100000;  // m
    static constexpr int minTimeStepMs = 10;      // ms
    static constexpr int maxTimeStepMs = 2000;    // ms
    static constexpr int maxLanesPerDirection = 4;

    // The first failing check, in the dialog's order, or nothing.
    static std::optional<StudyRefusal> checkSimulationSettings(const SimulationSettingsEntry& entry);

    // Swaps reversed section ends in place (kept even when a later check fails), then checks
    // each feature against the road and the configured limits (km/h and %), and for overlaps.
    static std::optional<StudyRefusal> checkRoadFeatures(const std::vector<std::unique_ptr<CRoadFeature>>& features,
                                                         int roadLength, int maxGradient, int minSpeedLimit,
                                                         int maxSpeedLimit);

    // The first number that is not finite among the features' values and the parameter sets'
    // distributions, with its place and value; nothing when every number is finite. Such a
    // number comes only from a study written elsewhere or damaged, and would stall a run.
    static std::optional<std::string> findNonFiniteNumber(const std::vector<std::unique_ptr<CRoadFeature>>& features,
                                                          std::span<const CIDMParameterSet> parameterSets);

    // The first output detector, statistics detector or road feature that lies off the road
    // (outside 0 to roadLength m) or a statistics detector whose interval is not above 0, named
    // with the road's extent; nothing when all are on it. Only a study written elsewhere or
    // edited by hand holds one: the run would write nothing, or index outside the road.
    // A lane-change detector's number is its step, not a place: any step is usable.
    static std::optional<std::string> findOffRoadItem(const std::vector<std::unique_ptr<CRoadFeature>>& features,
                                                      const std::vector<std::unique_ptr<CStatDetector>>& detectors,
                                                      int roadLength, int outputDetector1, int outputDetector2);

    // A driver-model number a run cannot use, with where it is: the vehicle class (0 to 4), the
    // parameter (0 to 9, in the set's order) and the field (1 location, 2 scale, 3 shape).
    struct ParameterFlaw
    {
        std::string message;
        int vehicleClass;
        int parameter;
        int field;
    };
    // The first such number among the sets (CDistribution::findFlaw), named by class, parameter
    // and field; nothing when every number is usable.
    static std::optional<ParameterFlaw> findUnusableParameter(std::span<const CIDMParameterSet> parameterSets);

    // Asks before keeping a very small time interval and warns of a very large lane-change
    // step, through messages.
    static std::optional<StudyRefusal> checkStatDetectors(const std::vector<std::unique_ptr<CStatDetector>>& detectors,
                                                          int roadLength, UserMessages& messages);

    // Two detectors that would write the same measurement file: only one file could be written.
    static std::optional<StudyRefusal>
    checkMeasurementFileNames(const std::vector<std::unique_ptr<CStatDetector>>& detectors);
};
