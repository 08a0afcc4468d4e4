// The tab control: a canvas replaced by a QTabWidget whose pages are child panels.
#include "runtime/rt_internal.h"
#include "runtime/rt_widgets.h"

#include <QLayout>
#include <QScrollArea>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>

#include <algorithm>

namespace rt {

using namespace detail;

namespace {

QTabWidget* TabsOf(int panel, int control, Control** out, int* err) {
    Control* c = FindControl(panel, control, err);
    if (!c) return nullptr;
    auto* tw = c->isTab ? qobject_cast<QTabWidget*>(c->widget.data()) : nullptr;
    if (!tw) {
        *err = UIEInvalidControlType;
        return nullptr;
    }
    *out = c;
    return tw;
}

// Tab controls whose pages are hidden until RevealTabPages.
std::vector<QPointer<QWidget>>& HeldPages() {
    static std::vector<QPointer<QWidget>> held;
    return held;
}

// Hides the pages of `tw` before the tab in front goes: Qt would show the next tab's page at
// once, and the one after it when that goes too.
void HoldPages(QTabWidget* tw) {
    auto* stack = tw->findChild<QStackedWidget*>(QString(), Qt::FindDirectChildrenOnly);
    if (!stack || stack->isHidden()) return;
    stack->hide();
    HeldPages().emplace_back(stack);
    QMetaObject::invokeMethod(stack, [] { RevealTabPages(); }, Qt::QueuedConnection);
}

int IndexOf(const Control& c, int child) {
    auto it = std::find(c.tabs.begin(), c.tabs.end(), child);
    return it == c.tabs.end() ? -1 : static_cast<int>(it - c.tabs.begin());
}

}  // namespace

namespace detail {

void RevealTabPages() {
    std::vector<QPointer<QWidget>> held;
    held.swap(HeldPages());
    for (const QPointer<QWidget>& stack : held)
        if (stack) stack->show();
}

void RemoveFromTabs(Panel& child) {
    Control* c = FindControl(child.hostPanel, child.hostTab, nullptr);
    auto* tw = c ? qobject_cast<QTabWidget*>(c->widget.data()) : nullptr;
    if (c && tw) {
        int index = IndexOf(*c, child.handle);
        if (index >= 0) {
            QSignalBlocker b(tw);
            if (index == tw->currentIndex() && tw->count() > 1) HoldPages(tw);
            tw->removeTab(index);
            c->tabs.erase(c->tabs.begin() + index);
        }
    }
    // Hand the panel back to its parent, hidden, and drop the emptied page. The panel moves
    // while its page is still in the window: a move between windows walks the focus chain of
    // every widget in them.
    if (child.content) {
        child.content->hide();
        Panel* parent = FindPanel(child.parent);
        child.content->setParent(parent && parent->content ? parent->content.data() : nullptr);
        child.content->hide();
    }
    Dispose(child.page);
    child.page = nullptr;
    child.hostPanel = 0;
    child.hostTab = 0;
}

}  // namespace detail

int EasyTab_ConvertFromCanvas(int panel, int canvas) {
    int err = 0;
    Control* c = FindControl(panel, canvas, &err);
    if (!c) return err;
    if (c->isTab) return canvas;
    if (c->kind != Kind::Canvas || !c->widget) return UIEInvalidControlType;
    QWidget* old = c->box;
    auto* tw = new QTabWidget(old->parentWidget());
    tw->setObjectName(old->objectName());
    tw->setDocumentMode(false);
    tw->setUsesScrollButtons(true);
    tw->setGeometry(old->geometry());
    tw->setVisible(!old->isHidden());
    tw->setEnabled(old->isEnabled());
    if (c->inFrame) {
        if (QLayout* lay = old->parentWidget() ? old->parentWidget()->layout() : nullptr) lay->replaceWidget(old, tw);
    }
    old->hide();
    old->setParent(nullptr);  // no longer one of the panel's widgets
    Dispose(old);
    c->widget = tw;
    c->box = tw;
    c->isTab = true;
    MarkForAccessibility(tw, panel, canvas);
    UpdateAccessibleName(*c);
    int control = canvas;
    QObject::connect(tw, &QTabWidget::currentChanged, tw, [panel, control](int index) {
        Control* c = FindControl(panel, control, nullptr);
        if (!c || index < 0 || index >= static_cast<int>(c->tabs.size())) return;
        int child = c->tabs[index];
        FireControl(panel, control, EVENT_ACTIVE_TAB_CHANGE, child, child);
    });
    tw->raise();
    if (Panel* p = FindPanel(panel)) FitTabAreaToWindow(*p, *c);
    return canvas;
}

int EasyTab_AddPanels(int panel, int tabCtrl, int row, const std::vector<int>& childPanels) {
    (void)row;
    int err = 0;
    Control* c = nullptr;
    QTabWidget* tw = TabsOf(panel, tabCtrl, &c, &err);
    if (!tw) return err;
    for (int child : childPanels) {
        Panel* cp = FindPanel(child);
        if (!cp || cp->parent == 0 || !cp->content || child == panel) return UIEBadPanelHandle;
    }
    for (int child : childPanels) {
        Panel* cp = FindPanel(child);
        if (cp->hostPanel == panel && cp->hostTab == tabCtrl) continue;  // already a tab here
        if (cp->hostPanel) RemoveFromTabs(*cp);
        auto* page = new QScrollArea;
        page->setFrameShape(QFrame::NoFrame);
        page->setWidgetResizable(false);
        // A page larger than its panel keeps the panel in its middle.
        page->setAlignment(Qt::AlignCenter);
        {
            // The page joins the window before the panel joins the page, so the panel never
            // leaves the window (see RemoveFromTabs).
            QSignalBlocker b(tw);
            tw->addTab(page, Q(cp->title));
        }
        page->setWidget(cp->content);
        cp->content->show();
        cp->page = page;
        cp->hostPanel = panel;
        cp->hostTab = tabCtrl;
        c->tabs.push_back(child);
    }
    return 0;
}

int EasyTab_RemovePanel(int panel, int tabCtrl, int childPanel) {
    int err = 0;
    Control* c = nullptr;
    if (!TabsOf(panel, tabCtrl, &c, &err)) return err;
    Panel* cp = FindPanel(childPanel);
    if (!cp) return UIEBadPanelHandle;
    if (IndexOf(*c, childPanel) < 0) return UIEItemNotFound;
    RemoveFromTabs(*cp);
    return 0;
}

int EasyTab_SetAttribute(int panel, int tabCtrl, int attribute, int value) {
    int err = 0;
    Control* c = nullptr;
    QTabWidget* tw = TabsOf(panel, tabCtrl, &c, &err);
    if (!tw) return err;
    if (attribute != ATTR_EASY_TAB_ACTIVE_PANEL) return UIEBadAttribute;
    int index = IndexOf(*c, value);
    if (index < 0) return UIEItemNotFound;
    QSignalBlocker b(tw);
    tw->setCurrentIndex(index);
    return 0;
}

int EasyTab_GetAttribute(int panel, int tabCtrl, int attribute, int* value) {
    int err = 0;
    Control* c = nullptr;
    QTabWidget* tw = TabsOf(panel, tabCtrl, &c, &err);
    if (!tw) return err;
    if (!value) return UIEBadValue;
    if (attribute != ATTR_EASY_TAB_ACTIVE_PANEL) return UIEBadAttribute;
    int index = tw->currentIndex();
    *value = index >= 0 && index < static_cast<int>(c->tabs.size()) ? c->tabs[index] : 0;
    return 0;
}

int EasyTab_SetTabAttribute(int panel, int tabCtrl, int childPanel, int attribute, int value) {
    int err = 0;
    Control* c = nullptr;
    QTabWidget* tw = TabsOf(panel, tabCtrl, &c, &err);
    if (!tw) return err;
    if (attribute != ATTR_EASY_TAB_VISIBLE) return UIEBadAttribute;
    int index = IndexOf(*c, childPanel);
    if (index < 0) return UIEItemNotFound;
    QSignalBlocker b(tw);
    tw->setTabVisible(index, value != 0);
    return 0;
}

int EasyTab_ReserveRoom(int panel, int tabCtrl, const std::vector<int>& childPanels) {
    int err = 0;
    Control* c = nullptr;
    QTabWidget* tw = TabsOf(panel, tabCtrl, &c, &err);
    if (!tw) return err;
    // The tabs measured on a bar of their own, as the tab control's bar draws them.
    QTabBar probe;
    probe.setFont(tw->tabBar()->font());
    probe.setUsesScrollButtons(false);
    probe.setExpanding(false);
    probe.setElideMode(Qt::ElideNone);
    QSize pages;
    for (int child : childPanels) {
        Panel* cp = FindPanel(child);
        if (!cp || cp->parent == 0 || !cp->content || child == panel) return UIEBadPanelHandle;
        probe.addTab(Q(cp->title));
        pages = pages.expandedTo(cp->content->size());
    }
    const QSize bar = probe.sizeHint();
    tw->setProperty(kTabBarRoom, tw->property(kTabBarRoom).toSize().expandedTo(bar));
    tw->setProperty(kTabPageRoom, tw->property(kTabPageRoom).toSize().expandedTo(pages));
    return 0;
}

std::vector<int> EasyTab_Panels(int panel, int tabCtrl) {
    int err = 0;
    Control* c = nullptr;
    if (!TabsOf(panel, tabCtrl, &c, &err)) return {};
    return c->tabs;
}

}  // namespace rt
