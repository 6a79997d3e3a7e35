// Runs the conformance corpus: small RTF inputs with the reader's expected trace (see
// rtf/trace_sink.h) in corpus.txt, and one case per fixed fault in regressions.txt.
//
// File format: a line "## title" starts a case; the RTF follows (its lines joined with line
// feeds, which RTF ignores) up to a line "--"; the expected trace follows up to a line "==".
// Anything between cases is commentary.

#include "contract_sink.h"

#include "rtf/reader.h"
#include "rtf/trace_sink.h"

#include <gtest/gtest.h>

#include <ostream>

#include <cctype>
#include <fstream>
#include <string>
#include <vector>

namespace {

struct CorpusCase {
    std::string name;
    std::string location; // file:line, for failure messages
    std::string input;
    std::string expected;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const CorpusCase &c, std::ostream *out)
{
    *out << c.name;
}

std::vector<CorpusCase> loadCorpus(const std::string &fileName)
{
    std::vector<CorpusCase> cases;
    std::ifstream file(std::string(VELTRANO_RTF_CORPUS_DIR) + "/" + fileName);
    std::string line;
    int lineNumber = 0;
    enum { Between, Input, Expected } part = Between;
    while (std::getline(file, line)) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        switch (part) {
        case Between:
            if (line.rfind("## ", 0) == 0) {
                CorpusCase &c = cases.emplace_back();
                c.location = fileName + ":" + std::to_string(lineNumber);
                for (const char ch : line.substr(3)) {
                    if (std::isalnum(static_cast<unsigned char>(ch)))
                        c.name += ch;
                    else if (!c.name.empty() && c.name.back() != '_')
                        c.name += '_';
                }
                c.name += "_L" + std::to_string(lineNumber);
                part = Input;
            }
            break;
        case Input:
            if (line == "--") {
                part = Expected;
            } else {
                if (!cases.back().input.empty())
                    cases.back().input += '\n';
                cases.back().input += line;
            }
            break;
        case Expected:
            if (line == "==")
                part = Between;
            else
                cases.back().expected += line + '\n';
            break;
        }
    }
    if (part != Between)
        cases.back().name = "Unterminated_" + cases.back().name;
    return cases;
}

class Corpus : public testing::TestWithParam<CorpusCase> {};

TEST_P(Corpus, ReadsAsExpected)
{
    const CorpusCase &c = GetParam();
    SCOPED_TRACE(c.location);
    ASSERT_EQ(c.name.rfind("Unterminated_", 0), std::string::npos)
        << "case without \"--\" or \"==\"";
    EXPECT_EQ(rtf::Trace(c.input), c.expected) << "input:\n" << c.input;

    rtf_test::ContractSink contract;
    rtf::Read(c.input, contract);
    EXPECT_EQ(contract.violation(), "");
    EXPECT_TRUE(contract.ended());
}

std::string caseName(const testing::TestParamInfo<CorpusCase> &info)
{
    return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(Features, Corpus, testing::ValuesIn(loadCorpus("corpus.txt")), caseName);
INSTANTIATE_TEST_SUITE_P(Regressions, Corpus, testing::ValuesIn(loadCorpus("regressions.txt")),
                         caseName);

// A corpus file that went missing or lost its cases must not pass silently.
TEST(CorpusFiles, HoldCases)
{
    EXPECT_GE(loadCorpus("corpus.txt").size(), 30u);
    EXPECT_GE(loadCorpus("regressions.txt").size(), 1u);
}

} // namespace
