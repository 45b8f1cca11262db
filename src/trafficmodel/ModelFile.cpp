#include "trafficmodel/ModelFile.h"

#include "files/InputFile.h"
#include "trafficmodel/TrafficModelError.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numeric>
#include <set>
#include <sstream>

using namespace TrafficModel;
using Json = nlohmann::ordered_json;

namespace {
constexpr std::size_t largestModelFile = 64u << 20;  // bytes
constexpr double highestFlow = 3600.0;               // veh/h per lane
constexpr double highestSpeed = 99.9;                // m/s, the widest a speed column holds
constexpr double heaviest = 9800.0;                  // kN, a GVW column of 9999 × 100 kg
constexpr double longestSpacing = 99.9;              // m, DoRIV's widest spacing
constexpr double longestOverhang = 99.9;             // m, a length column of 999 × 0.1 m
constexpr double largestShare = 1e9;
constexpr int mostLanes = 9;

const char* const dayTypeNames[dayTypes] = {"weekday", "weekend"};
const char* const weekdayNames[7] = {"monday", "tuesday", "wednesday", "thursday", "friday", "saturday", "sunday"};

double rounded(double x, int decimals)
{
    const double factor = std::pow(10.0, decimals);
    const double r = std::round(x * factor) / factor;
    return r == 0.0 ? 0.0 : r;
}

Json roundedList(const std::vector<double>& values, int decimals)
{
    Json list = Json::array();
    for (double v : values)
        list.push_back(rounded(v, decimals));
    return list;
}

Json spreadJson(const Spread& s, int decimals)
{
    return Json{{"mean", rounded(s.mean, decimals)},
                {"deviation", rounded(s.deviation, decimals)},
                {"lowest", rounded(s.lowest, decimals)},
                {"highest", rounded(s.highest, decimals)}};
}

std::string numberText(const Json& value)
{
    if (!value.is_number_float())
        return value.dump();
    char text[32];
    std::snprintf(text, sizeof text, "%.10g", value.get<double>());
    return text;
}

bool isFlat(const Json& value)
{
    if (value.is_array())
        return std::all_of(value.begin(), value.end(), [](const Json& v) { return v.is_primitive(); });
    if (value.is_object())
        return value.size() <= 6 &&
               std::all_of(value.begin(), value.end(), [](const Json& v) { return v.is_primitive(); });
    return true;
}

// Arrays of numbers and small objects of numbers on one line each, so that a table of quantiles
// reads as a row and the file stays short enough to read.
void print(std::ostringstream& out, const Json& value, int indent)
{
    const std::string pad(static_cast<std::size_t>(indent + 2), ' ');
    if (value.is_primitive())
    {
        out << numberText(value);
    }
    else if (isFlat(value))
    {
        const bool array = value.is_array();
        out << (array ? '[' : '{');
        bool first = true;
        for (auto it = value.begin(); it != value.end(); ++it)
        {
            out << (first ? "" : ", ");
            if (!array)
                out << Json(it.key()).dump() << ": ";
            out << numberText(*it);
            first = false;
        }
        out << (array ? ']' : '}');
    }
    else
    {
        const bool array = value.is_array();
        out << (array ? "[\n" : "{\n");
        bool first = true;
        for (auto it = value.begin(); it != value.end(); ++it)
        {
            out << (first ? "" : ",\n") << pad;
            if (!array)
                out << Json(it.key()).dump() << ": ";
            print(out, *it, indent + 2);
            first = false;
        }
        out << '\n' << std::string(static_cast<std::size_t>(indent), ' ') << (array ? ']' : '}');
    }
}

Json laneJson(const LaneModel& lane)
{
    Json j;
    j["direction"] = lane.direction;
    j["lane"] = lane.lane;
    Json flow;
    Json shares;
    for (int d = 0; d < dayTypes; ++d)
    {
        flow[dayTypeNames[d]] = roundedList(std::vector<double>(lane.flow[d].begin(), lane.flow[d].end()), 2);
        Json hours = Json::array();
        for (const auto& hour : lane.classShares[d])
            hours.push_back(roundedList(std::vector<double>(hour.begin(), hour.end()), 5));
        shares[dayTypeNames[d]] = hours;
    }
    j["flow_veh_per_h"] = flow;
    Json classes = Json::array();
    for (int c = 0; c < classCount; ++c)
        classes.push_back(className(c));
    j["classShares"] = Json{{"classes", classes}};
    for (int d = 0; d < dayTypes; ++d)
        j["classShares"][dayTypeNames[d]] = shares[dayTypeNames[d]];
    Json speeds = Json::object();
    Json axles = Json::object();
    for (int c = 0; c < classCount; ++c)
    {
        if (lane.speeds[c])
            speeds[className(c)] = roundedList(lane.speeds[c]->values, 2);
        if (!lane.axleCounts[c].empty())
        {
            Json counts = Json::object();
            for (const auto& [count, share] : lane.axleCounts[c])
                counts[std::to_string(count)] = rounded(share, 5);
            axles[className(c)] = counts;
        }
    }
    j["speedQuantiles_m_per_s"] = speeds;
    j["axleCounts"] = axles;
    Json gaps = Json::array();
    for (const auto& q : lane.truckGaps.gaps)
        gaps.push_back(roundedList(q.values, 4));
    j["truckGaps"] = Json{{"bandTops_veh_per_h", roundedList(lane.truckGaps.bandTops, 2)}, {"quantiles", gaps}};
    return j;
}

Json groupJson(const VehicleGroup& g)
{
    Json j;
    j["class"] = className(g.vehicleClass);
    j["axles"] = g.axles;
    j["recorded"] = g.recorded;
    Json weight;
    weight["quantiles"] = roundedList(g.grossWeight.body.values, 2);
    weight["thresholdProbability"] = rounded(g.grossWeight.thresholdProbability, 6);
    if (g.grossWeight.tail)
    {
        const ParetoTail& t = *g.grossWeight.tail;
        weight["tail"] = Json{{"distribution", "generalized Pareto"},
                              {"scale_kN", rounded(t.scale, 4)},
                              {"shape", rounded(t.shape, 5)},
                              {"exceedances", t.exceedances},
                              {"scaleError_kN", rounded(t.scaleError, 4)},
                              {"shapeError", rounded(t.shapeError, 5)}};
    }
    else
    {
        weight["tail"] = nullptr;
    }
    weight["largest_kN"] = rounded(g.grossWeight.largest, 2);
    j["grossWeight_kN"] = weight;
    Json spacings = Json::array();
    for (const auto& s : g.spacings)
        spacings.push_back(roundedList(s.values, 3));
    j["axleSpacingQuantiles_m"] = spacings;
    Json shares = Json::array();
    for (const auto& s : g.weightShares)
        shares.push_back(spreadJson(s, 5));
    j["weightShares"] = shares;
    j["overhangQuantiles_m"] = roundedList(g.overhang.values, 2);
    return j;
}

// Reads one model, every field checked; `where` is the path of the value being read.
class Reader
{
public:
    explicit Reader(std::string file) : fileName(std::move(file)) {}

