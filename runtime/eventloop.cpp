// Starting the run-time, the event loop, waits that keep answering the window system, and
// file-descriptor watches.
#include "oslayer/os.h"
#include "runtime/rt_internal.h"

#include <QApplication>
#include <QEventLoop>
#include <QPointer>
#include <QSocketNotifier>
#include <QStyle>
#include <QStyleFactory>
#include <QThread>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <deque>
#include <exception>
#include <map>

namespace rt {

using namespace detail;

namespace {

struct Loop {
    std::vector<QEventLoop*> running;  // innermost last
    bool pendingQuit = false;
    int pendingCode = 0;
};

Loop& Loops() {
    static Loop loop;
    return loop;
}

std::map<int, QSocketNotifier*>& Watches() {
    static std::map<int, QSocketNotifier*> watches;
    return watches;
}

// Lets the screen catch up without running anything else: pending layouts and repaints only.
void PaintPending() {
    RevealTabPages();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateLater);
}

// Callbacks held back by waits, oldest first.
struct Held {
    int waiting = 0;          // > 0 while a wait handles events
    bool runPosted = false;   // a run of the held callbacks is queued in the event loop
    std::deque<std::function<void()>> calls;
};

Held& HeldCalls() {
    static Held held;
    return held;
}

void PostRunHeld();

// Runs the held callbacks in order; when a wait is handling events again (the run was picked
// up by a later wait of the same operation) they stay held until the event loop comes back.
void RunHeld() {
    Held& held = HeldCalls();
    held.runPosted = false;
    while (!held.calls.empty()) {
        if (held.waiting > 0) {
            PostRunHeld();
            return;
        }
        std::function<void()> call = std::move(held.calls.front());
        held.calls.pop_front();
        call();
    }
}

void PostRunHeld() {
    Held& held = HeldCalls();
    if (held.runPosted || !QCoreApplication::instance()) return;
    held.runPosted = true;
    QMetaObject::invokeMethod(QCoreApplication::instance(), &RunHeld, Qt::QueuedConnection);
}

// One turn of a wait: the window system's events and pending repaints, but no user input, no
// timer and no watched descriptor; anything else that would run a callback is held.
void HandleWindowSystem() {
    struct Waiting {
        Waiting() { ++HeldCalls().waiting; }
        ~Waiting() { --HeldCalls().waiting; }
    } waiting;
    PaintPending();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::ExcludeSocketNotifiers |
                                    QEventLoop::X11ExcludeTimers);
    PaintPending();
}


// On the offscreen platform (tests, benchmarks) every shown window makes the platform say that
// it cannot raise windows or apply size hints: true, and of no interest. Everything else passes.
QtMessageHandler previousHandler = nullptr;

void FilterNotes(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtWarningMsg && message.startsWith("This plugin does not support")) return;
    if (previousHandler) previousHandler(type, context, message);
}

void QuietOffscreenNotes() {
    static bool installed = false;
    if (installed || QGuiApplication::platformName() != "offscreen") return;
    installed = true;
    previousHandler = qInstallMessageHandler(FilterNotes);
}

}  // namespace

namespace detail {

bool EnsureApp() {
    QCoreApplication* core = QCoreApplication::instance();
    if (core) return qobject_cast<QApplication*>(core) != nullptr;
    static int argc = 1;
    static char name[] = "codecbench";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);  // lives for the rest of the process
    QuietOffscreenNotes();
    QApplication::setApplicationName("codecbench");
    if (QStyle* fusion = QStyleFactory::create("Fusion")) QApplication::setStyle(fusion);
    QApplication::setQuitOnLastWindowClosed(false);
    return true;
}

void LastWindowClosed() {
    if (Loops().running.empty()) return;
    for (const auto& [h, p] : RT().panels)
        if (p->parent == 0 && p->window && p->window->isVisible()) return;
    Loops().running.back()->exit(0);
}

bool HoldingCallbacks() { return HeldCalls().waiting > 0; }

