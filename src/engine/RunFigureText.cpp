#include "engine/RunFigureText.h"

#include <cinttypes>
#include <cstdio>

std::string releaseDelayText(const ReleaseDelayFigures& figures)
{
    if (figures.released == 0)
        return "no vehicle was released";
    char text[200];
    std::snprintf(
        text, sizeof text, "mean %.2f, 95th percentile %.2f, maximum %.2f; %" PRId64 " %s more than %.0f s",
        figures.meanSeconds, figures.percentile95Seconds, figures.maximumSeconds, figures.waitedOverTenSeconds,
        figures.waitedOverTenSeconds == 1 ? "vehicle waited" : "vehicles waited", ReleaseDelays::longWaitSeconds);
    return text;
}

std::string minimumGapText(const GapFigures& figures)
{
    if (!figures.any())
        return "none: no vehicle followed another";
    char text[160];
    std::snprintf(text, sizeof text, "%.2f; %" PRId64 " vehicle-step%s with a gap of 0 m or less", figures.minimumGap,
                  figures.nonPositiveGaps, figures.nonPositiveGaps == 1 ? "" : "s");
    return text;
}

std::string summaryLine(const std::string& label, const std::string& text)
{
    constexpr std::size_t valueColumn = 21;
    std::string line = label;
    line.append(label.size() < valueColumn ? valueColumn - label.size() : 1, ' ');
    return line + text + '\n';
}
