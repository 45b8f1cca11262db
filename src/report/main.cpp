// roadflux-report FOLDER [-o report.html] [--study FILE] [--config FILE] [--return-period YEARS]
// [--hour H]: the report of a run as one HTML file, written without a display.
// roadflux-report --compare RUN_FOLDER... [-o compare.html] [--csv DIR]: the comparison of a
// sweep's runs as one HTML file.
// roadflux-report --extremes RUN_FOLDER... [-o extremes.html] [--block day|week] [--return-period YEARS...]:
// each bridge's block maxima across runs, fitted, as one HTML file.

#include "report/ReportCommands.h"
#include "report/ReportRequest.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>

namespace {

constexpr int usage = 2;

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

}  // namespace

int main(int argc, char** argv)
{
    std::unique_ptr<QTemporaryDir> runtimeDir;
    chooseOffscreenWithoutDisplay(runtimeDir);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("roadflux-report"));
    QApplication::setApplicationVersion(QStringLiteral(ROADFLUX_VERSION));

    ReportRequestResult read = readReportRequest(QApplication::arguments());
    if (!read.request)
    {
        std::fprintf(stderr, "roadflux-report: %s\n", qPrintable(read.error));
        return usage;
    }
    switch (read.request->action)
    {
    case ReportRequest::Action::help: std::fputs(qPrintable(read.request->helpText), stdout); return 0;
    case ReportRequest::Action::version: std::printf("roadflux-report %s\n", ROADFLUX_VERSION); return 0;
    case ReportRequest::Action::comparison: return writeComparison(*read.request);
    case ReportRequest::Action::extremes: return writeExtremes(*read.request);
    case ReportRequest::Action::runReport: return writeRunReport(*read.request);
    }
    return usage;
}
