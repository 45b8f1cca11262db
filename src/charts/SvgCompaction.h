#pragma once
// Shrinks the SVG documents that Qt's generator writes, without changing the drawing: it opens a
// group with the full pen and brush for every shape (hundreds of bytes per scatter point), and
// many groups stay empty. Empty groups go, a circle's translation moves into its centre, and
// neighbouring groups with the same attributes become one.

#include <QString>

namespace SvgCompaction {

QString compacted(const QString& svg);

}  // namespace SvgCompaction
