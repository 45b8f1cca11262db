#include "dialogs/CMessageTip.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QTimerEvent>

namespace
{
constexpr int marginLeft = 6;
constexpr int marginTop = 4;
constexpr int marginRight = 8;
constexpr int marginBottom = 4;
}

bool CMessageTip::create(QWidget* parent)
{
    if (!parent)
        return false;
    owner = parent;
    setParent(parent, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    QWidget::hide();
    return true;
}

void CMessageTip::showTip(const QRect& target, const QString& tipText)
{
    if (!owner)
        return;
    text = tipText;
    const QFontMetrics metrics(font());
    const QStringList lines = text.split(QLatin1Char('\n'));
    int width = 0;
    for (const QString& line : lines)
        width = std::max(width, metrics.boundingRect(QRect(0, 0, 4000, 100),
                                                     Qt::TextExpandTabs, line).width());
    const int height = metrics.height() * static_cast<int>(lines.size());
    resize(width + marginLeft + marginRight, height + marginTop + marginBottom);
    move(owner->mapToGlobal(target.topLeft() - QPoint(6, 0)));
    QWidget::show();
    update();
    qApp->installEventFilter(this);
    elapsedMs = 0;
    timer.start(timerPeriodMs, this);
}

void CMessageTip::hideTip()
{
    timer.stop();
    qApp->removeEventFilter(this);
    QWidget::hide();
}

void CMessageTip::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::ToolTipBase));
    painter.setPen(Qt::black);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.setPen(palette().color(QPalette::ToolTipText));
    const QFontMetrics metrics(font());
    int y = marginTop + metrics.ascent();
    for (const QString& line : text.split(QLatin1Char('\n')))
    {
        // Tabs line up the label and value columns of the text.
        painter.drawText(QRect(marginLeft, y - metrics.ascent(), width(), metrics.height()),
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextExpandTabs, line);
        y += metrics.height();
    }
}

void CMessageTip::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != timer.timerId())
        return QWidget::timerEvent(event);
    if (!QApplication::activeWindow())
    {
        hideTip();
        return;
    }
    elapsedMs += timerPeriodMs;
    if (elapsedMs >= timeoutMs && !underMouse())
        hideTip();
}

bool CMessageTip::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type())
    {
    case QEvent::KeyPress:
    {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter)
            hideTip();
        break;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::NonClientAreaMouseButtonPress:
        hideTip();
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}
