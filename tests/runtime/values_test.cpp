// Control values, ring and list items, text boxes and attributes, as code sets and reads them.
#include "fixture.h"
#include "tests/support/event_counter.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QSlider>
#include <QSpinBox>
#include <QTest>
#include <QTableWidget>
#include <QImage>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <string>

using namespace fixture;

namespace {

class Values : public RuntimeTest {
protected:
    void SetUp() override {
        RuntimeTest::SetUp();
        if (HasFatalFailure()) return;
        p = rt::LoadPanel(0, kFile, 1);
        ASSERT_GT(p, 0) << rt::LastLoadError();
    }
    int p = 0;
};

}  // namespace

TEST_F(Values, RingSelectsByItemValueAndShowsAnUnknownValueAsACode) {
    auto* combo = qobject_cast<QComboBox*>(W(p, RATE));
    // What the ring shows, as assistive technology reads it.
    auto shown = [combo] { return QAccessible::queryAccessibleInterface(combo)->text(QAccessible::Value); };
    int v = -1;
    EXPECT_EQ(rt::GetCtrlVal(p, RATE, &v), 0);
    EXPECT_EQ(v, 1);  // the resource's value
    EXPECT_EQ(shown(), "44.1kHz");
    EXPECT_EQ(rt::SetCtrlVal(p, RATE, 2), 0);
    EXPECT_EQ(shown(), "32kHz");
    // A value no item has is shown as what it is, and is still no item's value.
    EXPECT_EQ(rt::SetCtrlVal(p, RATE, 7), rt::UIEItemNotFound);
    EXPECT_EQ(shown(), "code 7");
    int index = 5, n = 0;
    rt::GetCtrlIndex(p, RATE, &index);
    EXPECT_EQ(index, -1);
    EXPECT_EQ(rt::GetCtrlVal(p, RATE, &v), rt::UIEItemNotFound);
    rt::GetNumListItems(p, RATE, &n);
    EXPECT_EQ(n, 3);
    // Items added meanwhile leave it shown, until one has that value.
    EXPECT_EQ(rt::InsertListItem(p, RATE, 0, "16kHz", 4), 0);
    EXPECT_EQ(shown(), "code 7");
    EXPECT_EQ(rt::InsertListItem(p, RATE, -1, "8kHz", 7), 0);
    EXPECT_EQ(shown(), "8kHz");
    EXPECT_EQ(combo->count(), 5);
    EXPECT_EQ(rt::GetCtrlVal(p, RATE, &v), 0);
    EXPECT_EQ(v, 7);
    // Setting from code runs no callback.
    EXPECT_TRUE(Events().empty());
    // The user choosing an item takes the shown code away.
    rt::SetCtrlVal(p, RATE, 9);
    EXPECT_EQ(combo->count(), 6);
    combo->setCurrentIndex(1);
    EXPECT_EQ(combo->count(), 5);
    EXPECT_EQ(rt::GetCtrlVal(p, RATE, &v), 0);
    EXPECT_EQ(v, 0);
    EXPECT_EQ(EventCodes(RATE), (std::vector<int>{rt::EVENT_VAL_CHANGED, rt::EVENT_COMMIT}));
    // A ring slide shows it beside its slider, at a position of its own after the last item
    // (its items are texts): the keys step from there to the neighbouring item, Home and End
    // to the first and last.
    EXPECT_EQ(rt::SetCtrlVal(p, MODE, "x"), rt::UIEItemNotFound);
    EXPECT_EQ(W(p, MODE)->findChild<QLabel*>()->text(), "code x");
    auto* slider = W(p, MODE)->findChild<QSlider*>();
    for (const auto& [key, shown] : {std::pair{Qt::Key_Left, "s"}, {Qt::Key_Home, "m"}, {Qt::Key_End, "s"}}) {
        rt::SetCtrlVal(p, MODE, "x");
        Events().clear();
        QTest::keyClick(slider, key);
        std::string value;
        EXPECT_EQ(rt::GetCtrlVal(p, MODE, &value), 0) << key;
        EXPECT_EQ(value, shown) << key;
        EXPECT_EQ(EventCodes(MODE), (std::vector<int>{rt::EVENT_VAL_CHANGED, rt::EVENT_COMMIT})) << key;
    }
    // On a ring slide of numbers the value stands between its two neighbouring items: every key
    // steps from there to the neighbour on its side (Home and End to the first and last item),
    // and a number an assistive tool sets chooses the item that shows it.
    rt::RegisterPanelResource("ringslide.uir", R"({"file": "ringslide.uir", "panels": [ {"resource": 1,
        "constant": "P", "width": 300, "height": 80, "controls": [
          {"id": 2, "constant": "VOLUME", "kind": "ring_slide", "label": "Volume", "callback": "CtrlCB",
           "items": [ {"label": "-12dB", "value": 0}, {"label": "-6dB", "value": 8}, {"label": "0dB", "value": 16},
                      {"label": "6dB", "value": 24} ], "geometry": [10, 10, 280, 44]} ] } ] })");
    const int volumePanel = rt::LoadPanel(0, "ringslide.uir", 1);
    ASSERT_GT(volumePanel, 0) << rt::LastLoadError();
    enum { VOLUME = 2 };
    auto* volume = W(volumePanel, VOLUME)->findChild<QSlider*>();
    ASSERT_NE(volume, nullptr);
    auto unlisted = [&] {
        EXPECT_EQ(rt::SetCtrlVal(volumePanel, VOLUME, 12), rt::UIEItemNotFound);  // between -6dB and 0dB
        EXPECT_EQ(W(volumePanel, VOLUME)->findChild<QLabel*>()->text(), "code 12");
        Events().clear();
    };
    auto chosen = [&] {  // the chosen item's value, -1 for none
        int value = -1;
        return rt::GetCtrlVal(volumePanel, VOLUME, &value) == 0 ? value : -1;
    };
    const struct { Qt::Key key; const char* name; int value; } steps[] = {
        {Qt::Key_Left, "Left", 8},          {Qt::Key_Right, "Right", 16},     {Qt::Key_Down, "Down", 8},
        {Qt::Key_Up, "Up", 16},             {Qt::Key_PageDown, "PageDown", 8}, {Qt::Key_PageUp, "PageUp", 16},
        {Qt::Key_Home, "Home", 0},          {Qt::Key_End, "End", 24}};
    for (const auto& step : steps) {
        unlisted();
        QTest::keyClick(volume, step.key);
        EXPECT_EQ(chosen(), step.value) << step.name;
        EXPECT_EQ(EventCodes(VOLUME), (std::vector<int>{rt::EVENT_VAL_CHANGED, rt::EVENT_COMMIT})) << step.name;
    }
    QAccessibleInterface* slide = QAccessible::queryAccessibleInterface(volume);
    ASSERT_NE(slide, nullptr);
    ASSERT_NE(slide->valueInterface(), nullptr);
    const std::pair<double, int> numbers[] = {{-12.0, 0}, {-6.0, 8}, {0.0, 16}, {6.0, 24}};
    for (const auto& [number, value] : numbers) {
        unlisted();
        slide->valueInterface()->setCurrentValue(number);
        EXPECT_EQ(chosen(), value) << "set to " << number;
        EXPECT_EQ(slide->valueInterface()->currentValue().toDouble(), number);
    }
}

