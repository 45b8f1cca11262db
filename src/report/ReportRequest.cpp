#include "report/ReportRequest.h"

#include "replications/BlockMaximaFits.h"
#include "replications/ExtremesText.h"

#include <QCommandLineParser>

#include <array>
#include <cmath>

namespace {

// Beyond these a return level or an hour of the run means nothing: a million years, a century.
constexpr double maxReturnYears = 1e6;
constexpr int maxHour = 24 * 366 * 100;

struct ReportOptions
{
    QCommandLineOption version{QStringLiteral("version"), QStringLiteral("Print the version and end.")};
    QCommandLineOption output{{QStringLiteral("o"), QStringLiteral("output")},
                              QStringLiteral("The report file (default: FOLDER/report.html)."),
                              QStringLiteral("FILE")};
    QCommandLineOption study{QStringLiteral("study"),
                             QStringLiteral("The study that made the run: its detectors' intervals."),
                             QStringLiteral("FILE")};
    QCommandLineOption bridges{QStringLiteral("bridges"),
                               QStringLiteral("The bridges file of the run (the load effects' units), in place "
                                              "of STUDY.bridges beside the study."),
                               QStringLiteral("FILE")};
    QCommandLineOption config{QStringLiteral("config"),
                              QStringLiteral("Configuration file (class colours), in place of Roadflux.ini in the "
                                             "current directory."),
                              QStringLiteral("FILE")};
    QCommandLineOption returnPeriod{QStringLiteral("return-period"),
                                    QStringLiteral("The return period of the load effects' return level, in years "
                                                   "(default 1000). With --extremes, one or more periods in years "
                                                   "of 365.25 days (default 75 1000)."),
                                    QStringLiteral("YEARS")};
    QCommandLineOption hour{QStringLiteral("hour"),
                            QStringLiteral("The hour of the run (from 1) the load effects' second-by-second "
                                           "charts show (default 1)."),
                            QStringLiteral("H")};
    QCommandLineOption compare{QStringLiteral("compare"),
                               QStringLiteral("Compare the runs RUN_FOLDER... of a sweep instead: the mean over the "
                                              "runs with its 95 % confidence interval (default report: "
                                              "compare.html).")};
    QCommandLineOption extremes{QStringLiteral("extremes"),
                                QStringLiteral("Each bridge's daily or weekly maxima across the runs RUN_FOLDER... "
                                               "instead, fitted by the Gumbel and the GEV distribution: probability "
                                               "and return-level plots and their figures (default report: "
                                               "extremes.html).")};
    QCommandLineOption block{QStringLiteral("block"),
                             QStringLiteral("With --extremes: the block of each maximum, day (default) or week of "
                                            "the clock."),
                             QStringLiteral("day|week")};
    QCommandLineOption csv{QStringLiteral("csv"),
                           QStringLiteral("With --compare: the folder for the comparison's CSV files, one per "
                                          "measurement file."),
                           QStringLiteral("DIR")};
    QCommandLineOption figure{QStringLiteral("figure"),
                              QStringLiteral("With --compare, repeatable: a figure whose runs needed are told "
                                             "(default: every key figure of the compared files)."),
                              QStringLiteral("FILE:NAME")};
    QCommandLineOption precision{QStringLiteral("precision"),
                                 QStringLiteral("With --compare: the half-width of the confidence interval aimed "
                                                "at, 0.01 to 99 % of the mean (default 5)."),
                                 QStringLiteral("PERCENT")};

