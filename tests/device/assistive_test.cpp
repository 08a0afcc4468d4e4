// The panels driven as an assistive tool and a keyboard user drive them, on the emulated board:
// what the chip receives from an accessible action or value set, and what is refused under a
// modal popup and during an operation's wait.
#include <functional>

#include <QAbstractItemView>
#include <QAccessible>
#include <QAction>
#include <QImage>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QSlider>
#include <QTableView>

#include <array>
#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "panels/MNDevCtrl_pan.h"
#include "panels/MNPath_pan.h"
#include "panels/cfgDACJorb_pan.h"
#include "panels/cfgDemoJorb_pan.h"
#include "panels/cfgDevJorb_pan.h"
#include "panels/cfgDevZutb_pan.h"
#include "panels/cfgMapJorb_Pan.h"
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
        QObject* o = i->object();
        for (int k : {-1, count, count + 1, std::numeric_limits<int>::max()})
            if (i->child(k)) problems->push_back(where + ": a child at " + std::to_string(k) + " of " + std::to_string(count));
        if (i->indexOfChild(nullptr) != -1) problems->push_back(where + ": an index for no child");
        if (i != root && i->indexOfChild(root) != -1) problems->push_back(where + ": an index for the window");
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
            // The bus reads each of them as a number.
            const std::vector<std::pair<const char*, QVariant>> values = {
                {"current", now}, {"minimum", v->minimumValue()}, {"maximum", v->maximumValue()}, {"step", v->minimumStepSize()}};
            for (const auto& [what, value] : values) {
                bool number = false;
                const double d = value.toDouble(&number);
                if (!value.isValid() || !number || !std::isfinite(d))
                    problems->push_back(where + ": " + what + " value is no number (" + value.toString().toStdString() + ")");
            }
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
            const int length = t->characterCount();
            const QString all = t->text(0, length);
            if (t->text(-5, length + 5) != all) problems->push_back(where + ": the text asked past its ends is not all of it");
            // Every piece asked at, before and after an offset out of the text (-1 is its end on
            // the bus) is a piece of the text, or none; Qt's own helpers never return there.
            using Piece = QString (QAccessibleTextInterface::*)(int, QAccessible::TextBoundaryType, int*, int*) const;
            for (Piece piece : {&QAccessibleTextInterface::textBeforeOffset, &QAccessibleTextInterface::textAtOffset,
                                &QAccessibleTextInterface::textAfterOffset})
                for (QAccessible::TextBoundaryType b : {QAccessible::CharBoundary, QAccessible::WordBoundary, QAccessible::SentenceBoundary,
                                                        QAccessible::ParagraphBoundary, QAccessible::LineBoundary, QAccessible::NoBoundary})
                    for (int offset : {-1, -5, length, length + 5, std::numeric_limits<int>::max()}) {
                        int start = 0, end = 0;
                        const QString got = (t->*piece)(offset, b, &start, &end);
                        const bool none = start == -1 && end == -1 && got.isEmpty();
                        if (!none && (start < 0 || end < start || end > length || got != all.mid(start, end - start)))
                            problems->push_back(where + ": text piece " + std::to_string(static_cast<int>(b)) + " at " + std::to_string(offset) +
                                                " is \"" + got.toStdString() + "\" from " + std::to_string(start) + " to " + std::to_string(end));
                    }
            for (int offset : {-5, -1, length, length + 5, std::numeric_limits<int>::max()})
                if (!t->characterRect(offset).isEmpty())
                    problems->push_back(where + ": a character box at " + std::to_string(offset) + " of " + std::to_string(length));
            int start = 0, end = 0;
            t->attributes(length + 5, &start, &end);
        }
        if (QAccessibleTableInterface* t = i->tableInterface()) {
            // The bus reads the cell it is given out of range without checking for none: a cell
            // that stands for none answers, not selected and with no extent.
            const int rows = t->rowCount(), columns = t->columnCount();
            for (auto [row, column] : {std::pair{-1, -1}, std::pair{rows, 0}, std::pair{0, columns}, std::pair{rows + 1, columns + 1}}) {
                QAccessibleInterface* cell = t->cellAt(row, column);
                QAccessibleTableCellInterface* c = cell ? cell->tableCellInterface() : nullptr;
                if (!c)
                    problems->push_back(where + ": no answer for the cell at " + std::to_string(row) + "," + std::to_string(column));
                else if (c->isSelected() || c->rowExtent() != 0 || c->columnExtent() != 0 || i->indexOfChild(cell) != -1)
                    problems->push_back(where + ": the cell at " + std::to_string(row) + "," + std::to_string(column) + " out of range is one");
            }
            if (t->isRowSelected(-1) || t->isColumnSelected(-1) || t->isRowSelected(rows))
                problems->push_back(where + ": a row or column out of range is selected");
            t->columnDescription(-1);
            t->rowDescription(t->rowCount());
            for (int k = 0; k < std::min(columns, 3) && rows > 0; ++k) {
                QAccessibleInterface* cell = t->cellAt(0, k);
                if (!cell || !cell->tableCellInterface() || cell->tableCellInterface()->rowExtent() != 1)
                    problems->push_back(where + ": cell 0," + std::to_string(k) + " has no extent");
                else if (i->child(i->indexOfChild(cell)) != cell)
                    problems->push_back(where + ": cell 0," + std::to_string(k) + " is not the child at its index");
            }
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
    // The ring's new clock reached the board: its divider (100K 14, 300K 4, 500K 2), low byte.
    EXPECT_EQ(board->BridgeRegister(0x14B2), (std::array{14, 4, 2}).at(static_cast<size_t>(ringBefore + 1)));
    EXPECT_EQ(after.dacVolume, -20);
    EXPECT_EQ(after.depth, 9.0);
    EXPECT_TRUE(Wrote(32));
    EXPECT_TRUE(Wrote(41));
    // The menu choice returns to the tool at once and runs from the event loop; the Zutb click
    // that came before its turn overtook it, so it was dropped, as a second click would be.
    EXPECT_EQ(after.menuItemActions, QStringList{QAccessibleActionInterface::pressAction()});
    EXPECT_FALSE(after.menuItemBusy);
    for (int i = 0; i < 5; ++i) rt::ProcessSystemEvents();
    EXPECT_EQ(g_dev_type, DEV_ZUTB);
    // Nothing overtakes it: it runs.
    QAccessibleInterface* jora = testsupport::AccessibleMenuItem(PHandleMenu, "Device", "KorJora");
    ASSERT_NE(jora, nullptr);
    jora->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_NE(g_dev_type, DEV_JORA) << "the choice ran inside the tool's call";
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

// The register map as a screen reader reads it on Jorb: each column's and row's header, asked for
// as the bus asks (the header cells of the cell in the first row or column) and found among the
// table's children; the cell a focus event names after a click and each arrow key is the one that
// has the focus. A list's focused child is its current item, never the list: a screen reader
// looking for the focused one among a list and its items (the list first) finds the item.
TEST_F(AssistiveTest, TheRegisterMapReadsItsHeadersAndFocusEventsNameTheFocusedCell) {
    Choose(MENUBAR_DEVICE_StereoJorb);
    QWidget* window = rt::testing::PanelWindow(PHandlePanel);
    window->show();
    window->activateWindow();
    ASSERT_TRUE(testsupport::EventLoopUntil([&] { return QApplication::activeWindow() == window; }));
    rt::EasyTab_SetAttribute(PHandlePanel, tabCtrl, rt::ATTR_EASY_TAB_ACTIVE_PANEL, PHandleSTRegMap);
    rt::ProcessSystemEvents();
    auto* view = qobject_cast<QTableView*>(rt::testing::ControlWidget(PHandleSTRegMap, ui::cfgMapJorb_Pan::CFGMAPJorb_REGTABLE));
    ASSERT_NE(view, nullptr);
    QAccessibleInterface* map = QAccessible::queryAccessibleInterface(view);
    QAccessibleTableInterface* table = map ? map->tableInterface() : nullptr;
    ASSERT_NE(table, nullptr);
    const int rows = table->rowCount(), columns = table->columnCount();
    ASSERT_EQ(columns, 12);
    ASSERT_GT(rows, 60);

    // What the bus answers for GetColumnHeader(c) and GetRowHeader(r).
    auto header = [&](int row, int column, bool ofColumn) -> QAccessibleInterface* {
        QAccessibleInterface* cell = table->cellAt(row, column);
        QAccessibleTableCellInterface* c = cell ? cell->tableCellInterface() : nullptr;
        const QList<QAccessibleInterface*> headers = c ? (ofColumn ? c->columnHeaderCells() : c->rowHeaderCells()) : QList<QAccessibleInterface*>{};
        return headers.isEmpty() ? nullptr : headers.first();
    };
    QStringList columnHeaders;
    for (int c = 0; c < columns; ++c) {
        QAccessibleInterface* h = header(0, c, true);
        ASSERT_NE(h, nullptr) << "column " << c;
        EXPECT_EQ(h->role(), QAccessible::ColumnHeader);
        EXPECT_EQ(h->parent(), map);
        EXPECT_EQ(map->child(map->indexOfChild(h)), h) << "column " << c;
        EXPECT_EQ(header(rows - 1, c, true), h);
        columnHeaders << h->text(QAccessible::Name);
    }
    EXPECT_EQ(columnHeaders, (QStringList{"Hex Addr", "Dec Addr", "Bit 8", "Bit 7", "Bit 6", "Bit 5", "Bit 4", "Bit 3", "Bit 2",
                                          "Bit 1", "Bit 0", "Hex Val"}));
    for (int r = 0; r < rows; ++r) {
        QAccessibleInterface* h = header(r, 0, false);
        ASSERT_NE(h, nullptr) << "row " << r;
        std::string label;
        rt::GetTableRowLabel(PHandleSTRegMap, ui::cfgMapJorb_Pan::CFGMAPJorb_REGTABLE, r + 1, &label);
        EXPECT_EQ(h->text(QAccessible::Name).toStdString(), label) << "row " << r;
        EXPECT_EQ(h->role(), QAccessible::RowHeader);
        EXPECT_EQ(map->child(map->indexOfChild(h)), h) << "row " << r;
    }
    EXPECT_EQ(header(0, 0, false)->text(QAccessible::Name), "Software_Reset");
    EXPECT_EQ(header(rows, 0, false), nullptr);
    EXPECT_EQ(header(0, columns, true), nullptr);
    EXPECT_EQ(map->childCount(), (rows + 1) * (columns + 1));

    // The view names the focused cell in its focus event by its place among the table's children,
    // counting the corner, the column headers and each row's header before its cells (Qt sends the
    // event only while a screen reader listens, which no test platform does: the event is made
    // here with the number the view gives it).
    auto named = [&]() -> QAccessibleInterface* {
        const QModelIndex current = view->currentIndex();
        QAccessibleEvent focus(view, QAccessible::Focus);
        focus.setChild((current.row() + 1) * (columns + 1) + current.column() + 1);
        return focus.accessibleInterface();
    };
    view->setFocus(Qt::MouseFocusReason);
    ASSERT_TRUE(view->hasFocus());
    const QRect at = view->visualRect(view->model()->index(3, 1));
    QMouseEvent press(QEvent::MouseButtonPress, at.center(), view->viewport()->mapToGlobal(at.center()), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at.center(), view->viewport()->mapToGlobal(at.center()), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(view->viewport(), &press);
    QApplication::sendEvent(view->viewport(), &release);
    struct Step {
        int key, row, column;
    };
    for (const Step& step : {Step{0, 3, 1}, Step{Qt::Key_Down, 4, 1}, Step{Qt::Key_Down, 5, 1}, Step{Qt::Key_Right, 5, 2},
                             Step{Qt::Key_Right, 5, 3}, Step{Qt::Key_Up, 4, 3}, Step{Qt::Key_Left, 4, 2}}) {
        if (step.key) Key(view, step.key);
        SCOPED_TRACE("at row " + std::to_string(step.row) + ", column " + std::to_string(step.column));
        ASSERT_EQ(view->currentIndex().row(), step.row);
        ASSERT_EQ(view->currentIndex().column(), step.column);
        QAccessibleInterface* cell = named();
        ASSERT_NE(cell, nullptr);
        ASSERT_NE(cell->tableCellInterface(), nullptr) << cell->text(QAccessible::Name).toStdString();
        EXPECT_EQ(cell->tableCellInterface()->rowIndex(), step.row);
        EXPECT_EQ(cell->tableCellInterface()->columnIndex(), step.column);
        std::string shown;
        rt::GetTableCellVal(PHandleSTRegMap, ui::cfgMapJorb_Pan::CFGMAPJorb_REGTABLE, rt::MakePoint(step.column + 1, step.row + 1), &shown);
        EXPECT_EQ(cell->text(QAccessible::Name).toStdString(), shown);
        EXPECT_TRUE(cell->state().focused);
        EXPECT_EQ(map->focusChild(), cell);
        EXPECT_EQ(header(step.row, step.column, true)->text(QAccessible::Name), columnHeaders[step.column]);
    }

    // The first focused one of a list and its items, the list first, as a screen reader finds it.
    auto firstFocused = [](QAccessibleInterface* list) -> QAccessibleInterface* {
        if (list->state().focused) return list;
        for (int k = 0; k < list->childCount(); ++k)
            if (QAccessibleInterface* item = list->child(k); item && item->state().focused) return item;
        return nullptr;
    };
    // Path View's list of configuration sets, then a ring's open list.
    rt::EasyTab_SetAttribute(PHandlePanel, tabCtrl, rt::ATTR_EASY_TAB_ACTIVE_PANEL, PHandleSTPath);
    rt::ProcessSystemEvents();
    auto* sets = qobject_cast<QListView*>(rt::testing::ControlWidget(PHandleSTPath, ui::cfgPathJorb_pan::CFGPATHJorb_STD_CFG));
    ASSERT_NE(sets, nullptr);
    sets->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(sets->hasFocus());
    ASSERT_TRUE(sets->currentIndex().isValid());
    QAccessibleInterface* setList = QAccessible::queryAccessibleInterface(sets);
    QAccessibleInterface* current = setList->focusChild();
    ASSERT_NE(current, nullptr);
    EXPECT_NE(current, setList);
    EXPECT_EQ(current->text(QAccessible::Name), "Default");
    EXPECT_EQ(firstFocused(setList), current);
    sets->setCurrentIndex(QModelIndex());
    EXPECT_EQ(setList->focusChild(), nullptr);
    EXPECT_EQ(firstFocused(setList), setList);

    rt::EasyTab_SetAttribute(PHandlePanel, tabCtrl, rt::ATTR_EASY_TAB_ACTIVE_PANEL, PHandleSTDevCtrl);
    rt::ProcessSystemEvents();
    auto* ring = qobject_cast<QComboBox*>(rt::testing::ControlWidget(PHandleSTDevCtrl, dev::CFGDEVJorb_STI2CBuadRate));
    ASSERT_NE(ring, nullptr);
    ring->showPopup();
    ASSERT_TRUE(testsupport::EventLoopUntil([&] { return ring->view()->hasFocus(); }));
    Key(ring->view(), Qt::Key_Down);
    QAccessibleInterface* open = QAccessible::queryAccessibleInterface(ring->view());
    QAccessibleInterface* item = open->focusChild();
    ASSERT_NE(item, nullptr);
    EXPECT_NE(item, open);
    EXPECT_EQ(item->text(QAccessible::Name), ring->view()->currentIndex().data().toString());
    EXPECT_EQ(firstFocused(open), item);
    ring->hidePopup();
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
