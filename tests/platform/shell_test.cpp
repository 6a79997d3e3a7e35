#include "platform/shell.h"

#include "support/temp_drive.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

namespace fs = std::filesystem;
using testing_support::ReadBytes;
using testing_support::WriteBytes;

namespace {

// A recording xdg-open first on PATH. It waits (bounded) for a file the test writes only
// after ShellOpen has returned, so an opener that was waited for would record "waited".
TEST(ShellOpen, StartsTheOpenerDetachedWithTheHostPath)
{
    testing_support::TempDrive drive;
    const fs::path bin = drive.Root() / "bin";
    fs::create_directory(bin);
    const fs::path log = drive.Root() / "opened.log";
    WriteBytes(bin / "xdg-open",
               "#!/bin/sh\n"
               "for i in $(seq 1 100); do [ -e \"" + (drive.Root() / "go").string() + "\" ] && break; sleep 0.05; done\n"
               "if [ -e \"" + (drive.Root() / "go").string() + "\" ]; then state=detached; else state=waited; fi\n"
               "printf '%s %s\\n' \"$state\" \"$*\" >> \"" + log.string() + "\"\n");
    fs::permissions(bin / "xdg-open", fs::perms::owner_all);
    const std::string savedPath = std::getenv("PATH");
    setenv("PATH", (bin.string() + ":" + savedPath).c_str(), 1);

    platform::ShellOpen("c:\\MORVANTELIKS\\договор_дарения.rtf");
    WriteBytes(drive.Root() / "go", "");
    setenv("PATH", savedPath.c_str(), 1);

    for (int i = 0; i < 200 && ReadBytes(log).empty(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(ReadBytes(log), "detached " + (drive.Root() / "MORVANTELIKS" / "договор_дарения.rtf").string() + "\n");
}

TEST(ShellOpen, NoOpenerIsNoError)
{
    testing_support::TempDrive drive;
    const std::string savedPath = std::getenv("PATH");
    setenv("PATH", drive.Root().c_str(), 1);
    EXPECT_NO_THROW(platform::ShellOpen("c:\\MORVANTELIKS\\x.rtf"));
    setenv("PATH", savedPath.c_str(), 1);
}

} // namespace
