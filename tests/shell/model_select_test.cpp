// Model choice: tab sets, titles, menu marks, timers, the mode applied to the board, the
// read-back, the Pykc EQ tab, the Jorbx rates, the home button and the right-click return.
#include <gmock/gmock.h>
#include <QComboBox>
#include <QLayout>
#include <QStyle>
#include <QStyleOptionComboBox>

#include <fstream>
#include <functional>
#include <set>

#include "demo/demo_services.h"
#include "link/chip_operation.h"
#include "panels/MNDemo_pan.h"
#include "panels/MNPykbRegMap_pan.h"
#include "panels/MNRegMap_pan.h"
#include "panels/cfgDACJorb_pan.h"
#include "panels/cfgMapJorb_Pan.h"
#include "panels/cfgMapZutb_Pan.h"
#include "pathview/path_model.h"
#include "pathview/pathview_services.h"
#include "runtime/rt_widgets.h"
#include "shell/callbacks.h"
#include "runtime/testing.h"
#include "tests/shell/model_test_support.h"
#include "tests/support/popup_texts.h"

namespace {

using namespace ui::AudioCodec_pan;
using modeltest::ModelFixture;
namespace fs = std::filesystem;

struct ChoiceCase {
    const char* name;
    int menuItem;
    int devType;
    int set;
    const char* title;
    bool stereoTimer;
    bool readsBack;
    std::vector<int*> tabs;
};

std::vector<ChoiceCase> Cases() {
    return {
        {"Pyka", MENUBAR_DEVICE_MonoPyka, DEV_PYKA, UI_PYKA, "Tervalo Audio Codec    ---- Pyka Demo ---- ", false,
         true,
         {&PHandleMNPykaDemo, &PHandleMNPykaPath, &PHandleMNPykaDevCtrl, &PHandleMNPykaInput, &PHandleMNPykaALC,
          &PHandleMNPykaADC, &PHandleMNPykaDAC, &PHandleMNPykaOutput, &PHandleMNPykaRegMap, &PHandleMNPykaScript}},
        {"Pykc", MENUBAR_DEVICE_Mono, DEV_PYKC, UI_PYKC, "Tervalo Audio Codec    ---- Pykc Demo ---- ", false, true,
         {&PHandleMNDemo, &PHandleMNPath, &PHandleMNDevCtrl, &PHandleMNInput, &PHandleMNALC, &PHandleMNADC,
          &PHandleMNDAC, &PHandleMNOutput, &PHandleMNRegMap, &PHandleMNScript}},
        {"Pykb", MENUBAR_DEVICE_MonoPykb, DEV_PYKB, UI_PYKB, "Tervalo Audio Codec    ---- Pykb Demo ---- ", false,
         false,
         {&PHandleMNPykbDemo, &PHandleMNPykbPath, &PHandleMNPykbDevCtrl, &PHandleMNPykbInput, &PHandleMNPykbALC,
          &PHandleMNPykbADC, &PHandleMNPykbDAC, &PHandleMNPykbOutput, &PHandleMNPykbRegMap, &PHandleMNPykbScript}},
        {"Pykd", MENUBAR_DEVICE_MonoPykd, DEV_PYKD, UI_PYKC, "Tervalo Audio Codec    ---- Pykd Demo ---- ", false,
         true,
         {&PHandleMNDemo, &PHandleMNPath, &PHandleMNDevCtrl, &PHandleMNInput, &PHandleMNALC, &PHandleMNADC,
          &PHandleMNDAC, &PHandleMNOutput, &PHandleMNRegMap, &PHandleMNScript, &PHandleMNEQ}},
        {"Jora", MENUBAR_DEVICE_StereoJora, DEV_JORA, UI_JORA, "Tervalo Audio Codec    ---- Jora Demo ---- ", true,
         true,
         {&PHdlDemoJora, &PHdlPathJora, &PHdlDevJora, &PHdleInputJora, &PHdlADCJora, &PHdlEQJora, &PHdlALCJora,
          &PHdlDACJora, &PHdlOutputJora, &PHdlRegMapJora, &PHdlScriptJora}},
        {"Jorb", MENUBAR_DEVICE_StereoJorb, DEV_JORB, UI_JORB, "Tervalo Audio Codec    ---- Jorb Demo ---- ", true,
         true,
         {&PHandleSTDemo, &PHandleSTPath, &PHandleSTDevCtrl, &PHandleSTInSignal, &PHandleSTADCFilter, &PHandleSTEQ,
          &PHandleSTALC, &PHandleSTDAC, &PHandleSTOUTPUT, &PHandleSTRegMap, &PHandleSTScript}},
        {"Qeva", MENUBAR_DEVICE_StereoQeva, DEV_QEVA, UI_QEVA, "Tervalo Audio Codec    ---- Qeva Demo ---- ", true,
         true,
         {&PHdlDemoQeva, &PHdlPathQeva, &PHdlDevQeva, &PHdlEQQeva, &PHdlDACQeva, &PHdlOutputQeva, &PHdlRegMapQeva,
          &PHdlScriptQeva}},
        {"Qevb", MENUBAR_DEVICE_StereoQevb, DEV_QEVB, UI_QEVB, "Tervalo Audio Codec    ---- Qevb Demo ---- ", true,
         false, {&PHdlDemoQevb}},
        {"Zuta", MENUBAR_DEVICE_StereoZuta, DEV_ZUTA, UI_ZUTA, "Tervalo Audio Codec    ---- Zuta Demo ---- ", true,
         true,
         {&PHandleSTDemoZuta, &PHandleSTPathZuta, &PHandleSTDevCtrlZuta, &PHandleSTInSignalZuta,
          &PHandleSTADCFilterZuta, &PHandleSTEQZuta, &PHandleSTALCZuta, &PHandleSTDACZuta, &PHandleSTOUTPUTZuta,
          &PHandleSTRegMapZuta, &PHandleSTScriptZuta}},
        {"Zutb", MENUBAR_DEVICE_StereoZutb, DEV_ZUTB, UI_ZUTB, "Tervalo Audio Codec    ---- Zutb Demo ---- ", true,
         false,
         {&PHandleSTDemoZutb, &PHandleSTPathZutb, &PHandleSTDevCtrlZutb, &PHandleSTInSignalZutb,
          &PHandleSTADCFilterZutb, &PHandleSTEQZutb, &PHandleSTALCZutb, &PHandleSTDACZutb, &PHandleSTOUTPUTZutb,
          &PHandleSTRegMapZutb, &PHandleSTScriptZutb}},
    };
}

std::vector<int> Handles(const std::vector<int*>& ptrs) {
    std::vector<int> out;
    for (int* p : ptrs) out.push_back(*p);
    return out;
}

class ModelSelectTest : public ModelFixture {};

// The items of the panel's rings that its drop-downs cut when shown, as filled by the model's
// choice: "panel: item (needs N px, has M)".
std::vector<std::string> RingItemsCut(int panel) {
    std::vector<std::string> cut;
    QWidget* content = rt::testing::PanelContent(panel);
    for (QLayout* lay : content->findChildren<QLayout*>()) lay->activate();
    for (QComboBox* ring : content->findChildren<QComboBox*>()) {
        if (!ring->isVisibleTo(content)) continue;
        QStyleOptionComboBox opt;
        opt.initFrom(ring);
        opt.rect = ring->rect();
        opt.editable = ring->isEditable();
        const int room = ring->style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, ring).width();
        for (int i = 0; i < ring->count(); ++i) {
            const int need = ring->fontMetrics().horizontalAdvance(ring->itemText(i));
            if (need > room)
                cut.push_back(content->objectName().toStdString() + " " + ring->objectName().toStdString() + ": \"" +
                              ring->itemText(i).toStdString() + "\" (needs " + std::to_string(need) + " px, has " +
                              std::to_string(room) + ")");
        }
    }
    return cut;
}

