#include "resultswindow/NavigableChartView.h"

#include "charts/ChartAxes.h"
#include "measurements/RoundStep.h"
#include "resultswindow/PointerReadout.h"

#include <QChart>
#include <QMouseEvent>
#include <QRubberBand>
#include <QValueAxis>
#include <QWheelEvent>

#include <cmath>

namespace {
// One notch of the wheel shows this share of the range.
constexpr double notchZoom = 0.8;
// A rectangle smaller than this (px) is a click, not a zoom.
constexpr int smallestBand = 5;
constexpr double ticksWanted = 8.0;
}  // namespace

NavigableChartView::NavigableChartView(QChart* chart, QWidget* parent) : QChartView(chart, parent)
{
    setMouseTracking(true);
    setDragMode(QGraphicsView::NoDrag);
    band = new QRubberBand(QRubberBand::Rectangle, viewport());
    band->hide();
}

NavigableChartView::~NavigableChartView() = default;

std::vector<QValueAxis*> NavigableChartView::valueAxes() const
{
    std::vector<QValueAxis*> axes;
    for (QAbstractAxis* axis : chart()->axes())
        if (auto* values = qobject_cast<QValueAxis*>(axis))
            axes.push_back(values);
    return axes;
}

QRectF NavigableChartView::plotInView() const
{
    // In fractions of a pixel: mapFromScene would round to whole ones.
    return viewportTransform().mapRect(chart()->mapRectToScene(chart()->plotArea()));
}

double NavigableChartView::fractionAt(const QValueAxis& axis, QPointF viewPoint) const
{
    const QRectF plot = plotInView();
    double fraction = axis.orientation() == Qt::Horizontal ? (viewPoint.x() - plot.left()) / plot.width()
                                                           : (plot.bottom() - viewPoint.y()) / plot.height();
    return axis.isReverse() ? 1.0 - fraction : fraction;
}

void NavigableChartView::rememberHome()
{
    if (!home.empty())
        return;
    for (QValueAxis* axis : valueAxes())
        home.push_back({axis, axis->min(), axis->max(), axis->tickInterval()});
    emit zoomChanged(true);
}

void NavigableChartView::showRange(QValueAxis& axis, double low, double high)
{
    if (!std::isfinite(low) || !std::isfinite(high) || !(low < high))
        return;
    if (PointerReadout::isTimeAxis(axis))
    {
        // Labels at round times of the range shown.
        ChartAxes::fitTime(axis, low, high);
        return;
    }
    axis.setRange(low, high);
    if (axis.tickType() == QValueAxis::TicksDynamic)
        axis.setTickInterval(roundStep((high - low) / ticksWanted));
}

void NavigableChartView::zoomAt(QPointF viewPoint, double factor)
{
    if (!(factor > 0.0) || !std::isfinite(factor))
        return;
    rememberHome();
    for (QValueAxis* axis : valueAxes())
    {
        const double low = axis->min();
        const double span = axis->max() - low;
        const double fixed = low + std::clamp(fractionAt(*axis, viewPoint), 0.0, 1.0) * span;
        showRange(*axis, fixed - (fixed - low) * factor, fixed + (axis->max() - fixed) * factor);
    }
}

void NavigableChartView::zoomTo(const QRectF& viewRect)
{
    const QRectF shown = viewRect.normalized().intersected(plotInView());
    if (shown.width() < 1.0 || shown.height() < 1.0)
        return;
    rememberHome();
    for (QValueAxis* axis : valueAxes())
    {
        const double low = axis->min();
        const double span = axis->max() - low;
        double a = fractionAt(*axis, shown.topLeft());
        double b = fractionAt(*axis, shown.bottomRight());
        showRange(*axis, low + std::min(a, b) * span, low + std::max(a, b) * span);
    }
}

void NavigableChartView::panBy(QPointF pixels)
{
    const QRectF plot = plotInView();
    if (plot.width() < 1.0 || plot.height() < 1.0)
        return;
    rememberHome();
    for (QValueAxis* axis : valueAxes())
    {
        const double span = axis->max() - axis->min();
        double share = axis->orientation() == Qt::Horizontal ? -pixels.x() / plot.width() : pixels.y() / plot.height();
        if (axis->isReverse())
            share = -share;
        showRange(*axis, axis->min() + share * span, axis->max() + share * span);
    }
}

