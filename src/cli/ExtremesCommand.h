#pragma once
// `roadflux-cli extremes RUN...`: each bridge's daily or weekly maxima across runs fitted by the
// Gumbel and the GEV distribution, with return levels, their confidence intervals and the
// likelihood-ratio test of the Gumbel; a table per bridge, and a CSV file per bridge on request.

#include <iosfwd>
#include <string>
#include <vector>

namespace CLI {
class App;
}

class ExtremesCommand
{
public:
    struct Options
    {
        std::vector<std::string> runFolders;
        std::string block = "day";
        std::vector<double> returnYears;   // empty: 75 and 1000 years, unless blocks are given
        std::vector<double> returnBlocks;  // periods counted in blocks
        std::string csvFolder;
    };

    static void addTo(CLI::App& app, Options& options);

    ExtremesCommand(std::ostream& out, std::ostream& err);

    // 0 when every bridge was fitted; 1 when a bridge had too few whole blocks or a fit failed
    // (said on err by the bridge's name; the other bridges are printed and written all the same).
    // Throws CliFailure when the runs cannot be read or the CSV files cannot be written.
    int execute(const Options& options) const;

private:
    std::ostream& out;
    std::ostream& err;
};
