// libboardhid.so: the nine board operations the program binds by name.
//
// The backend is chosen once, when the library is loaded, from BOARDHID_BACKEND ("emulator"
// or "hidraw", the default). With the emulator, its control object is published at load under
// kEmulatedBoardService, so tests can reach it before their first call.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "boardhid/boardhid.h"
#include "boardhid/emulator.h"
#include "boardhid/hidraw_backend.h"
#include "boardhid/input_reports.h"
#include "boardhid/protocol.h"
#include "boardhid/trace.h"

#define BOARDHID_EXPORT extern "C" __attribute__((visibility("default")))

namespace boardhid {
namespace {

class Library {
public:
    Library()
        : trace_(std::getenv("BOARDHID_TRACE")),
          event_(os::CreateEvent(BOARDHID_INPUT_EVENT, true, false)),
          reports_(event_, &trace_) {
        if (event_ == nullptr)
            std::fprintf(stderr, "boardhid: cannot create the event %s\n", BOARDHID_INPUT_EVENT);
        const char* choice = std::getenv("BOARDHID_BACKEND");
        if (choice != nullptr && std::strcmp(choice, "emulator") == 0) {
            auto emulator = std::make_unique<EmulatorBackend>(reports_);
            emulator_ = emulator.get();
            backend_ = std::move(emulator);
            os::PublishService(kEmulatedBoardService, static_cast<EmulatedBoard*>(emulator_));
            return;
        }
        if (choice != nullptr && *choice != '\0' && std::strcmp(choice, "hidraw") != 0)
            std::fprintf(stderr, "boardhid: unknown BOARDHID_BACKEND \"%s\", using hidraw\n", choice);
        backend_ = std::make_unique<HidrawBackend>(MakeHidapi(), reports_);
    }

    ~Library() {
        if (emulator_ != nullptr) os::PublishService(kEmulatedBoardService, nullptr);
        backend_.reset();  // stops the backend's thread before the queue and event go
        if (event_ != nullptr) os::CloseEvent(event_);
    }

    Backend& backend() { return *backend_; }
    InputReports& reports() { return reports_; }
    Trace& trace() { return trace_; }

private:
    Trace trace_;
    os::EventHandle event_;
    InputReports reports_;
    std::unique_ptr<Backend> backend_;
    EmulatorBackend* emulator_ = nullptr;
};

Library g_library;

}  // namespace
}  // namespace boardhid

using boardhid::g_library;

// The arguments (the program passes 2, 1, 0) select nothing here.
BOARDHID_EXPORT int OpenDevice(int, int, int) { return g_library.backend().Open() ? 1 : 0; }

// Arrival and removal are watched by the program's own device monitor; nothing to start.
BOARDHID_EXPORT int StartDevDetection(int) { return 1; }

BOARDHID_EXPORT int StopDevDetection(void) { return 1; }

BOARDHID_EXPORT int CloseDevice(void) {
    g_library.backend().Close();
    g_library.reports().Clear();
    return 1;
}

BOARDHID_EXPORT int IsDevicePlugged(void) { return g_library.backend().IsPlugged() ? 1 : 0; }

// Device-change messages need no handling here (see StartDevDetection).
BOARDHID_EXPORT int HandleDeviceChange(unsigned int, uintptr_t, intptr_t) { return 0; }

BOARDHID_EXPORT int SendData(int length, const unsigned char* data) {
    if (data == nullptr || length < 1 || length > boardhid::kReportSize) return 0;
    // Traced before sending, so that the line comes before the reply's.
    g_library.trace().Report("OUT", data, static_cast<size_t>(length));
    if (g_library.backend().Send(data, length)) return 1;
    g_library.trace().Line("ERR send failed");
    return 0;
}

BOARDHID_EXPORT signed char GetDataLength(void) {
    return static_cast<signed char>(g_library.reports().PendingLength());
}

BOARDHID_EXPORT int GetData(unsigned char* buffer) {
    if (buffer == nullptr) return 0;
    return g_library.reports().Take(buffer);
}
