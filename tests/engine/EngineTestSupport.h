#pragma once
// Helpers for the engine tests: hand-made TALVOR traffic files in a temporary folder, driver
// parameter sets with constant draws, a study set up the way the document sets up a run, and
// vehicles placed by hand on lanes.

#include "config/CIDMParameterSet.h"
#include "config/CRoadFeature.h"
#include "config/CStatDetector.h"
#include "engine/Sim.h"
#include "vehicles/IDM.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

class Vehicle;

// A folder under the system's temporary folder, removed with everything in it.
class TempFolder
{
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::string file(const std::string& name) const { return (path / name).string(); }
    std::string folder() const { return path.string() + "/"; }

private:
    std::filesystem::path path;
};

// One input record; time is seconds from the start of the calendar's first day.
struct TalvorRecord
{
    double time = 0.0;  // s
    int direction = 1;
    int lane = 1;                              // as numbered in the file
    double speed = 20.0;                       // m/s
    int gvw = 15;                              // units of 100 kg
    double length = 4.5;                       // m
    std::vector<int> axleWeights{8, 7};        // units of 100 kg
    std::vector<double> axleSpacings{2.5, 0};  // m
};

TalvorRecord carRecord(double time, int direction, int lane, double speed);
// A five-axle large truck, 16 m long.
TalvorRecord truckRecord(double time, int direction, int lane, double speed);

std::string talvorLine(const TalvorRecord& record);
void writeTrafficFile(const std::string& fileName, const std::vector<TalvorRecord>& records);
std::vector<std::string> readLines(const std::string& fileName);
std::string readText(const std::string& fileName);

// Driver parameters, with v0 in km/h as the parameter sets hold it.
struct DriverValues
{
    double T = 1.2;    // s
    double a = 1.0;    // m/s²
    double b = 2.0;    // m/s²
    double s0 = 1.0;   // m
    double s1 = 0.0;   // m
    double v0 = 72.0;  // km/h
    double delta = 4.0;
    double p = 0.0;
    double bias = 0.1;       // m/s²
    double threshold = 0.3;  // m/s²
};

// Constant speed: with delta 0 the free term vanishes, so with FarObstacle a lone vehicle keeps
// its speed to the last bit.
DriverValues steadyDriver();

void setConstant(CIDMParameterSet& set, const DriverValues& values);
IDM makeDriver(const DriverValues& values);

// What the document hands to the Sim before a run.
struct Study
{
    Study();

    std::string inputFile;
    std::string outputFile;
    std::string metricsFolder;
    unsigned short fileFormat = 101;
    int roadLength = 3000;  // m
    int lanesDir1 = 1;
    int lanesDir2 = 0;
    int fileLanesDir1 = 1;
    int fileLanesDir2 = 0;
    double timeStep = 0.1;       // s
    int outputDetector1 = 2500;  // m, road x
    int outputDetector2 = 2500;  // m, road x
    bool laneChangesAllowed = false;
    bool outputCars = true;
    bool drivesOnRight = true;
    std::vector<CRoadFeature> features;
    std::vector<CStatDetector> detectors;
    CIDMParameterSet sets[5];

    void setAllDrivers(const DriverValues& values);
    void addDetector(unsigned short kind, bool positive, int location, int interval);
};

// The document's set-up order, ending with Sim::initialise.
void setUpRun(Sim& sim, Study& study);
// Steps until the run ends or maxSteps have been made; returns the steps made.
int runToEnd(Sim& sim, int maxSteps);

// Puts the virtual obstacle beyond the road's end so far away that its pull on a lead vehicle
// is below the rounding of its speed; restores the configuration afterwards.
class FarObstacle
{
public:
    FarObstacle();
    ~FarObstacle();

private:
    int saved;
};

// A vehicle placed by hand: driver model given, road set, as the road does at release.
std::unique_ptr<Vehicle> placeVehicle(double position, double velocity, double length, const IDM& driver, int lane,
                                      bool directionPositive, int roadLength, bool drivesOnRight = true);

// Records of both directions, in time order: per lane a vehicle every 2 to 4 s at 18 to 25 m/s,
// one in five a truck; drawn from a fixed seed so every call gives the same file.
std::vector<TalvorRecord> mixedTraffic(double seconds, int lanesPerDirection, unsigned seed);
