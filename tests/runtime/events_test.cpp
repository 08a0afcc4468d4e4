// Callbacks run by real user actions (mouse and keyboard events sent to the widgets), and by
// nothing else.
#include "fixture.h"
#include "tests/support/event_wait.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QSlider>
#include <QSpinBox>
#include <QTableWidget>
#include <QWheelEvent>

using namespace fixture;
using rt::EVENT_COMMIT;
using rt::EVENT_LEFT_CLICK;
using rt::EVENT_RIGHT_CLICK;
using rt::EVENT_VAL_CHANGED;

namespace {

class Events_ : public RuntimeTest {
protected:
    void SetUp() override {
        RuntimeTest::SetUp();
        if (HasFatalFailure()) return;
        p = LoadMain();
    }
    int p = 0;
};

QPoint Centre(QWidget* w) { return w->rect().center(); }

}  // namespace

TEST_F(Events_, ButtonClickGivesLeftClickThenCommit) {
    QTest::mouseClick(W(p, APPLY), Qt::LeftButton, {}, QPoint(5, 7));
    ASSERT_EQ(EventCodes(APPLY), (std::vector<int>{EVENT_LEFT_CLICK, EVENT_COMMIT}));
    EXPECT_EQ(Events()[0], (Event{p, APPLY, EVENT_LEFT_CLICK, 7, 5}));
    // The keyboard commits too.
    Events().clear();
    W(p, APPLY)->setFocus();
    QTest::keyClick(W(p, APPLY), Qt::Key_Space);
    EXPECT_EQ(EventCodes(APPLY), (std::vector<int>{EVENT_COMMIT}));
}

TEST_F(Events_, PictureButtonAndTextMessage) {
    QTest::mouseClick(W(p, CHIP), Qt::LeftButton, {}, Centre(W(p, CHIP)));
    EXPECT_EQ(EventCodes(CHIP), (std::vector<int>{EVENT_LEFT_CLICK, EVENT_COMMIT}));
    // A text message reports the click only: it has nothing to commit.
    QTest::mouseClick(W(p, CAPTION), Qt::LeftButton, {}, QPoint(3, 4));
    EXPECT_EQ(EventCodes(CAPTION), (std::vector<int>{EVENT_LEFT_CLICK}));
    // ... and the panel behind it hears nothing of it.
    EXPECT_EQ(EventCodes(0), std::vector<int>{});
}

TEST_F(Events_, RingChosenByTheUserChangesThenCommits) {
    auto* combo = qobject_cast<QComboBox*>(W(p, RATE));
    // One notch of the wheel down on a ring not used before steps on from the item it shows.
    const QPointF middle(Centre(combo));
    QWheelEvent notch(middle, combo->mapToGlobal(middle), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(combo, &notch);
    EXPECT_EQ(EventCodes(RATE), (std::vector<int>{EVENT_VAL_CHANGED, EVENT_COMMIT}));
    int v = 0;
    rt::GetCtrlVal(p, RATE, &v);
    EXPECT_EQ(v, 2);
    // The keys.
    Events().clear();
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Up);
    EXPECT_EQ(EventCodes(RATE), (std::vector<int>{EVENT_VAL_CHANGED, EVENT_COMMIT}));
    rt::GetCtrlVal(p, RATE, &v);
    EXPECT_EQ(v, 1);
    // From the drop-down list with the mouse.
    Events().clear();
    combo->showPopup();
    QAbstractItemView* view = combo->view();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(view->model()->index(0, 0)).center());
    EXPECT_EQ(EventCodes(RATE), (std::vector<int>{EVENT_VAL_CHANGED, EVENT_COMMIT}));
    rt::GetCtrlVal(p, RATE, &v);
    EXPECT_EQ(v, 0);
    // An assistive tool's choice of an item on a ring not used before, once its call returned.
    Events().clear();
    const int fresh = LoadMain();
    QAccessibleInterface* ring = QAccessible::queryAccessibleInterface(W(fresh, RATE));
    ASSERT_NE(ring->child(2), nullptr);
    ring->child(2)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    rt::ProcessSystemEvents();
    EXPECT_EQ(Events(), (std::vector<Event>{{fresh, RATE, EVENT_VAL_CHANGED, 0, 0}, {fresh, RATE, EVENT_COMMIT, 0, 0}}));
    rt::GetCtrlVal(fresh, RATE, &v);
    EXPECT_EQ(v, 2);
    EXPECT_EQ(ring->text(QAccessible::Value), "32kHz");
}

