#pragma once
// The files a run reads and writes, checked and claimed before the run touches any of them. No
// output may be one of the run's inputs (the study, the configuration, the input traffic file)
// or another of its outputs; none may be a folder, a pipe or a socket; each must be creatable.
// Claiming opens every output without emptying it and takes an advisory lock (flock) on it for
// as long as the claim lives, so that a second run writing the same file is refused instead of
// interleaving its lines with the first run's. Devices (/dev/null) are written but not locked.

#include <optional>
#include <string>
#include <vector>

// The locks of one run's outputs, released when it is destroyed.
class RunFileClaim
{
public:
    RunFileClaim() = default;
    ~RunFileClaim();
    RunFileClaim(const RunFileClaim&) = delete;
    RunFileClaim& operator=(const RunFileClaim&) = delete;

    // The run will not happen: the files the claim created, still empty, are removed.
    void abandon();

private:
    friend class RunFiles;
    struct Held
    {
        int descriptor;
        std::string path;
        bool created;
    };
    void release();
    std::vector<Held> held;
};

class RunFiles
{
public:
    // description: how messages name the file, e.g. "the study file".
    void addInput(const std::string& path, const std::string& description);
    void addOutput(const std::string& path, const std::string& description);

    // The first output that is an input or another output, or is no regular file, as a message;
    // nothing when there is none.
    std::optional<std::string> findConflict() const;

    // Opens and locks every output into `claim`; on failure the message, with the claim
    // abandoned (nothing created is left behind, nothing existing was emptied).
    std::optional<std::string> claim(RunFileClaim& claim) const;

    // Whether two paths name one file: the same file on disk, or, for files not yet there, the
    // same absolute path once links are resolved.
    static bool isSameFile(const std::string& first, const std::string& second);

private:
    struct Named
    {
        std::string path;
        std::string description;
    };
    static std::optional<std::string> claimOne(const Named& output, RunFileClaim& claim);

    std::vector<Named> inputs;
    std::vector<Named> outputs;
};
