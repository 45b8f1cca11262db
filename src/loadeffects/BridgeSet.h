#pragma once
// The bridges of a study and the checks of their values: each problem names the bridge and the
// field (the bridges file's column), so that a file reader can name the line and a dialog the cell.

#include "loadeffects/Bridge.h"
#include "loadeffects/RoadLayout.h"

#include <cstddef>
#include <string>
#include <vector>

struct BridgeProblem
{
    std::size_t bridge;   // index in the set
    std::string field;    // a BridgeFields column name
    std::string message;  // what is wrong, without the bridge or the field
};

class BridgeSet
{
public:
    static constexpr std::size_t maximumNameLength = 64;

    std::vector<Bridge> bridges;

    bool empty() const { return bridges.empty(); }

    // Values and names on their own: numbers in range, names that can name files and that give
    // every bridge output files of its own.
    std::vector<BridgeProblem> check() const;
    // The bridges on a given road: inside it, on directions and lanes it has.
    std::vector<BridgeProblem> checkOn(const RoadLayout& road) const;

    bool operator==(const BridgeSet&) const = default;
};
