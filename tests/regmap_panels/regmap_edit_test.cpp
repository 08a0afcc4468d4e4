// Cell commits on the register tables: what reaches CFG_REG and the chip, the refusals and
// popups, the reset guard, and the title rows that follow.
#include <gmock/gmock.h>
#include <QApplication>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <QTest>

#include "panels/MNRegMap_pan.h"
#include "panels/cfgMapJorb_Pan.h"
#include "panels/cfgMapQeva_Pan.h"
#include "panels/cfgMapZutb_Pan.h"
#include "runtime/testing.h"
#include "tests/regmap_panels/regmap_test_support.h"
#include "tests/support/event_wait.h"

namespace {

using regmaptest::JorbRegMapFixture;
using namespace ui::AudioCodec_pan;
using namespace ui::cfgMapJorb_Pan;

constexpr int kTable = CFGMAPJorb_REGTABLE;

class RegMapEditTest : public JorbRegMapFixture {
protected:
    std::string Bits() { return Text(panel, CFGMAPJorb_REGMAPTITLE2); }
};

// Typing 1 into "Bit 3" of a register holding 0 makes it 0x008: written to the chip, shown in
// the row and in the title rows; a value equal to the register's sends nothing.
TEST_F(RegMapEditTest, ABitOrValueCommitWritesTheRegisterAndRedrawsTheRow) {
    const int row = RowOf(panel, kTable, 7);
    ASSERT_EQ(row, 8);
    CFG_REG[7] = 0;
    board->SetCodecRegister(7, 0);
    RunRedrawList(UILoaded);
    Commit(panel, kTable, row, "Bit 3", 1);
    EXPECT_EQ(CFG_REG[7], 0x008u);
    EXPECT_EQ(RegisterWrites(), (std::vector<std::pair<int, int>>{{7, 0x008}}));
    EXPECT_EQ(board->CodecRegister(7), 0x008);
    EXPECT_EQ(Cell(panel, kTable, "Hex Val", row), 0x008);
    EXPECT_EQ(Bits(), "0x07: |____0____|____0____|____0____|____0____|____0____|____1____|____0____|____0____|"
                      "____0____| 0x008");
    EXPECT_EQ(Text(panel, CFGMAPJorb_TMREGNAME), "Clock_Control_2");
    EXPECT_EQ(Text(panel, CFGMAPJorb_REGMAPTITLE),
              "|_4WSPIEN_|____0____|____0____|____0_________0____|__________SMPLR[2:0]_________|__SCLKEN_|");

    board->ClearReceivedReports();
    const int row10 = RowOf(panel, kTable, 10);
    Commit(panel, kTable, row10, "Hex Val", 0x1FF);
    EXPECT_EQ(CFG_REG[10], 0x1FFu);
    EXPECT_EQ(RegisterWrites(), (std::vector<std::pair<int, int>>{{10, 0x1FF}}));
    EXPECT_EQ(Text(panel, CFGMAPJorb_TMREGNAME), "DAC_Control");
    EXPECT_EQ(Bits(), "0x0A: |____1____|____1____|____1____|____1____|____1____|____1____|____1____|"
                      "____1____|____1____| 0x1FF");

    board->ClearReceivedReports();
    Commit(panel, kTable, row10, "Bit 0", 1);  // already 1
    EXPECT_TRUE(RegisterWrites().empty());
    EXPECT_EQ(CFG_REG[10], 0x1FFu);
    EXPECT_THAT(prompter.shown, ::testing::IsEmpty());
}

// A bit takes 0 or 1 and a value 0 to 0x1FF; the address cells are not values. Anything else
// is refused: nothing written, the cell shows the register again.
TEST_F(RegMapEditTest, OutOfRangeCellsAndAddressCellsAreRefused) {
    const int row = RowOf(panel, kTable, 4);
    CFG_REG[4] = 0x050;
    RunRedrawList(UILoaded);
    Commit(panel, kTable, row, "Bit 3", 2);
    Commit(panel, kTable, row, "Hex Val", 0x200);
    EXPECT_EQ(Titles(), (std::vector<std::string>{"Invalid value", "Invalid value"}));
    Commit(panel, kTable, row, "Dec Addr", 9);
    Commit(panel, kTable, row, "Hex Addr", 9);
    EXPECT_EQ(prompter.shown.size(), 2u);
    EXPECT_EQ(CFG_REG[4], 0x050u);
    EXPECT_EQ(CFG_REG[9], 0u);
    EXPECT_TRUE(RegisterWrites().empty());
    EXPECT_EQ(Cell(panel, kTable, "Bit 3", row), 0);
    EXPECT_EQ(Cell(panel, kTable, "Hex Val", row), 0x050);
    EXPECT_EQ(Cell(panel, kTable, "Dec Addr", row), 4);
    EXPECT_EQ(Cell(panel, kTable, "Hex Addr", row), 4);
}

// The register that resets the chip is never written without the board, and under 4-wire SPI
// only when the user agrees; other rows are written without asking.
TEST_F(RegMapEditTest, ResetRowIsGuarded) {
    rt::SetCtrlVal(PHandlePanel, PANEL_LDevAttached, 0);
    CFG_REG[0] = 0;
    Commit(panel, kTable, 1, "Bit 0", 1);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].title, "Invalid Operation ");
    EXPECT_EQ(prompter.shown[0].text, "Software Reset without hardware attached. \nThis operation will be discarded... ");
    EXPECT_EQ(CFG_REG[0], 0u);
    EXPECT_EQ(FlagCFGUpdate, 1);
    EXPECT_EQ(Cell(panel, kTable, "Bit 0", 1), 0);
    Commit(panel, kTable, 2, "Bit 0", 1);  // another row: written (the link decides about the board)
    EXPECT_EQ(CFG_REG[1], 1u);

    rt::SetCtrlVal(PHandlePanel, PANEL_LDevAttached, 1);
    CommMode = COMM_SPI4W;
    prompter.shown.clear();
    board->ClearReceivedReports();
    prompter.yesNoAnswers = {false};
    Commit(panel, kTable, 1, "Hex Val", 0x5);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].title, "Warning -- It is not safe to reset device under SPI 4 wire mode");
    EXPECT_EQ(prompter.shown[0].text,
              "SPI 4 wire communication mode requires R7[8] be 1, however chip reset will clear this bit.\n"
              "          If you want to continue, please make sure to choose a communication mode first after "
              "reset - to recover the communication; or you\n          can swicth to other mode and then reset "
              "device.\n\n          Do you want to continue? ");
    EXPECT_EQ(CFG_REG[0], 0u);
    EXPECT_TRUE(RegisterWrites().empty());
    EXPECT_EQ(Cell(panel, kTable, "Hex Val", 1), 0);

    // Qeva does not ask first (the link still asks before register 0 goes out under 4-wire SPI).
    Choose(MENUBAR_DEVICE_StereoQeva);
    CommMode = COMM_SPI4W;
    prompter.yesNoAnswers = {false};
    Commit(PHdlRegMapQeva, ui::cfgMapQeva_Pan::CFGMAPQeva_REGTABLE, 1, "Hex Val", 0x5);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].title, "Warning -- It is not safe to reset device under SPI 4 wire mode");
    EXPECT_EQ(CFG_REG[0], 5u);  // kept in the copy; the chip was not written
    EXPECT_TRUE(RegisterWrites().empty());
}

