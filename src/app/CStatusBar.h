#pragma once
// The main window's status bar: the message pane (menu prompts, the idle text "Ready" and room for
// a progress bar), the time warp a visible run achieves while one goes on, and the "CAP", "NUM"
// and "SCRL" indicators.

#include <QStatusBar>
#include <QString>

class QLabel;

class CStatusBar : public QStatusBar
{
    Q_OBJECT

public:
    static constexpr int statusBarId = 59393;
    static constexpr int indicatorIds[3] = {59137, 59138, 59139};

    explicit CStatusBar(QWidget* parent = nullptr);

    static QString idleText() { return QStringLiteral("Ready"); }

    int paneCount() const { return 4; }
    // The pane's rectangle in the status bar's coordinates.
    QRect paneRect(int pane) const;
    QString paneText(int pane) const;
    // The text a pane shows while no menu prompt covers it.
    void setPaneText(int pane, const QString& text);
    // A menu or toolbar prompt over the message pane; "" puts the pane's own text back.
    void showPrompt(const QString& prompt);
    // Whether an indicator's lock is on: its text shows only then.
    void setIndicator(int pane, bool on);
    bool indicatorOn(int pane) const;
    // The warp pane, shown while a visible run goes on: achieved and asked simulated seconds per
    // real second.
    void showAchievedWarp(double achieved, double asked);
    // The same pane while the run is paused: a warp measured before the pause no longer holds.
    void showPaused();
    void hideAchievedWarp();
    // "" while the pane is hidden.
    QString achievedWarpText() const;

private:
    QLabel* pane(int index) const;

    QLabel* messagePane;
    QLabel* warpPane;
    QLabel* indicators[3];
    QString restingText;
};
