#include "library/catalogue.h"
#include "library/document_store.h"
#include "platform/errors.h"
#include "platform/resources.h"
#include "support/temp_drive.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;
using library::DocumentCatalogue;
using testing_support::ReadBytes;

namespace {

// Every catalogue document either is embedded byte for byte as its committed file, or, when
// its file does not exist yet, reports the missing resource by name.
TEST(EmbeddedDocuments, EachDocumentExtractsAsItsFile)
{
    testing_support::TempDrive drive;
    library::DocumentStore::PrepareWorkingFolder();
    int embedded = 0;
    for (int index = 0; index < DocumentCatalogue::Count; ++index) {
        const auto name = DocumentCatalogue::ResourceNameAt(index);
        if (!name)
            continue;
        const fs::path source = fs::path(DOCUMENTS_DIR) / (*name + ".rtf");
        if (!fs::exists(source)) {
            EXPECT_THROW(library::DocumentStore::ExtractDocument(*name), platform::EResNotFound);
            continue;
        }
        ++embedded;
        library::DocumentStore::ExtractDocument(*name);
        EXPECT_EQ(ReadBytes(drive.WorkingFile()), ReadBytes(source)) << *name;
    }
    EXPECT_EQ(platform::ExecutableResources().size(), static_cast<std::size_t>(embedded));
    for (const auto &entry : platform::ExecutableResources()) {
        EXPECT_EQ(entry.type, "FILE");
        EXPECT_EQ(entry.language, 0);
    }
}

} // namespace
