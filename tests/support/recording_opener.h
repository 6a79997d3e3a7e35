#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace testing_support {

// Puts a recording `xdg-open` first on PATH for the life of the object. It appends each path
// it is asked to open to a log, one per line.
class RecordingOpener final {
  public:
    explicit RecordingOpener(const std::filesystem::path &folder);
    ~RecordingOpener();
    RecordingOpener(const RecordingOpener &) = delete;
    RecordingOpener &operator=(const RecordingOpener &) = delete;

    // The paths opened so far. Openers run detached, so this first asks for a marker file to
    // be opened and waits (bounded) until it shows in the log; the marker is left out.
    std::vector<std::string> Opened();

    const std::filesystem::path &Folder() const { return m_folder; }

  private:
    std::filesystem::path m_folder;
    std::filesystem::path m_log;
    std::string m_savedPath;
    int m_markers = 0;
};

} // namespace testing_support
