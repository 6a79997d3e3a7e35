#pragma once

// The documents name Windows faces. Arial and Times New Roman find their metric-compatible
// Liberation faces through fontconfig's own aliases; Minion Pro Cyr has no alias and would
// fall to the default sans face, so the program names its stand-ins itself.

namespace quillmar {

// Registers the stand-ins with QFont. Call once, after the application object exists and
// before any document is shown.
void SubstituteDocumentFonts();

} // namespace quillmar
