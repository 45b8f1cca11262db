#include "loadeffects/BridgesFile.h"

#include "files/AtomicFileWriter.h"

#include "loadeffects/BridgeFields.h"
#include "loadeffects/InfluenceLineFile.h"
#include "loadeffects/TextLines.h"

#include <array>
#include <filesystem>
#include <optional>
#include <ostream>
#include <set>
#include <utility>

namespace fs = std::filesystem;

namespace {
const std::array<const char*, 7> columnNames = {
    BridgeFields::name,       BridgeFields::start,    BridgeFields::span,       BridgeFields::effect,
    BridgeFields::directions, BridgeFields::interval, BridgeFields::laneFactors};
constexpr std::size_t requiredColumns = 6;  // all but lane_factors

class Reader
{
public:
    Reader(std::string filePath, BridgesFileResult& fileResult) : path(std::move(filePath)), result(fileResult) {}

    void run(const std::vector<std::string>& lines)
    {
        std::size_t i = 0;
        while (i < lines.size() && TextLines::isBlank(lines[i]))
            ++i;
        if (i == lines.size())
        {
            problem(0, "", "there is no header line (" + expectedHeader() + ")");
            return;
        }
        if (!readHeader(lines[i], i + 1))
            return;
        for (++i; i < lines.size(); ++i)
            if (!TextLines::isBlank(lines[i]))
                readBridge(lines[i], i + 1);
    }

    // Fields of a bridge that could not be read: their checks would only repeat the problem.
    std::set<std::pair<std::size_t, std::string>> unreadFields;

    void problem(std::size_t line, const std::string& field, const std::string& message)
    {
        if (!field.empty() && line > 0)
            unreadFields.emplace(result.set.bridges.size(), field);
        std::string text = path;
        if (line > 0)
            text += ": line " + std::to_string(line);
        if (!field.empty())
            text += ": " + field;
        result.problems.push_back(text + ": " + message);
    }

private:
    static std::string expectedHeader()
    {
        std::string text;
        for (std::size_t c = 0; c < requiredColumns; ++c)
            text += (c > 0 ? "," : "") + std::string(columnNames[c]);
        return text + "[," + BridgeFields::laneFactors + "]";
    }

    bool readHeader(const std::string& line, std::size_t lineNumber)
    {
        const std::vector<std::string> fields = TextLines::splitFields(line);
        const std::size_t before = result.problems.size();
        for (std::size_t f = 0; f < fields.size(); ++f)
        {
            std::size_t c = 0;
            while (c < columnNames.size() && fields[f] != columnNames[c])
                ++c;
            if (c == columnNames.size())
                problem(lineNumber, "",
                        "\"" + fields[f] + "\" is not a column of a bridges file (" + expectedHeader() + ")");
            else if (columnOf[c])
                problem(lineNumber, columnNames[c], "the column is named twice");
            else
                columnOf[c] = f;
        }
        for (std::size_t c = 0; c < requiredColumns; ++c)
            if (!columnOf[c])
                problem(lineNumber, columnNames[c], "the header line lacks this column (" + expectedHeader() + ")");
        columnCount = fields.size();
        return result.problems.size() == before;
    }

    void readBridge(const std::string& line, std::size_t lineNumber)
    {
        const std::vector<std::string> fields = TextLines::splitFields(line);
        if (fields.size() > columnCount)
        {
            problem(lineNumber, "",
                    "the line has " + std::to_string(fields.size()) + " fields, the header " +
                        std::to_string(columnCount));
            return;
        }
        auto field = [&](std::size_t c) -> std::string {
            return columnOf[c] && *columnOf[c] < fields.size() ? fields[*columnOf[c]] : std::string();
        };
        Bridge bridge;
        bridge.name = field(0);
        number(field(1), BridgeFields::start, lineNumber, bridge.start);
        number(field(2), BridgeFields::span, lineNumber, bridge.span);
        if (!BridgeFields::parseEffect(field(3), bridge.effect, bridge.influenceFile))
            problem(lineNumber, BridgeFields::effect,
                    "\"" + field(3) +
                        "\" is not midspan-moment, support-shear, continuous-support-moment or file:PATH");
        if (!BridgeFields::parseDirections(field(4), bridge.directions))
            problem(lineNumber, BridgeFields::directions, "\"" + field(4) + "\" is not 1, 2 or both");
        if (!field(5).empty())
            number(field(5), BridgeFields::interval, lineNumber, bridge.interval);
        std::string factorProblem;
        if (!BridgeFields::parseLaneFactors(field(6), bridge.laneFactors, factorProblem))
            problem(lineNumber, BridgeFields::laneFactors, factorProblem);
        result.set.bridges.push_back(std::move(bridge));
        result.lineOfBridge.push_back(lineNumber);
    }

