#include "app/CStatusBar.h"

#include <QLabel>

namespace {
const char* const indicatorTexts[3] = {"CAP", "NUM", "SCRL"};
}

CStatusBar::CStatusBar(QWidget* parent) : QStatusBar(parent), restingText(idleText())
{
    setObjectName(QStringLiteral("statusBar"));
    setSizeGripEnabled(true);
    messagePane = new QLabel(restingText, this);
    messagePane->setObjectName(QStringLiteral("pane0"));
    messagePane->setMinimumWidth(1);
    // Prompts can name files; a label would take a name with tags for HTML.
    messagePane->setTextFormat(Qt::PlainText);
    addWidget(messagePane, 1);
    warpPane = new QLabel(this);
    warpPane->setObjectName(QStringLiteral("achievedWarp"));
    warpPane->setAlignment(Qt::AlignCenter);
    warpPane->setFrameShape(QFrame::StyledPanel);
    warpPane->setToolTip(QStringLiteral("Simulated seconds per real second: achieved of asked"));
    // Wide enough for the largest figures, so that the pane does not jump as they change.
    warpPane->setMinimumWidth(warpPane->fontMetrics().horizontalAdvance(QStringLiteral("Time warp 1000 of 1000")) + 12);
    addPermanentWidget(warpPane);
    warpPane->hide();
    for (int i = 0; i < 3; ++i)
    {
        QLabel* indicator = new QLabel(this);
        indicator->setObjectName(QString::fromLatin1(indicatorTexts[i]));
        indicator->setAlignment(Qt::AlignCenter);
        // The pane keeps the width of its text while the text is hidden.
        indicator->setMinimumWidth(indicator->fontMetrics().horizontalAdvance(QString::fromLatin1(indicatorTexts[i])) +
                                   8);
        indicator->setFrameShape(QFrame::StyledPanel);
        addPermanentWidget(indicator);
        indicators[i] = indicator;
    }
}

QLabel* CStatusBar::pane(int index) const
{
    if (index == 0)
        return messagePane;
    if (index >= 1 && index <= 3)
        return indicators[index - 1];
    return nullptr;
}

QRect CStatusBar::paneRect(int index) const
{
    const QLabel* label = pane(index);
    return label ? label->geometry() : QRect();
}

QString CStatusBar::paneText(int index) const
{
    const QLabel* label = pane(index);
    return label ? label->text() : QString();
}

void CStatusBar::setPaneText(int index, const QString& text)
{
    if (index == 0)
        restingText = text;
    if (QLabel* label = pane(index))
        label->setText(text);
}

void CStatusBar::showPrompt(const QString& prompt)
{
    messagePane->setText(prompt.isEmpty() ? restingText : prompt);
}

void CStatusBar::setIndicator(int index, bool on)
{
    if (index >= 1 && index <= 3)
        indicators[index - 1]->setText(on ? QString::fromLatin1(indicatorTexts[index - 1]) : QString());
}

bool CStatusBar::indicatorOn(int index) const
{
    return index >= 1 && index <= 3 && !indicators[index - 1]->text().isEmpty();
}

void CStatusBar::showAchievedWarp(double achieved, double asked)
{
    // Tenths matter only at a slow pace.
    auto figure = [](double warp) { return QString::number(warp, 'f', warp < 100.0 ? 1 : 0); };
    warpPane->setText(QStringLiteral("Time warp %1 of %2").arg(figure(achieved), figure(asked)));
    warpPane->show();
}

void CStatusBar::showPaused()
{
    warpPane->setText(QStringLiteral("Paused"));
    warpPane->show();
}

void CStatusBar::hideAchievedWarp()
{
    warpPane->hide();
    warpPane->clear();
}

QString CStatusBar::achievedWarpText() const
{
    return warpPane->isHidden() ? QString() : warpPane->text();
}
