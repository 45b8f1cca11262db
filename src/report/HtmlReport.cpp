#include "report/HtmlReport.h"

#include "files/InputFile.h"

#include "charts/ChartExport.h"
#include "charts/ResultCharts.h"
#include "measurements/BridgeResults.h"
#include "measurements/DetectorFigures.h"
#include "measurements/GumbelFigures.h"
#include "measurements/LoadEffectFigures.h"
#include "measurements/MeasurementFolder.h"
#include "replications/SummaryFigures.h"
#include "report/PageText.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QLocale>
#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

using PageText::escaped;

// Digits with a comma between thousands and a point before the fraction, whatever the machine's locale.
const QLocale& grouped()
{
    static const QLocale locale = [] {
        QLocale c = QLocale::c();
        c.setNumberOptions(QLocale::DefaultNumberOptions);
        return c;
    }();
    return locale;
}

QString numberCell(std::optional<double> value, int decimals)
{
    if (!value || !std::isfinite(*value))
        return QStringLiteral("<td class=\"number\">&#8211;</td>");
    // Thousands separated, as in the load-effect table.
    return QStringLiteral("<td class=\"number\">%1</td>").arg(grouped().toString(*value, 'f', decimals));
}

QString countCell(std::optional<long long> value)
{
    if (!value)
        return QStringLiteral("<td class=\"number\">&#8211;</td>");
    return QStringLiteral("<td class=\"number\">%1</td>").arg(grouped().toString(*value));
}

