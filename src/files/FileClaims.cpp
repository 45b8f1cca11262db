#include "files/FileClaims.h"

#include "files/FileKind.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <mutex>
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

// Claims alive in this process, so that a writer opening a claimed file by its name gets the
// very file that was checked and locked, not whatever stands at the name by then.
std::mutex liveClaimsMutex;
std::vector<const FileClaim*> liveClaims;

// Opens an existing output for writing without emptying it, or creates it. O_NONBLOCK so that
// a pipe put there since the check cannot block the command, O_NOCTTY so that a terminal
// cannot become the program's.
int openWithoutEmptying(const std::string& path, bool& created)
{
    int descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
    created = descriptor >= 0;
    if (descriptor < 0 && errno == EEXIST)
        descriptor = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    return descriptor;
}

// A link whose target is missing would have the output created wherever it points.
bool isDanglingLink(const std::string& path)
{
    std::error_code error;
    return fs::is_symlink(fs::symlink_status(path, error)) && !fs::exists(path, error);
}
}

FileClaim::~FileClaim()
{
    release();
}

void FileClaim::hold(Held file)
{
    const std::lock_guard<std::mutex> lock(liveClaimsMutex);
    if (held.empty())
        liveClaims.push_back(this);
    held.push_back(std::move(file));
}

void FileClaim::release()
{
    const std::lock_guard<std::mutex> lock(liveClaimsMutex);
    for (const Held& file : held)
        ::close(file.descriptor);
    held.clear();
    liveClaims.erase(std::remove(liveClaims.begin(), liveClaims.end(), this), liveClaims.end());
}

void FileClaim::abandon()
{
    for (const Held& file : held)
        if (file.created)
            ::unlink(file.path.c_str());
    release();
}

int FileClaim::duplicateClaimed(const std::string& path)
{
    const std::lock_guard<std::mutex> lock(liveClaimsMutex);
    for (const FileClaim* claim : liveClaims)
        for (const Held& file : claim->held)
            if (FileClaims::isSameFile(file.path, path))
                return ::fcntl(file.descriptor, F_DUPFD_CLOEXEC, 0);
    return -1;
}

void FileClaims::addInput(const std::string& path, const std::string& description)
{
    if (!path.empty())
        inputs.push_back(Named{path, description});
}

void FileClaims::addOutput(const std::string& path, const std::string& description, Writing writing)
{
    if (!path.empty())
        outputs.push_back(Named{path, description, writing});
}

void FileClaims::add(const FileClaims& other)
{
    inputs.insert(inputs.end(), other.inputs.begin(), other.inputs.end());
    outputs.insert(outputs.end(), other.outputs.begin(), other.outputs.end());
}

bool FileClaims::isSameFile(const std::string& first, const std::string& second)
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

std::optional<std::string> FileClaims::findConflict() const
{
    for (std::size_t i = 0; i < outputs.size(); ++i)
    {
        const Named& output = outputs[i];
        for (const Named& input : inputs)
            if (isSameFile(output.path, input.path))
                return capitalised(output.description) + " must not be " + input.description + " (" + output.path + ")";
        for (std::size_t j = 0; j < i; ++j)
            if (isSameFile(output.path, outputs[j].path))
                return capitalised(output.description) + " must not be " + outputs[j].description + " (" + output.path +
                       ")";
        const FileKind kind = fileKindOf(output.path);
        if (kind != FileKind::missing && kind != FileKind::regular)
            return capitalised(output.description) + " cannot be written (" + output.path + ": " +
                   describeFileKind(kind) + ", not a regular file)";
        if (isDanglingLink(output.path))
            return capitalised(output.description) + " cannot be written (" + output.path +
                   ": a symbolic link to a file that does not exist)";
    }
    return std::nullopt;
}

std::optional<std::string> FileClaims::claim(FileClaim& claim) const
{
    if (auto conflict = findConflict())
        return conflict;
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

std::optional<std::string> FileClaims::claimOne(const Named& output, FileClaim& claim)
{
    const FileKind kind = fileKindOf(output.path);
    // A file replaced whole appears only when complete: nothing is created for it in advance,
    // so an interrupted command leaves no empty file behind.
    if (kind == FileKind::missing && output.writing == Writing::replacedWhole)
    {
        fs::path folder = fs::path(output.path).parent_path();
        if (folder.empty())
            folder = ".";
        if (::access(folder.c_str(), W_OK | X_OK) != 0)
            return capitalised(output.description) + " cannot be created (" + output.path + ": " +
                   std::strerror(errno) + ")";
        return std::nullopt;
    }
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
    // Something other than a file may have been put there since the check.
    if (fileKindOf(descriptor) != FileKind::regular)
    {
        ::close(descriptor);
        return capitalised(output.description) + " cannot be written (" + output.path + ": not a regular file)";
    }
    claim.hold(FileClaim::Held{descriptor, output.path, created});
    // A file system without locks (some network ones) cannot tell; the command goes on unlocked.
    if (::flock(descriptor, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK)
        return capitalised(output.description) + " is being written by another run (" + output.path + ")";
    return std::nullopt;
}
