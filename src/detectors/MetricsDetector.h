#pragma once
// A point detector that aggregates the vehicles passing it per time interval into one
// comma-separated file: flow, density and space-mean speed per lane, every headway per lane, or
// the traffic composition.

#include "detectors/Detector.h"
#include "detectors/FlowDensityObserver.h"
#include "detectors/MeasurementFile.h"

#include <array>
#include <string>
#include <vector>

class MetricsDetector : public Detector
{
public:
    // `location` in m along the detector's direction (the road converts it for direction 2);
    // `intervalSeconds` in whole seconds; `roadLength` in m.
    MetricsDetector(const std::string& metricsDirectory, short kind, bool directionPositive, int laneCount,
                    short vehicleTypes, int intervalSeconds, int location, int roadLength);
    ~MetricsDetector() override = default;

    void finish() override;
    void detect(Vehicle* vehicle, double time) override;
    void openFiles() override;
    void endInterval() override;
    void resetInterval() override;

    // Counts a vehicle that passed the filter; `time` (s) is the start of the step.
    void record(const Vehicle& vehicle, double time);

    // The file name without the folder, e.g. "FD_All_Pos_1000.csv".
    std::string fileName() const;
    // The name a detector of this kind, filter, direction and road x (m) writes; "" when it
    // writes no file (a composition of one class other than all vehicles or all trucks).
    static std::string fileNameFor(short kind, short vehicleTypes, bool directionPositive, int roadX);

    void collectLostFiles(std::vector<std::string>& paths) override;

    // Told each interval's row as a flow-and-density detector writes it; null for none. Not
    // owned; it must outlive the run or be taken away first.
    void setFlowDensityObserver(FlowDensityObserver* listener) { observer = listener; }
    double getIntervalSeconds() const { return interval; }
    int getLaneCount() const { return laneCount; }
    short getVehicleTypes() const { return vehicleTypes; }

private:
    bool writesComposition() const;
    void writeHeader(const std::vector<std::string>& lines);
    void writeFlowDensityRow();
    void writeHeadwayRows();
    void writeCompositionRow();

    MeasurementFile file;
    std::array<int, 5> classCounts{};            // vehicles per class in the interval (composition)
    std::vector<int> counts;                     // vehicles per lane in the interval (flow and density)
    std::vector<double> inverseSpeedSums;        // Σ 1/v per lane in the interval, s/m (flow and density)
    std::vector<std::vector<double>> headways;   // s, per lane in the interval
    std::vector<double> lastPassTime;            // s, per lane over the whole run
    std::vector<FlowDensityFigures> rowFigures;  // the lanes and the totals of the row written last
    FlowDensityObserver* observer = nullptr;
};
