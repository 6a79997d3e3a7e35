#pragma once

#include <string_view>

namespace platform {

// ShellExecute with the default action: asks the desktop to open the file (Windows path) with
// the application registered for its type. On Linux that is `xdg-open`, started detached and
// never waited for. Nothing is reported: a missing opener or file is the desktop's affair.
void ShellOpen(std::string_view path);

} // namespace platform
