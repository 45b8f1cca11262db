#include "cli/ExampleCommand.h"

#include "cli/CliFailure.h"
#include "files/AtomicFileWriter.h"
#include "files/InputFile.h"

#include <CLI/CLI.hpp>

#include <optional>
#include <ostream>

namespace fs = std::filesystem;

namespace {
fs::path runningProgram()
{
    std::error_code error;
    const fs::path program = fs::read_symlink("/proc/self/exe", error);
    return error ? fs::path() : program;
}

std::string listed(const std::vector<std::string>& names)
{
    std::string text;
    for (const std::string& name : names)
        text += (text.empty() ? "" : ", ") + name;
    return text;
}
}

const std::vector<std::string>& ExampleCommand::exampleFiles()
{
    static const std::vector<std::string> files{"study.rfx", "traffic.txt", "Roadflux.ini"};
    return files;
}

std::vector<fs::path> ExampleCommand::defaultSources()
{
    std::vector<fs::path> found;
    const fs::path program = runningProgram();
    // The program lives in PREFIX/bin and the example in PREFIX/share/...
    if (!program.empty())
        found.push_back(program.parent_path().parent_path() / ROADFLUX_EXAMPLES_INSTALL_DIR);
    found.push_back(ROADFLUX_EXAMPLES_SOURCE_DIR);
    return found;
}

void ExampleCommand::addTo(CLI::App& app, Options& options)
{
    CLI::App* example = app.add_subcommand(
        "example", "Copy the example study, its traffic file and Roadflux.ini into a folder, to run them there");
    example->add_option("folder", options.folder, "The folder to copy into; made when missing. No file is replaced")
        ->required();
}

ExampleCommand::ExampleCommand(std::ostream& outStream, std::vector<fs::path> sourceFolders)
    : out(outStream), sources(std::move(sourceFolders))
{
}

fs::path ExampleCommand::findSource() const
{
    std::string looked;
    for (const fs::path& source : sources)
    {
        bool complete = true;
        std::error_code error;
        for (const std::string& name : exampleFiles())
            complete = complete && fs::is_regular_file(source / name, error);
        if (complete)
            return source;
        looked += (looked.empty() ? "" : ", ") + source.lexically_normal().string();
    }
    throw CliFailure("the example cannot be found (looked in " + (looked.empty() ? "no folder" : looked) + ")");
}

// Checked before anything is copied, so that a refusal leaves the folder as it was.
void ExampleCommand::refuseExistingFiles(const fs::path& folder) const
{
    std::vector<std::string> existing;
    std::error_code error;
    for (const std::string& name : exampleFiles())
        if (fs::exists(folder / name, error) || fs::is_symlink(folder / name, error))
            existing.push_back((folder / name).string());
    if (!existing.empty())
        throw CliFailure(listed(existing) + (existing.size() == 1 ? ": the file exists" : ": the files exist") +
                         " already; the example never replaces a file, so choose another folder");
}

int ExampleCommand::execute(const Options& options) const
{
    const fs::path source = findSource();
    const fs::path folder(options.folder);
    refuseExistingFiles(folder);

    std::error_code error;
    fs::create_directories(folder / metricsFolder(), error);
    if (error || !fs::is_directory(folder / metricsFolder()))
        throw CliFailure(options.folder + ": the folder cannot be made" +
                         (error ? " (" + error.message() + ")" : std::string()));
    std::vector<std::string> copied;
    for (const std::string& name : exampleFiles())
    {
        const fs::path target = folder / name;
        std::string content;
        std::optional<std::string> problem = readFileBytes((source / name).string(), content);
        if (problem)
            problem = (source / name).string() + ": the example cannot be read (" + *problem + ")";
        else if (auto notWritten = createFileAtomically(target.string(), content))
            problem = target.string() + ": the file cannot be written (" + *notWritten + ")";
        if (problem)
        {
            // Half an example would block the next try: take back what this call wrote.
            removeCreatedFiles(copied);
            throw CliFailure(*problem);
        }
        copied.push_back(target.string());
    }
    out << "Copied " << listed(exampleFiles()) << " from " << source.lexically_normal().string() << " into "
        << options.folder << "\n"
        << "Run it there: cd " << options.folder << " && roadflux-cli run study.rfx\n";
    return 0;
}
