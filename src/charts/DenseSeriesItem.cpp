#include "charts/DenseSeriesItem.h"

#include "charts/PixelDecimation.h"

#include <QAbstractAxis>
#include <QChart>
#include <QPainter>
#include <QPainterPath>
#include <QScatterSeries>
#include <QValueAxis>

#include <cmath>
#include <limits>

namespace {

// Among the chart's own series items: above the grid, below the legend.
constexpr double seriesZValue = 4.0;

// Markers as one path of dots: a round-capped stroke a hundredth of a pixel long is a disc the
// pen's width across, one short path segment in an SVG document instead of an element.
QPainterPath dotsAt(const std::vector<QPointF>& centres, double pixel)
{
    QPainterPath path;
    for (const QPointF& centre : centres)
    {
        path.moveTo(centre);
        path.lineTo(centre + QPointF(pixel / 100.0, 0.0));
    }
    return path;
}

void paintDots(QPainter& painter, const QPainterPath& dots, const QColor& colour, double diameter)
{
    painter.setPen(QPen(colour, diameter, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(dots);
}

}  // namespace

DenseSeriesItem::DenseSeriesItem(QChart& owner, QXYSeries& anchorSeries, std::vector<QPointF> points)
    : QGraphicsObject(&owner), chart(owner), anchor(anchorSeries), data(std::move(points))
{
    setZValue(seriesZValue);
    setVisible(anchor.isVisible());
    auto redraw = [this] {
        prepareGeometryChange();
        update();
    };
    connect(&chart, &QChart::plotAreaChanged, this, redraw);
    for (QAbstractAxis* axis : anchor.attachedAxes())
        if (auto* values = qobject_cast<QValueAxis*>(axis))
            connect(values, &QValueAxis::rangeChanged, this, redraw);
    connect(&anchor, &QAbstractSeries::visibleChanged, this, [this] { setVisible(anchor.isVisible()); });
}

const DenseSeriesItem* DenseSeriesItem::of(const QXYSeries& series)
{
    const QChart* owner = series.chart();
    if (owner == nullptr)
        return nullptr;
    for (QGraphicsItem* child : owner->childItems())
        if (auto* item = qobject_cast<DenseSeriesItem*>(child->toGraphicsObject()); item && &item->anchor == &series)
            return item;
    return nullptr;
}

QRectF DenseSeriesItem::boundingRect() const
{
    return chart.plotArea();
}

bool DenseSeriesItem::Layout::operator==(const Layout& other) const
{
    return plot == other.plot && origin == other.origin && step == other.step && pixel == other.pixel &&
           markerDiameter == other.markerDiameter && allMarkers == other.allMarkers;
}

// The paths depend only on where the points fall: a window that repaints the same chart draws
// them again without reducing the points again.
const DenseSeriesItem::Picture& DenseSeriesItem::pictureFor(const Layout& layout)
{
    if (picture && picture->layout == layout)
        return *picture;
    std::vector<QPointF> positions;
    positions.reserve(data.size());
    for (const QPointF& point : data)
    {
        if (std::isfinite(point.x()) && std::isfinite(point.y()))
            positions.emplace_back(layout.origin.x() + point.x() * layout.step.x(),
                                   layout.origin.y() + point.y() * layout.step.y());
        else
            positions.emplace_back(std::numeric_limits<double>::quiet_NaN(), 0.0);
    }
    picture = Picture{layout, {}, {}};
    if (qobject_cast<QScatterSeries*>(&anchor) != nullptr)
    {
        // Markers wholly outside the plot would not show.
        const double reach = layout.markerDiameter;
        const QRectF shown = layout.plot.adjusted(-reach, -reach, reach, reach);
        std::erase_if(positions, [&](const QPointF& position) { return !shown.contains(position); });
        picture->markers = dotsAt(PixelDecimation::markers(positions, layout.pixel), layout.pixel);
        return *picture;
    }
    const PixelDecimation::Line line = PixelDecimation::line(positions, layout.pixel);
    for (const std::vector<QPointF>& polyline : line.polylines)
    {
        picture->line.moveTo(polyline.front());
        for (std::size_t i = 1; i < polyline.size(); ++i)
            picture->line.lineTo(polyline[i]);
    }
    picture->markers =
        dotsAt(layout.allMarkers ? PixelDecimation::markers(positions, layout.pixel) : line.lonePoints, layout.pixel);
    return *picture;
}

void DenseSeriesItem::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*)
{
    Layout layout;
    layout.plot = chart.plotArea();
    if (layout.plot.isEmpty() || data.empty())
        return;
    // The axes are linear: two points give the whole mapping, far cheaper than mapping each.
    layout.origin = chart.mapToPosition(QPointF(0.0, 0.0), &anchor);
    layout.step = chart.mapToPosition(QPointF(1.0, 1.0), &anchor) - layout.origin;
    // The device's pixel in this item's units: a window on a high-density screen has smaller ones.
    const double scale = std::sqrt(std::abs(painter->deviceTransform().determinant()));
    layout.pixel = scale > 0.0 ? 1.0 / scale : 1.0;

    painter->save();
    painter->setClipRect(layout.plot);
    if (auto* scatter = qobject_cast<QScatterSeries*>(&anchor))
    {
        const QPen border = scatter->pen();
        layout.markerDiameter = scatter->markerSize() + (border.style() == Qt::NoPen ? 0.0 : border.widthF());
        paintDots(*painter, pictureFor(layout).markers, scatter->color(), layout.markerDiameter);
    }
    else
    {
        const QPen pen = anchor.pen();
        layout.markerDiameter = std::max(pen.widthF(), 1.0) * 1.5;
        layout.allMarkers = anchor.pointsVisible();
        const Picture& drawn = pictureFor(layout);
        painter->setPen(pen);
        painter->setBrush(Qt::NoBrush);
        painter->drawPath(drawn.line);
        paintDots(*painter, drawn.markers, pen.color(), layout.markerDiameter);
    }
    painter->restore();
}
