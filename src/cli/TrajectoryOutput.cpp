#include "cli/TrajectoryOutput.h"

#include "cli/CliFailure.h"
#include "engine/RunFigureText.h"
#include "files/FileClaims.h"
#include "files/OutputStream.h"

#include <cstdio>
#include <filesystem>

namespace fs = std::filesystem;

TrajectoryOutput::TrajectoryOutput(std::string name, double intervalSeconds)
    : fileName(std::move(name)), figuresFile(figuresFileName(fileName)), interval(intervalSeconds)
{
    if (!TrajectoryRecorder::isUsableInterval(intervalSeconds))
        throw CliFailure("--trajectory-interval: the sample interval must be a positive number of seconds");
}

std::string TrajectoryOutput::figuresFileName(const std::string& name)
{
    return fs::path(name).replace_extension(".summary.txt").string();
}

void TrajectoryOutput::addOutputsTo(FileClaims& files) const
{
    files.addOutput(fileName, "the trajectories file");
    files.addOutput(figuresFile, "the trajectories' figures file");
}

void TrajectoryOutput::claim(FileClaims runFiles, FileClaim& claim) const
{
    // The run is refused either way; the message then names the files that clash.
    if (const std::optional<std::string> conflict = runFiles.findConflict())
        throw CliFailure(*conflict);
    addOutputsTo(runFiles);
    if (const std::optional<std::string> conflict = runFiles.findConflict())
        throw CliFailure(fileName + ": --trajectories: " + *conflict);
    FileClaims own;
    addOutputsTo(own);
    if (const std::optional<std::string> problem = own.claim(claim))
        throw CliFailure("--trajectories: " + *problem);
}

void TrajectoryOutput::start(double startTime, double stepLength)
{
    csv = std::make_unique<OutputFile>(fileName);
    if (!csv->isOpen())
        throw CliFailure(fileName + ": --trajectories: the file cannot be written (" + csv->error() + ")");
    writer = std::make_unique<TrajectoryCsvWriter>(*csv);
    recorder = std::make_unique<TrajectoryRecorder>(startTime, interval);
    recorder->setStepLength(stepLength);
    recorder->addSink(*writer);
}

void TrajectoryOutput::observe(double time, const std::vector<std::vector<Vehicle*>>& lanes)
{
    // A file that refused a write (a full disk, say) is given up; the run goes on.
    if (writeFailed || !recorder)
        return;
    if (recorder->observe(time, lanes) && !*csv)
        writeFailed = true;
}

std::optional<std::string> TrajectoryOutput::finish(const RunStatistics& statistics)
{
    if (writer && !writeFailed)
        writer->flush();
    if (csv && !csv->close())
        writeFailed = true;
    if (writeFailed)
        return fileName + ": the trajectories file could not be written whole";

    OutputFile figures(figuresFile);
    char text[64];
    std::snprintf(text, sizeof text, "%g", interval);
    figures << "Trajectories:        " << fileName << '\n'
            << "Sample interval (s): " << text << '\n'
            << "Snapshots:           " << (recorder ? recorder->getSnapshotCount() : 0) << '\n'
            << "Rows:                " << (writer ? writer->getRowCount() : 0) << '\n'
            << summaryLine(releaseDelayLabel, releaseDelayText(statistics.releaseDelays))
            << summaryLine(minimumGapLabel, minimumGapText(statistics.gaps));
    if (!figures.close())
        return figuresFile + ": the trajectories' figures could not be written";
    return std::nullopt;
}
