#pragma once
// The load effects of a set of bridges during one run, fed from outside the engine with the
// per-lane vehicle lists each step returns and the clock after it. Writes LE_<name>.csv (one
// row per interval, as intervals close), LE_<name>_seconds.csv (the extremes of each loaded
// second) and LE_<name>_events.csv (at the end) in the metrics folder. The clock may jump over
// steps of empty road: they count as steps with no load.

#include "loadeffects/BridgeMonitor.h"
#include "loadeffects/BridgeSet.h"
#include "loadeffects/StepClock.h"

#include <memory>
#include <string>
#include <vector>

class MeasurementFile;

struct PreparedBridge
{
    Bridge bridge;
    InfluenceLine line;
};

class LoadEffectRun
{
public:
    // The influence line of each bridge; file: lines are read from beside the bridges file.
    static std::vector<BridgeProblem> prepare(const BridgeSet& set, const std::string& bridgesFolder,
                                              std::vector<PreparedBridge>& prepared);

    // startTime: the run's clock before its first step (s).
    LoadEffectRun(const std::vector<PreparedBridge>& bridges, const RoadLayout& road, double startTime,
                  std::string metricsFolder);
    ~LoadEffectRun();
    LoadEffectRun(const LoadEffectRun&) = delete;
    LoadEffectRun& operator=(const LoadEffectRun&) = delete;

    // Creates the output files with their header lines; returns the paths that cannot be created.
    std::vector<std::string> openFiles();

    // After each step: its lists (one per road-wide lane, front-most first) and the clock.
    void observe(const std::vector<std::vector<Vehicle*>>& lanes, double time);
    // Closes the last interval, writes the events and closes the files. Also after a stopped run.
    void finish();

    const std::vector<BridgeMonitor>& getMonitors() const { return monitors; }
    // After finish(): the files that could not be created or lost lines (a full disk).
    std::vector<std::string> lostFiles() const;

private:
    struct Outputs;

    void writeClosedIntervals(std::size_t bridge);
    void writeClosedSeconds(std::size_t bridge);
    void writeEvents(std::size_t bridge);

    double timeStep;  // s
    std::string folder;
    std::vector<BridgeMonitor> monitors;
    std::vector<std::unique_ptr<Outputs>> outputs;
    long long lastStep = 0;
    double lastTime;  // s, the clock after lastStep
    bool finished = false;
};
