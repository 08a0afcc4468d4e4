// Menus, popups through the prompter, the event loop and waits, paths and number formatting.
#include "fixture.h"
#include "tests/support/event_counter.h"
#include "tests/support/event_wait.h"

#include "oslayer/os.h"
#include "runtime/scripted_prompter.h"

#include <QAbstractButton>
#include <QAbstractEventDispatcher>
#include <QAccessible>
#include <QAction>
#include <QCloseEvent>
#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QMenuBar>
#include <QTimer>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <unistd.h>

using namespace fixture;

namespace {

class Menus : public RuntimeTest {};
class Popups : public RuntimeTest {};
class Loop : public RuntimeTest {};

enum { MENUBAR = 1, DEVICE = 2, PYKA = 3, JORB = 4, EXPORT = 5, ABOUT = 6 };

}  // namespace

TEST_F(Menus, ItemsCarryChecksDimmingAndCallbacks) {
    int p = LoadMain();
    int bar = rt::LoadMenuBar(p, kFile, MENUBAR);
    ASSERT_GT(bar, 0) << rt::LastLoadError();
    QMenuBar* mb = rt::testing::MenuBarWidget(bar);
    ASSERT_NE(mb, nullptr);
    EXPECT_TRUE(rt::testing::PanelWindow(p)->isAncestorOf(mb));
    int v = -1;
    rt::GetMenuBarAttribute(bar, JORB, rt::ATTR_CHECKED, &v);
    EXPECT_EQ(v, 1);
    rt::GetMenuBarAttribute(bar, EXPORT, rt::ATTR_DIMMED, &v);
    EXPECT_EQ(v, 1);
    EXPECT_FALSE(rt::testing::MenuItemAction(bar, EXPORT)->isEnabled());

    rt::SetMenuBarAttribute(bar, PYKA, rt::ATTR_CHECKED, 1);
    rt::SetMenuBarAttribute(bar, JORB, rt::ATTR_CHECKED, 0);
    EXPECT_TRUE(rt::testing::MenuItemAction(bar, PYKA)->isChecked());
    EXPECT_FALSE(rt::testing::MenuItemAction(bar, JORB)->isChecked());
    rt::SetMenuBarAttribute(bar, EXPORT, rt::ATTR_DIMMED, 0);
    EXPECT_TRUE(rt::testing::MenuItemAction(bar, EXPORT)->isEnabled());

    // The user choosing an item: the callback gets (bar, item, data, panel); the check mark is
    // the program's to change, not flipped by the menu itself.
    rt::testing::MenuItemAction(bar, PYKA)->trigger();
    ASSERT_EQ(Events().size(), 1u);
    EXPECT_EQ(Events()[0], (Event{p, PYKA, -bar, 0, 0}));
    rt::GetMenuBarAttribute(bar, PYKA, rt::ATTR_CHECKED, &v);
    EXPECT_EQ(v, 1);
    EXPECT_TRUE(rt::testing::MenuItemAction(bar, PYKA)->isChecked());
    // A command on the bar itself, and one called from code.
    rt::testing::MenuItemAction(bar, ABOUT)->trigger();
    EXPECT_EQ(rt::CallMenuCallback(bar, JORB), 0);
    ASSERT_EQ(Events().size(), 3u);
    EXPECT_EQ(Events()[1].control, ABOUT);
    EXPECT_EQ(Events()[2].control, JORB);
    EXPECT_EQ(rt::CallMenuCallback(bar, 99), rt::UIEBadControlId);
    EXPECT_EQ(rt::SetMenuBarAttribute(bar + 1000, PYKA, rt::ATTR_CHECKED, 1), rt::UIEBadPanelHandle);
    EXPECT_EQ(rt::SetMenuBarAttribute(bar, DEVICE, rt::ATTR_CHECKED, 1), rt::UIEBadAttribute);

    // As a tool sees them: the bar lists its menus, a menu its items and separators; asked for
    // a child before the first or past the last, or for the index of none of its own, each
    // answers none.
    QAccessibleInterface* barIface = QAccessible::queryAccessibleInterface(mb);
    ASSERT_EQ(barIface->role(), QAccessible::MenuBar);
    ASSERT_EQ(barIface->childCount(), 2);
    QAccessibleInterface* device = barIface->child(0)->child(0);
    ASSERT_NE(device, nullptr);
    EXPECT_EQ(device->role(), QAccessible::PopupMenu);
    EXPECT_EQ(device->parent(), barIface->child(0));
    ASSERT_EQ(device->childCount(), 4);
    QAccessibleInterface* separator = device->child(1);
    EXPECT_EQ(separator->role(), QAccessible::Separator);
    EXPECT_TRUE(separator->text(QAccessible::Name).isEmpty());
    EXPECT_TRUE(separator->state().disabled);
    EXPECT_TRUE(separator->actionInterface()->actionNames().isEmpty());
    EXPECT_EQ(separator->parent(), device);
    EXPECT_EQ(device->indexOfChild(separator), 1);
    EXPECT_EQ(device->child(2)->text(QAccessible::Name), "KorJorb");
    for (QAccessibleInterface* i : {barIface, device, separator}) {
        for (int k : {-1, i->childCount(), std::numeric_limits<int>::max()}) EXPECT_EQ(i->child(k), nullptr) << k;
        EXPECT_EQ(i->indexOfChild(nullptr), -1);
    }
    EXPECT_EQ(barIface->indexOfChild(separator), -1);
    EXPECT_EQ(device->indexOfChild(barIface), -1);
}

