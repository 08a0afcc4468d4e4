// The panels driven as an assistive tool and a keyboard user drive them, on the emulated board:
// what the chip receives from an accessible action or value set, and what is refused under a
// modal popup and during an operation's wait.
#include <functional>

#include <QAccessible>
#include <QAction>
#include <QImage>
#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QSlider>

#include <array>

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
    // next "I2C CLK" item, set the left DAC volume and the 3D depth, choose Zutb from the menu.
    struct Attempt {
        int box, ring, dacVolume;
        double depth;
        std::string title;
        QStringList boxActions, ringItemActions;
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
        box->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
        ring->child(index + 1)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        slide->valueInterface()->setCurrentValue(-20.0);
        depth->valueInterface()->setCurrentValue(9.0);
        rt::testing::MenuItemAction(PHandleMenu, MENUBAR_DEVICE_StereoZutb)->trigger();
        a.box = CtrlInt(PHandleSTDemo, demo::STDemo_STALCRight);
        rt::GetCtrlIndex(PHandleSTDevCtrl, dev::CFGDEVJorb_STI2CBuadRate, &a.ring);
        a.dacVolume = static_cast<int>(Number(PHandleSTDemo, demo::STDemo_STLDACSlide));
        a.depth = Number(PHandleSTDAC, dac::CFGDAC_DEPTH3D);
        a.title = Title();
        return a;
    }
};

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
    EXPECT_EQ(CtrlInt(PHandleSTDemo, demo::STDemo_STALCRight), 1);
    EXPECT_TRUE(box->state().checked);
    EXPECT_TRUE(Wrote(32));
    EXPECT_NE(CFG_REG[32], before);
    EXPECT_EQ(board->CodecRegister(32), CFG_REG[32]);
    box->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_EQ(CtrlInt(PHandleSTDemo, demo::STDemo_STALCRight), 0);
    EXPECT_EQ(board->CodecRegister(32), CFG_REG[32]);

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
        EXPECT_TRUE(Received().empty());
        box->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
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
        EXPECT_EQ(RegisterWrites(), byPointer);
    }

    // A model button shows where the focus is, and chooses its model from the keyboard too.
    Choose(MENUBAR_DEVICE_StereoJorb);
    QWidget* zutb = rt::testing::ControlWidget(PHandlePanel, PANEL_PB_Zutb);
    QWidget* window = zutb->window();
    window->show();
    QApplication::setActiveWindow(window);
    zutb->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(zutb->hasFocus());
    const QImage focused = zutb->grab().toImage();
    zutb->clearFocus();
    EXPECT_NE(zutb->grab().toImage(), focused);
    Key(zutb, Qt::Key_Space);
    EXPECT_EQ(CheckedDeviceItems(), std::vector<int>{MENUBAR_DEVICE_StereoZutb});
}

}  // namespace
