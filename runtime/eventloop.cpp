// Starting the run-time, the event loop, waits that keep answering the window system, and
// file-descriptor watches.
#include "oslayer/os.h"
#include "runtime/rt_internal.h"
#include "runtime/rt_widgets.h"

#include <QApplication>
#include <QCursor>
#include <QEventLoop>
#include <QMouseEvent>
#include <QPointer>
#include <QSocketNotifier>
#include <QStyle>
#include <QStyleFactory>
#include <QThread>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <deque>
#include <exception>
#include <map>
#include <optional>
#include <thread>

#include <sys/timerfd.h>
#include <unistd.h>

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

// Runs the held callbacks in order; when a wait is handling events (the run was picked up by a
// wait) they stay held, and the end of that wait asks for the run again.
void RunHeld() {
    Held& held = HeldCalls();
    held.runPosted = false;
    while (!held.calls.empty()) {
        if (held.waiting > 0) return;
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

// Marks a wait handling events: callbacks are held meanwhile.
struct Waiting {
    Waiting() { ++HeldCalls().waiting; }
    ~Waiting() {
        Held& held = HeldCalls();
        if (--held.waiting == 0 && !held.calls.empty()) PostRunHeld();
    }
    Waiting(const Waiting&) = delete;
    Waiting& operator=(const Waiting&) = delete;
};

// The running operation: the outermost callback, and what its waits have shown.
struct Operation {
    int depth = 0;
    bool user = false;
    std::string name;
    double waited = 0;         // seconds spent in waits
    double noted = -1;         // `waited` when the busy observer was last told, -1 never
    bool busyCursor = false;
    int arrowCursors = 0;      // modal dialogs shown over the busy cursor
    Qt::MouseButtons droppedPresses;  // presses dropped whose release has not come
};

Operation& Op() {
    static Operation op;
    return op;
}

BusyObserver& Observer() {
    static BusyObserver observer;
    return observer;
}

RunObserver& Runs() {
    static RunObserver observer;
    return observer;
}

constexpr double kFirstNote = 0.5;    // seconds of waiting before the observer is told
constexpr double kNoteEvery = 0.25;

bool OnUiThread() {
    return QCoreApplication::instance() && QThread::currentThread() == QCoreApplication::instance()->thread();
}

// A wait of the user's operation shows the busy cursor until the operation ends.
void ShowBusy() {
    Operation& op = Op();
    if (!op.user || op.busyCursor || !OnUiThread()) return;
    op.busyCursor = true;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
}

// Counts waiting time into the user's operation and tells the observer when a note is due.
void CountWaited(double seconds) {
    Operation& op = Op();
    if (!op.user) return;
    op.waited += seconds;
    constexpr double kSlack = 1e-6;  // sums of slices are not exact
    if (op.waited + kSlack < kFirstNote || (op.noted >= 0 && op.waited - op.noted + kSlack < kNoteEvery)) return;
    op.noted = op.waited;
    if (BusyObserver observer = Observer()) observer(op.name, op.waited);
}

// Seconds of waiting until the observer's next note is due (none: a day).
double UntilNextNote() {
    const Operation& op = Op();
    if (!op.user || !Observer()) return 86400.0;
    const double due = op.noted < 0 ? kFirstNote : op.noted + kNoteEvery;
    return std::max(0.0, due - op.waited);
}

// Closes of panel windows that came during waits, done once the waits are over.
std::vector<QPointer<QWidget>>& PendingCloses() {
    static std::vector<QPointer<QWidget>> closes;
    return closes;
}

void RememberClose(QWidget* window) {
    auto& closes = PendingCloses();
    for (const QPointer<QWidget>& w : closes)
        if (w == window) return;
    closes.emplace_back(window);
    HoldCallback([w = QPointer<QWidget>(window)] {
        auto& pending = PendingCloses();
        pending.erase(std::remove(pending.begin(), pending.end(), w), pending.end());
        if (w && w->isVisible()) w->close();
    });
}

bool IsUserInput(QEvent::Type type) {
    switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TouchCancel:
        case QEvent::TabletPress:
        case QEvent::TabletRelease:
            return true;
        default:
            return false;
    }
}

// Sees every event of the application. During a wait: a close of a panel's window is remembered
// and done after the wait, and while the user's operation waits, input is dropped. A modal dialog
// shown over the busy cursor shows the ordinary one while it is up.
class WaitGate : public QObject {
public:
    bool eventFilter(QObject* receiver, QEvent* e) override {
        const QEvent::Type type = e->type();
        if ((type == QEvent::Show || type == QEvent::Hide) && Op().busyCursor) {
            auto* w = qobject_cast<QWidget*>(receiver);
            if (w && w->isWindow() && w->isModal()) ModalShown(type == QEvent::Show);
            return false;
        }
        if (HeldCalls().waiting == 0) return false;
        if (type == QEvent::Close) {
            if (auto* w = dynamic_cast<PanelWindow*>(receiver)) {
                e->ignore();
                RememberClose(w);
                return true;
            }
            return false;
        }
        if (!Op().user || !IsUserInput(type)) return false;
        // A release whose press came before the wait passes, so no button or slider is left
        // held down; its press's callbacks are held as any are.
        if (type == QEvent::MouseButtonRelease) {
            const Qt::MouseButton button = static_cast<QMouseEvent*>(e)->button();
            if (!(Op().droppedPresses & button)) return false;
            Op().droppedPresses &= ~button;
        } else if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) {
            Op().droppedPresses |= static_cast<QMouseEvent*>(e)->button();
        }
        e->accept();  // taken, so it reaches no parent either
        return true;
    }

private:
    static void ModalShown(bool shown) {
        Operation& op = Op();
        if (shown) {
            ++op.arrowCursors;
            QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
        } else if (op.arrowCursors > 0) {
            --op.arrowCursors;
            QGuiApplication::restoreOverrideCursor();
        }
    }
};

