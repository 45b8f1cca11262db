#include "measurements/RunStart.h"

#include "files/InputFile.h"

#include <charconv>
#include <cmath>
#include <sstream>

namespace RunStart {

namespace {
constexpr std::size_t maxSummaryBytes = std::size_t{16} << 20;
const std::string startLabel = "Simulated start:";
}  // namespace

std::optional<double> ofSummary(const std::string& summary)
{
    std::istringstream lines(summary);
    for (std::string line; std::getline(lines, line);)
    {
        if (line.rfind(startLabel, 0) != 0)
            continue;
        const std::size_t first = line.find_first_not_of(" \t", startLabel.size());
        if (first == std::string::npos)
            return std::nullopt;
        double seconds = 0.0;
        const auto [end, error] = std::from_chars(line.data() + first, line.data() + line.size(), seconds);
        if (error != std::errc() || !std::isfinite(seconds) || seconds < 0.0)
            return std::nullopt;
        return seconds;
    }
    return std::nullopt;
}

Found ofFolder(const std::filesystem::path& measurementFolder)
{
    std::error_code error;
    std::filesystem::path own = measurementFolder.lexically_normal();
    if (!own.has_filename())
        own = own.parent_path();
    for (const std::filesystem::path& folder : {own, own.parent_path()})
    {
        const std::filesystem::path summary = folder / "summary.txt";
        if (folder.empty() || !std::filesystem::is_regular_file(summary, error))
            continue;
        std::string text;
        if (readTextFile(summary.string(), text, maxSummaryBytes))
            continue;
        if (std::optional<double> seconds = ofSummary(text))
            return {seconds, summary};
    }
    return {};
}

}  // namespace RunStart