TEST_F(Menus, UnknownMenuCallbackOrResourceIsRefused) {
    rt::RegisterPanelResource("menu_bad.uir", R"({"file": "menu_bad.uir", "panels": [],
        "menubars": [ {"resource": 1, "constant": "MB", "menus": [ {"id": 2, "label": "Mode",
          "items": [ {"id": 3, "label": "I2C Mode", "callback": "I2CModeCBX"} ] } ] } ] })");
    EXPECT_EQ(rt::LoadMenuBar(0, "menu_bad.uir", 1), rt::UIEUnknownCallback);
    EXPECT_EQ(rt::LastLoadError(), "menu_bad.uir: menu bar MB: menu \"Mode\": item \"I2C Mode\": unknown menu callback \"I2CModeCBX\"");
    EXPECT_EQ(rt::LoadMenuBar(0, kFile, 7), rt::UIEResourceNotFound);
    int child = rt::LoadPanel(rt::LoadPanel(0, kFile, 1), kFile, 2);
    EXPECT_EQ(rt::LoadMenuBar(child, kFile, MENUBAR), rt::UIEBadPanelHandle);
}

TEST_F(Popups, ScriptedAnswersAndARecordOfEveryPopup) {
    rt::ScriptedPrompter prompter;
    EXPECT_EQ(rt::SetPrompter(&prompter), nullptr);
    rt::MessagePopup("invalid operation", "Can not read under Write-Only Mode");
    prompter.QueueYesNo(false);
    EXPECT_EQ(rt::ConfirmPopup("Delete configuration", "Are you sure you want to delete this configuration?"), 0);
    EXPECT_EQ(rt::ConfirmPopup("Update configuration", "Sure?"), 1);  // nothing queued: Yes
    std::string answer = "old";
    EXPECT_EQ(rt::PromptPopup("Config Entry", "Enter name for Configuration", &answer, 30), -1);
    EXPECT_EQ(answer, "old");  // cancelled: untouched
    prompter.QueuePrompt("a name that is much longer than thirty characters");
    EXPECT_EQ(rt::PromptPopup("Config Entry", "Enter name for Configuration", &answer, 30), 0);
    EXPECT_EQ(answer, "a name that is much longer tha");
    EXPECT_EQ(rt::GenericMessagePopup("T", "ok?", rt::VAL_OK_CANCEL_DIALOG), rt::VAL_GENERIC_POPUP_BTN1);

    ASSERT_EQ(prompter.Shown().size(), 6u);
    EXPECT_EQ(prompter.Shown()[0].kind, rt::ScriptedPrompter::Kind::Message);
    EXPECT_EQ(prompter.Shown()[0].title, "invalid operation");
    EXPECT_EQ(prompter.Shown()[0].text, "Can not read under Write-Only Mode");
    EXPECT_EQ(prompter.Shown()[1].answer, "no");
    EXPECT_EQ(prompter.Shown()[2].answer, "yes");
    EXPECT_EQ(prompter.Shown()[3].answer, "cancel");
    EXPECT_EQ(prompter.Shown()[5].kind, rt::ScriptedPrompter::Kind::OkCancel);
    EXPECT_EQ(rt::SetPrompter(nullptr), &prompter);
}

