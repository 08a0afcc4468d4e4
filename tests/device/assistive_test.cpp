// The panels driven as an assistive tool and a keyboard user drive them, on the emulated board:
// what the chip receives from an accessible action or value set, and what is refused under a
// modal popup and during an operation's wait.
#include <functional>

#include <QAbstractItemView>
#include <QAccessible>
#include <QAction>
#include <QImage>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QSlider>

#include <array>
#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "panels/MNDevCtrl_pan.h"
#include "panels/MNPath_pan.h"
#include "panels/cfgDACJorb_pan.h"
#include "panels/cfgDemoJorb_pan.h"
#include "panels/cfgDevJorb_pan.h"
#include "panels/cfgDevZutb_pan.h"
#include "panels/cfgPathJorb_pan.h"
#include "panels/cfgPathZutb_pan.h"
#include "runtime/testing.h"
#include "tests/device/device_test_support.h"
#include "tests/support/accessible_menu.h"
#include "tests/support/event_wait.h"

namespace {

using namespace modeltest;
namespace demo = ui::cfgDemoJorb_pan;
namespace dac = ui::cfgDACJorb_pan;
namespace dev = ui::cfgDevJorb_pan;

class AssistiveTest : public devicetest::DeviceFixture {
protected:
    // The interface an assistive tool reaches a control by (a slide by its slider).
    static QAccessibleInterface* Accessible(int panel, int control) {
        QWidget* w = rt::testing::ControlWidget(panel, control);
        if (!w) return nullptr;
        if (auto* slider = w->findChild<QSlider*>()) w = slider;
        return QAccessible::queryAccessibleInterface(w);
    }
    static QStringList Actions(QAccessibleInterface* i) {
        return i && i->actionInterface() ? i->actionInterface()->actionNames() : QStringList{"no action interface"};
    }
    bool Wrote(int reg) const {
        for (const auto& [r, v] : RegisterWrites())
            if (r == reg) return true;
        return false;
    }
    double Number(int panel, int control) {
        double v = 0;
        rt::GetCtrlVal(panel, control, &v);
        return v;
    }
    static void Key(QWidget* w, int key) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier), release(QEvent::KeyRelease, key, Qt::NoModifier);
        QApplication::sendEvent(w, &press);
        QApplication::sendEvent(w, &release);
    }

    // What the assistive tool tries on the Jorb panels: tick "ALC on Right Channel", choose the
    // next "I2C CLK" item, set the left DAC volume and the 3D depth, choose Jora through the
    // Device menu's accessible item; and Zutb is chosen from the menu as a click or key does.
    struct Attempt {
        int box, ring, dacVolume;
        double depth;
        std::string title;
        QStringList boxActions, ringItemActions, menuItemActions;
        bool menuItemBusy = false;
    };
    Attempt TryEverything() {
        Attempt a;
        QAccessibleInterface* box = Accessible(PHandleSTDemo, demo::STDemo_STALCRight);
        QAccessibleInterface* ring = Accessible(PHandleSTDevCtrl, dev::CFGDEVJorb_STI2CBuadRate);
        QAccessibleInterface* slide = Accessible(PHandleSTDemo, demo::STDemo_STLDACSlide);
        QAccessibleInterface* depth = Accessible(PHandleSTDAC, dac::CFGDAC_DEPTH3D);
        int index = 0;
        rt::GetCtrlIndex(PHandleSTDevCtrl, dev::CFGDEVJorb_STI2CBuadRate, &index);
        a.boxActions = Actions(box);
        a.ringItemActions = Actions(ring->child(index + 1));
        QAccessibleInterface* jora = testsupport::AccessibleMenuItem(PHandleMenu, "Device", "KorJora");
        a.menuItemActions = Actions(jora);
        a.menuItemBusy = jora && jora->state().busy;
        box->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
        ring->child(index + 1)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        rt::ProcessSystemEvents();  // what the actions start runs after their calls return
        slide->valueInterface()->setCurrentValue(-20.0);
        depth->valueInterface()->setCurrentValue(9.0);
        if (jora) jora->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        rt::testing::MenuItemAction(PHandleMenu, MENUBAR_DEVICE_StereoZutb)->trigger();
        a.box = CtrlInt(PHandleSTDemo, demo::STDemo_STALCRight);
        rt::GetCtrlIndex(PHandleSTDevCtrl, dev::CFGDEVJorb_STI2CBuadRate, &a.ring);
        a.dacVolume = static_cast<int>(Number(PHandleSTDemo, demo::STDemo_STLDACSlide));
        a.depth = Number(PHandleSTDAC, dac::CFGDAC_DEPTH3D);
        a.title = Title();
        return a;
    }
};

