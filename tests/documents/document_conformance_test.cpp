// Every documents/DOC_n.rtf that exists, held to the form the documents must have.

#include "support/temp_drive.h"
#include "document_facts.h"
#include "rtf_scan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iostream>

namespace fs = std::filesystem;
using namespace rtfscan;

namespace {

fs::path documentPath(int n) { return fs::path(VELTRANO_DOCUMENTS_DIR) / ("DOC_" + std::to_string(n) + ".rtf"); }

std::vector<int> presentDocuments()
{
    std::vector<int> present;
    for (int n = 1; n <= facts::kCount; ++n) {
        if (fs::exists(documentPath(n)))
            present.push_back(n);
    }
    return present;
}

int count(const std::map<std::string, int> &words, const std::string &name)
{
    const auto it = words.find(name);
    return it == words.end() ? 0 : it->second;
}

std::vector<std::u32string> wordsOf(std::u32string_view text)
{
    std::vector<std::u32string> words;
    std::u32string current;
    auto isWordChar = [](char32_t c) {
        return (c >= U'0' && c <= U'9') || (c >= U'a' && c <= U'z') || (c >= 0x0430 && c <= 0x044F) || c == 0x0451;
    };
    for (const char32_t c : lowerCase(text)) {
        if (isWordChar(c)) {
            current.push_back(c);
        } else if (!current.empty()) {
            words.push_back(current);
            current.clear();
        }
    }
    if (!current.empty())
        words.push_back(current);
    return words;
}

class DocumentConformance : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override
    {
        n = GetParam();
        bytes = testing_support::ReadBytes(documentPath(n));
        tokens = tokenize(bytes);
        words = wordCounts(tokens);
    }

    int n = 0;
    std::string bytes;
    std::vector<Token> tokens;
    std::map<std::string, int> words;
};

TEST_P(DocumentConformance, IsOneAsciiGroupInCrLfLinesOfAtMost350Bytes)
{
    ASSERT_FALSE(bytes.empty());
    EXPECT_EQ(bytes.rfind("{\\rtf1", 0), 0u);
    EXPECT_EQ(bytes.back(), '}');
    std::size_t line = 0;
    std::size_t longest = 0;
    int depth = 0;
    std::size_t closedAt = std::string::npos;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        ASSERT_NE(c, 0) << "NUL at " << i;
        ASSERT_LT(c, 0x80) << "non-ASCII byte at " << i;
        if (c == '\r') {
            ASSERT_TRUE(i + 1 < bytes.size() && bytes[i + 1] == '\n') << "CR without LF at " << i;
            ++i;
            line = 0;
            continue;
        }
        ASSERT_NE(c, '\n') << "LF without CR at " << i;
        longest = std::max(longest, ++line);
        if (c == '\\' && i + 1 < bytes.size() && (bytes[i + 1] == '{' || bytes[i + 1] == '}' || bytes[i + 1] == '\\')) {
            ++i;
            ++line;
            continue;
        }
        if (c == '{')
            ++depth;
        if (c == '}' && --depth == 0 && closedAt == std::string::npos)
            closedAt = i;
    }
    EXPECT_LE(longest, 350u);
    EXPECT_EQ(depth, 0);
    EXPECT_EQ(closedAt, bytes.size() - 1) << "the \\rtf1 group must close at the last byte";
    EXPECT_EQ(count(words, "bin"), 0);
}

