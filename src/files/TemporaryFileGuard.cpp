#include "files/TemporaryFileGuard.h"

#include <array>
#include <climits>
#include <csignal>
#include <cstring>

#include <signal.h>
#include <unistd.h>

namespace {
constexpr std::array<int, 3> guardedSignals{SIGINT, SIGTERM, SIGHUP};

// Written before the handlers are installed and only read by them.
char guardedPath[PATH_MAX + 1];
std::array<struct sigaction, guardedSignals.size()> previousActions;

extern "C" void removeAndEnd(int signalNumber)
{
    if (guardedPath[0] != '\0')
        ::unlink(guardedPath);
    ::signal(signalNumber, SIG_DFL);
    ::raise(signalNumber);
}
}

TemporaryFileGuard::TemporaryFileGuard(const std::string& temporaryPath)
{
    guardedPath[0] = '\0';
    if (temporaryPath.size() <= PATH_MAX)
        std::memcpy(guardedPath, temporaryPath.c_str(), temporaryPath.size() + 1);
    struct sigaction action
    {
    };
    action.sa_handler = removeAndEnd;
    sigemptyset(&action.sa_mask);
    for (std::size_t i = 0; i < guardedSignals.size(); ++i)
    {
        ::sigaction(guardedSignals[i], nullptr, &previousActions[i]);
        // A signal the caller chose to ignore (nohup) stays ignored.
        if (previousActions[i].sa_handler != SIG_IGN)
            ::sigaction(guardedSignals[i], &action, nullptr);
    }
}

TemporaryFileGuard::~TemporaryFileGuard()
{
    for (std::size_t i = 0; i < guardedSignals.size(); ++i)
        ::sigaction(guardedSignals[i], &previousActions[i], nullptr);
    guardedPath[0] = '\0';
}
