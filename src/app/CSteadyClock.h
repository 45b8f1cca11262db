#pragma once
// The program's wall clock: a monotonic millisecond count that system time changes do not move.

#include "app/CMillisecondClock.h"

class CSteadyClock : public CMillisecondClock
{
public:
    std::uint32_t now() const override;
    static CSteadyClock& instance();
};
