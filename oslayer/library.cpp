// Loading libraries and binding symbols by name; the executable's folder; sleep and clock.
#include "oslayer/os.h"

#include <dlfcn.h>
#include <limits.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <mutex>
#include <thread>

namespace os {

// ---- libraries ---------------------------------------------------------------------------

std::string ExecutableDir() {
    char buf[PATH_MAX + 1];
    ssize_t n = readlink("/proc/self/exe", buf, PATH_MAX);
    if (n <= 0) return ".";
    std::string path(buf, static_cast<size_t>(n));
    auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

LibraryHandle LoadLibrary(const char* fileName) {
    if (!fileName || !*fileName) return nullptr;
    const int flags = RTLD_NOW | RTLD_LOCAL;
    if (!std::strchr(fileName, '/')) {
        // A bare name: the executable's folder first (where libboardhid.so sits beside the
        // program), then the system's search path.
        std::string local = ExecutableDir();
        if (local.back() != '/') local += '/';
        local += fileName;
        if (access(local.c_str(), F_OK) == 0) {
            if (void* h = dlopen(local.c_str(), flags)) return h;
        }
    }
    return dlopen(fileName, flags);
}

void* GetProcAddress(LibraryHandle lib, const char* symbol) {
    if (!lib || !symbol || !*symbol) return nullptr;
    return dlsym(lib, symbol);
}

void FreeLibrary(LibraryHandle lib) {
    if (lib) dlclose(lib);
}

// ---- sleep and clock ---------------------------------------------------------------------

namespace {

struct SleeperSlot {
    std::mutex m;
    Sleeper sleeper;  // empty: the real sleep
    // The clock: the steady clock moved on by `ahead` while the real sleep is in place; while a
    // sleeper is replaced, `stood`, which only the sleeps move on.
    Clock::duration ahead{};
    Clock::time_point stood;
};

SleeperSlot& Slot() {
    static SleeperSlot* s = new SleeperSlot;  // never destroyed (used at exit by other libraries)
    return *s;
}

Clock::time_point NowLocked(const SleeperSlot& slot) {
    return slot.sleeper ? slot.stood : Clock::now() + slot.ahead;
}

}  // namespace

void Sleep(int milliseconds) {
    Sleeper s;
    {
        std::lock_guard<std::mutex> lock(Slot().m);
        s = Slot().sleeper;
    }
    if (s) {
        s(milliseconds);
        std::lock_guard<std::mutex> lock(Slot().m);
        if (Slot().sleeper && milliseconds > 0) Slot().stood += std::chrono::milliseconds(milliseconds);
        return;
    }
    if (milliseconds <= 0) {
        std::this_thread::yield();
        return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

Sleeper SetSleeper(Sleeper s) {
    SleeperSlot& slot = Slot();
    std::lock_guard<std::mutex> lock(slot.m);
    const Clock::time_point now = NowLocked(slot);
    if (s && !slot.sleeper) slot.stood = now;
    if (!s && slot.sleeper) slot.ahead = std::max(slot.ahead, now - Clock::now());  // never back
    Sleeper previous = std::move(slot.sleeper);
    slot.sleeper = std::move(s);
    return previous;
}

bool SleeperReplaced() {
    std::lock_guard<std::mutex> lock(Slot().m);
    return static_cast<bool>(Slot().sleeper);
}

Clock::time_point Now() {
    std::lock_guard<std::mutex> lock(Slot().m);
    return NowLocked(Slot());
}

void SleepUntil(Clock::time_point deadline) {
    Clock::duration ahead;
    {
        std::unique_lock<std::mutex> lock(Slot().m);
        if (Slot().sleeper) {
            const Clock::duration left = deadline - Slot().stood;
            lock.unlock();
            if (left > Clock::duration::zero())
                Sleep(static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(left).count()));
            return;
        }
        ahead = Slot().ahead;
    }
    std::this_thread::sleep_until(deadline - ahead);
}

namespace detail {

// A timed wait ran out under a replaced sleeper: the clock moves on by its time.
void ClockRanOut(int milliseconds) {
    std::lock_guard<std::mutex> lock(Slot().m);
    if (Slot().sleeper && milliseconds > 0) Slot().stood += std::chrono::milliseconds(milliseconds);
}

}  // namespace detail

int64_t MonotonicMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Now().time_since_epoch()).count();
}

}  // namespace os
