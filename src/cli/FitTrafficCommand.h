#pragma once
// `roadflux-cli fit-traffic`: fits a traffic model to recorded traffic files and writes it as
// JSON, for `generate --model` to draw from.

#include <iosfwd>
#include <string>
#include <vector>

namespace CLI {
class App;
}

class FitTrafficCommand
{
public:
    struct Options
    {
        std::vector<std::string> inputs;
        std::string output;
        std::string format;                   // TALVOR, VORK or DoRIV; empty: told from each file's first record
        std::string firstWeekday = "monday";  // of the files' day 0
        bool force = false;                   // replaces an existing model file
    };

    FitTrafficCommand(std::ostream& out, std::ostream& err);

    static void addTo(CLI::App& app, Options& options);
    // The exit status; throws CliFailure naming the option or file.
    int execute(const Options& options);

private:
    std::ostream& out;
    std::ostream& err;
};
