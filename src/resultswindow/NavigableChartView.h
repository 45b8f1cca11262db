#pragma once
// A chart view the user can handle: the wheel zooms about the pointer, a drag pans, a drag with
// the right button (or with Ctrl) zooms into the rectangle drawn, and a double-click shows the
// whole chart again. It tells the value under the pointer in the axes' units.

#include <QChartView>
#include <QPointer>

#include <optional>
#include <vector>

class QRubberBand;
class QValueAxis;

class NavigableChartView : public QChartView
{
    Q_OBJECT

public:
    explicit NavigableChartView(QChart* chart, QWidget* parent = nullptr);
    ~NavigableChartView() override;

    // Every value axis's range shrinks by `factor` (below 1 zooms in) about the view point.
    void zoomAt(QPointF viewPoint, double factor);
    // Shows what lies inside the view rectangle.
    void zoomTo(const QRectF& viewRect);
    // Moves what is shown by `pixels`, the way a drag moves the picture.
    void panBy(QPointF pixels);
    // The ranges the chart was made with.
    void resetView();
    bool isZoomed() const { return !home.empty(); }

    // The value of each axis along the bottom and the left at a view point; nothing off the plot.
    std::optional<QPointF> valueAt(QPointF viewPoint) const;
    // "Time of day 07:35, Flow 1234.5 veh/h"; "" off the plot.
    QString readoutAt(QPointF viewPoint) const;

signals:
    // The pointer moved: the value under it, "" when it left the plot.
    void pointerValueChanged(const QString& text);
    void zoomChanged(bool zoomed);

protected:
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    struct AxisState
    {
        QPointer<QValueAxis> axis;  // a chart may drop an axis
        double low;
        double high;
        double tickInterval;
    };
    std::vector<QValueAxis*> valueAxes() const;
    // The fraction (0 to 1, from the low end) of the axis's range at a view point.
    double fractionAt(const QValueAxis& axis, QPointF viewPoint) const;
    QRectF plotInView() const;
    void rememberHome();
    void showRange(QValueAxis& axis, double low, double high);
    QValueAxis* axisAt(Qt::Alignment alignment) const;

    std::vector<AxisState> home;  // empty while the chart shows its own ranges
    enum class Drag
    {
        none,
        pan,
        band
    };
    Drag drag = Drag::none;
    QPointF lastPoint;
    QPointF bandOrigin;
    QRubberBand* band = nullptr;
};
