// The committed documents are exactly what the generator makes of the committed sources.

#include "support/temp_drive.h"
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string quoted(const fs::path &path) { return "'" + path.string() + "'"; }

class Regeneration : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/docgen-regeneration-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        output = pattern;
    }
    void TearDown() override
    {
        std::error_code ignored;
        fs::remove_all(output, ignored);
    }

    fs::path output;
};

TEST_F(Regeneration, CommittedDocumentsMatchTheirSourcesByteForByte)
{
    ASSERT_TRUE(fs::exists(DOCGEN_EXECUTABLE)) << "the generator was not built";
    const fs::path documents = VELTRANO_DOCUMENTS_DIR;
    const std::string command = quoted(DOCGEN_EXECUTABLE) + " --documents " + quoted(documents) + " --output " +
                                quoted(output) + " > " + quoted(output / "log.txt") + " 2>&1";
    const int status = std::system(command.c_str());
    EXPECT_EQ(status, 0) << testing_support::ReadBytes(output / "log.txt");

    int compared = 0;
    for (int n = 1; n <= 70; ++n) {
        const std::string name = "DOC_" + std::to_string(n);
        const bool source = fs::exists(documents / (name + ".txt"));
        const bool committed = fs::exists(documents / (name + ".rtf"));
        EXPECT_EQ(source, committed) << name << (source ? ".rtf is missing: run docgen and commit it"
                                                        : ".rtf has no source");
        if (!source || !committed)
            continue;
        ASSERT_TRUE(fs::exists(output / (name + ".rtf"))) << name << " was not generated";
        const std::string expected = testing_support::ReadBytes(output / (name + ".rtf"));
        const std::string actual = testing_support::ReadBytes(documents / (name + ".rtf"));
        EXPECT_TRUE(actual == expected) << name << ".rtf differs from what docgen makes of " << name
                                        << ".txt (" << actual.size() << " bytes committed, " << expected.size()
                                        << " generated): regenerate it";
        ++compared;
    }
    std::cout << compared << " document(s) compared\n";
}

} // namespace
