#include "files.h"

#include "paths.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace platform {

namespace {

constexpr mode_t kAnyWriteBit = S_IWUSR | S_IWGRP | S_IWOTH;

bool isReadOnly(const struct stat &info)
{
    return (info.st_mode & kAnyWriteBit) == 0;
}

} // namespace

FileHandle &FileHandle::operator=(FileHandle &&other) noexcept
{
    if (this != &other) {
        Close();
        m_fd = other.m_fd;
        other.m_fd = -1;
    }
    return *this;
}

void FileHandle::Close()
{
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

FileHandle CreateAlways(std::string_view path)
{
    const std::filesystem::path host = HostPath(path);
    if (host.empty())
        return {};
    struct stat info {};
    if (::stat(host.c_str(), &info) == 0 && (isReadOnly(info) || S_ISDIR(info.st_mode)))
        return {};
    // Truncate only once the lock is ours, so a refused open leaves the old contents.
    FileHandle file(::open(host.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666));
    if (!file.IsValid())
        return {};
    if (::flock(file.Descriptor(), LOCK_EX | LOCK_NB) != 0)
        return {};
    if (::fstat(file.Descriptor(), &info) == 0 && S_ISREG(info.st_mode)
        && ::ftruncate(file.Descriptor(), 0) != 0)
        return {};
    return file;
}

std::size_t WriteAll(FileHandle &file, const void *data, std::size_t size)
{
    const auto *bytes = static_cast<const unsigned char *>(data);
    std::size_t written = 0;
    while (written < size) {
        const ssize_t n = ::write(file.Descriptor(), bytes + written, size - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        written += static_cast<std::size_t>(n);
    }
    return written;
}

bool DeleteFile(std::string_view path)
{
    const std::filesystem::path host = HostPath(path);
    struct stat info {};
    if (host.empty() || ::lstat(host.c_str(), &info) != 0 || S_ISDIR(info.st_mode)
        || (S_ISREG(info.st_mode) && isReadOnly(info)))
        return false;
    return ::unlink(host.c_str()) == 0;
}

bool CreateDirectory(std::string_view path)
{
    const std::filesystem::path host = HostPath(path);
    return !host.empty() && ::mkdir(host.c_str(), 0777) == 0;
}

bool MoveFile(std::string_view from, std::string_view to)
{
    const std::filesystem::path source = HostPath(from);
    const std::filesystem::path target = HostPath(to);
    if (source.empty() || target.empty())
        return false;
    if (::renameat2(AT_FDCWD, source.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // File systems without RENAME_NOREPLACE: link() refuses an existing target too.
    if (::link(source.c_str(), target.c_str()) != 0)
        return false;
    ::unlink(source.c_str());
    return true;
}

ReadResult ReadWholeFile(std::string_view path, std::string &bytes)
{
    const std::filesystem::path host = HostPath(path);
    if (host.empty())
        return ReadResult::OpenFailed;
    FileHandle file(::open(host.c_str(), O_RDONLY | O_CLOEXEC));
    if (!file.IsValid())
        return ReadResult::OpenFailed;
    struct stat info {};
    if (::fstat(file.Descriptor(), &info) != 0 || S_ISDIR(info.st_mode)
        || ::flock(file.Descriptor(), LOCK_SH | LOCK_NB) != 0)
        return ReadResult::OpenFailed;

    std::string content;
    if (S_ISREG(info.st_mode))
        content.reserve(static_cast<std::size_t>(info.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(file.Descriptor(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return ReadResult::ReadFailed;
        if (n == 0)
            break;
        content.append(buffer, static_cast<std::size_t>(n));
    }
    bytes = std::move(content);
    return ReadResult::Ok;
}

} // namespace platform
