#pragma once

// The embedded documents, and the one working file every shown document passes through.
// Paths are Windows paths; the platform layer maps drive C: to the host.

#include <string>
#include <string_view>

namespace library {

inline constexpr std::string_view DocumentResourceType = "FILE";
inline constexpr std::string_view WorkingFolderPath = "C:\\MORVANTELIKS";
inline constexpr std::string_view WorkingFilePath = "c:\\MORVANTELIKS\\r.rtf";

namespace DocumentStore {

// At start: deletes a stale working file, then creates the working folder. Reports nothing.
void PrepareWorkingFolder();

// Writes the named resource, byte for byte, over the working file and closes it.
// Throws platform::EResNotFound (nothing on disk touched), EFCreateError (the working file
// keeps what it held) or EWriteError (the file is closed, truncated or partly written).
void ExtractDocument(const std::string &resourceName);

// Deletes the working file; a missing file is no error. Reports nothing.
void DeleteWorkingFile();

} // namespace DocumentStore

} // namespace library