// What a screen reader asks of every node of the main window's tree, in range and past it:
// children before the first and past the last, the index of no child, unknown actions, values
// and text. Returns how many nodes answered; `problems` gets what a node answered wrongly.
int AskEveryNode(QAccessibleInterface* root, std::vector<std::string>* problems) {
    int nodes = 0;
    std::function<void(QAccessibleInterface*, const std::string&)> ask = [&](QAccessibleInterface* i,
                                                                             const std::string& path) {
        ++nodes;
        const std::string where = path + "/" + i->text(QAccessible::Name).toStdString() + "(" +
                                  std::to_string(static_cast<int>(i->role())) + ")";
        const int count = i->childCount();
        // Qt's own list, table and menu interfaces (not ours to mend) read the child they are
        // given and read before their list on a negative index, which the bus answers itself:
        // they are asked past the end only, where a table answers with a header cell.
        QObject* o = i->object();
        const bool qtOwn = qobject_cast<QAbstractItemView*>(o) || qobject_cast<QMenu*>(o) || qobject_cast<QMenuBar*>(o);
        for (int k : {-1, count, count + 1, std::numeric_limits<int>::max()}) {
            if (qtOwn) {
                if (k >= 0) i->child(k);
            } else if (i->child(k)) {
                problems->push_back(where + ": a child at " + std::to_string(k) + " of " + std::to_string(count));
            }
        }
        if (!qtOwn && i->indexOfChild(nullptr) != -1) problems->push_back(where + ": an index for no child");
        i->childAt(-100000, -100000);
        for (QAccessible::Text t : {QAccessible::Name, QAccessible::Description, QAccessible::Value, QAccessible::Help})
            i->text(t);
        i->state();
        i->rect();
        i->parent();
        if (QAccessibleActionInterface* a = i->actionInterface()) {
            a->actionNames();
            a->doAction(QStringLiteral("no such action"));
            a->keyBindingsForAction(QStringLiteral("no such action"));
            a->localizedActionName(QStringLiteral("no such action"));
            a->localizedActionDescription(QStringLiteral("no such action"));
        }
        if (QAccessibleValueInterface* v = i->valueInterface()) {
            const QVariant now = v->currentValue();
            v->minimumValue();
            v->maximumValue();
            v->minimumStepSize();
            // A control's value is not changed by a value that is no number.
            if (o && o->property("rtControl").isValid()) {
                for (const QVariant& bad : {QVariant(), QVariant(std::nan("")), QVariant(QStringLiteral("loud"))}) {
                    v->setCurrentValue(bad);
                    if (v->currentValue() != now)
                        problems->push_back(where + ": set to " + bad.toString().toStdString() + ", now " +
                                            v->currentValue().toString().toStdString());
                }
            }
        }
        if (QAccessibleTextInterface* t = i->textInterface()) {
            t->text(-5, t->characterCount() + 5);
            t->characterRect(t->characterCount() + 5);
            int start = 0, end = 0;
            t->attributes(t->characterCount() + 5, &start, &end);
        }
        if (QAccessibleTableInterface* t = i->tableInterface()) {
            t->cellAt(-1, -1);
            t->cellAt(t->rowCount(), t->columnCount());
            t->columnDescription(-1);
            t->rowDescription(t->rowCount());
        }
        for (int k = 0; k < count; ++k)
            if (QAccessibleInterface* c = i->child(k)) {
                if (c->parent() != i && c->parent()) continue;  // reached twice; asked where it lives
                ask(c, where);
            }
    };
    ask(root, "");
    return nodes;
}

