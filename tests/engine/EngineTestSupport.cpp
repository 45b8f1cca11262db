#include "EngineTestSupport.h"

#include "config/CConfigData.h"
#include "config/CDistribution.h"
#include "vehicles/DriverModelDraw.h"
#include "vehicles/Truck.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>

TempFolder::TempFolder()
{
    std::random_device device;
    path = std::filesystem::temp_directory_path() / ("roadflux-engine-" + std::to_string(device()));
    std::filesystem::create_directories(path);
}

TempFolder::~TempFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

TalvorRecord carRecord(double time, int direction, int lane, double speed)
{
    TalvorRecord record;
    record.time = time;
    record.direction = direction;
    record.lane = lane;
    record.speed = speed;
    return record;
}

TalvorRecord truckRecord(double time, int direction, int lane, double speed)
{
    TalvorRecord record = carRecord(time, direction, lane, speed);
    record.gvw = 300;
    record.length = 16.0;
    record.axleWeights = {60, 60, 60, 60, 60};
    record.axleSpacings = {3.2, 1.3, 6.0, 1.3, 0};
    return record;
}

std::string talvorLine(const TalvorRecord& record)
{
    const auto hundredthsTotal = static_cast<long long>(record.time * 100.0 + 0.5);
    const long long seconds = hundredthsTotal / 100;
    char text[128];
    std::snprintf(text, sizeof text, "%4d%2d%2d%2d%2lld%2lld%2lld%2lld%3d%4d%3d%1d%1d%1d%3d", 1001, 1, 1, 0,
                  seconds / 3600, seconds / 60 % 60, seconds % 60, hundredthsTotal % 100,
                  static_cast<int>(record.speed * 10.0 + 0.5), record.gvw, static_cast<int>(record.length * 10.0 + 0.5),
                  static_cast<int>(record.axleWeights.size()), record.direction, record.lane, 0);
    std::string line = text;
    for (std::size_t i = 0; i < 9; ++i)
    {
        const int weight = i < record.axleWeights.size() ? record.axleWeights[i] : 0;
        const double spacing = i < record.axleSpacings.size() ? record.axleSpacings[i] : 0.0;
        std::snprintf(text, sizeof text, "%3d", weight);
        line += text;
        if (i < 8)
        {
            std::snprintf(text, sizeof text, "%2d", static_cast<int>(spacing * 10.0 + 0.5));
            line += text;
        }
    }
    return line;
}

void writeTrafficFile(const std::string& fileName, const std::vector<TalvorRecord>& records)
{
    std::ofstream out(fileName, std::ios::binary);
    for (const TalvorRecord& record : records)
        out << talvorLine(record) << '\n';
}

