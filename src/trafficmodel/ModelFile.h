#pragma once
// The traffic model as a JSON file a person can read and edit, and read back with every field
// checked: a field missing, of the wrong kind or out of range is refused by its path in the
// file (e.g. lanes[0].flow_veh_per_h.weekday[3]).

#include "trafficmodel/TrafficModel.h"

#include <string>

namespace ModelFile {
constexpr int version = 1;

std::string toJson(const TrafficModel::Model& model);
// fileName names the file in messages; throws TrafficModelError.
TrafficModel::Model fromJson(const std::string& text, const std::string& fileName);
// Reads and checks the model file; throws TrafficModelError naming the file.
TrafficModel::Model read(const std::string& path);
}
