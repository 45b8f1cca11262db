#pragma once
// A series of many points drawn in one paint call instead of one graphics item per point: an
// empty anchor series gives it its axes, name, legend entry, colour and marker, the item keeps
// the points and draws what of them shows at the picture's pixels (see PixelDecimation). A
// picture as SVG holds one path per series.

#include <QGraphicsObject>
#include <QPainterPath>
#include <QPointF>

#include <optional>
#include <vector>

class QChart;
class QXYSeries;

class DenseSeriesItem : public QGraphicsObject
{
    Q_OBJECT

public:
    // The anchor must be in the chart with its axes attached. A QScatterSeries anchor draws
    // markers; any other draws a line broken at points with a missing coordinate, with markers
    // where it shows them (pointsVisible) and at lone points between gaps.
    DenseSeriesItem(QChart& chart, QXYSeries& anchor, std::vector<QPointF> points);

    // The item that draws `series`, or none when the series draws itself.
    static const DenseSeriesItem* of(const QXYSeries& series);

    const std::vector<QPointF>& points() const { return data; }

    QRectF boundingRect() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

private:
    // Where the points fall and how the markers are drawn.
    struct Layout
    {
        QRectF plot;
        QPointF origin;  // of the data's (0, 0)
        QPointF step;    // from (0, 0) to (1, 1)
        double pixel = 1.0;
        double markerDiameter = 0.0;
        bool allMarkers = false;  // a line that shows its points

        bool operator==(const Layout& other) const;
    };
    struct Picture
    {
        Layout layout;
        QPainterPath line;
        QPainterPath markers;
    };
    const Picture& pictureFor(const Layout& layout);

    QChart& chart;
    QXYSeries& anchor;
    std::vector<QPointF> data;
    std::optional<Picture> picture;
};
