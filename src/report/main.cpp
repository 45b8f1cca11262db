// roadflux-report FOLDER [-o report.html] [--study FILE] [--config FILE] [--return-period YEARS]
// [--hour H]: the report of a run as one HTML file, written without a display.
// roadflux-report --compare RUN_FOLDER... [-o compare.html] [--csv DIR]: the comparison of a
// sweep's runs as one HTML file.

#include "report/CompareReport.h"
#include "report/HtmlReport.h"

#include "config/CConfigData.h"
#include "document/StudyDocument.h"
#include "files/AtomicFileWriter.h"
#include "files/FileClaims.h"
#include "loadeffects/BridgesFile.h"
#include "outputfiles/BadFile.h"
#include "replications/ComparisonError.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>

namespace {

constexpr int failure = 1;
constexpr int usage = 2;
// Beyond these a return level or an hour of the run means nothing: a million years, a century.
constexpr double maxReturnYears = 1e6;
constexpr int maxHour = 24 * 366 * 100;

// A report needs no screen: without a display Qt would abort, so the offscreen platform is chosen.
void chooseOffscreenWithoutDisplay(std::unique_ptr<QTemporaryDir>& runtimeDir)
{
    bool display = !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    if (!display && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
    {
        runtimeDir = std::make_unique<QTemporaryDir>();
        if (runtimeDir->isValid())
            qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtimeDir->path()));
    }
}

