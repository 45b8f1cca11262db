#include "app/CMemDC.h"

CMemDC::CMemDC(QPainter& targetPainter, const QRect& clipRect, const QTransform& mapping, const QColor& background,
               bool direct)
    : target(targetPainter), clip(clipRect)
{
    if (direct || clip.isEmpty())
    {
        target.save();
        target.setTransform(mapping);
        return;
    }
    buffer.emplace(clip.size(), QImage::Format_RGB32);
    buffer->fill(background);
    bufferPainter.emplace(&*buffer);
    bufferPainter->setTransform(mapping * QTransform::fromTranslate(-clip.left(), -clip.top()));
}

CMemDC::~CMemDC()
{
    if (!buffer)
    {
        target.restore();
        return;
    }
    bufferPainter->end();
    target.save();
    target.resetTransform();
    target.drawImage(clip.topLeft(), *buffer);
    target.restore();
}

QRect CMemDC::deviceRect() const
{
    return buffer ? QRect(QPoint(0, 0), clip.size()) : clip;
}
