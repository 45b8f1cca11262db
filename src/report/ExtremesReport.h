#pragma once
// Each bridge's block maxima across runs as one self-contained HTML page: the probability and
// return-level plots of the Gumbel and GEV fits, their parameters, return levels with 95 %
// intervals and the likelihood-ratio test, in the figures roadflux-cli extremes prints. Like the
// other pages, it is also well-formed XML.

#include "replications/BlockMaximaFits.h"

#include <QString>

#include <filesystem>
#include <vector>

struct ExtremesPage
{
    std::vector<std::filesystem::path> runs;
    BlockCollection collection;
    std::vector<ReturnPeriod> periods;
    std::vector<BlockMaximaFits> fits;  // one per bridge of the collection, in its order
};

namespace ExtremesReport {

// Reads the runs' block maxima and fits them. Throws ComparisonError for a folder that is no run
// with load effects, BadFile for a file that cannot be read.
ExtremesPage analyse(const std::vector<std::filesystem::path>& runs, BlockLength length,
                     const std::vector<double>& returnYears);

QString build(const ExtremesPage& page);

}  // namespace ExtremesReport
