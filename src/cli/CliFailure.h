#pragma once
// A command that cannot do its job: the message names the file or option and what is wrong.
// The runner prints it and ends with a non-zero status.

#include <stdexcept>
#include <string>

class CliFailure : public std::runtime_error
{
public:
    // Exit statuses: bad input or files, and a command line that cannot be understood.
    static constexpr int failed = 1;
    static constexpr int usage = 2;
    // A run stopped by a signal ends with this plus the signal's number, as shells expect.
    static constexpr int stoppedBySignal = 128;

    explicit CliFailure(const std::string& message, int status = failed)
        : std::runtime_error(message), exitStatus(status)
    {
    }

    int getExitStatus() const { return exitStatus; }

private:
    int exitStatus;
};
