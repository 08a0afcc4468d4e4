// The tab control made from a canvas, and canvas drawing checked pixel by pixel.
#include "fixture.h"
#include "tests/support/event_wait.h"

#include <QImage>
#include <QTabBar>
#include <QTabWidget>

using namespace fixture;

namespace {

class Tabs : public RuntimeTest {
protected:
    void SetUp() override {
        RuntimeTest::SetUp();
        if (HasFatalFailure()) return;
        p = LoadMain();
        a = rt::LoadPanel(p, kFile, 2);
        b = rt::LoadPanel(p, kFile, 3);
        ASSERT_GT(a, 0);
        ASSERT_GT(b, 0);
        tab = rt::EasyTab_ConvertFromCanvas(p, TABS);
        ASSERT_EQ(tab, TABS);
    }
    QTabWidget* Widget() { return qobject_cast<QTabWidget*>(W(p, tab)); }
    int p = 0, a = 0, b = 0, tab = 0;
};

class Canvas : public RuntimeTest {
protected:
    void SetUp() override {
        RuntimeTest::SetUp();
        if (HasFatalFailure()) return;
        p = rt::LoadPanel(0, kFile, 1);
        ASSERT_GT(p, 0);
    }
    int Pixel(int x, int y) {
        int c = -1;
        EXPECT_EQ(rt::CanvasGetPixel(p, DRAW, rt::MakePoint(x, y), &c), 0);
        return c;
    }
    void Pen(int colour, int width = 1, int style = rt::VAL_SOLID) {
        rt::SetCtrlAttribute(p, DRAW, rt::ATTR_PEN_COLOR, colour);
        rt::SetCtrlAttribute(p, DRAW, rt::ATTR_PEN_WIDTH, width);
        rt::SetCtrlAttribute(p, DRAW, rt::ATTR_PEN_STYLE, style);
    }
    int p = 0;
};

}  // namespace

TEST_F(Tabs, MembershipIsExact) {
    EXPECT_NE(Widget(), nullptr);
    EXPECT_EQ(rt::EasyTab_AddPanels(p, tab, 1, {a, b}), 0);
    EXPECT_EQ(rt::EasyTab_AddPanels(p, tab, 1, {a}), 0);  // already there: stays once
    EXPECT_EQ(rt::EasyTab_Panels(p, tab), (std::vector<int>{a, b}));
    EXPECT_EQ(Widget()->count(), 2);
    EXPECT_EQ(Widget()->tabText(0), "Child A");
    EXPECT_EQ(rt::EasyTab_RemovePanel(p, tab, a), 0);
    EXPECT_EQ(rt::EasyTab_Panels(p, tab), (std::vector<int>{b}));
    // Removing a panel that is not a tab changes nothing and says so.
    EXPECT_EQ(rt::EasyTab_RemovePanel(p, tab, a), rt::UIEItemNotFound);
    EXPECT_EQ(rt::EasyTab_Panels(p, tab), (std::vector<int>{b}));
    EXPECT_EQ(Widget()->count(), 1);
    // A removed panel is intact and can come back.
    EXPECT_EQ(rt::EasyTab_AddPanels(p, tab, 1, {a}), 0);
    EXPECT_EQ(rt::EasyTab_Panels(p, tab), (std::vector<int>{b, a}));
    EXPECT_EQ(rt::testing::ControlWidget(a, 2)->accessibleName(), "Go");
    // Top-level panels cannot be tabs.
    EXPECT_EQ(rt::EasyTab_AddPanels(p, tab, 1, {p}), rt::UIEBadPanelHandle);
    EXPECT_TRUE(Events().empty());
}

