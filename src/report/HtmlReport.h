#pragma once
// The report of a run as one self-contained HTML page: the run's summary, a table of key figures
// per measurement file and per bridge, and every chart of the files as inline SVG. The page is also well-formed
// XML, so that programs can read its tables back.

#include "charts/LoadEffectCharts.h"
#include "loadeffects/BridgeSet.h"
#include "measurements/DetectorIntervals.h"
#include "measurements/RoadLanes.h"
#include "report/PageText.h"

#include <QString>

#include <cstddef>
#include <filesystem>
#include <string>

struct ReportSources
{
    std::filesystem::path measurementFolder;
    QString summary;                // the runner's summary; empty when there is none
    QString title;                  // shown as the page's heading
    DetectorIntervals intervals;    // from the study, when known
    RoadLanes lanes;                // from the study, when known; else as the files count them
    BridgeSet bridges;              // from the study, when known: the load effects' units
    LoadEffectOptions loadEffects;  // the hour and return period of the load-effect charts
    std::string problem;            // why the folder cannot be reported: its summary is unreadable
    // What made the run, for the page's header; empty when not known.
    QString study;
    QString inputFile;      // the study's traffic file
    QString configuration;  // the configuration file read, or empty for the built-in defaults
};

class HtmlReport
{
public:
    // Where a folder's parts are: a run's folder holds "summary.txt" and a "metrics" folder; any
    // other folder is taken as the measurement folder itself.
    static ReportSources sourcesOf(const std::filesystem::path& folder);
    // A runner's summary is a few lines; anything this large is not one.
    static constexpr std::size_t maxSummaryBytes = std::size_t{16} << 20;

    static QString build(const ReportSources& sources);

    // A chart's SVG document made fit to sit inside HTML: no XML prolog, sized in pixels.
    static QString inlineSvg(const QByteArray& document);
    // The chart as a <figure> whose id is claimed for `name`. The drawing's own ids are numbered
    // from 1 in every drawing: they are claimed too, so that each figure keeps its own gradient.
    static QString figure(QChart& chart, const QString& name, PageIds& ids);
};
