#include "config/Trace.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

bool debugTraceEnabled()
{
    static const bool enabled = std::getenv("ROADFLUX_TRACE") != nullptr;
    return enabled;
}

void debugTrace(const char* format, ...)
{
    if (!debugTraceEnabled())
        return;
    va_list args;
    va_start(args, format);
    std::vfprintf(stderr, format, args);
    va_end(args);
}
