#pragma once
// Run folders written by hand for the comparison tests, in a temporary folder removed afterwards.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

class RunFolders : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::random_device seed;
        root = std::filesystem::temp_directory_path() / ("roadflux-replications-" + std::to_string(seed()));
        std::filesystem::create_directories(root);
    }
    void TearDown() override { std::filesystem::remove_all(root); }

    std::filesystem::path run(const std::string& name) const { return root / name; }

    void write(const std::string& runName, const std::string& file, const std::string& content) const
    {
        const std::filesystem::path path =
            file == "summary.txt" ? run(runName) / file : run(runName) / "metrics" / file;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << content;
    }

    static std::string read(const std::filesystem::path& path)
    {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    // Two lanes, 60 s intervals.
    static std::string flowDensity(const std::string& rows)
    {
        return " ,Lane 1, , ,Lane 2, , ,Totals\n"
               "Interval No.,Density (veh/km),Flow (veh/hr),Avg. Vel. (km/h),Density (veh/km),Flow (veh/hr),"
               "Avg. Vel. (km/h),Density (veh/km),Flow (veh/hr),Avg. Vel. (km/h)\n" +
               rows;
    }

    static std::string summary(double start, double end, int written, const std::string& extra = "")
    {
        return "The simulation has finished.\n"
               "Simulated start:     " +
               std::to_string(start) +
               " s (year 0, month 1, day 1, 00:16:40.00)\n"
               "Simulated end:       " +
               std::to_string(end) +
               " s (year 0, month 1, day 1, 00:20:00.00)\n"
               "Vehicles written:    " +
               std::to_string(written) + "\n" + extra +
               "Wall time:           0.500 s (1000 vehicle-steps per second)\n"
               "Output traffic file: /runs/x.partial/output.txt\n";
    }

    // Three runs whose figures are worked out by hand in the tests. The third run is shorter:
    // it completed two intervals, and a lane without vehicles leaves empty cells.
    void writeThreeRuns() const
    {
        write("seed1", "FD_All_Pos_1500.csv",
              flowDensity("1,,0,,,0,,,0,\n"
                          "2,7,600,80,6,600,100,13,1200,90\n"
                          "3,8,540,70,9,600,66,17,1140,68\n"));
        write("seed2", "FD_All_Pos_1500.csv",
              flowDensity("1,,0,,5,60,72,,60,\n"
                          "2,8,660,90,7,600,90,15,1260,90\n"
                          "3,9,600,66,8,600,75,17,1200,70.5\n"));
        write("seed3", "FD_All_Pos_1500.csv",
              flowDensity("1,,0,,,0,,,0,\n"
                          "2,12,720,100,8,600,80,20,1320,90\n"));
        const char* composition = "No. Cars,No. Small Trucks,No. Large Trucks,No. Cranes,No. Low-Loaders\n";
        write("seed1", "Comp_All_Pos_2500.csv", std::string(composition) + "10,1,0,0,0\n");
        write("seed2", "Comp_All_Pos_2500.csv", std::string(composition) + "12,2,0,0,1\n");
        write("seed3", "Comp_All_Pos_2500.csv", std::string(composition) + "14,3,0,0,2\n");
        write(
            "seed1", "summary.txt",
            summary(
                1000, 1200, 100,
                "Seed:                1\n"
                "Release delay (s):   mean 0.70, 95th percentile 1.40, maximum 2.00; 0 vehicles waited more than 10 s\n"
                "Minimum gap (m):     23.50; 0 vehicle-steps with a gap of 0 m or less\n"));
        write(
            "seed2", "summary.txt",
            summary(
                1000, 1200, 110,
                "Seed:                2\n"
                "Release delay (s):   mean 0.90, 95th percentile 1.80, maximum 3.00; 1 vehicles waited more than 10 s\n"
                "Minimum gap (m):     20.50; 0 vehicle-steps with a gap of 0 m or less\n"));
        // A runner that writes neither the seed, release delays nor the minimum gap.
        write("seed3", "summary.txt", summary(1000, 1170, 90));
    }

    std::vector<std::filesystem::path> threeRuns() const { return {run("seed1"), run("seed2"), run("seed3")}; }

    std::filesystem::path root;
};