TEST_F(Tabs, ActivePanelFromCodeSendsNothingFromTheUserSendsTheNewPanel) {
    rt::EasyTab_AddPanels(p, tab, 1, {a, b});
    int active = 0;
    rt::EasyTab_GetAttribute(p, tab, rt::ATTR_EASY_TAB_ACTIVE_PANEL, &active);
    EXPECT_EQ(active, a);
    EXPECT_EQ(rt::EasyTab_SetAttribute(p, tab, rt::ATTR_EASY_TAB_ACTIVE_PANEL, b), 0);
    rt::EasyTab_GetAttribute(p, tab, rt::ATTR_EASY_TAB_ACTIVE_PANEL, &active);
    EXPECT_EQ(active, b);
    EXPECT_EQ(Widget()->currentIndex(), 1);
    EXPECT_TRUE(Events().empty());
    EXPECT_EQ(rt::EasyTab_SetAttribute(p, tab, rt::ATTR_EASY_TAB_ACTIVE_PANEL, p), rt::UIEItemNotFound);

    QTabBar* bar = Widget()->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(0).center());
    ASSERT_EQ(Events().size(), 1u);
    EXPECT_EQ(Events()[0], (Event{p, TABS, rt::EVENT_ACTIVE_TAB_CHANGE, a, a}));
}

TEST_F(Tabs, TabVisibilityAndDiscardingAChild) {
    rt::EasyTab_AddPanels(p, tab, 1, {a, b});
    EXPECT_EQ(rt::EasyTab_SetTabAttribute(p, tab, b, rt::ATTR_EASY_TAB_VISIBLE, 0), 0);
    EXPECT_FALSE(Widget()->isTabVisible(1));
    EXPECT_EQ(rt::EasyTab_SetTabAttribute(p, tab, b, rt::ATTR_EASY_TAB_VISIBLE, 1), 0);
    EXPECT_TRUE(Widget()->isTabVisible(1));
    EXPECT_EQ(rt::DiscardPanel(a), 0);
    EXPECT_EQ(rt::EasyTab_Panels(p, tab), (std::vector<int>{b}));
    EXPECT_EQ(Widget()->count(), 1);
    // A child panel's controls work inside its tab.
    EXPECT_EQ(rt::EasyTab_SetAttribute(p, tab, rt::ATTR_EASY_TAB_ACTIVE_PANEL, b), 0);
    EXPECT_EQ(rt::EasyTab_ConvertFromCanvas(p, DRAW), DRAW);
    EXPECT_EQ(rt::EasyTab_ConvertFromCanvas(p, RATE), rt::UIEInvalidControlType);
}

TEST_F(Tabs, ChildPanelControlsWorkInTheirTab) {
    rt::EasyTab_AddPanels(p, tab, 1, {a});
    QWidget* go = rt::testing::ControlWidget(a, 2);
    ASSERT_TRUE(testsupport::EventLoopUntil([go] { return go->isVisible(); }, 5000));
    QTest::mouseClick(go, Qt::LeftButton, {}, QPoint(5, 5));
    ASSERT_EQ(Events().size(), 2u);
    EXPECT_EQ(Events()[1], (Event{a, 2, rt::EVENT_COMMIT, 0, 0}));
    Events().clear();
    QTest::mouseClick(rt::testing::PanelContent(a), Qt::RightButton, {}, QPoint(150, 60));
    ASSERT_EQ(Events().size(), 1u);
    EXPECT_EQ(Events()[0], (Event{a, 0, rt::EVENT_RIGHT_CLICK, 60, 150}));
}

