#include "interrupt_cleanup.h"

#ifdef _WIN32

int WatchTemporaryFile(const std::filesystem::path &)
{
    return -1;
}

void UnwatchTemporaryFile(int) { }

#else

#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <mutex>
#include <unistd.h>

namespace {

constexpr std::size_t PathCapacity = 4096;

// The path is written before `armed` is set and read by the handler only while it is set, so the
// handler sees whole paths only.
struct TSlot
{
    std::atomic<bool> used {false};
    std::atomic<bool> armed {false};
    char path[PathCapacity] {};
};

std::array<TSlot, 16> g_slots;
constexpr std::array<int, 3> WatchedSignals = {SIGINT, SIGTERM, SIGHUP};
std::array<struct sigaction, 3> g_previous {};
std::array<bool, 3> g_installed {};
std::mutex g_mutex;
int g_watchers = 0;

extern "C" void RemoveTemporariesAndRaise(int signal)
{
    const int savedErrno = errno;
    for (TSlot &slot : g_slots) {
        if (slot.armed.load())
            unlink(slot.path);
    }
    for (std::size_t i = 0; i < WatchedSignals.size(); ++i) {
        if (WatchedSignals[i] == signal)
            sigaction(signal, &g_previous[i], nullptr);
    }
    // Delivered with the default action as soon as the handler returns.
    raise(signal);
    errno = savedErrno;
}

void InstallHandlers()
{
    for (std::size_t i = 0; i < WatchedSignals.size(); ++i) {
        struct sigaction current
        { };
        g_installed[i] = false;
        if (sigaction(WatchedSignals[i], nullptr, &current) != 0 || current.sa_handler != SIG_DFL
            || (current.sa_flags & SA_SIGINFO))
            continue;
        struct sigaction handler
        { };
        handler.sa_handler = RemoveTemporariesAndRaise;
        sigemptyset(&handler.sa_mask);
        g_installed[i] = sigaction(WatchedSignals[i], &handler, &g_previous[i]) == 0;
    }
}

void RestoreHandlers()
{
    for (std::size_t i = 0; i < WatchedSignals.size(); ++i) {
        if (g_installed[i])
            sigaction(WatchedSignals[i], &g_previous[i], nullptr);
        g_installed[i] = false;
    }
}

} // namespace

int WatchTemporaryFile(const std::filesystem::path &path)
{
    const std::string &text = path.native();
    if (text.size() >= PathCapacity)
        return -1;
    for (std::size_t i = 0; i < g_slots.size(); ++i) {
        bool expected = false;
        if (!g_slots[i].used.compare_exchange_strong(expected, true))
            continue;
        std::memcpy(g_slots[i].path, text.c_str(), text.size() + 1);
        g_slots[i].armed.store(true);
        const std::lock_guard lock(g_mutex);
        if (g_watchers++ == 0)
            InstallHandlers();
        return static_cast<int>(i);
    }
    return -1;
}

void UnwatchTemporaryFile(int slot)
{
    if (slot < 0 || slot >= static_cast<int>(g_slots.size()))
        return;
    g_slots[slot].armed.store(false);
    g_slots[slot].used.store(false);
    const std::lock_guard lock(g_mutex);
    if (--g_watchers == 0)
        RestoreHandlers();
}

#endif