std::string Describe(const QRect& r) {
    return QString("(%1,%2 %3x%4)").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height()).toStdString();
}

// The captions of the model's signal-path diagram that an icon shown on its panel covers or
// touches, or that touch the sides of their block: "model: caption under icon".
std::vector<std::string> CaptionsCovered(const pathview::PathModel& m) {
    std::vector<std::string> covered;
    QWidget* content = rt::testing::PanelContent(*m.panel);
    QWidget* canvas = rt::testing::ControlWidget(*m.panel, m.canvas);
    const QPoint origin = canvas->mapTo(content, QPoint(0, 0));
    const QFontMetrics fm(canvas->font());
    for (const pathview::ArtItem& a : m.art) {
        if (!a.text || !*a.text) continue;
        const QRect box = a.kind == pathview::Art::Block ? QRect(a.x + 1, a.y + 1, a.w - 2, a.h - 2) : QRect(a.x, a.y, a.w, a.h);
        const QRect text = fm.boundingRect(box, Qt::AlignCenter | Qt::TextWordWrap, QString::fromUtf8(a.text)).translated(origin);
        if (a.kind == pathview::Art::Block && text.width() + 4 > box.width())
            covered.push_back(std::string(m.name) + ": \"" + a.text + "\" " + Describe(text) + " cramped in its block " +
                              Describe(box.translated(origin)));
        for (QWidget* icon : content->findChildren<QWidget*>()) {
            if ((!dynamic_cast<rt::detail::ArtButton*>(icon) && !dynamic_cast<rt::detail::ArtView*>(icon)) ||
                !icon->isVisibleTo(content))
                continue;
            const QRect at(icon->mapTo(content, QPoint(0, 0)), icon->size());
            if (at.intersects(text.adjusted(-2, -2, 2, 2)))
                covered.push_back(std::string(m.name) + ": \"" + a.text + "\" at " + Describe(text) + " under " +
                                  icon->objectName().toStdString() + " at " + Describe(at));
        }
    }
    return covered;
}

