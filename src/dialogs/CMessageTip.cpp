#include "dialogs/CMessageTip.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QTimerEvent>

namespace {
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

CMessageTip::Layout CMessageTip::Layout::of(const QString& text, const QFontMetrics& metrics)
{
    Layout layout;
    int labelWidth = 0;
    int wholeWidth = 0;
    int valueWidth = 0;
    for (const QString& line : text.split(QLatin1Char('\n')))
    {
        Line parted;
        const qsizetype tab = line.indexOf(QLatin1Char('\t'));
        parted.hasValue = tab >= 0;
        // The spaces and further tabs around the first tab only padded the label for tab stops.
        parted.label = parted.hasValue ? line.left(tab).trimmed() : line;
        parted.value = parted.hasValue ? line.mid(tab + 1).trimmed() : QString();
        const int width = metrics.horizontalAdvance(parted.label);
        if (parted.hasValue)
        {
            labelWidth = std::max(labelWidth, width);
            valueWidth = std::max(valueWidth, metrics.horizontalAdvance(parted.value));
        }
        else
            wholeWidth = std::max(wholeWidth, width);
        layout.lines.append(parted);
    }
    layout.valueX = labelWidth + metrics.horizontalAdvance(QStringLiteral("  "));
    const int width = std::max(wholeWidth, labelWidth > 0 || valueWidth > 0 ? layout.valueX + valueWidth : 0);
    layout.textSize = QSize(width, metrics.height() * static_cast<int>(layout.lines.size()));
    return layout;
}

void CMessageTip::showTip(const QRect& target, const QString& tipText)
{
    if (!owner)
        return;
    text = tipText;
    layout = Layout::of(text, QFontMetrics(font()));
    const QSize size(layout.textSize.width() + marginLeft + marginRight,
                     layout.textSize.height() + marginTop + marginBottom);
    resize(size);
    move(placeOnScreen(target, size));
    QWidget::show();
    update();
    qApp->installEventFilter(this);
    elapsedMs = 0;
    timer.start(timerPeriodMs, this);
}

QPoint CMessageTip::placeOnScreen(const QRect& target, QSize tipSize) const
{
    QPoint corner = owner->mapToGlobal(target.topLeft() - QPoint(6, 0));
    const QScreen* screen = owner->screen();
    if (!screen)
        return corner;
    const QRect room = screen->availableGeometry();
    // Too far right: it moves left. Too low: it goes above the target, or to the bottom edge.
    corner.setX(std::max(room.left(), std::min(corner.x(), room.right() + 1 - tipSize.width())));
    if (corner.y() + tipSize.height() > room.bottom() + 1)
    {
        const int above = owner->mapToGlobal(target.topLeft()).y() - tipSize.height();
        corner.setY(above >= room.top() ? above : room.bottom() + 1 - tipSize.height());
    }
    corner.setY(std::max(corner.y(), room.top()));
    return corner;
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
    int y = marginTop;
    for (const Layout::Line& line : layout.lines)
    {
        const QRect row(marginLeft, y, width() - marginLeft, metrics.height());
        painter.drawText(row, Qt::AlignLeft | Qt::AlignTop, line.label);
        if (line.hasValue)
            painter.drawText(row.adjusted(layout.valueX, 0, 0, 0), Qt::AlignLeft | Qt::AlignTop, line.value);
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
    case QEvent::NonClientAreaMouseButtonPress: hideTip(); break;
    default: break;
    }
    return QWidget::eventFilter(watched, event);
}
