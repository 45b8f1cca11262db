#pragma once
// The runner's --trajectories FILE: every vehicle sampled at a fixed interval of simulated time,
// streamed as CSV while the run goes on, and a side file "<FILE without extension>.summary.txt"
// with the run's release-delay and minimum-gap figures, written when the run ends.

#include "engine/RunStatistics.h"
#include "recorders/TrajectoryCsvWriter.h"
#include "recorders/TrajectoryRecorder.h"

#include "files/OutputStream.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

class FileClaim;
class FileClaims;
class Vehicle;

class TrajectoryOutput
{
public:
    // Throws CliFailure when the interval (s) is not a positive number of seconds.
    TrajectoryOutput(std::string fileName, double intervalSeconds);

    // The side file's name for a trajectories file.
    static std::string figuresFileName(const std::string& fileName);

    // Before the run touches any file: both files checked against every other file of the run
    // (`runFiles`: the study's inputs and outputs, and whatever the runner adds), then opened
    // without emptying and locked into `claim` as the study's outputs are. Throws CliFailure.
    void claim(FileClaims runFiles, FileClaim& claim) const;

    // Empties the file and writes its header; startTime (s) is the clock before the first step,
    // stepLength (s) the run's time step.
    void start(double startTime, double stepLength);
    // After each step, with the clock at its end and the lists the step returned.
    void observe(double time, const std::vector<std::vector<Vehicle*>>& lanes);
    // Closes the CSV file and writes the side file; a message naming the file when either
    // could not be written.
    std::optional<std::string> finish(const RunStatistics& statistics);

    const std::string& getFileName() const { return fileName; }
    const std::string& getFiguresFileName() const { return figuresFile; }

private:
    void addOutputsTo(FileClaims& files) const;

    std::string fileName;
    std::string figuresFile;
    double interval;  // s
    std::unique_ptr<OutputFile> csv;
    std::unique_ptr<TrajectoryCsvWriter> writer;
    std::unique_ptr<TrajectoryRecorder> recorder;
    bool writeFailed = false;
};
