#pragma once
// Where the file and folder names stored in a study point on disk. Relative names are taken from
// the study file's folder (a study never saved: the current directory), so that a study and its
// traffic files can be moved together and every front end finds the same files.

#include <filesystem>
#include <string>

class StudyPaths
{
public:
    // studyFile: the study's own path, or "" for a study never saved.
    explicit StudyPaths(const std::string& studyFile);

    // The folder relative names are taken from, ending with '/'; "" means the current directory.
    const std::string& getBaseFolder() const { return baseFolder; }

    // A stored file name as a path to open; "" stays "" (no file chosen).
    std::string resolveFile(const std::string& storedName) const;

    // A stored folder name as a path ending with '/'; "" is the base folder itself.
    std::string resolveFolder(const std::string& storedName) const;

    // The name to store for a path the user gave relative to the current directory: relative
    // to the study's folder when it lies below or beside it, otherwise absolute.
    std::string nameToStore(const std::string& givenPath) const;

    // A stored name as the study saved at destination must store it to name the same file or
    // folder: relative to the new folder where a relative name can reach it, otherwise absolute.
    // Absolute names, "" and names whose folder does not change are kept as they are.
    std::string relocate(const std::string& storedName, const StudyPaths& destination) const;

    // A path as the user should see it in a message: absolute and without "." or "..".
    static std::string fullPath(const std::string& path);

private:
    std::filesystem::path absoluteBase() const;
    // target (absolute) as stored from this study: relative to its folder when possible.
    std::string nameFromBase(const std::filesystem::path& target, bool folder) const;

    std::string baseFolder;
};