TEST_F(Events_, SettingFromCodeRunsNoCallback) {
    rt::SetCtrlVal(p, RATE, 0);
    rt::SetCtrlVal(p, ENABLE, 1);
    rt::SetCtrlVal(p, GAIN, 7);
    rt::SetCtrlVal(p, NAME, "xyz");
    rt::SetCtrlVal(p, VOL, 3);
    rt::SetCtrlVal(p, MODE, "s");
    rt::SetCtrlIndex(p, SETS, 1);
    rt::CheckListItem(p, SETS, 0, 1);
    rt::SetTableCellVal(p, REGS, rt::MakePoint(2, 1), 0x1FF);
    rt::InsertListItem(p, RATE, 0, "96kHz", 6);
    rt::DeleteListItem(p, RATE, 0, 1);
    rt::SetActiveTableCell(p, REGS, rt::MakePoint(3, 2));
    QApplication::processEvents();
    EXPECT_TRUE(Events().empty());
}

TEST_F(Events_, CheckBoxNumericStringAndSlideCommit) {
    QTest::mouseClick(W(p, ENABLE), Qt::LeftButton, {}, QPoint(8, 10));
    EXPECT_EQ(EventCodes(ENABLE), (std::vector<int>{EVENT_LEFT_CLICK, EVENT_VAL_CHANGED, EVENT_COMMIT}));
    int v = 0;
    rt::GetCtrlVal(p, ENABLE, &v);
    EXPECT_EQ(v, 1);

    auto* spin = qobject_cast<QSpinBox*>(W(p, GAIN));
    spin->setFocus();
    spin->selectAll();
    QTest::keyClicks(spin, "-7");
    EXPECT_EQ(EventCodes(GAIN), std::vector<int>{});  // nothing until the entry ends
    QTest::keyClick(spin, Qt::Key_Return);
    EXPECT_EQ(EventCodes(GAIN), (std::vector<int>{EVENT_VAL_CHANGED, EVENT_COMMIT}));
    rt::GetCtrlVal(p, GAIN, &v);
    EXPECT_EQ(v, -7);

    // A hexadecimal entry takes hexadecimal digits.
    auto* hex = qobject_cast<QSpinBox*>(W(p, VALUE));
    hex->setFocus();
    hex->selectAll();
    QTest::keyClicks(hex, "1a");
    QTest::keyClick(hex, Qt::Key_Enter);
    EXPECT_EQ(EventCodes(VALUE), (std::vector<int>{EVENT_VAL_CHANGED, EVENT_COMMIT}));
    rt::GetCtrlVal(p, VALUE, &v);
    EXPECT_EQ(v, 0x1A);
    EXPECT_EQ(hex->text(), "1A");

    auto* edit = qobject_cast<QLineEdit*>(W(p, NAME));
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, "Bright");
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(EventCodes(NAME), (std::vector<int>{EVENT_VAL_CHANGED, EVENT_COMMIT}));
    std::string s;
    rt::GetCtrlVal(p, NAME, &s);
    EXPECT_EQ(s, "Bright");

    auto* slider = W(p, VOL)->findChild<QSlider*>();
    slider->setFocus();
    QTest::keyClick(slider, Qt::Key_Right);
    EXPECT_EQ(EventCodes(VOL), (std::vector<int>{EVENT_VAL_CHANGED, EVENT_COMMIT}));
    rt::GetCtrlVal(p, VOL, &v);
    EXPECT_EQ(v, 3);  // one step of 3 up from 0
}

