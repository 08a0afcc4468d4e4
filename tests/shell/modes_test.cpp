// The Mode menu, write-only mode, chip identification, the boost warnings and the About box.
#include <gmock/gmock.h>
#include <cstring>
#include <functional>
#include <utility>

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QTest>

#include <algorithm>
#include <unistd.h>

#include "panels/MNDevCtrl_pan.h"
#include "panels/MNPykaDevCtrl_pan.h"
#include "panels/cfgDevJorb_pan.h"
#include "shell/about.h"
#include "shell/guarded_reads.h"
#include "shell/modes.h"
#include "tests/shell/shell_test_support.h"
#include "tests/support/accessible_menu.h"
#include "tests/support/event_wait.h"

namespace {

using namespace ui::AudioCodec_pan;
namespace jorb = ui::cfgDevJorb_pan;
namespace pykc = ui::MNDevCtrl_pan;
namespace pyka = ui::MNPykaDevCtrl_pan;

class ModesTest : public shelltest::ShellFixture {
protected:
    void SetUp() override {
        ShellFixture::SetUp();
        if (HasFatalFailure()) return;
        StartShell(true);
        board->ClearReceivedReports();
        prompter.shown.clear();
    }
    void Menu(int item) { rt::CallMenuCallback(PHandleMenu, item); }
    std::vector<int> CheckedModeItems() {
        std::vector<int> out;
        for (int item : {MENUBAR_MODE_SPI3WMode, MENUBAR_MODE_SPI4WMode, MENUBAR_MODE_I2CMode})
            if (MenuChecked(item)) out.push_back(item);
        return out;
    }
    bool ChoicesDimmed(const std::vector<int>& items, const std::vector<int>& controls) {
        for (int i : items)
            if (!MenuDimmed(i)) return false;
        for (int c : controls)
            if (!CtrlDimmed(c)) return false;
        return true;
    }
    bool ChoicesUndimmed(const std::vector<int>& items, const std::vector<int>& controls) {
        for (int i : items)
            if (MenuDimmed(i)) return false;
        for (int c : controls)
            if (CtrlDimmed(c)) return false;
        return true;
    }
    const std::vector<int> monoItems{MENUBAR_DEVICE_MonoPyka, MENUBAR_DEVICE_Mono, MENUBAR_DEVICE_MonoPykd};
    const std::vector<int> monoControls{PANEL_PB_Pyka,      PANEL_PB_Pykc,      PANEL_PB_Pykd,
                                        PANEL_TEXT_KorPyka, PANEL_TEXT_KorPykc, PANEL_TEXT_KorPykd};
    const std::vector<int> stereoItems{MENUBAR_DEVICE_StereoJorb, MENUBAR_DEVICE_StereoJora,
                                       MENUBAR_DEVICE_StereoQeva};
    const std::vector<int> stereoControls{PANEL_PB_Jorb,      PANEL_PB_Jora,      PANEL_PB_Qeva,
                                          PANEL_TEXT_KorJorb, PANEL_TEXT_KorJora, PANEL_TEXT_KorQeva};
    // The choices identification never dims.
    const std::vector<int> neverDimmedItems{MENUBAR_DEVICE_MonoPykb, MENUBAR_DEVICE_StereoQevb,
                                            MENUBAR_DEVICE_StereoZuta, MENUBAR_DEVICE_StereoZutb};
    const std::vector<int> neverDimmedControls{PANEL_PB_Pykb, PANEL_PB_Qevb, PANEL_PB_Zuta, PANEL_PB_Zutb,
                                               PANEL_TM_KorJorbx};
};

// ---- write-only mode ---------------------------------------------------------------------

TEST_F(ModesTest, WriteOnlyModeTogglesWithItsMarkAndRefusesEveryRead) {
    Menu(MENUBAR_MODE_WriteOnly_Mode);
    EXPECT_TRUE(MenuChecked(MENUBAR_MODE_WriteOnly_Mode));
    EXPECT_EQ(QuillonMode, 1);
    EXPECT_TRUE(Received().empty());

    EXPECT_EQ(ZelqxReadOneReg(62), -1);
    int values[63] = {};
    EXPECT_EQ(ZelqxReadAllReg(values), 0);
    ASSERT_EQ(prompter.shown.size(), 2u);
    for (const shelltest::Popup& p : prompter.shown) {
        EXPECT_EQ(p.title, "invalid operation");
        EXPECT_EQ(p.text, "Can not read under Write-Only Mode");
    }
    // Identification does not read either, and says nothing.
    Tick(PANEL_DevIDTimer);
    EXPECT_EQ(prompter.shown.size(), 2u);
    EXPECT_TRUE(Received().empty());

    Menu(MENUBAR_MODE_WriteOnly_Mode);
    EXPECT_FALSE(MenuChecked(MENUBAR_MODE_WriteOnly_Mode));
    EXPECT_EQ(QuillonMode, 0);
    EXPECT_EQ(ZelqxReadOneReg(62), 0xFE);
}

TEST_F(ModesTest, ThreeWireSpiRefusesReadsWithItsOwnPopup) {
    CommMode = COMM_SPI3W;
    EXPECT_EQ(ZelqxReadOneReg(7), -1);
    int values[63] = {};
    EXPECT_EQ(ZelqxReadAllReg(values), -1);
    ASSERT_EQ(prompter.shown.size(), 2u);
    EXPECT_EQ(prompter.shown[1].title, "invalid operation");
    EXPECT_EQ(prompter.shown[1].text, "Can not read under 3-Wire SPI Mode");
    EXPECT_TRUE(Received().empty());
}

// ---- communication mode ------------------------------------------------------------------

TEST_F(ModesTest, WithNoModelTheJorbPanelCarriesEachModeChoice) {
    Menu(MENUBAR_MODE_SPI4WMode);
    EXPECT_EQ(CheckedModeItems(), std::vector<int>{MENUBAR_MODE_SPI4WMode});
    EXPECT_EQ(CtrlInt(PHandleSTDevCtrl, jorb::CFGDEVJorb_ST4WSPIModeEn), 1);
    EXPECT_EQ(CtrlInt(PHandleSTDevCtrl, jorb::CFGDEVJorb_STI2CModeEn), 0);
    EXPECT_EQ(CommMode, COMM_SPI4W);
    EXPECT_FALSE(ReceivedWithCommand(CMD_BOARD_CONFIG).empty());

    Menu(MENUBAR_MODE_SPI3WMode);
    EXPECT_EQ(CheckedModeItems(), std::vector<int>{MENUBAR_MODE_SPI3WMode});
    EXPECT_EQ(CtrlInt(PHandleSTDevCtrl, jorb::CFGDEVJorb_ST3WSPIModeEn), 1);
    EXPECT_EQ(CtrlInt(PHandleSTDevCtrl, jorb::CFGDEVJorb_ST4WSPIModeEn), 0);
    EXPECT_EQ(CommMode, COMM_SPI3W);

    Menu(MENUBAR_MODE_I2CMode);
    EXPECT_EQ(CheckedModeItems(), std::vector<int>{MENUBAR_MODE_I2CMode});
    EXPECT_EQ(CtrlInt(PHandleSTDevCtrl, jorb::CFGDEVJorb_STI2CModeEn), 1);
    EXPECT_EQ(CommMode, COMM_I2C);
}

TEST_F(ModesTest, ThePykcSetCarriesModeChoicesOnItsOwnPanel) {
    UILoaded = UI_PYKC;
    Menu(MENUBAR_MODE_SPI3WMode);
    EXPECT_EQ(CtrlInt(PHandleMNDevCtrl, pykc::MNDEVCTRL_MN3WSPIModeEn), 1);
    EXPECT_EQ(CtrlInt(PHandleSTDevCtrl, jorb::CFGDEVJorb_ST3WSPIModeEn), 0);
    EXPECT_EQ(CommMode, COMM_SPI3W);
    Menu(MENUBAR_MODE_I2CMode);
    EXPECT_EQ(CtrlInt(PHandleMNDevCtrl, pykc::MNDEVCTRL_MNI2CModeEn), 1);
    EXPECT_EQ(CtrlInt(PHandleMNDevCtrl, pykc::MNDEVCTRL_MN3WSPIModeEn), 0);
    EXPECT_EQ(CommMode, COMM_I2C);
}

TEST_F(ModesTest, WithPykaLoadedEveryChoiceGoesToThePykaPanel) {
    UILoaded = UI_PYKA;
    Menu(MENUBAR_MODE_SPI4WMode);
    EXPECT_EQ(CtrlInt(PHandleMNPykaDevCtrl, pyka::MNPykaDEVCTRL_MN4WSPIModeEn), 1);
    EXPECT_EQ(CtrlInt(PHandleSTDevCtrl, jorb::CFGDEVJorb_ST4WSPIModeEn), 0);
    EXPECT_EQ(CommMode, COMM_SPI4W);
    Menu(MENUBAR_MODE_I2CMode);
    EXPECT_EQ(CtrlInt(PHandleMNPykaDevCtrl, pyka::MNPykaDEVCTRL_MNI2CModeEn), 1);
    EXPECT_EQ(CtrlInt(PHandleSTDevCtrl, jorb::CFGDEVJorb_STI2CModeEn), 0);
    EXPECT_EQ(CommMode, COMM_I2C);
}

TEST_F(ModesTest, EnableCommModeDoesNothingWithNoModelOrThePykbSet) {
    for (int model : {UI_NONE, UI_PYKB}) {
        UILoaded = model;
        EnableCommMode();
    }
    EXPECT_TRUE(Received().empty());
    EXPECT_EQ(CtrlInt(PHandleSTDevCtrl, jorb::CFGDEVJorb_STI2CModeEn), 0);

    UILoaded = UI_JORB;
    EnableCommMode();
    EXPECT_EQ(CtrlInt(PHandleSTDevCtrl, jorb::CFGDEVJorb_STI2CModeEn), 1);
    EXPECT_FALSE(ReceivedWithCommand(CMD_BOARD_CONFIG).empty());
}

// ---- chip identification -----------------------------------------------------------------

TEST_F(ModesTest, IdentityFDDimsTheMonoChoicesOnly) {
    board->SetIdentity(0xFD, 0x1A);
    Tick(PANEL_DevIDTimer);
    EXPECT_EQ(Received(), (std::vector<shelltest::Report>{{0xD0, 0, 1, 62}}));
    EXPECT_TRUE(ChoicesDimmed(monoItems, monoControls));
    EXPECT_TRUE(ChoicesUndimmed(stereoItems, stereoControls));
    EXPECT_TRUE(ChoicesUndimmed(neverDimmedItems, neverDimmedControls));
}

TEST_F(ModesTest, IdentityFEDimsTheStereoChoicesAndKeepsTheMonoOnesAsTheyWere) {
    CheckDeviceID(0xFD);
    board->SetIdentity(0xFE, 0x1A);
    Tick(PANEL_DevIDTimer);
    EXPECT_TRUE(ChoicesDimmed(stereoItems, stereoControls));
    EXPECT_TRUE(ChoicesDimmed(monoItems, monoControls));  // neither id undims the other family
    EXPECT_TRUE(ChoicesUndimmed(neverDimmedItems, neverDimmedControls));
    EXPECT_TRUE(RegisterWrites().empty());
}

TEST_F(ModesTest, AnyOtherIdentityUndimsEveryChoiceAndWritesRegister1) {
    CheckDeviceID(0xFD);
    CheckDeviceID(0xFE);
    board->SetIdentity(0x00, 0x1A);
    CFG_REG[1] = 0x1C0;
    Tick(PANEL_DevIDTimer);
    EXPECT_TRUE(ChoicesUndimmed(monoItems, monoControls));
    EXPECT_TRUE(ChoicesUndimmed(stereoItems, stereoControls));
    EXPECT_EQ(CFG_REG[1], 0x1CFu);
    EXPECT_EQ(RegisterWrites(), (std::vector<std::pair<int, int>>{{1, 0x1CF}}));
    EXPECT_EQ(board->CodecRegister(1), 0x1CF);
}

TEST_F(ModesTest, AFailedIdentityReadUndimsButWritesNothing) {
    CheckDeviceID(0xFD);
    boardhid::FaultPlan plan;
    plan.dropReplies = 1;
    board->SetFaults(plan);
    const uint32_t before = CFG_REG[1];
    Tick(PANEL_DevIDTimer);
    EXPECT_TRUE(ChoicesUndimmed(monoItems, monoControls));
    EXPECT_EQ(CFG_REG[1], before);
    EXPECT_TRUE(RegisterWrites().empty());
    EXPECT_THAT(prompter.shown, ::testing::IsEmpty());
}

TEST_F(ModesTest, WithoutAnOpenBoardIdentificationNeitherWaitsNorWrites) {
    CloseLink();
    board->ClearReceivedReports();
    const uint32_t before = CFG_REG[1];
    CheckDeviceID(0xFE);
    Tick(PANEL_DevIDTimer);
    EXPECT_TRUE(ChoicesUndimmed(stereoItems, stereoControls));
    EXPECT_EQ(CFG_REG[1], before);
    EXPECT_TRUE(Received().empty());
}

TEST_F(ModesTest, UnderThreeWireSpiIdentificationDoesNotReadAndCountsAsId0) {
    CommMode = COMM_SPI3W;
    CheckDeviceID(0xFD);
    Tick(PANEL_DevIDTimer);
    EXPECT_TRUE(ChoicesUndimmed(monoItems, monoControls));
    ASSERT_EQ(Received().size(), 1u);
    EXPECT_EQ(Received()[0][0], 0x54);  // a 3-wire write of register 1, no read
    EXPECT_EQ(Received()[0][3] >> 1, 1);
    EXPECT_THAT(prompter.shown, ::testing::IsEmpty());
}

// A menu choice that comes while the identity read waits for the chip's answer is the user's,
// not the poll's: it is taken (the tool is offered the item's action, nothing busy) and runs
// once the read's wait is over, whether a click or key triggers the item or the tool presses
// it. A model chosen so, like any choice, ends identification for good.
TEST_F(ModesTest, AnyModelChoiceEndsIdentificationForGood) {
    board->SetIdentity(0xFD, 0x1A);  // a stereo chip: the stereo choices stay offered
    // The read's wait answers the window system between its slices: `during` runs then.
    std::function<void()> during;
    const os::Sleeper answering = [&](int ms) {
        if (during) QMetaObject::invokeMethod(qApp, std::exchange(during, nullptr), Qt::QueuedConnection);
        usleep(static_cast<useconds_t>(ms) * 1000);
    };
    os::SetSleeper(answering);
    bool readSent = false;
    uint8_t modeInWait = 0;
    during = [&] {
        readSent = !ReceivedWithCommand(0xD0).empty();
        rt::testing::MenuItemAction(PHandleMenu, MENUBAR_MODE_SPI4WMode)->trigger();
        modeInWait = CommMode;
    };
    Tick(PANEL_DevIDTimer);
    EXPECT_FALSE(during) << "the identity read did not wait";
    EXPECT_TRUE(readSent);
    EXPECT_EQ(modeInWait, COMM_I2C);  // held, not run inside the read
    EXPECT_TRUE(ChoicesDimmed(monoItems, monoControls));
    os::SetSleeper([](int) {});
    EXPECT_TRUE(testsupport::EventLoopUntil([] { return CommMode == COMM_SPI4W; })) << "mode " << int(CommMode);
    EXPECT_EQ(CheckedModeItems(), std::vector<int>{MENUBAR_MODE_SPI4WMode});

    QStringList offered;
    bool busy = true;
    int loadedInWait = -1;
    during = [&] {
        QAccessibleInterface* jorb = testsupport::AccessibleMenuItem(PHandleMenu, "Device", "KorJorb");
        if (!jorb) return;
        offered = jorb->actionInterface()->actionNames();
        busy = jorb->state().busy;
        jorb->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        loadedInWait = UILoaded;
    };
    os::SetSleeper(answering);
    board->ClearReceivedReports();
    Tick(PANEL_DevIDTimer);
    os::SetSleeper([](int) {});
    EXPECT_EQ(offered, QStringList{QAccessibleActionInterface::pressAction()});
    EXPECT_FALSE(busy);
    EXPECT_EQ(loadedInWait, UI_NONE);
    EXPECT_TRUE(testsupport::EventLoopUntil([] { return UILoaded == UI_JORB; })) << "loaded " << UILoaded;
    EXPECT_EQ(g_dev_type, DEV_JORB);

    // The Device menu leaves the timer running; its next tick ends it.
    rt::SetCtrlAttribute(PHandlePanel, PANEL_DevIDTimer, rt::ATTR_ENABLED, 1);
    board->ClearReceivedReports();
    Tick(PANEL_DevIDTimer);
    EXPECT_FALSE(TimerEnabled(PANEL_DevIDTimer));
    EXPECT_TRUE(Received().empty());

    UILoaded = UI_NONE;  // the home button unloads the set; the poll stays ended
    Tick(PANEL_DevIDTimer);
    EXPECT_TRUE(Received().empty());
}

// ---- boost warnings ----------------------------------------------------------------------

TEST_F(ModesTest, BoostBoxesWarnAboutTheJumperForTheirSupply) {
    const int box = jorb::CFGDEVJorb_C1dot5xBoostStage;
    rt::SetCtrlVal(PHandleSTDevCtrl, box, 0);
    rt::CallCtrlCallback(PHandleSTDevCtrl, box, rt::EVENT_COMMIT, 0, 0);
    rt::SetCtrlVal(PHandleSTDevCtrl, box, 1);
    rt::CallCtrlCallback(PHandleSTDevCtrl, box, rt::EVENT_COMMIT, 0, 0);
    rt::SetCtrlVal(PHandleMNDevCtrl, pykc::MNDEVCTRL_C1dot5xBoostStage, 0);
    rt::CallCtrlCallback(PHandleMNDevCtrl, pykc::MNDEVCTRL_C1dot5xBoostStage, rt::EVENT_COMMIT, 0, 0);
    rt::SetCtrlVal(PHandleMNPykaDevCtrl, pyka::MNPykaDEVCTRL_C1dot5xBoostStage, 1);
    rt::CallCtrlCallback(PHandleMNPykaDevCtrl, pyka::MNPykaDEVCTRL_C1dot5xBoostStage, rt::EVENT_COMMIT, 0, 0);
    rt::CallCtrlCallback(PHandleSTDevCtrl, box, rt::EVENT_LEFT_CLICK, 0, 0);  // not a commit

    ASSERT_EQ(prompter.shown.size(), 4u);
    EXPECT_EQ(prompter.shown[0].title, "Warning Device is set for 5V mode!");
    EXPECT_EQ(prompter.shown[0].text, "Please adjust J-25 for 5 Volt Speaker Ouput");
    EXPECT_EQ(prompter.shown[1].title, "Warning Device is set for 3V mode!");
    EXPECT_EQ(prompter.shown[1].text, "Please adjust J-25 for 3.3 Volt Speaker Ouput");
    EXPECT_EQ(prompter.shown[2].title, "Warning Device is set for 5V mode!");
    EXPECT_EQ(prompter.shown[2].text, "Please adjust J-20 for 5 Volt Speaker Ouput");
    EXPECT_EQ(prompter.shown[3].title, "Warning Device is set for 3V mode!");
    EXPECT_EQ(prompter.shown[3].text, "Please adjust J-20 for 3.3 Volt Speaker Ouput");
    EXPECT_TRUE(Received().empty());
}

// ---- About box ---------------------------------------------------------------------------

TEST_F(ModesTest, AboutShowsTheProgramAndFirmwareVersions) {
    Menu(MENUBAR_ABOUT);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].title, "About Tervalo Audio Codec");
    const std::string& text = prompter.shown[0].text;
    EXPECT_EQ(text.rfind(" -- Tervalo Audio Codec Demo Version --\n\nSW Version: 1.30\n", 0), 0u) << text;
    const std::string firmware = "\n\nFW Version: 0.90\n" + board->FirmwareDate().substr(0, 19);
    ASSERT_GE(text.size(), firmware.size());
    EXPECT_EQ(text.substr(text.size() - firmware.size()), firmware) << text;
    EXPECT_EQ(ReceivedWithCommand(CMD_FW_DATE), (std::vector<shelltest::Report>{{0x20, 0, 0}}));
}

