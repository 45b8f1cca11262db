#include "files/AtomicFileWriter.h"

#include "files/FileClaims.h"
#include "files/FileKind.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <random>
#include <system_error>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {
// A new file of its own for each writer, so that two programs saving the same file at once do
// not write into each other's temporary file, and no file that happens to bear the name is
// overwritten. "" when none can be created.
std::string createTemporaryBeside(const std::string& target)
{
    std::random_device entropy;
    for (int attempt = 0; attempt < 100; ++attempt)
    {
        std::string name = target + ".tmp" + std::to_string(entropy() % 1000000u);
        const int descriptor = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor >= 0)
        {
            ::close(descriptor);
            return name;
        }
        if (errno != EEXIST)
            break;
    }
    return {};
}

// Through a symbolic link to the file it names: renaming over the link itself would replace the
// link with a file and leave its target stale.
std::string fileBehindLinks(const std::string& path)
{
    std::error_code error;
    if (!fs::is_symlink(path, error))
        return path;
    const fs::path target = fs::weakly_canonical(path, error);
    return error ? path : target.string();
}
}

AtomicFileWriter::AtomicFileWriter(std::string target) : targetPath(fileBehindLinks(target))
{
    // A device, a pipe or a folder is never replaced by a file (as root, /dev/null could be).
    if (auto problem = whyNotReplaceable(targetPath))
    {
        error = *problem;
        return;
    }
    std::error_code linkError;
    if (fs::is_symlink(fs::symlink_status(targetPath, linkError)))
    {
        error = "a symbolic link to a file that does not exist";
        return;
    }
    if (auto problem = lockTarget())
    {
        error = *problem;
        return;
    }
    temporaryPath = createTemporaryBeside(targetPath);
    if (!temporaryPath.empty())
        stream.open(temporaryPath, std::ios::binary | std::ios::trunc);
    if (!stream.is_open())
        error = std::strerror(errno);
}

AtomicFileWriter::~AtomicFileWriter()
{
    if (!committed)
        discard();
    if (targetLock >= 0)
        ::close(targetLock);
}

// A file that exists is replaced only if it could be written in place: a rename would otherwise
// replace a file its owner made read-only, or one another program is writing. The lock is the
// command's own when it claimed the file already.
std::optional<std::string> AtomicFileWriter::lockTarget()
{
    if (fileKindOf(targetPath) != FileKind::regular)
        return std::nullopt;
    targetLock = FileClaim::duplicateClaimed(targetPath);
    if (targetLock >= 0)
        return std::nullopt;
    targetLock = ::open(targetPath.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (targetLock < 0)
        return std::string(std::strerror(errno));
    if (::flock(targetLock, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK)
        return std::string("it is being written by another program");
    return std::nullopt;
}

bool AtomicFileWriter::commit()
{
    if (!stream.is_open())
        return false;
    stream.flush();
    const bool written = static_cast<bool>(stream);
    stream.close();
    if (!written || stream.fail())
    {
        error = "the data could not be written";
        discard();
        return false;
    }
    std::error_code renameError;
    fs::rename(temporaryPath, targetPath, renameError);
    if (renameError)
    {
        error = renameError.message();
        discard();
        return false;
    }
    committed = true;
    return true;
}

void AtomicFileWriter::discard()
{
    if (stream.is_open())
        stream.close();
    std::error_code ignored;
    if (!temporaryPath.empty())
        fs::remove(temporaryPath, ignored);
}

std::optional<std::string> writeFileAtomically(const std::string& path, std::string_view content)
{
    AtomicFileWriter writer(path);
    if (!writer.isOpen())
        return writer.getError();
    writer.out().write(content.data(), static_cast<std::streamsize>(content.size()));
    if (!writer.commit())
        return writer.getError();
    return std::nullopt;
}

std::optional<std::string> createFileAtomically(const std::string& path, std::string_view content)
{
    const std::string temporary = createTemporaryBeside(path);
    if (temporary.empty())
        return std::string(std::strerror(errno));
    std::optional<std::string> problem;
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(content.data(), static_cast<std::streamsize>(content.size()));
        out.close();
        if (!out)
            problem = "the data could not be written";
    }
    // A hard link fails when the name is taken: nothing there is ever replaced.
    if (!problem && ::link(temporary.c_str(), path.c_str()) != 0)
        problem = errno == EEXIST ? std::string("the file exists already") : std::string(std::strerror(errno));
    ::unlink(temporary.c_str());
    return problem;
}

void removeCreatedFiles(const std::vector<std::string>& paths)
{
    for (const std::string& path : paths)
        ::unlink(path.c_str());
}
