// Test module for oslayer_tests: another shared object in the process, linked to the same
// libcodecbench-os.so, that reaches named events by name only.
#include "oslayer/os.h"

#define MODULE_EXPORT extern "C" __attribute__((visibility("default")))

// Opens the named event (which must exist) and sets it. 1 on success, 0 when it does not exist.
MODULE_EXPORT int cbos_test_set_named_event(const char* name) {
    os::EventHandle h = os::OpenEvent(name);
    if (!h) return 0;
    const bool ok = os::SetEvent(h);
    os::CloseEvent(h);
    return ok ? 1 : 0;
}

// Creates (or opens) the named event as a manual-reset event, signalled, and keeps the handle
// open until cbos_test_close_kept_event.
static os::EventHandle g_kept = nullptr;

MODULE_EXPORT int cbos_test_create_signalled_event(const char* name) {
    if (g_kept) return 0;
    g_kept = os::CreateEvent(name, true, true);
    return g_kept ? 1 : 0;
}

MODULE_EXPORT void cbos_test_close_kept_event() {
    os::CloseEvent(g_kept);
    g_kept = nullptr;
}

// The address of the library's service registry entry, to compare across the boundary.
MODULE_EXPORT void* cbos_test_find_service(const char* name) { return os::FindService(name); }
