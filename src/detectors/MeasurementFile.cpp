#include "detectors/MeasurementFile.h"

#include "config/Trace.h"
#include "trafficfiles/LineWriter.h"

#include <charconv>
#include <cmath>
#include <filesystem>
#include <set>

namespace {

// Paths held open by measurement files: two detectors configured with the same file name would
// otherwise overwrite each other's lines in one file.
std::set<std::string>& pathsInUse()
{
    static std::set<std::string> paths;
    return paths;
}

std::string normalisedPath(const std::string& path)
{
    std::error_code error;
    std::filesystem::path absolute = std::filesystem::absolute(path, error);
    if (error)
        return path;
    return absolute.lexically_normal().string();
}

bool isSeparator(char c)
{
    return c == '/' || c == '\\';
}

}  // namespace

MeasurementFile::~MeasurementFile()
{
    close();
}

std::string MeasurementFile::pathInFolder(const std::string& folder, const std::string& fileName)
{
    if (folder.empty())
        return fileName;
    std::size_t end = folder.size();
    while (end > 0 && isSeparator(folder[end - 1]))
        --end;
    if (end == 0)
        return "/" + fileName;
    return folder.substr(0, end) + "/" + fileName;
}

void MeasurementFile::open(const std::string& filePath)
{
    close();
    givenPath = filePath;
    lost = false;
    std::string key = normalisedPath(filePath);
    if (pathsInUse().count(key) != 0)
    {
        debugTrace("Measurement file already in use, not written: %s\n", filePath.c_str());
        lost = true;
        return;
    }
    auto opened = std::make_unique<LineWriter>();
    if (!opened->open(filePath))
    {
        lost = true;
        return;
    }
    writer = std::move(opened);
    path = std::move(key);
    pathsInUse().insert(path);
    line.reserve(256);
}

void MeasurementFile::close()
{
    if (!writer)
        return;
    if (!writer->flush())
        lost = true;
    writer.reset();
    pathsInUse().erase(path);
    path.clear();
    line.clear();
}

bool MeasurementFile::hasLostLines() const
{
    return lost || (writer && writer->failed());
}

MeasurementFile& MeasurementFile::text(std::string_view cells)
{
    if (writer)
        line.append(cells);
    return *this;
}

MeasurementFile& MeasurementFile::integer(long long value)
{
    if (!writer)
        return *this;
    char buffer[24];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    line.append(buffer, result.ptr);
    return *this;
}

MeasurementFile& MeasurementFile::real(double value)
{
    return general(value, 6);
}

MeasurementFile& MeasurementFile::seconds(double value)
{
    int digits = 6;
    for (double whole = 1.0e4; digits < 17 && std::fabs(value) >= whole; whole *= 10.0)
        ++digits;
    return general(value, digits);
}

MeasurementFile& MeasurementFile::general(double value, int significantDigits)
{
    if (!writer || !std::isfinite(value))
        return *this;
    char buffer[32];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, significantDigits);
    line.append(buffer, result.ptr);
    return *this;
}

void MeasurementFile::endLine()
{
    if (!writer)
        return;
    writer->writeLine(line);
    line.clear();
}

void MeasurementFile::flush()
{
    if (writer && !writer->flush())
        lost = true;
}

namespace {
int flushHolds = 0;
}

void MeasurementFile::flushAtIntervalEnd()
{
    if (flushHolds == 0)
        flush();
}

MeasurementFile::HeldFlushes::HeldFlushes()
{
    ++flushHolds;
}

MeasurementFile::HeldFlushes::~HeldFlushes()
{
    --flushHolds;
}
