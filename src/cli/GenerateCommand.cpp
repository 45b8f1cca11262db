#include "cli/GenerateCommand.h"

#include "cli/CliFailure.h"
#include "cli/NumberOptions.h"
#include "cli/TrafficGenerator.h"
#include "cli/TrafficGeneratorSettings.h"
#include "config/CConfigData.h"
#include "config/FigureText.h"
#include "document/StudyNames.h"
#include "files/AtomicFileWriter.h"
#include "files/FileClaims.h"
#include "files/FileKind.h"
#include "files/TemporaryFileGuard.h"
#include "trafficmodel/ModelFile.h"
#include "trafficmodel/ModelTraffic.h"
#include "trafficmodel/TrafficModelError.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string_view>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace {
constexpr unsigned short vorkFormat = 100;
constexpr double longestDurationS = 365.0 * 86400.0;  // s; the files' years have two digits
constexpr double highestFlow = 3600.0;                // vehicles per hour per lane
// Bounded so that five shares always add up to a finite total.
constexpr double largestShare = 1e9;

[[noreturn]] void refuse(const std::string& option, const std::string& text, const std::string& what)
{
    throw CliFailure(option + " '" + text + "': " + what, CliFailure::usage);
}

std::string simplified(const std::string& name)
{
    std::string result;
    for (char c : name)
        if (std::isalnum(static_cast<unsigned char>(c)))
            result += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return result;
}

// The leading number of text and what follows it; nothing when the text does not start with a
// plain decimal number (a sign, blanks, "inf", "nan" and hexadecimal are not numbers here).
std::optional<std::pair<double, std::string>> numberAndRest(const std::string& text)
{
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc())
        return std::nullopt;
    const auto number =
        NumberOptions::readReal(std::string_view(text.data(), static_cast<std::size_t>(end - text.data())));
    if (!number)
        return std::nullopt;
    return std::make_pair(*number, std::string(end, text.data() + text.size()));
}

// The units a duration may carry, exactly as written: "M" could as well be months.
std::optional<double> secondsPerUnit(const std::string& unit)
{
    const std::size_t first = unit.find_first_not_of(' ');
    const std::string name = first == std::string::npos ? "" : unit.substr(first);
    if (name.empty() || name == "m" || name == "min")
        return 60.0;
    if (name == "s")
        return 1.0;
    if (name == "h")
        return 3600.0;
    if (name == "d")
        return 86400.0;
    return std::nullopt;
}

double durationSeconds(const std::string& text, double longestS = longestDurationS)
{
    const auto parsed = numberAndRest(text);
    const auto factor = parsed ? secondsPerUnit(parsed->second) : std::nullopt;
    const double seconds = parsed && factor ? parsed->first * *factor : 0.0;
    if (!parsed || !factor || !std::isfinite(seconds) || seconds <= 0.0 || seconds > longestS)
        refuse("--duration", text,
               "a length of time above 0 and up to " + figureText(longestS / 86400.0) +
                   " days: a number and one of the units s, min (or m, the default), h or d, e.g. 90s, 30m, 2h "
                   "or 7d");
    return seconds;
}

double startSeconds(const std::string& text)
{
    int parts[3] = {0, 0, 0};
    int count = 0;
    const char* p = text.data();
    const char* const end = p + text.size();
    while (p != end && count < 3)
    {
        const auto [next, error] = std::from_chars(p, end, parts[count]);
        if (error != std::errc())
            break;
        ++count;
        p = next;
        if (p != end && *p == ':')
            ++p;
        else
            break;
    }
    if (p != end || count < 2 || parts[0] < 0 || parts[0] > 23 || parts[1] < 0 || parts[1] > 59 || parts[2] < 0 ||
        parts[2] > 59)
        refuse("--start", text, "a time of day HH:MM or HH:MM:SS");
    return parts[0] * 3600.0 + parts[1] * 60.0 + parts[2];
}

