#include "loadeffects/BridgeFields.h"

#include <charconv>
#include <cmath>

namespace {
const char* const filePrefix = "file:";

std::string_view trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}
}

namespace BridgeFields {
const std::vector<std::string>& builtInEffects()
{
    static const std::vector<std::string> names = {"midspan-moment", "support-shear", "continuous-support-moment"};
    return names;
}

bool parseNumber(std::string_view text, double& value)
{
    text = trimmed(text);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    double parsed = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || !std::isfinite(parsed))
        return false;
    value = parsed;
    return true;
}

bool parseEffect(std::string_view text, BridgeEffect& effect, std::string& file)
{
    text = trimmed(text);
    const BridgeEffect builtIns[] = {BridgeEffect::midspanMoment, BridgeEffect::supportShear,
                                     BridgeEffect::continuousSupportMoment};
    for (std::size_t i = 0; i < builtInEffects().size(); ++i)
        if (text == builtInEffects()[i])
        {
            effect = builtIns[i];
            file.clear();
            return true;
        }
    if (text.substr(0, 5) != filePrefix || trimmed(text.substr(5)).empty())
        return false;
    effect = BridgeEffect::influenceFile;
    file = std::string(trimmed(text.substr(5)));
    return true;
}

std::string formatEffect(const Bridge& bridge)
{
    switch (bridge.effect)
    {
    case BridgeEffect::midspanMoment: return builtInEffects()[0];
    case BridgeEffect::supportShear: return builtInEffects()[1];
    case BridgeEffect::continuousSupportMoment: return builtInEffects()[2];
    case BridgeEffect::influenceFile: break;
    }
    return filePrefix + bridge.influenceFile;
}

bool parseDirections(std::string_view text, BridgeDirections& directions)
{
    text = trimmed(text);
    if (text == "1")
        directions = BridgeDirections::positive;
    else if (text == "2")
        directions = BridgeDirections::negative;
    else if (text == "both")
        directions = BridgeDirections::both;
    else
        return false;
    return true;
}

std::string formatDirections(BridgeDirections directions)
{
    switch (directions)
    {
    case BridgeDirections::positive: return "1";
    case BridgeDirections::negative: return "2";
    case BridgeDirections::both: break;
    }
    return "both";
}

bool parseLaneFactors(std::string_view text, std::map<int, double>& factors, std::string& problem)
{
    std::map<int, double> parsed;
    text = trimmed(text);
    while (!text.empty())
    {
        const auto end = text.find(';');
        const std::string_view item = trimmed(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        const auto colon = item.find(':');
        double lane = 0.0;
        double factor = 0.0;
        if (colon == std::string_view::npos || !parseNumber(item.substr(0, colon), lane) ||
            !parseNumber(item.substr(colon + 1), factor) || lane != std::floor(lane))
        {
            problem = "\"" + std::string(item) + "\" is not LANE:FACTOR (for example 1:1.0;2:0.9)";
            return false;
        }
        if (lane < 1.0 || lane > 1000.0)
        {
            problem = "lane " + std::string(trimmed(item.substr(0, colon))) + " is not a lane number (from 1)";
            return false;
        }
        if (factor < 0.0)
        {
            problem = "the factor of lane " + formatNumber(lane) + " is negative";
            return false;
        }
        if (!parsed.emplace(static_cast<int>(lane), factor).second)
        {
            problem = "lane " + formatNumber(lane) + " is given twice";
            return false;
        }
    }
    factors = std::move(parsed);
    return true;
}

std::string formatLaneFactors(const std::map<int, double>& factors)
{
    std::string text;
    for (const auto& [lane, factor] : factors)
    {
        if (!text.empty())
            text += ';';
        text += std::to_string(lane) + ':' + formatNumber(factor);
    }
    return text;
}

std::string formatNumber(double value)
{
    char buffer[64];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return error == std::errc() ? std::string(buffer, end) : std::string();
}
}
