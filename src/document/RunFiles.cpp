#include "document/RunFiles.h"

#include "document/FileKind.h"

#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {
std::string capitalised(std::string text)
{
    if (!text.empty())
        text.front() = static_cast<char>(std::toupper(static_cast<unsigned char>(text.front())));
    return text;
}

// Opens an existing output for writing without emptying it, or creates it; O_NONBLOCK so that a
// pipe put there since the check cannot block the run.
int openWithoutEmptying(const std::string& path, bool& created)
{
    int descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    created = descriptor >= 0;
    if (descriptor < 0 && errno == EEXIST)
        descriptor = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    return descriptor;
}
}

RunFileClaim::~RunFileClaim()
{
    release();
}

void RunFileClaim::release()
{
    for (const Held& file : held)
        ::close(file.descriptor);
    held.clear();
}

void RunFileClaim::abandon()
{
    for (const Held& file : held)
        if (file.created)
            ::unlink(file.path.c_str());
    release();
}

void RunFiles::addInput(const std::string& path, const std::string& description)
{
    if (!path.empty())
        inputs.push_back(Named{path, description});
}

void RunFiles::addOutput(const std::string& path, const std::string& description)
{
    outputs.push_back(Named{path, description});
}

bool RunFiles::isSameFile(const std::string& first, const std::string& second)
{
    std::error_code error;
    if (fs::equivalent(first, second, error))
        return true;
    const fs::path a = fs::weakly_canonical(fs::absolute(first, error), error);
    if (error)
        return false;
    const fs::path b = fs::weakly_canonical(fs::absolute(second, error), error);
    return !error && a.lexically_normal() == b.lexically_normal();
}

std::optional<std::string> RunFiles::findConflict() const
{
    for (std::size_t i = 0; i < outputs.size(); ++i)
    {
        const Named& output = outputs[i];
        for (const Named& input : inputs)
            if (isSameFile(output.path, input.path))
                return capitalised(output.description) + " must not be " + input.description;
        for (std::size_t j = 0; j < i; ++j)
            if (isSameFile(output.path, outputs[j].path))
                return capitalised(output.description) + " must not be " + outputs[j].description;
    }
    return std::nullopt;
}

std::optional<std::string> RunFiles::claim(RunFileClaim& claim) const
{
    for (const Named& output : outputs)
    {
        if (auto problem = claimOne(output, claim))
        {
            claim.abandon();
            return problem;
        }
    }
    return std::nullopt;
}

std::optional<std::string> RunFiles::claimOne(const Named& output, RunFileClaim& claim)
{
    const FileKind kind = fileKindOf(output.path);
    if (kind == FileKind::characterDevice)
    {
        // Written as it is (/dev/null) and not locked; one that refuses writers (a terminal
        // that is not there) is told now rather than after the run.
        const int device = ::open(output.path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
        if (device < 0)
            return capitalised(output.description) + " cannot be written (" + output.path + ": " +
                   std::strerror(errno) + ")";
        ::close(device);
        return std::nullopt;
    }
    if (kind != FileKind::missing && kind != FileKind::regular)
        return capitalised(output.description) + " cannot be created (" + output.path + ": " + describeFileKind(kind) +
               ")";
    bool created = false;
    const int descriptor = openWithoutEmptying(output.path, created);
    if (descriptor < 0)
    {
        const std::string reason = std::strerror(errno);
        if (kind == FileKind::regular)
            return capitalised(output.description) + " cannot be written (" + output.path + ": " + reason +
                   "); it still holds an earlier run's content";
        return capitalised(output.description) + " cannot be created (" + output.path + ": " + reason + ")";
    }
    claim.held.push_back(RunFileClaim::Held{descriptor, output.path, created});
    // A file system without locks (some network ones) cannot tell; the run goes on unlocked.
    if (::flock(descriptor, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK)
        return capitalised(output.description) + " is being written by another run (" + output.path + ")";
    return std::nullopt;
}
