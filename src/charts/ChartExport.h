#pragma once
// A chart as a picture: rendered into an image or an SVG document of a given size, saved to a
// PNG or SVG file, or put on the clipboard as both.

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

class QChart;

namespace ChartExport {

constexpr QSize defaultSize{800, 500};

QImage toImage(QChart& chart, QSize size = defaultSize);
// A complete SVG document, compacted.
QByteArray toSvg(QChart& chart, QSize size = defaultSize, const QString& title = {});
// The document as Qt's SVG generator writes it.
QByteArray generatedSvg(QChart& chart, QSize size = defaultSize, const QString& title = {});
// False when the file cannot be written.
bool savePng(QChart& chart, const QString& path, QSize size = defaultSize);
bool saveSvg(QChart& chart, const QString& path, QSize size = defaultSize);
void copyToClipboard(QChart& chart, QSize size = defaultSize);

}  // namespace ChartExport
