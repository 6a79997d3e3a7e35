#include "support/recording_opener.h"

#include "support/temp_drive.h"

#include "platform/shell.h"

#include <chrono>
#include <cstdlib>
#include <sstream>
#include <thread>

namespace testing_support {

RecordingOpener::RecordingOpener(const std::filesystem::path &folder)
    : m_folder(folder / "opener-bin")
    , m_log(folder / "opened.log")
{
    std::filesystem::create_directories(m_folder);
    WriteBytes(m_folder / "xdg-open",
               "#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" + m_log.string() + "'\n");
    std::filesystem::permissions(m_folder / "xdg-open", std::filesystem::perms::owner_all);
    const char *path = std::getenv("PATH");
    m_savedPath = path ? path : "";
    ::setenv("PATH", (m_folder.string() + ":" + m_savedPath).c_str(), 1);
}

RecordingOpener::~RecordingOpener()
{
    ::setenv("PATH", m_savedPath.c_str(), 1);
}

std::vector<std::string> RecordingOpener::Opened()
{
    const std::string marker = "marker-" + std::to_string(++m_markers);
    platform::ShellOpen("c:\\" + marker);
    std::vector<std::string> lines;
    for (int attempt = 0; attempt < 400; ++attempt) {
        lines.clear();
        bool markerSeen = false;
        std::istringstream log(ReadBytes(m_log));
        for (std::string line; std::getline(log, line);) {
            if (line.ends_with(marker))
                markerSeen = true;
            else if (line.find("/marker-") == std::string::npos)
                lines.push_back(line);
        }
        if (markerSeen) {
            // An opener started just before the marker's may still be on its way.
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            lines.clear();
            std::istringstream again(ReadBytes(m_log));
            for (std::string line; std::getline(again, line);)
                if (line.find("/marker-") == std::string::npos)
                    lines.push_back(line);
            return lines;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    return lines;
}

} // namespace testing_support