TEST_F(Events_, ListBoxSelectionTicksAndDoubleClick) {
    auto* list = qobject_cast<QListWidget*>(W(p, SETS));
    QRect second = list->visualItemRect(list->item(1));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, second.center());
    EXPECT_EQ(EventCodes(SETS), (std::vector<int>{EVENT_LEFT_CLICK, EVENT_VAL_CHANGED, EVENT_COMMIT}));
    Events().clear();
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, second.center());
    std::vector<int> codes = EventCodes(SETS);
    EXPECT_NE(std::find(codes.begin(), codes.end(), rt::EVENT_LEFT_DOUBLE_CLICK), codes.end());
    int index = -1;
    rt::GetCtrlIndex(p, SETS, &index);
    EXPECT_EQ(index, 1);
}

TEST_F(Events_, TableCellEditCommitsWithRowAndColumn) {
    auto* table = qobject_cast<QTableWidget*>(W(p, REGS));
    rt::SetTableCellVal(p, REGS, rt::MakePoint(2, 2), 0x0A);
    QRect cell = table->visualRect(table->model()->index(1, 1));
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, cell.center());
    auto* editor = table->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->text(), "00A");
    editor->selectAll();
    QTest::keyClicks(editor, "1f");
    QTest::keyClick(editor, Qt::Key_Return);
    // The edit ends and commits on the following turns of the event loop.
    auto commits = [&] {
        std::vector<Event> found;
        for (const Event& e : Events())
            if (e.control == REGS && e.event == EVENT_COMMIT) found.push_back(e);
        return found;
    };
    ASSERT_TRUE(testsupport::EventLoopUntil([&] { return commits().size() == 1; })) << commits().size();
    EXPECT_EQ(commits()[0], (Event{p, REGS, EVENT_COMMIT, 2, 2}));  // row 2, column 2
    int v = 0;
    rt::GetTableCellVal(p, REGS, rt::MakePoint(2, 2), &v);
    EXPECT_EQ(v, 0x1F);
    EXPECT_EQ(table->item(1, 1)->text(), "01F");
    rt::Point active;
    rt::GetActiveTableCell(p, REGS, &active);
    EXPECT_EQ(active.x, 2);
    EXPECT_EQ(active.y, 2);

    // The same value typed again is no change: no commit.
    Events().clear();
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, cell.center());
    editor = table->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    QTest::keyClick(editor, Qt::Key_Return);
    QTest::qWait(50);
    std::vector<int> codes = EventCodes(REGS);
    EXPECT_EQ(std::count(codes.begin(), codes.end(), EVENT_COMMIT), 0);

    // A cell made read-only opens no editor.
    rt::SetTableCellEditable(p, REGS, rt::MakePoint(3, 1), 0);
    QPoint bit = table->visualRect(table->model()->index(0, 2)).center();
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, bit);
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, bit);
    EXPECT_EQ(table->viewport()->findChild<QSpinBox*>(), nullptr);
}

TEST_F(Events_, CanvasClicksCarryYThenX) {
    QTest::mouseClick(W(p, DRAW), Qt::LeftButton, {}, QPoint(30, 20));
    QTest::mouseClick(W(p, DRAW), Qt::RightButton, {}, QPoint(100, 70));
    ASSERT_EQ(Events().size(), 2u);
    EXPECT_EQ(Events()[0], (Event{p, DRAW, EVENT_LEFT_CLICK, 20, 30}));
    EXPECT_EQ(Events()[1], (Event{p, DRAW, EVENT_RIGHT_CLICK, 70, 100}));
}

TEST_F(Events_, RightClickOnThePanelBackgroundReachesThePanelCallback) {
    QWidget* content = rt::testing::PanelContent(p);
    QTest::mouseClick(content, Qt::RightButton, {}, QPoint(250, 405));
    ASSERT_EQ(Events().size(), 1u);
    EXPECT_EQ(Events()[0], (Event{p, 0, EVENT_RIGHT_CLICK, 405, 250}));
    // On a decoration without a callback it is the panel's click too.
    Events().clear();
    QWidget* deco = W(p, DECO);
    QTest::mouseClick(deco, Qt::RightButton, {}, QPoint(100, 50));
    ASSERT_EQ(Events().size(), 1u);
    EXPECT_EQ(Events()[0].control, 0);
    EXPECT_EQ(Events()[0].event, EVENT_RIGHT_CLICK);
    EXPECT_EQ(Events()[0].data1, 296 + 50);
    EXPECT_EQ(Events()[0].data2, 160 + 100);
}