std::array<double, 5> classShares(const std::string& text)
{
    std::array<double, 5> shares{};
    const std::vector<std::pair<std::string, int>> aliases{
        {"car", 0},   {"cars", 0},  {"smalltruck", 1}, {"small", 1},     {"largetruck", 2},
        {"large", 2}, {"crane", 3}, {"cranes", 3},     {"lowloader", 4}, {"lowloaders", 4}};
    std::size_t from = 0;
    while (from <= text.size())
    {
        const std::size_t comma = std::min(text.find(',', from), text.size());
        const std::string item = text.substr(from, comma - from);
        const std::size_t equals = item.find('=');
        const auto share = equals == std::string::npos ? std::nullopt : numberAndRest(item.substr(equals + 1));
        int vehicleClass = -1;
        for (const auto& [name, code] : aliases)
            if (equals != std::string::npos && simplified(item.substr(0, equals)) == name)
                vehicleClass = code;
        if (vehicleClass < 0 || !share || !share->second.empty() || share->first < 0.0 || share->first > largestShare)
            refuse("--mix", text,
                   "CLASS=SHARE,... with car, small-truck, large-truck, crane, low-loader and each share a "
                   "number from 0 to 1e9");
        shares[static_cast<std::size_t>(vehicleClass)] = share->first;
        from = comma + 1;
    }
    if (shares[0] + shares[1] + shares[2] + shares[3] + shares[4] <= 0.0)
        refuse("--mix", text, "at least one class needs a share above 0");
    return shares;
}

void checkLanes(const char* option, int lanes)
{
    if (lanes < 0 || lanes > 4)
        refuse(option, std::to_string(lanes), "from 0 to 4 lanes");
}

void checkFlow(const char* option, double flow)
{
    if (!(flow >= 0.0 && flow <= highestFlow))
        refuse(option, std::to_string(flow), "from 0 to 3600 vehicles per hour per lane");
}
}

GenerateCommand::GenerateCommand(std::ostream& outStream, std::ostream& errStream) : out(outStream), err(errStream) {}

TrafficGeneratorSettings GenerateCommand::settingsFrom(const Options& options)
{
    TrafficGeneratorSettings settings;
    const auto format = StudyNames::codeOf(StudyNames::fileFormats(), options.format);
    if (!format)
        refuse("--format", options.format, "TALVOR, VORK or DoRIV");
    settings.fileFormat = *format;
    settings.durationS = durationSeconds(options.duration);
    settings.startS = static_cast<double>(options.day) * 86400.0 + startSeconds(options.start);
    // The files' years have two digits: the last arrival must fall before year 100.
    const double daysPerYear =
        static_cast<double>(std::max(1, theConfigData.daysPerMonth)) * std::max(1, theConfigData.monthsPerYear);
    if (settings.startS + settings.durationS >= 100.0 * daysPerYear * 86400.0)
        refuse("--day", std::to_string(options.day),
               "the traffic would run past year 99 of the files' calendar (" +
                   std::to_string(std::lround(daysPerYear)) + " days a year by the configuration)");
    settings.seed = options.seed;
    if (!options.mix.empty())
        settings.classShares = classShares(options.mix);

    const bool vork = settings.fileFormat == vorkFormat;
    settings.lanesDir1 = options.lanesDir1.value_or(vork ? 1 : 2);
    settings.lanesDir2 = options.lanesDir2.value_or(vork ? 0 : 2);
    checkLanes("--lanes1", settings.lanesDir1);
    checkLanes("--lanes2", settings.lanesDir2);
    if (vork && (settings.lanesDir1 != 1 || settings.lanesDir2 != 0))
        refuse("--format", options.format, "VORK records carry no direction or lane: use --lanes1 1 --lanes2 0");
    if (settings.lanesDir1 + settings.lanesDir2 == 0)
        refuse("--lanes1", "0", "there cannot be zero lanes in both directions");

    const double flow = options.flow.value_or(600.0);
    settings.flowDir1 = options.flowDir1.value_or(flow);
    settings.flowDir2 = options.flowDir2.value_or(flow);
    checkFlow("--flow1", settings.flowDir1);
    checkFlow("--flow2", settings.flowDir2);
    return settings;
}

