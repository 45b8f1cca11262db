#pragma once
// Collects the lane changes of one direction and writes, per time interval, every event, the
// events per vehicle class, the events as space-time points and the rate of lane changes per km
// and hour in location bins along the road.

#include "detectors/Detector.h"
#include "detectors/LaneChangeEvent.h"
#include "detectors/MeasurementFile.h"

#include <string>
#include <vector>

enum class MeasurementKind;  // of the catalogue of output files, which only the writing needs

class LaneChangeDetector : public Detector
{
public:
    // `intervalSeconds` in s; `locationStep` (m) is the width of the location bins and
    // `roadLength` is in m. A step that is not positive gives one bin for the whole road.
    LaneChangeDetector(const std::string& metricsDirectory, double intervalSeconds, int locationStep, int roadLength,
                       bool directionPositive, short vehicleTypes);
    ~LaneChangeDetector() override = default;

    void finish() override;
    void openFiles() override;
    void endInterval() override;
    void resetInterval() override;

    // Keeps the event when its vehicle class passes the filter.
    void record(const LaneChangeEvent& event);

    // The names of the files a lane-change detector with this filter and direction writes.
    static std::vector<std::string> fileNamesFor(short vehicleTypes, bool directionPositive);

    void collectLostFiles(std::vector<std::string>& paths) override;

    const std::vector<int>& getBinLocations() const { return binLocations; }
    int getEventCount() const { return eventCount; }

private:
    bool writesComposition() const;
    std::string filePathOf(MeasurementKind fileKind) const;
    std::size_t binOf(int eventLocation) const;
    void writeEvents();
    void writeComposition();
    void writeSpaceTime();
    void writeRates();

    std::vector<LaneChangeEvent> events;  // of the current interval, in order of recording
    int eventCount = 0;
    MeasurementFile allFile;
    MeasurementFile compositionFile;
    MeasurementFile spaceTimeFile;
    MeasurementFile rateFile;
    int locationStep = 0;           // m
    std::vector<int> binLocations;  // m: 0, step, 2 × step, … below the road length, then the road length
    std::vector<int> binCounts;
};