    [[noreturn]] void refuse(const std::string& where, const std::string& what) const
    {
        throw TrafficModelError(fileName + ": " + where + ": " + what);
    }

    const Json& member(const Json& object, const std::string& where, const std::string& key) const
    {
        if (!object.is_object())
            refuse(where, "an object {...} expected");
        const auto it = object.find(key);
        if (it == object.end())
            refuse(where, "the field \"" + key + "\" is missing");
        return *it;
    }

    double number(const Json& value, const std::string& where, double lowest, double highest) const
    {
        if (!value.is_number())
            refuse(where, "a number expected, found " + kindOf(value));
        const double x = value.get<double>();
        if (!std::isfinite(x) || x < lowest || x > highest)
            refuse(where, value.dump() + " is out of range: from " + numberText(Json(lowest)) + " to " +
                              numberText(Json(highest)) + " expected");
        return x;
    }

    int whole(const Json& value, const std::string& where, int lowest, int highest) const
    {
        const double x = number(value, where, lowest, highest);
        if (x != std::floor(x))
            refuse(where, value.dump() + " is not a whole number");
        return static_cast<int>(x);
    }

    const Json& list(const Json& value, const std::string& where, std::size_t fewest, std::size_t most) const
    {
        if (!value.is_array())
            refuse(where, "a list [...] expected, found " + kindOf(value));
        if (value.size() < fewest || value.size() > most)
            refuse(where, std::to_string(value.size()) + " entries, " +
                              (fewest == most ? std::to_string(fewest)
                                              : "from " + std::to_string(fewest) + " to " + std::to_string(most)) +
                              " expected");
        return value;
    }

