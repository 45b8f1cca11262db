#pragma once
// `roadflux-cli compare RUN_FOLDER...`: statistics of a sweep's runs, their CSV files and the
// number of runs needed, until the report program shows them with charts.

#include <iosfwd>
#include <string>
#include <vector>

namespace CLI {
class App;
}

class CompareCommand
{
public:
    struct Options
    {
        std::vector<std::string> runFolders;
        std::string csvFolder;
        std::vector<std::string> figures;
        double precisionPercent = 5.0;
    };

    static void addTo(CLI::App& app, Options& options);

    explicit CompareCommand(std::ostream& out);

    // The exit status; throws CliFailure when the runs cannot be compared.
    int execute(const Options& options) const;

private:
    std::ostream& out;
};