TEST_P(DocumentConformance, HeaderAndGroupsComeInTheirOrder)
{
    const std::string header = facts::headerWords(n);
    EXPECT_EQ(bytes.substr(1, header.size()), header);
    EXPECT_EQ(bytes.substr(1 + header.size(), 9), "{\\fonttbl");

    std::vector<std::string> expected;
    if (facts::formA(n)) {
        expected = {"fonttbl", "colortbl", "*defchp", "*defpap", "stylesheet"};
        if (facts::hasRevisionTable(n))
            expected.push_back("*revtbl");
        if (facts::hasParagraphGroupTable(n))
            expected.push_back("*pgptbl");
        for (const char *g : {"*rsidtbl", "mmathPr", "info", "*xmlnstbl", "*wgrffmtfilter"})
            expected.push_back(g);
    } else {
        expected = {"fonttbl", "colortbl", "stylesheet", "*latentstyles"};
        if (facts::hasRevisionTable(n))
            expected.push_back("*revtbl");
        for (const char *g : {"*rsidtbl", "*generator", "info"})
            expected.push_back(g);
    }
    for (int level = 1; level <= 9; ++level)
        expected.push_back("*pnseclvl" + std::to_string(level));
    if (facts::formA(n)) {
        for (const char *g : {"*themedata", "*colorschememapping", "*latentstyles", "*datastore"})
            expected.push_back(g);
    }
    std::vector<std::string> found;
    for (const std::string &g : topLevelGroups(tokens)) {
        if (!g.empty() && (g[0] == '*' || g == "fonttbl" || g == "colortbl" || g == "stylesheet" || g == "info" ||
                           g == "mmathPr"))
            found.push_back(g);
    }
    EXPECT_EQ(found, expected);

    // The document formatting follows the info, the one section follows it, and the body
    // starts after the nine pnseclvl groups and ends before the trailing data.
    auto firstAtDepth1 = [&](const std::string &name) {
        for (std::size_t i = 0; i < tokens.size(); ++i) {
            if (tokens[i].kind == Kind::Word && tokens[i].depth == 1 && tokens[i].name == name)
                return i;
        }
        return tokens.size();
    };
    auto groupStart = [&](const std::string &star) {
        for (std::size_t i = 0; i + 2 < tokens.size(); ++i) {
            if (tokens[i].kind == Kind::Open && tokens[i].depth == 2 && tokens[i + 2].kind == Kind::Word &&
                tokens[i + 1].kind == Kind::Symbol && spelled(tokens[i + 2]) == star)
                return i;
        }
        return tokens.size();
    };
    const std::size_t paper = firstAtDepth1("paperw");
    const std::size_t section = firstAtDepth1("sectd");
    const std::size_t body = firstAtDepth1("pard");
    ASSERT_LT(paper, tokens.size());
    EXPECT_EQ(count(words, "sectd"), 1);
    EXPECT_EQ(count(words, "sect"), 0);
    EXPECT_LT(paper, section);
    EXPECT_LT(section, groupStart("pnseclvl1"));
    EXPECT_LT(groupStart("pnseclvl9"), body);
    if (facts::formA(n)) {
        EXPECT_LT(groupStart("wgrffmtfilter"), section);
        EXPECT_LT(paper, groupStart("wgrffmtfilter"));
        EXPECT_LT(body, groupStart("themedata"));
        EXPECT_GT(count(words, "rtlch"), 0);
    } else {
        EXPECT_EQ(count(words, "rtlch"), 0);
        EXPECT_EQ(count(words, "ltrpar"), 0);
        EXPECT_NE(bytes.find("{\\*\\generator Veltrano docgen"), std::string::npos);
        EXPECT_EQ(count(words, "title"), 1);
    }
}

TEST_P(DocumentConformance, FontTable)
{
    const auto fonts = fontTable(tokens);
    EXPECT_GE(fonts.size(), 24u);
    EXPECT_LE(fonts.size(), 107u);
    std::set<int> numbers;
    bool anyPanose = false;
    int theme = 0;
    int otherScripts = 0;
    for (const Font &font : fonts) {
        EXPECT_TRUE(numbers.insert(font.number).second) << "font " << font.number << " twice";
        anyPanose = anyPanose || font.panose;
        if (font.number >= 31500 && font.number <= 31507) {
            ++theme;
            EXPECT_FALSE(font.themeTag.empty()) << "theme font " << font.number << " without its tag";
        }
        const bool eastAsianOrThai = font.charset == 128 || font.charset == 129 || font.charset == 134 ||
                                     font.charset == 136 || font.charset == 222;
        const bool indic = font.name == "Mangal" || font.name == "Latha" || font.name == "Gautami" ||
                           font.name == "Raavi" || font.name == "Shruti" || font.name == "Tunga";
        if (eastAsianOrThai || indic)
            ++otherScripts;
    }
    EXPECT_TRUE(anyPanose);
    EXPECT_EQ(theme, facts::formA(n) ? 8 : 0);
    if (facts::kOtherScripts.count(n))
        EXPECT_GT(otherScripts, 0);
    else
        EXPECT_EQ(otherScripts, 0);

    auto find = [&](int number) -> const Font * {
        for (const Font &font : fonts) {
            if (font.number == number)
                return &font;
        }
        return nullptr;
    };
    const Font *arial = find(1);
    ASSERT_NE(arial, nullptr);
    EXPECT_EQ(arial->name, "Arial");
    EXPECT_EQ(arial->family, "fswiss");
    EXPECT_EQ(arial->charset, 204);
    const Font *times = find(0);
    if (facts::kNoFontZero.count(n)) {
        EXPECT_EQ(times, nullptr);
    } else {
        ASSERT_NE(times, nullptr);
        EXPECT_EQ(times->name, "Times New Roman");
        EXPECT_EQ(times->charset, 204);
    }
    // Every font the header or the text names is in the table, and every font that
    // carries text is Cyrillic.
    for (const Token &t : tokens) {
        if (t.kind == Kind::Word && (t.name.rfind("stshf", 0) == 0 || t.name == "adeff") && t.value != 0) {
            EXPECT_NE(find(static_cast<int>(t.value)), nullptr) << "\\" << t.name << t.value;
        }
    }
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        const Token &t = tokens[i];
        if (t.kind == Kind::Word && t.name == "f" && t.depth >= 2 && t.offset > bytes.find("\\pard")) {
            const Font *font = find(static_cast<int>(t.value));
            ASSERT_NE(font, nullptr) << "text in undefined font " << t.value;
            EXPECT_EQ(font->charset, 204) << "text in non-Cyrillic font " << font->name;
        }
    }
}

