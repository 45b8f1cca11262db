#pragma once
// A progress bar laid over a pane of the main window's status bar, right of a message, while a run
// reads its traffic file. It takes a given share of the pane's free width.

#include <QPointer>
#include <QProgressBar>
#include <QRect>
#include <QString>

class CStatusBar;

class CProgressBar : public QProgressBar
{
    Q_OBJECT

public:
    CProgressBar() = default;
    ~CProgressBar() override;

    // statusBar: the status bar to sit in; false when there is none.
    bool create(CStatusBar* statusBar, const QString& message, int sizePercent, int maxValue, bool smooth, int pane);

    void setText(const QString& text);
    void setSize(int percent);
    void stepIt();
    void setPos(int position);
    void offsetPos(int offset);
    void setRange(int lower, int upper, int step);
    void setStep(int step);
    // Hides the bar and gives the pane its text back ("Ready" for the message pane).
    void clear();

    const QString& getMessage() const { return message; }
    int getSizePercent() const { return sizePercent; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Places the bar in its pane, right of the message.
    void resizeToPane();
    bool hasWindow() const { return statusBar != nullptr; }

    QPointer<CStatusBar> statusBar;
    QString message;
    int sizePercent = 100;
    int pane = 0;
    int stepSize = 1;
    bool smooth = false;
    QString savedPaneText;
    QRect lastRect;
};
