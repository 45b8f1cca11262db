#pragma once
// Writes a file so that it is either complete or not there at all: everything goes into a
// temporary file beside the target, which replaces the target only once it is whole. A failed
// write therefore never destroys the previous file. Through a symbolic link the linked file is
// replaced and the link kept; a target that is not a regular file (a device, a pipe, a folder)
// is refused.

#include <fstream>
#include <string>

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

    std::string targetPath;
    std::string temporaryPath;
    std::ofstream stream;
    std::string error;
    bool committed = false;
};
