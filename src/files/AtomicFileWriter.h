#pragma once
// Writes a file so that it is either complete or not there at all: everything goes into a
// temporary file beside the target, which replaces the target only once it is whole. A failed
// write therefore never destroys the previous file. Through a symbolic link the linked file is
// replaced and the link kept; a target that is not a regular file (a device, a pipe, a folder),
// a dangling link, a file that cannot be written in place and one another program has locked
// are refused.

#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class AtomicFileWriter
{
public:
    explicit AtomicFileWriter(std::string targetPath);
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;
    // Without a successful commit the temporary file is removed and the target left alone.
    ~AtomicFileWriter();

    // False when the temporary file could not be created or the target may not be replaced.
    bool isOpen() const { return stream.is_open(); }
    // Where the data goes until commit(): to remove should the program be stopped.
    const std::string& getTemporaryPath() const { return temporaryPath; }
    std::ostream& out() { return stream; }

    // Closes the temporary file and moves it over the target; false if any write failed.
    bool commit();

    // Why the last step failed, for a message; "" when nothing failed.
    const std::string& getError() const { return error; }

private:
    void discard();
    std::optional<std::string> lockTarget();

    std::string targetPath;
    std::string temporaryPath;
    std::ofstream stream;
    std::string error;
    bool committed = false;
    int targetLock = -1;
};

// Writes `content` as the whole of the file at `path` through an AtomicFileWriter; the reason
// when it could not.
std::optional<std::string> writeFileAtomically(const std::string& path, std::string_view content);

// Writes `content` as a new file at `path`, whole or not at all, never replacing a file that is
// there (or appears meanwhile); the reason when it could not.
std::optional<std::string> createFileAtomically(const std::string& path, std::string_view content);

// Removes files this command created itself and must take back (half an example, say).
void removeCreatedFiles(const std::vector<std::string>& paths);
