#pragma once
// A chart of one quantity over the time of day that grows while a run goes: one line per group
// (the lanes, then the totals), fed point by point as intervals complete and drawn on flush().
// Between flushes nothing is touched. Each line is drawn in short pieces and a flush adds only
// to the last, so that it redraws a few points rather than the whole line; the axes widen in
// steps, so that most flushes leave the rest of the picture as it was.

#include <QList>
#include <QPointF>
#include <QString>
#include <QStringList>

#include <vector>

class QChart;
class QLineSeries;
class QValueAxis;

class LiveTimeChart
{
public:
    // Sets up `chart`, which the caller owns (a chart view, usually), with empty lines named
    // `groups`, the last drawn as the totals. Times are seconds on the traffic files' calendar from `runStart` on;
    // `intervalSeconds` sets the first span of the time axis.
    LiveTimeChart(QChart& chart, const QString& valueTitle, const QStringList& groups, double runStart,
                  double intervalSeconds);

    // Queues a point; a value that is not finite (no vehicle passed) breaks the line there.
    void add(int group, double time, double value);
    // Draws the points queued since the last flush.
    void flush();

    QChart& chart() const { return target; }
    // The points drawn for `group`, in order, without the breaks.
    QList<QPointF> drawn(int group) const;
    QValueAxis& timeAxis() const { return *x; }
    QValueAxis& valueAxis() const { return *y; }

private:
    struct Piece
    {
        QLineSeries* series;
        bool continues;  // starts at the last point of the piece before
    };
    struct Line
    {
        QString name;
        std::vector<Piece> pieces;
        bool broken = true;     // the next point starts a new piece, apart from the last
        QList<QPointF> queued;  // with not-a-number values where the line breaks
    };
    QLineSeries* newPiece(Line& line, int group, bool continues);
    void append(Line& line, int group, const QList<QPointF>& stretch);
    void widenAxes(double latestTime, double highestValue);

    QChart& target;
    QValueAxis* x = nullptr;
    QValueAxis* y = nullptr;
    std::vector<Line> lines;
    double start;     // s
    double timeHigh;  // s, the end of the time axis
    double valueHigh = 0.0;
    int totalsGroup = -1;  // the last group, when there are lanes before it

public:
    // Points per piece of a line: what one flush redraws at most, besides the new points.
    static constexpr qsizetype pointsPerPiece = 32;
};
