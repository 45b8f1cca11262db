#include "config/CCSVParse.h"

#include "TempFile.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
std::vector<std::string> fieldsOf(const std::string& text, const std::string& separators = ",")
{
    CCSVParse parser;
    parser.setSeparators(separators);
    parser.splitLine(text);
    std::vector<std::string> fields;
    for (int i = 0; i < parser.getFieldCount(); ++i)
        fields.push_back(parser.getField(i));
    return fields;
}

std::vector<std::string> linesOf(const std::string& content)
{
    TempFile file(content);
    CCSVParse parser;
    EXPECT_TRUE(parser.open(file.name(), ","));
    std::vector<std::string> lines;
    std::string line;
    while (parser.getLine(line))
        lines.push_back(line);
    lines.push_back(line);
    return lines;
}

using Fields = std::vector<std::string>;
}

TEST(CCSVParseTest, SplitsAtEverySeparatorKeepingEmptyFields)
{
    EXPECT_EQ(fieldsOf(""), Fields{});
    EXPECT_EQ(fieldsOf("a"), Fields{"a"});
    EXPECT_EQ(fieldsOf("a,"), (Fields{"a", ""}));
    EXPECT_EQ(fieldsOf(",a"), (Fields{"", "a"}));
    EXPECT_EQ(fieldsOf("a,,b"), (Fields{"a", "", "b"}));
    EXPECT_EQ(fieldsOf(" 1, 2 ,3"), (Fields{" 1", " 2 ", "3"}));
    EXPECT_EQ(fieldsOf("a;b,c", ";,"), (Fields{"a", "b", "c"}));
}

TEST(CCSVParseTest, QuotedFieldsKeepSeparatorsAndUndoubleQuotes)
{
    EXPECT_EQ(fieldsOf("\"a,b\",c"), (Fields{"a,b", "c"}));
    EXPECT_EQ(fieldsOf("\"say \"\"hi\"\"\""), Fields{"say \"hi\""});
    EXPECT_EQ(fieldsOf("\"\""), Fields{""});
    EXPECT_EQ(fieldsOf("\"\","), (Fields{"", ""}));
    // After the closing quote the rest up to the separator is taken as it stands.
    EXPECT_EQ(fieldsOf("\"ab\"cd,e"), (Fields{"abcd", "e"}));
    // An unclosed quote runs to the end of the line.
    EXPECT_EQ(fieldsOf("\"ab,cd"), Fields{"ab,cd"});
    EXPECT_EQ(fieldsOf("\""), Fields{""});
    // A quote inside a plain field is an ordinary character.
    EXPECT_EQ(fieldsOf("a\"b,c"), (Fields{"a\"b", "c"}));
}

TEST(CCSVParseTest, FieldsOutsideTheCurrentLineAreEmpty)
{
    CCSVParse parser;
    parser.splitLine("one,two,three");
    parser.splitLine("x");
    EXPECT_EQ(parser.getFieldCount(), 1);
    EXPECT_EQ(parser.getField(0), "x");
    // "two" is still held from the longer earlier line, but is not a field of this one.
    EXPECT_EQ(parser.getField(1), "");
    EXPECT_EQ(parser.getField(-1), "");
    parser.splitLine("");
    EXPECT_EQ(parser.getFieldCount(), 0);
    EXPECT_EQ(parser.getField(0), "");
}

TEST(CCSVParseTest, CrLfAndLoneCrOrLfEndLinesAlike)
{
    EXPECT_EQ(linesOf("a\nb\nc"), (Fields{"a", "b", "c"}));
    EXPECT_EQ(linesOf("a\r\nb\r\nc"), (Fields{"a", "b", "c"}));
    EXPECT_EQ(linesOf("a\rb\rc"), (Fields{"a", "b", "c"}));
    EXPECT_EQ(linesOf("a\r\rb\n\nc"), (Fields{"a", "", "b", "", "c"}));
    EXPECT_EQ(linesOf("a\n\r"), (Fields{"a", ""}));
}

TEST(CCSVParseTest, GetLineReportsTheEndAndThenDeliversEmptyLines)
{
    TempFile file("first,1\nlast,2");
    CCSVParse parser;
    ASSERT_TRUE(parser.open(file.name(), ","));
    std::string line;
    EXPECT_TRUE(parser.getLine(line));
    EXPECT_EQ(line, "first,1");
    EXPECT_FALSE(parser.getLine(line));
    EXPECT_EQ(line, "last,2");
    EXPECT_EQ(parser.getField(1), "2");
    EXPECT_FALSE(parser.getLine(line));
    EXPECT_EQ(line, "");
    EXPECT_EQ(parser.getFieldCount(), 0);
}

TEST(CCSVParseTest, FailedOpenKeepsTheSeparators)
{
    CCSVParse parser;
    parser.setSeparators(";");
    EXPECT_FALSE(parser.open("/nonexistent/folder/Roadflux.ini", ","));
    parser.splitLine("a,b;c");
    EXPECT_EQ(parser.getFieldCount(), 2);
    EXPECT_EQ(parser.getField(0), "a,b");
    std::string line = "unchanged";
    EXPECT_FALSE(parser.getLine(line));
    EXPECT_EQ(line, "");
}

TEST(CCSVParseTest, NulAndHighBytesAreOrdinaryCharacters)
{
    const std::string text("a\0b,\xff", 5);
    const Fields fields = fieldsOf(text);
    ASSERT_EQ(fields.size(), 2u);
    EXPECT_EQ(fields[0], std::string("a\0b", 3));
    EXPECT_EQ(fields[1], "\xff");
}