TEST_F(Tabs, RemovingTheTabsInFrontShowsOnlyWhatIsLeftInFront) {
    const int c = rt::LoadPanel(p, kFile, 2);
    ASSERT_GT(c, 0);
    ASSERT_EQ(rt::EasyTab_AddPanels(p, tab, 1, {a, b, c}), 0);
    rt::ProcessSystemEvents();
    struct ShowCount : QObject {
        int shows = 0;
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == QEvent::Show) ++shows;
            return false;
        }
    } shownB, shownC;
    rt::testing::PanelContent(b)->installEventFilter(&shownB);
    rt::testing::PanelContent(c)->installEventFilter(&shownC);

    // The front tab goes, then the one that came to the front: only the last one left is shown,
    // and only once the screen catches up.
    EXPECT_EQ(rt::EasyTab_RemovePanel(p, tab, a), 0);
    EXPECT_EQ(rt::EasyTab_RemovePanel(p, tab, b), 0);
    EXPECT_EQ(shownB.shows, 0);
    EXPECT_EQ(rt::EasyTab_Panels(p, tab), (std::vector<int>{c}));
    int active = 0;
    rt::EasyTab_GetAttribute(p, tab, rt::ATTR_EASY_TAB_ACTIVE_PANEL, &active);
    EXPECT_EQ(active, c);
    rt::ProcessSystemEvents();
    EXPECT_EQ(shownB.shows, 0);
    EXPECT_EQ(shownC.shows, 1);
    EXPECT_TRUE(W(c, 2)->isVisible());

    // The same with the event loop alone, and with a wait (which keeps painting).
    ASSERT_EQ(rt::EasyTab_AddPanels(p, tab, 1, {a}), 0);
    EXPECT_EQ(rt::EasyTab_RemovePanel(p, tab, c), 0);
    QApplication::processEvents();
    EXPECT_TRUE(W(a, 2)->isVisible());
    ASSERT_EQ(rt::EasyTab_AddPanels(p, tab, 1, {b}), 0);
    EXPECT_EQ(rt::EasyTab_RemovePanel(p, tab, a), 0);
    rt::Delay(0.01);
    EXPECT_TRUE(rt::testing::PanelContent(b)->isVisible());
    EXPECT_TRUE(Events().empty());
}

TEST_F(Canvas, LinesLightExactlyTheirPixelsInTheirColour) {
    Pen(0xFF00FF);
    rt::CanvasDrawLine(p, DRAW, rt::MakePoint(10, 20), rt::MakePoint(30, 20));
    EXPECT_EQ(Pixel(9, 20), 0xFFFFFF);
    EXPECT_EQ(Pixel(10, 20), 0xFF00FF);
    EXPECT_EQ(Pixel(30, 20), 0xFF00FF);  // both ends drawn
    EXPECT_EQ(Pixel(31, 20), 0xFFFFFF);
    EXPECT_EQ(Pixel(20, 19), 0xFFFFFF);
    EXPECT_EQ(Pixel(20, 21), 0xFFFFFF);
    // Erasing in white over the same segment leaves nothing.
    Pen(0xFFFFFF);
    rt::CanvasDrawLine(p, DRAW, rt::MakePoint(10, 20), rt::MakePoint(30, 20));
    for (int x = 8; x <= 32; ++x) EXPECT_EQ(Pixel(x, 20), 0xFFFFFF) << x;
    // A grey vertical line drawn bottom to top, and a slanted blade.
    Pen(0xA0A0A0);
    rt::CanvasDrawLine(p, DRAW, rt::MakePoint(50, 60), rt::MakePoint(50, 40));
    for (int y = 40; y <= 60; ++y) EXPECT_EQ(Pixel(50, y), 0xA0A0A0) << y;
    EXPECT_EQ(Pixel(51, 50), 0xFFFFFF);
    rt::CanvasDrawLine(p, DRAW, rt::MakePoint(60, 10), rt::MakePoint(64, 14));
    for (int i = 0; i <= 4; ++i) EXPECT_EQ(Pixel(60 + i, 10 + i), 0xA0A0A0) << i;
}

