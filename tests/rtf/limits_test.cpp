// Pathological inputs against the reader's hard limits. Each must finish quickly (the bounds
// are generous: sanitizer builds run them too) and keep the promises a sink relies on.

#include "contract_sink.h"

#include "rtf/plain_text_sink.h"
#include "rtf/reader.h"
#include "rtf/tokenizer.h"

#include <gtest/gtest.h>

#include <ostream>

#include <chrono>
#include <functional>
#include <string>

namespace {

std::string repeat(std::string_view piece, std::size_t times)
{
    std::string out;
    out.reserve(piece.size() * times);
    for (std::size_t i = 0; i < times; ++i)
        out += piece;
    return out;
}

struct Outcome {
    rtf_test::ContractSink contract;
    std::string text;
    double seconds = 0;
};

Outcome readTimed(const std::string &input)
{
    Outcome outcome;
    const auto start = std::chrono::steady_clock::now();
    rtf::Read(input, outcome.contract);
    outcome.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    outcome.text = rtf::PlainText(input);
    return outcome;
}

// Inputs are a few megabytes; a linear reader takes milliseconds even with sanitizers, a
// quadratic one minutes.
constexpr double kSecondsAllowed = 5.0;

struct LimitCase {
    const char *name;
    std::function<std::string()> input;
    std::function<void(const Outcome &)> check;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const LimitCase &c, std::ostream *out)
{
    *out << c.name;
}

class Limits : public testing::TestWithParam<LimitCase> {};

TEST_P(Limits, HoldQuickly)
{
    const Outcome outcome = readTimed(GetParam().input());
    EXPECT_LT(outcome.seconds, kSecondsAllowed);
    EXPECT_EQ(outcome.contract.violation(), "");
    EXPECT_TRUE(outcome.contract.ended());
    GetParam().check(outcome);
}

const std::size_t kMillion = 1000000;

const LimitCase kCases[] = {
    {"DeepNestingKeepsText",
     [] {
         return "{\\rtf1 " + repeat("{", kMillion) + "deep" + repeat("}", kMillion)
                + " after\\par}";
     },
     [](const Outcome &o) { EXPECT_EQ(o.text, "deep after\n"); }},
    // Formatting inside groups nested past the limit would have no group to end it: dropped.
    {"FormattingBeyondTheDepthLimitIsDropped",
     [] {
         const std::size_t depth = rtf::kMaxGroupDepth + 10;
         return "{\\rtf1{\\fonttbl{\\f0\\fcharset204 A;}}" + repeat("{", depth) + "\\b\\f0\\u1044?x"
                + repeat("}", depth) + "y\\par}";
     },
     [](const Outcome &o) { EXPECT_EQ(o.text, "Дxy\n"); }},
    {"DestinationBeyondTheDepthLimitIsSkipped",
     [] {
         const std::size_t depth = rtf::kMaxGroupDepth + 10;
         return "{\\rtf1 " + repeat("{", depth) + "a{\\*\\secret hidden{{}}}b{\\info c}d"
                + repeat("}", depth) + "e\\par}";
     },
     [](const Outcome &o) { EXPECT_EQ(o.text, "abde\n"); }},
    {"UnclosedGroupsAtTheEnd", [] { return "{\\rtf1 " + repeat("{\\b x", kMillion); },
     [](const Outcome &o) { EXPECT_EQ(o.text, repeat("x", kMillion) + "\n"); }},
    {"StrayClosingBraces", [] { return repeat("}", kMillion) + "{\\rtf1 a\\par}"; },
     [](const Outcome &o) { EXPECT_EQ(o.text, "a\n"); }},
    {"EndlessControlWord", [] { return "{\\rtf1 \\" + repeat("b", 4 * kMillion) + " x\\par}"; },
     [](const Outcome &o) { EXPECT_EQ(o.text, "x\n"); }},
    {"EndlessParameter", [] { return "{\\rtf1 \\fs" + repeat("9", 4 * kMillion) + " x\\par}"; },
     [](const Outcome &o) { EXPECT_EQ(o.text, "x\n"); }},
    {"AbsurdParameters",
     [] {
         return std::string(
             "{\\rtf1 \\fi-2147483648\\li2147483647\\sl-2147483648\\fs2147483647\\expnd2147483647"
             "\\tx2147483647\\cellx-2147483648\\trleft2147483647\\clbrdrt\\brdrw2147483647"
             "\\cellx99\\u2147483647?\\u-2147483648?\\uc-5\\u1044 x\\intbl y\\cell\\row}");
     },
     [](const Outcome &o) { EXPECT_EQ(o.text, "\xEF\xBF\xBD\xEF\xBF\xBD\xD0\x94xy\t\n"); }},
    {"CellsPerRow",
     [] {
         return "{\\rtf1 " + repeat("\\cellx100", 1000) + repeat("\\intbl x\\cell", 100000)
                + "\\row}";
     },
     [](const Outcome &o) {
         EXPECT_EQ(o.contract.maxCellsInRow(), rtf::kMaxCellsPerRow);
         EXPECT_EQ(o.contract.characters(), 100000u); // no text lost to the limit
     }},
    {"ManyRows",
     [] { return "{\\rtf1 \\trowd\\cellx1000" + repeat("\\intbl x\\cell\\row", 200000) + "}"; },
     [](const Outcome &o) { EXPECT_EQ(o.contract.rows(), 200000u); }},
    {"TabStops",
     [] {
         std::string stops;
         for (int i = 1; i <= 1000; ++i)
             stops += "\\tqc\\tx" + std::to_string(i * 10);
         return "{\\rtf1 " + stops + "a\\par}";
     },
     [](const Outcome &o) { EXPECT_EQ(o.contract.maxTabStops(), rtf::kMaxTabStops); }},
    // Each group copies the paragraph state, tab stops included: still linear.
    {"GroupsWithFullTabStops",
     [] {
         std::string stops;
         for (std::size_t i = 1; i <= rtf::kMaxTabStops; ++i)
             stops += "\\tx" + std::to_string(i * 10);
         return "{\\rtf1 " + stops + repeat("{a}", kMillion) + "\\par}";
     },
     [](const Outcome &o) { EXPECT_EQ(o.contract.characters(), kMillion); }},
    {"ManyFonts",
     [] {
         std::string fonts;
         for (int i = 0; i < 100000; ++i)
             fonts += "{\\f" + std::to_string(i) + "\\fcharset204 F" + std::to_string(i) + ";}";
         return "{\\rtf1 {\\fonttbl" + fonts + "}\\f99999 \\'e0\\f5 \\'e0\\par}";
     },
     // Font 99999 is past the limit: the document code page (1252) applies to it.
     [](const Outcome &o) { EXPECT_EQ(o.text, "\xC3\xA0\xD0\xB0\n"); }},
    {"EndlessFontName",
     [] { return "{\\rtf1 {\\fonttbl{\\f0 " + repeat("N", 4 * kMillion) + ";}}\\f0 x\\par}"; },
     [](const Outcome &o) { EXPECT_EQ(o.text, "x\n"); }},
    {"ManyColors",
     [] { return "{\\rtf1 {\\colortbl" + repeat("\\red1;", 100000) + "}\\cf99999 x\\par}"; },
     [](const Outcome &o) { EXPECT_EQ(o.text, "x\n"); }},
    {"BinaryCountPastTheEnd", [] { return "{\\rtf1 a\\bin2147483647 " + repeat("}", 1000); },
     [](const Outcome &o) { EXPECT_EQ(o.text, "a\n"); }},
    {"EndlessFallback",
     [] { return "{\\rtf1 \\uc2147483647\\u1044 " + repeat("x\\par", kMillion) + "}y\\par}"; },
     [](const Outcome &o) { EXPECT_EQ(o.text, "Д\n"); }},
    {"HugeParagraph", [] { return "{\\rtf1 " + repeat("\\'e0a", kMillion) + "\\par}"; },
     [](const Outcome &o) { EXPECT_EQ(o.contract.characters(), 2 * kMillion); }},
    {"FormatChangeOnEveryCharacter",
     [] { return "{\\rtf1 " + repeat("\\b a\\b0 b", kMillion / 2) + "\\par}"; },
     [](const Outcome &o) { EXPECT_EQ(o.contract.characters(), kMillion); }},
    {"OnlyBackslashes", [] { return "{\\rtf1 " + repeat("\\", 4 * kMillion); },
     [](const Outcome &o) { EXPECT_EQ(o.text, repeat("\\", 2 * kMillion) + "\n"); }},
};

std::string caseName(const testing::TestParamInfo<LimitCase> &info)
{
    return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(Pathological, Limits, testing::ValuesIn(kCases), caseName);

TEST(TokenizerLimits, OverlongWordIsConsumedWhole)
{
    const std::string input = "\\" + repeat("a", rtf::kMaxControlWordLength + 1) + "12 x";
    rtf::Tokenizer tokenizer(input);
    const rtf::Token word = tokenizer.next();
    EXPECT_EQ(word.kind, rtf::TokenKind::ControlWord);
    EXPECT_TRUE(word.text.empty());
    EXPECT_EQ(word.parameter, 12);
    EXPECT_EQ(tokenizer.next().text, "x");
}

} // namespace
