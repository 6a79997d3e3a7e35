// documents/manifest.tsv against what each document must declare.

#include "document_facts.h"
#include "library/catalogue.h"
#include "fonts.h"
#include "manifest.h"
#include "size_planner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

using namespace docgen;
namespace fs = std::filesystem;

namespace {

Manifest committedManifest()
{
    std::ifstream in(fs::path(VELTRANO_DOCUMENTS_DIR) / "manifest.tsv", std::ios::binary);
    std::ostringstream buffer;
    buffer << in.rdbuf();
    return parseManifest(buffer.str());
}

class ManifestFacts : public ::testing::Test {
protected:
    void SetUp() override
    {
        manifest = committedManifest();
        ASSERT_EQ(manifest.entries.size(), static_cast<std::size_t>(facts::kCount));
    }

    const ManifestEntry &entry(int n)
    {
        const ManifestEntry *e = manifest.find(n);
        EXPECT_NE(e, nullptr) << "no row for " << n;
        return *e;
    }

    Manifest manifest;
};

TEST_F(ManifestFacts, FormsHeadersAndOptionalGroups)
{
    for (int n = 1; n <= facts::kCount; ++n) {
        SCOPED_TRACE("DOC_" + std::to_string(n));
        const ManifestEntry &e = entry(n);
        EXPECT_EQ(e.form == Form::A, facts::formA(n));
        const HeaderVariant header = n == 4                ? HeaderVariant::Letter
                                     : n == 17 || n == 33 ? HeaderVariant::Stshf0
                                     : n == 30            ? HeaderVariant::Stshfdbch31505
                                                          : HeaderVariant::Standard;
        EXPECT_EQ(e.header, header);
        EXPECT_EQ(e.revisionTable, facts::hasRevisionTable(n));
        EXPECT_EQ(e.paragraphGroupTable, facts::hasParagraphGroupTable(n));
        EXPECT_EQ(e.colours, facts::kEighteenColours.count(n) ? 18 : 17);
        EXPECT_EQ(e.characterStyles, n == 30 ? 2 : 0);
        EXPECT_EQ(e.title, facts::kTitles[n - 1]);
        EXPECT_EQ(e.defaultTab, 708);
    }
}

TEST_F(ManifestFacts, TitlesAreTheCataloguesTitles)
{
    int documents = 0;
    for (const auto &entry : library::DocumentCatalogue::Entries()) {
        if (entry.Level != 1)
            continue;
        ++documents;
        const std::string name(entry.ResourceName);
        ASSERT_EQ(name.rfind("DOC_", 0), 0u);
        const int n = std::stoi(name.substr(4));
        ASSERT_GE(n, 1);
        ASSERT_LE(n, facts::kCount);
        EXPECT_EQ(entry.Title, facts::kTitles[n - 1]) << name;
        EXPECT_EQ(entry.Title, this->entry(n).title) << name;
    }
    EXPECT_EQ(documents, facts::kCount);
}

TEST_F(ManifestFacts, PageSetup)
{
    int zoomed = 0;
    for (int n = 1; n <= facts::kCount; ++n) {
        SCOPED_TRACE("DOC_" + std::to_string(n));
        const ManifestEntry &e = entry(n);
        EXPECT_EQ(e.paperWidth, n == 30 ? 11905 : 11906);
        EXPECT_EQ(e.paperHeight, n == 30 ? 17337 : 16838);
        const Margins standard{720, 720, 720, 720};
        const Margins wordProcessor{1701, 850, 1134, 1134};
        if (facts::kWordProcessorMargins.count(n)) {
            EXPECT_EQ(e.margins, wordProcessor);
        } else if (facts::kOwnMargins.count(n)) {
            EXPECT_NE(e.margins, standard);
            EXPECT_NE(e.margins, wordProcessor);
        } else {
            EXPECT_EQ(e.margins, standard);
        }
        EXPECT_TRUE(e.viewScale == 100 || e.viewScale == 120);
        zoomed += e.viewScale == 120 ? 1 : 0;
    }
    EXPECT_EQ(zoomed, 2);
}

TEST_F(ManifestFacts, FontTables)
{
    std::size_t fewest = 1000;
    std::size_t most = 0;
    int withAlternates = 0;
    for (int n = 1; n <= facts::kCount; ++n) {
        SCOPED_TRACE("DOC_" + std::to_string(n));
        const ManifestEntry &e = entry(n);
        const auto table = buildFontTable(e);
        fewest = std::min(fewest, table.size());
        most = std::max(most, table.size());
        EXPECT_GE(table.size(), 24u);
        EXPECT_LE(table.size(), 107u);

        std::set<int> numbers;
        bool otherScripts = false;
        bool alternates = false;
        for (const FontEntry &font : table) {
            EXPECT_TRUE(numbers.insert(font.number).second) << "font " << font.number << " twice";
            otherScripts = otherScripts || font.charset == 128 || font.charset == 129 || font.charset == 134 ||
                           font.charset == 136 || font.charset == 222 || font.face->bidi;
            alternates = alternates || font.alternate;
        }
        withAlternates += alternates ? 1 : 0;
        EXPECT_EQ(otherScripts, facts::kOtherScripts.count(n) > 0);

        auto face = [&](int number) -> std::string {
            for (const FontEntry &font : table) {
                if (font.number == number)
                    return font.name + "/" + std::to_string(font.charset);
            }
            return "";
        };
        EXPECT_EQ(face(1), "Arial/204");
        EXPECT_EQ(face(0), facts::kNoFontZero.count(n) ? "" : "Times New Roman/204");
        // The fonts the header and the math properties name.
        if (e.form == Form::A) {
            EXPECT_NE(e.theme, ThemeFonts::None);
            for (int number : {31505, 31506, 31507, 34}) {
                EXPECT_NE(face(number), "") << number;
            }
            if (n == 4) {
                EXPECT_NE(face(37), "");
            }
        } else {
            EXPECT_EQ(e.theme, ThemeFonts::None);
        }
    }
    EXPECT_EQ(fewest, 24u);
    EXPECT_EQ(most, 107u);
    EXPECT_EQ(withAlternates, 11);
}

TEST_F(ManifestFacts, InfoAndRevisionMarks)
{
    int companies = 0;
    int characterRsids = 0;
    for (const ManifestEntry &e : manifest.entries) {
        companies += e.company ? 1 : 0;
        characterRsids += e.characterRsids ? 1 : 0;
    }
    EXPECT_EQ(companies, 67);
    EXPECT_EQ(characterRsids, 18);
}

TEST_F(ManifestFacts, SizeTargets)
{
    std::vector<std::size_t> sizes;
    std::size_t total = 0;
    for (const ManifestEntry &e : manifest.entries) {
        if (!e.size)
            continue;
        SCOPED_TRACE("DOC_" + std::to_string(e.number));
        const std::size_t size = *e.size;
        if (e.number == facts::kSmallestDocument)
            EXPECT_EQ(size, facts::kSmallestSize);
        else if (e.number == facts::kLargestDocument)
            EXPECT_EQ(size, facts::kLargestSize);
        else {
            EXPECT_GT(size, facts::kSmallestSize);
            EXPECT_LT(size, facts::kLargestSize);
        }
        sizes.push_back(size);
        total += size;
    }
    if (sizes.size() == static_cast<std::size_t>(facts::kCount)) {
        EXPECT_EQ(total, facts::kTotalSize);
        EXPECT_NEAR(medianOf(sizes), static_cast<double>(facts::kMedianSize),
                    static_cast<double>(facts::kMedianTolerance));
    }
}

} // namespace
