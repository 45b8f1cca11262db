#include "report/ReportCommands.h"

#include "config/CConfigData.h"
#include "document/StudyDocument.h"
#include "files/AtomicFileWriter.h"
#include "files/FileClaims.h"
#include "loadeffects/BridgesFile.h"
#include "outputfiles/BadFile.h"
#include "replications/ComparisonError.h"
#include "report/CompareReport.h"
#include "report/ExtremesReport.h"
#include "report/HtmlReport.h"

#include <QDir>
#include <QFile>

#include <cstdio>
#include <filesystem>
#include <iostream>

namespace {

constexpr int failure = 1;

int fail(const QString& message)
{
    std::fprintf(stderr, "roadflux-report: %s\n", qPrintable(message));
    return failure;
}

// The page replaces its target whole or not at all, and never one of the files it was made from.
int writePage(const QString& target, const QString& html, FileClaim& claim)
{
    if (auto problem = writeFileAtomically(target.toStdString(), html.toUtf8().toStdString()))
    {
        claim.abandon();
        return fail(target + QStringLiteral(": the page cannot be written (") + QString::fromStdString(*problem) +
                    QStringLiteral(")"));
    }
    return 0;
}

// Every file a report of `folder` reads: its summary and the measurement and load-effect files.
void addRunInputs(FileClaims& files, const std::filesystem::path& folder, const std::filesystem::path& measurements)
{
    files.addInput((folder / "summary.txt").string(), "the run's summary");
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(measurements, error))
        if (entry.path().extension() == ".csv")
            files.addInput(entry.path().string(), "the measurement file " + entry.path().string());
}

// The class colours of the charts: the configuration asked for, or Roadflux.ini when present.
int readConfiguration(const std::optional<QString>& config, FileClaims& files, QString& read)
{
    if (config)
    {
        read = *config;
        if (!theConfigData.readConfigFile(config->toStdString()))
            return fail(*config + QStringLiteral(": Configuration file cannot be read"));
        files.addInput(config->toStdString(), "the configuration file");
    }
    else if (QFile::exists(QStringLiteral("Roadflux.ini")))
    {
        theConfigData.readConfigFile("Roadflux.ini");
        files.addInput("Roadflux.ini", "the configuration file");
        read = QStringLiteral("Roadflux.ini");
    }
    return 0;
}

// The detectors' intervals from the study that made the run.
int readStudy(const QString& study, ReportSources& sources, FileClaims& files)
{
    StudyDocument document;
    StudyFileResult opened = document.openFile(study.toStdString());
    if (opened != StudyFileResult::ok)
        return fail(study + QStringLiteral(": ") + QString::fromStdString(studyFileMessage(opened)));
    sources.intervals = DetectorIntervals(document.getStatDetectors());
    sources.lanes = {document.getLanesDir1(), document.getLanesDir2()};
    sources.study = study;
    sources.inputFile = QString::fromStdString(document.resolvedInputFileName());
    files.addInput(study.toStdString(), "the study file");
    return 0;
}

// The bridges only name the load effects' units: a broken bridges file leaves them unnamed.
int readBridges(const ReportRequest& request, ReportSources& sources, FileClaims& files)
{
    std::error_code error;
    if (request.bridges)
    {
        const std::string bridges = request.bridges->toStdString();
        if (!std::filesystem::is_regular_file(bridges, error))
            return fail(*request.bridges + QStringLiteral(": no such bridges file"));
        sources.bridges = BridgesFile::read(bridges).set;
        files.addInput(bridges, "the bridges file");
    }
    else if (request.study)
    {
        const std::string bridges = BridgesFile::besideStudy(request.study->toStdString());
        if (std::filesystem::exists(bridges, error))
            sources.bridges = BridgesFile::read(bridges).set;
        files.addInput(bridges, "the bridges file");
    }
    return 0;
}

}  // namespace

int writeRunReport(const ReportRequest& request)
{
    FileClaims files;
    QString configuration;
    if (const int status = readConfiguration(request.config, files, configuration))
        return status;

    std::filesystem::path folder = request.folders.first().toStdString();
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error))
        return fail(QString::fromStdString(folder.string()) + QStringLiteral(": no such folder"));
    ReportSources sources = HtmlReport::sourcesOf(folder);
    if (!sources.problem.empty())
        return fail(QString::fromStdString(sources.problem));
    sources.loadEffects = request.loadEffects;
    sources.configuration = configuration;
    addRunInputs(files, folder, sources.measurementFolder);
    if (request.study)
        if (const int status = readStudy(*request.study, sources, files))
            return status;
    if (const int status = readBridges(request, sources, files))
        return status;

    QString target =
        request.output.isEmpty() ? QString::fromStdString((folder / "report.html").string()) : request.output;
    files.addOutput(target.toStdString(), "the report", FileClaims::Writing::replacedWhole);
    FileClaim claim;
    if (auto problem = files.claim(claim))
        return fail(QString::fromStdString(*problem));
    if (const int status = writePage(target, HtmlReport::build(sources), claim))
        return status;
    std::printf("Report written to %s\n", qPrintable(QDir::toNativeSeparators(target)));
    return 0;
}

int writeComparison(const ReportRequest& request)
{
    CompareRunsOptions options;
    for (const QString& folder : request.folders)
        options.runFolders.emplace_back(folder.toStdString());
    options.csvFolder = request.csvFolder.toStdString();
    for (const QString& figure : request.figures)
        options.figures.push_back(figure.toStdString());
    options.relativePrecision = request.precision;
    options.callerFiles.addOutput(request.output.toStdString(), "the page", FileClaims::Writing::replacedWhole);
    try
    {
        CompareRunsResult result = compareRuns(options);
        if (const int status = writePage(request.output, CompareReport::build(result), *result.claim))
            return status;
        printComparison(result, std::cout);
    }
    catch (const ComparisonError& refused)
    {
        return fail(QString::fromStdString(refused.what()));
    }
    catch (const BadFile& bad)
    {
        return fail(QString::fromStdString(bad.what()));
    }
    std::printf("Comparison written to %s\n", qPrintable(QDir::toNativeSeparators(request.output)));
    return 0;
}

int writeExtremes(const ReportRequest& request)
{
    std::vector<std::filesystem::path> runs;
    for (const QString& folder : request.folders)
        runs.emplace_back(folder.toStdString());
    ExtremesPage page;
    try
    {
        page = ExtremesReport::analyse(runs, request.block, request.returnYears);
    }
    catch (const ComparisonError& refused)
    {
        return fail(QString::fromStdString(refused.what()));
    }
    catch (const BadFile& bad)
    {
        return fail(QString::fromStdString(bad.what()));
    }
    FileClaims files;
    for (const std::filesystem::path& input : page.collection.inputFiles)
        files.addInput(input.string(), "the run's file " + input.string());
    files.addOutput(request.output.toStdString(), "the page", FileClaims::Writing::replacedWhole);
    FileClaim claim;
    if (auto problem = files.claim(claim))
        return fail(QString::fromStdString(*problem));
    if (const int status = writePage(request.output, ExtremesReport::build(page), claim))
        return status;
    // The page is whole all the same: a bridge without a fit says why on it.
    for (std::size_t b = 0; b < page.fits.size(); ++b)
        for (const std::string& problem : page.fits[b].problems)
            std::fprintf(stderr, "roadflux-report: bridge %s: %s (said on the page)\n",
                         page.collection.bridges[b].bridge.c_str(), problem.c_str());
    std::printf("Extremes written to %s\n", qPrintable(QDir::toNativeSeparators(request.output)));
    return 0;
}
