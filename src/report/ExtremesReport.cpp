#include "report/ExtremesReport.h"

#include "charts/ExtremeCharts.h"
#include "replications/ExtremesText.h"
#include "report/HtmlReport.h"
#include "report/PageText.h"

#include <QCoreApplication>
#include <QDateTime>

namespace {

using ExtremesText::number;
using PageText::escaped;

QString text(const std::string& plain)
{
    return escaped(plain);
}

QString cell(const std::string& plain)
{
    return QStringLiteral("<td class=\"number\">%1</td>").arg(escaped(plain));
}

QString blockName(const ExtremesPage& page)
{
    return QString::fromLatin1(CalendarBlocks::nameOf(page.collection.length));
}

QString periodsText(const std::vector<ReturnPeriod>& periods)
{
    QStringList years;
    for (const ReturnPeriod& period : periods)
        years << QString::fromStdString(number(period.years));
    return years.join(QStringLiteral(", ")) + QStringLiteral(" years of 365.25 days");
}

// The program, the runs, the block and the date, so that a printed page can be traced to its inputs.
QString header(const ExtremesPage& page)
{
    const auto row = [](const QString& label, const QString& value) {
        return QStringLiteral("<tr><th>%1</th><td>%2</td></tr>\n").arg(label, escaped(value));
    };
    QString html = QStringLiteral("<table id=\"provenance\"><tbody>\n");
    html += row(QStringLiteral("Program"),
                QStringLiteral("roadflux-report %1").arg(QCoreApplication::applicationVersion()));
    html += row(QStringLiteral("Runs read"), QString::number(page.runs.size()));
    html += row(
        QStringLiteral("Block"),
        QStringLiteral("%1 (%2 s) of the simulation clock")
            .arg(blockName(page), QString::fromStdString(number(CalendarBlocks::secondsOf(page.collection.length)))));
    html += row(QStringLiteral("Return periods"), periodsText(page.periods));
    html += row(QStringLiteral("Written"),
                QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyy-MM-dd hh:mm 'UTC'")));
    html += QStringLiteral("</tbody></table>\n<details id=\"runs\"><summary>The %1 runs read</summary><ul>\n")
                .arg(page.runs.size());
    for (const std::filesystem::path& run : page.runs)
        html += QStringLiteral("<li>%1</li>\n").arg(escaped(run.string()));
    return html + QStringLiteral("</ul></details>\n");
}

// The maxima of a bridge that has no fit: they are all there is to show.
QString maximaTable(const BridgeBlocks& blocks, const QString& anchor, const QString& unit)
{
    QString html = QStringLiteral("<table id=\"%1-maxima\"><thead><tr><th>Series</th><th>%2</th><th>Start (s)</th>"
                                  "<th>Time of the maximum (s)</th><th>Maximum</th></tr></thead><tbody>\n")
                       .arg(anchor, unit.left(1).toUpper() + unit.mid(1));
    for (const CalendarBlock& block : blocks.whole)
        html += QStringLiteral("<tr>") + cell(std::to_string(block.series)) + cell(std::to_string(block.number)) +
                cell(number(block.start, 10)) + cell(number(block.time, 10)) + cell(number(block.maximum)) +
                QStringLiteral("</tr>\n");
    return html + QStringLiteral("</tbody></table>\n");
}

QString fitRow(const char* name, const ExtremeFit& fit)
{
    const GevParameters& p = fit.parameters;
    const GevParameters& e = fit.standardErrors;
    return QStringLiteral("<tr><td>%1</td>").arg(QString::fromLatin1(name)) +
           cell(ExtremesText::withError(p.location, e.location)) + cell(ExtremesText::withError(p.scale, e.scale)) +
           cell(fit.model == ExtremeModel::Gumbel ? "0 (fixed)" : ExtremesText::withError(p.shape, e.shape)) +
           cell(number(fit.logLikelihood)) + QStringLiteral("</tr>\n");
}

QString fitsTable(const BlockMaximaFits& fits, const QString& anchor)
{
    QString html = QStringLiteral("<table id=\"%1-fits\"><thead><tr><th>Fit</th><th>Location (standard error)</th>"
                                  "<th>Scale (standard error)</th><th>Shape (standard error)</th>"
                                  "<th>Log-likelihood</th></tr></thead><tbody>\n")
                       .arg(anchor);
    html += fitRow("Gumbel", *fits.gumbel);
    if (fits.gev)
        html += fitRow("GEV", *fits.gev);
    return html + QStringLiteral("</tbody></table>\n");
}

// The GEV's level at period i: the profile likelihood's interval, or the delta method's when the
// profile could not be searched.
QString gevCells(const BlockMaximaFits& fits, std::size_t i)
{
    if (!fits.gev || i >= fits.gevLevels.size())
        return cell("–") + cell("–") + cell("–");
    if (i < fits.gevProfiles.size() && fits.gevProfiles[i])
        return cell(number(fits.gevProfiles[i]->level)) + cell(ExtremesText::profileInterval(*fits.gevProfiles[i])) +
               QStringLiteral("<td>profile likelihood</td>");
    return cell(number(fits.gevLevels[i].level)) + cell(ExtremesText::deltaInterval(fits.gevLevels[i])) +
           QStringLiteral("<td>delta method</td>");
}

QString levelsTable(const BlockMaximaFits& fits, const std::vector<ReturnPeriod>& periods, const QString& anchor,
                    const QString& unit)
{
    QString html =
        QStringLiteral("<table id=\"%1-levels\"><thead><tr><th>Return period (years)</th><th>Return period (%2s)</th>"
                       "<th>Gumbel level</th><th>Gumbel 95 % interval (delta method)</th><th>GEV level</th>"
                       "<th>GEV 95 % interval</th><th>GEV interval by</th></tr></thead><tbody>\n")
            .arg(anchor, unit);
    for (std::size_t i = 0; i < periods.size() && i < fits.gumbelLevels.size(); ++i)
        html += QStringLiteral("<tr>") + cell(number(periods[i].years)) + cell(number(periods[i].blocks)) +
                cell(number(fits.gumbelLevels[i].level)) + cell(ExtremesText::deltaInterval(fits.gumbelLevels[i])) +
                gevCells(fits, i) + QStringLiteral("</tr>\n");
    return html + QStringLiteral("</tbody></table>\n");
}

QString fittedBridge(const ExtremesPage& page, std::size_t b, const QString& anchor, PageIds& ids)
{
    const BridgeBlocks& blocks = page.collection.bridges[b];
    const BlockMaximaFits& fits = page.fits[b];
    const BlockLength length = page.collection.length;
    const QString unit = blockName(page);
    QString html;
    for (ResultChart& chart : ExtremeCharts::of(blocks, fits, page.periods, length))
        html += HtmlReport::figure(*chart.chart, anchor + QLatin1Char('-') + chart.name, ids);
    html += QStringLiteral("<h3>Maximum likelihood fits of %1</h3>\n")
                .arg(text(ExtremesText::plural(fits.gumbel->blocks, unit.toStdString())));
    html += fitsTable(fits, anchor);
    if (fits.test)
        html += QStringLiteral("<p id=\"%1-test\">Gumbel against GEV (likelihood ratio): %2: %3; %4.</p>\n")
                    .arg(anchor, text(ExtremesText::testFigures(*fits.test)),
                         text(ExtremesText::testVerdict(*fits.test)), text(ExtremesText::testMeaning(*fits.test)));
    html += QStringLiteral("<h3>Return levels with 95 % confidence intervals</h3>\n");
    html += levelsTable(fits, page.periods, anchor, unit);
    for (const ReturnPeriod& period : page.periods)
        if (const std::string warning = ExtremesText::extrapolationWarning(period, fits.gumbel->blocks, length);
            !warning.empty())
            html += QStringLiteral("<p class=\"warning\">%1</p>\n").arg(text(warning));
    return html;
}

QString bridgeSection(const ExtremesPage& page, std::size_t b, const QString& anchor, PageIds& ids)
{
    const BridgeBlocks& blocks = page.collection.bridges[b];
    const BlockMaximaFits& fits = page.fits[b];
    const BlockLength length = page.collection.length;
    QString html = QStringLiteral("<section id=\"%1\"><h2>Bridge %2</h2>\n<p>%3.")
                       .arg(anchor, escaped(blocks.bridge), text(ExtremesText::blockCounts(blocks, length)));
    if (const std::string largest = ExtremesText::largestMaximum(blocks, length); !largest.empty())
        html += QStringLiteral(" %1.").arg(text(largest));
    if (const std::string note = ExtremesText::intervalRowsNote(blocks); !note.empty())
        html += QStringLiteral(" %1.").arg(text(note));
    html += QStringLiteral("</p>\n");
    for (const std::string& problem : fits.problems)
        html +=
            QStringLiteral("<p class=\"problem\">There is no fit of this bridge: %1. %2</p>\n")
                .arg(text(problem), blocks.whole.empty()
                                        ? QStringLiteral("The runs cover none of its %1s whole.").arg(blockName(page))
                                        : QStringLiteral("Its maxima are listed below."));
    for (const std::string& note : fits.notes)
        html += QStringLiteral("<p class=\"note\">Note: %1.</p>\n").arg(text(note));
    html += fits.gumbel ? fittedBridge(page, b, anchor, ids) : maximaTable(blocks, anchor, blockName(page));
    return html + QStringLiteral("</section>\n");
}

}  // namespace

namespace ExtremesReport {

ExtremesPage analyse(const std::vector<std::filesystem::path>& runs, BlockLength length,
                     const std::vector<double>& returnYears)
{
    ExtremesPage page;
    page.runs = runs;
    page.collection = collectCalendarBlocks(runs, length);
    page.periods = ReturnPeriods::of(returnYears, {}, length);
    for (const BridgeBlocks& blocks : page.collection.bridges)
        page.fits.push_back(BlockFits::of(blocks, page.periods));
    return page;
}

QString build(const ExtremesPage& page)
{
    QString html = QStringLiteral("<!DOCTYPE html>\n<html xmlns=\"http://www.w3.org/1999/xhtml\" lang=\"en\">\n"
                                  "<head><meta charset=\"utf-8\"/><title>Roadflux extremes of %1 runs</title>"
                                  "<style>%2</style></head>\n<body>\n<h1>Roadflux extremes of %1 runs</h1>\n")
                       .arg(QString::number(page.runs.size()), QString::fromLatin1(PageText::styleSheet));
    html += header(page);
    html += QStringLiteral("<p id=\"blocks\">%1</p>\n")
                .arg(text(ExtremesText::preamble(page.collection.length, page.runs.size())));
    html += QStringLiteral(
        "<p>Per bridge, the Gumbel and the generalized extreme value (GEV) distribution fitted to the block maxima by "
        "maximum likelihood, with standard errors from the observed information; return levels with 95 % confidence "
        "intervals (the delta method for the Gumbel, the profile likelihood for the GEV) and the likelihood-ratio "
        "test of the Gumbel against the GEV. The fits assume the maxima independent and from one distribution. "
        "Figures are given to six significant digits, standard errors to three, as roadflux-cli extremes prints "
        "them.</p>\n");
    PageIds ids{"provenance", "runs", "blocks", "bridges"};
    std::vector<QString> anchors;
    for (const BridgeBlocks& blocks : page.collection.bridges)
        anchors.push_back(ids.claim(QString::fromStdString(blocks.bridge)));
    html += QStringLiteral("<ul id=\"bridges\">\n");
    for (std::size_t b = 0; b < anchors.size(); ++b)
        html += QStringLiteral("<li><a href=\"#%1\">Bridge %2</a></li>\n")
                    .arg(anchors[b], escaped(page.collection.bridges[b].bridge));
    html += QStringLiteral("</ul>\n");
    for (std::size_t b = 0; b < anchors.size(); ++b)
        html += bridgeSection(page, b, anchors[b], ids);
    return html + QStringLiteral("</body>\n</html>\n");
}

}  // namespace ExtremesReport
