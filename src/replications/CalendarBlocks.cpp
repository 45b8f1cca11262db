#include "replications/CalendarBlocks.h"

#include "measurements/LoadEffectTables.h"
#include "outputfiles/MeasurementFileName.h"
#include "replications/ComparisonError.h"
#include "replications/RunFolder.h"
#include "replications/SummaryFigures.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <optional>
#include <set>
#include <utility>

namespace fs = std::filesystem;

namespace {
// Beyond any traffic file's two-digit years: a time past it is a damaged file, and its block
// numbers would overflow.
constexpr double latestTime = 1e10;  // s

struct Point
{
    double time = 0.0;
    double value = 0.0;
};

// What one run contributes to one bridge.
struct Piece
{
    std::size_t run = 0;
    double start = 0.0;
    double end = 0.0;
    std::vector<Point> maxima;  // per second (its end) or per interval (the step of its maximum)
    bool unlistedSecondsAreZero = false;
};

struct RunFiles
{
    fs::path folder;
    std::optional<std::pair<double, double>> summarySpan;
    std::map<std::string, fs::path> intervals;  // by bridge
    std::map<std::string, fs::path> seconds;
};

CsvText load(const fs::path& path)
{
    return CsvText::load(path, path.string());
}

void checkTime(double time, const fs::path& file, const std::string& where)
{
    if (time >= 0.0 && time <= latestTime)
        return;
    char text[40];
    std::snprintf(text, sizeof text, "%.10g", time);
    throw BadFile(file.string(), 0, where + ": the time " + text + " s lies outside the clock (0 to 1e10 s)");
}

RunFiles listRun(const fs::path& folder, std::vector<fs::path>& inputs)
{
    std::error_code error;
    if (!fs::is_directory(folder, error))
        throw ComparisonError(folder.string() + ": not a folder");
    if (RunFolder::isInProgress(folder))
        throw ComparisonError(folder.string() +
                              ": a run in progress or one that failed (its folder ends in .partial), not a whole run");
    RunFiles run;
    run.folder = folder;
    const fs::path metrics = fs::is_directory(folder / "metrics", error) ? folder / "metrics" : folder;
    const fs::path summary = folder / "summary.txt";
    if (fs::is_regular_file(summary, error))
    {
        inputs.push_back(summary);
        run.summarySpan = SummaryFigures::simulatedSpan(SummaryFigures::read(load(summary)));
    }
    fs::directory_iterator entries(metrics, error);
    if (error)
        throw ComparisonError(metrics.string() + ": the folder cannot be listed: " + error.message());
    for (const fs::directory_entry& entry : entries)
    {
        const auto name = MeasurementFileName::parse(entry.path().filename().string());
        if (!name || !entry.is_regular_file(error))
            continue;
        if (name->kind == MeasurementKind::loadEffectIntervals)
            run.intervals[name->bridge] = entry.path();
        else if (name->kind == MeasurementKind::loadEffectSeconds)
            run.seconds[name->bridge] = entry.path();
        else
            continue;
        inputs.push_back(entry.path());
    }
    if (run.intervals.empty() && run.seconds.empty())
        throw ComparisonError(folder.string() +
                              ": no load-effect files (LE_<bridge>.csv or LE_<bridge>_seconds.csv) in " +
                              metrics.string());
    return run;
}

Piece readPiece(const RunFiles& run, std::size_t index, const std::string& bridge, bool& fromIntervals)
{
    Piece piece;
    piece.run = index;
    std::optional<std::pair<double, double>> span = run.summarySpan;
    std::vector<IntervalRow> intervalRows;
    const auto intervals = run.intervals.find(bridge);
    if (intervals != run.intervals.end())
    {
        intervalRows = LoadEffectIntervalTable::read(load(intervals->second)).rows;
        // The interval rows tile the run from its first step to its last: their span is exact.
        if (!intervalRows.empty())
        {
            const double start = intervalRows.front().endTime - intervalRows.front().duration;
            const double end = intervalRows.back().endTime;
            if (!(end >= start))
                throw BadFile(intervals->second.string(), 0,
                              "its first interval starts after its last ends: no span of the run can be read");
            span = std::make_pair(start, end);
        }
    }
    const auto seconds = run.seconds.find(bridge);
    if (!span)
        throw ComparisonError(run.folder.string() + ": bridge " + bridge +
                              ": no span of the run's clock (neither interval rows in LE_" + bridge +
                              ".csv nor the simulated start and end in summary.txt)");
    piece.start = span->first;
    piece.end = span->second;
    const fs::path& spanFile = intervals != run.intervals.end() ? intervals->second : run.folder / "summary.txt";
    checkTime(piece.start, spanFile, "the run's start");
    checkTime(piece.end, spanFile, "the run's end");
    if (seconds != run.seconds.end())
    {
        for (const SecondRow& row : LoadEffectSecondTable::read(load(seconds->second)).rows)
        {
            checkTime(row.endTime, seconds->second, "second " + std::to_string(row.number));
            piece.maxima.push_back({row.endTime, row.maximum});
        }
        piece.unlistedSecondsAreZero = true;
    }
    else
    {
        fromIntervals = true;
        for (const IntervalRow& row : intervalRows)
        {
            checkTime(row.maximumTime, intervals->second, "interval " + std::to_string(row.number));
            piece.maxima.push_back({row.maximumTime, row.maximum});
        }
    }
    return piece;
}

// The block of a time. A second's row is placed by its middle, so that a second across midnight
// counts in the day that holds most of it.
long long blockOf(double time, double blockSeconds)
{
    return static_cast<long long>(std::floor(time / blockSeconds));
}

// Pieces into series: each joins the first series it follows on the clock (overlapping the
// series' end by no more than the allowance, the tail of a run whose road was still emptying).
std::vector<std::vector<const Piece*>> seriesOf(const std::vector<Piece>& pieces)
{
    std::vector<const Piece*> byStart;
    for (const Piece& piece : pieces)
        byStart.push_back(&piece);
    std::stable_sort(byStart.begin(), byStart.end(),
                     [](const Piece* a, const Piece* b) { return a->start < b->start; });
    std::vector<std::vector<const Piece*>> series;
    std::vector<double> ends;
    for (const Piece* piece : byStart)
    {
        std::size_t s = 0;
        while (s < series.size() && ends[s] > piece->start + CalendarBlocks::uncoveredAllowance)
            ++s;
        if (s == series.size())
        {
            series.emplace_back();
            ends.push_back(piece->end);
        }
        series[s].push_back(piece);
        ends[s] = std::max(ends[s], piece->end);
    }
    return series;
}

// The seconds of [from, to) inside the union of the spans (sorted by start).
double coveredWithin(const std::vector<const Piece*>& pieces, double from, double to)
{
    double covered = 0.0;
    double reached = from;
    for (const Piece* piece : pieces)
    {
        const double start = std::max(piece->start, reached);
        const double end = std::min(piece->end, to);
        if (end > start)
        {
            covered += end - start;
            reached = end;
        }
    }
    return covered;
}

void collectSeries(const std::vector<const Piece*>& pieces, std::size_t seriesNumber, double blockSeconds,
                   BridgeBlocks& blocks)
{
    struct Gathered
    {
        std::optional<Point> largest;
        std::size_t listed = 0;
        bool zeroAllowed = false;
    };
    std::map<long long, Gathered> gathered;
    for (const Piece* piece : pieces)
    {
        for (long long b = blockOf(piece->start, blockSeconds); b <= blockOf(piece->end, blockSeconds); ++b)
            gathered[b].zeroAllowed = gathered[b].zeroAllowed || piece->unlistedSecondsAreZero;
        for (const Point& point : piece->maxima)
        {
            const double placed = piece->unlistedSecondsAreZero ? point.time - 0.5 : point.time;
            Gathered& g = gathered[blockOf(std::max(0.0, placed), blockSeconds)];
            ++g.listed;
            if (!g.largest || point.value > g.largest->value)
                g.largest = point;
        }
    }
    for (const auto& [number, g] : gathered)
    {
        CalendarBlock block;
        block.series = seriesNumber;
        block.number = number;
        block.start = static_cast<double>(number) * blockSeconds;
        block.covered = coveredWithin(pieces, block.start, block.start + blockSeconds);
        if (g.largest)
        {
            block.maximum = g.largest->value;
            block.time = g.largest->time;
        }
        // Seconds not listed in a seconds file had no load: an effect of 0.
        const bool unlistedZero = g.zeroAllowed && static_cast<double>(g.listed) < blockSeconds;
        if (unlistedZero && (!g.largest || block.maximum < 0.0))
        {
            block.maximum = 0.0;
            block.time = block.start;
        }
        if (block.covered <= 0.0)
            continue;
        // Interval rows give a maximum to the block of its time only: a block whose one interval
        // has its maximum beyond the boundary has no figure of its own.
        const bool known = g.largest.has_value() || unlistedZero;
        const bool whole = known && blockSeconds - block.covered <= CalendarBlocks::uncoveredAllowance;
        (whole ? blocks.whole : blocks.partial).push_back(block);
    }
}
}

