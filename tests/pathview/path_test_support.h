// Fixtures of the path-view tests: the real start-up on the emulated board, a model chosen from
// the Device menu, its path tab in front, and helpers that click the canvas with real mouse
// events, tick the refresh timer, read the canvas's pixels and the panel's controls.
#pragma once

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QWheelEvent>
#include <QImage>
#include <QPoint>
#include <QTest>
#include <QWidget>

#include <string>
#include <utility>
#include <vector>

#include "pathview/path_model.h"
#include "pathview/pathview_services.h"
#include "panels/cfgPathJorb_pan.h"
#include "runtime/testing.h"
#include "tests/shell/model_test_support.h"

namespace pathtest {

using namespace ui::cfgPathJorb_pan;
using namespace ui::AudioCodec_pan;

inline constexpr int kMagenta = 0xFF00FF;
inline constexpr int kGrey = 0xA0A0A0;
inline constexpr int kRed = 0xFF0000;
inline constexpr int kWhite = 0xFFFFFF;

// The tool tip of a control.
inline std::string Tip(int panel, int control) {
    std::string tip;
    rt::GetCtrlAttribute(panel, control, rt::ATTR_TOOLTIP_TEXT, &tip);
    return tip;
}

// Helpers every path-view fixture shares, on the path panel and canvas its model names: tab
// and refresh, real mouse clicks on the canvas, its pixels, the panel's rings, texts and icons.
class PathViewFixture : public modeltest::ModelFixture {
protected:
    virtual int PathPanel() const = 0;
    virtual int PathCanvasControl() const = 0;
    virtual int RefreshTimer() const { return PANEL_STTIMER; }

    // Chooses the model from the Device menu, brings its path tab to the front and refreshes,
    // then drops the reports and the pending redraw that left behind.
    void OpenModel(int menu, int ui) {
        Menu(menu);
        ASSERT_EQ(UILoaded, ui);
        ShowPath();
        Refresh();
        board->ClearReceivedReports();
        FlagCFGUpdate = 0;
    }

    void ShowTab(int panel) {
        rt::EasyTab_SetAttribute(PHandlePanel, tabCtrl, rt::ATTR_EASY_TAB_ACTIVE_PANEL, panel);
        rt::ProcessSystemEvents();
    }
    void ShowPath() { ShowTab(PathPanel()); }

    // One tick of the model's refresh timer with a redraw pending.
    void Refresh() {
        SetFlag(&FlagCFGUpdate);
        Tick(RefreshTimer());
    }

    QWidget* Canvas() { return rt::testing::ControlWidget(PathPanel(), PathCanvasControl()); }

    // A real mouse press and release on the canvas, at canvas pixel (x, y).
    void Click(int x, int y, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseClick(Canvas(), button, {}, QPoint(x, y));
    }
    // The same with the path tab in front (a tab rectangle may have moved it).
    void ClickOnPath(int x, int y, Qt::MouseButton button = Qt::LeftButton) {
        ShowPath();
        Click(x, y, button);
    }

    int Pixel(int x, int y) {
        int colour = -1;
        EXPECT_EQ(rt::CanvasGetPixel(PathPanel(), PathCanvasControl(), rt::MakePoint(x, y), &colour), 0);
        return colour;
    }
    // Whether any pixel of the rectangle (corners included) has the colour.
    bool AnyPixel(int x1, int y1, int x2, int y2, int colour) {
        for (int y = y1; y <= y2; ++y)
            for (int x = x1; x <= x2; ++x)
                if (Pixel(x, y) == colour) return true;
        return false;
    }

    bool Shown(int control) { return Visible(PathPanel(), control); }
    int Ring(int control) { return CtrlInt(PathPanel(), control); }
    // The text a ring shows (an item's label, or what stands for a value no item has).
    std::string RingShows(int control) {
        auto* combo = qobject_cast<QComboBox*>(rt::testing::ControlWidget(PathPanel(), control));
        return combo ? QAccessible::queryAccessibleInterface(combo)->text(QAccessible::Value).toStdString() : std::string();
    }
    std::string Text(int control) {
        std::string text;
        rt::GetCtrlVal(PathPanel(), control, &text);
        return text;
    }