// Every Device-menu choice, one after the other (so each also unloads the set before it):
// tabs in order, title, device type, the only checked item, timers, read-back or none.
TEST_F(ModelSelectTest, EveryChoiceShowsItsSetTitleMarksAndTimers) {
    for (const ChoiceCase& c : Cases()) {
        SCOPED_TRACE(c.name);
        rt::SetCtrlAttribute(PHandlePanel, PANEL_STTIMER, rt::ATTR_ENABLED, c.stereoTimer ? 0 : 1);
        rt::SetCtrlAttribute(PHandlePanel, PANEL_MNTIMER, rt::ATTR_ENABLED, c.stereoTimer ? 1 : 0);
        board->ClearReceivedReports();
        FlagCFGUpdate = 0;
        CommMode = COMM_I2C;  // Pykb leaves the board in 3-wire SPI, where nothing reads
        Menu(c.menuItem);
        EXPECT_EQ(Tabs(), Handles(c.tabs));
        EXPECT_EQ(UILoaded, c.set);
        EXPECT_EQ(g_dev_type, c.devType);
        EXPECT_EQ(Title(), c.title);
        EXPECT_EQ(PanelTitle, c.title);
        EXPECT_EQ(CheckedDeviceItems(), std::vector<int>{c.menuItem});
        EXPECT_FALSE(MenuDimmed(MENUBAR_CONFIG_Import));
        EXPECT_FALSE(MenuDimmed(MENUBAR_CONFIG_Export));
        EXPECT_EQ(TimerEnabled(PANEL_STTIMER), c.stereoTimer);
        EXPECT_EQ(TimerEnabled(PANEL_MNTIMER), !c.stereoTimer);
        EXPECT_EQ(FlagCFGUpdate, 1);
        EXPECT_EQ(ReadAlls(), c.readsBack ? 1 : 0);
        EXPECT_EQ(PHandleLastPanel, PHandlePanel);
        // Every item of every ring of the set reads whole when chosen.
        std::string cut;
        for (int tab : Tabs())
            for (const std::string& item : RingItemsCut(tab)) cut += "\n  " + item;
        EXPECT_TRUE(cut.empty()) << "ring items cut:" << cut;
        // Each caption of the signal-path diagram has room in its block and no icon covers it.
        std::string covered;
        for (const pathview::PathModel* m :
             {&pathview::JorbPathModel(), &pathview::JoraPathModel(), &pathview::QevaPathModel(), &pathview::MonoPathModel(),
              &pathview::MonoPykbPathModel(), &pathview::MonoPykaPathModel(), &pathview::ZutaPathModel(),
              &pathview::ZutbPathModel()})
            if (UILoaded != UI_QEVB && *m->panel == Tabs().at(1))
                for (const std::string& c : CaptionsCovered(*m)) covered += "\n  " + c;
        EXPECT_TRUE(covered.empty()) << "captions covered:" << covered;
    }
}

// The read-back stores what the chip holds in registers 1 to 63; the mode step comes first
// (I2C: the word twice around a 3-wire framed write of register 7 with bit 8 clear).
TEST_F(ModelSelectTest, JorbAppliesI2CThenReadsTheChipBack) {
    for (int r = 1; r <= 63; ++r) board->SetCodecRegister(r, static_cast<uint16_t>((r * 37 + 5) & 0x1FF));
    Menu(MENUBAR_DEVICE_StereoJorb);
    EXPECT_EQ(CommMode, COMM_I2C);
    EXPECT_EQ(BoardWords(), (std::vector<std::vector<uint8_t>>{{0x17, 0x1F}, {0x3F, 0x1F}}));
    auto r7 = ReceivedWithCommand(COMM_SPI3W | CMD_CODEC_WRITE_ONE);
    ASSERT_EQ(r7.size(), 1u);
    EXPECT_EQ(r7[0][3] >> 1, 7);
    EXPECT_EQ(r7[0][3] & 1, 0);
    EXPECT_TRUE(MenuChecked(MENUBAR_MODE_I2CMode));
    EXPECT_FALSE(MenuChecked(MENUBAR_MODE_SPI3WMode));
    for (int r = 1; r <= 63; ++r) EXPECT_EQ(CFG_REG[r], board->CodecRegister(r)) << "register " << r;
    EXPECT_EQ(CFG_REG[5], static_cast<uint32_t>((5 * 37 + 5) & 0x1FF));
    EXPECT_THAT(prompter.shown, ::testing::IsEmpty());
}

// A read-back that stops at a block keeps what the blocks before it answered and leaves the rest
// of the copy as it was.
TEST_F(ModelSelectTest, FailedReadBackOrModeWriteLeavesTheCopyAsItWas) {
    uint32_t before[64];
    std::copy(CFG_REG, CFG_REG + 64, before);
    for (int r = 8; r <= 63; ++r) board->SetCodecRegister(r, 0x1AB);
    boardhid::FaultPlan plan;
    plan.faultAfterReplies = 2;  // register 0 and the first block come back, the second does not
    plan.dropReplies = 1;
    board->SetFaults(plan);
    Menu(MENUBAR_DEVICE_StereoJorb);
    EXPECT_EQ(ReadAlls(), 1);
    for (int r = 8; r <= 24; ++r) EXPECT_EQ(CFG_REG[r], 0x1ABu) << "register " << r;
    for (int r = 25; r <= 63; ++r) EXPECT_EQ(CFG_REG[r], before[r]) << "register " << r;

    // The board refuses the next choice's first mode write (the board word): nothing more is
    // sent, nothing is read back, and one popup says so.
    board->ClearReceivedReports();
    prompter.shown.clear();
    plan = {};
    plan.failSends = 1;
    board->SetFaults(plan);
    Menu(MENUBAR_DEVICE_StereoJora);
    EXPECT_TRUE(Received().empty());
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text,
              "\"Setting the communication mode\" stopped: the board refused the board configuration word, and nothing "
              "after it was sent." +
                  testsupport::kPanelsMayDiffer +
                  "\n\nThe evaluation board may not have the settings the panel shows; \"Config Board\" sends them "
                  "again.");
}