TEST_F(ModesTest, AboutWithoutAnAnswerOrABoardShowsTheFirmwareAsUnknown) {
    boardhid::FaultPlan plan;
    plan.dropReplies = 1;
    board->SetFaults(plan);
    Menu(MENUBAR_ABOUT);
    CloseLink();
    Menu(MENUBAR_ABOUT);
    ASSERT_EQ(prompter.shown.size(), 2u);
    for (const shelltest::Popup& p : prompter.shown) {
        const std::string tail = "\n\nFW Version: unknown\n";
        ASSERT_GE(p.text.size(), tail.size());
        EXPECT_EQ(p.text.substr(p.text.size() - tail.size()), tail) << p.text;
    }
}

// ---- the menus from the keyboard -----------------------------------------------------------

// F10 opens the first menu, Alt and a menu's underlined letter opens that menu, and an item's
// letter chooses it and runs its callback. Each menu and item has a letter of its own text,
// unique in its menu; the names a tool reads are the texts as they stand.
TEST_F(ModesTest, MenusOpenAndChooseFromTheKeyboard) {
    struct Menu {
        QString name, key;
        std::vector<std::pair<QString, QString>> items;  // name, key
    };
    const std::vector<Menu> menus = {
        {"Device", "Alt+D", {{"KorPyka", "K"}, {"KorPykc", "O"}, {"KorPykb", "R"}, {"KorPykd", "P"}, {"KorJora", "J"},
                             {"KorJorb", "B"}, {"KorQeva", "Q"}, {"KorQevb", "E"}, {"KorZuta", "Z"}, {"KorZutb", "U"}}},
        {"Mode", "Alt+M", {{"3 Wire SPI Mode", "W"}, {"4 Wire SPI Mode", "I"}, {"I2C Mode", "C"}, {"Write_Only Mode", "R"}}},
        {"Config", "Alt+C", {{"Import", "I"}, {"Export", "E"}}},
        {"About", "Alt+A", {}},
    };
    for (const Menu& m : menus) {
        QAccessibleInterface* entry = testsupport::AccessibleMenu(PHandleMenu, m.name);
        ASSERT_NE(entry, nullptr) << m.name.toStdString();
        EXPECT_EQ(entry->text(QAccessible::Accelerator), m.key) << m.name.toStdString();
        for (const auto& [name, key] : m.items) {
            QAccessibleInterface* item = testsupport::AccessibleMenuItem(PHandleMenu, m.name, name);
            ASSERT_NE(item, nullptr) << name.toStdString();
            EXPECT_EQ(item->text(QAccessible::Accelerator), key) << name.toStdString();
        }
    }

    QWidget* window = rt::testing::PanelWindow(PHandlePanel);
    QMenuBar* bar = rt::testing::MenuBarWidget(PHandleMenu);
    // The offscreen platform leaves a closed menu the active window (a desktop gives the
    // activation back to the window): each key below goes to the window made active again.
    auto activate = [window] {
        window->activateWindow();
        return testsupport::EventLoopUntil([window] { return QApplication::activeWindow() == window; });
    };
    // The menu a key opened, by its title as shown (the mnemonic marked).
    auto open = [] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        return menu ? menu->title().toStdString() : std::string("no menu");
    };
    // Opened by `key`, the menu shown is `title`; Escape closes it, and again leaves the bar.
    auto opens = [&](const std::function<void()>& key, const std::string& title) {
        ASSERT_TRUE(activate());
        key();
        EXPECT_EQ(open(), title);
        if (QWidget* menu = QApplication::activePopupWidget()) QTest::keyClick(menu, Qt::Key_Escape);
        QTest::keyClick(bar, Qt::Key_Escape);
    };
    opens([&] { QTest::keyClick(window, Qt::Key_F10); }, "&Device");
    opens([&] { QTest::keyClick(window, Qt::Key_C, Qt::AltModifier); }, "&Config");
    // A tool opens a menu through the menu's entry on the bar.
    QAccessibleInterface* config = testsupport::AccessibleMenu(PHandleMenu, "Config");
    opens([&] { config->actionInterface()->doAction(QAccessibleActionInterface::showMenuAction()); }, "&Config");

    ASSERT_TRUE(activate());
    QTest::keyClick(window, Qt::Key_M, Qt::AltModifier);
    ASSERT_EQ(open(), "&Mode");
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_R);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    EXPECT_EQ(QuillonMode, 1);
    EXPECT_TRUE(MenuChecked(MENUBAR_MODE_WriteOnly_Mode));

    ASSERT_TRUE(activate());
    QTest::keyClick(window, Qt::Key_D, Qt::AltModifier);
    ASSERT_EQ(open(), "&Device");
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_B);
    EXPECT_EQ(UILoaded, UI_JORB);
    EXPECT_EQ(g_dev_type, DEV_JORB);

    ASSERT_TRUE(activate());
    QTest::keyClick(window, Qt::Key_A, Qt::AltModifier);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].title, "About Tervalo Audio Codec");

    // A tool opens a menu and finds it, and its items, showing; closed, they are not.
    QAccessibleInterface* device = testsupport::AccessibleMenu(PHandleMenu, "Device");
    QAccessibleInterface* jorb = testsupport::AccessibleMenuItem(PHandleMenu, "Device", "KorJorb");
    ASSERT_NE(jorb, nullptr);
    auto showing = [](QAccessibleInterface* i) { return !i->state().invisible && !i->state().offscreen; };
    EXPECT_FALSE(showing(device->child(0)));
    EXPECT_FALSE(showing(jorb));
    ASSERT_TRUE(activate());
    device->actionInterface()->doAction(QAccessibleActionInterface::showMenuAction());
    ASSERT_EQ(open(), "&Device");
    EXPECT_TRUE(showing(device));
    EXPECT_TRUE(showing(device->child(0)));
    EXPECT_TRUE(showing(jorb));
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
    QTest::keyClick(bar, Qt::Key_Escape);

    // "About" chosen twice by a tool in one turn: the first one's popup (which runs the event
    // loop while it is open) overtakes the second, which is dropped as a second click would be:
    // one popup, never one inside another.
    struct ModalPrompter : testsupport::RecordingPrompter {
        int depth = 0, deepest = 0;
        void Message(const std::string& title, const std::string& text) override {
            RecordingPrompter::Message(title, text);
            deepest = std::max(deepest, ++depth);
            QMessageBox box(QMessageBox::Information, QString::fromStdString(title), QString::fromStdString(text));
            box.setWindowModality(Qt::ApplicationModal);
            box.show();
            for (int i = 0; i < 5; ++i) rt::ProcessSystemEvents();
            box.hide();
            --depth;
        }
    } modal;
    rt::Prompter* recording = rt::SetPrompter(&modal);
    QAccessibleInterface* about = testsupport::AccessibleMenu(PHandleMenu, "About");
    ASSERT_NE(about, nullptr);
    about->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    about->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(modal.shown.empty()) << "the choice ran inside the tool's call";
    for (int i = 0; i < 5; ++i) rt::ProcessSystemEvents();
    rt::SetPrompter(recording);
    ASSERT_EQ(modal.shown.size(), 1u);
    EXPECT_EQ(modal.shown[0].title, "About Tervalo Audio Codec");
    EXPECT_EQ(modal.deepest, 1);
}

