#include "charts/SvgCompaction.h"

#include <QRegularExpression>
#include <QStringList>

namespace SvgCompaction {

namespace {

QString withoutEmptyGroups(QString svg)
{
    static const QRegularExpression emptyGroup(QStringLiteral("<g\\b[^>]*>\\s*</g>\\s*"));
    qsizetype before = -1;
    while (before != svg.size())
    {
        before = svg.size();
        svg.remove(emptyGroup);
    }
    return svg;
}

// <g ... transform="matrix(1,0,0,1,tx,ty)" ...><circle cx="a" cy="b" r="r"/></g> becomes the
// same group without the translation around a circle at (a + tx, b + ty).
QString withCirclesMoved(const QString& svg)
{
    static const QRegularExpression translatedCircle(
        QStringLiteral("<g ([^>]*?)transform=\"matrix\\(1,0,0,1,([-+\\d.e]+),([-+\\d.e]+)\\)\"([^>]*)>\\s*"
                       "<circle cx=\"([-+\\d.e]+)\" cy=\"([-+\\d.e]+)\" r=\"([-+\\d.e]+)\"/>\\s*</g>"));
    QString result;
    result.reserve(svg.size());
    qsizetype copied = 0;
    for (auto match = translatedCircle.globalMatch(svg); match.hasNext();)
    {
        QRegularExpressionMatch circle = match.next();
        result += QStringView(svg).mid(copied, circle.capturedStart() - copied);
        double x = circle.captured(5).toDouble() + circle.captured(2).toDouble();
        double y = circle.captured(6).toDouble() + circle.captured(3).toDouble();
        result +=
            QStringLiteral("<g %1transform=\"matrix(1,0,0,1,0,0)\"%2>\n<circle cx=\"%3\" cy=\"%4\" r=\"%5\"/>\n</g>")
                .arg(circle.captured(1), circle.captured(4), QString::number(x, 'g', 6), QString::number(y, 'g', 6),
                     circle.captured(7));
        copied = circle.capturedEnd();
    }
    result += QStringView(svg).mid(copied);
    return result;
}

// Consecutive polylines where one starts at the previous one's end become one: lines are drawn
// a segment at a time.
QString withPolylinesJoined(const QString& svg)
{
    static const QRegularExpression polyline(QStringLiteral("<polyline ([^>]*?)points=\"([^\"]*)\" />"));
    QString result;
    result.reserve(svg.size());
    qsizetype copied = 0;
    QString attributes;
    QStringList points;  // of the polyline not yet written
    auto writePending = [&] {
        if (!points.isEmpty())
            result += QStringLiteral("<polyline %1points=\"%2 \" />").arg(attributes, points.join(QLatin1Char(' ')));
        points.clear();
    };
    for (auto match = polyline.globalMatch(svg); match.hasNext();)
    {
        QRegularExpressionMatch line = match.next();
        QStringView between = QStringView(svg).mid(copied, line.capturedStart() - copied);
        QStringList linePoints = line.captured(2).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        bool continues = !points.isEmpty() && between.trimmed().isEmpty() && line.captured(1) == attributes &&
                         !linePoints.isEmpty() && linePoints.first() == points.last();
        if (continues)
            points += linePoints.mid(1);
        else
        {
            writePending();
            result += between;
            attributes = line.captured(1);
            points = linePoints;
        }
        copied = line.capturedEnd();
    }
    writePending();
    result += QStringView(svg).mid(copied);
    return result;
}

// Groups without groups inside: consecutive ones with equal attributes are merged.
QString withLikeGroupsMerged(const QString& svg)
{
    static const QRegularExpression leafGroup(QStringLiteral("<g\\b([^>]*)>((?:(?!<g[\\s>]|</g>).)*?)</g>"),
                                              QRegularExpression::DotMatchesEverythingOption);
    QString result;
    result.reserve(svg.size());
    qsizetype copied = 0;
    QString openAttributes;  // of the group left open in `result`
    bool groupOpen = false;
    for (auto match = leafGroup.globalMatch(svg); match.hasNext();)
    {
        QRegularExpressionMatch group = match.next();
        QStringView between = QStringView(svg).mid(copied, group.capturedStart() - copied);
        bool adjacent = groupOpen && between.trimmed().isEmpty() && group.captured(1) == openAttributes;
        if (!adjacent)
        {
            if (groupOpen)
                result += QStringLiteral("</g>");
            result += between;
            result += QStringLiteral("<g") + group.captured(1) + QStringLiteral(">");
            openAttributes = group.captured(1);
            groupOpen = true;
        }
        result += group.captured(2);
        copied = group.capturedEnd();
    }
    if (groupOpen)
        result += QStringLiteral("</g>");
    result += QStringView(svg).mid(copied);
    return result;
}

}  // namespace

QString compacted(const QString& svg)
{
    return withPolylinesJoined(withLikeGroupsMerged(withCirclesMoved(withoutEmptyGroups(svg))));
}

}  // namespace SvgCompaction