TEST_P(DocumentConformance, ColourTable)
{
    const auto colours = colourTable(tokens);
    const std::vector<std::array<int, 3>> standard = {
        {0, 0, 0},       {0, 0, 255},   {0, 255, 255}, {0, 255, 0},   {255, 0, 255},   {255, 0, 0},
        {255, 255, 0},   {255, 255, 255}, {0, 0, 128},  {0, 128, 128}, {0, 128, 0},     {128, 0, 128},
        {128, 0, 0},     {128, 128, 0}, {128, 128, 128}, {192, 192, 192},
    };
    const std::size_t expected = facts::kEighteenColours.count(n) ? 18 : 17;
    ASSERT_EQ(colours.size(), expected);
    EXPECT_TRUE(colours[0].automatic);
    for (std::size_t i = 0; i < standard.size(); ++i) {
        EXPECT_FALSE(colours[i + 1].automatic);
        EXPECT_EQ((std::array<int, 3>{colours[i + 1].red, colours[i + 1].green, colours[i + 1].blue}), standard[i])
            << "colour " << i + 1;
    }
    if (expected == 18) {
        const Colour &extra = colours[17];
        EXPECT_LE(std::max({extra.red, extra.green, extra.blue}), 32) << "the 18th colour is near black";
        EXPECT_GT(extra.red + extra.green + extra.blue, 0);
    }
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        if (tokens[i].kind == Kind::Word && tokens[i].name == "cf") {
            EXPECT_LT(tokens[i].value, static_cast<long long>(expected));
        }
    }
}

TEST_P(DocumentConformance, PageSetup)
{
    auto value = [&](const std::string &name) -> long long {
        for (const Token &t : tokens) {
            if (t.kind == Kind::Word && t.name == name && t.depth == 1)
                return t.value;
        }
        return -1;
    };
    EXPECT_EQ(value("paperw"), n == 30 ? 11905 : 11906);
    EXPECT_EQ(value("paperh"), n == 30 ? 17337 : 16838);
    const std::array<long long, 4> margins = {value("margl"), value("margr"), value("margt"), value("margb")};
    if (facts::kWordProcessorMargins.count(n)) {
        EXPECT_EQ(margins, (std::array<long long, 4>{1701, 850, 1134, 1134}));
    } else if (facts::kOwnMargins.count(n)) {
        EXPECT_NE(margins, (std::array<long long, 4>{720, 720, 720, 720}));
        EXPECT_NE(margins, (std::array<long long, 4>{1701, 850, 1134, 1134}));
        for (long long m : margins) {
            EXPECT_GT(m, 0);
        }
    } else {
        EXPECT_EQ(margins, (std::array<long long, 4>{720, 720, 720, 720}));
    }
    EXPECT_EQ(value("deftab"), 708);
    EXPECT_EQ(value("viewkind"), 1);
    const long long scale = value("viewscale");
    EXPECT_TRUE(scale == 100 || scale == 120) << scale;
}