    // A ring chosen by the user: the value set, then the commit the run-time delivers.
    void Choose(int control, int value) {
        ASSERT_EQ(rt::SetCtrlVal(PathPanel(), control, value), 0) << "no item of value " << value;
        rt::CallCtrlCallback(PathPanel(), control, rt::EVENT_COMMIT, 0, 0);
    }
    // A picture button pressed and released with the mouse.
    void Press(int control) {
        QTest::mouseClick(rt::testing::ControlWidget(PathPanel(), control), Qt::LeftButton, {}, QPoint(5, 5));
    }

    const PathTables& Tables() { return SharedPathTables(); }
    bool GroupOn(int g) { return SharedPathTables().groups[g].on != 0; }
    // Zeroes the register copy from register `first` up.
    void ClearRegisters(int first = 1) {
        for (int r = first; r < 64; ++r) CFG_REG[r] = 0;
    }
};

// The action interface an assistive tool finds on the ring's item that reads `label`, if any.
inline QAccessibleActionInterface* RingItemActing(QComboBox* ring, const QString& label) {
    QAccessibleInterface* ringNode = QAccessible::queryAccessibleInterface(ring);
    for (int i = 0; ringNode && i < ringNode->childCount(); ++i)
        if (QAccessibleInterface* item = ringNode->child(i); item && item->text(QAccessible::Name) == label)
            return item->actionInterface();
    return nullptr;
}
inline QStringList RingItemActions(QComboBox* ring, const QString& label) {
    QAccessibleActionInterface* acting = RingItemActing(ring, label);
    return acting ? acting->actionNames() : QStringList{};
}

// A user moving a ring by real events on its widget: a key ("Up", "Down", "PageUp", "PageDown",
// "Home", "End"), a notch of the wheel ("wheel up", "wheel down"), typed text ("type -9"), the
// ring's list opened, a key in it, then Return ("list Up", "list End"), or an assistive tool
// choosing an item by its label ("assistive -9dB").
inline void MoveRing(QComboBox* ring, const std::string& gesture) {
    const auto key = [](const std::string& name) {
        return name == "Up" ? Qt::Key_Up : name == "Down" ? Qt::Key_Down : name == "PageUp" ? Qt::Key_PageUp
             : name == "PageDown" ? Qt::Key_PageDown : name == "Home" ? Qt::Key_Home : Qt::Key_End;
    };
    ring->setFocus();
    if (gesture.starts_with("wheel")) {
        const QPoint middle = ring->rect().center();
        QWheelEvent wheel(middle, ring->mapToGlobal(middle), QPoint(), QPoint(0, gesture == "wheel up" ? 120 : -120),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(ring, &wheel);
    } else if (gesture.starts_with("type ")) {
        ring->view()->keyboardSearch(QString());  // a new search, whatever the time since the last key
        QTest::keyClicks(ring, QString::fromStdString(gesture.substr(5)));
    } else if (gesture.starts_with("assistive ")) {
        if (QAccessibleActionInterface* acting = RingItemActing(ring, QString::fromStdString(gesture.substr(10))))
            acting->doAction(QAccessibleActionInterface::pressAction());
    } else if (gesture.starts_with("list ")) {
        ring->showPopup();
        QTest::keyClick(ring->view(), key(gesture.substr(5)));
        QTest::keyClick(ring->view(), Qt::Key_Return);
        ring->hidePopup();
    } else {
        QTest::keyClick(ring, key(gesture));
    }
    rt::ProcessSystemEvents();
}

// The path panel as grabbed from the screen, and the colour at a canvas pixel of it.
struct PanelPicture {
    PanelPicture(QWidget* content, QWidget* canvas)
        : image(content->grab().toImage()), origin(canvas->mapTo(content, QPoint(0, 0))) {}
    int At(int x, int y) const { return static_cast<int>(image.pixel(origin + QPoint(x, y)) & 0xFFFFFF); }
    QImage image;
    QPoint origin;
};

class JorbPathFixture : public PathViewFixture {
protected:
    int PathPanel() const override { return PHandleSTPath; }
    int PathCanvasControl() const override { return CFGPATHJorb_CVSCONFIG; }

    void SetUp() override {
        ModelFixture::SetUp();
        if (HasFatalFailure()) return;
        Menu(MENUBAR_DEVICE_StereoJorb);
        ASSERT_EQ(UILoaded, UI_JORB);
        ShowTab(PHandleSTPath);
        Refresh();
        board->ClearReceivedReports();
        prompter.shown.clear();
    }

    std::vector<std::pair<int, int>> Writes() const { return RegisterWrites(); }
    int ActivePanel() const { return ActiveTab(); }
};

}  // namespace pathtest