// A check box ticked by its accessible action writes the chip as a click does. Under a modal
// popup, and during an operation's wait, no action is offered and none of the tool's changes
// lands, on the screen or on the chip, then or after.
TEST_F(AssistiveTest, ActionsWriteAsAClickAndAreRefusedUnderAPopupAndDuringAWait) {
    Choose(MENUBAR_DEVICE_StereoJorb);
    const std::string title = Title();
    QAccessibleInterface* box = Accessible(PHandleSTDemo, demo::STDemo_STALCRight);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->role(), QAccessible::CheckBox);
    ASSERT_TRUE(Actions(box).contains(QAccessibleActionInterface::toggleAction()));
    const uint32_t before = CFG_REG[32];
    box->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    rt::ProcessSystemEvents();
    EXPECT_EQ(CtrlInt(PHandleSTDemo, demo::STDemo_STALCRight), 1);
    EXPECT_TRUE(box->state().checked);
    EXPECT_TRUE(Wrote(32));
    EXPECT_NE(CFG_REG[32], before);
    EXPECT_EQ(board->CodecRegister(32), CFG_REG[32]);
    box->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    rt::ProcessSystemEvents();
    EXPECT_EQ(CtrlInt(PHandleSTDemo, demo::STDemo_STALCRight), 0);
    EXPECT_EQ(board->CodecRegister(32), CFG_REG[32]);

    // An action that starts an operation is answered before it runs: none of Power Up's writes
    // and waits happens in the tool's call; they follow once the event loop runs.
    Forget();
    PoweredUp = 0;
    QAccessibleInterface* powerUp = Accessible(PHandleSTDevCtrl, dev::CFGDEVJorb_BPowerUp);
    ASSERT_TRUE(Actions(powerUp).contains(QAccessibleActionInterface::pressAction()));
    powerUp->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(Received().empty()) << Received().size() << " report(s) sent during the call";
    EXPECT_EQ(sleptMs, 0);
    rt::ProcessSystemEvents();
    EXPECT_EQ(ReceivedWithCommand(COMM_I2C | CMD_CODEC_WRITE_BLOCK3).size(), 1u);
    EXPECT_GE(sleptMs, 3000);
    EXPECT_EQ(PoweredUp, 1);
    // An action accepted, then a popup opened before its turn: it is dropped, as a click would be.
    Forget();
    box->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    {
        QMessageBox popup(QMessageBox::Warning, "Warning -- Operation aborted", "The board did not answer.", QMessageBox::Ok,
                          rt::testing::PanelWindow(PHandlePanel));
        popup.setWindowModality(Qt::ApplicationModal);
        popup.show();
        rt::ProcessSystemEvents();
        popup.hide();
    }
    rt::ProcessSystemEvents();
    EXPECT_EQ(CtrlInt(PHandleSTDemo, demo::STDemo_STALCRight), 0);
    EXPECT_TRUE(Received().empty());

    // The same changes are the user's when nothing holds them off: every one lands.
    Forget();
    const int ringBefore = [&] {
        int i = 0;
        rt::GetCtrlIndex(PHandleSTDevCtrl, dev::CFGDEVJorb_STI2CBuadRate, &i);
        return i;
    }();
    {
        QMessageBox popup(QMessageBox::Warning, "Warning -- Operation aborted", "The board did not answer.", QMessageBox::Ok,
                          rt::testing::PanelWindow(PHandlePanel));
        popup.setWindowModality(Qt::ApplicationModal);
        popup.show();
        ASSERT_EQ(QApplication::activeModalWidget(), &popup);
        const Attempt a = TryEverything();
        EXPECT_TRUE(a.boxActions.isEmpty()) << a.boxActions.join(",").toStdString();
        EXPECT_TRUE(a.ringItemActions.isEmpty()) << a.ringItemActions.join(",").toStdString();
        EXPECT_TRUE(a.menuItemActions.isEmpty()) << a.menuItemActions.join(",").toStdString();
        EXPECT_TRUE(a.menuItemBusy);
        EXPECT_EQ(a.box, 0);
        EXPECT_EQ(a.ring, ringBefore);
        EXPECT_NE(a.dacVolume, -20);
        EXPECT_NE(a.depth, 9.0);
        EXPECT_EQ(a.title, title);
        popup.hide();
    }
    rt::ProcessSystemEvents();
    EXPECT_TRUE(Received().empty());
    EXPECT_TRUE(prompter.shown.empty());
    EXPECT_EQ(Title(), title);

    // Changes that come while Power Up waits between its writes: refused, and not run after it.
    bool tried = false;
    Attempt during;
    QMetaObject::invokeMethod(
        qApp, [&] {
            tried = true;
            during = TryEverything();
        },
        Qt::QueuedConnection);
    Press(PHandleSTDevCtrl, dev::CFGDEVJorb_BPowerUp);
    ASSERT_TRUE(tried) << "Power Up handled no events while it waited";
    EXPECT_TRUE(during.boxActions.isEmpty());
    EXPECT_TRUE(during.ringItemActions.isEmpty());
    EXPECT_TRUE(during.menuItemActions.isEmpty()) << during.menuItemActions.join(",").toStdString();
    EXPECT_TRUE(during.menuItemBusy);
    EXPECT_EQ(during.box, 0);
    EXPECT_EQ(during.ring, ringBefore);
    EXPECT_NE(during.depth, 9.0);
    EXPECT_NE(during.dacVolume, -20);
    for (int i = 0; i < 5; ++i) rt::ProcessSystemEvents();
    const uint32_t depthField = CFG_REG[41];
    Forget();
    for (int i = 0; i < 5; ++i) rt::ProcessSystemEvents();
    EXPECT_FALSE(Wrote(41));
    EXPECT_EQ(CFG_REG[41], depthField);
    EXPECT_NE(Number(PHandleSTDAC, dac::CFGDAC_DEPTH3D), 9.0);
    EXPECT_EQ(Title(), title);

    // Changes that come while a callback runs (here while the boost stage's tick shows its
    // warning): refused as well, and not run after it.
    struct TryingPrompter : testsupport::RecordingPrompter {
        std::function<void()> during;
        void Message(const std::string& title, const std::string& text) override {
            RecordingPrompter::Message(title, text);
            if (during) during();
        }
    } trying;
    Attempt inCallback;
    trying.during = [&] { inCallback = TryEverything(); };
    rt::Prompter* quiet = rt::SetPrompter(&trying);
    rt::SetCtrlVal(PHandleSTDevCtrl, dev::CFGDEVJorb_C1dot5xBoostStage, 1);
    Press(PHandleSTDevCtrl, dev::CFGDEVJorb_C1dot5xBoostStage);
    rt::SetPrompter(quiet);
    ASSERT_EQ(trying.shown.size(), 1u) << "the tick showed no warning";
    EXPECT_TRUE(inCallback.boxActions.isEmpty()) << inCallback.boxActions.join(",").toStdString();
    EXPECT_EQ(inCallback.box, 0);
    EXPECT_EQ(inCallback.ring, ringBefore);
    EXPECT_NE(inCallback.depth, 9.0);
    EXPECT_NE(inCallback.dacVolume, -20);
    EXPECT_EQ(inCallback.title, title);
    for (int i = 0; i < 5; ++i) rt::ProcessSystemEvents();
    EXPECT_FALSE(Wrote(41));
    EXPECT_FALSE(Wrote(32));

    // Nothing holds the tool off any more: its changes land and write the chip.
    Forget();
    const Attempt after = TryEverything();
    EXPECT_EQ(after.box, 1);
    EXPECT_EQ(after.ring, ringBefore + 1);
    EXPECT_EQ(after.dacVolume, -20);
    EXPECT_EQ(after.depth, 9.0);
    EXPECT_TRUE(Wrote(32));
    EXPECT_TRUE(Wrote(41));
    // The menu choice returns to the tool at once and runs from the event loop.
    EXPECT_EQ(after.menuItemActions, QStringList{QAccessibleActionInterface::pressAction()});
    EXPECT_FALSE(after.menuItemBusy);
    EXPECT_TRUE(testsupport::EventLoopUntil([] { return g_dev_type == DEV_JORA; })) << "device type " << g_dev_type;
}

