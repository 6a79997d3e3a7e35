#pragma once

// Showing a catalogue entry: a heading empties the viewer; a document is extracted to the
// working file and the viewer loads that file. The display keeps no state of its own.

#include <string>

namespace library {

// What the display needs of the rich-text viewer.
class DocumentViewer {
public:
    virtual ~DocumentViewer() = default;
    virtual void Clear() = 0;
    // Replaces the whole content by the file (Windows path) read as RTF; throws on failure
    // and then leaves the content as it was.
    virtual void LoadFromFile(const std::string &path) = 0;
};

// Loads the working file into the viewer.
void ShowWorkingFile(DocumentViewer &viewer);

// Outside 0..72: nothing. Heading: Clear. Document: ExtractDocument, then ShowWorkingFile.
// Failures propagate; an extraction failure leaves the viewer untouched.
void ShowCatalogueEntry(int index, DocumentViewer &viewer);

} // namespace library
