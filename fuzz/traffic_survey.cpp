// Surveys arbitrary bytes as a TALVOR, VORK or DoRIV input (the first byte picks the format):
// the survey must neither crash nor hang, must count no more usable vehicles than records, and
// must count every line the line reader gives, whatever mix of CR and LF ends them, and read
// every byte of a file it opens.

#include "ScratchFile.h"
#include "document/TrafficFileSurvey.h"
#include "trafficfiles/LineReader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const char* name = ScratchFile::holding(data + 1, size - 1);
    if (name == nullptr)
        return 0;

    const std::uint16_t format = static_cast<std::uint16_t>(100 + data[0] % 3);
    const TrafficFileSurvey survey(name, format, LaneMapping{2, 2, 2, 2});
    if (survey.getUsableVehicles() > survey.getRecords())
        std::abort();
    (void)survey.report();

    LineReader reader(name);
    long long lines = 0;
    while (!(reader.nextLine().empty() && reader.atEnd()))
        ++lines;
    // Text in another encoding (a UTF-16 byte-order mark) is not read at all.
    const long long expectedBytes = reader.isOpen() ? static_cast<long long>(size - 1) : 0;
    if (lines != reader.lineCount() || reader.bytesRead() != expectedBytes)
        std::abort();
    return 0;
}
