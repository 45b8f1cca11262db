#pragma once
// What the Results window knows of the run that wrote the folder it shows: the clock at the run's
// start, so that every time axis shows the time of day, and the lanes of each direction, so that
// lanes have one name; with a line telling the user where the start came from.

#include "measurements/BridgeResults.h"
#include "measurements/MeasurementFolder.h"
#include "measurements/RunContext.h"
#include "recorders/SpaceTimePicture.h"

#include <QString>

#include <vector>

// The run whose space-time diagram the window holds, and the folder it wrote.
struct RunJustMade
{
    QString folder;
    std::optional<double> start;
    RoadLanes lanes;

    static RunJustMade of(const SpaceTimeSource& source, const QString& folder);
};

struct FolderRun
{
    RunContext context;
    QString startFrom;  // where the start was found

    // The start from the run's summary (in the folder or, for a run's metrics folder, above it),
    // else from the bridges' first interval, else from the recorded run when it wrote this folder.
    static FolderRun of(const MeasurementFolder& folder, const std::vector<BridgeResults>& bridges,
                        const RunJustMade* recorded);

    // "run started at 07:30:02 on day 1 (summary.txt)", or that the start is not known.
    QString text() const;
};