TEST_P(DocumentConformance, UsesNoFeatureTheDocumentsLeaveOut)
{
    for (const char *word : {"pict", "object", "field", "fldinst", "header", "headerl", "headerr", "headerf", "footer",
                             "footerl", "footerr", "footerf", "footnote", "endnote", "listtable",
                             "listoverridetable", "ls", "ilvl", "pntext", "bkmkstart", "bkmkend", "shp", "shpinst",
                             "do", "bin", "sect", "page", "sv", "sn"}) {
        EXPECT_EQ(count(words, word), 0) << "\\" << word;
    }
    for (const auto &[name, times] : words) {
        if (name.rfind("ul", 0) == 0)
            ADD_FAILURE() << "underline \\" << name << " x" << times;
    }
}

TEST_P(DocumentConformance, BodyFeaturesBelongToTheirDocuments)
{
    auto presentExactlyIn = [&](const std::string &word, bool expected) {
        if (expected)
            EXPECT_GT(count(words, word), 0) << word << " missing";
        else
            EXPECT_EQ(count(words, word), 0) << word << " does not belong here";
    };
    presentExactlyIn("tab", !facts::kNoTabs.count(n));
    presentExactlyIn("tx", facts::kTabStops.count(n) > 0);
    presentExactlyIn("tqc", n == 34);
    presentExactlyIn("tqr", n == 54);
    presentExactlyIn("tlul", n == 22);
    presentExactlyIn("bullet", facts::kBullets.count(n) > 0);
    presentExactlyIn("rquote", n == 17);
    presentExactlyIn("\\~", facts::kNonBreakingSpaces.count(n) > 0);
    presentExactlyIn("trowd", facts::kTables.count(n) > 0);
    presentExactlyIn("brdrtbl", n == 17);
    presentExactlyIn("clvertalc", n == 26);
    presentExactlyIn("clvmgf", facts::kMerges.count(n) > 0);
    presentExactlyIn("clvmrg", facts::kMerges.count(n) > 0);
    presentExactlyIn("caps", !facts::kNoCaps.count(n));
    presentExactlyIn("qc", n != 4);
    presentExactlyIn("pagebb", n == 30);
    presentExactlyIn("nowidctlpar", n == 30);
    EXPECT_EQ(count(words, "\\-"), n == 30 ? 15 : 0);

    int minus = 0;
    int cyrillic = 0;
    for (const UnicodeEscape &u : unicodeEscapes(tokens)) {
        EXPECT_TRUE(u.fallbackIsQuestionMark) << "\\u" << u.value << " without its \\'3f";
        if (u.value == 0x2212)
            ++minus;
        if (u.value >= 0x0400 && u.value <= 0x04FF) {
            ++cyrillic;
            EXPECT_EQ(u.language, 9217) << "Cyrillic \\u" << u.value << " outside the \\lang9217 run";
        }
    }
    EXPECT_EQ(minus, n == 17 ? 7 : n == 27 ? 6 : 0);
    EXPECT_EQ(cyrillic, n == 26 ? 57 : 0);

    int green = 0;
    int extraColour = 0;
    for (const Token &t : tokens) {
        if (t.kind == Kind::Word && t.name == "cf" && t.value == 4)
            ++green;
        if (t.kind == Kind::Word && t.name == "cf" && t.value == 17)
            ++extraColour;
    }
    if (facts::kGreen.count(n))
        EXPECT_GT(green, 0);
    else
        EXPECT_EQ(green, 0);
    if (n != 30) {
        EXPECT_EQ(extraColour, 0) << "only document 30 uses the extra colour";
    }

    int pageBreaks = 0;
    bool smallTableText = false;
    for (const Paragraph &p : paragraphs(tokens)) {
        if (count(p.words, "pagebb"))
            ++pageBreaks;
        if (p.inTable && p.values.count("fs") && p.values.at("fs").count(18))
            smallTableText = true;
    }
    EXPECT_EQ(pageBreaks, n == 30 ? 4 : 0);
    if (facts::kSmallTables.count(n)) {
        EXPECT_TRUE(smallTableText) << "the table text is set in 9 pt";
    }
}