TEST(FirmwareVersionText, TheReleasedFirmwareDateIsVersion100) {
    unsigned char reply[20];
    std::memcpy(reply, "Apr 10 2008 11:19:42", 20);  // 20 bytes, no terminator
    EXPECT_EQ(FirmwareVersionText(1, reply, 20), "FW Version: 1.00\nApr 10 2008 11:19:4");
    std::memcpy(reply, "Mar 02 2007 09:00:00", 20);
    EXPECT_EQ(FirmwareVersionText(1, reply, 20), "FW Version: 0.90\nMar 02 2007 09:00:0");
    EXPECT_EQ(FirmwareVersionText(4, reply, 20), "FW Version: unknown\n");
    EXPECT_EQ(FirmwareVersionText(-1, reply, 20), "FW Version: unknown\n");
}

// ---- settings exchange -------------------------------------------------------------------

// Import and Export wait for a model: dimmed at start, and nothing reaches the chip if they
// are used anyway.
TEST_F(ModesTest, ImportAndExportStartDimmedAndSendNothingWithoutAModel) {
    EXPECT_TRUE(MenuDimmed(MENUBAR_CONFIG_Import));
    EXPECT_TRUE(MenuDimmed(MENUBAR_CONFIG_Export));
    Menu(MENUBAR_CONFIG_Import);
    Menu(MENUBAR_CONFIG_Export);
    EXPECT_TRUE(Received().empty());
}

}  // namespace
