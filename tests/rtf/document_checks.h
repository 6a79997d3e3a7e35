#pragma once

// What must hold for the text the viewer shows of each document under documents/, shared by
// the reader's tests and the viewer's. Independent of the reader: it scans the RTF and the
// documents' sources with simple means of its own.

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace document_checks {

struct Document {
    int number = 0;
    std::filesystem::path rtf;
    std::filesystem::path source; // DOC_n.txt, the editable source the RTF is generated from
};

// Every DOC_n.rtf present in `folder`, by number.
inline std::vector<Document> PresentDocuments(const std::filesystem::path &folder)
{
    std::vector<Document> documents;
    std::error_code error;
    for (const auto &entry : std::filesystem::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        if (name.size() < 9 || name.rfind("DOC_", 0) != 0 || name.substr(name.size() - 4) != ".rtf")
            continue;
        const std::string digits = name.substr(4, name.size() - 8);
        if (digits.empty() || !std::all_of(digits.begin(), digits.end(), [](char c) {
                return c >= '0' && c <= '9';
            }))
            continue;
        Document document;
        document.number = std::stoi(digits);
        document.rtf = entry.path();
        document.source = folder / ("DOC_" + digits + ".txt");
        documents.push_back(document);
    }
    std::sort(documents.begin(), documents.end(),
              [](const Document &a, const Document &b) { return a.number < b.number; });
    return documents;
}

inline std::string ReadFile(const std::filesystem::path &path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

// Question marks the document's text really has: those of its source outside comment lines.
inline std::size_t QuestionMarksInSource(std::string_view source)
{
    std::size_t count = 0;
    bool lineStart = true;
    bool comment = false;
    for (const char c : source) {
        if (lineStart)
            comment = c == '#';
        lineStart = c == '\n';
        if (c == '?' && !comment)
            ++count;
    }
    return count;
}

// The texts of every group of the RTF that starts with `\word` (after an optional `\*`),
// nested groups included: the bytes outside control words, split at ';' and braces, trimmed.
// Escapes (\'hh, \uN) are dropped rather than decoded.
inline std::vector<std::string> GroupTexts(std::string_view rtf, std::string_view word)
{
    std::vector<std::string> texts;
    const std::string opening = "\\" + std::string(word);
    std::size_t from = 0;
    while ((from = rtf.find(opening, from)) != std::string_view::npos) {
        const std::size_t at = from;
        from += opening.size();
        if (from < rtf.size() && std::isalpha(static_cast<unsigned char>(rtf[from])))
            continue; // a longer word
        std::size_t start = rtf.rfind('{', at);
        if (start == std::string_view::npos
            || (rtf.substr(start, at - start) != "{" && rtf.substr(start, at - start) != "{\\*"))
            continue;
        int depth = 0;
        std::string current;
        auto flush = [&] {
            const auto first = current.find_first_not_of(' ');
            const auto last = current.find_last_not_of(' ');
            if (first != std::string::npos)
                texts.push_back(current.substr(first, last - first + 1));
            current.clear();
        };
        for (std::size_t i = start; i < rtf.size(); ++i) {
            const char c = rtf[i];
            if (c == '{') {
                ++depth;
                flush();
            } else if (c == '}') {
                flush();
                if (--depth == 0)
                    break;
            } else if (c == '\\') {
                ++i;
                if (i < rtf.size() && rtf[i] == '\'') {
                    i += 2;
                } else if (i < rtf.size() && std::isalpha(static_cast<unsigned char>(rtf[i]))) {
                    while (i < rtf.size() && std::isalpha(static_cast<unsigned char>(rtf[i])))
                        ++i;
                    if (i < rtf.size() && rtf[i] == '-')
                        ++i;
                    while (i < rtf.size() && std::isdigit(static_cast<unsigned char>(rtf[i])))
                        ++i;
                    if (!(i < rtf.size() && rtf[i] == ' '))
                        --i;
                }
            } else if (c == ';') {
                flush();
            } else if (c != '\r' && c != '\n') {
                current += c;
            }
        }
        flush();
    }
    return texts;
}

// Names and metadata of the document that must never show: font and style names, and the
// author, operator and company of its information group; only those of four or more
// characters, which no Russian text contains by chance.
inline std::vector<std::string> InvisibleStrings(std::string_view rtf)
{
    std::vector<std::string> strings;
    for (const char *word : {"fonttbl", "stylesheet", "author", "operator", "company"}) {
        for (std::string &text : GroupTexts(rtf, word)) {
            if (text.size() >= 4)
                strings.push_back(std::move(text));
        }
    }
    return strings;
}

// The longest run of hexadecimal digits in the text: theme data and data stores are long ones.
inline std::size_t LongestHexRun(std::string_view text)
{
    std::size_t longest = 0;
    std::size_t run = 0;
    for (const char c : text) {
        run = std::isxdigit(static_cast<unsigned char>(c)) ? run + 1 : 0;
        longest = std::max(longest, run);
    }
    return longest;
}

// Counts code points of a UTF-8 text in [first, last].
inline std::size_t CountInRange(std::string_view utf8, char32_t first, char32_t last)
{
    std::size_t count = 0;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        char32_t code = byte;
        std::size_t length = 1;
        if (byte >= 0xF0) {
            code = byte & 0x07;
            length = 4;
        } else if (byte >= 0xE0) {
            code = byte & 0x0F;
            length = 3;
        } else if (byte >= 0xC0) {
            code = byte & 0x1F;
            length = 2;
        }
        for (std::size_t k = 1; k < length && i + k < utf8.size(); ++k)
            code = (code << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        if (code >= first && code <= last)
            ++count;
        i += length;
    }
    return count;
}

} // namespace document_checks