TEST_F(Values, ItemsInsertDeleteAndFind) {
    // A ring whose items code changes under it shows at once what it then holds: it is painted
    // again.
    rt::DisplayPanel(p);
    QWidget* ring = W(p, RATE);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(ring->window()));
    testsupport::EventCounter paints(QEvent::Paint);
    ring->installEventFilter(&paints);
    auto shows = [&](const std::string& expected) {
        paints.count = 0;
        QApplication::processEvents();
        EXPECT_EQ(QAccessible::queryAccessibleInterface(ring)->text(QAccessible::Value).toStdString(), expected);
        EXPECT_GT(paints.count, 0) << "not painted again to show \"" << expected << "\"";
    };
    // The Jorbx rates go in front; the ring stays on the item it showed.
    EXPECT_EQ(rt::InsertListItem(p, RATE, 0, "96kHz", 6), 0);
    EXPECT_EQ(rt::InsertListItem(p, RATE, 0, "192kHz", 7), 0);
    EXPECT_EQ(rt::InsertListItem(p, RATE, -1, "8kHz", 5), 0);
    int n = 0;
    rt::GetNumListItems(p, RATE, &n);
    EXPECT_EQ(n, 6);
    std::vector<std::string> labels;
    for (int i = 0; i < n; ++i) {
        std::string l;
        rt::GetLabelFromIndex(p, RATE, i, &l);
        labels.push_back(l);
    }
    EXPECT_EQ(labels, (std::vector<std::string>{"192kHz", "96kHz", "48kHz", "44.1kHz", "32kHz", "8kHz"}));
    int v = 0, index = 0;
    rt::GetCtrlVal(p, RATE, &v);
    EXPECT_EQ(v, 1);
    EXPECT_EQ(rt::GetIndexFromValue(p, RATE, &index, 6), 0);
    EXPECT_EQ(index, 1);
    EXPECT_EQ(rt::GetIndexFromValue(p, RATE, &index, 99), rt::UIEItemNotFound);
    EXPECT_EQ(rt::GetValueFromIndex(p, RATE, 5, &v), 0);
    EXPECT_EQ(v, 5);
    EXPECT_EQ(rt::GetValueFromIndex(p, RATE, 6, &v), rt::UIEIndexOutOfRange);
    EXPECT_EQ(rt::InsertListItem(p, RATE, 9, "x", 1), rt::UIEIndexOutOfRange);
    // Taking the two out again leaves the ring as it was.
    EXPECT_EQ(rt::DeleteListItem(p, RATE, 0, 2), 0);
    rt::GetCtrlVal(p, RATE, &v);
    EXPECT_EQ(v, 1);
    EXPECT_EQ(qobject_cast<QComboBox*>(W(p, RATE))->count(), 4);
    EXPECT_EQ(rt::DeleteListItem(p, RATE, 1, -1), 0);  // to the end, the shown item with them
    rt::GetNumListItems(p, RATE, &n);
    EXPECT_EQ(n, 1);
    rt::GetCtrlVal(p, RATE, &v);
    EXPECT_EQ(v, 0);
    shows("48kHz");
    EXPECT_EQ(rt::ClearListCtrl(p, RATE), 0);
    rt::GetNumListItems(p, RATE, &n);
    EXPECT_EQ(n, 0);
    EXPECT_EQ(rt::GetCtrlVal(p, RATE, &v), rt::UIEItemNotFound);
    shows("");
    // Filled again: the first item shows.
    EXPECT_EQ(rt::InsertListItem(p, RATE, -1, "16kHz", 3), 0);
    EXPECT_EQ(rt::InsertListItem(p, RATE, -1, "8kHz", 4), 0);
    shows("16kHz");
    // A code no item has (shown after the last item), then the item before it.
    EXPECT_EQ(rt::SetCtrlVal(p, RATE, 7), rt::UIEItemNotFound);
    shows("code 7");
    EXPECT_EQ(rt::SetCtrlVal(p, RATE, 4), 0);
    shows("8kHz");
    EXPECT_EQ(rt::ClearListCtrl(p, RATE), 0);
    EXPECT_EQ(rt::InsertListItem(p, GAIN, 0, "x", 1), rt::UIEInvalidControlType);
    EXPECT_TRUE(Events().empty());
}

