#pragma once
// When the steps of a visible run fall due on the wall clock: one every step length ÷ time warp,
// kept in fractions of a millisecond so that a high warp makes several steps in one millisecond
// of a clock that counts whole milliseconds.

#include <cstdint>

class CStepSchedule
{
public:
    // The first step falls due one interval after nowMs.
    void start(std::uint32_t nowMs, double intervalMs);
    // A new pace: the next step falls due one new interval after the last one made.
    void setInterval(double intervalMs);
    double getInterval() const { return interval; }

    // A step is due once the clock is past its time.
    bool isDue(std::uint32_t nowMs) const;
    // The due step was made: the next falls due one interval later.
    void advance();
    // Steps overdue by more than allowanceMs were missed while the program was busy elsewhere:
    // the schedule moves past them in whole intervals, keeping the latest of them due.
    void dropOverdue(std::uint32_t nowMs, double allowanceMs);
    // Whole milliseconds until the next step is due; 0 when it is due now.
    std::uint32_t msUntilDue(std::uint32_t nowMs) const;

private:
    double msSinceAnchor(std::uint32_t nowMs) const;
    // Keeps the anchor near the due time, so that the wrapping clock and the real stay exact.
    void reanchor();

    std::uint32_t anchorMs = 0;
    double dueMs = 0.0;     // the next step's time, ms after anchorMs
    double interval = 1.0;  // ms
};