    Quantiles quantiles(const Json& value, const std::string& where, double lowest, double highest) const
    {
        const Json& values = list(value, where, 2, 10001);
        Quantiles q;
        for (std::size_t i = 0; i < values.size(); ++i)
        {
            q.values.push_back(number(values[i], where + "[" + std::to_string(i) + "]", lowest, highest));
            if (i > 0 && q.values[i] < q.values[i - 1])
                refuse(where + "[" + std::to_string(i) + "]", "quantiles must not decrease");
        }
        return q;
    }

    Spread spread(const Json& value, const std::string& where, double highest) const
    {
        Spread s;
        s.mean = number(member(value, where, "mean"), where + ".mean", 0.0, highest);
        s.deviation = number(member(value, where, "deviation"), where + ".deviation", 0.0, highest);
        s.lowest = number(member(value, where, "lowest"), where + ".lowest", 0.0, highest);
        s.highest = number(member(value, where, "highest"), where + ".highest", 0.0, highest);
        if (s.lowest > s.mean || s.mean > s.highest)
            refuse(where, "lowest, mean and highest must come in that order");
        return s;
    }

    LaneModel lane(const Json& j, const std::string& where) const;
    VehicleGroup group(const Json& j, const std::string& where) const;

private:
    static std::string kindOf(const Json& value)
    {
        return value.is_null() ? "null" : value.is_string() ? "text" : value.is_array() ? "a list" : value.type_name();
    }

