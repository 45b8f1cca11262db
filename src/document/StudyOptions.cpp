#include "document/StudyOptions.h"

#include "files/AtomicFileWriter.h"
#include "files/InputFile.h"

#include <filesystem>
#include <string_view>

namespace {
// A hand-written settings file is a few lines; anything far larger is not one.
constexpr std::size_t largestOptionsFileBytes = 64 * 1024;
const char* const releaseOrderKey = "release-order";

std::string_view trimmed(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    const std::size_t last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}
}

namespace StudyOptionsFile {
std::string besideStudy(const std::string& studyFile)
{
    return std::filesystem::path(studyFile).replace_extension(".options").string();
}

StudyOptionsFileResult read(const std::string& path)
{
    StudyOptionsFileResult result;
    std::string content;
    if (const std::optional<std::string> reason = readTextFile(path, content, largestOptionsFileBytes))
    {
        result.problems.push_back(path + ": the options file cannot be read (" + *reason + ")");
        return result;
    }
    const std::string expected = std::string(releaseOrderKey) + " = " + releaseOrderChoices;
    std::size_t releaseOrderLine = 0;
    std::size_t lineNumber = 0;
    for (std::size_t start = 0; start < content.size(); ++lineNumber)
    {
        std::size_t end = content.find('\n', start);
        if (end == std::string::npos)
            end = content.size();
        const std::string_view line = trimmed(std::string_view(content).substr(start, end - start));
        start = end + 1;
        if (line.empty() || line.front() == '#')
            continue;
        const std::string where = path + ": line " + std::to_string(lineNumber + 1) + ": ";
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos)
        {
            result.problems.push_back(where + "not a line of the form key = value (" + expected + ")");
            continue;
        }
        const std::string_view key = trimmed(line.substr(0, equals));
        const std::string_view value = trimmed(line.substr(equals + 1));
        if (key != releaseOrderKey)
        {
            result.problems.push_back(where + "\"" + std::string(key) + "\" is not a setting of the options file (" +
                                      expected + ")");
            continue;
        }
        if (releaseOrderLine > 0)
        {
            result.problems.push_back(where + releaseOrderKey + " is given again (first on line " +
                                      std::to_string(releaseOrderLine) + ")");
            continue;
        }
        releaseOrderLine = lineNumber + 1;
        if (const std::optional<ReleaseOrder> order = releaseOrderNamed(value))
            result.options.releaseOrder = *order;
        else
            result.problems.push_back(where + releaseOrderKey + ": \"" + std::string(value) +
                                      "\" is not a release order; it is " + releaseOrderChoices);
    }
    return result;
}

std::string text(const StudyOptions& options)
{
    return std::string("# Release order: ") + releaseOrderChoices + "\n" + releaseOrderKey + " = " +
           releaseOrderName(options.releaseOrder) + "\n";
}

std::optional<std::string> write(const std::string& path, const StudyOptions& options, const FileClaims& mustNotBe)
{
    FileClaims files = mustNotBe;
    files.addOutput(path, "the options file", FileClaims::Writing::replacedWhole);
    FileClaim claim;
    if (std::optional<std::string> problem = files.claim(claim))
        return problem;
    return writeFileAtomically(path, text(options));
}
}