    // The options that only one run's report reads.
    std::array<const QCommandLineOption*, 5> singleRunOptions() const
    {
        return {&study, &bridges, &config, &returnPeriod, &hour};
    }
    // The options of the other pages, which the extremes page would ignore in silence.
    std::array<const QCommandLineOption*, 8> notForExtremes() const
    {
        return {&study, &bridges, &config, &hour, &compare, &csv, &figure, &precision};
    }
};

void describe(QCommandLineParser& parser, const ReportOptions& options)
{
    parser.setApplicationDescription(QStringLiteral(
        "Writes the report of a run as one HTML file: the run's summary, key figures per detector and "
        "bridge and every chart of its measurement and load-effect files. FOLDER is a run's folder (with "
        "summary.txt and metrics/) or a folder of measurement files. With --compare, the comparison of a "
        "sweep's runs instead: the runs needed, the mean over the runs with its 95 % band, the runs' "
        "fundamental diagrams. With --extremes, each bridge's block maxima across runs fitted by the Gumbel and "
        "the GEV distribution instead."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("FOLDER"),
                                 QStringLiteral("The run's folder; with --compare or --extremes, the runs' folders"));
    parser.addOptions({options.output, options.study, options.bridges, options.config, options.returnPeriod,
                       options.hour, options.compare, options.csv, options.figure, options.precision, options.extremes,
                       options.block, options.version});
}

std::optional<QString> valueOf(const QCommandLineParser& parser, const QCommandLineOption& option)
{
    return parser.isSet(option) ? std::optional(parser.value(option)) : std::nullopt;
}

// Fills the hour and return period; an error message for a value out of range.
QString readLoadEffectOptions(const QCommandLineParser& parser, const ReportOptions& options,
                              LoadEffectOptions& loadEffects)
{
    if (parser.isSet(options.returnPeriod))
    {
        bool ok = false;
        loadEffects.returnYears = parser.value(options.returnPeriod).toDouble(&ok);
        if (!ok || !std::isfinite(loadEffects.returnYears) || loadEffects.returnYears <= 0.0 ||
            loadEffects.returnYears > maxReturnYears)
            return QStringLiteral("--return-period: '%1' is not a number of years above 0 and at most 1000000")
                .arg(parser.value(options.returnPeriod));
    }
    if (parser.isSet(options.hour))
    {
        bool ok = false;
        loadEffects.hour = parser.value(options.hour).toInt(&ok);
        if (!ok || loadEffects.hour < 1 || loadEffects.hour > maxHour)
            return QStringLiteral("--hour: '%1' is not an hour of the run (1 to 876000)")
                .arg(parser.value(options.hour));
    }
    return {};
}

ReportRequestResult refused(const QString& error)
{
    return {std::nullopt, error};
}

bool isPlainNumber(const QString& text)
{
    bool ok = false;
    text.toDouble(&ok);
    return ok && !text.startsWith(QLatin1Char('-'));
}

// With --extremes, `--return-period 75 1000` gives two periods, as roadflux-cli extremes takes
// them: the numbers after the option are each given the option again.
QStringList withPeriodsRepeated(const QStringList& arguments)
{
    if (!arguments.contains(QStringLiteral("--extremes")))
        return arguments;
    QStringList expanded;
    for (qsizetype i = 0; i < arguments.size(); ++i)
    {
        expanded << arguments[i];
        if (arguments[i] != QStringLiteral("--return-period") || i + 1 >= arguments.size())
            continue;
        expanded << arguments[++i];
        while (i + 1 < arguments.size() && isPlainNumber(arguments[i + 1]))
            expanded << QStringLiteral("--return-period") << arguments[++i];
    }
    return expanded;
}

// The block and the return periods of the extremes page; an error message for a value out of range.
QString readExtremesOptions(const QCommandLineParser& parser, const ReportOptions& options, ReportRequest& request)
{
    if (parser.isSet(options.block))
    {
        const QString block = parser.value(options.block);
        if (block != QStringLiteral("day") && block != QStringLiteral("week"))
            return QStringLiteral("--block: '%1' is not day or week").arg(block);
        request.block = block == QStringLiteral("week") ? BlockLength::week : BlockLength::day;
    }
    for (const QString& value : parser.values(options.returnPeriod))
    {
        bool ok = false;
        const double years = value.toDouble(&ok);
        if (!ok || !std::isfinite(years) || years <= 0.0 || years > ReturnPeriods::longestYears)
            return QStringLiteral("--return-period: '%1' is not a number of years above 0 and at most 1000000")
                .arg(value);
        if (auto refusal = ReturnPeriods::refusalOf(years, request.block))
            return QStringLiteral("--return-period %1: %2")
                .arg(QString::fromStdString(ExtremesText::number(years)), QString::fromStdString(*refusal));
        request.returnYears.push_back(years);
    }
    return {};
}

ReportRequestResult extremesRequest(const QCommandLineParser& parser, const ReportOptions& options,
                                    ReportRequest request)
{
    for (const QCommandLineOption* other : options.notForExtremes())
        if (parser.isSet(*other))
            return refused(
                QStringLiteral("--%1 does not go with --extremes (see --help)").arg(other->names().constFirst()));
    if (request.folders.isEmpty())
        return refused(QStringLiteral("--extremes needs the runs' folders (see --help)"));
    if (QString error = readExtremesOptions(parser, options, request); !error.isEmpty())
        return refused(error);
    request.action = ReportRequest::Action::extremes;
    request.output = parser.isSet(options.output) ? parser.value(options.output) : QStringLiteral("extremes.html");
    if (request.output.isEmpty())
        return refused(QStringLiteral("-o: the page needs a file name (see --help)"));
    return {request, {}};
}

}  // namespace

ReportRequestResult readReportRequest(const QStringList& arguments)
{
    QCommandLineParser parser;
    ReportOptions options;
    describe(parser, options);
    if (!parser.parse(withPeriodsRepeated(arguments)))
        return refused(parser.errorText());

    ReportRequest request;
    request.helpText = parser.helpText();
    request.folders = parser.positionalArguments();
    if (parser.isSet(QStringLiteral("help")))
    {
        request.action = ReportRequest::Action::help;
        return {request, {}};
    }
    if (parser.isSet(options.version))
    {
        request.action = ReportRequest::Action::version;
        return {request, {}};
    }
    if (parser.isSet(options.extremes))
        return extremesRequest(parser, options, request);
    if (parser.isSet(options.block))
        return refused(QStringLiteral("--block goes with --extremes (see --help)"));
    if (parser.isSet(options.compare))
    {
        // Options of one run's report would be ignored in silence.
        for (const QCommandLineOption* single : options.singleRunOptions())
            if (parser.isSet(*single))
                return refused(QStringLiteral("--%1 goes with the report of one run, not with --compare (see --help)")
                                   .arg(single->names().constFirst()));
        if (request.folders.isEmpty())
            return refused(QStringLiteral("--compare needs the runs' folders (see --help)"));
        request.action = ReportRequest::Action::comparison;
        request.output = parser.isSet(options.output) ? parser.value(options.output) : QStringLiteral("compare.html");
        request.csvFolder = parser.value(options.csv);
        request.figures = parser.values(options.figure);
        if (parser.isSet(options.precision))
        {
            bool ok = false;
            const double percent = parser.value(options.precision).toDouble(&ok);
            if (!ok || !(percent >= 0.01 && percent <= 99.0))
                return refused(QStringLiteral("--precision: '%1' is not a percentage from 0.01 to 99")
                                   .arg(parser.value(options.precision)));
            request.precision = percent / 100.0;
        }
        return {request, {}};
    }
    for (const QCommandLineOption* comparisonOnly : {&options.csv, &options.figure, &options.precision})
        if (parser.isSet(*comparisonOnly))
            return refused(
                QStringLiteral("--%1 goes with --compare (see --help)").arg(comparisonOnly->names().constFirst()));
    if (request.folders.size() != 1)
        return refused(QStringLiteral("give one FOLDER (see --help)"));
    if (QString error = readLoadEffectOptions(parser, options, request.loadEffects); !error.isEmpty())
        return refused(error);
    request.output = parser.value(options.output);
    request.study = valueOf(parser, options.study);
    request.bridges = valueOf(parser, options.bridges);
    request.config = valueOf(parser, options.config);
    return {request, {}};
}