namespace CalendarBlocks {
double secondsOf(BlockLength length)
{
    return length == BlockLength::week ? 7.0 * 86400.0 : 86400.0;
}

const char* nameOf(BlockLength length)
{
    return length == BlockLength::week ? "week" : "day";
}
}

std::vector<double> BridgeBlocks::maxima() const
{
    std::vector<double> values;
    for (const CalendarBlock& block : whole)
        values.push_back(block.maximum);
    return values;
}

BlockCollection collectCalendarBlocks(const std::vector<fs::path>& runFolders, BlockLength length)
{
    BlockCollection collection;
    collection.length = length;
    std::vector<RunFiles> runs;
    std::set<std::string> bridges;
    for (const fs::path& folder : runFolders)
    {
        for (const RunFiles& earlier : runs)
        {
            std::error_code error;
            if (fs::equivalent(earlier.folder, folder, error))
                throw ComparisonError(folder.string() + ": the run is named twice (also as " + earlier.folder.string() +
                                      "): its blocks would count twice");
        }
        runs.push_back(listRun(folder, collection.inputFiles));
        for (const auto& [bridge, path] : runs.back().intervals)
            bridges.insert(bridge);
        for (const auto& [bridge, path] : runs.back().seconds)
            bridges.insert(bridge);
    }
    const double blockSeconds = CalendarBlocks::secondsOf(length);
    for (const std::string& bridge : bridges)
    {
        BridgeBlocks blocks;
        blocks.bridge = bridge;
        std::vector<Piece> pieces;
        for (std::size_t r = 0; r < runs.size(); ++r)
        {
            if (!runs[r].intervals.contains(bridge) && !runs[r].seconds.contains(bridge))
                continue;
            bool fromIntervals = false;
            pieces.push_back(readPiece(runs[r], r, bridge, fromIntervals));
            blocks.runsFromIntervals += fromIntervals ? 1 : 0;
        }
        blocks.runs = pieces.size();
        const auto series = seriesOf(pieces);
        blocks.series = series.size();
        for (std::size_t s = 0; s < series.size(); ++s)
            collectSeries(series[s], s + 1, blockSeconds, blocks);
        collection.bridges.push_back(std::move(blocks));
    }
    return collection;
}
