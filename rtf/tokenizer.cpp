#include "tokenizer.h"

#include <algorithm>
#include <array>
#include <limits>

namespace rtf {
namespace {

enum ByteClass : std::uint8_t { kText, kSpecial, kIgnored, kTab };

constexpr std::array<std::uint8_t, 256> makeClasses()
{
    std::array<std::uint8_t, 256> classes{};
    for (int c = 0; c < 0x20; ++c)
        classes[c] = kIgnored;
    classes['\t'] = kTab;
    classes['\\'] = kSpecial;
    classes['{'] = kSpecial;
    classes['}'] = kSpecial;
    return classes;
}

constexpr std::array<std::uint8_t, 256> kClasses = makeClasses();

bool isLetter(unsigned char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isDigit(unsigned char c)
{
    return c >= '0' && c <= '9';
}

int hexValue(unsigned char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

Token kindToken(TokenKind kind)
{
    Token token;
    token.kind = kind;
    return token;
}

Token wordToken(std::string_view name, bool hasParameter = false, std::int32_t parameter = 0)
{
    Token token;
    token.kind = TokenKind::ControlWord;
    token.text = name;
    token.hasParameter = hasParameter;
    token.parameter = parameter;
    return token;
}

} // namespace

Token Tokenizer::next()
{
    const std::size_t size = m_data.size();
    const auto *bytes = reinterpret_cast<const unsigned char *>(m_data.data());
    while (m_pos < size) {
        const unsigned char c = bytes[m_pos];
        switch (kClasses[c]) {
        case kIgnored:
            ++m_pos;
            continue;
        case kTab:
            ++m_pos;
            return wordToken("tab");
        case kText: {
            const std::size_t start = m_pos;
            while (m_pos < size && kClasses[bytes[m_pos]] == kText)
                ++m_pos;
            Token token;
            token.kind = TokenKind::Text;
            token.text = m_data.substr(start, m_pos - start);
            return token;
        }
        default:
            break;
        }
        ++m_pos;
        if (c == '{')
            return kindToken(TokenKind::GroupStart);
        if (c == '}')
            return kindToken(TokenKind::GroupEnd);

        // A backslash.
        if (m_pos >= size)
            break;
        const unsigned char d = bytes[m_pos];
        if (isLetter(d))
            return controlWord();
        if (d == '\'') {
            const int high = m_pos + 1 < size ? hexValue(bytes[m_pos + 1]) : -1;
            const int low = m_pos + 2 < size ? hexValue(bytes[m_pos + 2]) : -1;
            if (high < 0 || low < 0) {
                // Not an escape after all: drop the "\'" and read on from the next byte.
                ++m_pos;
                continue;
            }
            m_pos += 3;
            Token token;
            token.kind = TokenKind::HexByte;
            token.byte = static_cast<std::uint8_t>(high * 16 + low);
            return token;
        }
        ++m_pos;
        if (d == '\r' || d == '\n')
            return wordToken("par");
        Token token;
        token.kind = TokenKind::ControlSymbol;
        token.symbol = static_cast<char>(d);
        return token;
    }
    return Token{};
}

Token Tokenizer::controlWord()
{
    const std::size_t size = m_data.size();
    const auto *bytes = reinterpret_cast<const unsigned char *>(m_data.data());

    const std::size_t start = m_pos;
    while (m_pos < size && isLetter(bytes[m_pos]))
        ++m_pos;
    std::string_view name = m_data.substr(start, m_pos - start);
    if (name.size() > kMaxControlWordLength)
        name = {};

    bool hasParameter = false;
    bool negative = false;
    if (m_pos < size && bytes[m_pos] == '-' && m_pos + 1 < size && isDigit(bytes[m_pos + 1])) {
        negative = true;
        ++m_pos;
    }
    // Every digit is consumed, however many there are; the value saturates instead of
    // overflowing.
    std::int64_t value = 0;
    constexpr std::int64_t kSaturation = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    while (m_pos < size && isDigit(bytes[m_pos])) {
        hasParameter = true;
        if (value < kSaturation)
            value = value * 10 + (bytes[m_pos] - '0');
        ++m_pos;
    }
    if (value > kSaturation)
        value = kSaturation;
    if (negative)
        value = -value;
    else if (value > std::numeric_limits<std::int32_t>::max())
        value = std::numeric_limits<std::int32_t>::max();
    if (m_pos < size && bytes[m_pos] == ' ')
        ++m_pos; // the delimiting space belongs to the word

    Token token = wordToken(name, hasParameter, static_cast<std::int32_t>(value));
    if (name == "bin" && hasParameter && value > 0) {
        // Binary data may hold any byte, braces included: step over it unread.
        const std::size_t length =
            std::min<std::size_t>(static_cast<std::size_t>(value), size - m_pos);
        token.kind = TokenKind::Binary;
        token.text = m_data.substr(m_pos, length);
        m_pos += length;
    }
    return token;
}

} // namespace rtf
