// Named (and unnamed) events and counting semaphores.
#include "oslayer/os.h"

#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <string>

namespace os {

namespace detail {
void ClockRanOut(int milliseconds);  // library.cpp
}

namespace {

struct EventObject {
    std::mutex m;
    std::condition_variable cv;
    bool manualReset = true;
    bool signalled = false;
};

// One event object with the count of open handles to it (guarded by the registry's mutex).
struct SharedEvent {
    EventObject obj;
    std::string name;  // empty for an unnamed event
    int handles = 0;
};

// The process-wide registry of named events. When the last handle to an event closes, the
// object is destroyed and its name disappears from here.
struct EventRegistry {
    std::mutex m;
    std::map<std::string, SharedEvent*> named;
};

EventRegistry& Registry() {
    // Never destroyed: handles may still be closed from other libraries' exit-time destructors.
    static EventRegistry* r = new EventRegistry;
    return *r;
}

struct Probes {
    std::mutex m;
    int nextId = 1;
    std::map<int, WorkProbe> probes;
};

Probes& WorkProbes() {
    static Probes* p = new Probes;  // never destroyed (used at exit by other libraries)
    return *p;
}

bool WorkUnderWay() {
    Probes& p = WorkProbes();
    std::lock_guard<std::mutex> lock(p.m);
    for (const auto& [id, probe] : p.probes)
        if (probe()) return true;
    return false;
}

bool WaitFor(std::unique_lock<std::mutex>& lock, std::condition_variable& cv, int timeoutMs,
             const std::function<bool()>& ready) {
    if (timeoutMs < 0) {  // INFINITE (any negative value waits forever)
        cv.wait(lock, ready);
        return true;
    }
    if (cv.wait_for(lock, std::chrono::milliseconds(timeoutMs), ready)) return true;
    if (timeoutMs == 0 || !SleeperReplaced()) return false;  // a poll waits for nothing
    // The tests' clock: not run out while work under way will still signal. The probes are asked
    // without this object's lock, as the work takes it to signal.
    for (int turns = 0; turns < 2000; ++turns) {
        lock.unlock();
        const bool busy = WorkUnderWay();
        lock.lock();
        if (ready()) return true;
        if (!busy) break;
        if (cv.wait_for(lock, std::chrono::milliseconds(5), ready)) return true;
    }
    lock.unlock();
    detail::ClockRanOut(timeoutMs);
    lock.lock();
    return ready();
}

}  // namespace

struct Event {
    SharedEvent* shared;
};

struct Semaphore {
    std::mutex m;
    std::condition_variable cv;
    int count = 0;
    int maximum = 1;
};

namespace {

EventHandle NewHandle(SharedEvent* s) {
    ++s->handles;  // registry mutex held
    return new Event{s};
}

}  // namespace

EventHandle CreateEvent(const char* name, bool manualReset, bool initialState) {
    auto& reg = Registry();
    std::lock_guard<std::mutex> lock(reg.m);
    if (name && *name) {
        auto& named = reg.named;
        auto it = named.find(name);
        if (it != named.end()) return NewHandle(it->second);  // open: flags ignored
        auto* s = new SharedEvent;
        s->obj.manualReset = manualReset;
        s->obj.signalled = initialState;
        s->name = name;
        named.emplace(s->name, s);
        return NewHandle(s);
    }
    auto* s = new SharedEvent;
    s->obj.manualReset = manualReset;
    s->obj.signalled = initialState;
    return NewHandle(s);
}

EventHandle OpenEvent(const char* name) {
    if (!name || !*name) return nullptr;
    auto& reg = Registry();
    std::lock_guard<std::mutex> lock(reg.m);
    auto& named = reg.named;
    auto it = named.find(name);
    if (it == named.end()) return nullptr;
    return NewHandle(it->second);
}

bool SetEvent(EventHandle h) {
    if (!h) return false;
    EventObject& e = h->shared->obj;
    {
        std::lock_guard<std::mutex> lock(e.m);
        e.signalled = true;
    }
    // Every waiter re-checks under the mutex; an auto-reset event is taken by one of them.
    e.cv.notify_all();
    return true;
}

bool ResetEvent(EventHandle h) {
    if (!h) return false;
    EventObject& e = h->shared->obj;
    std::lock_guard<std::mutex> lock(e.m);
    e.signalled = false;
    return true;
}

int WaitForEvent(EventHandle h, int timeoutMs) {
    if (!h) return WAIT_FAILED;
    EventObject& e = h->shared->obj;
    std::unique_lock<std::mutex> lock(e.m);
    if (!WaitFor(lock, e.cv, timeoutMs, [&] { return e.signalled; })) return WAIT_TIMEOUT;
    if (!e.manualReset) e.signalled = false;
    return WAIT_OBJECT_0;
}

bool EventIsSet(EventHandle h) {
    if (!h) return false;
    EventObject& e = h->shared->obj;
    std::lock_guard<std::mutex> lock(e.m);
    return e.signalled;
}

void CloseEvent(EventHandle h) {
    if (!h) return;
    SharedEvent* s = h->shared;
    delete h;
    auto& reg = Registry();
    std::lock_guard<std::mutex> lock(reg.m);
    if (--s->handles > 0) return;
    if (!s->name.empty()) reg.named.erase(s->name);
    delete s;
}

// ---- semaphores --------------------------------------------------------------------------

SemaphoreHandle CreateSemaphore(int initialCount, int maximumCount) {
    if (maximumCount <= 0 || initialCount < 0 || initialCount > maximumCount) return nullptr;
    auto* s = new Semaphore;
    s->count = initialCount;
    s->maximum = maximumCount;
    return s;
}

int WaitForSemaphore(SemaphoreHandle h, int timeoutMs) {
    if (!h) return WAIT_FAILED;
    std::unique_lock<std::mutex> lock(h->m);
    if (!WaitFor(lock, h->cv, timeoutMs, [&] { return h->count > 0; })) return WAIT_TIMEOUT;
    --h->count;
    return WAIT_OBJECT_0;
}

bool ReleaseSemaphore(SemaphoreHandle h) {
    if (!h) return false;
    {
        std::lock_guard<std::mutex> lock(h->m);
        if (h->count >= h->maximum) return false;
        ++h->count;
    }
    h->cv.notify_one();
    return true;
}

void CloseSemaphore(SemaphoreHandle h) { delete h; }

// ---- work under way ----------------------------------------------------------------------

int AddWorkProbe(WorkProbe probe) {
    Probes& p = WorkProbes();
    std::lock_guard<std::mutex> lock(p.m);
    const int id = p.nextId++;
    p.probes.emplace(id, std::move(probe));
    return id;
}

void RemoveWorkProbe(int id) {
    Probes& p = WorkProbes();
    std::lock_guard<std::mutex> lock(p.m);
    p.probes.erase(id);
}

}  // namespace os
