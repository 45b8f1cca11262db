#include "cli/FitTrafficCommand.h"

#include "cli/CliFailure.h"
#include "config/CConfigData.h"
#include "files/AtomicFileWriter.h"
#include "files/FileClaims.h"
#include "files/FileKind.h"
#include "trafficmodel/ModelFile.h"
#include "trafficmodel/ModelFitter.h"
#include "trafficmodel/RecordedTraffic.h"
#include "trafficmodel/TrafficModelError.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <ostream>
#include <sstream>

namespace {
const std::string weekdays[] = {"monday", "tuesday", "wednesday", "thursday", "friday", "saturday", "sunday"};
}

FitTrafficCommand::FitTrafficCommand(std::ostream& outStream, std::ostream& errStream) : out(outStream), err(errStream)
{
}

void FitTrafficCommand::addTo(CLI::App& app, Options& o)
{
    CLI::App* fit =
        app.add_subcommand("fit-traffic", "Fit a traffic model (JSON) to recorded traffic files, for generate --model");
    fit->add_option("traffic", o.inputs, "Recorded traffic files, TALVOR, VORK or DoRIV (several weeks, say)")
        ->required();
    fit->add_option("-o,--output", o.output, "The model file to write (JSON)")->required();
    fit->add_option("--format", o.format,
                    "The files' format: TALVOR, VORK or DoRIV (default: told from the first "
                    "record of each file)");
    fit->add_option("--first-weekday", o.firstWeekday,
                    "The day of the week of the files' day 0 (year 0, month 1, day 1): monday (the default) to "
                    "sunday; days 5 and 6 after a Monday are the weekend");
    fit->add_flag("--force", o.force, "Replace an existing model file");
}

int FitTrafficCommand::execute(const Options& options)
{
    std::optional<std::uint16_t> format;
    if (!options.format.empty())
    {
        format = RecordedTraffic::formatNamed(options.format);
        if (!format)
            throw CliFailure("--format '" + options.format + "': TALVOR, VORK or DoRIV", CliFailure::usage);
    }
    const auto weekday = std::find(std::begin(weekdays), std::end(weekdays), options.firstWeekday);
    if (weekday == std::end(weekdays))
        throw CliFailure("--first-weekday '" + options.firstWeekday +
                             "': monday, tuesday, wednesday, thursday, "
                             "friday, saturday or sunday",
                         CliFailure::usage);
    if (options.output.empty())
        throw CliFailure("-o: the model file needs a name", CliFailure::usage);
    std::error_code error;
    if (std::filesystem::exists(options.output, error) && !options.force)
        throw CliFailure(options.output + ": the file exists already (--force replaces it)");
    if (auto problem = whyNotReplaceable(options.output))
        throw CliFailure(options.output + ": " + *problem + ": --force replaces only regular files");

    FileClaims files;
    files.addInput(theConfigData.getLoadedFrom(), "the configuration file");
    for (const auto& input : options.inputs)
        files.addInput(input, "a traffic file");
    files.addOutput(options.output, "the model file", FileClaims::Writing::replacedWhole);
    FileClaim claim;
    if (auto problem = files.claim(claim))
        throw CliFailure(options.output + ": " + *problem);

    std::string json;
    std::vector<std::string> notes;
    std::ostringstream fitted;
    try
    {
        ModelFitter fitter(format, static_cast<int>(weekday - std::begin(weekdays)));
        for (const auto& input : options.inputs)
            fitter.read(input);
        const TrafficModel::Model model = fitter.fit(notes);
        json = ModelFile::toJson(model);
        fitted << "Fitted " << model.lanes.size() << " lanes and " << model.groups.size() << " vehicle groups to "
               << model.vehicles << " vehicles (" << model.weekdayHours << " weekday and " << model.weekendHours
               << " weekend hours)";
    }
    catch (const TrafficModelError& failure)
    {
        claim.abandon();
        throw CliFailure(failure.what());
    }
    for (const auto& note : notes)
        err << "roadflux-cli: " << note << '\n';
    if (auto problem = writeFileAtomically(options.output, json))
    {
        claim.abandon();
        throw CliFailure(options.output + ": the model file cannot be written (" + *problem + ")");
    }
    out << fitted.str() << "; wrote the model to " << options.output << '\n';
    return 0;
}
