#pragma once
// The names of a bridge's output files in the metrics folder.

#include <string>

namespace LoadEffectFileNames {
inline std::string series(const std::string& bridgeName)
{
    return "LE_" + bridgeName + ".csv";
}
inline std::string seconds(const std::string& bridgeName)
{
    return "LE_" + bridgeName + "_seconds.csv";
}
inline std::string events(const std::string& bridgeName)
{
    return "LE_" + bridgeName + "_events.csv";
}
}