TEST_F(Values, ListBoxCheckMarksAndStringItems) {
    EXPECT_EQ(rt::InsertListItem(p, SETS, -1, "Night", 2), 0);
    auto* list = qobject_cast<QListWidget*>(W(p, SETS));
    ASSERT_EQ(list->count(), 3);
    EXPECT_TRUE(list->item(2)->flags() & Qt::ItemIsUserCheckable);
    EXPECT_EQ(rt::CheckListItem(p, SETS, 2, 1), 0);
    int checked = 0;
    rt::IsListItemChecked(p, SETS, 2, &checked);
    EXPECT_EQ(checked, 1);
    EXPECT_EQ(list->item(2)->checkState(), Qt::Checked);
    rt::IsListItemChecked(p, SETS, 0, &checked);
    EXPECT_EQ(checked, 0);
    EXPECT_EQ(rt::CheckListItem(p, SETS, 3, 1), rt::UIEIndexOutOfRange);
    EXPECT_EQ(rt::SetCtrlIndex(p, SETS, 1), 0);
    int v = 0;
    rt::GetCtrlVal(p, SETS, &v);
    EXPECT_EQ(v, 1);
    // A ring slide of text values.
    std::string s;
    EXPECT_EQ(rt::GetCtrlVal(p, MODE, &s), 0);
    EXPECT_EQ(s, "m");
    EXPECT_EQ(rt::SetCtrlVal(p, MODE, "s"), 0);
    rt::GetCtrlVal(p, MODE, &s);
    EXPECT_EQ(s, "s");
    EXPECT_EQ(rt::InsertListItem(p, MODE, -1, "Generic", "g"), 0);
    EXPECT_EQ(rt::SetCtrlVal(p, MODE, "g"), 0);
    EXPECT_TRUE(Events().empty());
}

