#pragma once

// Files with the Windows semantics the program relies on. Paths are Windows paths (UTF-8),
// mapped by HostPath. A file with no write permission bit counts as read-only for everyone,
// root included, as the Windows read-only attribute does.

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// An open file; closed by Close() or when it goes out of scope.
class FileHandle final {
public:
    FileHandle() = default;
    explicit FileHandle(int fd) : m_fd(fd) {}
    FileHandle(FileHandle &&other) noexcept : m_fd(other.m_fd) { other.m_fd = -1; }
    FileHandle &operator=(FileHandle &&other) noexcept;
    FileHandle(const FileHandle &) = delete;
    FileHandle &operator=(const FileHandle &) = delete;
    ~FileHandle() { Close(); }

    bool IsValid() const { return m_fd >= 0; }
    int Descriptor() const { return m_fd; }
    void Close();

private:
    int m_fd = -1;
};

// CreateFile with CREATE_ALWAYS, read/write, no sharing: creates the file or truncates it to
// length 0. Invalid when the folder is missing, the file is read-only or a folder, or another
// process of ours holds it open.
FileHandle CreateAlways(std::string_view path);

// WriteFile of the whole buffer: keeps writing until every byte is written or the system
// refuses. Returns the number of bytes written.
std::size_t WriteAll(FileHandle &file, const void *data, std::size_t size);

// DeleteFile: false when the file is missing, read-only or a folder.
bool DeleteFile(std::string_view path);

// CreateDirectory: one level, default permissions; false when it exists or cannot be made.
bool CreateDirectory(std::string_view path);

// MoveFile: false when `from` is missing or `to` exists; an existing file is never replaced.
bool MoveFile(std::string_view from, std::string_view to);

enum class ReadResult { Ok, OpenFailed, ReadFailed };

// Opens the file letting others read but not write it, reads it whole into `bytes` and
// closes it before returning. `bytes` is untouched unless the result is Ok.
ReadResult ReadWholeFile(std::string_view path, std::string &bytes);

} // namespace platform
