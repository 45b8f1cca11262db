#include "outputfiles/BadFile.h"

#include <utility>

namespace {
std::string message(const std::string& file, std::size_t line, const std::string& problem)
{
    if (line == 0)
        return file + ": " + problem;
    return file + ", line " + std::to_string(line) + ": " + problem;
}
}

BadFile::BadFile(std::string file, std::size_t line, std::string problem)
    : std::runtime_error(message(file, line, problem)), fileName(std::move(file)), lineNumber(line),
      problemText(std::move(problem))
{
}
