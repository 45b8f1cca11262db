#pragma once
// Removes a temporary file when the program is interrupted (SIGINT, SIGTERM, SIGHUP) before the
// file is complete, then ends the program by that signal as it would have ended anyway. A
// traffic file being generated can be hundreds of MB, under a new name at each attempt.

#include <string>

class TemporaryFileGuard
{
public:
    // One guard at a time; the path is copied for the signal handler.
    explicit TemporaryFileGuard(const std::string& temporaryPath);
    // Restores the previous handling of the signals.
    ~TemporaryFileGuard();
    TemporaryFileGuard(const TemporaryFileGuard&) = delete;
    TemporaryFileGuard& operator=(const TemporaryFileGuard&) = delete;
};
