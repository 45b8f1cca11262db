#include "cli/CompareCommand.h"

#include "cli/CliFailure.h"
#include "cli/NumberOptions.h"
#include "outputfiles/BadFile.h"
#include "replications/CompareRuns.h"
#include "replications/ComparisonError.h"

#include <CLI/CLI.hpp>

#include <ostream>

void CompareCommand::addTo(CLI::App& app, Options& options)
{
    CLI::App* compare = app.add_subcommand(
        "compare", "Mean, deviation and 95 % confidence interval of every measurement over a sweep's runs");
    compare->add_option("runs", options.runFolders, "The runs' folders (each with metrics/ and summary.txt)")
        ->required();
    compare->add_option("--csv", options.csvFolder, "Folder for the CSV files, one per measurement file");
    compare->add_option("--figure", options.figures,
                        "FILE:NAME, repeatable: a figure whose runs needed are told; by default every key "
                        "figure: flows, densities and speeds, mean headways, lane changes, mean interval maxima");
    compare
        ->add_option("--precision", options.precisionPercent,
                     "Half-width of the confidence interval aimed at, 0.01 to 99 % of the mean (default 5)")
        ->check(NumberOptions::real(0.01, 99.0, "%"));
}

CompareCommand::CompareCommand(std::ostream& outStream) : out(outStream) {}

int CompareCommand::execute(const Options& options) const
{
    CompareRunsOptions compare;
    compare.runFolders.assign(options.runFolders.begin(), options.runFolders.end());
    compare.csvFolder = options.csvFolder;
    compare.figures = options.figures;
    compare.relativePrecision = options.precisionPercent / 100.0;
    try
    {
        printComparison(compareRuns(compare), out);
    }
    catch (const ComparisonError& refused)
    {
        throw CliFailure(refused.what());
    }
    catch (const BadFile& bad)
    {
        throw CliFailure(bad.what());
    }
    return 0;
}
