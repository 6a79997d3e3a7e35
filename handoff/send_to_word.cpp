#include "send_to_word.h"

#include "library/document_store.h"
#include "platform/files.h"
#include "platform/shell.h"

#include <cstring>

namespace handoff {

std::string HandOffTitle;
std::string HandOffFileName;
std::string HandOffPath;
char ShellPathBuffer[ShellPathBufferSize] = {};

namespace {

constexpr std::string_view kExtension = ".rtf";

void emptyTexts()
{
    HandOffPath.clear();
    HandOffTitle.clear();
    HandOffFileName.clear();
    ShellPathBuffer[0] = '\0';
}

} // namespace

bool IsUsableTitle(std::string_view title)
{
    if (title.empty() || title.find("..") != std::string_view::npos)
        return false;
    // The same check on every host: a name Windows refuses is refused here too.
    for (const char c : title) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f || std::strchr("\\/<>:\"|?*", c))
            return false;
    }
    return HandOffFolder.size() + title.size() + kExtension.size() + 1 <= ShellPathBufferSize;
}

void SendToWord(const std::optional<std::string> &selectedNodeText)
{
    if (!selectedNodeText || !IsUsableTitle(*selectedNodeText))
        return;

    HandOffTitle = *selectedNodeText;
    HandOffPath = HandOffFolder;
    HandOffFileName = HandOffTitle + std::string(kExtension);
    HandOffPath += HandOffFileName;

    platform::MoveFile(library::WorkingFilePath, HandOffPath);

    // IsUsableTitle has bounded the length, terminating zero included.
    std::memcpy(ShellPathBuffer, HandOffPath.c_str(), HandOffPath.size() + 1);
    platform::ShellOpen(ShellPathBuffer);

    emptyTexts();
}

} // namespace handoff
