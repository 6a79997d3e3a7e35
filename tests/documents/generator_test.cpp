// Line layout, exact padding, the manifest format, the size planner and the theme package.

#include "support/temp_drive.h"
#include "document_writer.h"
#include "manifest.h"
#include "markup_parser.h"
#include "metadata.h"
#include "rtf_emitter.h"
#include "rtf_scan.h"
#include "size_planner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <ostream>
#include <numeric>
#include <set>

using namespace docgen;
namespace fs = std::filesystem;

namespace {

// --- line layout ---------------------------------------------------------------------

TEST(LineLayout, BreaksOnlyBetweenTokensAndKeepsLinesShort)
{
    // Tokens that delimit themselves; a bare control word only before a backslash.
    const std::vector<std::string> pieces = {
        "\\fs20 ", "\\'e0", "\\'ff", "\\u1072\\'3f", "\\u-4\\'3f", "{\\*\\company ", "{", "}", "x", " ", "-", "7",
        "\\~", "\\-", "\\\\", "\\{", "\\}", "\\b\\i ", "\\tab ", "\\expnd-2\\expndtw-8 ", "{\\*\\panose ",
    };
    std::uint64_t state = 12345;
    auto next = [&] {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<std::size_t>(state >> 33);
    };
    for (int round = 0; round < 20; ++round) {
        std::string logical;
        std::set<std::size_t> boundaries;
        for (int i = 0; i < 3000; ++i) {
            boundaries.insert(logical.size());
            const std::string &piece = pieces[next() % pieces.size()];
            if (piece == "\\b\\i ")
                boundaries.insert(logical.size() + 2);
            if (piece == "\\expnd-2\\expndtw-8 ")
                boundaries.insert(logical.size() + 8);
            logical += piece;
        }
        boundaries.insert(logical.size());
        const LaidOutText laidOut = layoutLines(logical);
        std::string joined;
        for (const std::string &line : laidOut.lines) {
            ASSERT_FALSE(line.empty());
            ASSERT_LE(line.size(), kLineWidth);
            joined += line;
            ASSERT_TRUE(boundaries.count(joined.size())) << "line ends inside a token: ..." << line.substr(line.size() - 12);
            ASSERT_FALSE(line.size() >= 3 && line.substr(line.size() - 3) == "{\\*") << "a destination split";
        }
        EXPECT_EQ(joined, logical);
    }
}

TEST(LineLayout, ForcedBreaksAndThePaddingSlot)
{
    RtfEmitter out;
    out.open();
    out.word("rtf", 1);
    out.lineBreak();
    out.controls("{\\*\\rsidtbl ");
    out.word("rsid", 1);
    out.paddingSlot();
    out.close();
    out.close();
    const LaidOutText laidOut = layoutLines(out.text());
    ASSERT_EQ(laidOut.lines, (std::vector<std::string>{"{\\rtf1", "{\\*\\rsidtbl \\rsid1", "}}"}));
    ASSERT_EQ(laidOut.slots, (std::vector<std::size_t>{2}));
    EXPECT_EQ(joinLines(laidOut, {"\\rsid22", "\\rsid333"}), "{\\rtf1\r\n{\\*\\rsidtbl \\rsid1\r\n\\rsid22\r\n\\rsid333\r\n}}");
    EXPECT_EQ(joinLines(laidOut), "{\\rtf1\r\n{\\*\\rsidtbl \\rsid1\r\n}}");
}

// --- whole documents and padding ---------------------------------------------------------

ManifestEntry entryFor(Form form)
{
    ManifestEntry e;
    e.number = form == Form::A ? 3 : 5;
    e.form = form;
    e.faces = {{0, "tnr"}, {1, "arial"}, {34, "cmath"}, {37, "calibri"}};
    e.variants = {"tnr", "arial"};
    e.theme = form == Form::A ? ThemeFonts::Full : ThemeFonts::None;
    e.revisionTable = true;
    e.title = "договор_тестовый";
    return e;
}

// The byte form every document keeps, whatever its padding.
void expectByteForm(const std::string &doc)
{
    ASSERT_EQ(doc.rfind("{\\rtf1", 0), 0u);
    ASSERT_EQ(doc.back(), '}');
    std::size_t line = 0;
    for (std::size_t i = 0; i < doc.size(); ++i) {
        const auto c = static_cast<unsigned char>(doc[i]);
        ASSERT_TRUE(c != 0 && c < 0x80) << "byte " << i;
        if (c == '\r') {
            ASSERT_EQ(doc[i + 1], '\n');
            ++i;
            line = 0;
            continue;
        }
        ASSERT_NE(c, '\n');
        ASSERT_LE(++line, kMaxLineLength);
    }
}

std::string bodyOf(const std::string &doc)
{
    const std::size_t begin = doc.find("\\pard");
    const std::size_t themed = doc.find("{\\*\\themedata");
    return doc.substr(begin, (themed == std::string::npos ? doc.size() : themed) - begin);
}

class Padding : public ::testing::TestWithParam<Form> {};

TEST_P(Padding, MeetsEveryTargetExactlyAndLeavesTheTextAlone)
{
    const Source source = parseSource(testing_support::ReadBytes(fs::path(DOCGEN_FIXTURES_DIR) / "sampler.txt"));
    ManifestEntry entry = entryFor(GetParam());
    const std::string natural = generateDocument(source, entry);
    ASSERT_EQ(natural.size(), naturalSize(source, entry));
    const auto naturalText = rtfscan::paragraphs(rtfscan::tokenize(natural));
    ASSERT_GT(naturalText.size(), 10u);

    std::vector<std::size_t> extras;
    for (std::size_t k = 0; k <= 40; ++k)
        extras.push_back(k);
    for (std::size_t k : {255, 256, 257, 258, 259, 514, 515, 999, 12345, 100000})
        extras.push_back(k);
    for (const std::size_t extra : extras) {
        entry.size = natural.size() + extra;
        const std::string doc = generateDocument(source, entry);
        ASSERT_EQ(doc.size(), *entry.size) << "extra " << extra;
        expectByteForm(doc);
        EXPECT_EQ(bodyOf(doc), bodyOf(natural)) << "extra " << extra;
        const auto text = rtfscan::paragraphs(rtfscan::tokenize(doc));
        ASSERT_EQ(text.size(), naturalText.size());
        for (std::size_t i = 0; i < text.size(); ++i) {
            EXPECT_EQ(text[i].text, naturalText[i].text);
        }
    }
}

TEST_P(Padding, RefusesATargetBelowTheNaturalSize)
{
    const Source source = parseSource(testing_support::ReadBytes(fs::path(DOCGEN_FIXTURES_DIR) / "sampler.txt"));
    ManifestEntry entry = entryFor(GetParam());
    entry.size = naturalSize(source, entry) - 1;
    try {
        generateDocument(source, entry);
        FAIL() << "a document cannot shrink to its target";
    } catch (const GenerationError &error) {
        EXPECT_NE(std::string(error.what()).find("natural size"), std::string::npos) << error.what();
    }
}

INSTANTIATE_TEST_SUITE_P(Forms, Padding, ::testing::Values(Form::A, Form::B),
                         [](const ::testing::TestParamInfo<Form> &info) {
                             return std::string(info.param == Form::A ? "FormA" : "FormB");
                         });

// Any source the parser accepts gives a document of the right form; anything else is
// refused with SourceError or GenerationError, never with a crash or broken RTF.
TEST(Generation, RandomSourcesGiveWellFormedDocumentsOrClearErrors)
{
    const std::vector<std::string> pieces = {
        "[h] ", "[c b sb=120] ", "[l tx=567,r9000] ", "[fi=-283 li=567] ", "{b: ", "{i: ", "{caps: ", "{uni: ",
        "{font=tnr: ", "{cf=4: ", "{cf=17: ", "{font=minion: ", "}", "\\t", "\\n", "\\~", "\\-", "\\\\",
        "\\{", "\\}", "\\|", "\\[", "\\q", "{", "[", "]", "|", "^", "Текст ", "abc ", "— ", "−", "№ ",
        "«» ", "\xc2\xa0", "\xe2\x9c\x93", "\t", "\n", "\n@table cols=300,400\n", "\n@end\n", " | ",
        "\n# comment\n", "\xff", ":", " ",
    };
    std::uint64_t state = 2024;
    auto next = [&] {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<std::size_t>(state >> 33);
    };
    int accepted = 0;
    for (int round = 0; round < 400; ++round) {
        std::string source;
        const std::size_t length = 1 + next() % 40;
        for (std::size_t i = 0; i < length; ++i)
            source += pieces[next() % pieces.size()];
        for (const Form form : {Form::A, Form::B}) {
            try {
                const std::string doc = generateDocument(parseSource(source), entryFor(form));
                expectByteForm(doc);
                const auto tokens = rtfscan::tokenize(doc);
                EXPECT_EQ(tokens.back().kind, rtfscan::Kind::Close);
                EXPECT_EQ(tokens.back().depth, 1);
                ++accepted;
            } catch (const SourceError &) {
            } catch (const GenerationError &) {
            }
        }
    }
    EXPECT_GT(accepted, 40) << "the cases should not all be refused";
}

TEST(Generation, OutputDependsOnTheSourceAndManifestOnly)
{
    const Source source = parseSource(testing_support::ReadBytes(fs::path(DOCGEN_FIXTURES_DIR) / "sampler.txt"));
    ManifestEntry entry = entryFor(Form::A);
    const std::string first = generateDocument(source, entry);
    // A different document number gives other revision ids and times, the same text.
    entry.number = 4;
    const std::string other = generateDocument(source, entry);
    EXPECT_NE(first, other);
    entry.number = 3;
    EXPECT_EQ(generateDocument(source, entry), first);
}

// --- manifest ------------------------------------------------------------------------------

TEST(Manifest, CommittedManifestIsCanonicalAndRoundTrips)
{
    const std::string text = testing_support::ReadBytes(fs::path(VELTRANO_DOCUMENTS_DIR) / "manifest.tsv");
    const Manifest manifest = parseManifest(text);
    EXPECT_EQ(formatManifest(manifest), text) << "rewrite it with formatManifest (docgen --plan-sizes does)";
    EXPECT_EQ(parseManifest(formatManifest(manifest)), manifest);
}

struct ManifestErrorCase {
    const char *name;
    const char *column; // which cell to spoil
    const char *value;
    const char *message;
};

void PrintTo(const ManifestErrorCase &c, std::ostream *os) { *os << c.name; }

class BadManifest : public ::testing::TestWithParam<ManifestErrorCase> {};

TEST_P(BadManifest, IsRefusedWithItsLine)
{
    const char *header = "doc\tform\theader\tfaces\tvariants\ttheme\tfalt\tcolours\trevtbl\tpgptbl\tcharstyles\tcharrsid"
                         "\tcompany\tmargins\tpaper\tviewscale\tdeftab\ttitle\tsize\n";
    std::map<std::string, std::string> row = {
        {"doc", "1"},          {"form", "A"},          {"header", "standard"},       {"faces", "0=tnr,1=arial"},
        {"variants", "tnr"},   {"theme", "base"},      {"falt", "no"},               {"colours", "17"},
        {"revtbl", "no"},      {"pgptbl", "no"},       {"charstyles", "0"},          {"charrsid", "no"},
        {"company", "yes"},    {"margins", "720,720,720,720"}, {"paper", "11906x16838"}, {"viewscale", "100"},
        {"deftab", "708"},     {"title", "x"},         {"size", "-"},
    };
    const ManifestErrorCase &c = GetParam();
    auto rowText = [&] {
        std::string line;
        for (const char *column : {"doc", "form", "header", "faces", "variants", "theme", "falt", "colours", "revtbl",
                                   "pgptbl", "charstyles", "charrsid", "company", "margins", "paper", "viewscale",
                                   "deftab", "title", "size"}) {
            line += row[column];
            line += '\t';
        }
        line.back() = '\n';
        return line;
    };
    const std::string good = std::string("# comment\n") + header + rowText();
    ASSERT_NO_THROW(parseManifest(good));
    row[c.column] = c.value;
    const std::string bad = std::string("# comment\n") + header + rowText();
    try {
        parseManifest(bad);
        FAIL() << "accepted " << c.column << "=" << c.value;
    } catch (const ManifestError &error) {
        EXPECT_EQ(error.line(), 3);
        EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos) << error.what();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BadManifest,
    ::testing::Values(ManifestErrorCase{"Form", "form", "C", "neither A nor B"},
                      ManifestErrorCase{"UnknownHeader", "header", "fancy", "unknown variant"},
                      ManifestErrorCase{"UnknownFace", "faces", "0=tnr,1=comic", "unknown face 'comic'"},
                      ManifestErrorCase{"FontNumberTwice", "faces", "0=tnr,0=arial", "given twice"},
                      ManifestErrorCase{"VariantOfAbsentFace", "variants", "courier", "not one of the faces"},
                      ManifestErrorCase{"Colours", "colours", "19", "out of range"},
                      ManifestErrorCase{"Flag", "falt", "maybe", "neither yes nor no"},
                      ManifestErrorCase{"Margins", "margins", "720,720", "four numbers"},
                      ManifestErrorCase{"Paper", "paper", "A4", "width x height"},
                      ManifestErrorCase{"Size", "size", "12kB", "not a whole number"},
                      ManifestErrorCase{"Title", "title", "", "empty"}),
    [](const ::testing::TestParamInfo<ManifestErrorCase> &info) { return std::string(info.param.name); });

TEST(Manifest, MisnamedColumnsAndShortRowsAreRefused)
{
    const std::string formB = "doc\tform\theader\tfaces\tvariants\ttheme\tfalt\tcolours\trevtbl\tpgptbl"
                              "\tcharstyles\tcharrsid\tcompany\tmargins\tpaper\tviewscale\tdeftab\ttitle\tsize\n"
                              "5\tB\tletter\t0=tnr,1=arial\t-\t-\tno\t17\tyes\tno\t0\tno\tyes\t720,720,720,720"
                              "\t11906x16838\t100\t708\tx\t-\n";
    EXPECT_THROW(parseManifest(formB), ManifestError) << "form B has one header only";
    EXPECT_THROW(parseManifest("doc\tform\n1\tA\n"), ManifestError);
    EXPECT_THROW(parseManifest("# only a comment\n"), ManifestError);
    const std::string header = "doc\tform\theader\tfaces\tvariants\ttheme\tfalt\tcolours\trevtbl\tpgptbl\tcharstyles"
                               "\tcharrsid\tcompany\tmargins\tpaper\tviewscale\tdeftab\ttitle\tsize\n";
    try {
        parseManifest(header + "1\tA\n");
        FAIL();
    } catch (const ManifestError &error) {
        EXPECT_EQ(error.line(), 2);
    }
}

// --- size planner --------------------------------------------------------------------------

// Natural sizes shaped like the real set: a small letter and agreements, a long tail.
std::map<int, std::size_t> typicalNaturals()
{
    std::map<int, std::size_t> naturals;
    for (int n = 1; n <= 70; ++n)
        naturals[n] = 38'000 + static_cast<std::size_t>((n * 7919) % 31) * 1'100;
    naturals[4] = 22'000;
    naturals[69] = 12'000;
    naturals[68] = 21'000;
    naturals[17] = 185'000;
    naturals[35] = 84'000;
    naturals[41] = 86'000;
    return naturals;
}

void expectSetFacts(const std::map<int, std::size_t> &naturals, const SizePlan &plan, bool complete)
{
    const SizeFacts facts;
    ASSERT_EQ(plan.targets.size(), naturals.size());
    std::vector<std::size_t> sizes;
    std::size_t total = 0;
    for (const auto &[n, target] : plan.targets) {
        EXPECT_GE(target, naturals.at(n)) << "DOC_" << n << " would have to shrink";
        if (n == facts.smallestDocument)
            EXPECT_EQ(target, facts.smallestSize);
        else if (n == facts.largestDocument)
            EXPECT_EQ(target, facts.largestSize);
        else {
            EXPECT_GT(target, facts.smallestSize) << "DOC_" << n;
            EXPECT_LT(target, facts.largestSize) << "DOC_" << n;
        }
        sizes.push_back(target);
        total += target;
    }
    if (complete) {
        EXPECT_EQ(total, facts.total);
        EXPECT_NEAR(medianOf(sizes), static_cast<double>(facts.median), 1.0);
    }
}

TEST(SizePlanner, CompleteSetMeetsEverySizeFact)
{
    const auto naturals = typicalNaturals();
    const SizePlan plan = planSizes(naturals);
    expectSetFacts(naturals, plan, true);
    EXPECT_TRUE(plan.warnings.empty());
}

TEST(SizePlanner, CompleteSetOfSmallDocumentsIsPaddedUpToTheTotal)
{
    std::map<int, std::size_t> naturals;
    for (int n = 1; n <= 70; ++n)
        naturals[n] = 9'000 + static_cast<std::size_t>(n) * 10;
    expectSetFacts(naturals, planSizes(naturals), true);
}

TEST(SizePlanner, OrderOfDocumentsBySizeIsKept)
{
    const auto naturals = typicalNaturals();
    const SizePlan plan = planSizes(naturals);
    for (const auto &[a, na] : naturals) {
        for (const auto &[b, nb] : naturals) {
            if (na < nb) {
                EXPECT_LE(plan.targets.at(a), plan.targets.at(b)) << "DOC_" << a << " and DOC_" << b;
            }
        }
    }
}

TEST(SizePlanner, PartialSetKeepsTheSingleDocumentFacts)
{
    auto naturals = typicalNaturals();
    for (int n = 20; n <= 60; ++n)
        naturals.erase(n);
    naturals.erase(17);
    expectSetFacts(naturals, planSizes(naturals), false);
}

TEST(SizePlanner, LargeMiddleDocumentsWarnButStillMeetTheTotal)
{
    std::map<int, std::size_t> naturals;
    for (int n = 1; n <= 70; ++n)
        naturals[n] = 64'000 + static_cast<std::size_t>(n);
    naturals[69] = 15'000;
    naturals[17] = 150'000;
    const SizePlan plan = planSizes(naturals);
    EXPECT_FALSE(plan.warnings.empty());
    std::size_t total = 0;
    for (const auto &[n, target] : plan.targets)
        total += target;
    EXPECT_EQ(total, SizeFacts{}.total);
}

struct ImpossiblePlan {
    const char *name;
    int document;
    std::size_t natural;
    const char *message;
};

void PrintTo(const ImpossiblePlan &c, std::ostream *os) { *os << c.name; }

class PlannerRefuses : public ::testing::TestWithParam<ImpossiblePlan> {};

TEST_P(PlannerRefuses, WhatTheNaturalSizesMakeImpossible)
{
    auto naturals = typicalNaturals();
    const ImpossiblePlan &c = GetParam();
    if (c.document == 0) {
        for (auto &[n, size] : naturals)
            size = n == 69 ? 15'000 : n == 17 ? 190'000 : c.natural;
    } else {
        naturals[c.document] = c.natural;
    }
    try {
        planSizes(naturals);
        FAIL() << "planned the impossible";
    } catch (const PlanError &error) {
        EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos) << error.what();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PlannerRefuses,
    ::testing::Values(ImpossiblePlan{"SmallestTooLarge", 69, 15'350, "DOC_69 must be exactly 15349"},
                      ImpossiblePlan{"LargestTooLarge", 17, 191'904, "DOC_17 must be exactly 191903"},
                      ImpossiblePlan{"OtherAsLargeAsTheLargest", 8, 191'903, "would not stay below DOC_17"},
                      ImpossiblePlan{"TotalExceeded", 0, 70'000, "more than the total"}),
    [](const ::testing::TestParamInfo<ImpossiblePlan> &info) { return std::string(info.param.name); });

// --- theme package ---------------------------------------------------------------------------

std::uint32_t le32(const std::string &s, std::size_t at)
{
    return static_cast<std::uint32_t>(static_cast<unsigned char>(s[at])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(s[at + 1])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(s[at + 2])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(s[at + 3])) << 24;
}
unsigned le16(const std::string &s, std::size_t at)
{
    return static_cast<unsigned>(static_cast<unsigned char>(s[at])) |
           static_cast<unsigned>(static_cast<unsigned char>(s[at + 1])) << 8;
}

TEST(ThemePackage, CrcMatchesTheStandardCheckValue)
{
    EXPECT_EQ(crc32("123456789"), 0xCBF43926u);
    EXPECT_EQ(crc32(""), 0u);
}

TEST(ThemePackage, ZipDirectoryPointsAtItsMembers)
{
    const std::string zip = themePackage();
    ASSERT_GT(zip.size(), 22u);
    const std::size_t end = zip.size() - 22;
    ASSERT_EQ(le32(zip, end), 0x06054b50u);
    const unsigned members = le16(zip, end + 10);
    EXPECT_EQ(members, 5u);
    std::size_t entry = le32(zip, end + 16);
    ASSERT_EQ(entry + le32(zip, end + 12), end) << "the central directory ends where the end record starts";
    std::set<std::string> names;
    for (unsigned i = 0; i < members; ++i) {
        ASSERT_EQ(le32(zip, entry), 0x02014b50u);
        const std::uint32_t crc = le32(zip, entry + 16);
        const std::uint32_t size = le32(zip, entry + 20);
        const unsigned nameLength = le16(zip, entry + 28);
        const std::size_t local = le32(zip, entry + 42);
        const std::string name = zip.substr(entry + 46, nameLength);
        names.insert(name);
        ASSERT_EQ(le32(zip, local), 0x04034b50u) << name;
        ASSERT_EQ(zip.substr(local + 30, nameLength), name);
        const std::string data = zip.substr(local + 30 + nameLength, size);
        EXPECT_EQ(crc32(data), crc) << name;
        EXPECT_EQ(le32(zip, local + 14), crc) << name;
        entry += 46 + nameLength;
    }
    EXPECT_TRUE(names.count("theme/theme/theme1.xml"));
    EXPECT_TRUE(names.count("[Content_Types].xml"));
}

} // namespace