// Zutb resets with R15, not R0: its guard stands on R15's row, and R0 is an ordinary register.
TEST_F(RegMapEditTest, ZutbGuardsItsOwnResetRegister) {
    Choose(MENUBAR_DEVICE_StereoZutb);
    const int zutb = PHandleSTRegMapZutb;
    const int table = ui::cfgMapZutb_Pan::CFGMAPZutb_REGTABLE;
    ShowTab(zutb);
    rt::SetCtrlVal(PHandlePanel, PANEL_LDevAttached, 0);
    CFG_REG[0] = 0;
    CFG_REG[15] = 0;
    Commit(zutb, table, 1, "Bit 1", 1);
    EXPECT_THAT(prompter.shown, ::testing::IsEmpty());
    EXPECT_EQ(CFG_REG[0], 2u);
    const int resetRow = RowOf(zutb, table, 15);
    ASSERT_EQ(resetRow, 16);
    Commit(zutb, table, resetRow, "Bit 0", 1);
    EXPECT_EQ(Titles(), std::vector<std::string>{"Invalid Operation "});
    EXPECT_EQ(CFG_REG[15], 0u);
}

// The blank rows of a mono panel take no edits and leave the title rows alone.
TEST_F(RegMapEditTest, MonoBlankRowsTakeNoEdits) {
    Choose(MENUBAR_DEVICE_Mono);
    const int mono = PHandleMNRegMap;
    const int table = ui::MNRegMap_pan::MNREGMAP_REGTABLE;
    ShowTab(mono);
    rt::SetActiveTableCell(mono, table, rt::MakePoint(5, 3));
    UpdateRegMapTitle_Pykc();
    const std::string bits = Text(mono, ui::MNRegMap_pan::MNREGMAP_REGMAPTITLE2);
    EXPECT_EQ(bits.substr(0, 7), "0x02: |");
    const uint32_t before[2] = {CFG_REG[0], CFG_REG[79]};
    Commit(mono, table, 54, "Hex Val", 0x12);
    EXPECT_EQ(CFG_REG[0], before[0]);
    EXPECT_EQ(CFG_REG[79], before[1]);
    EXPECT_TRUE(RegisterWrites().empty());
    EXPECT_EQ(Text(mono, ui::MNRegMap_pan::MNREGMAP_REGMAPTITLE2), bits);
    EXPECT_EQ(Text(mono, ui::MNRegMap_pan::MNREGMAP_TMREGNAME), "PWRM2");
    // An ordinary mono row: written and redrawn.
    CFG_REG[2] = 0x001;
    Commit(mono, table, 3, "Bit 4", 1);
    EXPECT_EQ(CFG_REG[2], 0x011u);
    EXPECT_EQ(RegisterWrites(), (std::vector<std::pair<int, int>>{{2, 0x011}}));
    const std::string after = Text(mono, ui::MNRegMap_pan::MNREGMAP_REGMAPTITLE2);
    EXPECT_EQ(after.substr(after.size() - 17), "|____1____| 0x011");
}

}  // namespace

