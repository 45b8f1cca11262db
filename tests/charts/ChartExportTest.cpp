#include "charts/ChartsTestSupport.h"

#include "charts/ChartExport.h"
#include "charts/SvgCompaction.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QPainter>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

namespace {

bool isWellFormedXml(const QByteArray& document)
{
    QXmlStreamReader reader(document);
    while (!reader.atEnd())
        reader.readNext();
    return !reader.hasError();
}

QImage rendered(const QByteArray& svg, QSize size)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QSvgRenderer renderer(svg);
    QPainter painter(&image);
    renderer.render(&painter);
    return image;
}

// Pixels whose colours differ by more than `tolerance` in a channel.
int differingPixels(const QImage& a, const QImage& b, int tolerance = 0)
{
    int differing = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
        {
            QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            int most =
                std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)), std::abs(qBlue(p) - qBlue(q))});
            differing += most > tolerance ? 1 : 0;
        }
    return differing;
}

}  // namespace

TEST(ChartExport, WritesPngAndSvgFilesAndCopiesBothToTheClipboard)
{
    std::vector<ResultChart> charts = chartsOf(entryOf("FD_All_Pos_1500.csv", threeIntervalFlows));
    QChart& chart = *charts[0].chart;
    QImage image = ChartExport::toImage(chart, QSize(640, 400));
    EXPECT_EQ(image.size(), QSize(640, 400));
    QImage white(image.size(), image.format());
    white.fill(Qt::white);
    EXPECT_GT(differingPixels(image, white), 1000);

    QByteArray svg = ChartExport::toSvg(chart);
    EXPECT_TRUE(isWellFormedXml(svg));
    // The title holds "&", which must reach the SVG escaped.
    EXPECT_TRUE(svg.contains("Flow &amp; Density"));

    QTemporaryDir folder;
    QString png = folder.filePath(QStringLiteral("chart.png"));
    QString svgFile = folder.filePath(QStringLiteral("chart.svg"));
    ASSERT_TRUE(ChartExport::savePng(chart, png));
    ASSERT_TRUE(ChartExport::saveSvg(chart, svgFile));
    EXPECT_EQ(QImage(png).size(), ChartExport::defaultSize);
    QFile saved(svgFile);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_TRUE(isWellFormedXml(saved.readAll()));
    EXPECT_FALSE(ChartExport::savePng(chart, folder.filePath(QStringLiteral("missing/chart.png"))));

    ChartExport::copyToClipboard(chart);
    const QMimeData* copied = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(copied, nullptr);
    EXPECT_TRUE(copied->hasImage());
    EXPECT_TRUE(copied->data(QStringLiteral("image/svg+xml")).startsWith("<?xml"));
}

TEST(ChartExport, CompactedSvgDrawsTheSamePicture)
{
    // Points, lines with gaps, bars and a heat map: every kind of shape the generator writes.
    std::vector<MeasurementEntry> entries = {
        entryOf("FD_All_Pos_1500.csv", threeIntervalFlows),
        entryOf("Comp_All_Pos_2500.csv", compositionHeader + "5,1,2,0,0\n3,0,4,1,2\n"),
        entryOf("LC_Rate_All_Pos.csv", rateHeader + "60,0,240,0\n120,0,,480\n"),
    };
    QSize size(400, 300);
    for (const MeasurementEntry& entry : entries)
        for (ResultChart& chart : chartsOf(entry))
        {
            QByteArray compacted = ChartExport::toSvg(*chart.chart, size);
            QByteArray original = ChartExport::generatedSvg(*chart.chart, size);
            EXPECT_LT(compacted.size(), original.size()) << chart.name.toStdString();
            // Joined line segments shade their joins a little differently from segments drawn
            // one by one; a shape lost or moved would differ by far more.
            EXPECT_EQ(differingPixels(rendered(compacted, size), rendered(original, size), 128), 0)
                << chart.name.toStdString();
        }
}

TEST(SvgCompaction, DropsEmptyGroupsMovesCirclesAndJoinsLikeNeighbours)
{
    QString svg = QStringLiteral(
        "<svg>\n<g fill=\"none\" a=\"1\">\n</g>\n"
        "<g fill=\"#f00\" transform=\"matrix(1,0,0,1,10,20)\"\n>\n<circle cx=\"2.5\" cy=\"2.5\" r=\"2.5\"/>\n</g>\n"
        "<g fill=\"#f00\" transform=\"matrix(1,0,0,1,30,40)\"\n>\n<circle cx=\"2.5\" cy=\"2.5\" r=\"2.5\"/>\n</g>\n"
        "<g stroke=\"#000\">\n<polyline fill=\"none\" vector-effect=\"none\" points=\"1,2 3,4 \" />\n</g>\n"
        "<g stroke=\"#000\">\n<polyline fill=\"none\" vector-effect=\"none\" points=\"3,4 5,6 \" />\n</g>\n"
        "</svg>");
    QString compacted = SvgCompaction::compacted(svg);
    EXPECT_FALSE(compacted.contains(QStringLiteral("a=\"1\"")));
    EXPECT_EQ(compacted.count(QStringLiteral("<g ")), 2);
    EXPECT_TRUE(compacted.contains(QStringLiteral("<circle cx=\"12.5\" cy=\"22.5\" r=\"2.5\"/>")));
    EXPECT_TRUE(compacted.contains(QStringLiteral("<circle cx=\"32.5\" cy=\"42.5\" r=\"2.5\"/>")));
    EXPECT_TRUE(compacted.contains(QStringLiteral("points=\"1,2 3,4 5,6 \"")));
    EXPECT_EQ(compacted.count(QStringLiteral("<polyline")), 1);
}
