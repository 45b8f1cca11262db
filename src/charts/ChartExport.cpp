#include "charts/ChartExport.h"

#include "files/AtomicFileWriter.h"

#include "charts/SvgCompaction.h"

#include <QBuffer>
#include <QChart>
#include <QClipboard>
#include <QFile>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QGuiApplication>
#include <QMimeData>
#include <QPainter>
#include <QSvgGenerator>
#include <QTextDocumentFragment>

namespace ChartExport {

namespace {

// Renders the chart at `size` without disturbing the view that may show it: the chart is laid
// out at the new size, drawn, and given its old size back.
template <typename Device>
void render(QChart& chart, Device& device, QSize size)
{
    QGraphicsScene* scene = chart.scene();
    QGraphicsScene ownScene;
    if (scene == nullptr)
    {
        ownScene.addItem(&chart);
        scene = &ownScene;
    }
    QSizeF oldSize = chart.size();
    QPointF oldPosition = chart.pos();
    chart.setPos(0, 0);
    chart.resize(size);
    // Lays the axes and series out for the new size before they are drawn.
    chart.layout()->activate();
    {
        QPainter painter(&device);
        painter.setRenderHint(QPainter::Antialiasing);
        scene->render(&painter, QRectF(QPointF(0, 0), size), QRectF(chart.pos(), size));
    }
    if (scene == &ownScene)
        ownScene.removeItem(&chart);
    else
    {
        chart.resize(oldSize);
        chart.setPos(oldPosition);
    }
}

}  // namespace

QImage toImage(QChart& chart, QSize size)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    render(chart, image, size);
    return image;
}

QByteArray toSvg(QChart& chart, QSize size, const QString& title)
{
    return SvgCompaction::compacted(QString::fromUtf8(generatedSvg(chart, size, title))).toUtf8();
}

QByteArray generatedSvg(QChart& chart, QSize size, const QString& title)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(size);
    generator.setViewBox(QRect(QPoint(0, 0), size));
    // The chart's title is rich text; the generator writes the title as given, unescaped.
    QString plainTitle = title.isEmpty() ? QTextDocumentFragment::fromHtml(chart.title()).toPlainText() : title;
    generator.setTitle(plainTitle.toHtmlEscaped());
    render(chart, generator, size);
    return buffer.data();
}

// Through the program's file layer: a device or pipe is refused, a link keeps pointing at the
// picture, and a failed write leaves the earlier picture whole.
bool saveBytes(const QString& path, const QByteArray& bytes)
{
    return !writeFileAtomically(QFile::encodeName(path).toStdString(),
                                std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

bool savePng(QChart& chart, const QString& path, QSize size)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    return toImage(chart, size).save(&buffer, "PNG") && saveBytes(path, png);
}

bool saveSvg(QChart& chart, const QString& path, QSize size)
{
    return saveBytes(path, toSvg(chart, size));
}

void copyToClipboard(QChart& chart, QSize size)
{
    auto* data = new QMimeData;
    data->setImageData(toImage(chart, size));
    data->setData(QStringLiteral("image/svg+xml"), toSvg(chart, size));
    QGuiApplication::clipboard()->setMimeData(data);
}

}  // namespace ChartExport