void NavigableChartView::resetView()
{
    if (home.empty())
        return;
    for (const AxisState& state : home)
    {
        if (!state.axis)
            continue;
        showRange(*state.axis, state.low, state.high);
        if (state.axis->tickType() == QValueAxis::TicksDynamic)
            state.axis->setTickInterval(state.tickInterval);
    }
    home.clear();
    emit zoomChanged(false);
}

QValueAxis* NavigableChartView::axisAt(Qt::Alignment alignment) const
{
    for (QAbstractAxis* axis : chart()->axes())
        if (axis->alignment() == alignment)
            if (auto* values = qobject_cast<QValueAxis*>(axis))
                return values;
    return nullptr;
}

std::optional<QPointF> NavigableChartView::valueAt(QPointF viewPoint) const
{
    QValueAxis* x = axisAt(Qt::AlignBottom);
    QValueAxis* y = axisAt(Qt::AlignLeft);
    if (x == nullptr || y == nullptr || !plotInView().contains(viewPoint))
        return std::nullopt;
    return QPointF(x->min() + fractionAt(*x, viewPoint) * (x->max() - x->min()),
                   y->min() + fractionAt(*y, viewPoint) * (y->max() - y->min()));
}

QString NavigableChartView::readoutAt(QPointF viewPoint) const
{
    const std::optional<QPointF> value = valueAt(viewPoint);
    if (!value)
        return {};
    return PointerReadout::of(*axisAt(Qt::AlignBottom), value->x()) + QStringLiteral(", ") +
           PointerReadout::of(*axisAt(Qt::AlignLeft), value->y());
}

void NavigableChartView::wheelEvent(QWheelEvent* event)
{
    const double notches = event->angleDelta().y() / 120.0;
    if (notches == 0.0)
    {
        event->ignore();
        return;
    }
    zoomAt(event->position(), std::pow(notchZoom, notches));
    event->accept();
}

void NavigableChartView::mousePressEvent(QMouseEvent* event)
{
    const bool banding = event->button() == Qt::RightButton ||
                         (event->button() == Qt::LeftButton && event->modifiers().testFlag(Qt::ControlModifier));
    if (banding)
    {
        drag = Drag::band;
        bandOrigin = event->position();
        band->setGeometry(QRect(bandOrigin.toPoint(), QSize()));
        band->show();
    }
    else if (event->button() == Qt::LeftButton)
    {
        drag = Drag::pan;
        lastPoint = event->position();
        viewport()->setCursor(Qt::ClosedHandCursor);
    }
    else
    {
        QChartView::mousePressEvent(event);
        return;
    }
    event->accept();
}

void NavigableChartView::mouseMoveEvent(QMouseEvent* event)
{
    if (drag == Drag::pan)
    {
        panBy(event->position() - lastPoint);
        lastPoint = event->position();
    }
    else if (drag == Drag::band)
        band->setGeometry(QRectF(bandOrigin, event->position()).normalized().toRect());
    emit pointerValueChanged(readoutAt(event->position()));
    event->accept();
}

void NavigableChartView::mouseReleaseEvent(QMouseEvent* event)
{
    if (drag == Drag::band)
    {
        band->hide();
        const QRectF drawn = QRectF(bandOrigin, event->position()).normalized();
        if (drawn.width() >= smallestBand && drawn.height() >= smallestBand)
            zoomTo(drawn);
    }
    if (drag != Drag::none)
    {
        drag = Drag::none;
        viewport()->unsetCursor();
        event->accept();
        return;
    }
    QChartView::mouseReleaseEvent(event);
}

void NavigableChartView::mouseDoubleClickEvent(QMouseEvent* event)
{
    resetView();
    event->accept();
}

void NavigableChartView::leaveEvent(QEvent* event)
{
    emit pointerValueChanged(QString());
    QChartView::leaveEvent(event);
}
