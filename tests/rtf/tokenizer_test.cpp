#include "rtf/tokenizer.h"

#include <gtest/gtest.h>

#include <ostream>

#include <string>

namespace {

// The token stream in a compact form: { } \word \wordN \'hh \<symbol> "text" bin(N).
std::string tokens(std::string_view input)
{
    rtf::Tokenizer tokenizer(input);
    std::string out;
    for (;;) {
        const rtf::Token token = tokenizer.next();
        if (token.kind == rtf::TokenKind::End)
            break;
        if (!out.empty())
            out += ' ';
        switch (token.kind) {
        case rtf::TokenKind::GroupStart:
            out += '{';
            break;
        case rtf::TokenKind::GroupEnd:
            out += '}';
            break;
        case rtf::TokenKind::ControlWord:
            out += '\\' + std::string(token.text);
            if (token.hasParameter)
                out += std::to_string(token.parameter);
            break;
        case rtf::TokenKind::ControlSymbol:
            out += '\\';
            out += token.symbol;
            break;
        case rtf::TokenKind::HexByte: {
            static const char digits[] = "0123456789abcdef";
            out += "\\'";
            out += digits[token.byte >> 4];
            out += digits[token.byte & 15];
            break;
        }
        case rtf::TokenKind::Text:
            out += '"' + std::string(token.text) + '"';
            break;
        case rtf::TokenKind::Binary:
            out += "bin(" + std::to_string(token.text.size()) + ")";
            break;
        case rtf::TokenKind::End:
            break;
        }
    }
    return out;
}

struct Case {
    const char *name;
    std::string input;
    std::string expected;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const Case &c, std::ostream *out)
{
    *out << c.name;
}

class TokenizerTest : public testing::TestWithParam<Case> {};

TEST_P(TokenizerTest, Splits)
{
    EXPECT_EQ(tokens(GetParam().input), GetParam().expected);
}

const Case kCases[] = {
    {"WordsAndParameters", R"({\rtf1\b\fs-20 x})", R"({ \rtf1 \b \fs-20 "x" })"},
    // One space after a word belongs to it; the next one is text.
    {"DelimitingSpace", R"(\b  two\i0 x)", R"(\b " two" \i0 "x")"},
    {"MinusWithoutDigitIsText", R"(\b- x)", R"(\b "- x")"},
    {"DigitsEndAtNonDigit", R"(\sl288\slmult1;)", R"(\sl288 \slmult1 ";")"},
    {"HexEscape", R"(\'cf\'F0x)", R"(\'cf \'f0 "x")"},
    // A broken escape drops the backslash and quote, and reading goes on with what follows.
    {"BrokenHexEscape", R"(\'zzq\'4)", R"("zzq" "4")"},
    {"HexEscapeAtEnd", R"(\')", ""},
    {"Symbols", R"(\~\-\_\*\\\{\}\|)", R"(\~ \- \_ \* \\ \{ \} \|)"},
    {"BackslashNewlineIsPar", "a\\\r\nb\\\nc", R"("a" \par "b" \par "c")"},
    {"LineEndsAndNulDropped", std::string("a\r\nb\0c\x01", 7), R"("a" "b" "c")"},
    {"TabByteIsTabWord", "a\tb", R"("a" \tab "b")"},
    {"HighBytesAreText", "\xcf\xf0{", "\"\xcf\xf0\" {"},
    {"TrailingBackslash", "ab\\", R"("ab")"},
    // Longer than any word the format allows: consumed whole, named nothing.
    {"OverlongWord", "\\" + std::string(40, 'a') + "5 x", R"(\5 "x")"},
    {"LongestWord", "\\" + std::string(32, 'a'), "\\" + std::string(32, 'a') + ""},
    {"ParameterSaturates", R"(\fs99999999999999999999 \li-99999999999999999999 )",
     R"(\fs2147483647 \li-2147483648)"},
    {"ManyDigitsConsumed", "\\f" + std::string(1000, '7') + "x", R"(\f2147483647 "x")"},
    // Binary data may contain braces and backslashes; a count past the end takes what is left.
    {"Binary", R"({\bin3 {}\x})", R"({ bin(3) "x" })"},
    {"BinaryPastEnd", R"({\bin100 ab)", R"({ bin(2))"},
    {"BinaryWithoutCountIsAWord", R"(\bin x)", R"(\bin "x")"},
    {"NegativeBinaryCount", R"(\bin-5 x)", R"(\bin-5 "x")"},
};

std::string caseName(const testing::TestParamInfo<Case> &info)
{
    return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(Tokens, TokenizerTest, testing::ValuesIn(kCases), caseName);

} // namespace