TEST_P(DocumentConformance, OpeningLinesNameTheCatalogueTitle)
{
    const auto body = paragraphs(tokens);
    ASSERT_FALSE(body.empty());
    if (n == 4) {
        // A letter: no heading, the first paragraph is justified 10 pt text.
        EXPECT_GT(count(body.front().words, "qj"), 0);
        EXPECT_EQ(count(body.front().words, "qc"), 0);
        ASSERT_EQ(body.front().values.count("fs"), 1u);
        EXPECT_EQ(body.front().values.at("fs"), (std::set<long long>{20}));
        return;
    }
    EXPECT_GT(count(body.front().words, "qc"), 0) << "the first paragraph is the centred heading";
    EXPECT_GT(count(body.front().words, "b"), 0) << "the heading is bold";

    // The opening lines: the paragraphs before the first justified one.
    std::u32string opening;
    for (std::size_t i = 0; i < body.size() && i < 6; ++i) {
        if (count(body[i].words, "qj"))
            break;
        opening += body[i].text;
        opening += U'\n';
    }
    const auto openingWords = wordsOf(opening);
    std::set<std::u32string> present(openingWords.begin(), openingWords.end());
    auto titleWords = wordsOf(fromUtf8(facts::kTitles[n - 1]));
    if (n == 8)
        std::replace(titleWords.begin(), titleWords.end(), fromUtf8("дистрибьютерский"), fromUtf8("дистрибьюторский"));
    if (n == 33)
        std::replace(titleWords.begin(), titleWords.end(), fromUtf8("подобору"), fromUtf8("подбору"));
    if (n == 36 || n == 54) {
        const std::u32string number = titleWords.back();
        titleWords.pop_back();
        EXPECT_EQ(present.count(number), 0u) << "the heading carries no number";
    }
    for (const auto &word : titleWords) {
        EXPECT_EQ(present.count(word), 1u) << "\"" << utf8(word) << "\" missing from the opening: " << utf8(opening);
    }
}

TEST_P(DocumentConformance, SizeLiesWithinTheSet)
{
    SCOPED_TRACE("size targets come from docgen --plan-sizes once all documents are in (tools/docgen/README.md)");
    if (n == facts::kSmallestDocument)
        EXPECT_EQ(bytes.size(), facts::kSmallestSize);
    else if (n == facts::kLargestDocument)
        EXPECT_EQ(bytes.size(), facts::kLargestSize);
    else {
        EXPECT_GT(bytes.size(), facts::kSmallestSize);
        EXPECT_LT(bytes.size(), facts::kLargestSize);
    }
}

INSTANTIATE_TEST_SUITE_P(Documents, DocumentConformance, ::testing::ValuesIn(presentDocuments()),
                         [](const ::testing::TestParamInfo<int> &info) { return "DOC_" + std::to_string(info.param); });
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(DocumentConformance);

// Facts of the set as a whole, checked once every document of them is present.
TEST(DocumentSet, FactsOfTheWholeSet)
{
    const auto present = presentDocuments();
    std::vector<std::size_t> sizes;
    std::size_t total = 0;
    int nonBreaking = 0;
    int alternates = 0;
    int zoomed = 0;
    int companies = 0;
    for (const int n : present) {
        const std::string bytes = testing_support::ReadBytes(documentPath(n));
        sizes.push_back(bytes.size());
        total += bytes.size();
        const auto tokens = tokenize(bytes);
        const auto words = wordCounts(tokens);
        if (facts::kNonBreakingSpaces.count(n))
            nonBreaking += count(words, "\\~");
        bool alternate = false;
        for (const Font &font : fontTable(tokens))
            alternate = alternate || font.alternate;
        alternates += alternate ? 1 : 0;
        for (const Token &t : tokens) {
            if (t.kind == Kind::Word && t.name == "viewscale" && t.value == 120)
                ++zoomed;
        }
        companies += count(words, "company") > 0 ? 1 : 0;
    }
    const bool allNonBreaking =
        std::all_of(facts::kNonBreakingSpaces.begin(), facts::kNonBreakingSpaces.end(),
                    [&](int n) { return std::find(present.begin(), present.end(), n) != present.end(); });
    if (allNonBreaking) {
        EXPECT_EQ(nonBreaking, 16);
    }
    if (static_cast<int>(present.size()) < facts::kCount) {
        std::cout << present.size() << " of " << facts::kCount << " documents present; set totals not checked\n";
        return;
    }
    EXPECT_EQ(total, facts::kTotalSize);
    std::sort(sizes.begin(), sizes.end());
    const double median = (static_cast<double>(sizes[34]) + static_cast<double>(sizes[35])) / 2;
    EXPECT_NEAR(median, static_cast<double>(facts::kMedianSize), static_cast<double>(facts::kMedianTolerance));
    EXPECT_EQ(alternates, 11);
    EXPECT_EQ(zoomed, 2);
    EXPECT_EQ(companies, 67);
}

} // namespace
