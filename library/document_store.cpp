#include "document_store.h"

#include "platform/errors.h"
#include "platform/files.h"
#include "platform/resources.h"

namespace library::DocumentStore {

void PrepareWorkingFolder()
{
    DeleteWorkingFile();
    platform::CreateDirectory(WorkingFolderPath);
}

void ExtractDocument(const std::string &resourceName)
{
    const auto resource = platform::FindResource(resourceName, DocumentResourceType);
    if (!resource)
        throw platform::EResNotFound(resourceName);

    platform::FileHandle file = platform::CreateAlways(WorkingFilePath);
    if (!file.IsValid())
        throw platform::EFCreateError(std::string(WorkingFilePath));

    // One write straight from the executable's copy; the handle closes on every path.
    if (!resource->empty()
        && platform::WriteAll(file, resource->data(), resource->size()) != resource->size())
        throw platform::EWriteError();
}

void DeleteWorkingFile()
{
    platform::DeleteFile(WorkingFilePath);
}

} // namespace library::DocumentStore