    std::string fileName;
};

LaneModel Reader::lane(const Json& j, const std::string& where) const
{
    LaneModel lane;
    lane.direction = whole(member(j, where, "direction"), where + ".direction", 1, 2);
    lane.lane = whole(member(j, where, "lane"), where + ".lane", 1, mostLanes);
    const std::string flowAt = where + ".flow_veh_per_h";
    const Json& flow = member(j, where, "flow_veh_per_h");
    const std::string sharesAt = where + ".classShares";
    const Json& shares = member(j, where, "classShares");
    std::array<bool, classCount> used{};
    for (int d = 0; d < dayTypes; ++d)
    {
        const std::string at = flowAt + "." + dayTypeNames[d];
        const Json& hours = list(member(flow, flowAt, dayTypeNames[d]), at, hoursPerDay, hoursPerDay);
        const std::string shareAt = sharesAt + "." + dayTypeNames[d];
        const Json& shareHours = list(member(shares, sharesAt, dayTypeNames[d]), shareAt, hoursPerDay, hoursPerDay);
        for (int h = 0; h < hoursPerDay; ++h)
        {
            const std::string hourAt = "[" + std::to_string(h) + "]";
            lane.flow[d][h] = number(hours[h], at + hourAt, 0.0, highestFlow);
            const Json& row = list(shareHours[h], shareAt + hourAt, classCount, classCount);
            double sum = 0.0;
            for (int c = 0; c < classCount; ++c)
            {
                lane.classShares[d][h][c] =
                    number(row[c], shareAt + hourAt + "[" + std::to_string(c) + "]", 0.0, largestShare);
                sum += lane.classShares[d][h][c];
            }
            if (!(sum > 0.0))
                refuse(shareAt + hourAt, "at least one class needs a share above 0");
            for (int c = 0; c < classCount; ++c)
            {
                lane.classShares[d][h][c] /= sum;
                used[c] = used[c] || (lane.classShares[d][h][c] > 0.0 && lane.flow[d][h] > 0.0);
            }
        }
    }

    const std::string speedsAt = where + ".speedQuantiles_m_per_s";
    const Json& speeds = member(j, where, "speedQuantiles_m_per_s");
    const std::string axlesAt = where + ".axleCounts";
    const Json& axleCounts = member(j, where, "axleCounts");
    if (!speeds.is_object())
        refuse(speedsAt, "an object {...} expected");
    if (!axleCounts.is_object())
        refuse(axlesAt, "an object {...} expected");
    for (const auto* table : {&speeds, &axleCounts})
        for (auto it = table->begin(); it != table->end(); ++it)
            if (!classNamed(it.key()))
                refuse((table == &speeds ? speedsAt : axlesAt) + "." + it.key(),
                       "not a class: car, smallTruck, largeTruck, crane or lowLoader expected");
    for (int c = 0; c < classCount; ++c)
    {
        const std::string name = className(c);
        if (speeds.contains(name))
            lane.speeds[c] = quantiles(speeds[name], speedsAt + "." + name, 0.0, highestSpeed);
        else if (used[c])
            refuse(speedsAt, "the class " + name + " has a share but no speeds");
        if (!axleCounts.contains(name))
        {
            if (used[c])
                refuse(axlesAt, "the class " + name + " has a share but no axle counts");
            continue;
        }
        const Json& counts = axleCounts[name];
        const std::string at = axlesAt + "." + name;
        if (!counts.is_object() || counts.empty())
            refuse(at, "an object {\"AXLES\": SHARE, ...} with at least one entry expected");
        double sum = 0.0;
        for (auto it = counts.begin(); it != counts.end(); ++it)
        {
            const std::string& key = it.key();
            int axles = 0;
            if (key.empty() || key.size() > 2 || !std::all_of(key.begin(), key.end(), ::isdigit) ||
                (axles = std::stoi(key)) < 1 || axles > largestAxleCount)
                refuse(at + "." + key, "not an axle count from 1 to 20");
            const double share = number(*it, at + "." + key, 0.0, largestShare);
            lane.axleCounts[c][axles] = share;
            sum += share;
        }
        if (!(sum > 0.0))
            refuse(at, "at least one axle count needs a share above 0");
        for (auto& entry : lane.axleCounts[c])
            entry.second /= sum;
    }

    const std::string gapsAt = where + ".truckGaps";
    const Json& gaps = member(j, where, "truckGaps");
    const Json& tops = list(member(gaps, gapsAt, "bandTops_veh_per_h"), gapsAt + ".bandTops_veh_per_h", 0, 100);
    for (std::size_t i = 0; i < tops.size(); ++i)
    {
        lane.truckGaps.bandTops.push_back(
            number(tops[i], gapsAt + ".bandTops_veh_per_h[" + std::to_string(i) + "]", 0.0, highestFlow));
        if (i > 0 && lane.truckGaps.bandTops[i] <= lane.truckGaps.bandTops[i - 1])
            refuse(gapsAt + ".bandTops_veh_per_h", "the band tops must rise");
    }
    const Json& tables = list(member(gaps, gapsAt, "quantiles"), gapsAt + ".quantiles", 0, 101);
    if (!tables.empty() && tables.size() != tops.size() + 1)
        refuse(gapsAt + ".quantiles", std::to_string(tables.size()) + " tables for " + std::to_string(tops.size()) +
                                          " band tops: one more table than tops (or none) expected");
    for (std::size_t i = 0; i < tables.size(); ++i)
    {
        const std::string at = gapsAt + ".quantiles[" + std::to_string(i) + "]";
        Quantiles q = quantiles(tables[i], at, 0.0, 1e6);
        // Gaps of nothing would put every truck of the lane at one instant.
        double mean = 0.0;
        for (std::size_t k = 1; k < q.values.size(); ++k)
            mean += 0.5 * (q.values[k] + q.values[k - 1]) / static_cast<double>(q.values.size() - 1);
        if (mean < 1e-3)
            refuse(at, "the gaps average " + numberText(Json(mean)) + ", at least 0.001 expected");
        lane.truckGaps.gaps.push_back(q);
    }
    return lane;
}

VehicleGroup Reader::group(const Json& j, const std::string& where) const
{
    VehicleGroup g;
    const Json& name = member(j, where, "class");
    const auto vehicleClass = name.is_string() ? classNamed(name.get<std::string>()) : std::nullopt;
    if (!vehicleClass)
        refuse(where + ".class", "car, smallTruck, largeTruck, crane or lowLoader expected");
    g.vehicleClass = *vehicleClass;
    g.axles = whole(member(j, where, "axles"), where + ".axles", 1, largestAxleCount);
    if (j.contains("recorded"))
        g.recorded = static_cast<long long>(number(j["recorded"], where + ".recorded", 0.0, 1e15));

    const std::string weightAt = where + ".grossWeight_kN";
    const Json& weight = member(j, where, "grossWeight_kN");
    WeightDistribution& gross = g.grossWeight;
    gross.body = quantiles(member(weight, weightAt, "quantiles"), weightAt + ".quantiles", 0.0, heaviest);
    gross.largest = number(member(weight, weightAt, "largest_kN"), weightAt + ".largest_kN", 0.0, heaviest);
    if (gross.largest < gross.body.values.back())
        refuse(weightAt + ".largest_kN", "below the last quantile " + numberText(Json(gross.body.values.back())));
    const Json& tail = member(weight, weightAt, "tail");
    if (!tail.is_null())
    {
        const std::string tailAt = weightAt + ".tail";
        gross.thresholdProbability =
            number(member(weight, weightAt, "thresholdProbability"), weightAt + ".thresholdProbability", 0.5, 0.9999);
        ParetoTail t;
        t.scale = number(member(tail, tailAt, "scale_kN"), tailAt + ".scale_kN", 1e-6, heaviest);
        t.shape = number(member(tail, tailAt, "shape"), tailAt + ".shape", -5.0, 5.0);
        // What the fit tells of itself: kept when present, for the next reader.
        if (tail.contains("exceedances"))
            t.exceedances = whole(tail["exceedances"], tailAt + ".exceedances", 0, 1 << 30);
        if (tail.contains("scaleError_kN"))
            t.scaleError = number(tail["scaleError_kN"], tailAt + ".scaleError_kN", 0.0, 1e9);
        if (tail.contains("shapeError"))
            t.shapeError = number(tail["shapeError"], tailAt + ".shapeError", 0.0, 1e9);
        gross.tail = t;
    }
    else
    {
        gross.thresholdProbability = 1.0;
    }

    const std::string spacingsAt = where + ".axleSpacingQuantiles_m";
    const Json& spacings = list(member(j, where, "axleSpacingQuantiles_m"), spacingsAt,
                                static_cast<std::size_t>(g.axles - 1), static_cast<std::size_t>(g.axles - 1));
    for (std::size_t i = 0; i < spacings.size(); ++i)
        g.spacings.push_back(quantiles(spacings[i], spacingsAt + "[" + std::to_string(i) + "]", 0.0, longestSpacing));
    const std::string sharesAt = where + ".weightShares";
    const Json& shares = list(member(j, where, "weightShares"), sharesAt, static_cast<std::size_t>(g.axles),
                              static_cast<std::size_t>(g.axles));
    double sum = 0.0;
    for (std::size_t i = 0; i < shares.size(); ++i)
    {
        g.weightShares.push_back(spread(shares[i], sharesAt + "[" + std::to_string(i) + "]", 1.0));
        sum += g.weightShares.back().highest;
    }
    if (!(sum > 0.0))
        refuse(sharesAt, "at least one axle must carry weight");
    g.overhang =
        quantiles(member(j, where, "overhangQuantiles_m"), where + ".overhangQuantiles_m", 0.0, longestOverhang);
    return g;
}
}