// Pykb always runs the board in 3-wire SPI and never reads back.
TEST_F(ModelSelectTest, PykbForces3WireSpiWithoutReading) {
    Click(PANEL_PB_Pykb);
    EXPECT_EQ(CommMode, COMM_SPI3W);
    EXPECT_EQ(EQMode, 0);
    EXPECT_EQ(BoardWords(), (std::vector<std::vector<uint8_t>>{{0x17, 0x1F}}));
    auto r7 = ReceivedWithCommand(COMM_SPI3W | CMD_CODEC_WRITE_ONE);
    ASSERT_EQ(r7.size(), 1u);
    EXPECT_EQ(r7[0][3], (7 << 1) | 1);  // bit 8 set
    EXPECT_TRUE(MenuChecked(MENUBAR_MODE_SPI3WMode));
    EXPECT_EQ(ReadAlls(), 0);
    // Its own item is the checked one.
    EXPECT_EQ(CheckedDeviceItems(), std::vector<int>{MENUBAR_DEVICE_MonoPykb});
}

TEST_F(ModelSelectTest, FourWireSpiFramesTheInterfaceWriteIn3WireBetweenTwoWords) {
    CommMode = COMM_SPI4W;
    Menu(MENUBAR_DEVICE_StereoJora);
    EXPECT_EQ(CommMode, COMM_SPI4W);
    EXPECT_EQ(BoardWords(), (std::vector<std::vector<uint8_t>>{{0x17, 0x1F}, {0x37, 0x1F}}));
    auto r7 = ReceivedWithCommand(COMM_SPI3W | CMD_CODEC_WRITE_ONE);
    ASSERT_EQ(r7.size(), 1u);
    EXPECT_EQ(r7[0][3], (7 << 1) | 1);
    EXPECT_TRUE(MenuChecked(MENUBAR_MODE_SPI4WMode));
    EXPECT_EQ(ReadAlls(), 1);  // 4-wire SPI reads
}

TEST_F(ModelSelectTest, NoChoiceReadsInWriteOnlyMode) {
    QuillonMode = 1;
    for (const ChoiceCase& c : Cases()) Menu(c.menuItem);
    EXPECT_EQ(ReadAlls(), 0);
    EXPECT_THAT(prompter.shown, ::testing::IsEmpty());
}

// Under 3-wire SPI Jora and Qeva skip the read-back; the others try and are refused.
TEST_F(ModelSelectTest, ThreeWireSpiReadBack) {
    for (int item : {MENUBAR_DEVICE_StereoJora, MENUBAR_DEVICE_StereoQeva}) {
        CommMode = COMM_SPI3W;
        Menu(item);
    }
    EXPECT_THAT(prompter.shown, ::testing::IsEmpty());
    for (int item : {MENUBAR_DEVICE_StereoJorb, MENUBAR_DEVICE_StereoZuta, MENUBAR_DEVICE_Mono,
                     MENUBAR_DEVICE_MonoPykd, MENUBAR_DEVICE_MonoPyka}) {
        prompter.shown.clear();
        CommMode = COMM_SPI3W;
        Menu(item);
        ASSERT_EQ(prompter.shown.size(), 1u) << item;
        EXPECT_EQ(prompter.shown[0].title, "invalid operation");
        EXPECT_EQ(prompter.shown[0].text, "Can not read under 3-Wire SPI Mode");
    }
    EXPECT_EQ(ReadAlls(), 0);
}

// With the board absent (LED off) the mode step still runs; nothing is read.
TEST_F(ModelSelectTest, WithoutTheBoardNothingIsRead) {
    rt::SetCtrlVal(PHandlePanel, PANEL_LDevAttached, 0);
    Menu(MENUBAR_DEVICE_StereoJorb);
    EXPECT_EQ(ReadAlls(), 0);
    EXPECT_EQ(BoardWords().size(), 2u);
}

// One user click on a picture button (press, then release) chooses once; the buttons stop the
// chip identification, the Device menu does not.
TEST_F(ModelSelectTest, OneClickChoosesOnceAndStopsIdentification) {
    const int buttons[] = {PANEL_PB_Jorb, PANEL_PB_Jora, PANEL_PB_Qeva, PANEL_PB_Zuta, PANEL_PB_Pykc,
                           PANEL_PB_Pykd, PANEL_PB_Pyka};
    for (int b : buttons) {
        SCOPED_TRACE(b);
        rt::SetCtrlAttribute(PHandlePanel, PANEL_DevIDTimer, rt::ATTR_ENABLED, 1);
        board->ClearReceivedReports();
        Click(b);
        EXPECT_EQ(ReadAlls(), 1);
        EXPECT_EQ(BoardWords().size(), 2u);
        EXPECT_FALSE(TimerEnabled(PANEL_DevIDTimer));
    }
    rt::SetCtrlAttribute(PHandlePanel, PANEL_DevIDTimer, rt::ATTR_ENABLED, 1);
    Menu(MENUBAR_DEVICE_StereoJora);
    EXPECT_TRUE(TimerEnabled(PANEL_DevIDTimer));
}