// The same on a second stereo model and a mono one: the PLL power bit ticked through the tool
// writes its register as its click does, and nothing is written while a popup is open.
TEST_F(AssistiveTest, PowerBitsTickedByTheToolWriteOnZutbAndPykcAndNotUnderAPopup) {
    struct Box {
        int menu;
        int* panel;
        int control;
    };
    for (const Box& b : {Box{MENUBAR_DEVICE_StereoZutb, &PHandleSTDevCtrlZutb, ui::cfgDevZutb_pan::CFGDEVZutb_PLLEN},
                         Box{MENUBAR_DEVICE_Mono, &PHandleMNDevCtrl, ui::MNDevCtrl_pan::MNDEVCTRL_PLLEN}}) {
        SCOPED_TRACE("model item " + std::to_string(b.menu));
        Choose(b.menu);
        QAccessibleInterface* box = Accessible(*b.panel, b.control);
        ASSERT_NE(box, nullptr);
        const int was = CtrlInt(*b.panel, b.control);
        {
            QMessageBox popup(QMessageBox::Warning, "Warning -- Operation aborted", "The board did not answer.", QMessageBox::Ok,
                              rt::testing::PanelWindow(PHandlePanel));
            popup.setWindowModality(Qt::ApplicationModal);
            popup.show();
            EXPECT_TRUE(Actions(box).isEmpty());
            box->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
            EXPECT_EQ(CtrlInt(*b.panel, b.control), was);
            popup.hide();
        }
        rt::ProcessSystemEvents();
        EXPECT_TRUE(Received().empty());
        box->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
        rt::ProcessSystemEvents();
        EXPECT_EQ(CtrlInt(*b.panel, b.control), 1 - was);
        EXPECT_FALSE(RegisterWrites().empty());
        for (const auto& [reg, value] : RegisterWrites()) EXPECT_EQ(board->CodecRegister(reg), CFG_REG[reg]) << "R" << reg;
    }
}

