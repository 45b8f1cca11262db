#pragma once
// The files one command reads and writes, checked and claimed before it touches any of them.
// No output may be one of the command's inputs or another of its outputs, judged by the file
// itself (links and other names followed), not by its name; an output must be absent or a
// regular file. Claiming opens every output without emptying it and takes an advisory lock
// (flock) on it for as long as the claim lives, so that a second command writing the same file
// is refused instead of mixing its lines with the first one's. Writers then open their claimed
// files through openOutputStream() or AtomicFileWriter, never by name alone.

#include <optional>
#include <string>
#include <vector>

// The locks of one command's outputs, released when it is destroyed.
class FileClaim
{
public:
    FileClaim() = default;
    ~FileClaim();
    FileClaim(const FileClaim&) = delete;
    FileClaim& operator=(const FileClaim&) = delete;

    // The command will not happen: the files the claim created, still empty, are removed.
    void abandon();

    // A new descriptor of the claimed file at `path`, or -1 when no live claim holds it.
    static int duplicateClaimed(const std::string& path);

private:
    friend class FileClaims;
    struct Held
    {
        int descriptor;
        std::string path;
        bool created;
    };
    void hold(Held file);
    void release();
    std::vector<Held> held;
};

class FileClaims
{
public:
    // How an output is written: streamed into the claimed file (created empty by the claim when
    // missing), or replaced whole by an AtomicFileWriter (a missing file is only checked for).
    enum class Writing
    {
        streamed,
        replacedWhole,
    };

    // description: how messages name the file, e.g. "the study file". Empty paths are ignored.
    void addInput(const std::string& path, const std::string& description);
    void addOutput(const std::string& path, const std::string& description, Writing writing = Writing::streamed);
    // Everything `other` reads and writes, added to this command's files.
    void add(const FileClaims& other);

    // The first output that is an input or another output, or that is not absent or a regular
    // file, as a message naming both; nothing when there is none.
    std::optional<std::string> findConflict() const;

    // Checks, then opens and locks every output into `claim`; on failure the message, with the
    // claim abandoned (nothing created is left behind, nothing existing was emptied).
    std::optional<std::string> claim(FileClaim& claim) const;

    // Whether two paths name one file: the same file on disk, or, for files not yet there, the
    // same absolute path once links are resolved.
    static bool isSameFile(const std::string& first, const std::string& second);

private:
    struct Named
    {
        std::string path;
        std::string description;
        Writing writing = Writing::streamed;
    };
    static std::optional<std::string> claimOne(const Named& output, FileClaim& claim);

    std::vector<Named> inputs;
    std::vector<Named> outputs;
};
