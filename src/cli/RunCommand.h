#pragma once
// `roadflux-cli run`: what the desktop program's invisible run does (set-up, steps until the
// end, reset), with progress on the error stream and a summary on the output stream. Files
// named on the command line replace the study's and are taken from the current directory.

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>

class RunBridges;
class FileClaim;
class StudyDocument;
class TrajectoryOutput;
struct RunStatistics;

class RunCommand
{
public:
    struct Options
    {
        std::string study;
        std::string input;    // replaces the study's input traffic file
        std::string output;   // replaces the study's output traffic file
        std::string metrics;  // replaces the study's metrics folder
        // A folder for this run's outputs: output.txt and metrics/ inside it unless --output or
        // --metrics say otherwise; created when missing.
        std::string outDir;
        std::optional<std::uint32_t> seed;  // makes the run repeatable
        std::string bridges;                // bridges file, in place of STUDY.bridges beside the study
        // Replaces the release order of STUDY.options beside the study; "" keeps it.
        std::string releaseOrder;
        std::string trajectories;         // CSV file of sampled vehicles; none when empty
        double trajectoryInterval = 1.0;  // s of simulated time between samples
    };

    RunCommand(std::ostream& out, std::ostream& err, bool errIsTerminal);

    // The exit status; throws CliFailure when the run cannot start.
    int execute(const Options& options);

private:
    void applyOverrides(StudyDocument& document, const Options& options) const;
    static void applyStudyOptions(StudyDocument& document, const Options& options);
    static std::unique_ptr<TrajectoryOutput> claimTrajectories(const StudyDocument& document, const Options& options,
                                                               FileClaim& claim);
    // False, with a message naming each, when an output or measurement file is not whole.
    bool reportLostOutputs(const RunStatistics& statistics, const std::string& outputFile) const;

    std::ostream& out;
    std::ostream& err;
    bool errIsTerminal;
};
