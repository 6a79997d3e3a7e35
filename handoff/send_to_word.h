#pragma once

// Send to Word: the working file is renamed, inside the working folder, to the selected
// node's title followed by ".rtf", and the desktop is asked to open that file. Nothing is
// tested between the steps and nothing is reported: a failed rename (no working file, or a
// hand-off file of that title already there, which is never replaced) still opens the path.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace handoff {

inline constexpr std::string_view HandOffFolder = "c:\\MORVANTELIKS\\";
inline constexpr std::size_t ShellPathBufferSize = 512;

// The command's texts (UTF-8). Empty except while the command runs.
extern std::string HandOffTitle;
extern std::string HandOffFileName;
extern std::string HandOffPath;
// The path as handed to the shell, terminating zero included; the empty string afterwards.
extern char ShellPathBuffer[ShellPathBufferSize];

// Whether `title` can name a file in the working folder: not empty, no path separator, no
// "..", no control character or character Windows forbids in names, and the whole path with
// its terminating zero fits ShellPathBuffer. Every catalogue title can.
bool IsUsableTitle(std::string_view title);

// Runs the command for the selected node's text; with no node selected, or a title that
// IsUsableTitle refuses, it returns without renaming or opening anything.
void SendToWord(const std::optional<std::string> &selectedNodeText);

} // namespace handoff
