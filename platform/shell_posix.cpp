#include "shell.h"

#include "paths.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <string>

extern char **environ;

namespace platform {

namespace {

// Resolved before fork: only async-signal-safe calls may follow it in a threaded program.
std::string findOnPath(const char *program)
{
    const char *path = std::getenv("PATH");
    std::string_view rest = path ? path : "/usr/local/bin:/usr/bin:/bin";
    while (true) {
        const std::size_t cut = rest.find(':');
        std::string folder(rest.substr(0, cut));
        std::string candidate = (folder.empty() ? std::string(".") : folder) + "/" + program;
        if (::access(candidate.c_str(), X_OK) == 0)
            return candidate;
        if (cut == std::string_view::npos)
            return {};
        rest.remove_prefix(cut + 1);
    }
}

} // namespace

void ShellOpen(std::string_view path)
{
    const std::string file = HostPath(path).string();
    const std::string opener = findOnPath("xdg-open");
    if (file.empty() || opener.empty())
        return;
    char *argv[] = {const_cast<char *>(opener.c_str()), const_cast<char *>(file.c_str()), nullptr};

    // Fork twice so the opener is adopted by init: we never wait for it and it leaves no zombie.
    const pid_t child = ::fork();
    if (child == 0) {
        ::setsid();
        if (::fork() == 0) {
            ::execve(argv[0], argv, environ);
            ::_exit(127);
        }
        ::_exit(0);
    }
    if (child > 0) {
        while (::waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
        }
    }
}

} // namespace platform
