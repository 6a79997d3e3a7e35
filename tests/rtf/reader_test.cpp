// What the corpus cannot hold (bytes outside ASCII, NUL) and the plain-text form.

#include "rtf/plain_text_sink.h"
#include "rtf/reader.h"
#include "rtf/trace_sink.h"

#include <gtest/gtest.h>

#include <ostream>

#include <string>

namespace {

using namespace std::string_literals;

struct TextCase {
    const char *name;
    std::string rtf;
    std::string text; // UTF-8
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const TextCase &c, std::ostream *out)
{
    *out << c.name;
}

class PlainTextTest : public testing::TestWithParam<TextCase> {};

TEST_P(PlainTextTest, Reads)
{
    EXPECT_EQ(rtf::PlainText(GetParam().rtf), GetParam().text);
}

const TextCase kTextCases[] = {
    // Raw bytes above ASCII decode by the font's character set, as \'hh would.
    {"RawBytesInCyrillicFont",
     "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0\\fcharset204 A;}{\\f1\\fcharset0 B;}}"
     "\\f0 \xc4\xe0 {\\f1 \xc4\xe0}\\par}",
     "Да Äà\n"},
    {"RawBytesAsFallback", "{\\rtf1\\ansi\\uc1 \\u1044\xc4x\\par}", "Дx\n"},
    {"NulAndControlBytesDropped",
     "{\\rtf1\\ansi a\0b\x01\x7f"
     "c\\par}"s,
     "abc\n"},
    {"NulInsideControlWord", "{\\rtf1\\ansi \\b\0x\\par}"s, "x\n"},
    {"CrLfIgnored", "{\\rtf1\\ansi a\r\nb\r\n\\par\r\n}", "ab\n"},
    // Table rows are lines, cells separated by tabs; inside a cell, breaks are spaces.
    {"TableRows",
     "{\\rtf1\\ansi x\\par\\trowd\\cellx1000\\cellx2000\\intbl a\\line b\\par c\\cell d\\cell\\row"
     "\\intbl e\\cell\\cell\\row\\pard y\\par}",
     "x\na b c\td\ne\t\ny\n"},
    {"Empty", "", ""},
    {"OnlyTheHeader", "{\\rtf1", ""},
    {"NotRtfAtAll", "plain words", "plain words\n"},
};

std::string textCaseName(const testing::TestParamInfo<TextCase> &info)
{
    return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(Bytes, PlainTextTest, testing::ValuesIn(kTextCases), textCaseName);

TEST(FontNames, DecodeByTheirCharacterSet)
{
    const std::string trace = rtf::Trace("{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0\\fcharset204 "
                                         "\xc0\xf0\\'e8\xe0\xeb;}}\\f0 x\\par}");
    EXPECT_NE(trace.find("f=\"Ариал\""), std::string::npos) << trace;
}

TEST(LooksLikeRtf, NeedsTheOpeningBraceAndWord)
{
    EXPECT_TRUE(rtf::LooksLikeRtf("{\\rtf1\\ansi"));
    EXPECT_TRUE(rtf::LooksLikeRtf("{\\rtf"));
    EXPECT_FALSE(rtf::LooksLikeRtf(" {\\rtf1"));
    EXPECT_FALSE(rtf::LooksLikeRtf("{\\rt"));
    EXPECT_FALSE(rtf::LooksLikeRtf("{\\RTF1"));
    EXPECT_FALSE(rtf::LooksLikeRtf(""));
}

} // namespace