TEST_F(Popups, RealDialogsDoNotWaitWithoutAScreen) {
    // No prompter installed: the real dialogs, which must not block a headless run.
    EXPECT_EQ(rt::ConfirmPopup("Delete configuration", "Sure?"), 0);
    std::string answer = "kept";
    EXPECT_EQ(rt::PromptPopup("Config Entry", "Name", &answer, 30), -1);
    EXPECT_EQ(answer, "kept");
    rt::MessagePopup("Warning", "Can not open device.");
    std::string path;
    EXPECT_EQ(rt::FileSelectPopup("", "*.dat", "*.dat", "Import", rt::VAL_LOAD_BUTTON, &path), rt::VAL_NO_FILE_SELECTED);
}

TEST_F(Popups, FilePickersTellNewFromExistingFiles) {
    rt::ScriptedPrompter prompter;
    rt::SetPrompter(&prompter);
    std::string dir = ::testing::TempDir();
    std::string existing = rt::MakePathname(dir, "rt_existing.dat");
    std::ofstream(existing) << "[x]\n";
    std::string path;
    EXPECT_EQ(rt::FileSelectPopup("", "*.dat", "*.dat", "Export", rt::VAL_SAVE_BUTTON, &path), rt::VAL_NO_FILE_SELECTED);
    prompter.QueueFile(existing);
    EXPECT_EQ(rt::FileSelectPopup("", "*.dat", "*.dat", "Export", rt::VAL_SAVE_BUTTON, &path), rt::VAL_EXISTING_FILE_SELECTED);
    EXPECT_EQ(path, existing);
    prompter.QueueFile(rt::MakePathname(dir, "rt_bright.dat"));
    EXPECT_EQ(rt::FileSelectPopup("", "*.dat", "*.dat", "Export", rt::VAL_SAVE_BUTTON, &path), rt::VAL_NEW_FILE_SELECTED);
    prompter.QueueDir(dir);
    std::string chosen;
    EXPECT_EQ(rt::DirSelectPopup("", "Play folder", &chosen), rt::VAL_DIRECTORY_SELECTED);
    EXPECT_EQ(chosen, dir);
    EXPECT_EQ(rt::DirSelectPopup("", "Play folder", &chosen), rt::VAL_NO_DIRECTORY_SELECTED);
    EXPECT_EQ(prompter.Shown()[1].title, "Export");
    EXPECT_EQ(prompter.Shown()[1].text, "*.dat");
    std::remove(existing.c_str());
}

TEST_F(Loop, DelayGoesThroughTheSleeper) {
    std::vector<int> slices;
    os::Sleeper previous = os::SetSleeper([&](int ms) { slices.push_back(ms); });
    const os::Clock::time_point start = os::Now();
    rt::Delay(1.0);
    rt::Delay(0.025);
    rt::Delay(-1);
    const os::Clock::duration took = os::Now() - start;
    os::SetSleeper(previous);
    EXPECT_EQ(took, std::chrono::milliseconds(1025));  // on the tests' clock, which the sleeps move
    int total = 0;
    for (int s : slices) total += s;
    EXPECT_EQ(total, 1025);
    EXPECT_EQ(slices.size(), 103u);  // 100 slices of 10 ms, then 10, 10 and 5
    EXPECT_EQ(slices.back(), 5);
}

TEST_F(Loop, DelayWithTheRealSleeperWaitsToItsDeadline) {
    // The real wait sleeps in the event dispatcher: over 0.2 s, with a timer running out every
    // 20 ms, the dispatcher goes to sleep a few times (once per wake), not once per turn of a
    // loop that never sleeps (thousands). The timer's ticks are held until the wait is over.
    int p = LoadMain();
    int blocks = 0;
    const QMetaObject::Connection counting =
        QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, [&] { ++blocks; });
    rt::SetCtrlAttribute(p, TICK, rt::ATTR_ENABLED, 1);
    os::Sleeper previous = os::SetSleeper(nullptr);
    const os::Clock::time_point start = os::Now();
    rt::Delay(0.2);
    const os::Clock::duration took = os::Now() - start;
    os::SetSleeper(previous);
    QObject::disconnect(counting);
    EXPECT_GE(took, std::chrono::milliseconds(200));  // never short of its deadline
    EXPECT_GE(blocks, 1);
    EXPECT_LE(blocks, 50) << "the wait did not sleep";
    EXPECT_TRUE(EventCodes(TICK).empty()) << "a timer's tick ran during the wait";
    EXPECT_TRUE(testsupport::EventLoopUntil([] { return !EventCodes(TICK).empty(); }));
    rt::SetCtrlAttribute(p, TICK, rt::ATTR_ENABLED, 0);
}

