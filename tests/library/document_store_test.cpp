#include "library/document_store.h"

#include "platform/errors.h"
#include "support/temp_drive.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <filesystem>

namespace fs = std::filesystem;
using library::DocumentStore::DeleteWorkingFile;
using library::DocumentStore::ExtractDocument;
using library::DocumentStore::PrepareWorkingFolder;
using testing_support::ReadBytes;
using testing_support::TempDrive;
using testing_support::WriteBytes;

namespace {

const std::string kLong = ReadBytes(FIXTURES_DIR "/long.bin");
const std::string kShort = ReadBytes(FIXTURES_DIR "/short.rtf");

// Runs `body` and returns the message of the platform::Exception it throws ("" if none).
template<typename Error, typename Body>
std::string messageOf(Body body)
{
    try {
        body();
    } catch (const Error &error) {
        return error.Message();
    }
    return {};
}

// True when this process holds a descriptor open on `file`.
bool processHoldsOpen(const fs::path &file)
{
    for (const auto &entry : fs::directory_iterator("/proc/self/fd")) {
        std::error_code ignored;
        if (fs::read_symlink(entry.path(), ignored) == file)
            return true;
    }
    return false;
}

class DocumentStoreTest : public testing::Test {
protected:
    void SetUp() override { fs::create_directory(drive.WorkingFolder()); }
    TempDrive drive;
};

TEST_F(DocumentStoreTest, ExtractionWritesExactlyTheResourceBytes)
{
    ASSERT_GT(kLong.size(), 16000u);
    ExtractDocument("DOC_1");
    EXPECT_EQ(ReadBytes(drive.WorkingFile()), kLong);
    EXPECT_FALSE(processHoldsOpen(drive.WorkingFile()));
}

TEST_F(DocumentStoreTest, ShortDocumentAfterLongTruncates)
{
    ExtractDocument("DOC_1");
    ExtractDocument("DOC_2");
    EXPECT_EQ(ReadBytes(drive.WorkingFile()), kShort);
    ExtractDocument("DOC_3");
    EXPECT_TRUE(fs::exists(drive.WorkingFile()));
    EXPECT_EQ(fs::file_size(drive.WorkingFile()), 0u);
}

TEST_F(DocumentStoreTest, MissingResourceLeavesWorkingFileAlone)
{
    ExtractDocument("DOC_2");
    EXPECT_EQ(messageOf<platform::EResNotFound>([] { ExtractDocument("DOC_7"); }),
              "Resource DOC_7 not found");
    EXPECT_EQ(ReadBytes(drive.WorkingFile()), kShort);
}

TEST_F(DocumentStoreTest, ResourceNamesIgnoreCaseLikeTheLoader)
{
    ExtractDocument("doc_2");
    EXPECT_EQ(ReadBytes(drive.WorkingFile()), kShort);
}

TEST_F(DocumentStoreTest, MissingFolderFailsToCreate)
{
    fs::remove(drive.WorkingFolder());
    EXPECT_EQ(messageOf<platform::EFCreateError>([] { ExtractDocument("DOC_1"); }),
              "Cannot create file c:\\MORVANTELIKS\\r.rtf");
    EXPECT_FALSE(fs::exists(drive.WorkingFolder())); // not re-created on demand
}

TEST_F(DocumentStoreTest, ReadOnlyWorkingFileKeepsItsContents)
{
    ExtractDocument("DOC_2");
    fs::permissions(drive.WorkingFile(), fs::perms::owner_read | fs::perms::group_read
                                             | fs::perms::others_read);
    EXPECT_EQ(messageOf<platform::EFCreateError>([] { ExtractDocument("DOC_1"); }),
              "Cannot create file c:\\MORVANTELIKS\\r.rtf");
    EXPECT_EQ(ReadBytes(drive.WorkingFile()), kShort);
    // Start-up cannot remove it either, so the failure persists as on Windows.
    PrepareWorkingFolder();
    EXPECT_EQ(ReadBytes(drive.WorkingFile()), kShort);
}

TEST_F(DocumentStoreTest, ShortWriteRaisesAndLeavesFileClosed)
{
    // A file-size limit makes the kernel stop the write part-way, as a full disk would.
    rlimit saved {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved;
    limited.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    const std::string message = messageOf<platform::EWriteError>([] { ExtractDocument("DOC_1"); });
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, previousHandler);

    EXPECT_EQ(message, "Stream write error");
    EXPECT_EQ(fs::file_size(drive.WorkingFile()), 4096u);
    EXPECT_FALSE(processHoldsOpen(drive.WorkingFile()));
    ExtractDocument("DOC_2"); // and the next selection works again
    EXPECT_EQ(ReadBytes(drive.WorkingFile()), kShort);
}

TEST(PrepareWorkingFolder, DeletesStaleFileAndCreatesFolderSilently)
{
    TempDrive drive;
    PrepareWorkingFolder(); // first run: nothing to delete, folder made
    EXPECT_TRUE(fs::is_directory(drive.WorkingFolder()));
    EXPECT_FALSE(fs::exists(drive.WorkingFile()));

    WriteBytes(drive.WorkingFile(), "stale");
    WriteBytes(drive.WorkingFolder() / "договор_дарения.rtf", "handed off");
    PrepareWorkingFolder(); // later run: folder exists, stale file goes, hand-off stays
    EXPECT_FALSE(fs::exists(drive.WorkingFile()));
    EXPECT_EQ(ReadBytes(drive.WorkingFolder() / "договор_дарения.rtf"), "handed off");

    DeleteWorkingFile(); // nothing there: no error
    EXPECT_TRUE(fs::is_directory(drive.WorkingFolder()));
}

TEST(PrepareWorkingFolder, UncreatableFolderIsSilent)
{
    TempDrive drive;
    WriteBytes(drive.WorkingFolder(), "a file where the folder should be");
    EXPECT_NO_THROW(PrepareWorkingFolder());
    EXPECT_EQ(messageOf<platform::EFCreateError>([] { ExtractDocument("DOC_2"); }),
              "Cannot create file c:\\MORVANTELIKS\\r.rtf");
}

} // namespace