TEST_F(Values, NumericsKeepTheirRangeAndType) {
    auto* spin = qobject_cast<QSpinBox*>(W(p, GAIN));
    int v = 0;
    rt::GetCtrlVal(p, GAIN, &v);
    EXPECT_EQ(v, 3);
    EXPECT_EQ(rt::SetCtrlVal(p, GAIN, 25), 0);
    rt::GetCtrlVal(p, GAIN, &v);
    EXPECT_EQ(v, 10);
    EXPECT_EQ(spin->value(), 10);
    rt::SetCtrlVal(p, GAIN, -4.6);
    rt::GetCtrlVal(p, GAIN, &v);
    EXPECT_EQ(v, -5);
    // A double numeric keeps the exact value though it shows two decimals.
    rt::SetCtrlVal(p, LEVEL, 0.125);
    double d = 0;
    rt::GetCtrlVal(p, LEVEL, &d);
    EXPECT_DOUBLE_EQ(d, 0.125);
    EXPECT_EQ(qobject_cast<QDoubleSpinBox*>(W(p, LEVEL))->text(), "0.13");
    std::string text;
    rt::GetCtrlVal(p, LEVEL, &text);
    EXPECT_EQ(text, "0.13");
    // A progress indicator.
    rt::SetCtrlVal(p, PROGRESS, 66.7);
    EXPECT_EQ(qobject_cast<QProgressBar*>(W(p, PROGRESS))->text(), "66.7%");
    // A slide snaps the handle to its step but keeps the value given.
    rt::SetCtrlVal(p, VOL, -3);
    rt::GetCtrlVal(p, VOL, &v);
    EXPECT_EQ(v, -3);
    EXPECT_EQ(rt::SetCtrlVal(p, GAIN, "x"), rt::UIEBadValue);
    EXPECT_TRUE(Events().empty());
}

TEST_F(Values, WholeNumbersShowInHexOrDecimal) {
    auto* spin = qobject_cast<QSpinBox*>(W(p, VALUE));
    rt::SetCtrlVal(p, VALUE, 0x1FFu);
    EXPECT_EQ(spin->text(), "1FF");
    int format = -1;
    rt::GetCtrlAttribute(p, VALUE, rt::ATTR_FORMAT, &format);
    EXPECT_EQ(format, rt::VAL_HEX_FORMAT);
    EXPECT_EQ(rt::SetCtrlAttribute(p, VALUE, rt::ATTR_FORMAT, rt::VAL_DECIMAL_FORMAT), 0);
    EXPECT_EQ(spin->text(), "511");
    unsigned u = 0;
    rt::GetCtrlVal(p, VALUE, &u);
    EXPECT_EQ(u, 511u);
    EXPECT_EQ(rt::SetCtrlAttribute(p, LEVEL, rt::ATTR_FORMAT, rt::VAL_HEX_FORMAT), rt::UIEBadAttribute);
    EXPECT_TRUE(Events().empty());
}

