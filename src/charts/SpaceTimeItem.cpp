#include "charts/SpaceTimeItem.h"

#include "charts/ChartPalette.h"
#include "charts/ColourScale.h"

#include <QChart>
#include <QPainter>

#include <cmath>

namespace {

QImage imageOf(const SpaceTimePicture& picture, int direction)
{
    if (picture.columns <= 0 || picture.rows <= 0)
        return {};
    QImage image(picture.columns, picture.rows, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    double top = picture.maximumSpeed > 0.0f ? picture.maximumSpeed : 1.0;
    for (int row = 0; row < picture.rows; ++row)
        for (int column = 0; column < picture.columns; ++column)
        {
            float speed = picture.speedAt(column, row);
            if (std::isfinite(speed))
                image.setPixelColor(column, direction == 2 ? row : picture.rows - 1 - row,
                                    ChartPalette::scale(speed / top));
        }
    return image;
}

}  // namespace

SpaceTimeItem::SpaceTimeItem(QChart& owner, QAbstractSeries& axesAnchor, SpaceTimePicture picture, int direction)
    : QGraphicsObject(&owner), chart(owner), anchor(axesAnchor), shown(std::move(picture)),
      cells(imageOf(shown, direction))
{
    setZValue(1.0);
    connect(&chart, &QChart::plotAreaChanged, this, [this] {
        prepareGeometryChange();
        update();
    });
}

QRectF SpaceTimeItem::boundingRect() const
{
    return chart.plotArea().adjusted(0, 0, ColourScale::width, 0);
}

void SpaceTimeItem::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*)
{
    QRectF plot = chart.plotArea();
    if (!cells.isNull())
    {
        QPointF topLeft = chart.mapToPosition(QPointF(shown.startTime, shown.length()), &anchor);
        QPointF bottomRight = chart.mapToPosition(QPointF(shown.endTime(), 0.0), &anchor);
        painter->save();
        painter->setClipRect(plot);
        // Each cell a sharp block, however far the picture is stretched.
        painter->setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter->drawImage(QRectF(topLeft, bottomRight), cells);
        painter->restore();
    }
    ColourScale::paint(*painter, plot, shown.maximumSpeed * 3.6, QStringLiteral("speed (km/h)"), chart.font());
}
