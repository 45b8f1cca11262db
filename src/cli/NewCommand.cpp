#include "cli/NewCommand.h"

#include "cli/CliFailure.h"
#include "cli/ConsoleMessages.h"
#include "cli/DefinitionParser.h"
#include "config/CConfigData.h"
#include "document/SimulationSettingsEntry.h"
#include "document/StudyChecks.h"
#include "document/StudyDocument.h"
#include "document/StudyNames.h"
#include "document/StudyPaths.h"
#include "document/StudyRefusal.h"
#include "files/FileClaims.h"
#include "files/FileKind.h"

#include <cctype>
#include <filesystem>
#include <ostream>

namespace fs = std::filesystem;

namespace {
const char* optionOfControl(int control)
{
    switch (control)
    {
    case StudyChecks::inputFileControl: return "--input";
    case StudyChecks::outputFileControl: return "--output";
    case StudyChecks::roadLengthControl: return "--road-length";
    case StudyChecks::timeStepControl: return "--time-step-ms";
    case StudyChecks::lanesDir1Control: return "--lanes1";
    case StudyChecks::lanesDir2Control: return "--lanes2";
    case StudyChecks::fileLanesDir1Control: return "--file-lanes1";
    case StudyChecks::fileLanesDir2Control: return "--file-lanes2";
    case StudyChecks::outputDetector1Control: return "--output-detector1";
    case StudyChecks::outputDetector2Control: return "--output-detector2";
    default: return "";
    }
}

bool drivesOnRight(const std::string& side)
{
    std::string lower;
    for (char c : side)
        lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (lower == "right")
        return true;
    if (lower == "left")
        return false;
    throw CliFailure("--drive-on '" + side + "': the side is left or right", CliFailure::usage);
}
}

NewCommand::NewCommand(std::ostream& outStream, std::ostream& errStream, std::istream* answerStream)
    : out(outStream), err(errStream), answers(answerStream)
{
}

void NewCommand::refuse(const Options& options, const StudyRefusal& refusal, const char* option) const
{
    throw CliFailure(options.study + ": " + option + ": " + refusal.message);
}

// The settings as the simulation dialog would hold them: the document's, overridden by options.
SimulationSettingsEntry NewCommand::settingsEntry(const StudyDocument& document, const Options& options) const
{
    SimulationSettingsEntry entry;
    entry.inputFileName = options.input.value_or(document.getInputFileName());
    entry.outputFileName = options.output.value_or(document.getOutputFileName());
    entry.roadLength = options.roadLength.value_or(document.getRoadLength());
    entry.timeStepMs = options.timeStepMs.value_or(document.getTimeStepMs());
    entry.lanesDir1 = options.lanesDir1.value_or(document.getLanesDir1());
    entry.lanesDir2 = options.lanesDir2.value_or(document.getLanesDir2());
    entry.fileLanesDir1 = options.fileLanesDir1.value_or(document.getFileLanesDir1());
    entry.fileLanesDir2 = options.fileLanesDir2.value_or(document.getFileLanesDir2());
    entry.outputDetectorLocation1 = options.outputDetector1.value_or(document.getOutputDetectorLocation1());
    entry.outputDetectorLocation2 = options.outputDetector2.value_or(document.getOutputDetectorLocation2());
    return entry;
}

