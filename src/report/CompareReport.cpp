#include "report/CompareReport.h"

#include "charts/CompareCharts.h"
#include "config/FigureText.h"
#include "report/HtmlReport.h"
#include "report/PageText.h"

#include <QCoreApplication>
#include <QDateTime>

#include <cmath>
#include <sstream>

namespace {

using PageText::escaped;

QString numberCell(double value)
{
    if (!std::isfinite(value))
        return QStringLiteral("<td class=\"number\">&#8211;</td>");
    return QStringLiteral("<td class=\"number\">%1</td>").arg(QString::fromStdString(figureText(value)));
}

QString replicationsTable(const std::vector<ReplicationEstimate>& estimates)
{
    QString html = QStringLiteral(
        "<table id=\"replications\"><thead><tr><th>Figure</th><th>Runs</th><th>Mean</th><th>Standard deviation</th>"
        "<th>Half-width of the 95 % interval</th><th>Half-width (% of the mean)</th><th>Aimed at (% of the mean)</th>"
        "<th>Runs needed</th></tr></thead><tbody>\n");
    for (const ReplicationEstimate& estimate : estimates)
    {
        if (estimate.sameInEveryRun())
            continue;
        const SampleStatistics& s = estimate.statistics;
        // One arg() call: a "%1" in a file's name must not take the next value.
        html += QStringLiteral("<tr><td>%1</td><td class=\"number\">%2</td>")
                    .arg(escaped(estimate.figure.text()), QString::number(s.runs));
        html += numberCell(s.mean) + numberCell(s.standardDeviation) + numberCell(s.halfWidth) +
                numberCell(100.0 * estimate.relativeHalfWidth()) + numberCell(100.0 * estimate.relativePrecision);
        html += estimate.runsNeeded ? QStringLiteral("<td class=\"number\">%1</td>").arg(*estimate.runsNeeded)
                                    : QStringLiteral("<td class=\"number\">&#8211;</td>");
        html += QStringLiteral("</tr>\n");
    }
    return html + QStringLiteral("</tbody></table>\n");
}

// The figures the input fixes: a value each, no spread and no runs needed.
QString fixedTable(const std::vector<ReplicationEstimate>& estimates)
{
    QString rows;
    for (const ReplicationEstimate& estimate : estimates)
        if (estimate.sameInEveryRun())
            rows += QStringLiteral("<tr><td>%1</td><td class=\"number\">%2</td>")
                        .arg(escaped(estimate.figure.text()), QString::number(estimate.statistics.runs)) +
                    numberCell(estimate.statistics.mean) + QStringLiteral("</tr>\n");
    if (rows.isEmpty())
        return {};
    return QStringLiteral("<p>These figures are the same in every run: the input (its traffic file and study) sets "
                          "them, not the random draws, so more runs tell nothing more about them.</p>\n"
                          "<table id=\"fixed-figures\"><thead><tr><th>Figure</th><th>Runs</th><th>Value in every "
                          "run</th></tr></thead><tbody>\n") +
           rows + QStringLiteral("</tbody></table>\n");
}

QString headline(const std::vector<ReplicationEstimate>& estimates)
{
    const ReplicationEstimate* most = mostDemanding(estimates);
    if (most == nullptr)
        return QStringLiteral("<p id=\"runs-needed\">No figure varies from run to run with a mean other than 0: "
                              "the runs needed cannot be told.</p>\n");
    return QStringLiteral("<p id=\"runs-needed\"><strong>%1 runs</strong> are needed for every figure below that "
                          "varies; the most demanding is %2.</p>\n")
        .arg(QString::number(*most->runsNeeded), escaped(most->figure.text()));
}

QString stemOf(const std::string& fileName)
{
    return QString::fromStdString(fileName.substr(0, fileName.rfind('.')));
}

}  // namespace

namespace CompareReport {

QString build(const CompareRunsResult& result)
{
    const RunComparison& comparison = result.comparison;
    QString html = QStringLiteral("<!DOCTYPE html>\n<html xmlns=\"http://www.w3.org/1999/xhtml\" lang=\"en\">\n"
                                  "<head><meta charset=\"utf-8\"/><title>Roadflux comparison of %1 runs</title>"
                                  "<style>%2</style></head>\n<body>\n<h1>Roadflux comparison of %1 runs</h1>\n")
                       .arg(QString::number(comparison.runs().size()), QString::fromLatin1(PageText::styleSheet));
    html += QStringLiteral("<p id=\"provenance\">Written by roadflux-report %1 on %2.</p>\n")
                .arg(QCoreApplication::applicationVersion(),
                     QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyy-MM-dd hh:mm 'UTC'")));
    html += QStringLiteral("<table id=\"runs\"><thead><tr><th>Run</th><th>Seed</th></tr></thead><tbody>\n");
    for (const RunFolder& run : comparison.runs())
        html += QStringLiteral("<tr><td>%1</td><td>%2</td></tr>\n")
                    .arg(escaped(run.folder.string()), escaped(run.seed.value_or("not in the run's summary")));
    html += QStringLiteral("</tbody></table>\n");

    std::ostringstream text;
    printComparison(result, text);
    html += QStringLiteral("<h2>What was compared</h2>\n<pre id=\"comparison\">%1</pre>\n").arg(escaped(text.str()));

    html += QStringLiteral("<h2>Replications needed</h2>\n<p>For each figure, the runs needed for the 95 % "
                           "confidence interval of its mean (Student's t) to be within the precision aimed at, "
                           "from the spread of the runs at hand.</p>\n");
    html += headline(result.replications);
    html += replicationsTable(result.replications);
    html += fixedTable(result.replications);

    html += QStringLiteral("<h2>Charts</h2>\n");
    PageIds ids{"runs", "comparison", "replications", "fixed-figures", "runs-needed"};
    bool any = false;
    for (const ComparedTable& table : comparison.tables())
    {
        std::vector<ResultChart> charts = CompareCharts::of(table, comparison.runs());
        if (charts.empty())
            continue;
        any = true;
        const QString anchor = ids.claim(stemOf(table.fileName));
        html += QStringLiteral("<section id=\"%1\"><h3>%2</h3>\n").arg(anchor, escaped(table.fileName));
        for (ResultChart& chart : charts)
            html += HtmlReport::figure(*chart.chart, anchor + QLatin1Char('-') + chart.name, ids);
        html += QStringLiteral("</section>\n");
    }
    if (!any)
        html += QStringLiteral("<p>The runs have no compared file to chart.</p>\n");
    return html + QStringLiteral("</body>\n</html>\n");
}

}  // namespace CompareReport
