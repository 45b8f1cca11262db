#include "resultswindow/FolderRun.h"

#include "measurements/RunStart.h"

#include <QDir>

#include <cmath>

RunJustMade RunJustMade::of(const SpaceTimeSource& source, const QString& folder)
{
    RunJustMade run{folder, source.runStart, {}};
    for (const SpaceTimeSource::Lane& lane : source.lanes)
        ++(lane.direction == 2 ? run.lanes.direction2 : run.lanes.direction1);
    return run;
}

FolderRun FolderRun::of(const MeasurementFolder& folder, const std::vector<BridgeResults>& bridges,
                        const RunJustMade* recorded)
{
    FolderRun run;
    const bool recordedHere =
        recorded != nullptr && QDir(recorded->folder) == QDir(QString::fromStdString(folder.folder.string()));
    run.context.lanes = RoadLanes::of(folder).orElse(recordedHere ? recorded->lanes : RoadLanes{});
    if (const RunStart::Found summary = RunStart::ofFolder(folder.folder); summary.seconds)
    {
        run.context.start = summary.seconds;
        run.startFrom = QDir::toNativeSeparators(QString::fromStdString(summary.summary.string()));
        return run;
    }
    for (const BridgeResults& bridge : bridges)
        if (bridge.isRead() && !bridge.rows.empty())
        {
            run.context.start = bridge.runStart();
            run.startFrom = QString::fromStdString(bridge.seriesPath.filename().string());
            return run;
        }
    if (recordedHere && recorded->start)
    {
        run.context.start = recorded->start;
        run.startFrom = QStringLiteral("the run just made");
    }
    return run;
}

QString FolderRun::text() const
{
    if (!context.start)
        return QStringLiteral("the run's start is not known (no summary.txt): times count from it");
    const auto hundredths = static_cast<long long>(std::llround(*context.start * 100.0));
    const long long seconds = hundredths / 100;
    return QStringLiteral("run started at %1:%2:%3 on day %4 (%5)")
        .arg(seconds / 3600 % 24, 2, 10, QLatin1Char('0'))
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds / 86400 + 1)
        .arg(startFrom);
}
