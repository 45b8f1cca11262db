#pragma once
// The wall clock that paces visible runs, in milliseconds that wrap around like any 32-bit tick
// count. Tests put a clock of their own in its place.

#include <cstdint>

class CMillisecondClock
{
public:
    virtual ~CMillisecondClock() = default;
    virtual std::uint32_t now() const = 0;
};
