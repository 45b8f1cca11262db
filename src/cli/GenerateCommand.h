#pragma once
// `roadflux-cli generate`: writes a synthetic traffic file in any of the three formats from a
// duration, flows per lane and direction, a class mix and a seed.

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>

struct TrafficGeneratorSettings;

class GenerateCommand
{
public:
    struct Options
    {
        std::string output;
        std::string format = "TALVOR";
        std::string duration = "30";  // a number with s, min or m (the default), h or d
        std::optional<double> flow;   // vehicles per hour per lane, both directions
        std::optional<double> flowDir1;
        std::optional<double> flowDir2;
        std::optional<int> lanesDir1;
        std::optional<int> lanesDir2;
        std::string mix;              // e.g. car=80,small-truck=8,large-truck=8,crane=2,low-loader=2
        std::string start = "08:00";  // time of day of day 1, month 1, year 0
        bool startGiven = false;      // a model's traffic starts at 00:00 unless --start says otherwise
        long long day = 0;            // days of the calendar before the traffic's first, from day 1, month 1, year 0
        std::uint32_t seed = 1;
        bool force = false;  // replaces an existing file
        std::string model;   // a traffic model (JSON) to draw from, in place of flows and mix
        bool formatGiven = false;
    };

    GenerateCommand(std::ostream& out, std::ostream& err);

    // The exit status; throws CliFailure naming the option or file.
    int execute(const Options& options);

    // Exposed for tests: the settings the options stand for.
    static TrafficGeneratorSettings settingsFrom(const Options& options);

private:
    int executeModel(const Options& options);
    // Claims the output and writes it whole through `write`; returns the vehicles written.
    long long writeTraffic(const Options& options, const std::string& modelFile,
                           const std::function<long long(std::ostream&)>& write);

    std::ostream& out;
    std::ostream& err;
};