TEST_F(Canvas, WidthsStylesShapesAndClear) {
    Pen(0x0000FF, 3);
    rt::CanvasDrawLine(p, DRAW, rt::MakePoint(10, 40), rt::MakePoint(40, 40));
    EXPECT_EQ(Pixel(20, 39), 0x0000FF);
    EXPECT_EQ(Pixel(20, 40), 0x0000FF);
    EXPECT_EQ(Pixel(20, 41), 0x0000FF);
    EXPECT_EQ(Pixel(20, 43), 0xFFFFFF);
    // Dots: one pixel on, one off.
    Pen(0xFF0000, 1, rt::VAL_DOT);
    rt::CanvasDrawLine(p, DRAW, rt::MakePoint(10, 60), rt::MakePoint(30, 60));
    int lit = 0;
    for (int x = 10; x <= 30; ++x) lit += Pixel(x, 60) == 0xFF0000;
    EXPECT_GE(lit, 9);
    EXPECT_LE(lit, 12);
    EXPECT_NE(Pixel(10, 60), Pixel(11, 60));
    // A filled rectangle with a frame.
    Pen(0x000000);
    rt::SetCtrlAttribute(p, DRAW, rt::ATTR_PEN_FILL_COLOR, 0x00FF00);
    rt::CanvasDrawRect(p, DRAW, rt::MakeRect(2, 80, 10, 20), rt::VAL_DRAW_FRAME_AND_INTERIOR);
    EXPECT_EQ(Pixel(80, 2), 0x000000);
    EXPECT_EQ(Pixel(99, 11), 0x000000);
    EXPECT_EQ(Pixel(90, 6), 0x00FF00);
    EXPECT_EQ(Pixel(100, 6), 0xFFFFFF);
    // Clearing an area, then everything.
    rt::CanvasClear(p, DRAW, rt::MakeRect(0, 85, 20, 10));
    EXPECT_EQ(Pixel(90, 6), 0xFFFFFF);
    EXPECT_EQ(Pixel(80, 2), 0x000000);
    rt::CanvasClear(p, DRAW, rt::MakeRect(0, 0, 0, 0));
    EXPECT_EQ(Pixel(80, 2), 0xFFFFFF);
    EXPECT_EQ(Pixel(20, 40), 0xFFFFFF);
    int c = 0;
    EXPECT_EQ(rt::CanvasGetPixel(p, DRAW, rt::MakePoint(120, 0), &c), rt::UIEIndexOutOfRange);
    EXPECT_EQ(rt::SetCtrlAttribute(p, DRAW, rt::ATTR_PEN_STYLE, 9), rt::UIEBadValue);
    EXPECT_EQ(rt::CanvasDrawLine(p, RATE, rt::MakePoint(0, 0), rt::MakePoint(1, 1)), rt::UIEInvalidControlType);
}

TEST_F(Canvas, DrawingIsRetainedAndPaintedOneToOne) {
    rt::CanvasStartBatchDraw(p, DRAW);
    Pen(0xFF00FF);
    rt::SetCtrlAttribute(p, DRAW, rt::ATTR_PEN_FILL_COLOR, 0xFF00FF);
    rt::CanvasDrawOval(p, DRAW, rt::MakeRect(20, 40, 5, 5), rt::VAL_DRAW_FRAME_AND_INTERIOR);
    rt::CanvasDrawPoint(p, DRAW, rt::MakePoint(5, 5));
    rt::CanvasEndBatchDraw(p, DRAW);
    EXPECT_EQ(Pixel(42, 22), 0xFF00FF);  // the disc's centre
    EXPECT_EQ(Pixel(5, 5), 0xFF00FF);
    rt::DisplayPanel(p);
    rt::HidePanel(p);
    rt::DisplayPanel(p);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(rt::testing::PanelWindow(p)));
    QImage shot = W(p, DRAW)->grab().toImage();
    EXPECT_EQ(shot.size(), QSize(120, 80));
    EXPECT_EQ(shot.pixel(5, 5) & 0xFFFFFF, 0xFF00FFu);
    EXPECT_EQ(shot.pixel(42, 22) & 0xFFFFFF, 0xFF00FFu);
    EXPECT_EQ(shot.pixel(60, 60) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(Pixel(42, 22), 0xFF00FF);
}
