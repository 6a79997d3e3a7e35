#include "library/display.h"

#include "library/document_store.h"
#include "platform/errors.h"
#include "support/temp_drive.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

namespace fs = std::filesystem;
using library::ShowCatalogueEntry;
using testing_support::ReadBytes;
using testing_support::TempDrive;

namespace {

// Records what the display asks of the viewer, and what the working file held at that moment.
class RecordingViewer final : public library::DocumentViewer {
public:
    explicit RecordingViewer(const TempDrive &drive) : m_drive(drive) {}
    void Clear() override { calls.push_back("clear"); }
    void LoadFromFile(const std::string &path) override
    {
        calls.push_back("load " + path);
        loadedBytes = ReadBytes(m_drive.WorkingFile());
    }
    std::vector<std::string> calls;
    std::string loadedBytes;

private:
    const TempDrive &m_drive;
};

class DisplayTest : public testing::Test {
protected:
    void SetUp() override { library::DocumentStore::PrepareWorkingFolder(); }
    TempDrive drive;
    RecordingViewer viewer{drive};
};

TEST_F(DisplayTest, DocumentIsExtractedBeforeItIsLoaded)
{
    ShowCatalogueEntry(2, viewer); // DOC_2
    EXPECT_EQ(viewer.calls, std::vector<std::string>{"load c:\\MORVANTELIKS\\r.rtf"});
    EXPECT_EQ(viewer.loadedBytes, ReadBytes(FIXTURES_DIR "/short.rtf"));
}

TEST_F(DisplayTest, HeadingClearsAndKeepsWorkingFile)
{
    ShowCatalogueEntry(2, viewer);
    for (int heading : {0, 5, 68})
        ShowCatalogueEntry(heading, viewer);
    EXPECT_EQ(viewer.calls.size(), 4u);
    EXPECT_EQ(viewer.calls.back(), "clear");
    EXPECT_EQ(ReadBytes(drive.WorkingFile()), ReadBytes(FIXTURES_DIR "/short.rtf"));
}

TEST_F(DisplayTest, IndexOutsideCatalogueChangesNothing)
{
    ShowCatalogueEntry(2, viewer);
    viewer.calls.clear();
    for (int index : {-1, 73, 1000})
        ShowCatalogueEntry(index, viewer);
    EXPECT_TRUE(viewer.calls.empty());
    EXPECT_EQ(ReadBytes(drive.WorkingFile()), ReadBytes(FIXTURES_DIR "/short.rtf"));
}

TEST_F(DisplayTest, FailedExtractionLeavesViewerUntouched)
{
    fs::remove(drive.WorkingFolder());
    EXPECT_THROW(ShowCatalogueEntry(6, viewer), platform::EResNotFound); // DOC_5: no fixture
    EXPECT_THROW(ShowCatalogueEntry(1, viewer), platform::EFCreateError);
    EXPECT_TRUE(viewer.calls.empty());
}

} // namespace
