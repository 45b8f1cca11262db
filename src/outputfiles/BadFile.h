#pragma once
// A file that cannot be read as what it should be: which file, which line (from 1; 0 for the
// file as a whole) and what is wrong. Every reader of the output files reports this way; the
// programs turn it into the message they show.

#include <cstddef>
#include <stdexcept>
#include <string>

class BadFile : public std::runtime_error
{
public:
    BadFile(std::string file, std::size_t line, std::string problem);

    const std::string& file() const { return fileName; }
    std::size_t line() const { return lineNumber; }
    const std::string& problem() const { return problemText; }

    // what(): "<file>, line <n>: <problem>", or "<file>: <problem>" for the whole file.

private:
    std::string fileName;
    std::size_t lineNumber = 0;
    std::string problemText;
};
