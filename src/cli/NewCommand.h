#pragma once
// `roadflux-cli new`: writes a study with the defaults of File, New and the settings, road
// features and detectors given as options. It refuses what the configuration dialogs refuse,
// with their messages, and never replaces an existing file unless told to.

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

class StudyDocument;
struct SimulationSettingsEntry;
struct StudyRefusal;

class NewCommand
{
public:
    struct Options
    {
        std::string study;
        std::optional<std::string> input;
        std::optional<std::string> output;
        std::optional<std::string> metrics;
        std::optional<std::string> format;  // TALVOR, VORK or DoRIV
        std::optional<int> roadLength;      // m
        std::optional<int> lanesDir1;
        std::optional<int> lanesDir2;
        std::optional<int> fileLanesDir1;
        std::optional<int> fileLanesDir2;
        std::optional<std::string> driveOn;  // left or right
        std::optional<int> timeStepMs;       // ms
        std::optional<int> outputDetector1;  // m, road x
        std::optional<int> outputDetector2;  // m, road x
        std::optional<bool> laneChanges;
        std::optional<bool> outputCars;
        std::vector<std::string> features;   // replace the default feature
        std::vector<std::string> detectors;  // replace the default detector
        bool noFeatures = false;
        bool noDetectors = false;
        bool assumeYes = false;  // keeps very small detector intervals without asking
        bool force = false;      // replaces an existing study file
    };

    NewCommand(std::ostream& out, std::ostream& err, std::istream* answers);

    // The exit status; throws CliFailure with the refusal.
    int execute(const Options& options);

private:
    SimulationSettingsEntry settingsEntry(const StudyDocument& document, const Options& options) const;
    void applySettings(StudyDocument& document, const SimulationSettingsEntry& entry, const Options& options) const;
    void setFeatures(StudyDocument& document, const Options& options) const;
    void setDetectors(StudyDocument& document, const Options& options) const;
    [[noreturn]] void refuse(const Options& options, const StudyRefusal& refusal, const char* option) const;

    std::ostream& out;
    std::ostream& err;
    std::istream* answers;
};
