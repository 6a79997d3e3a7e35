// Start-up time: from starting the program's process to its main window being mapped on the
// X server, watched through the root window's substructure events. Each run gets a fresh HOME.

#include <benchmark/benchmark.h>

#include <xcb/xcb.h>

#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

extern char **environ;

namespace {

void StartUpToWindowMapped(benchmark::State &state)
{
    xcb_connection_t *connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        state.SkipWithError("no X display: run under xvfb-run");
        return;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection);

    std::vector<double> times;
    for (auto _ : state) {
        char home[] = "/tmp/veltrano-bench-XXXXXX";
        if (!mkdtemp(home)) {
            state.SkipWithError("mkdtemp failed");
            break;
        }
        std::vector<std::string> environment{std::string("HOME=") + home, "QT_QPA_PLATFORM=xcb"};
        for (char **entry = environ; *entry; ++entry)
            if (std::string_view(*entry).substr(0, 5) != "HOME=")
                environment.emplace_back(*entry);
        std::vector<char *> envp;
        for (std::string &entry : environment)
            envp.push_back(entry.data());
        envp.push_back(nullptr);
        char program[] = PROGRAM;
        char *argv[] = {program, nullptr};

        const auto started = std::chrono::steady_clock::now();
        pid_t pid = 0;
        if (posix_spawn(&pid, PROGRAM, nullptr, nullptr, argv, envp.data()) != 0) {
            state.SkipWithError("cannot start the program");
            break;
        }
        bool mapped = false;
        while (!mapped) {
            xcb_generic_event_t *event = xcb_wait_for_event(connection);
            if (!event)
                break;
            if ((event->response_type & 0x7f) == XCB_MAP_NOTIFY)
                mapped = !reinterpret_cast<xcb_map_notify_event_t *>(event)->override_redirect;
            free(event);
        }
        const auto shown = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(shown - started).count());
        times.push_back(std::chrono::duration<double, std::milli>(shown - started).count());

        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
        std::filesystem::remove_all(home);
        if (!mapped) {
            state.SkipWithError("lost the X connection");
            break;
        }
    }
    xcb_disconnect(connection);
    // The time column is the mean; the median is steadier on a shared machine.
    if (!times.empty()) {
        std::sort(times.begin(), times.end());
        state.counters["median_ms"] = times[times.size() / 2];
        state.counters["min_ms"] = times.front();
        state.counters["max_ms"] = times.back();
    }
}

BENCHMARK(StartUpToWindowMapped)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(11);

} // namespace

BENCHMARK_MAIN();
