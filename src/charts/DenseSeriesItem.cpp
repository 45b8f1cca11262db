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
void paintMarkers(QPainter& painter, const std::vector<QPointF>& centres, const QColor& colour, double diameter,
                  double pixel)
{
    if (centres.empty())
        return;
    QPainterPath path;
    for (const QPointF& centre : centres)
    {
        path.moveTo(centre);
        path.lineTo(centre + QPointF(pixel / 100.0, 0.0));
    }
    painter.setPen(QPen(colour, diameter, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
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

void DenseSeriesItem::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*)
{
    const QRectF plot = chart.plotArea();
    if (plot.isEmpty() || data.empty())
        return;
    // The axes are linear: two points give the whole mapping, far cheaper than mapping each.
    const QPointF origin = chart.mapToPosition(QPointF(0.0, 0.0), &anchor);
    const QPointF step = chart.mapToPosition(QPointF(1.0, 1.0), &anchor) - origin;
    // The device's pixel in this item's units: a window on a high-density screen has smaller ones.
    const double scale = std::sqrt(std::abs(painter->deviceTransform().determinant()));
    const double pixel = scale > 0.0 ? 1.0 / scale : 1.0;

    std::vector<QPointF> positions;
    positions.reserve(data.size());
    for (const QPointF& point : data)
    {
        if (std::isfinite(point.x()) && std::isfinite(point.y()))
            positions.emplace_back(origin.x() + point.x() * step.x(), origin.y() + point.y() * step.y());
        else
            positions.emplace_back(std::numeric_limits<double>::quiet_NaN(), 0.0);
    }

    painter->save();
    painter->setClipRect(plot);
    if (auto* scatter = qobject_cast<QScatterSeries*>(&anchor))
    {
        const QPen border = scatter->pen();
        const double diameter = scatter->markerSize() + (border.style() == Qt::NoPen ? 0.0 : border.widthF());
        // Markers wholly outside the plot would not show.
        const QRectF shown = plot.adjusted(-diameter, -diameter, diameter, diameter);
        std::erase_if(positions, [&](const QPointF& position) { return !shown.contains(position); });
        paintMarkers(*painter, PixelDecimation::markers(positions, pixel), scatter->color(), diameter, pixel);
    }
    else
    {
        const PixelDecimation::Line line = PixelDecimation::line(positions, pixel);
        QPainterPath path;
        for (const std::vector<QPointF>& polyline : line.polylines)
        {
            path.moveTo(polyline.front());
            for (std::size_t i = 1; i < polyline.size(); ++i)
                path.lineTo(polyline[i]);
        }
        const QPen pen = anchor.pen();
        painter->setPen(pen);
        painter->setBrush(Qt::NoBrush);
        painter->drawPath(path);
        const std::vector<QPointF>& markers =
            anchor.pointsVisible() ? PixelDecimation::markers(positions, pixel) : line.lonePoints;
        paintMarkers(*painter, markers, pen.color(), std::max(pen.widthF(), 1.0) * 1.5, pixel);
    }
    painter->restore();
}