int GenerateCommand::execute(const Options& options)
{
    if (!options.model.empty())
        return executeModel(options);
    const TrafficGeneratorSettings settings = settingsFrom(options);
    TrafficGenerator generator(settings);
    const long long vehicles =
        writeTraffic(options, "", [&generator](std::ostream& stream) { return generator.write(stream); });
    out << "Wrote " << vehicles << " vehicles to " << options.output << " (seed " << settings.seed << ")\n";
    if (vehicles == 0)
        err << "roadflux-cli: " << options.output << ": no vehicle arrived within the duration\n";
    return 0;
}

// The files' years have two digits: a model's traffic may run to the end of year 99.
int GenerateCommand::executeModel(const Options& options)
{
    const double daysPerYear =
        static_cast<double>(std::max(1, theConfigData.daysPerMonth)) * std::max(1, theConfigData.monthsPerYear);
    const double durationS = durationSeconds(options.duration, 100.0 * daysPerYear * 86400.0);
    // The day and hour set the model's flows and day type, so that traffic written in pieces
    // continues the calendar.
    const double startS =
        static_cast<double>(options.day) * 86400.0 + (options.startGiven ? startSeconds(options.start) : 0.0);
    if (startS + durationS >= 100.0 * daysPerYear * 86400.0)
        refuse("--day", std::to_string(options.day),
               "the traffic would run past year 99 of the files' calendar (" +
                   std::to_string(std::lround(daysPerYear)) + " days a year by the configuration)");
    TrafficModel::Model model;
    try
    {
        model = ModelFile::read(options.model);
    }
    catch (const TrafficModelError& failure)
    {
        throw CliFailure(failure.what());
    }
    std::string formatName = options.formatGiven ? options.format : model.format;
    const auto format = StudyNames::codeOf(StudyNames::fileFormats(), formatName);
    if (!format)
    {
        if (options.formatGiven)
            refuse("--format", options.format, "TALVOR, VORK or DoRIV");
        throw CliFailure(options.model + ": fittedTo.format '" + formatName + "': TALVOR, VORK or DoRIV");
    }
    if (auto problem = ModelTraffic::unfitFor(model, *format))
        throw CliFailure(options.model + ": " + *problem + " (--format names another format)");
    ModelTraffic traffic(model, *format, options.seed, durationS, startS);
    const long long vehicles =
        writeTraffic(options, options.model, [&traffic](std::ostream& stream) { return traffic.write(stream); });
    out << "Wrote " << vehicles << " vehicles drawn from " << options.model << " to " << options.output << " (seed "
        << options.seed << ")\n";
    if (vehicles == 0)
        err << "roadflux-cli: " << options.output << ": no vehicle arrived within the duration\n";
    return 0;
}

long long GenerateCommand::writeTraffic(const Options& options, const std::string& modelFile,
                                        const std::function<long long(std::ostream&)>& write)
{
    std::error_code error;
    if (fs::exists(options.output, error) && !options.force)
        throw CliFailure(options.output + ": the file exists already (--force replaces it)");
    if (auto problem = whyNotReplaceable(options.output))
        throw CliFailure(options.output + ": " + *problem + ": --force replaces only regular files");

    FileClaims files;
    files.addInput(theConfigData.getLoadedFrom(), "the configuration file");
    files.addInput(modelFile, "the traffic model");
    files.addOutput(options.output, "the traffic file", FileClaims::Writing::replacedWhole);
    FileClaim claim;
    if (auto problem = files.claim(claim))
        throw CliFailure(options.output + ": " + *problem);
    AtomicFileWriter writer(options.output);
    if (!writer.isOpen())
    {
        claim.abandon();
        throw CliFailure(options.output + ": the traffic file cannot be created (" + writer.getError() + ")");
    }
    const TemporaryFileGuard removedIfInterrupted(writer.getTemporaryPath());
    const long long vehicles = write(writer.out());
    if (!writer.commit())
    {
        claim.abandon();
        throw CliFailure(options.output + ": the traffic file cannot be written (" + writer.getError() + ")");
    }
    return vehicles;
}
