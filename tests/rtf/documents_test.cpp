// Every document under documents/ as the reader sees it: its text shows, nothing of its
// tables, styles, metadata or hex data does, and no fallback "?" follows a Unicode escape.

#include "contract_sink.h"
#include "document_checks.h"

#include "rtf/plain_text_sink.h"
#include "rtf/reader.h"

#include <gtest/gtest.h>

#include <ostream>

namespace document_checks {

// Names the document in test listings.
void PrintTo(const Document &document, std::ostream *out)
{
    *out << document.rtf.filename().string();
}

} // namespace document_checks

namespace {

using document_checks::Document;

class DocumentText : public testing::TestWithParam<Document> {};

TEST_P(DocumentText, ShowsTheTextAndNothingElse)
{
    const Document &document = GetParam();
    const std::string rtf = document_checks::ReadFile(document.rtf);
    ASSERT_TRUE(rtf::LooksLikeRtf(rtf));
    ASSERT_TRUE(std::filesystem::exists(document.source)) << "no source " << document.source;
    const std::string source = document_checks::ReadFile(document.source);

    rtf_test::ContractSink contract;
    rtf::Read(rtf, contract);
    EXPECT_EQ(contract.violation(), "");

    const std::string text = rtf::PlainText(rtf);
    EXPECT_GT(document_checks::CountInRange(text, U'\u0410', U'\u044F'), 200u)
        << "too little Cyrillic";
    EXPECT_EQ(document_checks::CountInRange(text, U'\u00C0', U'\u00FF'), 0u)
        << "Latin-1 letters: a wrong code page";
    EXPECT_EQ(document_checks::CountInRange(text, U'\uFFFD', U'\uFFFD'), 0u);
    EXPECT_EQ(std::count(text.begin(), text.end(), '?'),
              std::ptrdiff_t(document_checks::QuestionMarksInSource(source)))
        << "a Unicode escape's fallback shows";
    EXPECT_LT(document_checks::LongestHexRun(text), 40u) << "hex data shows";
    const std::vector<std::string> hidden = document_checks::InvisibleStrings(rtf);
    EXPECT_FALSE(hidden.empty()) << "no font table or styles found to check against";
    for (const std::string &name : hidden)
        EXPECT_EQ(text.find(name), std::string::npos) << "shows \"" << name << '"';
}

std::string documentName(const testing::TestParamInfo<Document> &info)
{
    return "DOC_" + std::to_string(info.param.number);
}

INSTANTIATE_TEST_SUITE_P(
    Present, DocumentText,
    testing::ValuesIn(document_checks::PresentDocuments(VELTRANO_DOCUMENTS_DIR)), documentName);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(DocumentText);

TEST(DocumentSet, IsThere)
{
    const auto documents = document_checks::PresentDocuments(VELTRANO_DOCUMENTS_DIR);
    if (documents.empty())
        GTEST_SKIP() << "no documents generated yet under " << VELTRANO_DOCUMENTS_DIR;
    RecordProperty("documents", static_cast<int>(documents.size()));
}

// The checks above are only worth something if they can fail.
TEST(DocumentChecks, FindWhatTheyLookFor)
{
    const std::string rtf =
        "{\\rtf1{\\fonttbl{\\f0\\fcharset204{\\*\\panose 0202}Times New Roman;}{\\f1 Arial;}}"
        "{\\stylesheet{\\s0\\ql Normal;}{\\*\\cs10 Default Paragraph Font;}}"
        "{\\info{\\title T}{\\author Ivan Petrov}{\\operator Op}{\\*\\company Veltrano Ltd}}x}";
    const std::vector<std::string> expected{"0202",        "Times New Roman",        "Arial",
                                            "Normal",      "Default Paragraph Font", "Ivan Petrov",
                                            "Veltrano Ltd"};
    EXPECT_EQ(document_checks::InvisibleStrings(rtf), expected);
    EXPECT_EQ(document_checks::LongestHexRun("ab 0123456789abcdefABCDEF x"), 22u);
    EXPECT_EQ(document_checks::QuestionMarksInSource("# why?\nКак? Так?\n#?\n"), 2u);
    EXPECT_EQ(document_checks::CountInRange("Да é", U'\u0410', U'\u044F'), 2u);
}

} // namespace
