// Operating-system services used by codecbench and libboardhid.so.
//
// This library (libcodecbench-os.so) is shared by the program and by libboardhid.so, so that a
// named event created on one side is the same object on the other: the registry of named
// objects lives here, once per process.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#define CB_OS_API __attribute__((visibility("default")))

namespace os {

// ---- waits -------------------------------------------------------------------------------
inline constexpr int WAIT_OBJECT_0 = 0;
inline constexpr int WAIT_TIMEOUT = 258;
inline constexpr int WAIT_FAILED = -1;
inline constexpr int INFINITE = -1;

// ---- named manual-reset (or auto-reset) events ------------------------------------------
// Handles are opaque; each Create/Open returns a new handle to the shared object, which lives
// while any handle to it is open. A null name makes an unnamed event.
struct Event;
using EventHandle = Event*;

// Creates the named event, or opens it when it exists already (then manualReset and
// initialState are ignored, as with the platform's create-or-open). Null on failure.
CB_OS_API EventHandle CreateEvent(const char* name, bool manualReset, bool initialState);
// Opens an existing named event; null when none exists.
CB_OS_API EventHandle OpenEvent(const char* name);
CB_OS_API bool SetEvent(EventHandle h);
CB_OS_API bool ResetEvent(EventHandle h);
// Waits up to timeoutMs (INFINITE waits forever). WAIT_OBJECT_0, WAIT_TIMEOUT or WAIT_FAILED.
// An auto-reset event is reset by the wait that returns WAIT_OBJECT_0.
CB_OS_API int WaitForEvent(EventHandle h, int timeoutMs);
// Whether the event is signalled, without waiting or resetting it.
CB_OS_API bool EventIsSet(EventHandle h);
CB_OS_API void CloseEvent(EventHandle h);

// ---- semaphores --------------------------------------------------------------------------
struct Semaphore;
using SemaphoreHandle = Semaphore*;
CB_OS_API SemaphoreHandle CreateSemaphore(int initialCount, int maximumCount);
// WAIT_OBJECT_0 when a count was taken, WAIT_TIMEOUT, or WAIT_FAILED (null handle).
CB_OS_API int WaitForSemaphore(SemaphoreHandle h, int timeoutMs);
// Returns false when the count is already at its maximum (nothing changes then).
CB_OS_API bool ReleaseSemaphore(SemaphoreHandle h);
CB_OS_API void CloseSemaphore(SemaphoreHandle h);

// Work under way in the process that will still signal an event or semaphore (the replies the
// emulated board owes, the device link's listener handing a report on), told by probes. Under a
// replaced sleeper a timed wait does not run out while a probe says some is under way (for at
// most 10 s), so the machine's speed never decides that a reply did not come; when it does run
// out, the clock moves on by the wait's time. Returns the probe's id.
using WorkProbe = std::function<bool()>;
CB_OS_API int AddWorkProbe(WorkProbe probe);
CB_OS_API void RemoveWorkProbe(int id);

// ---- libraries ---------------------------------------------------------------------------
using LibraryHandle = void*;
// Loads a shared library by file name. A bare name is looked for first in the folder of the
// running executable, then through the system's search path. Null on failure.
CB_OS_API LibraryHandle LoadLibrary(const char* fileName);
CB_OS_API void* GetProcAddress(LibraryHandle lib, const char* symbol);
CB_OS_API void FreeLibrary(LibraryHandle lib);
// The folder of the running executable (no trailing slash).
CB_OS_API std::string ExecutableDir();

// ---- sleep and clock ---------------------------------------------------------------------
// Sleep goes through a replaceable sleeper so tests can make the board's fixed waits instant.
using Sleeper = std::function<void(int milliseconds)>;
CB_OS_API void Sleep(int milliseconds);
// Installs a sleeper (an empty function restores the real one). Returns the previous one.
CB_OS_API Sleeper SetSleeper(Sleeper s);
// True while a sleeper other than the real sleep is installed.
CB_OS_API bool SleeperReplaced();

// The clock every wait's deadline reads. With the real sleep it runs with the steady clock;
// while a sleeper is replaced (tests, benchmarks) it stands still but for the sleeps: each Sleep
// moves it on by the milliseconds asked, so a wait made of instant sleeps takes its whole length
// on it however slow or loaded the machine is. It never goes back.
using Clock = std::chrono::steady_clock;
CB_OS_API Clock::time_point Now();
// Sleeps until Now() reaches `deadline`: the real sleep wakes at the deadline however late an
// earlier slice woke; a replaced sleeper is asked for the whole milliseconds left (rounded up).
CB_OS_API void SleepUntil(Clock::time_point deadline);
// Milliseconds of Now().
CB_OS_API int64_t MonotonicMs();

// ---- thread pool -------------------------------------------------------------------------
class CB_OS_API ThreadPool {
public:
    explicit ThreadPool(int threads);
    ~ThreadPool();  // waits for the running tasks, drops the queued ones
    ThreadPool(const ThreadPool&) = delete;
    ThreadPool& operator=(const ThreadPool&) = delete;
    // Queues a task; false when the pool is shutting down.
    bool Schedule(std::function<void()> task);
    int ThreadCount() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// ---- process-wide service registry -------------------------------------------------------
// Lets a shared library offer an object to the process without exporting a symbol for it
// (libboardhid.so publishes its emulated board here for tests).
CB_OS_API void PublishService(const char* name, void* object);
CB_OS_API void* FindService(const char* name);

// ---- device arrival and removal ----------------------------------------------------------
inline constexpr unsigned WM_DEVICECHANGE = 0x219;
inline constexpr unsigned DBT_DEVICEARRIVAL = 0x8000;
inline constexpr unsigned DBT_DEVICEREMOVECOMPLETE = 0x8004;

// A device-change message as the shell's window procedure receives it: the message number,
// the event code and the device-interface path ("\\?\HID#VID_B7C4&PID_9A2E#...").
using DeviceChangeHandler =
    std::function<void(unsigned message, unsigned eventCode, const std::string& devicePath)>;

// Watches the hidraw subsystem through a libudev monitor. Arrival and removal of a device with
// the given USB vendor and product id produce one call of the handler from Dispatch(); other
// devices produce nothing. Dispatch() runs on whatever thread polls fd() (the UI thread).
class CB_OS_API DeviceMonitor {
public:
    DeviceMonitor(uint16_t vendorId, uint16_t productId, DeviceChangeHandler handler);
    ~DeviceMonitor();
    DeviceMonitor(const DeviceMonitor&) = delete;
    DeviceMonitor& operator=(const DeviceMonitor&) = delete;
    bool Ok() const;      // false when udev could not be reached (the program runs on without it)
    int fd() const;       // readable when a notice is pending; -1 when !Ok()
    void Dispatch();      // reads the pending notices and calls the handler for matching ones
    // Builds the device path the window procedure sees for a board with these ids.
    static std::string DevicePath(uint16_t vendorId, uint16_t productId, const std::string& instance);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// Delivers an arrival or removal notice to every live DeviceMonitor as if udev had reported it
// (through the same fd()/Dispatch() path). The emulated board's plug and unplug use it.
CB_OS_API void PostDeviceNotice(bool arrival, uint16_t vendorId, uint16_t productId,
                                const std::string& instance);

}  // namespace os
