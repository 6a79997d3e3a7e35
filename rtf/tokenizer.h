#pragma once

// Splits RTF bytes into tokens. Any byte sequence is accepted; the tokenizer never fails and
// takes time linear in the input.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace rtf {

// Longest control word name the format allows; longer ones are consumed whole and reported
// with an empty name, so they match no known word and none of their letters shows as text.
inline constexpr std::size_t kMaxControlWordLength = 32;

enum class TokenKind : std::uint8_t {
    End,
    GroupStart,    // {
    GroupEnd,      // }
    ControlWord,   // \name or \nameN: name, hasParameter, parameter
    ControlSymbol, // \ and one other character: symbol
    HexByte,       // \'hh: byte
    Text,          // a run of bytes without braces, backslashes and control characters: text
    Binary,        // the data of \binN, N bytes or what is left of the input: text
};

struct Token {
    TokenKind kind = TokenKind::End;
    bool hasParameter = false;
    char symbol = 0;
    std::uint8_t byte = 0;
    std::int32_t parameter = 0; // saturated to the 32-bit range
    std::string_view text;
};

class Tokenizer final {
public:
    // The bytes must outlive the tokenizer; tokens point into them.
    explicit Tokenizer(std::string_view data)
        : m_data(data)
    {
    }

    // Line ends, NUL and other control bytes are dropped between tokens, as the format says;
    // a TAB byte comes back as the control word "tab", a backslash before a line end as "par".
    Token next();

    std::size_t position() const { return m_pos; }

private:
    Token controlWord();

    std::string_view m_data;
    std::size_t m_pos = 0;
};

} // namespace rtf