void HoldCallback(std::function<void()> call) {
    HeldCalls().calls.push_back(std::move(call));
    PostRunHeld();
}

void DropWatches() {
    for (auto& [id, n] : Watches()) {
        n->setEnabled(false);
        Dispose(n);
    }
    Watches().clear();
    HeldCalls().calls.clear();
    Loops().pendingQuit = false;
}

}  // namespace detail

int InitCVIRTE() {
    if (!EnsureApp()) return UIENoApplication;
    QuietOffscreenNotes();
    QApplication::setQuitOnLastWindowClosed(false);
    return 0;
}

int RunUserInterface() {
    if (!EnsureApp()) return UIENoApplication;
    Loop& loops = Loops();
    if (loops.pendingQuit) {
        loops.pendingQuit = false;
        return loops.pendingCode;
    }
    QEventLoop loop;
    loops.running.push_back(&loop);
    int code = loop.exec();
    loops.running.pop_back();
    return code;
}

int QuitUserInterface(int code) {
    Loop& loops = Loops();
    if (loops.running.empty()) {
        loops.pendingQuit = true;
        loops.pendingCode = code;
    } else {
        loops.running.back()->exit(code);
    }
    return 0;
}

int ProcessSystemEvents() {
    if (!QCoreApplication::instance()) return 0;
    FlushDisposals();
    RevealTabPages();
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    return 0;
}

int ProcessDrawEvents() {
    if (QCoreApplication::instance() && QThread::currentThread() == QCoreApplication::instance()->thread()) PaintPending();
    return 0;
}

namespace {

// Answers the window system at most once per 10 ms of real time: with a sleeper that returns at
// once (tests, benchmarks) the slices of a wait would otherwise handle events back to back.
void KeepAnswering(bool force) {
    static auto handled = std::chrono::steady_clock::now() - std::chrono::milliseconds(10);
    if (!QCoreApplication::instance() || QThread::currentThread() != QCoreApplication::instance()->thread()) return;
    const auto now = std::chrono::steady_clock::now();
    if (!force && now - handled < std::chrono::milliseconds(10)) return;
    HandleWindowSystem();
    handled = std::chrono::steady_clock::now();
}

}  // namespace

void Delay(double seconds) {
    if (!(seconds > 0)) return;
    // Whole slices of 10 ms (the last one shorter), each through the replaceable sleeper; the
    // count is fixed beforehand so a sleeper that returns at once ends the wait at once. Between
    // slices the window keeps answering the window system, so the desktop never takes it for hung.
    long long total = std::llround(std::min(seconds, 86400.0) * 1000.0);
    while (total > 0) {
        int slice = static_cast<int>(std::min<long long>(total, 10));
        KeepAnswering(false);
        os::Sleep(slice);
        total -= slice;
    }
    KeepAnswering(true);
}

void ProcessWindowSystemEvents() { KeepAnswering(false); }

int WatchFd(int fd, std::function<void()> onReadable) {
    if (fd < 0 || !onReadable) return UIEBadValue;
    if (!EnsureApp()) return UIENoApplication;
    static int nextId = 1;
    int id = nextId++;
    auto* n = new QSocketNotifier(fd, QSocketNotifier::Read, qApp);
    auto run = [fn = std::move(onReadable)] {
        try {
            fn();
        } catch (const std::exception& e) {
            std::fprintf(stderr, "codecbench: file watch handler failed: %s\n", e.what());
        } catch (...) {
            std::fprintf(stderr, "codecbench: file watch handler failed\n");
        }
    };
    QObject::connect(n, &QSocketNotifier::activated, n, [n, run] {
        if (!HoldingCallbacks()) {
            run();
            return;
        }
        // Readable during a wait: the watch rests and its handler runs after the wait.
        n->setEnabled(false);
        HoldCallback([watch = QPointer<QSocketNotifier>(n), run] {
            if (!watch) return;
            watch->setEnabled(true);
            run();
        });
    });
    Watches()[id] = n;
    return id;
}

}  // namespace rt