namespace ModelFile {
std::string toJson(const Model& model)
{
    Json j;
    j["roadfluxTrafficModel"] = version;
    j["dayTypes"] = "day index of the files' calendar modulo 7: 0 to 4 weekday, 5 and 6 weekend";
    Json files = Json::array();
    for (const auto& f : model.files)
        files.push_back(f);
    j["fittedTo"] = Json{{"files", files},
                         {"format", model.format},
                         {"firstWeekday", weekdayNames[std::clamp(model.firstWeekday, 0, 6)]},
                         {"vehicles", model.vehicles},
                         {"weekdayHours", model.weekdayHours},
                         {"weekendHours", model.weekendHours}};
    Json lanes = Json::array();
    for (const auto& lane : model.lanes)
        lanes.push_back(laneJson(lane));
    j["lanes"] = lanes;
    Json groups = Json::array();
    for (const auto& g : model.groups)
        groups.push_back(groupJson(g));
    j["vehicleGroups"] = groups;
    std::ostringstream out;
    print(out, j, 0);
    out << '\n';
    return out.str();
}

Model fromJson(const std::string& text, const std::string& fileName)
{
    Json j;
    try
    {
        // A field given twice would count once, silently: the second of an edit pasted in.
        std::vector<std::set<std::string>> keys;
        std::string twice;
        const Json::parser_callback_t noteTwice = [&keys, &twice](int, Json::parse_event_t event, Json& parsed) {
            if (event == Json::parse_event_t::object_start)
                keys.emplace_back();
            else if (event == Json::parse_event_t::object_end && !keys.empty())
                keys.pop_back();
            else if (event == Json::parse_event_t::key && !keys.empty() &&
                     !keys.back().insert(parsed.get<std::string>()).second && twice.empty())
                twice = parsed.get<std::string>();
            return true;
        };
        j = Json::parse(text, noteTwice);
        if (!twice.empty())
            throw TrafficModelError(fileName + ": the field \"" + twice + "\" is given twice in one object");
    }
    catch (const Json::parse_error& error)
    {
        const std::size_t byte = std::min<std::size_t>(error.byte, text.size());
        const auto line = 1 + std::count(text.begin(), text.begin() + static_cast<long>(byte > 0 ? byte - 1 : 0), '\n');
        // nlohmann's words without its error code: "syntax error while parsing value - ...".
        std::string what = error.what();
        const std::size_t code = what.find("] ");
        if (code != std::string::npos)
            what = what.substr(code + 2);
        const std::size_t place = what.find(": ");
        if (what.rfind("parse error", 0) == 0 && place != std::string::npos)
            what = what.substr(place + 2);
        throw TrafficModelError(fileName + ": line " + std::to_string(line) + ": not JSON (" + what + ")");
    }
    catch (const Json::exception& error)
    {
        // A number too large for a double, say.
        std::string what = error.what();
        const std::size_t cut = what.find("] ");
        throw TrafficModelError(fileName + ": not a model (" +
                                (cut == std::string::npos ? what : what.substr(cut + 2)) + ")");
    }
    const Reader reader(fileName);
    const Json& versionField = reader.member(j, "the model", "roadfluxTrafficModel");
    if (!versionField.is_number() || versionField.get<double>() != version)
        reader.refuse("roadfluxTrafficModel", versionField.dump() + ": version 1 expected");
    Model model;
    if (j.contains("fittedTo") && j["fittedTo"].is_object())
    {
        const Json& fitted = j["fittedTo"];
        if (fitted.contains("format") && fitted["format"].is_string())
            model.format = fitted["format"].get<std::string>();
        for (int d = 0; d < 7; ++d)
            if (fitted.contains("firstWeekday") && fitted["firstWeekday"] == weekdayNames[d])
                model.firstWeekday = d;
        for (const auto& [key, field] :
             {std::pair{"vehicles", &model.vehicles}, std::pair{"weekdayHours", &model.weekdayHours},
              std::pair{"weekendHours", &model.weekendHours}})
            if (fitted.contains(key))
                *field = static_cast<long long>(reader.number(fitted[key], std::string("fittedTo.") + key, 0.0, 1e15));
        if (fitted.contains("files") && fitted["files"].is_array())
            for (const auto& f : fitted["files"])
                if (f.is_string())
                    model.files.push_back(f.get<std::string>());
    }
    const Json& lanes = reader.list(reader.member(j, "the model", "lanes"), "lanes", 1, 2 * mostLanes);
    std::set<std::pair<int, int>> seen;
    for (std::size_t i = 0; i < lanes.size(); ++i)
    {
        const std::string at = "lanes[" + std::to_string(i) + "]";
        model.lanes.push_back(reader.lane(lanes[i], at));
        if (!seen.insert({model.lanes.back().direction, model.lanes.back().lane}).second)
            reader.refuse(at, "direction " + std::to_string(model.lanes.back().direction) + ", lane " +
                                  std::to_string(model.lanes.back().lane) + " comes twice");
    }
    const Json& groups = reader.list(reader.member(j, "the model", "vehicleGroups"), "vehicleGroups", 1, 1000);
    for (std::size_t i = 0; i < groups.size(); ++i)
    {
        const std::string at = "vehicleGroups[" + std::to_string(i) + "]";
        VehicleGroup g = reader.group(groups[i], at);
        if (model.group(g.vehicleClass, g.axles))
            reader.refuse(at, std::string("a second group of ") + className(g.vehicleClass) + " with " +
                                  std::to_string(g.axles) + " axles");
        model.groups.push_back(std::move(g));
    }
    for (std::size_t i = 0; i < model.lanes.size(); ++i)
        for (int c = 0; c < classCount; ++c)
            for (const auto& [axles, share] : model.lanes[i].axleCounts[c])
                if (share > 0.0 && !model.group(c, axles))
                    reader.refuse("lanes[" + std::to_string(i) + "].axleCounts." + className(c),
                                  "no vehicle group of " + std::string(className(c)) + " with " +
                                      std::to_string(axles) + " axles in vehicleGroups");
    return model;
}

Model read(const std::string& path)
{
    std::string text;
    if (auto problem = readTextFile(path, text, largestModelFile))
        throw TrafficModelError(path + ": the model cannot be read (" + *problem + ")");
    return fromJson(text, path);
}
}
