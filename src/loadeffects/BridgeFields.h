#pragma once
// The text forms of a bridge's fields, as the bridges file and the Bridges dialog show them:
// each parse returns false and leaves its result alone when the text is not a valid value.

#include "loadeffects/Bridge.h"

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace BridgeFields {
// Column names of the bridges file, also the field names in messages.
inline constexpr const char* name = "name";
inline constexpr const char* start = "start_m";
inline constexpr const char* span = "span_m";
inline constexpr const char* effect = "effect";
inline constexpr const char* directions = "directions";
inline constexpr const char* interval = "interval_s";
inline constexpr const char* laneFactors = "lane_factors";

// "midspan-moment", "support-shear", "continuous-support-moment" (file: is not among them).
const std::vector<std::string>& builtInEffects();

// A whole finite number in the C locale, nothing else in the text but surrounding blanks.
bool parseNumber(std::string_view text, double& value);

// "midspan-moment" ... or "file:PATH" with a non-empty path.
bool parseEffect(std::string_view text, BridgeEffect& effect, std::string& file);
std::string formatEffect(const Bridge& bridge);

// "1", "2" or "both".
bool parseDirections(std::string_view text, BridgeDirections& directions);
std::string formatDirections(BridgeDirections directions);

// "1:1.0;2:0.9"; empty text gives no factors. On failure `problem` says what is wrong.
bool parseLaneFactors(std::string_view text, std::map<int, double>& factors, std::string& problem);
std::string formatLaneFactors(const std::map<int, double>& factors);

// The shortest text that reads back as the same number.
std::string formatNumber(double value);
}