int fail(const QString& message, int status = failure)
{
    std::fprintf(stderr, "roadflux-report: %s\n", qPrintable(message));
    return status;
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

int writeComparison(const QStringList& folders, const QString& target, const QString& csvFolder)
{
    if (folders.isEmpty())
        return fail(QStringLiteral("--compare needs the runs' folders (see --help)"), usage);
    CompareRunsOptions options;
    for (const QString& folder : folders)
        options.runFolders.emplace_back(folder.toStdString());
    options.csvFolder = csvFolder.toStdString();
    options.callerFiles.addOutput(target.toStdString(), "the page", FileClaims::Writing::replacedWhole);
    try
    {
        CompareRunsResult result = compareRuns(options);
        if (const int status = writePage(target, CompareReport::build(result), *result.claim))
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
    std::printf("Comparison written to %s\n", qPrintable(QDir::toNativeSeparators(target)));
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    std::unique_ptr<QTemporaryDir> runtimeDir;
    chooseOffscreenWithoutDisplay(runtimeDir);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("roadflux-report"));
    QApplication::setApplicationVersion(QStringLiteral(ROADFLUX_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Writes the report of a run as one HTML file: the run's summary, key figures per detector and "
        "bridge and every chart of its measurement and load-effect files. FOLDER is a run's folder (with "
        "summary.txt and metrics/) or a folder of measurement files. With --compare, the comparison of a "
        "sweep's runs instead: the runs needed, the mean over the runs with its 95 % band, the runs' "
        "fundamental diagrams."));
    parser.addHelpOption();
    QCommandLineOption version(QStringLiteral("version"), QStringLiteral("Print the version and end."));
    parser.addPositionalArgument(QStringLiteral("FOLDER"),
                                 QStringLiteral("The run's folder; with --compare, the runs' folders"));
    QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")},
                              QStringLiteral("The report file (default: FOLDER/report.html)."), QStringLiteral("FILE"));
    QCommandLineOption study(QStringLiteral("study"),
                             QStringLiteral("The study that made the run: its detectors' intervals."),
                             QStringLiteral("FILE"));
    QCommandLineOption bridgesFile(QStringLiteral("bridges"),
                                   QStringLiteral("The bridges file of the run (the load effects' units), in place "
                                                  "of STUDY.bridges beside the study."),
                                   QStringLiteral("FILE"));
    QCommandLineOption config(QStringLiteral("config"),
                              QStringLiteral("Configuration file (class colours), in place of Roadflux.ini in the "
                                             "current directory."),
                              QStringLiteral("FILE"));
    QCommandLineOption returnPeriod(QStringLiteral("return-period"),
                                    QStringLiteral("The return period of the load effects' return level, in years "
                                                   "(default 1000)."),
                                    QStringLiteral("YEARS"));
    QCommandLineOption hour(QStringLiteral("hour"),
                            QStringLiteral("The hour of the run (from 1) the load effects' second-by-second "
                                           "charts show (default 1)."),
                            QStringLiteral("H"));
    QCommandLineOption compare(QStringLiteral("compare"),
                               QStringLiteral("Compare the runs RUN_FOLDER... of a sweep instead: the mean over the "
                                              "runs with its 95 % confidence interval (default report: "
                                              "compare.html)."));
    QCommandLineOption csv(QStringLiteral("csv"),
                           QStringLiteral("With --compare: the folder for the comparison's CSV files, one per "
                                          "measurement file."),
                           QStringLiteral("DIR"));
    parser.addOptions({output, study, bridgesFile, config, returnPeriod, hour, compare, csv, version});
    if (!parser.parse(QApplication::arguments()))
        return fail(parser.errorText(), usage);
    if (parser.isSet(QStringLiteral("help")))
    {
        std::fputs(qPrintable(parser.helpText()), stdout);
        return 0;
    }
    if (parser.isSet(version))
    {
        std::printf("roadflux-report %s\n", ROADFLUX_VERSION);
        return 0;
    }
    if (parser.isSet(compare))
    {
        // Options of one run's report would be ignored in silence.
        for (const QCommandLineOption* single : {&study, &bridgesFile, &config, &returnPeriod, &hour})
            if (parser.isSet(*single))
                return fail(QStringLiteral("--%1 goes with the report of one run, not with --compare (see --help)")
                                .arg(single->names().constFirst()),
                            usage);
        return writeComparison(parser.positionalArguments(),
                               parser.isSet(output) ? parser.value(output) : QStringLiteral("compare.html"),
                               parser.value(csv));
    }
    if (parser.isSet(csv))
        return fail(QStringLiteral("--csv goes with --compare (see --help)"), usage);
    if (parser.positionalArguments().size() != 1)
        return fail(QStringLiteral("give one FOLDER (see --help)"), usage);
    LoadEffectOptions loadEffects;
    if (parser.isSet(returnPeriod))
    {
        bool ok = false;
        loadEffects.returnYears = parser.value(returnPeriod).toDouble(&ok);
        if (!ok || !std::isfinite(loadEffects.returnYears) || loadEffects.returnYears <= 0.0 ||
            loadEffects.returnYears > maxReturnYears)
            return fail(QStringLiteral("--return-period: '%1' is not a number of years above 0 and at most 1000000")
                            .arg(parser.value(returnPeriod)),
                        usage);
    }
    if (parser.isSet(hour))
    {
        bool ok = false;
        loadEffects.hour = parser.value(hour).toInt(&ok);
        if (!ok || loadEffects.hour < 1 || loadEffects.hour > maxHour)
            return fail(QStringLiteral("--hour: '%1' is not an hour of the run (1 to 876000)").arg(parser.value(hour)),
                        usage);
    }

    FileClaims files;
    if (parser.isSet(config))
    {
        if (!theConfigData.readConfigFile(parser.value(config).toStdString()))
            return fail(parser.value(config) + QStringLiteral(": Configuration file cannot be read"));
        files.addInput(parser.value(config).toStdString(), "the configuration file");
    }
    else if (QFile::exists(QStringLiteral("Roadflux.ini")))
    {
        theConfigData.readConfigFile("Roadflux.ini");
        files.addInput("Roadflux.ini", "the configuration file");
    }

    std::filesystem::path folder = parser.positionalArguments().first().toStdString();
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error))
        return fail(QString::fromStdString(folder.string()) + QStringLiteral(": no such folder"));
    ReportSources sources = HtmlReport::sourcesOf(folder);
    if (!sources.problem.empty())
        return fail(QString::fromStdString(sources.problem));
    sources.loadEffects = loadEffects;
    addRunInputs(files, folder, sources.measurementFolder);
    if (parser.isSet(study))
    {
        StudyDocument document;
        StudyFileResult opened = document.openFile(parser.value(study).toStdString());
        if (opened != StudyFileResult::ok)
            return fail(parser.value(study) + QStringLiteral(": ") + QString::fromStdString(studyFileMessage(opened)));
        sources.intervals = DetectorIntervals(document.getStatDetectors());
        files.addInput(parser.value(study).toStdString(), "the study file");
    }
    // The bridges only name the load effects' units: a broken bridges file leaves them unnamed.
    if (parser.isSet(bridgesFile))
    {
        const std::string bridges = parser.value(bridgesFile).toStdString();
        if (!std::filesystem::is_regular_file(bridges, error))
            return fail(parser.value(bridgesFile) + QStringLiteral(": no such bridges file"));
        sources.bridges = BridgesFile::read(bridges).set;
        files.addInput(bridges, "the bridges file");
    }
    else if (parser.isSet(study))
    {
        const std::string bridges = BridgesFile::besideStudy(parser.value(study).toStdString());
        if (std::filesystem::exists(bridges, error))
            sources.bridges = BridgesFile::read(bridges).set;
        files.addInput(bridges, "the bridges file");
    }

    QString target =
        parser.isSet(output) ? parser.value(output) : QString::fromStdString((folder / "report.html").string());
    files.addOutput(target.toStdString(), "the report", FileClaims::Writing::replacedWhole);
    FileClaim claim;
    if (auto problem = files.claim(claim))
        return fail(QString::fromStdString(*problem));
    if (const int status = writePage(target, HtmlReport::build(sources), claim))
        return status;
    std::printf("Report written to %s\n", qPrintable(QDir::toNativeSeparators(target)));
    return 0;
}