TEST_F(Loop, DelayKeepsPaintingButRunsNoCallbackUntilTheWaitEnds) {
    int p = LoadMain();
    rt::SetCtrlAttribute(p, TICK, rt::ATTR_ENABLED, 1);
    QWidget* led = W(p, POWER);
    testsupport::EventCounter counter(QEvent::Paint);
    led->installEventFilter(&counter);
    rt::SetCtrlVal(p, POWER, 1);
    // Due during the wait: the window manager closing the window, a queued cell commit, data on
    // a watched descriptor (the board's arrival) and the timer's ticks.
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    std::vector<std::string> order;
    int readsDuringWait = 0, eventsDuringWait = 0;
    bool waiting = false;
    rt::WatchFd(fds[0], [&] {
        char buf[8];
        if (read(fds[0], buf, sizeof buf) > 0) order.push_back("descriptor");
        if (waiting) ++readsDuringWait;
    });
    QCoreApplication::postEvent(rt::testing::PanelWindow(p), new QCloseEvent);
    ASSERT_EQ(write(fds[1], "x", 1), 1);
    QMetaObject::invokeMethod(qApp, [p] { rt::CallCtrlCallback(p, REGS, rt::EVENT_COMMIT, 1, 2); }, Qt::QueuedConnection);
    // Typing into a field during a wait that no user's operation runs: the key is not lost.
    auto* name = qobject_cast<QLineEdit*>(W(p, NAME));
    QCoreApplication::postEvent(name, new QKeyEvent(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, "x"));
    os::Sleeper previous = os::SetSleeper([&](int ms) {
        usleep(static_cast<useconds_t>(ms) * 1000);
        eventsDuringWait += static_cast<int>(Events().size());
    });
    waiting = true;
    rt::Delay(0.1);
    waiting = false;
    os::SetSleeper(previous);
    led->removeEventFilter(&counter);
    EXPECT_GE(counter.count, 1);
    EXPECT_EQ(eventsDuringWait, 0);
    EXPECT_EQ(readsDuringWait, 0);
    EXPECT_TRUE(Events().empty());
    EXPECT_TRUE(order.empty());
    EXPECT_EQ(name->text(), "abcx");
    EXPECT_TRUE(rt::testing::PanelWindow(p)->isVisible());
    // Once the wait is over they all run, the held ones in the order they came.
    ASSERT_TRUE(testsupport::EventLoopUntil([&] { return !EventCodes(TICK).empty() && !order.empty(); }));
    rt::SetCtrlAttribute(p, TICK, rt::ATTR_ENABLED, 0);
    ASSERT_GE(Events().size(), 3u);
    EXPECT_EQ(Events()[0].event, rt::EVENT_CLOSE);
    EXPECT_EQ(Events()[1].control, REGS);
    EXPECT_EQ(order, (std::vector<std::string>{"descriptor"}));
    rt::testing::ResetRuntime();
    close(fds[0]);
    close(fds[1]);
}

