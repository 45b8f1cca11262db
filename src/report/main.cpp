// roadflux-report FOLDER [-o report.html] [--study FILE] [--config FILE]: the report of a run as
// one HTML file, written without a display.

#include "report/HtmlReport.h"

#include "config/CConfigData.h"
#include "document/StudyDocument.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>

#include <cstdio>
#include <filesystem>
#include <memory>

namespace {

constexpr int failure = 1;
constexpr int usage = 2;

// A report needs no screen: without a display Qt would abort, so the offscreen platform is chosen.
void chooseOffscreenWithoutDisplay(std::unique_ptr<QTemporaryDir>& runtimeDir)
{
    bool display = !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    if (!display && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
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
        "every chart of its measurement files. FOLDER is a run's folder (with summary.txt and metrics/) or a "
        "folder of measurement files."));
    parser.addHelpOption();
    QCommandLineOption version(QStringLiteral("version"), QStringLiteral("Print the version and end."));
    parser.addPositionalArgument(QStringLiteral("FOLDER"), QStringLiteral("The run's folder"));
    QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")},
                              QStringLiteral("The report file (default: FOLDER/report.html)."), QStringLiteral("FILE"));
    QCommandLineOption study(QStringLiteral("study"),
                             QStringLiteral("The study that made the run: its detectors' intervals."),
                             QStringLiteral("FILE"));
    QCommandLineOption config(QStringLiteral("config"),
                              QStringLiteral("Configuration file (class colours), in place of Roadflux.ini in the "
                                             "current directory."),
                              QStringLiteral("FILE"));
    parser.addOptions({output, study, config, version});
    if (!parser.parse(QApplication::arguments()))
        return fail(parser.errorText(), usage);
    if (parser.isSet(QStringLiteral("help"))) {
        std::fputs(qPrintable(parser.helpText()), stdout);
        return 0;
    }
    if (parser.isSet(version)) {
        std::printf("roadflux-report %s\n", ROADFLUX_VERSION);
        return 0;
    }
    if (parser.positionalArguments().size() != 1)
        return fail(QStringLiteral("give one FOLDER (see --help)"), usage);

    if (parser.isSet(config)) {
        if (!theConfigData.readConfigFile(parser.value(config).toStdString()))
            return fail(parser.value(config) + QStringLiteral(": Configuration file cannot be read"));
    } else if (QFile::exists(QStringLiteral("Roadflux.ini"))) {
        theConfigData.readConfigFile("Roadflux.ini");
    }

    std::filesystem::path folder = parser.positionalArguments().first().toStdString();
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error))
        return fail(QString::fromStdString(folder.string()) + QStringLiteral(": no such folder"));
    ReportSources sources = HtmlReport::sourcesOf(folder);
    if (parser.isSet(study)) {
        StudyDocument document;
        StudyFileResult opened = document.openFile(parser.value(study).toStdString());
        if (opened != StudyFileResult::ok)
            return fail(parser.value(study) + QStringLiteral(": ") + QString::fromStdString(studyFileMessage(opened)));
        sources.intervals = DetectorIntervals(document.getStatDetectors());
    }

    QString target = parser.isSet(output) ? parser.value(output)
                                          : QString::fromStdString((folder / "report.html").string());
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly) || file.write(HtmlReport::build(sources).toUtf8()) < 0 || !file.commit())
        return fail(target + QStringLiteral(": cannot be written"));
    std::printf("Report written to %s\n", qPrintable(QDir::toNativeSeparators(target)));
    return 0;
}
