#pragma once
// The header lines and columns of each kind of file in the metrics folder, as the writers write
// them and the readers expect them, and what counts as a complete interval of a bridge.

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace FileLayouts {

// FD_: a line of group names ("Lane 1" over its three columns, then "Totals"), then the labels.
inline constexpr std::string_view intervalNumberLabel = "Interval No.";
inline constexpr std::string_view totalsLabel = "Totals";
inline constexpr std::array<std::string_view, 3> flowDensityColumns = {"Density (veh/km)", "Flow (veh/hr)",
                                                                       "Avg. Vel. (km/h)"};
// "Lane 1" for lane 0: the group and column names of a lane in the detectors' files.
std::string laneLabel(std::size_t lane);
std::vector<std::string> flowDensityHeader(int laneCount);

// Head_: a title, then one column per lane.
std::vector<std::string> headwayHeader(int laneCount);

// Comp_: one count per vehicle class.
inline constexpr std::array<std::string_view, 5> compositionColumns = {
    "No. Cars", "No. Small Trucks", "No. Large Trucks", "No. Cranes", "No. Low-Loaders"};
std::vector<std::string> compositionHeader();

// LC_All_: a title, the labels and an empty line.
inline constexpr std::array<std::string_view, 6> laneChangeEventColumns = {"Time",    "Position",   "From Lane",
                                                                           "To Lane", "Right/Left", "Type"};
std::vector<std::string> laneChangeEventsHeader();

// LC_Comp_: the time at the interval's end, then the changes per class.
inline constexpr std::array<std::string_view, 6> laneChangeCompositionColumns = {
    "Time Interval", "Car Changes", "SmallTr Changes", "LargeTr Changes", "Crane Changes", "LowLoad Changes"};
std::vector<std::string> laneChangeCompositionHeader();

// LC_ST_: changes to the right in the first two columns, to the left in the last two.
std::vector<std::string> laneChangeSpaceTimeHeader();

// LC_Rate_: a title, the labels, then the bins' upper locations (m) between empty cells.
inline constexpr std::size_t laneChangeRatesHeaderLines = 3;
std::vector<std::string> laneChangeRatesHeader(const std::vector<int>& binLocations);

// LE_<bridge>.csv, _seconds.csv and _events.csv: one line of labels each.
inline constexpr std::array<std::string_view, 8> loadEffectIntervalColumns = {
    "interval", "end_time_s", "maximum", "time_of_maximum_s", "minimum", "time_of_minimum_s", "vehicles", "duration_s"};
inline constexpr std::array<std::string_view, 4> loadEffectSecondColumns = {"second", "end_time_s", "maximum",
                                                                            "minimum"};
inline constexpr std::array<std::string_view, 8> loadEffectEventColumns = {
    "rank", "time_s", "value", "line", "class", "gross_weight_kN", "lane", "front_x_m"};
std::vector<std::string> loadEffectIntervalsHeader();
std::vector<std::string> loadEffectSecondsHeader();
std::vector<std::string> loadEffectEventsHeader();

// A bridge's interval row covers a whole interval of `intervalSeconds` when its duration is that
// long, within the rounding of the file: the last row of a run is usually shorter and would bias
// the maxima low.
bool isCompleteInterval(double duration, double intervalSeconds);

}  // namespace FileLayouts
