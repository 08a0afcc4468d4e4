// The main window on small screens: it starts within the screen's available area, and when it
// is smaller than the panels the tab area's pages scroll, the column of model choices scrolls
// to its last button, and every tab can still be reached.
#include <QAbstractScrollArea>
#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>

#include "runtime/testing.h"
#include "tests/shell/model_test_support.h"

namespace {

using namespace modeltest;

class WindowFitTest : public ModelFixture {
protected:
    QWidget* Window() { return rt::testing::PanelWindow(PHandlePanel); }
    QTabWidget* TabArea() { return qobject_cast<QTabWidget*>(rt::testing::ControlWidget(PHandlePanel, tabCtrl)); }
    void ResizeTo(int width, int height) {
        Window()->resize(width, height);
        QApplication::processEvents();
    }
};

TEST_F(WindowFitTest, StartsWithinTheScreensAvailableArea) {
    QWidget* window = Window();
    ASSERT_TRUE(window->isVisible());
    const QRect avail = window->screen()->availableGeometry();
    EXPECT_TRUE(avail.contains(window->frameGeometry())) << "window " << window->frameGeometry().width() << "x"
                                                         << window->frameGeometry().height() << " on "
                                                         << avail.width() << "x" << avail.height();
    // Not larger than the panel it shows.
    EXPECT_LE(rt::testing::PanelContent(PHandlePanel)->width(), 1280);
    EXPECT_LE(rt::testing::PanelContent(PHandlePanel)->height(), 860);
}

TEST_F(WindowFitTest, SmallWindowScrollsTheTabAreaAndKeepsEveryTabReachable) {
    Menu(MENUBAR_DEVICE_StereoJorb);
    for (const QSize size : {QSize(1366, 740), QSize(1280, 690), QSize(1024, 600)}) {
        SCOPED_TRACE(size.width());
        ResizeTo(size.width(), size.height());
        QTabWidget* tabs = TabArea();
        ASSERT_NE(tabs, nullptr);
        // The tab area ends inside the window.
        const QRect inWindow(tabs->mapTo(Window(), QPoint(0, 0)), tabs->size());
        EXPECT_TRUE(Window()->rect().contains(inWindow));
        // Every page scrolls to its far corner.
        for (int i = 0; i < tabs->count(); ++i) {
            tabs->setCurrentIndex(i);
            QApplication::processEvents();
            auto* page = qobject_cast<QScrollArea*>(tabs->widget(i));
            ASSERT_NE(page, nullptr);
            QWidget* panel = page->widget();
            const int hiddenBelow = panel->height() - page->viewport()->height();
            const int hiddenRight = panel->width() - page->viewport()->width();
            EXPECT_EQ(page->verticalScrollBar()->maximum(), std::max(0, hiddenBelow)) << tabs->tabText(i).toStdString();
            EXPECT_EQ(page->horizontalScrollBar()->maximum(), std::max(0, hiddenRight)) << tabs->tabText(i).toStdString();
        }
        // Tabs that do not fit the bar are reached through its scroll buttons.
        QTabBar* bar = tabs->tabBar();
        int needed = 0;
        for (int i = 0; i < bar->count(); ++i) needed += bar->tabRect(i).width();
        if (needed > bar->width()) {
            bool buttons = false;
            for (QToolButton* b : bar->findChildren<QToolButton*>()) buttons = buttons || b->isVisible();
            EXPECT_TRUE(buttons);
        }
        // The last button of the column of model choices can be scrolled into view.
        QWidget* quit = rt::testing::ControlBox(PHandlePanel, PANEL_COMMANDBUTTON);
        auto* side = Window()->findChild<QScrollArea*>("rtSideColumn");
        ASSERT_NE(side, nullptr);
        side->ensureWidgetVisible(quit);
        QApplication::processEvents();
        const QRect shown(quit->mapTo(side->viewport(), QPoint(0, 0)), quit->size());
        EXPECT_TRUE(side->viewport()->rect().contains(shown));
    }
    // At the smallest size the pages must scroll.
    auto* page = qobject_cast<QScrollArea*>(TabArea()->currentWidget());
    EXPECT_GT(page->verticalScrollBar()->maximum(), 0);
}

}  // namespace
