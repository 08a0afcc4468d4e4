// The main window on the screens it meets: on a screen with room it opens large enough to show
// every tab of every model and each tab's panel whole, centred in a window made larger by hand;
// on small screens it starts within the available area, the tab area's pages scroll to their
// far corner, the column of model choices scrolls to its last button, and every tab can still
// be reached.
//
// A program of its own: the offscreen platform is given three screens (1920x1080, the primary,
// 1366x768 and 1024x600) before the application starts.
#include <QAbstractScrollArea>
#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>

#include <QWindow>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "runtime/testing.h"
#include "tests/shell/model_test_support.h"
#include "tests/support/event_wait.h"

namespace {

using namespace modeltest;

const bool kScreens = [] {
    static const std::string file =
        (std::filesystem::temp_directory_path() / ("codecbench-screens-" + std::to_string(::getpid()) + ".json")).string();
    std::ofstream(file) << R"({"screens": [
        {"name": "wide", "x": 0, "y": 0, "width": 1920, "height": 1080, "logicalDpi": 96},
        {"name": "laptop", "x": 1920, "y": 0, "width": 1366, "height": 768, "logicalDpi": 96},
        {"name": "netbook", "x": 3286, "y": 0, "width": 1024, "height": 600, "logicalDpi": 96}]})";
    setenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + file).c_str(), 1);
    std::atexit([] { std::remove(file.c_str()); });
    return true;
}();

class WindowFitTest : public ModelFixture {
protected:
    QWidget* Window() { return rt::testing::PanelWindow(PHandlePanel); }
    QTabWidget* TabArea() { return qobject_cast<QTabWidget*>(rt::testing::ControlWidget(PHandlePanel, tabCtrl)); }
    void ResizeTo(int width, int height) {
        Window()->resize(width, height);
        QApplication::processEvents();
    }
    // The program shows its main window again, on another screen. The window is moved there while
    // it shows, so that the platform itself sees it on that screen: a screen set on a hidden window
    // does not last through the next show on every Qt (on 6.11 the window goes back to the screen
    // the platform last saw it on).
    void ShowOn(const char* name) {
        QScreen* screen = nullptr;
        for (QScreen* s : QGuiApplication::screens())
            if (s->name() == QLatin1String(name)) screen = s;
        ASSERT_NE(screen, nullptr) << name;
        Window()->move(screen->availableGeometry().topLeft());
        ASSERT_TRUE(testsupport::EventLoopUntil([&] { return Window()->screen() == screen; }))
            << name << ": the window is on " << Window()->screen()->name().toStdString();
        Window()->hide();
        rt::DisplayPanel(PHandlePanel);
        QApplication::processEvents();
        ASSERT_EQ(Window()->screen(), screen) << name << ": the window is on " << Window()->screen()->name().toStdString();
    }
    // Where the page's panel shows in the page's viewport.
    static QRect Shown(QScrollArea* page) {
        QWidget* panel = page->widget();
        return {panel->mapTo(page->viewport(), QPoint(0, 0)), panel->size()};
    }
};

TEST_F(WindowFitTest, OpensWithEveryTabAndWholePanelsWhereTheScreenHasRoom) {
    ShowOn("wide");
    const QRect avail = Window()->screen()->availableGeometry();
    EXPECT_TRUE(avail.contains(Window()->frameGeometry()));
    const QSize opened = Window()->size();
    for (int item : {MENUBAR_DEVICE_StereoJorb, MENUBAR_DEVICE_StereoJora, MENUBAR_DEVICE_StereoQeva,
                     MENUBAR_DEVICE_StereoQevb, MENUBAR_DEVICE_StereoZuta, MENUBAR_DEVICE_StereoZutb,
                     MENUBAR_DEVICE_Mono, MENUBAR_DEVICE_MonoPykd, MENUBAR_DEVICE_MonoPykb, MENUBAR_DEVICE_MonoPyka}) {
        Menu(item);
        QApplication::processEvents();
        QTabWidget* tabs = TabArea();
        QTabBar* bar = tabs->tabBar();
        SCOPED_TRACE(tabs->count());
        EXPECT_EQ(Window()->size(), opened) << "a model choice resizes the window";
        for (int i = 0; i < bar->count(); ++i)
            EXPECT_TRUE(bar->rect().contains(bar->tabRect(i))) << bar->tabText(i).toStdString() << " is cut off";
        for (QToolButton* b : bar->findChildren<QToolButton*>()) EXPECT_FALSE(b->isVisible());
        for (int i = 0; i < tabs->count(); ++i) {
            tabs->setCurrentIndex(i);
            QApplication::processEvents();
            auto* page = qobject_cast<QScrollArea*>(tabs->widget(i));
            ASSERT_NE(page, nullptr);
            EXPECT_TRUE(page->viewport()->rect().contains(Shown(page))) << tabs->tabText(i).toStdString();
        }
    }
    // A window enlarged by hand keeps the panel in the middle of its page.
    ResizeTo(avail.width(), avail.height());
    auto* page = qobject_cast<QScrollArea*>(TabArea()->currentWidget());
    const QRect shown = Shown(page), room = page->viewport()->rect();
    EXPECT_NEAR(shown.left() - room.left(), room.right() - shown.right(), 1);
    EXPECT_NEAR(shown.top() - room.top(), room.bottom() - shown.bottom(), 1);
    EXPECT_GT(shown.left(), 100);
}

