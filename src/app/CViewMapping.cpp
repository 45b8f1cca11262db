#include "app/CViewMapping.h"

#include <algorithm>

CViewMapping::CViewMapping(int worldWidth, int worldHeight, double viewScale, double borderLeft, QSize client,
                           QPoint scroll)
    : clientSize(client)
{
    const int windowX = std::max(worldWidth, 1);
    const int windowY = std::max(worldHeight, 1);
    // A zero viewport extent would collapse the picture; one pixel is the least it keeps.
    const int viewportX = std::max(static_cast<int>(worldWidth * viewScale), 1);
    const int viewportY = std::max(static_cast<int>(worldHeight * viewScale), 1);
    const double originX = static_cast<int>(borderLeft * viewScale) - scroll.x();
    const double originY = client.height() / 2 - scroll.y();
    transform = QTransform(static_cast<double>(viewportX) / windowX, 0.0, 0.0, static_cast<double>(viewportY) / windowY,
                           originX, originY);
}

QPointF CViewMapping::mapToLogical(QPointF device) const
{
    return transform.inverted().map(device);
}
