#include "runtime/testing.h"

#include "runtime/rt_internal.h"
#include "runtime/rt_widgets.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenuBar>

namespace rt {

namespace detail {
void DropWatches();  // eventloop.cpp
}

namespace testing {

using namespace detail;

void ResetRuntime() {
    Runtime& rt = RT();
    std::vector<int> handles;
    for (const auto& [h, p] : rt.panels)
        if (p->parent == 0) handles.push_back(h);
    for (int h : handles) DiscardPanelTree(h);
    handles.clear();
    for (const auto& [h, p] : rt.panels) handles.push_back(h);  // children of nothing left
    for (int h : handles) DiscardPanelTree(h);
    for (auto& [h, mb] : rt.menuBars)
        Dispose(mb->bar);
    rt.menuBars.clear();
    DropWatches();
    SetPrompter(nullptr);
    rt.lastLoadError.clear();
    if (QCoreApplication::instance()) QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QWidget* PanelWindow(int panel) {
    Panel* p = FindPanel(panel);
    return p ? p->window.data() : nullptr;
}

QWidget* PanelContent(int panel) {
    Panel* p = FindPanel(panel);
    return p ? static_cast<QWidget*>(p->content.data()) : nullptr;
}

QWidget* ControlWidget(int panel, int control) {
    Control* c = FindControl(panel, control, nullptr);
    return c ? c->widget.data() : nullptr;
}

QWidget* ControlBox(int panel, int control) {
    Control* c = FindControl(panel, control, nullptr);
    return c ? c->box.data() : nullptr;
}

QMenuBar* MenuBarWidget(int menuBar) {
    auto it = RT().menuBars.find(menuBar);
    return it == RT().menuBars.end() ? nullptr : it->second->bar.data();
}

QAction* MenuItemAction(int menuBar, int item) {
    auto it = RT().menuBars.find(menuBar);
    if (it == RT().menuBars.end()) return nullptr;
    auto e = it->second->entries.find(item);
    return e == it->second->entries.end() ? nullptr : e->second.action.data();
}

}  // namespace testing
}  // namespace rt