// What made the run and the page: the program, the study, its traffic file, the configuration,
// the seed and the date, so that a printed page can be traced to its inputs.
QString provenance(const ReportSources& sources)
{
    const auto row = [](const QString& label, const QString& value) {
        return QStringLiteral("<tr><th>%1</th><td>%2</td></tr>\n").arg(label, escaped(value));
    };
    const QString unknown = QStringLiteral("not given (--study)");
    QString seed = QStringLiteral("not in the run's summary");
    for (const QString& line : sources.summary.split(QLatin1Char('\n')))
        if (line.startsWith(QStringLiteral("Seed")))
            seed = line.section(QLatin1Char(':'), 1, -1).trimmed();
    QString html = QStringLiteral("<table id=\"provenance\"><tbody>\n");
    html += row(QStringLiteral("Program"),
                QStringLiteral("roadflux-report %1").arg(QCoreApplication::applicationVersion()));
    html += row(QStringLiteral("Run"), sources.title);
    html += row(QStringLiteral("Study"), sources.study.isEmpty() ? unknown : sources.study);
    html += row(QStringLiteral("Input traffic file"), sources.inputFile.isEmpty() ? unknown : sources.inputFile);
    html +=
        row(QStringLiteral("Configuration file"),
            sources.configuration.isEmpty() ? QStringLiteral("none: the built-in defaults") : sources.configuration);
    html += row(QStringLiteral("Seed"), seed);
    html += row(QStringLiteral("Written"),
                QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyy-MM-dd hh:mm 'UTC'")));
    return html + QStringLiteral("</tbody></table>\n");
}

// The runner's own Gumbel lines give the fit of unrounded maxima to six digits without an
// uncertainty: the page states each fit once, in the load-effect table.
QString withoutGumbelFits(const QString& summary)
{
    QStringList lines = summary.split(QLatin1Char('\n'));
    bool removed = false;
    for (qsizetype i = lines.size() - 1; i >= 0; --i)
        if (lines[i].startsWith(QStringLiteral("  Gumbel fit:")))
        {
            lines.removeAt(i);
            removed = true;
        }
    QString text = lines.join(QLatin1Char('\n'));
    if (removed)
        text += QStringLiteral("(The Gumbel fits and return levels are in the load-effect table below.)\n");
    return text;
}

// The run's clock and count from its summary, to say what the interval files' totals cover.
struct RunSpan
{
    std::optional<double> start, end;  // s on the traffic files' calendar
    std::optional<double> vehiclesWritten;
};

RunSpan runSpanOf(const QString& summary)
{
    RunSpan span;
    if (summary.isEmpty())
        return span;
    const RunTable figures = SummaryFigures::read(CsvText("summary.txt", summary.toStdString()));
    const auto value = [&figures](const char* label) -> std::optional<double> {
        const auto it = std::find(figures.keys.begin(), figures.keys.end(), label);
        if (it == figures.keys.end() || figures.rows[static_cast<std::size_t>(it - figures.keys.begin())].empty())
            return std::nullopt;
        return figures.rows[static_cast<std::size_t>(it - figures.keys.begin())].front();
    };
    span.start = value("Simulated start");
    span.end = value("Simulated end");
    span.vehiclesWritten = value("Vehicles written");
    return span;
}

// hh:mm:ss of the day, whole seconds cut short, as the summary writes its clock.
QString clockText(double seconds)
{
    const long long whole = static_cast<long long>(std::floor(seconds)) % 86400;
    return QStringLiteral("%1:%2:%3")
        .arg(whole / 3600, 2, 10, QLatin1Char('0'))
        .arg(whole / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(whole % 60, 2, 10, QLatin1Char('0'));
}

// What a row's counts cover: its complete intervals, up to the time of day when the run's start is known.
QString coverageCell(const DetectorFigures& figures, const RunSpan& span)
{
    if (figures.everyPassage)
        return QStringLiteral("<td>every passage%1</td>")
            .arg(span.end ? QStringLiteral(", to %1").arg(clockText(*span.end)) : QString());
    if (!figures.intervals)
        return QStringLiteral("<td>&#8211;</td>");
    QString text = QStringLiteral("%1 complete").arg(*figures.intervals);
    if (figures.intervalSeconds)
        text += QStringLiteral(" &#215; %1&#160;s").arg(*figures.intervalSeconds, 0, 'g', 6);
    if (auto covered = figures.coveredSeconds(); covered && span.start)
        text += QStringLiteral(", to %1").arg(clockText(*span.start + *covered));
    return QStringLiteral("<td>%1</td>").arg(text);
}

// Why two detectors on one road count different totals: each file stops at its own last complete
// interval, and the vehicles after it are in no row.
QString coverageNote(const RunSpan& span)
{
    QString html = QStringLiteral("<p id=\"coverage\">The counts of interval files cover their complete intervals "
                                  "from the run's start");
    if (span.start)
        html += QStringLiteral(" (%1)").arg(clockText(*span.start));
    html += QStringLiteral(" up to the time shown: a detector's last, incomplete interval is never written, so the "
                           "vehicles that passed it later are in no row");
    if (span.end)
        html += QStringLiteral("; the run ended at %1").arg(clockText(*span.end));
    html += QStringLiteral(". Files with other intervals therefore count different totals on a road without ramps.");
    if (span.vehiclesWritten)
        html += QStringLiteral(" The output traffic file holds %1 vehicles (the summary's \"Vehicles written\", both "
                               "directions, at the output detectors, to the run's end).")
                    .arg(*span.vehiclesWritten, 0, 'f', 0);
    return html + QStringLiteral("</p>\n");
}

// The sections' ids, one per measurement file in the folder's order.
std::vector<QString> anchorsOf(const MeasurementFolder& folder, PageIds& ids)
{
    std::vector<QString> anchors;
    for (const MeasurementEntry& entry : folder.entries)
        anchors.push_back(ids.claim(QString::fromStdString(entry.path.stem().string())));
    return anchors;
}

QString figuresTable(const MeasurementFolder& folder, const std::vector<QString>& anchors,
                     const DetectorIntervals& intervals, const RunSpan& span, bool& anyEstimate)
{
    QString html =
        QStringLiteral("<table id=\"figures\"><thead><tr><th>Detector</th><th>File</th><th>Intervals counted</th>"
                       "<th>Vehicles counted</th>"
                       "<th>Mean interval flow (veh/h)</th><th>Max interval flow (veh/h)</th><th>Mean speed (km/h)</th>"
                       "<th>Lane changes</th><th>Lane-change rate (per km and hour)</th></tr></thead><tbody>\n");
    for (std::size_t i = 0; i < folder.entries.size(); ++i)
    {
        const MeasurementEntry& entry = folder.entries[i];
        if (!entry.isRead())
            continue;
        DetectorFigures figures = DetectorFigures::of(entry.table, intervals.of(entry.name));
        anyEstimate = anyEstimate || figures.intervalEstimated;
        html += QStringLiteral("<tr><td><a href=\"#%1\">%2</a></td><td>%3%4</td>")
                    .arg(anchors[i], escaped(entry.name.title()), escaped(entry.path.filename().string()),
                         figures.intervalEstimated ? QStringLiteral(" *") : QString());
        html += coverageCell(figures, span) + countCell(figures.vehiclesCounted) + numberCell(figures.meanFlow, 1) +
                numberCell(figures.maxFlow, 1) + numberCell(figures.meanSpeed, 1) + countCell(figures.laneChanges) +
                numberCell(figures.laneChangeRate, 2) + QStringLiteral("</tr>\n");
    }
    return html + QStringLiteral("</tbody></table>\n");
}

QString chartSection(const MeasurementEntry& entry, const QString& anchor, const DetectorIntervals& intervals,
                     const RunContext& run, PageIds& ids)
{
    QString html = QStringLiteral("<section id=\"%1\"><h3>%2</h3><p>%3</p>\n")
                       .arg(anchor, escaped(entry.name.title()), escaped(entry.path.filename().string()));
    if (!entry.isRead())
        return html +
               QStringLiteral("<p class=\"problem\">%1</p></section>\n").arg(escaped(std::string(entry.error->what())));
    for (ResultChart& chart : chartsOf(entry, intervals.of(entry.name), run))
        html += HtmlReport::figure(*chart.chart, anchor + QLatin1Char('-') + chart.name, ids);
    return html + QStringLiteral("</section>\n");
}

QString textCell(const std::string& text)
{
    return QStringLiteral("<td class=\"number\">%1</td>").arg(escaped(text));
}

QString loadEffectTable(const std::vector<BridgeResults>& bridges, const std::vector<QString>& anchors,
                        const LoadEffectOptions& options)
{
    QString html = QStringLiteral(
        "<table id=\"load-effects\"><thead><tr><th>Bridge</th><th>File</th><th>Unit</th><th>Interval (s)</th>"
        "<th>Complete intervals</th><th>Largest maximum</th><th>Gumbel location ± standard error</th>"
        "<th>Gumbel scale ± standard error</th><th>Return period (years)</th><th>Return period (intervals)</th>"
        "<th>Return level</th><th>95 % confidence interval</th></tr></thead><tbody>\n");
    QString warnings;
    for (std::size_t i = 0; i < bridges.size(); ++i)
    {
        const BridgeResults& bridge = bridges[i];
        if (!bridge.isRead())
            continue;
        const std::vector<double> maxima = bridge.completeMaxima();
        std::optional<double> largest;
        for (const IntervalRow& row : bridge.rows)
            largest = largest ? std::max(*largest, row.maximum) : row.maximum;
        const double period = LoadEffectFigures::returnPeriodInIntervals(options.returnYears, bridge.intervalSeconds());
        const GumbelFigures fit = GumbelFigures::of(maxima, period);
        html += QStringLiteral("<tr><td><a href=\"#%1\">%2</a></td><td>%3</td><td>%4</td>")
                    .arg(anchors[i], escaped(bridge.name), escaped(bridge.seriesPath.filename().string()),
                         bridge.unit.empty() ? QStringLiteral("&#8211;") : escaped(bridge.unit));
        html += numberCell(bridge.intervalSeconds(), 0) + countCell(static_cast<long long>(maxima.size())) +
                textCell(largest ? roundedText(*largest, 0.0) : "–");
        if (fit.fitted)
            html += textCell(fit.locationText()) + textCell(fit.scaleText());
        else
            html += textCell("–") + textCell("–");
        html += textCell(roundedText(options.returnYears, 0.0)) + textCell(roundedText(period, 0.0));
        if (fit.fitted && period > 1.0)
            html += textCell(fit.levelText()) + textCell(fit.intervalText());
        else
            html += textCell("–") + textCell("–");
        html += QStringLiteral("</tr>\n");
        if (!fit.warning().empty())
            warnings +=
                QStringLiteral("<p class=\"warning\">%1: %2</p>\n").arg(escaped(bridge.name), escaped(fit.warning()));
    }
    return html + QStringLiteral("</tbody></table>\n") + warnings;
}

QString loadEffectSection(const BridgeResults& bridge, const QString& anchor, const LoadEffectOptions& options,
                          PageIds& ids)
{
    QString html = QStringLiteral("<section id=\"%1\"><h3>%2</h3><p>%3</p>\n")
                       .arg(anchor, escaped(bridgeTitle(bridge)), escaped(bridge.seriesPath.filename().string()));
    if (!bridge.isRead())
        return html + QStringLiteral("<p class=\"problem\">%1</p></section>\n")
                          .arg(escaped(std::string(bridge.error->what())));
    LoadEffectOptions charted = options;
    charted.figuresInTitles = false;  // the table above gives them, once
    for (ResultChart& chart : loadEffectCharts(bridge, charted))
        html += HtmlReport::figure(*chart.chart, anchor + QLatin1Char('-') + chart.name, ids);
    return html + QStringLiteral("</section>\n");
}

QString loadEffects(const ReportSources& sources, std::vector<BridgeResults> bridges, PageIds& ids)
{
    if (bridges.empty())
        return {};
    BridgeResults::takeUnitsFrom(bridges, sources.bridges);
    QString html =
        QStringLiteral(
            "<h2>Load effects</h2>\n<p>Each bridge's load effect second by second in hour %1 of the run, its interval "
            "maxima and minima and largest events, and the Gumbel distribution fitted to the maxima of its complete "
            "intervals by maximum likelihood, with standard errors and the return level's 95 % confidence interval "
            "(delta method). The fit assumes the maxima independent and from one distribution; the return period is "
            "counted in intervals of the traffic files' year. The figures are rounded to the digits their uncertainty "
            "leaves.</p>\n")
            .arg(sources.loadEffects.hour);
    std::vector<QString> anchors;
    for (const BridgeResults& bridge : bridges)
        anchors.push_back(ids.claim(QString::fromStdString(bridge.seriesPath.stem().string())));
    html += loadEffectTable(bridges, anchors, sources.loadEffects);
    for (const BridgeResults& bridge : bridges)
        if (!bridge.isRead())
            html += QStringLiteral("<p class=\"problem\">%1</p>\n").arg(escaped(std::string(bridge.error->what())));
    for (std::size_t i = 0; i < bridges.size(); ++i)
        html += loadEffectSection(bridges[i], anchors[i], sources.loadEffects, ids);
    return html;
}

}  // namespace

ReportSources HtmlReport::sourcesOf(const std::filesystem::path& folder)
{
    ReportSources sources;
    std::error_code error;
    sources.measurementFolder = std::filesystem::is_directory(folder / "metrics", error) ? folder / "metrics" : folder;
    // A summary that is a pipe or a device would hang the report or exhaust memory.
    const std::filesystem::path summary = folder / "summary.txt";
    if (std::filesystem::exists(summary, error) || std::filesystem::is_symlink(summary, error))
    {
        std::string text;
        if (auto problem = readTextFile(summary.string(), text, maxSummaryBytes))
            sources.problem = summary.string() + ": the run's summary cannot be read (" + *problem + ")";
        else
            sources.summary = QString::fromStdString(text);
    }
    sources.title = QString::fromStdString(folder.string());
    return sources;
}

QString HtmlReport::inlineSvg(const QByteArray& document)
{
    QString svg = QString::fromUtf8(document);
    qsizetype start = svg.indexOf(QStringLiteral("<svg"));
    if (start > 0)
        svg.remove(0, start);
    // Sized in pixels like the rest of the page, not in millimetres.
    static const QRegularExpression size(QStringLiteral("^<svg width=\"[^\"]*\" height=\"[^\"]*\"(\\s+viewBox=\"0 0 "
                                                        "(\\d+) (\\d+)\")"));
    svg.replace(size, QStringLiteral("<svg width=\"\\2\" height=\"\\3\"\\1"));
    return svg;
}

QString HtmlReport::figure(QChart& chart, const QString& name, PageIds& ids)
{
    const QString id = ids.claim(name);
    QString svg = inlineSvg(ChartExport::toSvg(chart));
    static const QRegularExpression ownId(QStringLiteral("\\bid=\"([^\"]+)\""));
    QStringList own;
    for (auto match = ownId.globalMatch(svg); match.hasNext();)
        own << match.next().captured(1);
    own.removeDuplicates();
    for (const QString& old : own)
    {
        const QString renamed = ids.claim(id + QLatin1Char('-') + old);
        svg.replace(QStringLiteral("id=\"%1\"").arg(old), QStringLiteral("id=\"%1\"").arg(renamed));
        svg.replace(QStringLiteral("url(#%1)").arg(old), QStringLiteral("url(#%1)").arg(renamed));
        svg.replace(QStringLiteral("href=\"#%1\"").arg(old), QStringLiteral("href=\"#%1\"").arg(renamed));
    }
    return QStringLiteral("<figure id=\"%1\">%2</figure>\n").arg(id, svg);
}

QString HtmlReport::build(const ReportSources& sources)
{
    MeasurementFolder folder = MeasurementFolder::read(sources.measurementFolder);
    QString html = QStringLiteral("<!DOCTYPE html>\n<html xmlns=\"http://www.w3.org/1999/xhtml\" lang=\"en\">\n"
                                  "<head><meta charset=\"utf-8\"/><title>Roadflux report: %1</title>"
                                  "<style>%2</style></head>\n<body>\n<h1>Roadflux report</h1>\n<p>%1</p>\n")
                       .arg(escaped(sources.title), QString::fromLatin1(PageText::styleSheet));
    if (!sources.summary.isEmpty())
        html += QStringLiteral("<h2>Summary of the run</h2>\n<pre id=\"summary\">%1</pre>\n")
                    .arg(escaped(withoutGumbelFits(sources.summary)));

    html += provenance(sources);
    html += QStringLiteral("<h2>Key figures</h2>\n<p>Measurement files in %1.</p>\n")
                .arg(escaped(sources.measurementFolder.string()));
    if (!folder.error.empty())
        html += QStringLiteral("<p class=\"problem\">%1</p>\n").arg(escaped(folder.error));
    else if (folder.entries.empty())
        html += QStringLiteral("<p class=\"problem\">The folder holds no detector's measurement files.</p>\n");
    PageIds ids{"summary", "figures", "load-effects", "coverage", "provenance"};
    const std::vector<QString> anchors = anchorsOf(folder, ids);
    bool anyEstimate = false;
    RunSpan span = runSpanOf(sources.summary);
    // Without a summary the bridges' first interval starts with the run.
    std::vector<BridgeResults> bridges = BridgeResults::readFolder(sources.measurementFolder);
    for (const BridgeResults& bridge : bridges)
        if (!span.start && bridge.isRead() && !bridge.rows.empty())
            span.start = bridge.runStart();
    const RunContext run{span.start, sources.lanes.orElse(RoadLanes::of(folder))};
    html += figuresTable(folder, anchors, sources.intervals, span, anyEstimate);
    html += coverageNote(span);
    if (anyEstimate)
        html += QStringLiteral("<p>* The interval length was not known and was recovered from the flows (each vehicle "
                               "adds 3600 / interval veh/h); give the study with --study to use its own.</p>\n");
    for (const MeasurementEntry& entry : folder.entries)
        if (!entry.isRead())
            html += QStringLiteral("<p class=\"problem\">%1</p>\n").arg(escaped(std::string(entry.error->what())));

    html += QStringLiteral("<h2>Charts</h2>\n");
    for (std::size_t i = 0; i < folder.entries.size(); ++i)
        html += chartSection(folder.entries[i], anchors[i], sources.intervals, run, ids);
    html += loadEffects(sources, std::move(bridges), ids);
    return html + QStringLiteral("</body>\n</html>\n");
}
