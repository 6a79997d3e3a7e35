#include "display.h"

#include "catalogue.h"
#include "document_store.h"

namespace library {

void ShowWorkingFile(DocumentViewer &viewer)
{
    viewer.LoadFromFile(std::string(WorkingFilePath));
}

void ShowCatalogueEntry(int index, DocumentViewer &viewer)
{
    if (index < 0 || index >= DocumentCatalogue::Count)
        return;
    const auto resourceName = DocumentCatalogue::ResourceNameAt(index);
    if (!resourceName) {
        viewer.Clear();
        return;
    }
    DocumentStore::ExtractDocument(*resourceName);
    ShowWorkingFile(viewer);
}

} // namespace library
