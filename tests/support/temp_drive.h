#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace testing_support {

// A fresh temporary folder standing in for drive C: for the life of the object.
class TempDrive final {
public:
    TempDrive();
    ~TempDrive();
    TempDrive(const TempDrive &) = delete;
    TempDrive &operator=(const TempDrive &) = delete;

    const std::filesystem::path &Root() const { return m_root; }
    std::filesystem::path WorkingFolder() const { return m_root / "MORVANTELIKS"; }
    std::filesystem::path WorkingFile() const { return WorkingFolder() / "r.rtf"; }

private:
    std::filesystem::path m_root;
};

std::string ReadBytes(const std::filesystem::path &file);
void WriteBytes(const std::filesystem::path &file, std::string_view bytes);

} // namespace testing_support
