#pragma once
// `roadflux-cli example DIR`: copies the example study, its traffic file and Roadflux.ini into a
// folder of the user's, so that the example runs there and never where it was installed. It
// never replaces a file that is already there.

#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

namespace CLI {
class App;
}

class ExampleCommand
{
public:
    struct Options
    {
        std::string folder;
    };

    // The files the example is made of, in the order they are copied.
    static const std::vector<std::string>& exampleFiles();
    // Where the example's measurement files go, relative to the study: made empty in the copy.
    static const char* metricsFolder() { return "metrics"; }

    // Where the example is looked for: the installed share folder beside the running program,
    // then the source tree the program was built from.
    static std::vector<std::filesystem::path> defaultSources();

    static void addTo(CLI::App& app, Options& options);

    ExampleCommand(std::ostream& out, std::vector<std::filesystem::path> sources = defaultSources());

    // The exit status; throws CliFailure naming the file or folder at fault.
    int execute(const Options& options) const;

private:
    std::filesystem::path findSource() const;
    void refuseExistingFiles(const std::filesystem::path& folder) const;

    std::ostream& out;
    std::vector<std::filesystem::path> sources;
};
