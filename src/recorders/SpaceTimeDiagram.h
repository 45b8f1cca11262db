#pragma once
// The space-time diagram of a run, kept in bounded memory for a run of any length: for every
// lane a fixed grid (SpaceTimeRaster) into which each vehicle's path between two successive
// samples is drawn as a line, the cells keeping the vehicles' speed.
//
// Axes, for whoever draws it:
// - time: column c covers [startTime + c * secondsPerColumn, startTime + (c + 1) * secondsPerColumn)
//   seconds of the clock (the traffic files' calendar, as Sim::getTime()). The grid starts with
//   one column per sample interval; a sample beyond the last column halves the time resolution
//   (pairs of columns merge, getSecondsPerColumn() doubles), so the whole run always fits.
//   Columns from getUsedColumns() on hold nothing yet.
// - position: row r covers [r * metresPerRow, (r + 1) * metresPerRow) metres from the start of the
//   lane's own direction (0 at entry, growing towards the road length L in both directions; a
//   picture in road x flips direction 2). Vehicles beyond L (they leave at L + 10 m) are not drawn.
// - lanes: road-wide lane numbers from 1, direction 1's lanes first (from the kerb side), then
//   direction 2's (ending at its kerb side), as in the traffic files; getDirectionOfLane() says
//   which direction a lane belongs to.
// - value: a cell's mean speed in m/s (NaN: nothing passed through it). getMaximumSpeed() gives
//   the top of a colour scale.
//
// Memory: lanes x columns x rows x 5 bytes (3.2 MB for 2 + 2 lanes at the default size), taken
// at the first snapshot and never more.
//
// Fed by a TrajectoryRecorder (it is a TrajectorySink); read once the run is over, or between
// steps: it is not safe to read from another thread while it is fed.
//
//   TrajectoryRecorder recorder(sim.getTime(), interval);
//   SpaceTimeDiagram diagram({.roadLength = 3000.0, .lanesDir1 = 2, .lanesDir2 = 2,
//                             .startTime = sim.getTime(), .secondsPerColumn = interval});
//   recorder.addSink(diagram);
//   while (running)
//   {
//       const auto& lanes = sim.step(running);
//       recorder.observe(sim.getTime(), lanes);
//   }
//   std::vector<float> speeds = diagram.speedImage({1, 2});  // direction 1 of a 2 + 2 road

#include "recorders/PathEnds.h"
#include "recorders/SpaceTimePicture.h"
#include "recorders/SpaceTimeRaster.h"
#include "recorders/TrajectorySink.h"

#include <cmath>
#include <memory>
#include <vector>

class SpaceTimeDiagram : public TrajectorySink
{
public:
    // 800 x 200 cells of 5 bytes: 0.8 MB a lane.
    static constexpr int defaultColumns = 800;
    static constexpr int defaultRows = 200;

    struct Layout
    {
        double roadLength = 3000.0;  // m
        int lanesDir1 = 1;
        int lanesDir2 = 0;
        double startTime = 0.0;         // s, the clock before the run's first step
        double secondsPerColumn = 1.0;  // s, at the start; use the recorder's interval
        int columns = defaultColumns;   // 1 to 16384
        int rows = defaultRows;         // 1 to 16384
    };

    explicit SpaceTimeDiagram(const Layout& layout);

    void addSnapshot(double time, std::span<const TrajectorySample> samples) override;

    int getLaneCount() const { return lanesDir1 + lanesDir2; }
    // 1 or 2; 0 for a number that is no lane of the road.
    int getDirectionOfLane(int laneNumber) const;
    int getColumns() const { return columns; }
    int getRows() const { return rows; }
    double getStartTime() const { return startTime; }
    double getSecondsPerColumn() const { return secondsPerColumn; }
    double getMetresPerRow() const { return metresPerRow; }
    double getRoadLength() const { return roadLength; }
    // The clock of the last snapshot (s); the start time before the first.
    double getEndTime() const { return endTime; }
    // Columns up to and including the last snapshot's; 0 before the first.
    int getUsedColumns() const;
    // m/s, the fastest sample drawn; 0 before any.
    float getMaximumSpeed() const { return maximumSpeed; }

    // Mean speed (m/s) of one lane's cell; NaN when empty or outside the grid or the road.
    float meanSpeed(int laneNumber, int column, int row) const;
    // The selected lanes merged: getRows() x getColumns() mean speeds (m/s), row-major, row 0
    // at position 0; NaN where none of the lanes had a vehicle.
    std::vector<float> speedImage(const std::vector<int>& laneNumbers) const;
    // The selected lanes' columns recorded so far, ready to draw.
    SpaceTimePicture picture(const std::vector<int>& laneNumbers) const;
    // The run's lanes and their pictures on demand; the source keeps the diagram for as long as
    // a window shows it.
    static SpaceTimeSource sourceOf(std::shared_ptr<const SpaceTimeDiagram> diagram);

private:
    double columnAt(double time) const { return (time - startTime) * columnsPerSecond; }
    double rowAt(double position) const { return position * rowsPerMetre; }
    void fitTime(double time);
    SpaceTimeRaster* rasterOf(int laneNumber);
    const SpaceTimeRaster* rasterOf(int laneNumber) const;
    void makeRasters();
    void drawPoint(SpaceTimeRaster& raster, double time, double position, float speed);
    void drawLine(SpaceTimeRaster& raster, const PathEnds::End& from, double time, double position, float speed);

    double roadLength;  // m
    int lanesDir1;
    int lanesDir2;
    double startTime;         // s
    double secondsPerColumn;  // s
    double metresPerRow;      // m
    double columnsPerSecond;  // 1/s
    double rowsPerMetre;      // 1/m
    int columns;
    int rows;
    double endTime;             // s
    float maximumSpeed = 0.0f;  // m/s
    // By lane index, made with the first snapshot, their cells in one block.
    std::unique_ptr<ZeroedBlock> cells;
    std::vector<SpaceTimeRaster> rasters;
    // Where each vehicle's path ended at the previous snapshot, taken at previousTime (s).
    PathEnds pathEnds;
    double previousTime = -HUGE_VAL;
    std::vector<PathEnds::End> currentEnds;  // this snapshot's, kept to refill a grown table
};
