// Over a gap in the traffic the clock is carried forward in one call of step(), and every file
// and figure comes out as the step-by-step run writes it: the interval rows inside the gap too.

#include "config/MersenneTwister.h"
#include "document/RecordingMessages.h"
#include "document/StudyDocument.h"
#include "document/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <sstream>

namespace fs = std::filesystem;

namespace {
struct RunResult
{
    std::map<std::string, std::string> files;
    RunStatistics statistics;
    long long calls = 0;
};

// The example's first 300 vehicles, then its next 300 a day later (the day column is at 4).
std::string trafficWithADayGap()
{
    std::istringstream example(TemporaryFolder::read(std::string(ROADFLUX_SOURCE_DIR) + "/examples/traffic.txt"));
    std::string traffic;
    std::string line;
    for (int n = 0; n < 600 && std::getline(example, line); ++n)
    {
        if (n >= 300)
            line.replace(4, 2, " 2");
        traffic += line + "\n";
    }
    return traffic;
}

RunResult runExample(const TemporaryFolder& folder, bool carriesClock, const std::string& name)
{
    StudyDocument document;
    EXPECT_EQ(document.openFile(std::string(ROADFLUX_SOURCE_DIR) + "/examples/study.rfx"), StudyFileResult::ok);
    fs::create_directories(folder.file(name + "/metrics"));
    document.setInputFileName(folder.file("traffic.txt"));
    document.setOutputFileName(folder.file(name + "/output.txt"));
    document.setMetricsFolder(folder.file(name + "/metrics"));
    theRandomGenerator.seed(5);
    RecordingMessages messages;
    EXPECT_TRUE(document.setupSimulation(messages));
    Sim& sim = document.getSim();
    sim.setCarriesClockOverEmptyRoad(carriesClock);
    RunResult result;
    bool running = true;
    while (running)
    {
        sim.step(running);
        ++result.calls;
    }
    sim.reset();
    result.statistics = sim.getStatistics();
    for (const auto& entry : fs::recursive_directory_iterator(folder.file(name)))
        if (entry.is_regular_file())
            result.files[fs::relative(entry.path(), folder.file(name)).string()] =
                TemporaryFolder::read(entry.path().string());
    return result;
}

TEST(EmptyRoadClock, ADayWithoutTrafficIsCarriedOverAndEveryFileIsAsStepByStep)
{
    TemporaryFolder folder;
    folder.write("traffic.txt", trafficWithADayGap());
    const RunResult stepped = runExample(folder, false, "stepped");
    const RunResult carried = runExample(folder, true, "carried");

    ASSERT_EQ(stepped.files.size(), 8u);
    for (const auto& [name, content] : stepped.files)
        EXPECT_TRUE(carried.files.at(name) == content) << name << " differs";
    // The flow rows of the empty day (a minute each) are there.
    EXPECT_GT(std::count(stepped.files.at("metrics/FD_All_Pos_1500.csv").begin(),
                         stepped.files.at("metrics/FD_All_Pos_1500.csv").end(), '\n'),
              1440);

    EXPECT_EQ(carried.statistics.steps, stepped.statistics.steps);
    EXPECT_EQ(carried.statistics.vehicleSteps, stepped.statistics.vehicleSteps);
    EXPECT_EQ(carried.statistics.vehiclesReleased, 600);
    EXPECT_EQ(carried.statistics.currentTime, stepped.statistics.currentTime);
    EXPECT_EQ(stepped.calls, stepped.statistics.steps);
    // A day at 0.1 s is 864000 steps; carried over in a call per 2^20 steps at most.
    EXPECT_LT(carried.calls, stepped.calls - 800000);
}
}