// In the order the simulation dialog writes its members back. File and folder names given
// relative to the current directory are stored relative to the study's folder.
void NewCommand::applySettings(StudyDocument& document, const SimulationSettingsEntry& entry,
                               const Options& options) const
{
    const StudyPaths paths(options.study);
    document.setInputFileName(paths.nameToStore(entry.inputFileName));
    document.setOutputFileName(paths.nameToStore(entry.outputFileName));
    if (options.metrics)
        document.setMetricsFolder(paths.nameToStore(*options.metrics));
    if (options.format)
    {
        const auto code = StudyNames::codeOf(StudyNames::fileFormats(), *options.format);
        if (!code)
            throw CliFailure("--format '" + *options.format + "': the format is TALVOR, VORK or DoRIV",
                             CliFailure::usage);
        document.setFileFormat(*code);
    }
    document.setRoadLength(entry.roadLength);
    if (options.driveOn)
        document.setDrivesOnRight(drivesOnRight(*options.driveOn));
    document.setLanesDir1(entry.lanesDir1);
    document.setLanesDir2(entry.lanesDir2);
    document.setTimeStep(entry.timeStepMs / 1000.0);
    if (options.laneChanges)
        document.setLaneChangesAllowed(*options.laneChanges);
    if (options.outputCars)
        document.setOutputCars(*options.outputCars);
    document.setFileLanesDir1(entry.fileLanesDir1);
    document.setFileLanesDir2(entry.fileLanesDir2);
    document.setOutputDetectorLocation1(entry.outputDetectorLocation1);
    document.setOutputDetectorLocation2(entry.outputDetectorLocation2);
    document.updateLaneTotals(true);
}

void NewCommand::setFeatures(StudyDocument& document, const Options& options) const
{
    if (options.features.empty() && !options.noFeatures)
        return;
    StudyDocument::RoadFeatureList features;
    for (const std::string& text : options.features)
        features.push_back(DefinitionParser::parseFeature(text));
    if (auto refusal = StudyChecks::checkRoadFeatures(features, document.getRoadLength(), theConfigData.maxGradient,
                                                      theConfigData.minSpeedLimit, theConfigData.maxSpeedLimit))
        refuse(options, *refusal, "--feature");
    document.setRoadFeatures(features);
}

void NewCommand::setDetectors(StudyDocument& document, const Options& options) const
{
    if (options.detectors.empty() && !options.noDetectors)
        return;
    StudyDocument::StatDetectorList detectors;
    for (const std::string& text : options.detectors)
        detectors.push_back(DefinitionParser::parseDetector(text));
    ConsoleMessages messages(out, err, answers, options.assumeYes);
    messages.setSubject(options.study);
    if (auto refusal = StudyChecks::checkStatDetectors(detectors, document.getRoadLength(), messages))
        refuse(options, *refusal, "--detector");
    document.setStatDetectors(detectors);
}

int NewCommand::execute(const Options& options)
{
    std::error_code error;
    if (fs::exists(options.study, error) && !options.force)
        throw CliFailure(options.study + ": the file exists already (--force replaces it)");
    if (auto problem = whyNotReplaceable(options.study))
        throw CliFailure(options.study + ": " + *problem + ": --force replaces only regular files");

    StudyDocument document;
    const SimulationSettingsEntry entry = settingsEntry(document, options);
    if (auto refusal = StudyChecks::checkSimulationSettings(entry))
        refuse(options, *refusal, optionOfControl(refusal->controlId));
    applySettings(document, entry, options);
    setFeatures(document, options);
    setDetectors(document, options);
    // Resolved from where the study will be, a study whose run would destroy its own inputs or
    // lose one of its outputs is not written.
    document.setPathName(options.study);
    if (auto clash = StudyChecks::checkMeasurementFileNames(document.getStatDetectors()))
        refuse(options, *clash, "--detector");
    if (auto conflict = document.runFiles().findConflict())
        throw CliFailure(options.study + ": " + *conflict);

    const std::string input = StudyPaths(options.study).resolveFile(document.getInputFileName());
    if (!fs::exists(input, error))
        err << "roadflux-cli: " << options.study << ": --input: " << fs::path(input).lexically_normal().string()
            << " does not exist yet; a run needs it\n";

    // The save refuses a study that would replace a file its run reads or writes.
    const StudyFileResult saved = document.saveFile(options.study);
    if (saved != StudyFileResult::ok)
        throw CliFailure(options.study + ": " + studyFileMessage(saved));
    out << "Wrote " << options.study << '\n';
    return 0;
}