    void number(const std::string& text, const char* fieldName, std::size_t lineNumber, double& value)
    {
        if (!BridgeFields::parseNumber(text, value))
            problem(lineNumber, fieldName, "\"" + text + "\" is not a number");
    }

    std::string path;
    BridgesFileResult& result;
    std::array<std::optional<std::size_t>, columnNames.size()> columnOf{};
    std::size_t columnCount = 0;
};

std::string folderOf(const std::string& path)
{
    return fs::path(path).parent_path().string();
}
}

namespace BridgesFile {
std::string besideStudy(const std::string& studyFile)
{
    return fs::path(studyFile).replace_extension(".bridges").string();
}

BridgesFileResult read(const std::string& path)
{
    BridgesFileResult result;
    Reader reader(path, result);
    std::vector<std::string> lines;
    if (!TextLines::read(path, lines))
    {
        reader.problem(0, "", "the bridges file cannot be read");
        return result;
    }
    reader.run(lines);
    std::vector<BridgeProblem> problems;
    for (BridgeProblem& problem : result.set.check())
        if (reader.unreadFields.count({problem.bridge, problem.field}) == 0)
            problems.push_back(std::move(problem));
    for (std::size_t i = 0; i < result.set.bridges.size(); ++i)
    {
        const Bridge& bridge = result.set.bridges[i];
        if (bridge.effect != BridgeEffect::influenceFile || !(bridge.span > 0.0) ||
            reader.unreadFields.count({i, BridgeFields::span}) > 0)
            continue;
        const InfluenceLineResult line = InfluenceLineFile::load(bridge, folderOf(path));
        if (!line.line)
            problems.push_back({i, BridgeFields::effect, line.problem});
    }
    for (std::string& text : describe(path, result, problems))
        result.problems.push_back(std::move(text));
    return result;
}

std::vector<std::string> describe(const std::string& path, const BridgesFileResult& file,
                                  const std::vector<BridgeProblem>& problems)
{
    std::vector<std::string> texts;
    for (const BridgeProblem& problem : problems)
    {
        const std::size_t line = problem.bridge < file.lineOfBridge.size() ? file.lineOfBridge[problem.bridge] : 0;
        texts.push_back(path + ": line " + std::to_string(line) + ": " + problem.field + ": " + problem.message);
    }
    return texts;
}

bool write(const std::string& path, const BridgeSet& set, const FileClaims& mustNotBe)
{
    FileClaims files = mustNotBe;
    files.addOutput(path, "the bridges file", FileClaims::Writing::replacedWhole);
    FileClaim claim;
    if (files.claim(claim))
        return false;
    bool withFactors = false;
    for (const Bridge& bridge : set.bridges)
        withFactors = withFactors || !bridge.laneFactors.empty();
    // Replaced whole, through a symbolic link the file it names (a bridges file shared by link).
    AtomicFileWriter writer(path);
    if (!writer.isOpen())
        return false;
    std::ostream& out = writer.out();
    for (std::size_t c = 0; c < (withFactors ? columnNames.size() : requiredColumns); ++c)
        out << (c > 0 ? "," : "") << columnNames[c];
    out << '\n';
    for (const Bridge& bridge : set.bridges)
    {
        out << bridge.name << ',' << BridgeFields::formatNumber(bridge.start) << ','
            << BridgeFields::formatNumber(bridge.span) << ',' << BridgeFields::formatEffect(bridge) << ','
            << BridgeFields::formatDirections(bridge.directions) << ',' << BridgeFields::formatNumber(bridge.interval);
        if (withFactors)
            out << ',' << BridgeFields::formatLaneFactors(bridge.laneFactors);
        out << '\n';
    }
    return writer.commit();
}
}