void InstallWaitGate() {
    static WaitGate* gate = nullptr;
    if (gate || !QCoreApplication::instance()) return;
    gate = new WaitGate;
    gate->setParent(QCoreApplication::instance());
    QCoreApplication::instance()->installEventFilter(gate);
}

constexpr QEventLoop::ProcessEventsFlags kWaitFlags = QEventLoop::ExcludeSocketNotifiers | QEventLoop::X11ExcludeTimers;

// One turn of a wait: the window system's events and pending repaints, but no timer and no
// watched descriptor; anything that would run a callback is held, and the gate deals with input
// and closes.
void HandleWindowSystem() {
    InstallWaitGate();
    Waiting waiting;
    PaintPending();
    QCoreApplication::processEvents(kWaitFlags);
    PaintPending();
}

using Clock = os::Clock;

// A timer the UI thread's event dispatcher watches: a real wait blocks in the dispatcher, which
// wakes for the window system's events and when this timer runs out. A timer descriptor on the
// steady clock (CLOCK_MONOTONIC), so the wake comes on the dot and costs no thread of its own.
class DeadlineTimer {
public:
    // Null when no timer descriptor can be had.
    static DeadlineTimer* Instance() {
        static DeadlineTimer* timer = [] {
            const int fd = timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
            return fd < 0 ? nullptr : new DeadlineTimer(fd);  // lives for the whole process
        }();
        return timer;
    }

    // Runs out `in` from now (at once when `in` is not positive).
    void Arm(Clock::duration in) {
        const auto ns = std::max<int64_t>(1, std::chrono::duration_cast<std::chrono::nanoseconds>(in).count());  // 0 would disarm
        itimerspec at{};
        at.it_value.tv_sec = static_cast<time_t>(ns / 1000000000);
        at.it_value.tv_nsec = static_cast<long>(ns % 1000000000);
        timerfd_settime(fd_, 0, &at, nullptr);
    }

    void Disarm() {
        const itimerspec off{};
        timerfd_settime(fd_, 0, &off, nullptr);
        Drain();
    }

private:
    explicit DeadlineTimer(int fd) : fd_(fd), notifier_(new QSocketNotifier(fd, QSocketNotifier::Read, qApp)) {
        QObject::connect(notifier_, &QSocketNotifier::activated, notifier_, [this] { Drain(); });
    }

    void Drain() {
        uint64_t expirations = 0;
        while (read(fd_, &expirations, sizeof expirations) == static_cast<ssize_t>(sizeof expirations)) {
        }
    }

    int fd_;
    QSocketNotifier* notifier_;
};

double SecondsBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

