#pragma once
// Each bridge's block maxima across runs: the largest load effect in each calendar day or week of
// the simulation clock (day n is [n, n + 1) x 86400 s; weeks count from day 0), taken from the
// runs' LE_<bridge>_seconds.csv, or LE_<bridge>.csv where a run has no seconds file.
//
// Runs that follow one another on the clock make one series, and a block counts only when the
// series' runs cover it whole: no more than uncoveredAllowance seconds of it outside every run
// (the minutes before a day's first vehicle or after its last, when the road is empty). Runs
// that overlap by more than that allowance simulate the same days again (replications with other
// seeds) and make a series of their own, whose blocks are counted apart.

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

enum class BlockLength
{
    day,
    week,
};

namespace CalendarBlocks {
inline constexpr double uncoveredAllowance = 3600.0;  // s
double secondsOf(BlockLength length);
// "day" or "week".
const char* nameOf(BlockLength length);
}

struct CalendarBlock
{
    std::size_t series = 0;  // from 1
    long long number = 0;    // the block's place on the clock: day or week from 0
    double start = 0.0;      // s
    double maximum = 0.0;    // the largest effect; 0 where no second of the block had a load
    double time = 0.0;       // s of the maximum: its step (interval rows) or the end of its second
    double covered = 0.0;    // s of the block inside the series' runs
};

struct BridgeBlocks
{
    std::string bridge;
    std::vector<CalendarBlock> whole;    // in series, then clock order
    std::vector<CalendarBlock> partial;  // blocks the runs touch but do not cover whole
    std::size_t runs = 0;                // the runs with files of this bridge
    std::size_t series = 0;
    std::size_t runsFromIntervals = 0;  // of them, read from LE_<bridge>.csv for want of seconds

    std::vector<double> maxima() const;
};

struct BlockCollection
{
    BlockLength length = BlockLength::day;
    std::vector<BridgeBlocks> bridges;              // by name
    std::vector<std::filesystem::path> inputFiles;  // every file read, for the claims of outputs
};

// Throws ComparisonError naming a folder that is no whole run with load effects (not a folder,
// NAME.partial, no LE_ files, no span to be read), BadFile for a file that cannot be read.
BlockCollection collectCalendarBlocks(const std::vector<std::filesystem::path>& runFolders, BlockLength length);