TEST_F(Values, OnOffControlsAndTexts) {
    rt::SetCtrlVal(p, ENABLE, 5);
    int v = 0;
    rt::GetCtrlVal(p, ENABLE, &v);
    EXPECT_EQ(v, 1);
    EXPECT_TRUE(qobject_cast<QAbstractButton*>(W(p, ENABLE))->isChecked());
    rt::SetCtrlVal(p, POWER, 1);
    rt::GetCtrlVal(p, POWER, &v);
    EXPECT_EQ(v, 1);
    std::string s;
    rt::GetCtrlVal(p, NAME, &s);
    EXPECT_EQ(s, "abc");
    rt::SetCtrlVal(p, NAME, std::string("new name"));
    char buf[5];
    EXPECT_EQ(rt::GetCtrlVal(p, NAME, buf, sizeof buf), 0);
    EXPECT_STREQ(buf, "new ");  // bounded copy
    rt::SetCtrlVal(p, CAPTION, "0x07: |____1____|");
    rt::GetCtrlVal(p, CAPTION, &s);
    EXPECT_EQ(s, "0x07: |____1____|");
    EXPECT_EQ(qobject_cast<QLabel*>(W(p, CAPTION))->text(), "0x07: |____1____|");
    EXPECT_EQ(rt::SetCtrlVal(p, APPLY, 0), 0);  // buttons take a value and hold none
    EXPECT_EQ(rt::SetCtrlVal(p, DRAW, 1), rt::UIEInvalidControlType);
    EXPECT_EQ(rt::SetCtrlVal(p, 99, 1), rt::UIEBadControlId);
    EXPECT_EQ(rt::SetCtrlVal(999, RATE, 1), rt::UIEBadPanelHandle);
    EXPECT_TRUE(Events().empty());
}

TEST_F(Values, TextBoxLines) {
    int n = 0;
    rt::GetNumTextBoxLines(p, SCRIPT, &n);
    EXPECT_EQ(n, 2);
    EXPECT_EQ(rt::ResetTextBox(p, SCRIPT, ""), 0);
    rt::GetNumTextBoxLines(p, SCRIPT, &n);
    EXPECT_EQ(n, 0);
    // SetCtrlVal appends, as the script loader does line by line.
    rt::SetCtrlVal(p, SCRIPT, "0x1 = 0x4D\n");
    rt::SetCtrlVal(p, SCRIPT, "; comment\n");
    rt::GetNumTextBoxLines(p, SCRIPT, &n);
    EXPECT_EQ(n, 2);
    EXPECT_EQ(rt::InsertTextBoxLine(p, SCRIPT, -1, "0x26 = 0x10A"), 0);
    EXPECT_EQ(rt::InsertTextBoxLine(p, SCRIPT, 0, "top"), 0);
    std::vector<std::string> lines;
    rt::GetNumTextBoxLines(p, SCRIPT, &n);
    for (int i = 0; i < n; ++i) {
        std::string l;
        EXPECT_EQ(rt::GetTextBoxLine(p, SCRIPT, i, &l), 0);
        lines.push_back(l);
    }
    EXPECT_EQ(lines, (std::vector<std::string>{"top", "0x1 = 0x4D", "; comment", "0x26 = 0x10A"}));
    std::string l;
    EXPECT_EQ(rt::GetTextBoxLine(p, SCRIPT, 4, &l), rt::UIEIndexOutOfRange);
    EXPECT_EQ(rt::GetNumTextBoxLines(p, NAME, &n), rt::UIEInvalidControlType);
}

