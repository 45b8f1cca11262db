#pragma once
// The colour scale beside a heat map or a space-time diagram: a bar from 0 (bottom) to the top
// value, with its title; drawn in the room left right of the plot area.

#include <QFont>
#include <QRectF>
#include <QString>

class QPainter;

namespace ColourScale {

// Room to leave right of the plot area, px.
constexpr int width = 80;

void paint(QPainter& painter, const QRectF& plotArea, double top, const QString& title, const QFont& font);

}  // namespace ColourScale
