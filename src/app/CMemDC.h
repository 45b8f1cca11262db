#pragma once
// Off-screen buffer for one frame: drawing goes into an image of the target's clip rectangle,
// filled with the background, which is copied to the target in one piece when the buffer ends.
// A printer is drawn on directly.

#include <QImage>
#include <QPainter>
#include <QRect>
#include <QTransform>

#include <optional>

class CMemDC
{
public:
    // mapping: logical to target device coordinates; clip: the target's area to redraw, device.
    CMemDC(QPainter& target, const QRect& clip, const QTransform& mapping, const QColor& background, bool direct);
    ~CMemDC();
    CMemDC(const CMemDC&) = delete;
    CMemDC& operator=(const CMemDC&) = delete;

    // The painter to draw on, set to the logical mapping.
    QPainter& dc() { return buffer ? *bufferPainter : target; }
    // The rectangle that is drawn, in device coordinates of the painter dc().
    QRect deviceRect() const;

private:
    QPainter& target;
    QRect clip;
    std::optional<QImage> buffer;
    std::optional<QPainter> bufferPainter;
};