TEST_F(ModelSelectTest, PictureButtonsChooseTheirModel) {
    const std::pair<int, int> buttons[] = {
        {PANEL_PB_Qeva, DEV_QEVA}, {PANEL_PB_Jora, DEV_JORA}, {PANEL_PB_Jorb, DEV_JORB}, {PANEL_PB_Pykd, DEV_PYKD},
        {PANEL_PB_Zutb, DEV_ZUTB}, {PANEL_PB_Zuta, DEV_ZUTA}, {PANEL_PB_Qevb, DEV_QEVB}, {PANEL_PB_Pykb, DEV_PYKB},
        {PANEL_PB_Pyka, DEV_PYKA}, {PANEL_PB_Pykc, DEV_PYKC},
    };
    for (auto [button, dev] : buttons) {
        Click(button);
        EXPECT_EQ(g_dev_type, dev) << button;
        if (dev == DEV_PYKD || dev == DEV_PYKC || dev == DEV_PYKA || dev == DEV_PYKB) {
            EXPECT_EQ(EQMode, dev == DEV_PYKD ? 1 : 0) << button;
        }
    }
}

// The Jorbx rates go in at most once and come out by value, so the ring's own items survive
// any order of Jorbx, Jorb and home.
TEST_F(ModelSelectTest, JorbxRatesAreAddedAndRemovedOnce) {
    using ui::cfgDACJorb_pan::CFGDAC_STSR;
    const std::vector<std::string> own = RingLabels(PHandleSTDAC, CFGDAC_STSR);
    ASSERT_EQ(own.size(), 6u);
    std::vector<std::string> withJorbx = {"192kHz", "96kHz"};
    withJorbx.insert(withJorbx.end(), own.begin(), own.end());

    Menu(MENUBAR_DEVICE_StereoJorb);
    const std::vector<int> jorbTabs = Tabs();
    ClickText(PANEL_TM_KorJorbx);  // same set: tabs kept, title follows the variant
    EXPECT_EQ(Tabs(), jorbTabs);
    EXPECT_EQ(g_dev_type, DEV_JORBX);
    EXPECT_EQ(UILoaded, UI_JORB);
    EXPECT_EQ(Title(), "Tervalo Audio Codec    ---- Jorbx Demo ---- ");
    EXPECT_EQ(RingLabels(PHandleSTDAC, CFGDAC_STSR), withJorbx);
    int value = -1;
    rt::GetValueFromIndex(PHandleSTDAC, CFGDAC_STSR, 0, &value);
    EXPECT_EQ(value, 7);
    rt::GetValueFromIndex(PHandleSTDAC, CFGDAC_STSR, 1, &value);
    EXPECT_EQ(value, 6);

    ClickText(PANEL_TM_KorJorbx);  // a second click adds nothing
    EXPECT_EQ(RingLabels(PHandleSTDAC, CFGDAC_STSR), withJorbx);

    rt::CallCtrlCallback(PHandlePanel, PANEL_CBHOME, rt::EVENT_COMMIT, 0, 0);
    EXPECT_EQ(RingLabels(PHandleSTDAC, CFGDAC_STSR), own);
    EXPECT_EQ(g_dev_type, DEV_JORBX);  // the home button leaves the chip chosen
    Click(PANEL_PB_Jorb);              // and a plain Jorb afterwards deletes nothing more
    EXPECT_EQ(RingLabels(PHandleSTDAC, CFGDAC_STSR), own);
    EXPECT_EQ(g_dev_type, DEV_JORB);
    EXPECT_EQ(Title(), "Tervalo Audio Codec    ---- Jorb Demo ---- ");

    ClickText(PANEL_TM_KorJorbx);
    Menu(MENUBAR_DEVICE_StereoJorb);
    EXPECT_EQ(RingLabels(PHandleSTDAC, CFGDAC_STSR), own);
}

// Pykd shows the Pykc EQ tab and the demo panel's EQ controls; any other choice takes the tab
// away with the set, whatever EQMode says by then.
TEST_F(ModelSelectTest, PykcEQTabFollowsTheChoice) {
    using namespace ui::MNDemo_pan;
    Menu(MENUBAR_DEVICE_MonoPykd);
    EXPECT_EQ(Tabs().back(), PHandleMNEQ);
    EXPECT_TRUE(Visible(PHandleMNDemo, MNDEMO_MNEQPresetting));
    EXPECT_TRUE(Visible(PHandleMNDemo, MNDEMO_EQSPLITTER));

    Menu(MENUBAR_DEVICE_Mono);
    std::vector<int> tabs = Tabs();
    EXPECT_EQ(std::count(tabs.begin(), tabs.end(), PHandleMNEQ), 0);
    EXPECT_EQ(tabs.size(), 10u);
    for (int id : {MNDEMO_MNEQPresetting, MNDEMO_MNDemoEQ1CN, MNDEMO_MNDemoEQ5CN, MNDEMO_MNDemoEQ1GN,
                   MNDEMO_MNDemoEQ5GN, MNDEMO_MNDemoEQ2BW, MNDEMO_MNDemoEQ4BW, MNDEMO_MNDemoEQ3DMODE,
                   MNDEMO_EQTEXT_10, MNDEMO_EQTEXT_11, MNDEMO_EQDECORATION, MNDEMO_EQSPLITTER})
        EXPECT_FALSE(Visible(PHandleMNDemo, id)) << id;

    // Pykd, then Pykb (its button sets EQMode 1 and its choice clears it), Pyka or Jorb.
    const std::function<void()> next[] = {[&] { Click(PANEL_PB_Pykb); }, [&] { Click(PANEL_PB_Pyka); },
                                          [&] { Menu(MENUBAR_DEVICE_StereoJorb); }};
    for (const auto& choose : next) {
        Menu(MENUBAR_DEVICE_MonoPykd);
        choose();
        tabs = Tabs();
        EXPECT_EQ(std::count(tabs.begin(), tabs.end(), PHandleMNEQ), 0) << g_dev_type;
    }
    // Pykd twice: one EQ tab.
    Menu(MENUBAR_DEVICE_MonoPykd);
    Menu(MENUBAR_DEVICE_MonoPykd);
    tabs = Tabs();
    EXPECT_EQ(std::count(tabs.begin(), tabs.end(), PHandleMNEQ), 1);
}

