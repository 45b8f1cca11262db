#include "document/StudyPaths.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {
// Studies written on Windows separate folders with backslashes; a backslash is almost never
// part of a real file name here, so treat it as a separator.
std::string withForwardSlashes(std::string name)
{
    std::replace(name.begin(), name.end(), '\\', '/');
    return name;
}

std::string withTrailingSlash(std::string folder)
{
    if (!folder.empty() && folder.back() != '/')
        folder += '/';
    return folder;
}

bool isFolderName(const std::string& name)
{
    return !name.empty() && (name.back() == '/' || name.back() == '\\');
}

fs::path absoluteFromCurrentDirectory(const fs::path& path)
{
    std::error_code error;
    fs::path absolute = fs::absolute(path, error);
    return error ? path : absolute.lexically_normal();
}
}

StudyPaths::StudyPaths(const std::string& studyFile)
{
    if (studyFile.empty())
        return;
    fs::path folder = fs::path(studyFile).parent_path();
    baseFolder = folder.empty() ? std::string() : withTrailingSlash(folder.generic_string());
}

std::string StudyPaths::resolveFile(const std::string& storedName) const
{
    if (storedName.empty())
        return storedName;
    std::string name = withForwardSlashes(storedName);
    if (fs::path(name).is_absolute())
        return name;
    return baseFolder + name;
}

std::string StudyPaths::resolveFolder(const std::string& storedName) const
{
    if (storedName.empty())
        return baseFolder;
    return withTrailingSlash(resolveFile(storedName));
}

std::string StudyPaths::nameToStore(const std::string& givenPath) const
{
    if (givenPath.empty())
        return givenPath;
    fs::path given(withForwardSlashes(givenPath));
    if (given.is_absolute())
        return given.generic_string();
    return nameFromBase(absoluteFromCurrentDirectory(given), isFolderName(givenPath));
}

std::string StudyPaths::relocate(const std::string& storedName, const StudyPaths& destination) const
{
    if (storedName.empty() || fs::path(withForwardSlashes(storedName)).is_absolute())
        return storedName;
    if (absoluteBase() == destination.absoluteBase())
        return storedName;
    const fs::path target = absoluteFromCurrentDirectory(resolveFile(storedName));
    return destination.nameFromBase(target, isFolderName(storedName));
}

std::string StudyPaths::fullPath(const std::string& path)
{
    return absoluteFromCurrentDirectory(withForwardSlashes(path)).generic_string();
}

fs::path StudyPaths::absoluteBase() const
{
    return absoluteFromCurrentDirectory(baseFolder.empty() ? fs::path(".") : fs::path(baseFolder));
}

std::string StudyPaths::nameFromBase(const fs::path& target, bool folder) const
{
    const fs::path relative = target.lexically_relative(absoluteBase());
    std::string stored = relative.empty() ? target.generic_string() : relative.generic_string();
    // Keep a folder's trailing separator, which lexically_relative drops.
    return folder ? withTrailingSlash(stored) : stored;
}