std::vector<std::string> readLines(const std::string& fileName)
{
    std::ifstream in(fileName, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::string readText(const std::string& fileName)
{
    std::ifstream in(fileName, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

DriverValues steadyDriver()
{
    DriverValues values;
    values.delta = 0.0;
    return values;
}

void setConstant(CIDMParameterSet& set, const DriverValues& values)
{
    CParameter* parameters[] = {
        &set.getParamT(),  &set.getParamA(),     &set.getParamB(), &set.getParamS0(),         &set.getParamS1(),
        &set.getParamV0(), &set.getParamDelta(), &set.getParamP(), &set.getParamDeltaAbias(), &set.getParamDeltaAth()};
    const double numbers[] = {values.T,  values.a,     values.b, values.s0,   values.s1,
                              values.v0, values.delta, values.p, values.bias, values.threshold};
    for (std::size_t i = 0; i < 10; ++i)
    {
        parameters[i]->getDistribution().setType(CDistribution::constant);
        parameters[i]->getDistribution().setLocation(numbers[i]);
    }
}

IDM makeDriver(const DriverValues& values)
{
    CIDMParameterSet set;
    setConstant(set, values);
    return drawDriverModel(set);
}

Study::Study()
{
    for (int vehicleClass = 0; vehicleClass < 5; ++vehicleClass)
        sets[vehicleClass].setVehicleClass(vehicleClass);
}

void Study::setAllDrivers(const DriverValues& values)
{
    for (CIDMParameterSet& set : sets)
        setConstant(set, values);
}

void Study::addDetector(unsigned short kind, bool positive, int location, int interval)
{
    CStatDetector definition;
    definition.setKind(kind);
    definition.setDirectionPositive(positive);
    definition.setLocation(location);
    definition.setInterval(interval);
    detectors.push_back(definition);
}

void setUpRun(Sim& sim, Study& study)
{
    sim.setInputFile(study.inputFile);
    sim.setOutputFile(study.outputFile);
    sim.setFileFormat(study.fileFormat);
    sim.setNumDirections(study.lanesDir1 >= 1 && study.lanesDir2 >= 1 ? 2 : 1);
    sim.setTotalLanes(study.lanesDir1 + study.lanesDir2);
    sim.setLanesDir1(study.lanesDir1);
    sim.setLanesDir2(study.lanesDir2);
    sim.setRoadLength(study.roadLength);
    sim.setTimeStep(study.timeStep);

    Road& road = sim.getRoad();
    for (int vehicleClass = 0; vehicleClass < 5; ++vehicleClass)
        road.setIDMParameterSet(vehicleClass, &study.sets[vehicleClass]);
    for (const CRoadFeature& feature : study.features)
        road.addRoadFeature(feature);
    for (CStatDetector& definition : study.detectors)
    {
        definition.setOutputFolder(study.metricsFolder);
        road.addStatDetector(definition, study.lanesDir1, study.lanesDir2);
    }
    road.setFileLanesDir1(study.fileLanesDir1);
    road.setFileLanesDir2(study.fileLanesDir2);
    road.setOutputDetectorLocation1(study.outputDetector1);
    road.setOutputDetectorLocation2(study.outputDetector2);
    road.setLaneChangesAllowed(study.laneChangesAllowed);
    road.setOutputCars(study.outputCars);
    road.setDrivesOnRight(study.drivesOnRight);
    sim.initialise();
}

int runToEnd(Sim& sim, int maxSteps)
{
    bool running = true;
    int steps = 0;
    while (running && steps < maxSteps)
    {
        sim.step(running);
        ++steps;
    }
    return steps;
}

FarObstacle::FarObstacle() : saved(theConfigData.virtualObstacleDistance)
{
    theConfigData.virtualObstacleDistance = 2000000000;
}

FarObstacle::~FarObstacle()
{
    theConfigData.virtualObstacleDistance = saved;
}

std::unique_ptr<Vehicle> placeVehicle(double position, double velocity, double length, const IDM& driver, int lane,
                                      bool directionPositive, int roadLength, bool drivesOnRight)
{
    auto v = std::make_unique<Truck>();
    v->position = position;
    v->roadX = position;
    v->velocity = velocity;
    v->length = length;
    v->direction = directionPositive ? 1 : 2;
    v->directionPositive = directionPositive;
    v->lane = lane;
    v->vehicleClass = 2;
    v->setDriverModel(driver);
    v->setRoad(roadLength, drivesOnRight);
    return v;
}

std::vector<TalvorRecord> mixedTraffic(double seconds, int lanesPerDirection, unsigned seed)
{
    std::mt19937 generator(seed);
    std::uniform_real_distribution<double> headway(2.0, 4.0);  // s
    std::uniform_real_distribution<double> speed(18.0, 25.0);  // m/s
    std::vector<TalvorRecord> records;
    for (int direction = 1; direction <= 2; ++direction)
        for (int lane = 1; lane <= lanesPerDirection; ++lane)
            for (double time = headway(generator); time < seconds; time += headway(generator))
            {
                const int fileLane = direction == 1 ? lane : lanesPerDirection + lane;
                const bool truck = generator() % 5 == 0;
                records.push_back(truck ? truckRecord(time, direction, fileLane, speed(generator))
                                        : carRecord(time, direction, fileLane, speed(generator)));
            }
    std::stable_sort(records.begin(), records.end(),
                     [](const TalvorRecord& a, const TalvorRecord& b) { return a.time < b.time; });
    return records;
}