// A stretch of the real wait on the UI thread: blocks in the event dispatcher until the clock
// reaches `until`, handling the window system's events when some come. Timers are not excluded:
// with them excluded, the GLib dispatcher of recent Qt (6.11) counts its timer source as ready
// and returns at once, so the wait would spin. A timer that runs out during the wait runs; the
// program's own (a timer control's tick) is held as every callback is.
void WaitInDispatcher(DeadlineTimer& timer, Clock::time_point until) {
    for (auto now = os::Now(); now < until; now = os::Now()) {
        timer.Arm(until - now);
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
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

bool UserOperationRunning() { return Op().depth > 0 && Op().user; }

void HoldCallback(std::function<void()> call) {
    HeldCalls().calls.push_back(std::move(call));
    PostRunHeld();
}

OperationScope::OperationScope(bool user, const char* name) {
    Operation& op = Op();
    if (op.depth++ > 0) return;
    if (RunObserver observer = Runs()) observer(true);
    op.user = user;
    op.name = name ? name : "";
    op.waited = 0;
    op.noted = -1;
    if (user)
        if (BusyObserver observer = Observer()) observer(op.name, 0);
}

OperationScope::~OperationScope() {
    Operation& op = Op();
    if (--op.depth > 0) return;
    if (op.user && op.busyCursor) {
        // Input that came after the last wait, while the operation still ran, is dropped too.
        HandleWindowSystem();
        while (op.arrowCursors > 0) {
            --op.arrowCursors;
            QGuiApplication::restoreOverrideCursor();
        }
        QGuiApplication::restoreOverrideCursor();
    }
    const bool user = op.user;
    const std::string name = op.name;
    op = Operation{};
    if (user)
        if (BusyObserver observer = Observer()) observer(name, -1);
    if (RunObserver observer = Runs()) observer(false);
}

void DropWatches() {
    for (auto& [id, n] : Watches()) {
        n->setEnabled(false);
        Dispose(n);
    }
    Watches().clear();
    HeldCalls().calls.clear();
    PendingCloses().clear();
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
    if (OnUiThread()) PaintPending();
    return 0;
}

namespace {

// Answers the window system at most once per 10 ms of real time: with a sleeper that returns at
// once (tests, benchmarks) the slices of a wait would otherwise handle events back to back.
void KeepAnswering(bool force) {
    static auto handled = std::chrono::steady_clock::now() - std::chrono::milliseconds(10);
    if (!OnUiThread()) return;
    ShowBusy();
    const auto now = std::chrono::steady_clock::now();
    if (!force && now - handled < std::chrono::milliseconds(10)) return;
    HandleWindowSystem();
    handled = std::chrono::steady_clock::now();
}

// The one wait: until the clock reaches `deadline`. On the UI thread with the real sleep it blocks
// in the event dispatcher; otherwise it sleeps in slices of at most `slice` (the real sleep off the
// UI thread: at once to the deadline), the window answering the window system between them. Each
// slice ends on its mark on the clock, so a late wake shortens the next one instead of
// lengthening the wait. The user's operation counts every stretch the clock moved on, whichever
// way the wait blocked, so its busy notes come on time.
void WaitUntil(Clock::time_point deadline, Clock::duration slice) {
    const bool ui = OnUiThread();
    const bool replaced = os::SleeperReplaced();
    DeadlineTimer* timer = ui && !replaced ? DeadlineTimer::Instance() : nullptr;
    if (ui) ShowBusy();
    std::optional<Waiting> waiting;
    if (timer) {
        InstallWaitGate();
        waiting.emplace();
        PaintPending();
    }
    for (auto now = os::Now(); now < deadline;) {
        if (timer) {
            // Wakes for the busy observer's next note too.
            const auto note = std::chrono::round<Clock::duration>(std::chrono::duration<double>(UntilNextNote()));
            WaitInDispatcher(*timer, std::min(deadline, now + note));
        } else {
            if (ui) KeepAnswering(false);
            os::SleepUntil(replaced || ui ? std::min(deadline, now + slice) : deadline);
        }
        const auto then = os::Now();
        if (ui) CountWaited(SecondsBetween(now, std::min(then, deadline)));
        now = then;
    }
    if (timer) {
        timer->Disarm();
    } else if (ui) {
        KeepAnswering(true);
    }
}

}  // namespace

void Delay(double seconds) {
    if (!(seconds > 0)) return;
    seconds = std::min(seconds, 86400.0);
    WaitUntil(os::Now() + std::chrono::round<Clock::duration>(std::chrono::duration<double>(seconds)),
              std::chrono::milliseconds(10));
}

void DelayInSlices(int slices, int milliseconds) {
    if (slices <= 0 || milliseconds <= 0) return;
    WaitUntil(os::Now() + std::chrono::milliseconds(static_cast<int64_t>(slices) * milliseconds),
              std::chrono::milliseconds(milliseconds));
}

BusyObserver SetBusyObserver(BusyObserver observer) {
    BusyObserver previous = std::move(Observer());
    Observer() = std::move(observer);
    return previous;
}

RunObserver SetRunObserver(RunObserver observer) {
    RunObserver previous = std::move(Runs());
    Runs() = std::move(observer);
    return previous;
}

int WatchFd(int fd, std::function<void()> onReadable) {
    if (fd < 0 || !onReadable) return UIEBadValue;
    if (!EnsureApp()) return UIENoApplication;
    static int nextId = 1;
    int id = nextId++;
    auto* n = new QSocketNotifier(fd, QSocketNotifier::Read, qApp);
    auto run = [fn = std::move(onReadable)] {
        OperationScope background(false, nullptr);
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