TEST_F(Events_, IndicatorsAndDimmedControlsTakeNoInput) {
    rt::SetCtrlAttribute(p, ENABLE, rt::ATTR_CTRL_MODE, rt::VAL_INDICATOR);
    QTest::mouseClick(W(p, ENABLE), Qt::LeftButton, {}, QPoint(8, 10));
    int v = 1;
    rt::GetCtrlVal(p, ENABLE, &v);
    EXPECT_EQ(v, 0);
    EXPECT_EQ(EventCodes(ENABLE), (std::vector<int>{EVENT_LEFT_CLICK}));  // clicked, not changed
    Events().clear();
    rt::SetCtrlAttribute(p, APPLY, rt::ATTR_DIMMED, 1);
    QTest::mouseClick(W(p, APPLY), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(EventCodes(APPLY).empty());
}

TEST_F(Events_, CallCtrlCallbackRunsItAsACommit) {
    EXPECT_EQ(rt::CallCtrlCallback(p, APPLY, EVENT_COMMIT, 0, 0), 0);
    EXPECT_EQ(rt::CallPanelCallback(p, EVENT_RIGHT_CLICK, 1, 2), 0);
    ASSERT_EQ(Events().size(), 2u);
    EXPECT_EQ(Events()[0], (Event{p, APPLY, EVENT_COMMIT, 0, 0}));
    EXPECT_EQ(Events()[1], (Event{p, 0, EVENT_RIGHT_CLICK, 1, 2}));
    EXPECT_EQ(rt::CallCtrlCallback(p, 99, EVENT_COMMIT, 0, 0), rt::UIEBadControlId);
    // A control without a callback: nothing runs, no error.
    EXPECT_EQ(rt::CallCtrlCallback(p, LEVEL, EVENT_COMMIT, 0, 0), 0);
}

TEST_F(Events_, TimerTicksOnlyWhileEnabled) {
    QTest::qWait(60);
    EXPECT_TRUE(EventCodes(TICK).empty());
    rt::SetCtrlAttribute(p, TICK, rt::ATTR_ENABLED, 1);
    ASSERT_TRUE(testsupport::EventLoopUntil([] { return EventCodes(TICK).size() >= 3; }));
    for (int code : EventCodes(TICK)) EXPECT_EQ(code, rt::EVENT_TIMER_TICK);
    rt::SetCtrlAttribute(p, TICK, rt::ATTR_ENABLED, 0);
    size_t n = EventCodes(TICK).size();
    QTest::qWait(60);
    EXPECT_EQ(EventCodes(TICK).size(), n);
}

TEST_F(Events_, ACallbackMayDiscardItsOwnPanelOrThrow) {
    OnCtrl() = [](int panel, int, int event) {
        if (event == EVENT_COMMIT) rt::DiscardPanel(panel);
    };
    QTest::mouseClick(W(p, APPLY), Qt::LeftButton, {}, QPoint(5, 5));
    QApplication::processEvents();
    EXPECT_EQ(rt::DisplayPanel(p), rt::UIEBadPanelHandle);

    p = LoadMain();
    Events().clear();
    OnCtrl() = [](int, int, int) { throw std::runtime_error("boom"); };
    QTest::mouseClick(W(p, APPLY), Qt::LeftButton, {}, QPoint(5, 5));  // reported, not fatal
    EXPECT_EQ(EventCodes(APPLY), (std::vector<int>{EVENT_LEFT_CLICK, EVENT_COMMIT}));
}

TEST_F(Events_, ClosingTheWindowAsksThePanelCallback) {
    rt::testing::PanelWindow(p)->close();
    EXPECT_TRUE(rt::testing::PanelWindow(p)->isVisible());
    ASSERT_EQ(Events().size(), 1u);
    EXPECT_EQ(Events()[0].event, rt::EVENT_CLOSE);
}
