#pragma once
// Formats the columns of one record straight into a string: each value right-aligned in at
// least its column's width, written whole when it needs more room. Room for the record is
// made up front, so formatting costs no allocation once the string has grown.

#include <charconv>
#include <cstddef>
#include <string>

class ColumnWriter
{
public:
    // Replaces the text of `out` with the columns written; `columns` is how many there will be
    // (more still work, at the cost of growing the string).
    ColumnWriter(std::string& out, std::size_t columns, char fill);
    // Trims `out` to the text written.
    ~ColumnWriter() { out.resize(static_cast<std::size_t>(at - out.data())); }
    ColumnWriter(const ColumnWriter&) = delete;
    ColumnWriter& operator=(const ColumnWriter&) = delete;

    // Widths are at most a few characters. With '0' fill the zeros go after a minus sign, as
    // printf's "%05d" does.
    void integer(long long value, std::size_t width)
    {
        char text[widestColumn];
        const char* const end = std::to_chars(text, text + sizeof text, value).ptr;
        put(text, end, width, true);
    }

    // printf's "%g": six significant digits without trailing zeros, so a whole number prints
    // without a point; independent of the locale. Infinities and NaN are filled with blanks.
    void general(double value, std::size_t width);

private:
    // The longest text one column can take: a 64-bit integer or a "%g" real with its sign.
    static constexpr std::size_t widestColumn = 24;

    void makeRoom();

    // Columns are a few characters long: plain loops beat calls to memset and memmove here.
    void put(const char* text, const char* end, std::size_t width, bool zeroFillable)
    {
        if (columnsLeft == 0)
            makeRoom();
        --columnsLeft;
        const auto length = static_cast<std::size_t>(end - text);
        std::size_t padding = width > length ? width - length : 0;
        if (fill == '0' && zeroFillable)
        {
            if (text != end && *text == '-')
                *at++ = *text++;
            for (; padding != 0; --padding)
                *at++ = '0';
        }
        else
        {
            for (; padding != 0; --padding)
                *at++ = fill == '0' ? ' ' : fill;
        }
        while (text != end)
            *at++ = *text++;
    }

    std::string& out;
    char* at;
    std::size_t columnsLeft;
    char fill;
};