TEST_F(ModelSelectTest, MonoChoicesLabelTheirRegisterTable) {
    const struct { int item; int* panel; const char* label; } cases[] = {
        {MENUBAR_DEVICE_Mono, &PHandleMNRegMap, "ZelPykc Register Map"},
        {MENUBAR_DEVICE_MonoPykd, &PHandleMNRegMap, "KorPykd Register Map"},
        {MENUBAR_DEVICE_MonoPyka, &PHandleMNPykaRegMap, "KorPyka Register Map"},
        {MENUBAR_DEVICE_MonoPykb, &PHandleMNPykbRegMap, "KorPykb Register Map"},
    };
    for (const auto& c : cases) {
        Menu(c.item);
        std::string label;
        rt::GetCtrlAttribute(*c.panel, 2, rt::ATTR_LABEL_TEXT, &label);
        EXPECT_EQ(label, c.label);
    }
}

TEST_F(ModelSelectTest, NotDebugHidesTheBridgeRegisterControls) {
    notDebug = 0;
    Menu(MENUBAR_DEVICE_StereoJorb);
    EXPECT_TRUE(Visible(PHandleSTRegMap, ui::cfgMapJorb_Pan::CFGMAPJorb_NVuntRegAddr));
    notDebug = 1;
    Menu(MENUBAR_DEVICE_Mono);
    for (int id : {ui::cfgMapJorb_Pan::CFGMAPJorb_NVuntRegAddr, ui::cfgMapJorb_Pan::CFGMAPJorb_NVuntRegVal,
                   ui::cfgMapJorb_Pan::CFGMAPJorb_BACSTReg08Read, ui::cfgMapJorb_Pan::CFGMAPJorb_BACSTReg08Write})
        EXPECT_FALSE(Visible(PHandleSTRegMap, id));
    EXPECT_FALSE(Visible(PHandleSTRegMapZutb, ui::cfgMapZutb_Pan::CFGMAPZutb_BACSTReg08Write));
    EXPECT_FALSE(Visible(PHandleMNRegMap, ui::MNRegMap_pan::MNREGMAP_NVuntRegAddr));
    EXPECT_FALSE(Visible(PHandleMNPykbRegMap, ui::MNPykbRegMap_pan::MNPykbREGMAP_BACSTReg08Read));
    // The codec register controls stay.
    EXPECT_TRUE(Visible(PHandleSTRegMap, ui::cfgMapJorb_Pan::CFGMAPJorb_NACSTRegAddr));
}

// The home button removes the set and the model's name from the title; marks, chip and timers
// stay.
TEST_F(ModelSelectTest, HomeUnloadsTheSet) {
    rt::CallCtrlCallback(PHandlePanel, PANEL_CBHOME, rt::EVENT_COMMIT, 0, 0);  // nothing loaded
    EXPECT_TRUE(Tabs().empty());
    Menu(MENUBAR_DEVICE_MonoPykd);
    rt::CallCtrlCallback(PHandlePanel, PANEL_CBHOME, rt::EVENT_COMMIT, 0, 0);
    EXPECT_TRUE(Tabs().empty());
    EXPECT_EQ(UILoaded, UI_NONE);
    EXPECT_EQ(g_dev_type, DEV_PYKD);
    EXPECT_EQ(Title(), "Tervalo Audio Codec ");
    EXPECT_EQ(PanelTitle, "Tervalo Audio Codec ");
    EXPECT_EQ(CheckedDeviceItems(), std::vector<int>{MENUBAR_DEVICE_MonoPykd});
    EXPECT_TRUE(TimerEnabled(PANEL_MNTIMER));
    Menu(MENUBAR_DEVICE_StereoQevb);
    EXPECT_EQ(Tabs(), std::vector<int>{PHdlDemoQevb});
}

