#include "loadeffects/InfluenceLineFile.h"

#include "loadeffects/Bridge.h"
#include "loadeffects/BridgeFields.h"
#include "loadeffects/TextLines.h"

#include <cmath>
#include <filesystem>
#include <vector>

namespace {
InfluenceLineResult failure(const std::string& path, std::size_t line, const std::string& problem)
{
    return {std::nullopt, path + (line > 0 ? ": line " + std::to_string(line) : std::string()) + ": " + problem};
}

InfluenceLineResult readTable(const std::string& path, double bridgeLength)
{
    std::vector<std::string> lines;
    if (!TextLines::read(path, lines))
        return failure(path, 0, "the influence line file cannot be read");
    std::vector<InfluenceLine::Point> points;
    bool firstLine = true;
    for (std::size_t i = 0; i < lines.size(); ++i)
    {
        if (TextLines::isBlank(lines[i]))
            continue;
        const bool mayBeHeader = firstLine;
        firstLine = false;
        const std::vector<std::string> fields = TextLines::splitFields(lines[i]);
        InfluenceLine::Point point{};
        const bool numbers = fields.size() == 2 && BridgeFields::parseNumber(fields[0], point.distance) &&
                             BridgeFields::parseNumber(fields[1], point.ordinate);
        if (!numbers && mayBeHeader)
            continue;
        if (!numbers)
            return failure(path, i + 1, "expected two numbers, distance (m) and ordinate, found \"" + lines[i] + "\"");
        if (point.distance < 0.0 || point.distance > bridgeLength)
            return failure(path, i + 1,
                           "distance " + fields[0] + " m is off the bridge (0 to " +
                               BridgeFields::formatNumber(bridgeLength) + " m)");
        if (std::abs(point.ordinate) > Bridge::maximumOrdinate)
            return failure(path, i + 1,
                           "ordinate " + fields[1] + " is beyond " +
                               BridgeFields::formatNumber(Bridge::maximumOrdinate) +
                               " either way, where the load effects could not be added up");
        if (!points.empty() && point.distance <= points.back().distance)
            return failure(path, i + 1, "distance " + fields[0] + " m does not follow the one before");
        points.push_back(point);
    }
    if (points.size() < 2)
        return failure(path, 0, "an influence line needs two points or more");
    return {InfluenceLine::table(std::move(points)), {}};
}
}

namespace InfluenceLineFile {
std::string resolve(const Bridge& bridge, const std::string& bridgesFolder)
{
    const std::filesystem::path file(bridge.influenceFile);
    if (file.is_absolute() || bridgesFolder.empty())
        return file.string();
    return (std::filesystem::path(bridgesFolder) / file).lexically_normal().string();
}

InfluenceLineResult load(const Bridge& bridge, const std::string& bridgesFolder)
{
    switch (bridge.effect)
    {
    case BridgeEffect::midspanMoment: return {InfluenceLine::midspanMoment(bridge.span), {}};
    case BridgeEffect::supportShear: return {InfluenceLine::supportShear(bridge.span), {}};
    case BridgeEffect::continuousSupportMoment: return {InfluenceLine::continuousSupportMoment(bridge.span), {}};
    case BridgeEffect::influenceFile: break;
    }
    return readTable(resolve(bridge, bridgesFolder), bridge.length());
}
}
