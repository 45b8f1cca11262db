#pragma once
// The view's logical-to-device mapping: one logical unit per metre along the road, y = 0 at the
// window's vertical middle, the world stretched by the zoom with each axis truncated on its own.

#include <QPoint>
#include <QPointF>
#include <QSize>
#include <QTransform>

class CViewMapping
{
public:
    // scroll: the device scroll position; clientSize: the window's client area in pixels.
    CViewMapping(int worldWidth, int worldHeight, double viewScale, double borderLeft, QSize clientSize, QPoint scroll);

    const QTransform& toDevice() const { return transform; }
    QPointF mapToDevice(QPointF logical) const { return transform.map(logical); }
    QPointF mapToLogical(QPointF device) const;

    double scaleX() const { return transform.m11(); }
    double scaleY() const { return transform.m22(); }
    int clientHeight() const { return clientSize.height(); }

private:
    QTransform transform;
    QSize clientSize;
};
