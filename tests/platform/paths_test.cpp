#include "platform/paths.h"

#include "support/temp_drive.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace fs = std::filesystem;

namespace {

TEST(HostPath, MapsDriveCToTheHomeFolder)
{
    testing_support::TempDrive drive;
    const fs::path root = drive.Root();
    struct Case {
        const char *windows;
        fs::path host;
    } cases[] = {
        {"C:\\MORVANTELIKS", root / "MORVANTELIKS"},
        {"c:\\MORVANTELIKS\\r.rtf", root / "MORVANTELIKS" / "r.rtf"},
        {"c:\\MORVANTELIKS\\договор_(консорциальное_соглашение).rtf",
         root / "MORVANTELIKS" / fs::path(u8"договор_(консорциальное_соглашение).rtf")},
        {"c:\\MORVANTELIKS\\договор_оказания_спонсорской помощи.rtf",
         root / "MORVANTELIKS" / fs::path(u8"договор_оказания_спонсорской помощи.rtf")},
        {"c:/a/b", root / "a" / "b"},
        {"d:\\MORVANTELIKS", {}},
        {"MORVANTELIKS\\r.rtf", {}},
        {"", {}},
    };
    for (const auto &[windows, host] : cases)
        EXPECT_EQ(platform::HostPath(windows), host) << windows;
}

TEST(HostPath, FollowsHomeWithoutOverride)
{
    const char *saved = std::getenv("HOME");
    const std::string previous = saved ? saved : "";
    setenv("HOME", "/tmp/some-home", 1);
    EXPECT_EQ(platform::HostPath("c:\\MORVANTELIKS\\r.rtf"), fs::path("/tmp/some-home/MORVANTELIKS/r.rtf"));
    setenv("HOME", previous.c_str(), 1);
}

} // namespace
