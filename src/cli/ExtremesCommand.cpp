#include "cli/ExtremesCommand.h"

#include "cli/CliFailure.h"
#include "cli/NumberOptions.h"
#include "files/AtomicFileWriter.h"
#include "files/FileClaims.h"
#include "outputfiles/BadFile.h"
#include "replications/BlockMaximaFits.h"
#include "replications/CalendarBlocks.h"
#include "replications/ComparisonError.h"
#include "replications/ExtremesText.h"

#include <CLI/CLI.hpp>

#include <filesystem>
#include <optional>
#include <ostream>
#include <sstream>

namespace fs = std::filesystem;

namespace {
using ExtremesText::number;
using ExtremesText::plural;
using ExtremesText::withError;

std::string padded(const std::string& text, std::size_t width)
{
    return text.size() >= width ? text + "  " : text + std::string(width - text.size(), ' ');
}

void printFitRow(std::ostream& out, const char* name, const ExtremeFit& fit)
{
    const GevParameters& p = fit.parameters;
    const GevParameters& e = fit.standardErrors;
    out << "    " << padded(name, 8) << padded(withError(p.location, e.location), 24)
        << padded(withError(p.scale, e.scale), 24)
        << padded(fit.model == ExtremeModel::Gumbel ? "0 (fixed)" : withError(p.shape, e.shape), 24)
        << number(fit.logLikelihood) << '\n';
}

void printBridge(std::ostream& out, const BridgeBlocks& blocks, const BlockMaximaFits& fits,
                 const std::vector<ReturnPeriod>& periods, BlockLength length)
{
    const std::string unit = CalendarBlocks::nameOf(length);
    out << "\nBridge " << blocks.bridge << ": " << ExtremesText::blockCounts(blocks, length) << '\n';
    if (const std::string note = ExtremesText::intervalRowsNote(blocks); !note.empty())
        out << "  " << note << '\n';
    if (const std::string largest = ExtremesText::largestMaximum(blocks, length); !largest.empty())
        out << "  " << largest << '\n';
    if (!fits.gumbel)
        return;
    const std::size_t n = fits.gumbel->blocks;
    out << "  Maximum likelihood fits of " << plural(n, unit) << " (standard errors in brackets):\n"
        << "    " << padded("", 8) << padded("location", 24) << padded("scale", 24) << padded("shape", 24)
        << "log-likelihood\n";
    printFitRow(out, "Gumbel", *fits.gumbel);
    if (fits.gev)
        printFitRow(out, "GEV", *fits.gev);
    if (fits.test)
        out << "  Gumbel against GEV: " << ExtremesText::testFigures(*fits.test) << " (" << plural(n, unit)
            << "): " << ExtremesText::testVerdict(*fits.test) << '\n';
    out << "  Return levels, 95 % confidence intervals (Gumbel: delta method; GEV: profile likelihood):\n"
        << "    " << padded("period", 30) << padded("Gumbel", 34) << "GEV\n";
    for (std::size_t i = 0; i < periods.size(); ++i)
    {
        out << "    " << padded(ExtremesText::periodText(periods[i], length), 30)
            << padded(ExtremesText::deltaText(fits.gumbelLevels[i]), 34);
        if (i < fits.gevProfiles.size() && fits.gevProfiles[i])
            out << ExtremesText::profileText(*fits.gevProfiles[i]);
        else
            out << "-";
        out << '\n';
    }
}

// One CSV file per bridge, one kind of row after another: the whole blocks, the partial ones,
// each fit's parameters and log-likelihood, the return levels and the test.
class CsvRows
{
public:
    static constexpr const char* header = "row,series,block,start_s,time_s,covered_s,model,figure,period_years,"
                                          "period_blocks,value,standard_error,low,high,blocks,interval\n";

    void block(const char* kind, const CalendarBlock& b)
    {
        text << kind << ',' << b.series << ',' << b.number << ',' << cell(b.start) << ',' << cell(b.time) << ','
             << cell(b.covered) << ",,,,," << cell(b.maximum) << ",,,,,\n";
    }

