#pragma once
// The headways of a headway file, per lane in the order written. The first headway of each lane
// is that lane's first passage time counted from 0, not a gap between two vehicles.

#include "outputfiles/CsvText.h"

#include <string>
#include <vector>

struct HeadwayTable
{
    std::vector<std::vector<double>> lanes;  // s
    std::string header;                      // the two header lines as written

    static HeadwayTable read(const CsvText& text);

    // A lane's headways without its first one, which measures from time 0.
    std::vector<double> gapsBetweenVehicles(std::size_t lane) const;
};