TEST_F(Loop, AWaitOfTheUsersOperationDropsInputShowsBusyAndClosesAfterIt) {
    int p = LoadMain();
    auto* name = qobject_cast<QLineEdit*>(W(p, NAME));
    QWidget* apply = W(p, APPLY);
    std::vector<std::pair<std::string, double>> notes;
    rt::BusyObserver previousObserver = rt::SetBusyObserver([&](const std::string& op, double s) { notes.emplace_back(op, s); });
    std::vector<int> cursors;  // the override cursor's shape in each slice, -1 none
    os::Sleeper previous = os::SetSleeper([&](int) {
        const QCursor* c = QGuiApplication::overrideCursor();
        cursors.push_back(c ? static_cast<int>(c->shape()) : -1);
    });
    // "Apply" waits 0.6 s; meanwhile the user clicks it again, types into a field and closes the
    // window.
    bool visibleAfterWait = false;
    int commits = 0;
    OnCtrl() = [&](int, int control, int event) {
        if (control != APPLY || event != rt::EVENT_COMMIT || ++commits > 1) return;
        QCoreApplication::postEvent(apply, new QMouseEvent(QEvent::MouseButtonPress, QPointF(5, 5), apply->mapToGlobal(QPointF(5, 5)),
                                                           Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
        QCoreApplication::postEvent(apply, new QMouseEvent(QEvent::MouseButtonRelease, QPointF(5, 5), apply->mapToGlobal(QPointF(5, 5)),
                                                           Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
        QCoreApplication::postEvent(name, new QKeyEvent(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, "x"));
        QCoreApplication::postEvent(rt::testing::PanelWindow(p), new QCloseEvent);
        rt::Delay(0.6);
        visibleAfterWait = rt::testing::PanelWindow(p)->isVisible();
    };
    QTest::mouseClick(apply, Qt::LeftButton, {}, QPoint(5, 5));
    os::SetSleeper(previous);
    rt::SetBusyObserver(previousObserver);
    ASSERT_TRUE(testsupport::EventLoopUntil([] { return !EventCodes(0).empty(); }));  // the close, after the wait
    EXPECT_TRUE(visibleAfterWait);
    EXPECT_EQ(EventCodes(0), (std::vector<int>{rt::EVENT_CLOSE}));
    // The click and the key made during the wait were dropped, not run after it.
    EXPECT_EQ(EventCodes(APPLY), (std::vector<int>{rt::EVENT_LEFT_CLICK, rt::EVENT_COMMIT}));
    EXPECT_EQ(name->text(), "abc");
    ASSERT_FALSE(cursors.empty());
    EXPECT_EQ(cursors.front(), static_cast<int>(Qt::WaitCursor));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    // The busy observer: the click's operation (no wait), then the commit's with its notes.
    ASSERT_GE(notes.size(), 5u);
    EXPECT_EQ(notes[0], (std::pair<std::string, double>{"Apply", 0}));
    EXPECT_EQ(notes[1], (std::pair<std::string, double>{"Apply", -1}));
    EXPECT_EQ(notes[2], (std::pair<std::string, double>{"Apply", 0}));
    EXPECT_NEAR(notes[3].second, 0.5, 0.011);  // half a second of waiting
    EXPECT_EQ(notes.back(), (std::pair<std::string, double>{"Apply", -1}));

    // A button pressed before an operation's wait is released during it: the release passes, so
    // the button is not left down (its click's callback runs after the wait).
    auto* button = qobject_cast<QAbstractButton*>(apply);
    ASSERT_NE(button, nullptr);
    QTest::mousePress(apply, Qt::LeftButton, {}, QPoint(5, 5));
    ASSERT_TRUE(button->isDown());
    OnCtrl() = [&](int, int control, int event) {
        if (control != ENABLE || event != rt::EVENT_COMMIT) return;
        QCoreApplication::postEvent(apply, new QMouseEvent(QEvent::MouseButtonRelease, QPointF(5, 5), apply->mapToGlobal(QPointF(5, 5)),
                                                           Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
        rt::Delay(0.1);
    };
    previous = os::SetSleeper([](int) {});
    rt::CallCtrlCallback(p, ENABLE, rt::EVENT_COMMIT, 0, 0);
    os::SetSleeper(previous);
    EXPECT_FALSE(button->isDown());

    // A real wait (the real sleep, not the tests' sleeper) counts into the operation's busy time
    // as the tests' sleeps do: 0.47 s of instant sleeps and then 50 ms of real waiting reach the
    // half second after which the observer is told. The time told lies between the two, however
    // late the real wait wakes: the wait counts to its deadline and no further.
    notes.clear();
    previousObserver = rt::SetBusyObserver([&](const std::string& op, double s) { notes.emplace_back(op, s); });
    previous = os::SetSleeper([](int) {});
    OnCtrl() = [&](int, int control, int event) {
        if (control != APPLY || event != rt::EVENT_COMMIT) return;
        rt::Delay(0.47);
        const os::Sleeper instant = os::SetSleeper(nullptr);
        rt::Delay(0.05);
        os::SetSleeper(instant);
    };
    rt::CallCtrlCallback(p, APPLY, rt::EVENT_COMMIT, 0, 0);
    os::SetSleeper(previous);
    rt::SetBusyObserver(previousObserver);
    ASSERT_EQ(notes.size(), 3u) << "the real wait was not counted as busy time";
    EXPECT_EQ(notes[0], (std::pair<std::string, double>{"Apply", 0}));
    EXPECT_GE(notes[1].second, 0.5 - 1e-6);
    EXPECT_LE(notes[1].second, 0.52 + 1e-6);
    EXPECT_EQ(notes[2], (std::pair<std::string, double>{"Apply", -1}));
    OnCtrl() = nullptr;
}

TEST_F(Loop, ACloseDuringATimersWaitEndsTheProgramAfterTheWait) {
    // A window without a panel callback: closing it ends RunUserInterface. The close comes while
    // a timer's callback waits, as during the board's identity read.
    int hiddenMain = rt::LoadPanel(0, kFile, 1);
    int only = rt::LoadPanel(0, kFile, 3);
    rt::DisplayPanel(only);
    QWidget* window = rt::testing::PanelWindow(only);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    os::Sleeper previous = os::SetSleeper([](int) {});
    bool visibleAfterWait = false;
    OnCtrl() = [&](int panel, int control, int event) {
        if (control != TICK || event != rt::EVENT_TIMER_TICK) return;
        rt::SetCtrlAttribute(panel, TICK, rt::ATTR_ENABLED, 0);
        QCoreApplication::postEvent(window, new QCloseEvent);
        rt::Delay(0.1);
        visibleAfterWait = window->isVisible();
    };
    rt::SetCtrlAttribute(hiddenMain, TICK, rt::ATTR_ENABLED, 1);
    QTimer lost;  // the close was lost
    lost.setSingleShot(true);
    QObject::connect(&lost, &QTimer::timeout, [] { rt::QuitUserInterface(99); });
    lost.start(3000);
    EXPECT_EQ(rt::RunUserInterface(), 0);
    os::SetSleeper(previous);
    EXPECT_TRUE(visibleAfterWait);
    EXPECT_FALSE(window->isVisible());
}

TEST_F(Loop, RunUserInterfaceReturnsTheQuitCode) {
    int p = LoadMain();
    OnCtrl() = [](int, int, int event) {
        if (event == rt::EVENT_TIMER_TICK) rt::QuitUserInterface(7);
    };
    rt::SetCtrlAttribute(p, TICK, rt::ATTR_ENABLED, 1);
    EXPECT_EQ(rt::RunUserInterface(), 7);
    rt::SetCtrlAttribute(p, TICK, rt::ATTR_ENABLED, 0);
    // A quit asked for before the loop runs ends the next one at once.
    rt::QuitUserInterface(3);
    EXPECT_EQ(rt::RunUserInterface(), 3);
}

TEST_F(Loop, WatchedDescriptorRunsItsHandler) {
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    int calls = 0;
    int id = rt::WatchFd(fds[0], [&] {
        char buf[8];
        if (read(fds[0], buf, sizeof buf) > 0) ++calls;
    });
    EXPECT_GT(id, 0);
    EXPECT_EQ(rt::WatchFd(-1, [] {}), rt::UIEBadValue);
    ASSERT_EQ(write(fds[1], "x", 1), 1);
    ASSERT_TRUE(testsupport::EventLoopUntil([&] { return calls == 1; })) << calls;
    rt::testing::ResetRuntime();  // stops the watch before the descriptors go
    close(fds[0]);
    close(fds[1]);
}

TEST(Paths, FormatReal) {
    EXPECT_EQ(rt::FormatReal(1.5), "1.5");
    EXPECT_EQ(rt::FormatReal(-12), "-12");
    EXPECT_EQ(rt::FormatReal(0.125), "0.125");
    EXPECT_EQ(rt::FormatReal(0), "0");
    EXPECT_EQ(rt::FormatReal(-0.0), "0");
    EXPECT_EQ(rt::FormatReal(-0.0000001), "0");
    EXPECT_EQ(rt::FormatReal(34.5), "34.5");
    EXPECT_EQ(rt::FormatReal(1.0 / 3.0), "0.333333");
    EXPECT_EQ(rt::FormatReal(2.0000004), "2");
    EXPECT_EQ(rt::FormatReal(-57), "-57");
    EXPECT_EQ(rt::FormatReal(100), "100");
    EXPECT_EQ(rt::FormatReal(0.0666666), "0.066667");
}

TEST(Paths, MakeSplitAndExists) {
    EXPECT_EQ(rt::MakePathname("/home/u", "STconfig.dat"), "/home/u/STconfig.dat");
    EXPECT_EQ(rt::MakePathname("/home/u/", "/STconfig.dat"), "/home/u/STconfig.dat");
    EXPECT_EQ(rt::MakePathname("", "script.txt"), "script.txt");
    std::string dir, file;
    rt::SplitPath("/data/sets/bright.dat", &dir, &file);
    EXPECT_EQ(dir, "/data/sets");
    EXPECT_EQ(file, "bright.dat");
    rt::SplitPath("bright.dat", &dir, &file);
    EXPECT_EQ(dir, "");
    EXPECT_EQ(file, "bright.dat");
    rt::SplitPath("/x.dat", &dir, nullptr);
    EXPECT_EQ(dir, "/");
    std::string tmp = ::testing::TempDir();
    EXPECT_FALSE(rt::FileExists(tmp));  // a folder is no file
    EXPECT_FALSE(rt::FileExists(rt::MakePathname(tmp, "rt_none.txt")));
    EXPECT_FALSE(rt::FileExists(""));
}

TEST(Paths, ProjectDirFollowsTheEnvironment) {
    // One folder a run: another user's or another run's is not ours to write.
    std::string tmp = ::testing::TempDir() + "rt_home-" + std::to_string(::getpid());
    std::filesystem::create_directories(tmp);
    setenv("CODECBENCH_HOME", (tmp + "/").c_str(), 1);
    EXPECT_EQ(rt::GetProjectDir(), tmp);
    unsetenv("CODECBENCH_HOME");
    // The test program's folder is writable here, so it is the project folder.
    EXPECT_EQ(rt::GetProjectDir(), os::ExecutableDir());
    setenv("CODECBENCH_HOME", "", 1);
    EXPECT_EQ(rt::GetProjectDir(), os::ExecutableDir());  // an empty setting counts as unset
    unsetenv("CODECBENCH_HOME");

    // An installed program (no build marker beside it), even in a folder it may write, keeps
    // its files in $XDG_DATA_HOME/codecbench, by default ~/.local/share/codecbench.
    namespace fs = std::filesystem;
    const fs::path root = tmp + "/install";
    const fs::path program = root / "lib/codecbench";
    fs::create_directories(program);
    const std::string oldHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    const char* oldData = std::getenv("XDG_DATA_HOME");
    const std::string keptData = oldData ? oldData : "";
    setenv("HOME", (root / "home").c_str(), 1);
    setenv("XDG_DATA_HOME", (root / "data/").c_str(), 1);
    EXPECT_EQ(rt::ProjectDirFor(program.string()), (root / "data/codecbench").string());
    EXPECT_TRUE(fs::is_directory(root / "data/codecbench"));
    unsetenv("XDG_DATA_HOME");
    EXPECT_EQ(rt::ProjectDirFor(program.string()), (root / "home/.local/share/codecbench").string());
    setenv("XDG_DATA_HOME", "data", 1);  // not absolute: ignored
    EXPECT_EQ(rt::ProjectDirFor(program.string()), (root / "home/.local/share/codecbench").string());
    setenv("CODECBENCH_HOME", tmp.c_str(), 1);
    EXPECT_EQ(rt::ProjectDirFor(program.string()), tmp);
    unsetenv("CODECBENCH_HOME");
    // A build's folder is marked; a folder or link of that name is no mark.
    fs::create_directory(program / rt::kBuildFolderMarker);
    EXPECT_EQ(rt::ProjectDirFor(program.string()), (root / "home/.local/share/codecbench").string());
    fs::remove(program / rt::kBuildFolderMarker);
    fs::create_symlink(os::ExecutableDir() + "/" + rt::kBuildFolderMarker, program / rt::kBuildFolderMarker);
    EXPECT_EQ(rt::ProjectDirFor(program.string()), (root / "home/.local/share/codecbench").string());
    fs::remove(program / rt::kBuildFolderMarker);
    std::ofstream(program / rt::kBuildFolderMarker) << "x";
    EXPECT_EQ(rt::ProjectDirFor(program.string()), program.string());
    setenv("HOME", oldHome.c_str(), 1);
    if (oldData)
        setenv("XDG_DATA_HOME", keptData.c_str(), 1);
    else
        unsetenv("XDG_DATA_HOME");
    fs::remove_all(tmp);
}