TEST_F(Values, AttributesShowOnTheWidgets) {
    QWidget* box = rt::testing::ControlBox(p, RATE);
    rt::SetCtrlAttribute(p, RATE, rt::ATTR_DIMMED, 1);
    EXPECT_FALSE(W(p, RATE)->isEnabled());
    int v = 0;
    rt::GetCtrlAttribute(p, RATE, rt::ATTR_DIMMED, &v);
    EXPECT_EQ(v, 1);
    rt::SetCtrlAttribute(p, RATE, rt::ATTR_VISIBLE, 0);
    EXPECT_TRUE(box->isHidden());
    rt::GetCtrlAttribute(p, RATE, rt::ATTR_VISIBLE, &v);
    EXPECT_EQ(v, 0);
    rt::SetCtrlAttribute(p, APPLY, rt::ATTR_CMD_BUTTON_COLOR, rt::VAL_GREEN);
    rt::GetCtrlAttribute(p, APPLY, rt::ATTR_CMD_BUTTON_COLOR, &v);
    EXPECT_EQ(v, rt::VAL_GREEN);
    EXPECT_EQ(W(p, APPLY)->palette().color(QPalette::Button), QColor(0, 255, 0));
    rt::SetCtrlAttribute(p, CAPTION, rt::ATTR_TEXT_COLOR, rt::VAL_RED);
    EXPECT_EQ(W(p, CAPTION)->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    rt::SetCtrlAttribute(p, APPLY, rt::ATTR_TOOLTIP_TEXT, "Power Up indicator");
    EXPECT_EQ(W(p, APPLY)->toolTip(), "Power Up indicator");
    rt::SetCtrlAttribute(p, GAIN, rt::ATTR_CTRL_MODE, rt::VAL_INDICATOR);
    EXPECT_TRUE(qobject_cast<QAbstractSpinBox*>(W(p, GAIN))->isReadOnly());
    rt::SetCtrlAttribute(p, DRAW, rt::ATTR_LEFT, 180);
    rt::GetCtrlAttribute(p, DRAW, rt::ATTR_LEFT, &v);
    EXPECT_EQ(v, 180);
    EXPECT_EQ(rt::SetCtrlAttribute(p, RATE, 12345, 1), rt::UIEBadAttribute);
    EXPECT_EQ(rt::SetCtrlAttribute(p, RATE, rt::ATTR_INTERVAL, 1), rt::UIEBadAttribute);
}

TEST_F(Values, TimerIntervalIsMillisecondsAsIntSecondsAsDouble) {
    int ms = 0;
    double s = 0;
    EXPECT_EQ(rt::SetCtrlAttribute(p, TICK, rt::ATTR_INTERVAL, 250), 0);
    rt::GetCtrlAttribute(p, TICK, rt::ATTR_INTERVAL, &s);
    EXPECT_DOUBLE_EQ(s, 0.25);
    EXPECT_EQ(rt::SetCtrlAttribute(p, TICK, rt::ATTR_INTERVAL, 1.5), 0);
    rt::GetCtrlAttribute(p, TICK, rt::ATTR_INTERVAL, &ms);
    EXPECT_EQ(ms, 1500);
    EXPECT_EQ(rt::SetCtrlAttribute(p, TICK, rt::ATTR_INTERVAL, 0), rt::UIEBadValue);
    EXPECT_EQ(rt::SetCtrlAttribute(p, TICK, rt::ATTR_ENABLED, 1), 0);
    int on = 0;
    rt::GetCtrlAttribute(p, TICK, rt::ATTR_ENABLED, &on);
    EXPECT_EQ(on, 1);
}

TEST_F(Values, PanelAttributes) {
    std::string title;
    rt::GetPanelAttribute(p, rt::ATTR_TITLE, &title);
    EXPECT_EQ(title, "Fixture");
    rt::SetPanelAttribute(p, rt::ATTR_TITLE, "Tervalo Audio Codec    ---- Jorb Demo ---- ");
    EXPECT_EQ(rt::testing::PanelWindow(p)->windowTitle(), "Tervalo Audio Codec    ---- Jorb Demo ---- ");
    int v = 0;
    rt::GetPanelAttribute(p, rt::ATTR_WIDTH, &v);
    EXPECT_EQ(v, 520);
    rt::GetPanelAttribute(p, rt::ATTR_VISIBLE, &v);
    EXPECT_EQ(v, 0);
    rt::DisplayPanel(p);
    rt::GetPanelAttribute(p, rt::ATTR_VISIBLE, &v);
    EXPECT_EQ(v, 1);
    EXPECT_EQ(rt::SetPanelAttribute(p, 622, 0), rt::UIEBadAttribute);
    EXPECT_EQ(rt::GetPanelAttribute(12345, rt::ATTR_WIDTH, &v), rt::UIEBadPanelHandle);
}

TEST_F(Values, TableRowsCellsAndLabels) {
    int rows = 0, cols = 0;
    rt::GetNumTableRows(p, REGS, &rows);
    rt::GetNumTableColumns(p, REGS, &cols);
    EXPECT_EQ(rows, 3);
    EXPECT_EQ(cols, 4);
    EXPECT_EQ(rt::GetTableColumnFromLabel(p, REGS, "Bit 0"), 3);
    EXPECT_EQ(rt::GetTableColumnFromLabel(p, REGS, "Bit 9"), 0);
    // Rows appended at the end, labelled like register names.
    EXPECT_EQ(rt::InsertTableRows(p, REGS, -1, 2), 0);
    rt::GetNumTableRows(p, REGS, &rows);
    EXPECT_EQ(rows, 5);
    EXPECT_EQ(rt::SetTableRowLabel(p, REGS, 5, "Power_Management1"), 0);
    std::string label;
    rt::GetTableRowLabel(p, REGS, 5, &label);
    EXPECT_EQ(label, "Power_Management1");
    auto* table = qobject_cast<QTableWidget*>(W(p, REGS));
    EXPECT_EQ(table->verticalHeaderItem(4)->text(), "Power_Management1");
    // Cells hold numbers or text by column; hex columns show hex digits.
    EXPECT_EQ(rt::SetTableCellVal(p, REGS, rt::MakePoint(1, 5), "0x01"), 0);
    EXPECT_EQ(rt::SetTableCellVal(p, REGS, rt::MakePoint(2, 5), 0x1FD), 0);
    EXPECT_EQ(rt::SetTableCellVal(p, REGS, rt::MakePoint(3, 5), 1.0), 0);
    std::string s;
    rt::GetTableCellVal(p, REGS, rt::MakePoint(1, 5), &s);
    EXPECT_EQ(s, "0x01");
    int v = 0;
    rt::GetTableCellVal(p, REGS, rt::MakePoint(2, 5), &v);
    EXPECT_EQ(v, 0x1FD);
    EXPECT_EQ(table->item(4, 1)->text(), "1FD");
    rt::GetTableCellVal(p, REGS, rt::MakePoint(3, 5), &v);
    EXPECT_EQ(v, 1);
    EXPECT_EQ(rt::SetTableCellVal(p, REGS, rt::MakePoint(2, 5), "abc"), rt::UIEBadValue);
    EXPECT_EQ(rt::SetTableCellVal(p, REGS, rt::MakePoint(5, 1), 1), rt::UIEIndexOutOfRange);
    EXPECT_EQ(rt::SetTableCellVal(p, REGS, rt::MakePoint(1, 6), 1), rt::UIEIndexOutOfRange);
    // Picture cells: a colour swatch, or an image from a file when it can be read.
    EXPECT_EQ(rt::SetTableCellColour(p, REGS, rt::MakePoint(4, 1), rt::VAL_RED), 0);
    EXPECT_EQ(table->item(0, 3)->background().color(), QColor(255, 0, 0));
    EXPECT_EQ(rt::SetTableCellVal(p, REGS, rt::MakePoint(4, 1), 1), rt::UIEInvalidControlType);
    EXPECT_EQ(rt::SetTableCellPictureFromFile(p, REGS, rt::MakePoint(4, 2), "/nonexistent/check.ico"), rt::UIEBadFile);
    EXPECT_TRUE(table->item(1, 3)->data(Qt::DecorationRole).isNull());
    // A named pipe (no writer: a blocking read would wait for good) is refused at once.
    const std::string fifo = ::testing::TempDir() + "rt_check_pipe_" + std::to_string(getpid()) + ".ico";
    std::remove(fifo.c_str());
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(rt::SetTableCellPictureFromFile(p, REGS, rt::MakePoint(4, 2), fifo.c_str()), rt::UIEBadFile);
    EXPECT_TRUE(table->item(1, 3)->data(Qt::DecorationRole).isNull());
    std::remove(fifo.c_str());
    std::string png = ::testing::TempDir() + "rt_check.png";
    QImage img(16, 16, QImage::Format_RGB32);
    img.fill(Qt::green);
    ASSERT_TRUE(img.save(QString::fromStdString(png)));
    EXPECT_EQ(rt::SetTableCellPictureFromFile(p, REGS, rt::MakePoint(4, 2), png.c_str()), 0);
    EXPECT_FALSE(table->item(1, 3)->data(Qt::DecorationRole).isNull());
    std::remove(png.c_str());
    // Deleting rows from the second to the end.
    EXPECT_EQ(rt::DeleteTableRows(p, REGS, 2, -1), 0);
    rt::GetNumTableRows(p, REGS, &rows);
    EXPECT_EQ(rows, 1);
    EXPECT_EQ(rt::DeleteTableRows(p, REGS, 3, 1), rt::UIEIndexOutOfRange);
    EXPECT_EQ(rt::SetActiveTableCell(p, REGS, rt::MakePoint(3, 1)), 0);
    rt::Point active;
    rt::GetActiveTableCell(p, REGS, &active);
    EXPECT_EQ(active.x, 3);
    EXPECT_EQ(active.y, 1);
    EXPECT_EQ(rt::GetNumTableRows(p, RATE, &rows), rt::UIEInvalidControlType);
    EXPECT_TRUE(Events().empty());
}
