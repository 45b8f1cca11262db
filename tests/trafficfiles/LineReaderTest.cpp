#include "trafficfiles/LineReader.h"

#include "TrafficFileFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using LineReaderTest = TrafficFileFixture;

std::vector<std::string> allLines(LineReader& reader)
{
    std::vector<std::string> lines;
    for (;;)
    {
        const std::string line(reader.nextLine());
        if (line.empty() && reader.atEnd())
            return lines;
        lines.push_back(line);
    }
}

TEST_F(LineReaderTest, LineFeedsCarriageReturnsAndBothEndLinesAlike)
{
    for (const char* end : {"\n", "\r\n", "\r"})
    {
        const std::string e(end);
        LineReader reader(writeFile("in", "one" + e + "two" + e + "three" + e));
        EXPECT_EQ(reader.lineCount(), 3) << "line end " << static_cast<int>(e.back());
        EXPECT_EQ(allLines(reader), (std::vector<std::string>{"one", "two", "three"}));
        EXPECT_EQ(reader.bytesRead(), static_cast<long long>(11 + 3 * e.size()));
    }
    // Mixed ends, an empty line in CR form and a last line without any end.
    LineReader mixed(writeFile("mixed", "a\r\rb\r\nc\nd"));
    EXPECT_EQ(mixed.lineCount(), 5);
    EXPECT_EQ(allLines(mixed), (std::vector<std::string>{"a", "", "b", "c", "d"}));
}

TEST_F(LineReaderTest, AByteOrderMarkIsReadPastSoThatTheFirstRecordIsKept)
{
    LineReader marked(writeFile("marked", "\xEF\xBB\xBF"
                                          "first\nsecond\n"));
    EXPECT_EQ(allLines(marked), (std::vector<std::string>{"first", "second"}));
    EXPECT_EQ(marked.bytesRead(), 16);
    LineReader onlyTheMark(writeFile("mark", "\xEF\xBB\xBF"));
    EXPECT_EQ(onlyTheMark.lineCount(), 0);
    EXPECT_TRUE(allLines(onlyTheMark).empty());

    LineReader wide(writeFile("wide", std::string("\xFF\xFE"
                                                  "1\0"
                                                  "0\0",
                                                  6)));
    EXPECT_FALSE(wide.isOpen());
    EXPECT_EQ(wide.error(), "UTF-16 text (byte-order mark): save it as UTF-8");
    EXPECT_EQ(wide.lineCount(), 0);
    EXPECT_TRUE(allLines(wide).empty());
}

TEST_F(LineReaderTest, ACarriageReturnAndItsLineFeedSplitByTheBufferAreOneLineEnd)
{
    // The reader's buffer holds 64 KiB: put the CR in its last byte and the LF in the next one.
    const std::string first(64 * 1024 - 1, 'x');
    LineReader reader(writeFile("in", first + "\r\nsecond\r\n"));
    EXPECT_EQ(reader.lineCount(), 2);
    const std::vector<std::string> lines = allLines(reader);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].size(), LineReader::maxLineLength);
    EXPECT_EQ(lines[1], "second");
}

TEST_F(LineReaderTest, AnEmptyLineIsToldFromTheEnd)
{
    LineReader reader(writeFile("in", "a\n\nb\n"));
    EXPECT_EQ(reader.nextLine(), "a");
    EXPECT_EQ(reader.nextLine(), "");
    EXPECT_FALSE(reader.atEnd());
    EXPECT_EQ(reader.nextLine(), "b");
    EXPECT_EQ(reader.nextLine(), "");
    EXPECT_TRUE(reader.atEnd());
    EXPECT_EQ(reader.bytesRead(), 5);
}

}  // namespace