// The path views' mute and PGA picture buttons and the model buttons are pressed with Space and
// Return as with the pointer, and through their accessible action, on a stereo and a mono model.
TEST_F(AssistiveTest, PictureButtonsPressFromTheKeyboardAndTheirActionAsWithThePointer) {
    struct Icon {
        int menu;
        int* panel;
        int control;
    };
    const std::array<Icon, 4> icons = {{
        {MENUBAR_DEVICE_StereoJorb, &PHandleSTPath, ui::cfgPathJorb_pan::CFGPATHJorb_STPGALDisableIcon},
        {MENUBAR_DEVICE_StereoJorb, &PHandleSTPath, ui::cfgPathJorb_pan::CFGPATHJorb_STPGALEnableIcon},
        {MENUBAR_DEVICE_StereoZutb, &PHandleSTPathZutb, ui::cfgPathZutb_pan::CFGPATHZutb_STPGALEnableIcon},
        {MENUBAR_DEVICE_Mono, &PHandleMNPath, ui::MNPath_pan::MNPATH_MNINPPGAMuteIcon},
    }};
    for (const Icon& icon : icons) {
        SCOPED_TRACE("icon " + std::to_string(icon.control) + " of model item " + std::to_string(icon.menu));
        Choose(icon.menu);
        QWidget* w = rt::testing::ControlWidget(*icon.panel, icon.control);
        ASSERT_NE(w, nullptr);
        w->setEnabled(true);
        const auto registers = [&] {
            std::vector<uint32_t> r(CFG_REG, CFG_REG + 64);
            return r;
        };
        const std::vector<uint32_t> start = registers();
        auto restart = [&] {
            for (int r = 0; r < 64; ++r) CFG_REG[r] = start[r];
            Forget();
        };
        // The pointer: a press reports a left click, the release the commit.
        rt::CallCtrlCallback(*icon.panel, icon.control, rt::EVENT_LEFT_CLICK, 10, 10);
        rt::CallCtrlCallback(*icon.panel, icon.control, rt::EVENT_COMMIT, 0, 0);
        const auto byPointer = RegisterWrites();
        const std::vector<uint32_t> afterPointer = registers();
        EXPECT_FALSE(byPointer.empty());
        for (int key : {Qt::Key_Space, Qt::Key_Return}) {
            restart();
            Key(w, key);
            EXPECT_EQ(RegisterWrites(), byPointer) << "key " << key;
            EXPECT_EQ(registers(), afterPointer) << "key " << key;
        }
        restart();
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
        ASSERT_TRUE(Actions(a).contains(QAccessibleActionInterface::pressAction()));
        a->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        rt::ProcessSystemEvents();
        EXPECT_EQ(RegisterWrites(), byPointer);
    }

    // A model button shows where the focus is, and chooses its model from the keyboard too.
    Choose(MENUBAR_DEVICE_StereoJorb);
    QWidget* zutb = rt::testing::ControlWidget(PHandlePanel, PANEL_PB_Zutb);
    QWidget* window = zutb->window();
    window->show();
    window->activateWindow();
    ASSERT_TRUE(testsupport::EventLoopUntil([&] { return QApplication::activeWindow() == window; }));
    zutb->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(zutb->hasFocus());
    const QImage focused = zutb->grab().toImage();
    zutb->clearFocus();
    EXPECT_NE(zutb->grab().toImage(), focused);
    Key(zutb, Qt::Key_Space);
    EXPECT_EQ(CheckedDeviceItems(), std::vector<int>{MENUBAR_DEVICE_StereoZutb});
}