    void parameter(const ExtremeFit& fit, const char* figure, double value, std::optional<double> error)
    {
        text << "fit,,,,,," << modelName(fit) << ',' << figure << ",,," << cell(value) << ','
             << (error ? cell(*error) : "") << ",,," << fit.blocks << ",\n";
    }

    void level(const ExtremeFit& fit, const ReturnPeriod& period, double value, std::optional<double> error,
               std::optional<double> low, std::optional<double> high, const char* interval)
    {
        text << "return_level,,,,,," << modelName(fit) << ",level," << cell(period.years) << ',' << cell(period.blocks)
             << ',' << cell(value) << ',' << (error ? cell(*error) : "") << ',' << (low ? cell(*low) : "") << ','
             << (high ? cell(*high) : "") << ',' << fit.blocks << ',' << interval << '\n';
    }

    void test(const LikelihoodRatio& ratio, std::size_t blocks)
    {
        text << "likelihood_ratio,,,,,,Gumbel against GEV,deviance,,," << cell(ratio.deviance) << ",,,," << blocks
             << ",\n";
        text << "likelihood_ratio,,,,,,Gumbel against GEV,p_value,,," << cell(ratio.pValue) << ",,,," << blocks
             << ",\n";
    }

    std::string str() const { return header + text.str(); }

private:
    static const char* modelName(const ExtremeFit& fit) { return fit.model == ExtremeModel::Gumbel ? "Gumbel" : "GEV"; }
    static std::string cell(double value) { return number(value, 12); }

    std::ostringstream text;
};

std::string csvOf(const BridgeBlocks& blocks, const BlockMaximaFits& fits, const std::vector<ReturnPeriod>& periods)
{
    CsvRows rows;
    for (const CalendarBlock& block : blocks.whole)
        rows.block("block", block);
    for (const CalendarBlock& block : blocks.partial)
        rows.block("partial_block", block);
    for (const ExtremeFit* model : {fits.gumbel ? &*fits.gumbel : nullptr, fits.gev ? &*fits.gev : nullptr})
    {
        if (model == nullptr)
            continue;
        const bool gev = model->model == ExtremeModel::Gev;
        rows.parameter(*model, "location", model->parameters.location, model->standardErrors.location);
        rows.parameter(*model, "scale", model->parameters.scale, model->standardErrors.scale);
        rows.parameter(*model, "shape", model->parameters.shape,
                       gev ? std::optional<double>(model->standardErrors.shape) : std::nullopt);
        rows.parameter(*model, "log_likelihood", model->logLikelihood, std::nullopt);
    }
    for (std::size_t i = 0; fits.gumbel && i < fits.gumbelLevels.size(); ++i)
    {
        const ReturnLevel& g = fits.gumbelLevels[i];
        rows.level(*fits.gumbel, periods[i], g.level, g.standardError, g.low, g.high, "delta");
    }
    for (std::size_t i = 0; fits.gev && i < fits.gevLevels.size(); ++i)
    {
        const ReturnLevel& d = fits.gevLevels[i];
        const bool profiled = i < fits.gevProfiles.size() && fits.gevProfiles[i];
        rows.level(*fits.gev, periods[i], d.level, d.standardError, profiled ? fits.gevProfiles[i]->low : std::nullopt,
                   profiled ? fits.gevProfiles[i]->high : std::nullopt, "profile");
    }
    if (fits.test)
        rows.test(*fits.test, fits.gev->blocks);
    return rows.str();
}

fs::path csvPath(const fs::path& folder, const std::string& bridge)
{
    return folder / ("extremes_" + bridge + ".csv");
}

// The CSV folder may not be a run's own folder or its metrics: a later call would read them back.
void makeCsvFolder(const fs::path& folder, const std::vector<std::string>& runs)
{
    std::error_code error;
    for (const std::string& run : runs)
        for (const fs::path& own : {fs::path(run), fs::path(run) / "metrics"})
            if (fs::equivalent(own, folder, error))
                throw CliFailure(folder.string() + ": the folder of the run " + run +
                                 ": the CSV files go into a folder of their own");
    fs::create_directories(folder, error);
    if (error || !fs::is_directory(folder, error))
        throw CliFailure(folder.string() + ": the folder cannot be made" + (error ? ": " + error.message() : ""));
}

std::vector<ReturnPeriod> periodsOf(const ExtremesCommand::Options& options, BlockLength length)
{
    for (double y : options.returnYears)
        if (auto refusal = ReturnPeriods::refusalOf(y, length))
            throw CliFailure("--return-period " + number(y) + ": " + *refusal, CliFailure::usage);
    return ReturnPeriods::of(options.returnYears, options.returnBlocks, length);
}
}

