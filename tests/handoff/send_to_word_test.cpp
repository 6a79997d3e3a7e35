#include "handoff/send_to_word.h"

#include "library/catalogue.h"
#include "library/document_store.h"
#include "support/recording_opener.h"
#include "support/temp_drive.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using handoff::SendToWord;
using library::DocumentStore::ExtractDocument;
using testing_support::ReadBytes;
using Paths = std::vector<std::string>;

namespace {

class SendToWordTest : public testing::Test {
  protected:
    void SetUp() override { library::DocumentStore::PrepareWorkingFolder(); }

    std::string handOffFile(const std::string &title) const
    {
        return (drive.WorkingFolder() / (title + ".rtf")).string();
    }
    // Every file in the drive, the working folder's included, by path relative to the drive.
    std::vector<std::string> filesOnDrive() const
    {
        std::vector<std::string> files;
        for (const auto &entry : fs::recursive_directory_iterator(drive.Root()))
            if (entry.is_regular_file() && entry.path().parent_path() != opener.Folder()
                && entry.path().filename() != "opened.log")
                files.push_back(fs::relative(entry.path(), drive.Root()).string());
        std::sort(files.begin(), files.end());
        return files;
    }
    void expectTextsEmpty() const
    {
        EXPECT_EQ(handoff::HandOffTitle, "");
        EXPECT_EQ(handoff::HandOffFileName, "");
        EXPECT_EQ(handoff::HandOffPath, "");
        EXPECT_STREQ(handoff::ShellPathBuffer, "");
    }

    testing_support::TempDrive drive;
    testing_support::RecordingOpener opener{drive.Root()};
    const std::string shortBytes = ReadBytes(FIXTURES_DIR "/short.rtf");
    const std::string longBytes = ReadBytes(FIXTURES_DIR "/long.bin");
};

TEST_F(SendToWordTest, ShownDocumentBecomesTheHandOffFileAndIsOpened)
{
    ExtractDocument("DOC_2");
    SendToWord("договор_дарения");

    EXPECT_FALSE(fs::exists(drive.WorkingFile()));
    EXPECT_EQ(ReadBytes(handOffFile("договор_дарения")), shortBytes);
    EXPECT_EQ(opener.Opened(), Paths{handOffFile("договор_дарения")});
    expectTextsEmpty();
}

TEST_F(SendToWordTest, SecondTimeInARowReopensTheFirstHandOff)
{
    ExtractDocument("DOC_2");
    SendToWord("договор_мены");
    SendToWord("договор_мены");

    EXPECT_FALSE(fs::exists(drive.WorkingFile()));
    EXPECT_EQ(ReadBytes(handOffFile("договор_мены")), shortBytes);
    EXPECT_EQ(opener.Opened(), Paths(2, handOffFile("договор_мены")));
    expectTextsEmpty();
}

TEST_F(SendToWordTest, ExistingHandOffFileIsNeverReplaced)
{
    ExtractDocument("DOC_1");
    SendToWord("договор_залога");
    ExtractDocument("DOC_2"); // the working file is back, with other bytes
    SendToWord("договор_залога");

    EXPECT_EQ(ReadBytes(drive.WorkingFile()), shortBytes);
    EXPECT_EQ(ReadBytes(handOffFile("договор_залога")), longBytes);
    EXPECT_EQ(opener.Opened(), Paths(2, handOffFile("договор_залога")));
}

TEST_F(SendToWordTest, WithoutWorkingFileThePathIsOpenedAllTheSame)
{
    SendToWord("договор_поручения");
    EXPECT_EQ(filesOnDrive(), std::vector<std::string>{});
    EXPECT_EQ(opener.Opened(), Paths{handOffFile("договор_поручения")});
}

// Titles are used exactly as the tree holds them: a heading's text, blanks, parentheses.
class TitleTest : public SendToWordTest, public testing::WithParamInterface<const char *> {};

TEST_P(TitleTest, TitleNamesTheHandOffFileUnchanged)
{
    const std::string title = GetParam();
    ExtractDocument("DOC_2");
    SendToWord(title);
    EXPECT_EQ(filesOnDrive(), std::vector<std::string>{"MORVANTELIKS/" + title + ".rtf"});
    EXPECT_EQ(ReadBytes(handOffFile(title)), shortBytes);
    EXPECT_EQ(opener.Opened(), Paths{handOffFile(title)});
}

INSTANTIATE_TEST_SUITE_P(Titles, TitleTest,
                         testing::Values("Преддоговорные документы",
                                         "договор_оказания_спонсорской помощи",
                                         "договор_(консорциальное_соглашение)"));

TEST_F(SendToWordTest, NoNodeSelectedDoesNothing)
{
    ExtractDocument("DOC_2");
    SendToWord(std::nullopt);
    EXPECT_EQ(filesOnDrive(), std::vector<std::string>{"MORVANTELIKS/r.rtf"});
    EXPECT_EQ(opener.Opened(), Paths{});
    expectTextsEmpty();
}

// A title that could leave the working folder, or could not be a file name, or would not fit
// the path buffer, renames and opens nothing.
class RefusedTitleTest : public SendToWordTest, public testing::WithParamInterface<std::string> {};

TEST_P(RefusedTitleTest, NothingIsRenamedOrOpened)
{
    fs::create_directory(drive.WorkingFolder() / "sub");
    ExtractDocument("DOC_2");
    EXPECT_FALSE(handoff::IsUsableTitle(GetParam()));
    SendToWord(GetParam());
    EXPECT_EQ(filesOnDrive(), std::vector<std::string>{"MORVANTELIKS/r.rtf"});
    EXPECT_EQ(ReadBytes(drive.WorkingFile()), shortBytes);
    EXPECT_EQ(opener.Opened(), Paths{});
    expectTextsEmpty();
}

INSTANTIATE_TEST_SUITE_P(
    Titles, RefusedTitleTest,
    testing::Values(std::string(), std::string(".."), std::string("../договор"),
                    std::string("..\\договор"), std::string("sub/договор"),
                    std::string("sub\\договор"), std::string("/tmp/x"), std::string("c:\\x"),
                    std::string("a\0b", 3), std::string("line\nbreak"), std::string("a:b"),
                    std::string("what?"), std::string("a*"), std::string("<a>"), std::string("a|b"),
                    std::string("\"a\""), std::string(handoff::ShellPathBufferSize - 20, 'x')));

TEST_F(SendToWordTest, LongestTitleThatFitsIsOpenedWhole)
{
    // Folder, title, ".rtf" and the terminating zero fill the buffer exactly.
    const std::string title(handoff::ShellPathBufferSize - handoff::HandOffFolder.size() - 5, 'x');
    ASSERT_TRUE(handoff::IsUsableTitle(title));
    ASSERT_FALSE(handoff::IsUsableTitle(title + "x"));
    SendToWord(title);
    EXPECT_EQ(opener.Opened(), Paths{handOffFile(title)});
    expectTextsEmpty();
}

TEST(HandOffTitles, EveryCatalogueTitleIsUsable)
{
    for (const library::CatalogueEntry &entry : library::DocumentCatalogue::Entries())
        EXPECT_TRUE(handoff::IsUsableTitle(entry.Title)) << entry.Title;
}

} // namespace
