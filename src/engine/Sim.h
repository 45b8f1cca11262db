#pragma once
// The simulation driver: owns the road and the simulated clock (s, on the traffic files'
// calendar). The document gives it the study's settings, then initialise(), step() until the
// run ends and reset(), whether the run finished or was stopped.
//
// Over empty road the clock may jump: while every lane is empty and the next vehicle is not yet
// due, one call of step() carries the clock through up to emptyStepsPerCall time steps at once.
// Each of those steps is still taken in full measure (the clock at the start time plus the steps
// taken times the step, the detectors' interval clocks advanced and their rows written, the step
// counted), so the
// output and measurement files and the run's statistics are byte for byte what a step-by-step
// run gives. What an observer outside the engine sees differs: between two step() calls
// getTime() may advance by many steps, and the lists step() returns are empty for the whole
// jump. Observers that need a sample every step (trajectories, load effects over time) fill
// the gap themselves (nothing is on the road during it) or turn the jump off.

#include "engine/Road.h"
#include "engine/RunStatistics.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class Vehicle;

class Sim
{
public:
    Sim() = default;
    Sim(const Sim&) = delete;
    Sim& operator=(const Sim&) = delete;

    void setInputFile(const std::string& fileName) { inputFileName = fileName; }
    void setOutputFile(const std::string& fileName) { outputFileName = fileName; }
    void setFileFormat(unsigned short code) { fileFormat = code; }
    void setLanesDir1(int lanes) { lanesDir1 = lanes; }
    void setLanesDir2(int lanes) { lanesDir2 = lanes; }
    void setTimeStep(double seconds) { timeStep = seconds; }
    void setNumDirections(int n) { numDirections = n; }
    void setTotalLanes(int n) { totalLanes = n; }
    // Passed on at once: features and direction-2 positions are mirrored against it.
    void setRoadLength(int metres);

    // On by default; off, every call of step() advances the clock by exactly one step.
    void setCarriesClockOverEmptyRoad(bool carries) { carriesClockOverEmptyRoad = carries; }
    // Bounds one call's jump, so that a caller still looks at its stop flag now and then.
    static constexpr std::int64_t emptyStepsPerCall = std::int64_t{1} << 20;

    Road& getRoad() { return road; }
    void initialise();

    // One step of dt seconds from the clock's time t, in this order:
    //  0. With every lane empty and the next vehicle not yet due, the call only carries the
    //     clock towards its arrival (see above) and returns.
    //  1. Release: the vehicles read ahead, in file order, join the back of their lane once
    //     their time is at most t and the lane's last vehicle is at least the entry gap in; the
    //     first that cannot waits, and all behind it too. Each one released is replaced by
    //     reading ahead. With the road's release per lane, a vehicle that cannot holds back only
    //     its own lane's later vehicles, and each lane takes at most one vehicle a step.
    //  2. Direction 1, then direction 2:
    //     a. the statistics detectors' clocks advance by dt (an interval that ends is written);
    //     b. the lanes are updated in index order. In a lane, from the front to the back, the
    //        front vehicle moves towards the obstacle beyond the road's end and every other one
    //        behind its leader's new position. Right after its move a vehicle that wants to
    //        change lanes may move into a neighbour lane, behind the vehicle at or ahead of it.
    //        The detectors and sections of the lane it is then in see its move. A vehicle that
    //        moved into a lane of higher index is moved again when that lane's turn comes; one
    //        that moved into a lane of lower index is not. Last, a front vehicle more than
    //        10 m beyond the road's end leaves its lane (at most one per lane and step);
    //     c. the output detector writes the records of the step, then the vehicles that left
    //        are deleted.
    //  3. The run ends when both directions were empty as their lanes' updates began and no
    //     vehicle is left to read: the detectors finish and the output traffic file is flushed.
    //  4. The per-lane lists are filled and the clock moves on to t + dt. (Each move sets its
    //     vehicle's road x: direction 2 drives towards lower road x.)
    // Clears `running` in the step that ends the run. Returns the per-lane vehicle lists, which
    // do not own the vehicles (empty over a jump).
    const std::vector<std::vector<Vehicle*>>& step(bool& running);
    double getTime() const { return time; }
    int getProgress() const { return progress; }
    // The lists of the last step, empty after reset.
    const std::vector<std::vector<Vehicle*>>& getVehicles() const { return road.getLastVehicles(); }
    void reset();

    // False when the input gave no vehicle that can drive on this road: such a run ends in
    // its first step, so a caller may prefer to refuse it.
    bool hasTraffic() const { return road.hasTraffic(); }
    // Kept after reset until the next initialise.
    RunStatistics getStatistics() const;

    // Kept while the run lasts and let go by reset(), after the road has closed its files: the
    // set-up's locks on the run's output files.
    void holdUntilReset(std::shared_ptr<void> resource) { heldForRun.push_back(std::move(resource)); }

private:
    // True when steps remain to carry over: the caller's next call goes on from there.
    bool carryClockOverEmptyRoad();
    double clockAt(std::int64_t stepCount) const;
    std::int64_t stepsUntil(double due) const;

    double time = 0.0;  // s
    Road road;
    std::string inputFileName;
    std::string outputFileName;
    unsigned short fileFormat = 101;
    int lanesDir1 = 0;
    int lanesDir2 = 0;
    double timeStep = 0.1;  // s
    int numDirections = 1;
    int totalLanes = 0;
    int roadLength = 0;  // m
    int progress = 0;    // %

    double startTime = 0.0;  // s
    double lastTime = 0.0;   // s, the clock after the last step
    std::int64_t steps = 0;
    std::vector<std::shared_ptr<void>> heldForRun;
    bool carriesClockOverEmptyRoad = true;
};
