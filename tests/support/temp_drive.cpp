#include "support/temp_drive.h"

#include "platform/paths.h"

#include <gtest/gtest.h>

#include <stdlib.h>

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace testing_support {

TempDrive::TempDrive()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "veltrano-drive-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed");
    m_root = pattern;
    platform::SetDriveCRootOverride(m_root);
}

TempDrive::~TempDrive()
{
    platform::SetDriveCRootOverride(std::nullopt);
    std::error_code ignored;
    // Read-only files a test left behind must not stop the clean-up.
    for (const auto &entry : std::filesystem::recursive_directory_iterator(m_root, ignored))
        std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(m_root, ignored);
}

std::string ReadBytes(const std::filesystem::path &file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::filesystem::path &file, std::string_view bytes)
{
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

} // namespace testing_support
