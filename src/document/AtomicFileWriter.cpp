#include "document/AtomicFileWriter.h"

#include "document/FileKind.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <random>
#include <system_error>

#include <fcntl.h>
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
