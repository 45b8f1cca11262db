#include "charts/ColourScale.h"

#include "charts/ChartPalette.h"

#include <QLinearGradient>
#include <QPainter>

namespace ColourScale {

void paint(QPainter& painter, const QRectF& plotArea, double top, const QString& title, const QFont& font)
{
    QRectF bar(plotArea.right() + 12, plotArea.top(), 14, plotArea.height());
    QLinearGradient gradient(bar.bottomLeft(), bar.topLeft());
    for (int stop = 0; stop <= 4; ++stop)
        gradient.setColorAt(stop / 4.0, ChartPalette::scale(stop / 4.0));
    painter.save();
    painter.setPen(QPen(Qt::darkGray, 0));
    painter.setBrush(gradient);
    painter.drawRect(bar);
    painter.setPen(Qt::black);
    QFont smaller = font;
    smaller.setPointSizeF(font.pointSizeF() * 0.9);
    painter.setFont(smaller);
    QRectF labels(bar.right() + 4, bar.top() - 8, width - bar.width() - 16, bar.height() + 16);
    painter.drawText(labels, Qt::AlignTop | Qt::AlignLeft, QString::number(top, 'g', 4));
    painter.drawText(labels, Qt::AlignBottom | Qt::AlignLeft, QStringLiteral("0"));
    painter.drawText(labels, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextWordWrap, title);
    painter.restore();
}

}  // namespace ColourScale