void ExtremesCommand::addTo(CLI::App& app, Options& options)
{
    CLI::App* extremes = app.add_subcommand(
        "extremes", "Each bridge's daily or weekly maxima across runs fitted by the Gumbel and the GEV distribution");
    extremes->add_option("runs", options.runFolders, "The runs' folders (each with metrics/ and summary.txt)")
        ->required();
    extremes->add_option("--block", options.block, "The block of each maximum: day (default) or week of the clock")
        ->check(CLI::IsMember({"day", "week"}));
    extremes
        ->add_option("--return-period", options.returnYears,
                     "Return periods in years of 365.25 days, above one block and up to 1e6 (default 75 1000)")
        ->check(NumberOptions::real(0.0, ReturnPeriods::longestYears, "years", true));
    extremes
        ->add_option("--return-blocks", options.returnBlocks,
                     "Return periods in blocks (days or weeks), above 1 and up to 1e9, besides or in place of years")
        ->check(NumberOptions::real(1.0, ReturnPeriods::longestBlocks, "blocks", true));
    extremes->add_option("--csv", options.csvFolder, "Folder for the CSV files, one per bridge: extremes_<bridge>.csv");
}

ExtremesCommand::ExtremesCommand(std::ostream& outStream, std::ostream& errStream) : out(outStream), err(errStream) {}

int ExtremesCommand::execute(const Options& options) const
{
    const BlockLength length = options.block == "week" ? BlockLength::week : BlockLength::day;
    const std::vector<ReturnPeriod> periods = periodsOf(options, length);
    BlockCollection collection;
    try
    {
        std::vector<fs::path> runs(options.runFolders.begin(), options.runFolders.end());
        collection = collectCalendarBlocks(runs, length);
    }
    catch (const ComparisonError& refused)
    {
        throw CliFailure(refused.what());
    }
    catch (const BadFile& bad)
    {
        throw CliFailure(bad.what());
    }

    FileClaim claim;
    if (!options.csvFolder.empty())
    {
        makeCsvFolder(options.csvFolder, options.runFolders);
        FileClaims files;
        for (const fs::path& input : collection.inputFiles)
            files.addInput(input.string(), "the run's file " + input.string());
        for (const BridgeBlocks& blocks : collection.bridges)
        {
            const std::string path = csvPath(options.csvFolder, blocks.bridge).string();
            files.addOutput(path, "the CSV file " + path, FileClaims::Writing::replacedWhole);
        }
        if (auto problem = files.claim(claim))
            throw CliFailure(*problem);
    }

    out << ExtremesText::preamble(length, options.runFolders.size());
    int status = 0;
    for (const BridgeBlocks& blocks : collection.bridges)
    {
        const BlockMaximaFits fits = BlockFits::of(blocks, periods);
        printBridge(out, blocks, fits, periods, length);
        for (const std::string& problem : fits.problems)
        {
            err << "roadflux-cli: bridge " << blocks.bridge << ": " << problem << '\n';
            status = CliFailure::failed;
        }
        for (const std::string& note : fits.notes)
            err << "roadflux-cli: bridge " << blocks.bridge << ": note: " << note << '\n';
        if (options.csvFolder.empty())
            continue;
        const std::string path = csvPath(options.csvFolder, blocks.bridge).string();
        if (auto problem = writeFileAtomically(path, csvOf(blocks, fits, periods)))
            throw CliFailure(path + ": the CSV file cannot be written: " + *problem);
    }
    if (!options.csvFolder.empty())
        out << "\nCSV files: " << collection.bridges.size() << " in " << options.csvFolder << '\n';
    return status;
}