// The keyboard focus never rests on Quit, where one press of Space would end the program: the
// tab control once a model is chosen, the first model button that can take it when none is.
TEST_F(ModelSelectTest, FocusRestsOnTheTabsOrTheFirstModelButton) {
    Menu(MENUBAR_DEVICE_StereoZutb);
    EXPECT_EQ(rt::GetActiveCtrl(PHandlePanel), tabCtrl);
    Click(PANEL_PB_Pyka);
    EXPECT_EQ(rt::GetActiveCtrl(PHandlePanel), tabCtrl);
    rt::CallCtrlCallback(PHandlePanel, PANEL_CBHOME, rt::EVENT_COMMIT, 0, 0);
    EXPECT_EQ(rt::GetActiveCtrl(PHandlePanel), PANEL_PB_Jorb);
    // A mono board dims the stereo choices: the first stereo button left is Zuta.
    rt::SetCtrlAttribute(PHandlePanel, PANEL_PB_Jorb, rt::ATTR_DIMMED, 1);
    rt::SetCtrlAttribute(PHandlePanel, PANEL_PB_Jora, rt::ATTR_DIMMED, 1);
    SetInitialFocus();
    EXPECT_EQ(rt::GetActiveCtrl(PHandlePanel), PANEL_PB_Zuta);
}

// The same set chosen again keeps its tabs and runs the rest of the choice again.
TEST_F(ModelSelectTest, SameSetAgainRunsTheTailAgain) {
    Menu(MENUBAR_DEVICE_StereoJorb);
    std::vector<int> tabs = Tabs();
    Menu(MENUBAR_DEVICE_StereoJorb);
    EXPECT_EQ(Tabs(), tabs);
    EXPECT_EQ(ReadAlls(), 2);
    EXPECT_EQ(BoardWords().size(), 4u);
}

// Zuta shares the Jorb configuration-set file, Pykb the Pykc one.
TEST_F(ModelSelectTest, ConfigurationSetFiles) {
    Menu(MENUBAR_DEVICE_StereoJorb);
    const std::string jorb = STcfgFileName;
    EXPECT_EQ(jorb, (home / "STconfig.dat").string());
    Menu(MENUBAR_DEVICE_StereoZuta);
    EXPECT_EQ(std::string(STcfgFileName), jorb);
    Menu(MENUBAR_DEVICE_StereoZutb);
    EXPECT_EQ(std::string(STcfgFileName), (home / "STZutbconfig.dat").string());
    Menu(MENUBAR_DEVICE_StereoJora);
    EXPECT_EQ(std::string(STcfgFileName), (home / "STconfigJora.dat").string());
    Menu(MENUBAR_DEVICE_Mono);
    EXPECT_EQ(std::string(MNcfgFileName), (home / "MNconfig.dat").string());
    Menu(MENUBAR_DEVICE_MonoPyka);
    EXPECT_EQ(std::string(MNcfgFileName), (home / "MNPykaconfig.dat").string());
    Menu(MENUBAR_DEVICE_MonoPykb);
    EXPECT_EQ(std::string(MNcfgFileName), (home / "MNconfig.dat").string());
    EXPECT_NE(STIniConfig, nullptr);
    EXPECT_NE(MNIniConfig, nullptr);
    EXPECT_THAT(prompter.shown, ::testing::IsEmpty());
}

// A project directory of any length the system can open holds the configuration sets; a longer
// one is refused, never cut short, and the popup says why.
TEST_F(ModelSelectTest, LongConfigurationPathsAreAcceptedAndOverlongOnesRefusedWithTheReason) {
    const fs::path longHome = home / std::string(200, 'a') / std::string(100, 'b');
    fs::create_directories(longHome);
    setenv("CODECBENCH_HOME", longHome.c_str(), 1);
    Menu(MENUBAR_DEVICE_StereoJorb);
    EXPECT_EQ(std::string(STcfgFileName), (longHome / "STconfig.dat").string());
    EXPECT_TRUE(fs::exists(longHome / "STconfig.dat")) << "the file was not created";
    EXPECT_NE(STIniConfig, nullptr);
    EXPECT_THAT(prompter.shown, ::testing::IsEmpty()) << prompter.shown[0].text;

    std::string overlong = home.string();
    while (overlong.size() < 4200) overlong += "/" + std::string(200, 'c');
    setenv("CODECBENCH_HOME", overlong.c_str(), 1);
    Menu(MENUBAR_DEVICE_StereoJora);
    EXPECT_EQ(std::string(STcfgFileName), "");
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].title, "ERROR");
    const std::string length = std::to_string(overlong.size() + std::string("/STconfigJora.dat").size());
    EXPECT_EQ(prompter.shown[0].text, " Error Opening Config File\nIts path is " + length +
                                          " characters long; the system opens paths of at most 4095 characters.");
    // The choice goes on.
    EXPECT_EQ(UILoaded, UI_JORA);
    EXPECT_EQ(ReadAlls(), 2);
}

