#pragma once
// The debug trace channel: diagnostics of states that should not occur. They never change a
// result. Lines go to stderr only when the environment variable ROADFLUX_TRACE is set.

// printf-style; the format supplies its own line ending.
void debugTrace(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Whether trace lines are written; lets callers skip building expensive arguments.
bool debugTraceEnabled();
