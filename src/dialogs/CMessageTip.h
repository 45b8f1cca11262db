#pragma once
// A small borderless pop-up that shows a text of one or more lines next to a control or a point,
// in the tool-tip colours, without taking the focus, and always whole on the screen. A tab parts
// a line's label from its value, and the values of all lines start in one column. It goes away
// after its timeout (unless the pointer rests on it), on any key but Enter, on any mouse button,
// or when the program loses the activation.

#include <QBasicTimer>
#include <QFontMetrics>
#include <QList>
#include <QString>
#include <QWidget>

class CMessageTip : public QWidget
{
    Q_OBJECT

public:
    static constexpr int timerPeriodMs = 500;
    static constexpr int defaultTimeoutMs = 5000;

    // Where the text goes inside the margins (pixels).
    struct Layout
    {
        struct Line
        {
            QString label;  // the whole line when it has no tab
            QString value;
            bool hasValue = false;
        };
        QList<Line> lines;
        int valueX = 0;  // where every value starts
        QSize textSize;

        static Layout of(const QString& text, const QFontMetrics& metrics);
    };

    CMessageTip() = default;

    // Creates the hidden tip window for parent; false when there is no parent.
    bool create(QWidget* parent);
    // Shows text next to target, a rectangle in the parent's client coordinates.
    void showTip(const QRect& target, const QString& text);
    void hideTip();
    void setTimeout(int milliseconds) { timeoutMs = milliseconds; }
    int getTimeout() const { return timeoutMs; }
    const QString& getText() const { return text; }
    bool isShowing() const { return isVisible(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* owner = nullptr;
    // The tip's top-left corner: anchored next to the target, moved onto the owner's screen.
    QPoint placeOnScreen(const QRect& target, QSize tipSize) const;

    QString text;
    Layout layout;
    QBasicTimer timer;
    int timeoutMs = defaultTimeoutMs;
    int elapsedMs = 0;
};