// A right click on any block panel brings its model's path panel to the front and is
// remembered; a right click on the path canvas goes back to it.
TEST_F(ModelSelectTest, RightClickOnABlockPanelLeadsToThePathPanelAndBack) {
    const struct { int item; int* path; int canvas; } sets[] = {
        {MENUBAR_DEVICE_StereoJorb, &PHandleSTPath, 21}, {MENUBAR_DEVICE_StereoJora, &PHdlPathJora, 15},
        {MENUBAR_DEVICE_StereoQeva, &PHdlPathQeva, 19},  {MENUBAR_DEVICE_StereoZuta, &PHandleSTPathZuta, 21},
        {MENUBAR_DEVICE_StereoZutb, &PHandleSTPathZutb, 10}, {MENUBAR_DEVICE_MonoPykd, &PHandleMNPath, 5},
        {MENUBAR_DEVICE_MonoPyka, &PHandleMNPykaPath, 5}, {MENUBAR_DEVICE_MonoPykb, &PHandleMNPykbPath, 5},
    };
    int panelsTried = 0;
    for (const auto& s : sets) {
        Menu(s.item);
        for (int tab : Tabs()) {
            std::string script;
            rt::GetPanelAttribute(tab, rt::ATTR_TITLE, &script);
            if (tab == *s.path || script == " Script") continue;
            SCOPED_TRACE(tab);
            rt::EasyTab_SetAttribute(PHandlePanel, tabCtrl, rt::ATTR_EASY_TAB_ACTIVE_PANEL, tab);
            EXPECT_EQ(rt::CallPanelCallback(tab, rt::EVENT_RIGHT_CLICK, 0, 0), 0);
            EXPECT_EQ(ActiveTab(), *s.path);
            EXPECT_EQ(PHandleLastPanel, tab);
            rt::CallCtrlCallback(*s.path, s.canvas, rt::EVENT_RIGHT_CLICK, 10, 10);
            EXPECT_EQ(ActiveTab(), tab);
            ++panelsTried;
        }
    }
    EXPECT_EQ(panelsTried, 9 + 9 + 6 + 9 + 9 + 9 + 8 + 8);
    // Other events on a block panel do nothing.
    Menu(MENUBAR_DEVICE_StereoJorb);
    rt::EasyTab_SetAttribute(PHandlePanel, tabCtrl, rt::ATTR_EASY_TAB_ACTIVE_PANEL, PHandleSTDAC);
    rt::CallPanelCallback(PHandleSTDAC, rt::EVENT_LEFT_CLICK, 0, 0);
    EXPECT_EQ(ActiveTab(), PHandleSTDAC);
    // Qevb has no path panel: its demo panel's right click changes nothing.
    Menu(MENUBAR_DEVICE_StereoQevb);
    const int last = PHandleLastPanel;
    rt::CallPanelCallback(PHdlDemoQevb, rt::EVENT_RIGHT_CLICK, 0, 0);
    EXPECT_EQ(PHandleLastPanel, last);
}

// Device control as the choice uses it: the routing button and the reset.
TEST_F(ModelSelectTest, RoutingAndResetButtons) {
    FlagAudioInterfaceActive = 0;
    FlagCFGUpdate = 0;
    EXPECT_EQ(BUSBPCMCBZuta(0, 0, rt::EVENT_COMMIT, nullptr, 0, 0), 0);
    auto route = ReceivedWithCommand(CMD_USB_PCM_ROUTE);
    ASSERT_EQ(route.size(), 1u);
    EXPECT_EQ(route[0][1], 0);
    EXPECT_EQ(route[0][2], 0);
    EXPECT_EQ(FlagAudioInterfaceActive, 1);
    EXPECT_EQ(FlagCFGUpdate, 1);

    Menu(MENUBAR_DEVICE_StereoJorb);
    DeviceAttached = 1;
    PoweredUp = 1;
    CFG_REG[0] = 0x55;
    board->ClearReceivedReports();
    BResetCB(PHandleSTDevCtrl, 0, rt::EVENT_COMMIT, nullptr, 0, 0);
    auto writes = RegisterWrites();
    ASSERT_FALSE(writes.empty());
    EXPECT_EQ(writes[0], std::make_pair(0, 0));
    EXPECT_EQ(ReadAlls(), 1);
    EXPECT_EQ(PoweredUp, 0);
    // Write-only mode: reset without the read-back.
    QuillonMode = 1;
    board->ClearReceivedReports();
    BResetCBJora(0, 0, rt::EVENT_COMMIT, nullptr, 0, 0);
    EXPECT_EQ(ReadAlls(), 0);
    EXPECT_EQ(RegisterWrites().size(), 1u);
}

// A mode box acts only when ticked; it clears the other boxes and packs the word from them.
TEST_F(ModelSelectTest, ModeBoxActsOnlyWhenTicked) {
    rt::SetCtrlVal(PHandleSTDevCtrl, 12, 0);
    rt::CallCtrlCallback(PHandleSTDevCtrl, 12, rt::EVENT_COMMIT, 0, 0);
    EXPECT_TRUE(BoardWords().empty());
    rt::SetCtrlVal(PHandleSTDevCtrl, 12, 1);
    rt::SetCtrlVal(PHandleSTDevCtrl, 19, 1);
    rt::CallCtrlCallback(PHandleSTDevCtrl, 12, rt::EVENT_COMMIT, 0, 0);
    EXPECT_EQ(CommMode, COMM_SPI3W);
    int i2c = 1;
    rt::GetCtrlVal(PHandleSTDevCtrl, 19, &i2c);
    EXPECT_EQ(i2c, 0);
    EXPECT_EQ(BoardWords(), (std::vector<std::vector<uint8_t>>{{0x17, 0x1F}}));
    EXPECT_EQ(FlagAudioInterfaceActive, 0);
}

}  // namespace
