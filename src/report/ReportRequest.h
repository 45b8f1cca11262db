#pragma once
// What roadflux-report is asked to do, read from its command line and checked: one run's report,
// a comparison of runs, the extremes of runs, or the help or version text.

#include "charts/LoadEffectCharts.h"
#include "replications/CalendarBlocks.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

struct ReportRequest
{
    enum class Action
    {
        runReport,
        comparison,
        extremes,
        help,
        version,
    };

    Action action = Action::runReport;
    QStringList folders;      // the run's folder; with --compare or --extremes, the runs' folders
    QString output;           // the page; the action's default when not given
    QString csvFolder;        // --compare --csv
    QStringList figures;      // --compare --figure FILE:NAME; empty: every key figure
    double precision = 0.05;  // --compare --precision, as a fraction of the mean
    std::optional<QString> study;
    std::optional<QString> bridges;
    std::optional<QString> config;
    LoadEffectOptions loadEffects;
    BlockLength block = BlockLength::day;  // --extremes --block
    std::vector<double> returnYears;       // --extremes --return-period; empty: the defaults
    QString helpText;
};

struct ReportRequestResult
{
    std::optional<ReportRequest> request;
    QString error;  // why the command line was not understood, when there is no request
};

// `arguments` as QCoreApplication::arguments() gives them, the program's name first.
ReportRequestResult readReportRequest(const QStringList& arguments);