namespace {

// Tab and Shift+Tab leave a register table and a script editor as they leave any control, on
// every model: real key presses move the focus to the next control of the panel and back; the
// arrows still move between cells, the editor gets no tab character, and Tab in a cell being
// edited keeps the edit.
TEST_F(RegMapEditTest, TabLeavesTheTableAndTheScriptEditorOnEveryModel) {
    struct Model {
        int menuItem;
        int *regMap, *script;
    };
    const Model models[] = {
        {MENUBAR_DEVICE_StereoJorb, &PHandleSTRegMap, &PHandleSTScript},
        {MENUBAR_DEVICE_StereoJora, &PHdlRegMapJora, &PHdlScriptJora},
        {MENUBAR_DEVICE_StereoQeva, &PHdlRegMapQeva, &PHdlScriptQeva},
        {MENUBAR_DEVICE_StereoZuta, &PHandleSTRegMapZuta, &PHandleSTScriptZuta},
        {MENUBAR_DEVICE_StereoZutb, &PHandleSTRegMapZutb, &PHandleSTScriptZutb},
        {MENUBAR_DEVICE_Mono, &PHandleMNRegMap, &PHandleMNScript},
        {MENUBAR_DEVICE_MonoPykb, &PHandleMNPykbRegMap, &PHandleMNPykbScript},
        {MENUBAR_DEVICE_MonoPyka, &PHandleMNPykaRegMap, &PHandleMNPykaScript},
    };
    rt::DisplayPanel(PHandlePanel);
    QWidget* window = rt::testing::PanelWindow(PHandlePanel);
    window->activateWindow();
    ASSERT_TRUE(testsupport::EventLoopUntil([window] { return QApplication::activeWindow() == window; }));
    const auto focusName = [] {
        const QWidget* f = QApplication::focusWidget();
        if (!f) return std::string("nothing");
        return (QString(f->metaObject()->className()) + ' ' + f->accessibleName()).toStdString();
    };
    for (const Model& m : models) {
        SCOPED_TRACE("model item " + std::to_string(m.menuItem));
        Choose(m.menuItem);
        ShowTab(*m.regMap);
        auto* table = rt::testing::PanelContent(*m.regMap)->findChild<QTableWidget*>();
        ASSERT_NE(table, nullptr);
        table->setFocus();
        table->setCurrentCell(0, 2);
        QTest::keyClick(table, Qt::Key_Right);
        QTest::keyClick(table, Qt::Key_Down);
        EXPECT_EQ(table->currentRow(), 1);
        EXPECT_EQ(table->currentColumn(), 3);
        QTest::keyClick(table, Qt::Key_Tab);
        QWidget* next = QApplication::focusWidget();
        ASSERT_NE(next, nullptr);
        EXPECT_TRUE(next != table && !table->isAncestorOf(next)) << focusName();
        EXPECT_TRUE(rt::testing::PanelContent(*m.regMap)->isAncestorOf(next)) << focusName();
        QTest::keyClick(next, Qt::Key_Backtab, Qt::ShiftModifier);
        EXPECT_EQ(QApplication::focusWidget(), table) << focusName();
        EXPECT_EQ(table->currentRow(), 1);

        ShowTab(*m.script);
        auto* editor = qobject_cast<QPlainTextEdit*>(rt::testing::ControlWidget(*m.script, 2));
        ASSERT_NE(editor, nullptr);
        const std::string text = editor->toPlainText().toStdString();
        editor->setFocus();
        QTest::keyClick(editor, Qt::Key_Tab);
        EXPECT_EQ(editor->toPlainText().toStdString(), text);
        QWidget* after = QApplication::focusWidget();
        ASSERT_NE(after, nullptr);
        EXPECT_NE(after, editor) << focusName();
        EXPECT_TRUE(rt::testing::PanelContent(*m.script)->isAncestorOf(after)) << focusName();
        QTest::keyClick(after, Qt::Key_Backtab, Qt::ShiftModifier);
        EXPECT_EQ(QApplication::focusWidget(), editor) << focusName();
        EXPECT_EQ(editor->toPlainText().toStdString(), text);
    }

    // Tab in an edited cell: the value typed is committed and written, the focus moves on.
    Choose(MENUBAR_DEVICE_StereoJorb);
    ShowTab(panel);
    auto* table = rt::testing::PanelContent(panel)->findChild<QTableWidget*>();
    const int row = RowOf(panel, kTable, 10);
    CFG_REG[10] = 0;
    RunRedrawList(UILoaded);
    table->setFocus();
    table->setCurrentCell(row - 1, rt::GetTableColumnFromLabel(panel, kTable, "Hex Val") - 1);
    QTest::keyClick(table, Qt::Key_F2);
    QWidget* cellEditor = QApplication::focusWidget();
    ASSERT_TRUE(cellEditor && table->isAncestorOf(cellEditor)) << focusName();
    QTest::keyClicks(cellEditor, "1F");
    QTest::keyClick(cellEditor, Qt::Key_Tab);
    EXPECT_TRUE(QApplication::focusWidget() != table && !table->isAncestorOf(QApplication::focusWidget())) << focusName();
    ASSERT_TRUE(testsupport::EventLoopUntil([] { return CFG_REG[10] == 0x1F; })) << "R10 " << CFG_REG[10];
    EXPECT_EQ(RegisterWrites(), (std::vector<std::pair<int, int>>{{10, 0x1F}}));
    EXPECT_EQ(board->CodecRegister(10), 0x1F);
}

}  // namespace
