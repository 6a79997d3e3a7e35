#pragma once

// The drive mapping. The program names its files with Windows paths ("c:\\MORVANTELIKS\\r.rtf",
// UTF-8); on POSIX drive C: (either case) is the user's home folder.

#include <filesystem>
#include <optional>
#include <string_view>

namespace platform {

// The host path for a Windows path on drive C:. Backslashes and slashes separate components,
// as on Windows. A path on
// any other drive, or a relative one, maps to an empty path, which every file call fails on.
std::filesystem::path HostPath(std::string_view windowsPath);

// The folder drive C: stands for: the override when one is set, else $HOME, else the
// password database's home folder.
std::filesystem::path DriveCRoot();

// Lets tests point drive C: at a temporary folder inside the process; nullopt restores HOME.
void SetDriveCRootOverride(std::optional<std::filesystem::path> root);

} // namespace platform
