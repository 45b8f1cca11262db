#pragma once
// Drives visible runs in the place of idle processing: while a view runs the study's simulation,
// a timer gives it a tick whenever its next step or repaint falls due, and sleeps in between, so
// that a slow run leaves the processor idle.

#include <QObject>
#include <QTimer>

#include <cstdint>

class CRunPacer : public QObject
{
    Q_OBJECT

public:
    static CRunPacer& instance();

    // A run started: ticking begins.
    void wake();
    // One tick for the view whose run is in progress; ends ticking when no run is left.
    void onIdle();
    std::uint64_t tickCount() const { return ticks; }

private:
    CRunPacer();

    QTimer timer;
    std::uint64_t ticks = 0;
};