// Every node of the main window's tree answers what a screen reader asks, on every page of every
// kind of model and while a model is being chosen: nothing past the last child, no index for no
// child, nothing done for an unknown action. Asked on the emulated board with a real window.
TEST_F(AssistiveTest, EveryNodeAnswersRequestsPastItsChildrenOnEveryPageAndWhileModelsChange) {
    QWidget* window = rt::testing::PanelWindow(PHandlePanel);
    ASSERT_NE(window, nullptr);
    window->show();
    std::vector<std::string> problems;
    for (int menu : {MENUBAR_DEVICE_StereoJorb, MENUBAR_DEVICE_StereoZutb, MENUBAR_DEVICE_Mono}) {
        SCOPED_TRACE("model item " + std::to_string(menu));
        // Asked while the choice waits for the board, when the old pages go and the new come.
        int askedDuring = 0;
        QMetaObject::invokeMethod(
            qApp, [&] { askedDuring = AskEveryNode(QAccessible::queryAccessibleInterface(window), &problems); },
            Qt::QueuedConnection);
        Choose(menu);
        rt::ProcessSystemEvents();
        EXPECT_GT(askedDuring, 0);
        const std::vector<int> pages = Tabs();
        ASSERT_FALSE(pages.empty());
        for (int page : pages) {
            rt::EasyTab_SetAttribute(PHandlePanel, tabCtrl, rt::ATTR_EASY_TAB_ACTIVE_PANEL, page);
            rt::ProcessSystemEvents();
            Forget();
            EXPECT_GT(AskEveryNode(QAccessible::queryAccessibleInterface(window), &problems), 100) << "page " << page;
            rt::ProcessSystemEvents();
            EXPECT_TRUE(Received().empty()) << Received().size() << " report(s) sent on page " << page;
        }
    }
    std::string all;
    for (const std::string& p : problems) all += "\n  " + p;
    EXPECT_TRUE(problems.empty()) << problems.size() << " wrong answer(s):" << all;
}

}  // namespace
