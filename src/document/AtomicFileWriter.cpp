#include "document/AtomicFileWriter.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <random>
#include <system_error>

namespace fs = std::filesystem;

namespace
{
// A name of its own for each writer, so that two programs saving the same file at once do not
// write into each other's temporary file.
std::string temporaryNameBeside(const std::string& target)
{
    std::random_device entropy;
    return target + ".tmp" + std::to_string(entropy() % 1000000u);
}
}

AtomicFileWriter::AtomicFileWriter(std::string target)
    : targetPath(std::move(target)), temporaryPath(temporaryNameBeside(targetPath))
{
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
    if (!written || stream.fail()) {
        error = "the data could not be written";
        discard();
        return false;
    }
    std::error_code renameError;
    fs::rename(temporaryPath, targetPath, renameError);
    if (renameError) {
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
    fs::remove(temporaryPath, ignored);
}
