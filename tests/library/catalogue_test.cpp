#include "library/catalogue.h"

#include <gtest/gtest.h>

#include <string>

using library::DocumentCatalogue;

namespace {

struct ResourceCase {
    int index;
    const char *expected; // nullptr: none
};

class ResourceNameAtTest : public testing::TestWithParam<ResourceCase> {};

TEST_P(ResourceNameAtTest, MapsIndexToResource)
{
    const auto [index, expected] = GetParam();
    const auto name = DocumentCatalogue::ResourceNameAt(index);
    if (expected) {
        EXPECT_EQ(name, std::optional<std::string>(expected)) << "index " << index;
    } else {
        EXPECT_EQ(name, std::nullopt) << "index " << index;
    }
}

INSTANTIATE_TEST_SUITE_P(Catalogue, ResourceNameAtTest,
                         testing::Values(ResourceCase{0, nullptr}, ResourceCase{5, nullptr},
                                         ResourceCase{68, nullptr}, ResourceCase{1, "DOC_1"},
                                         ResourceCase{4, "DOC_4"}, ResourceCase{6, "DOC_5"},
                                         ResourceCase{20, "DOC_19"}, ResourceCase{67, "DOC_66"},
                                         ResourceCase{69, "DOC_67"}, ResourceCase{72, "DOC_70"},
                                         ResourceCase{-1, nullptr}, ResourceCase{73, nullptr},
                                         ResourceCase{-2147483647 - 1, nullptr},
                                         ResourceCase{2147483647, nullptr}));

TEST(Catalogue, GroupsHoldFourSixtyTwoAndFourDocuments)
{
    std::vector<int> sizes;
    for (const auto &entry : DocumentCatalogue::Entries()) {
        if (entry.Level == 0)
            sizes.push_back(0);
        else
            ++sizes.back();
    }
    EXPECT_EQ(sizes, (std::vector<int>{4, 62, 4}));
}

TEST(Catalogue, ResourceNamesAscendWithoutGaps)
{
    int next = 1;
    for (int i = 0; i < DocumentCatalogue::Count; ++i) {
        const auto &entry = DocumentCatalogue::At(i);
        if (entry.Level == 0) {
            EXPECT_TRUE(entry.ResourceName.empty()) << i;
            continue;
        }
        EXPECT_EQ(entry.ResourceName, "DOC_" + std::to_string(next++)) << i;
    }
    EXPECT_EQ(next, 71);
}

TEST(Catalogue, TitlesAreKeptExactly)
{
    // UTF-8 bytes, not normalised: the space of 57, the parentheses of 10, the capitals.
    EXPECT_EQ(DocumentCatalogue::At(57).Title, "договор_оказания_спонсорской помощи");
    EXPECT_EQ(DocumentCatalogue::At(10).Title, "договор_(консорциальное_соглашение)");
    EXPECT_EQ(DocumentCatalogue::At(18).Title, "Договор_возмездного_оказания_услуг");
    EXPECT_EQ(DocumentCatalogue::At(72).Title, "соглашение_об_уступке_договора");
    int capitalised = 0;
    for (const auto &entry : DocumentCatalogue::Entries()) {
        const auto title = entry.Title;
        // Titles are Cyrillic: a capital first letter is U+0410..U+042F (D0 90..D0 AF).
        if (entry.Level == 1 && static_cast<unsigned char>(title[0]) == 0xD0
            && static_cast<unsigned char>(title[1]) <= 0xAF)
            ++capitalised;
        if (entry.Level == 1 && title != DocumentCatalogue::At(57).Title) {
            EXPECT_EQ(title.find(' '), std::string_view::npos) << title;
        }
    }
    EXPECT_EQ(capitalised, 6);
}

} // namespace
