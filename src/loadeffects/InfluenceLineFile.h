#pragma once
// The influence line of a bridge: built in, or read from a file of "distance (m from the
// bridge's start), ordinate" lines (a header line is allowed), checked against the bridge.

#include "loadeffects/Bridge.h"
#include "loadeffects/InfluenceLine.h"

#include <optional>
#include <string>

struct InfluenceLineResult
{
    std::optional<InfluenceLine> line;
    std::string problem;  // when there is no line: names the file and its line
};

namespace InfluenceLineFile {
// The file of a file: effect, resolved against the folder of the bridges file ("" is the
// current directory).
std::string resolve(const Bridge& bridge, const std::string& bridgesFolder);

InfluenceLineResult load(const Bridge& bridge, const std::string& bridgesFolder);
}
