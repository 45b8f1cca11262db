#include "trafficfiles/ColumnWriter.h"

#include <cmath>

ColumnWriter::ColumnWriter(std::string& text, std::size_t columns, char fillCharacter)
    : out(text), columnsLeft(columns), fill(fillCharacter)
{
    out.resize(columns * widestColumn);
    at = out.data();
}

void ColumnWriter::makeRoom()
{
    const auto used = static_cast<std::size_t>(at - out.data());
    columnsLeft = 16;
    out.resize(used + columnsLeft * widestColumn);
    at = out.data() + used;
}

void ColumnWriter::general(double value, std::size_t width)
{
    char text[widestColumn];
    const char* const end = std::to_chars(text, text + sizeof text, value, std::chars_format::general, 6).ptr;
    put(text, end, width, std::isfinite(value));
}
