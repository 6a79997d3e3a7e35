#include "platform/files.h"

#include "support/temp_drive.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;
using testing_support::ReadBytes;
using testing_support::TempDrive;
using testing_support::WriteBytes;

namespace {

TEST(MoveFile, NeverReplacesAnExistingFile)
{
    TempDrive drive;
    WriteBytes(drive.Root() / "a.rtf", "first");
    WriteBytes(drive.Root() / "b.rtf", "second");
    EXPECT_TRUE(platform::MoveFile("c:\\a.rtf", "c:\\moved.rtf"));
    EXPECT_FALSE(platform::MoveFile("c:\\b.rtf", "c:\\moved.rtf"));
    EXPECT_EQ(ReadBytes(drive.Root() / "moved.rtf"), "first");
    EXPECT_EQ(ReadBytes(drive.Root() / "b.rtf"), "second");
    EXPECT_FALSE(fs::exists(drive.Root() / "a.rtf"));
    EXPECT_FALSE(platform::MoveFile("c:\\a.rtf", "c:\\other.rtf")); // source gone
}

TEST(DeleteFile, RefusesReadOnlyFilesAndFolders)
{
    TempDrive drive;
    WriteBytes(drive.Root() / "ro.rtf", "kept");
    fs::permissions(drive.Root() / "ro.rtf", fs::perms::owner_read);
    fs::create_directory(drive.Root() / "folder");
    EXPECT_FALSE(platform::DeleteFile("c:\\ro.rtf"));
    EXPECT_FALSE(platform::DeleteFile("c:\\folder"));
    EXPECT_FALSE(platform::DeleteFile("c:\\missing.rtf"));
    EXPECT_TRUE(fs::exists(drive.Root() / "ro.rtf"));
    EXPECT_TRUE(fs::exists(drive.Root() / "folder"));
}

TEST(CreateDirectory, MakesOneLevelOnly)
{
    TempDrive drive;
    EXPECT_TRUE(platform::CreateDirectory("C:\\one"));
    EXPECT_FALSE(platform::CreateDirectory("C:\\one"));
    EXPECT_FALSE(platform::CreateDirectory("C:\\two\\three"));
    EXPECT_FALSE(fs::exists(drive.Root() / "two"));
}

TEST(CreateAlways, RefusesWhatWindowsRefuses)
{
    TempDrive drive;
    fs::create_directory(drive.Root() / "folder");
    EXPECT_FALSE(platform::CreateAlways("c:\\folder").IsValid());
    EXPECT_FALSE(platform::CreateAlways("c:\\missing\\r.rtf").IsValid());
    EXPECT_FALSE(platform::CreateAlways("d:\\r.rtf").IsValid());

    // A file held open exclusively by one handle cannot be opened again, and keeps its bytes.
    platform::FileHandle first = platform::CreateAlways("c:\\r.rtf");
    ASSERT_TRUE(first.IsValid());
    EXPECT_EQ(platform::WriteAll(first, "abc", 3), 3u);
    EXPECT_FALSE(platform::CreateAlways("c:\\r.rtf").IsValid());
    EXPECT_EQ(ReadBytes(drive.Root() / "r.rtf"), "abc");
    first.Close();
    EXPECT_TRUE(platform::CreateAlways("c:\\r.rtf").IsValid());
    EXPECT_EQ(fs::file_size(drive.Root() / "r.rtf"), 0u);
}

TEST(ReadWholeFile, ReportsOpenAndReadFailuresApart)
{
    TempDrive drive;
    WriteBytes(drive.Root() / "doc.rtf", std::string("a\0b", 3));
    std::string bytes = "previous";
    EXPECT_EQ(platform::ReadWholeFile("c:\\doc.rtf", bytes), platform::ReadResult::Ok);
    EXPECT_EQ(bytes, std::string("a\0b", 3));

    bytes = "previous";
    EXPECT_EQ(platform::ReadWholeFile("c:\\missing.rtf", bytes), platform::ReadResult::OpenFailed);
    fs::create_directory(drive.Root() / "folder");
    EXPECT_EQ(platform::ReadWholeFile("c:\\folder", bytes), platform::ReadResult::OpenFailed);
    // This process's memory file opens but refuses reads at offset 0: a read that fails.
    fs::create_symlink("/proc/self/mem", drive.Root() / "broken.rtf");
    EXPECT_EQ(platform::ReadWholeFile("c:\\broken.rtf", bytes), platform::ReadResult::ReadFailed);
    EXPECT_EQ(bytes, "previous");
}

} // namespace
