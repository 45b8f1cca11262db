// Splits arbitrary bytes as one line: fields never hold more characters than the line, a
// non-empty line has at least one field, and the number readings stay finite.

#include "config/CCSVParse.h"
#include "config/LeadingNumber.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // The first byte picks the separators, so that other separator sets are covered too.
    static const char* const separatorSets[] = {",", ";", ",;\t", "\""};
    std::string separators = ",";
    if (size > 0)
    {
        separators = separatorSets[data[0] % 4];
        ++data;
        --size;
    }
    const std::string line(reinterpret_cast<const char*>(data), size);

    CCSVParse parser;
    parser.setSeparators(separators);
    parser.splitLine(line);
    const int count = parser.getFieldCount();
    if (line.empty() != (count == 0))
        std::abort();
    std::size_t characters = 0;
    for (int i = 0; i < count; ++i)
    {
        const std::string field = parser.getField(i);
        characters += field.size();
        if (!std::isfinite(prefixReal(field)))
            std::abort();
        prefixInteger(field);
    }
    if (characters > line.size() || !parser.getField(count).empty() || !parser.getField(-1).empty())
        std::abort();
    // A shorter line after a longer one must not show the left-over fields.
    parser.splitLine("x");
    if (parser.getFieldCount() != 1 || parser.getField(0) != "x" || !parser.getField(1).empty())
        std::abort();
    if (!std::isfinite(leadingReal(line)))
        std::abort();
    leadingInteger(line);
    return 0;
}
