#pragma once
// A small borderless pop-up that shows a text of one or more lines next to a control or a point,
// in the tool-tip colours, without taking the focus. It goes away after its timeout (unless the
// pointer rests on it), on any key but Enter, on any mouse button, or when the program loses
// the activation.

#include <QBasicTimer>
#include <QString>
#include <QWidget>

class CMessageTip : public QWidget
{
    Q_OBJECT

public:
    static constexpr int timerPeriodMs = 500;
    static constexpr int defaultTimeoutMs = 5000;

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
    QString text;
    QBasicTimer timer;
    int timeoutMs = defaultTimeoutMs;
    int elapsedMs = 0;
};