TEST_F(WindowFitTest, StartsWithinTheAvailableAreaOfASmallScreen) {
    for (const char* name : {"laptop", "netbook"}) {
        ShowOn(name);
        QWidget* window = Window();
        const QRect avail = window->screen()->availableGeometry();
        EXPECT_TRUE(avail.contains(window->frameGeometry())) << name << ": window " << window->frameGeometry().width()
                                                             << "x" << window->frameGeometry().height();
        // It takes the screen's room: the whole height, and the width the panel asks for.
        EXPECT_EQ(window->frameGeometry().height(), avail.height()) << name;
        EXPECT_GE(window->frameGeometry().width(), std::min(avail.width(), 1280)) << name;
    }
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
        // Every page scrolls to its far corner: scrolled to the end both ways, the panel's
        // bottom-right corner and its farthest control show in the page.
        for (int i = 0; i < tabs->count(); ++i) {
            tabs->setCurrentIndex(i);
            QApplication::processEvents();
            auto* page = qobject_cast<QScrollArea*>(tabs->widget(i));
            ASSERT_NE(page, nullptr);
            page->verticalScrollBar()->setValue(page->verticalScrollBar()->maximum());
            page->horizontalScrollBar()->setValue(page->horizontalScrollBar()->maximum());
            QApplication::processEvents();
            QWidget* panel = page->widget();
            QRect far = panel->rect().adjusted(panel->width() - 1, panel->height() - 1, 0, 0);
            for (QWidget* w : panel->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
                if (w->isVisibleTo(panel)) far |= w->geometry().adjusted(w->width() - 1, w->height() - 1, 0, 0);
            const QRect shown(panel->mapTo(page->viewport(), far.topLeft()), far.size());
            EXPECT_TRUE(page->viewport()->rect().contains(shown.bottomRight())) << tabs->tabText(i).toStdString();
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
        QWidget* last = rt::testing::ControlBox(PHandlePanel, PANEL_PB_Pyka);
        auto* side = Window()->findChild<QScrollArea*>("rtSideColumn");
        ASSERT_NE(side, nullptr);
        side->ensureWidgetVisible(last);
        QApplication::processEvents();
        const QRect shown(last->mapTo(side->viewport(), QPoint(0, 0)), last->size());
        EXPECT_TRUE(side->viewport()->rect().contains(shown));
    }
    // At the smallest size the pages must scroll.
    auto* page = qobject_cast<QScrollArea*>(TabArea()->currentWidget());
    EXPECT_GT(page->verticalScrollBar()->maximum(), 0);
}

// The state of the work (the lamps and the progress bar) and the buttons that end it (Home and
// Quit) stay in view on a small screen wherever the column of model choices is scrolled to.
TEST_F(WindowFitTest, SmallScreenKeepsLampsProgressHomeAndQuitInView) {
    Menu(MENUBAR_DEVICE_StereoJorb);
    // How much of the widget shows: its rectangle within every widget it lies in, in the window.
    auto shownPart = [this](QWidget* w) {
        QRect shown(w->mapTo(Window(), QPoint(0, 0)), w->size());
        for (QWidget* a = w->parentWidget(); a && a != Window(); a = a->parentWidget())
            shown &= QRect(a->mapTo(Window(), QPoint(0, 0)), a->size());
        return shown & Window()->rect();
    };
    const std::pair<int, const char*> kept[] = {
        {PANEL_LDevAttached, "Device Attached"}, {PANEL_LPowerUp, "Power Up"}, {PANEL_LRefresh, "Refresh"},
        {PANEL_ProgressBar, "progress bar"},     {PANEL_CBHOME, "Home"},       {PANEL_COMMANDBUTTON, "Quit"}};
    for (const char* name : {"laptop", "netbook"}) {
        ShowOn(name);
        const QSize avail = Window()->screen()->availableGeometry().size();
        // As opened, and within a window manager's frame and a desktop panel.
        for (const QSize size : {Window()->size(), avail - QSize(12, 44 + 28)}) {
            ResizeTo(size.width(), size.height());
            auto* side = Window()->findChild<QScrollArea*>("rtSideColumn");
            ASSERT_NE(side, nullptr);
            QScrollBar* bar = side->verticalScrollBar();
            EXPECT_GT(bar->maximum(), 0) << name << " " << size.height() << ": the column does not scroll";
            for (int at : {bar->minimum(), bar->maximum() / 2, bar->maximum()}) {
                bar->setValue(at);
                QApplication::processEvents();
                for (const auto& [control, label] : kept) {
                    QWidget* w = rt::testing::ControlBox(PHandlePanel, control);
                    const QRect whole(w->mapTo(Window(), QPoint(0, 0)), w->size()), shown = shownPart(w);
                    EXPECT_TRUE(w->isVisible() && shown == whole)
                        << name << " " << size.width() << "x" << size.height() << ", column scrolled to " << at << ": "
                        << label << " at (" << whole.x() << "," << whole.y() << " " << whole.width() << "x"
                        << whole.height() << ") shows (" << shown.x() << "," << shown.y() << " " << shown.width()
                        << "x" << shown.height() << ")";
                }
            }
        }
    }
}

}  // namespace
