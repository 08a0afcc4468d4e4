// Discarding panels frees their widgets: at once from plain code, after the event from inside
// one of the panel's own callbacks, and without widgets piling up over many load/discard rounds.
#include "fixture.h"

#include <QPointer>
#include <QTabWidget>

using namespace fixture;

namespace {

class Discard : public RuntimeTest {};

}  // namespace

TEST_F(Discard, WidgetsOfADiscardedPanelAndItsChildrenAreGoneAtOnce) {
    int p = LoadMain();
    int child = rt::LoadPanel(p, kFile, 2);
    ASSERT_GT(child, 0);
    ASSERT_EQ(rt::EasyTab_ConvertFromCanvas(p, TABS), TABS);
    ASSERT_EQ(rt::EasyTab_AddPanels(p, TABS, 1, {child}), 0);
    QPointer<QWidget> window = rt::testing::PanelWindow(p);
    QPointer<QWidget> ring = W(p, RATE);
    QPointer<QWidget> childContent = rt::testing::PanelContent(child);
    QPointer<QWidget> go = W(child, 2);
    ASSERT_TRUE(window && ring && childContent && go);
    QPointer<QWidget> page = childContent->parentWidget();
    ASSERT_TRUE(page);

    EXPECT_EQ(rt::DiscardPanel(p), 0);
    EXPECT_TRUE(window.isNull());
    EXPECT_TRUE(ring.isNull());
    EXPECT_TRUE(childContent.isNull());
    EXPECT_TRUE(go.isNull());
    EXPECT_TRUE(page.isNull());
}

TEST_F(Discard, APanelDiscardedByItsOwnCallbackOutlivesTheEventThenGoes) {
    int p = LoadMain();
    QPointer<QWidget> window = rt::testing::PanelWindow(p);
    QPointer<QWidget> apply = W(p, APPLY);
    bool aliveInCallback = false;
    OnCtrl() = [&](int panel, int control, int event) {
        if (control != APPLY || event != rt::EVENT_COMMIT) return;
        rt::DiscardPanel(panel);
        aliveInCallback = !apply.isNull();  // the button is still delivering its click
    };
    QTest::mouseClick(apply, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(aliveInCallback);
    EXPECT_EQ(rt::DisplayPanel(p), rt::UIEBadPanelHandle);
    rt::ProcessSystemEvents();
    EXPECT_TRUE(window.isNull());
    EXPECT_TRUE(apply.isNull());
}

TEST_F(Discard, RemovedTabPagesAndRepeatedLoadsLeaveNoWidgetsBehind) {
    int p = LoadMain();
    int a = rt::LoadPanel(p, kFile, 2);
    int b = rt::LoadPanel(p, kFile, 3);
    ASSERT_EQ(rt::EasyTab_ConvertFromCanvas(p, TABS), TABS);
    ASSERT_EQ(rt::EasyTab_AddPanels(p, TABS, 1, {a, b}), 0);
    const int bar = rt::LoadMenuBar(p, kFile, 1);
    ASSERT_GT(bar, 0);
    rt::ProcessSystemEvents();
    const qsizetype settled = QApplication::allWidgets().size();

    for (int round = 0; round < 5; ++round) {
        EXPECT_EQ(rt::EasyTab_RemovePanel(p, TABS, a), 0);
        EXPECT_EQ(rt::EasyTab_AddPanels(p, TABS, 1, {a}), 0);
    }
    EXPECT_EQ(QApplication::allWidgets().size(), settled);

    // The same from a menu callback, as a model choice does: the old pages go at the next turn.
    struct Restore {
        ~Restore() { RegisterRecorders(); }
    } restore;
    rt::RegisterMenuCallback("MenuCB", [&](int, int, void*, int) {
        rt::EasyTab_RemovePanel(p, TABS, a);
        rt::EasyTab_AddPanels(p, TABS, 1, {a});
    });
    for (int round = 0; round < 5; ++round) rt::CallMenuCallback(bar, 3);
    rt::ProcessSystemEvents();
    EXPECT_EQ(QApplication::allWidgets().size(), settled);

    // Whole panels loaded and discarded again and again.
    rt::DiscardPanel(p);
    const qsizetype empty = QApplication::allWidgets().size();
    for (int round = 0; round < 3; ++round) {
        int q = LoadMain();
        rt::LoadPanel(q, kFile, 2);
        rt::LoadMenuBar(q, kFile, 1);
        rt::DiscardPanel(q);
    }
    EXPECT_EQ(QApplication::allWidgets().size(), empty);
}
