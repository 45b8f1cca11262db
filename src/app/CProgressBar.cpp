#include "app/CProgressBar.h"

#include "app/CStatusBar.h"

#include <QEvent>
#include <QFontMetrics>

#include <algorithm>

CProgressBar::~CProgressBar()
{
    clear();
    if (statusBar)
        statusBar->removeEventFilter(this);
}

bool CProgressBar::create(CStatusBar* bar, const QString& text, int percent, int maxValue, bool smoothBar,
                          int paneIndex)
{
    if (!bar || paneIndex < 0 || paneIndex >= bar->paneCount())
        return false;
    statusBar = bar;
    setParent(bar);
    setTextVisible(false);
    smooth = smoothBar;
    QProgressBar::setRange(0, maxValue);
    QProgressBar::setValue(0);
    stepSize = 1;
    message = text;
    sizePercent = percent;
    pane = paneIndex;
    savedPaneText = bar->paneText(pane);
    bar->installEventFilter(this);
    show();
    resizeToPane();
    return true;
}

void CProgressBar::setText(const QString& text)
{
    message = text;
    resizeToPane();
}

void CProgressBar::setSize(int percent)
{
    sizePercent = percent;
    resizeToPane();
}

void CProgressBar::stepIt()
{
    if (!hasWindow())
        return;
    show();
    int next = value() + stepSize;
    // The control wraps around to the start when a step passes the end.
    if (next > maximum())
        next = minimum() + (next - maximum());
    QProgressBar::setValue(std::clamp(next, minimum(), maximum()));
}

void CProgressBar::setPos(int position)
{
    if (!hasWindow())
        return;
    show();
    QProgressBar::setValue(std::clamp(position, minimum(), maximum()));
}

void CProgressBar::offsetPos(int offset)
{
    setPos(value() + offset);
}

void CProgressBar::setRange(int lower, int upper, int step)
{
    if (!hasWindow())
        return;
    QProgressBar::setRange(lower, upper);
    stepSize = step;
}

void CProgressBar::setStep(int step)
{
    stepSize = step;
}

void CProgressBar::clear()
{
    if (!hasWindow())
        return;
    hide();
    statusBar->setPaneText(pane, pane != 0 ? savedPaneText : CStatusBar::idleText());
}

bool CProgressBar::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == statusBar && (event->type() == QEvent::Resize || event->type() == QEvent::LayoutRequest))
        resizeToPane();
    return QProgressBar::eventFilter(watched, event);
}

void CProgressBar::resizeToPane()
{
    if (!hasWindow())
        return;
    if (isVisible() || !isHidden())
    {
        statusBar->setPaneText(pane, message);
        statusBar->repaint();
    }
    const QFontMetrics metrics(statusBar->font());
    const int textWidth = metrics.horizontalAdvance(message);
    const int spaceWidth = 2 * metrics.horizontalAdvance(QLatin1Char(' '));

    const QRect paneRect = statusBar->paneRect(pane);
    int left = paneRect.left();
    int right = paneRect.left() + paneRect.width();
    int top = paneRect.top();
    int bottom = paneRect.top() + paneRect.height();
    if (!message.isEmpty())
        left += textWidth + 2 * spaceWidth;
    right -= (right - left) * (100 - sizePercent) / 100;
    right = std::max(right, left);
    const int inset = (bottom - top) / 10;
    top += inset;
    bottom -= inset;

    const QRect placed(QPoint(left, top), QSize(right - left, bottom - top));
    if (placed != lastRect)
    {
        setGeometry(placed);
        lastRect = placed;
    }
}
