#pragma once
// What roadflux-report is asked to do, read from its command line and checked: one run's report,
// a comparison of runs, or the help or version text.

#include "charts/LoadEffectCharts.h"

#include <QString>
#include <QStringList>

#include <optional>

struct ReportRequest
{
    enum class Action
    {
        runReport,
        comparison,
        help,
        version,
    };

    Action action = Action::runReport;
    QStringList folders;      // the run's folder; with --compare, the runs' folders
    QString output;           // the page; the action's default when not given
    QString csvFolder;        // --compare --csv
    QStringList figures;      // --compare --figure FILE:NAME; empty: every key figure
    double precision = 0.05;  // --compare --precision, as a fraction of the mean
    std::optional<QString> study;
    std::optional<QString> bridges;
    std::optional<QString> config;
    LoadEffectOptions loadEffects;
    QString helpText;
};

struct ReportRequestResult
{
    std::optional<ReportRequest> request;
    QString error;  // why the command line was not understood, when there is no request
};

// `arguments` as QCoreApplication::arguments() gives them, the program's name first.
ReportRequestResult readReportRequest(const QStringList& arguments);
