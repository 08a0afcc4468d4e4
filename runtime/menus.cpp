// Menu bars loaded from panel resources: menus, items with check marks and dimming, and
// callbacks bound by name.
#include "runtime/rt_internal.h"
#include "runtime/rt_widgets.h"

#include <QAction>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>

namespace rt {

using namespace detail;
using nlohmann::json;

namespace {

MenuEntry* EntryOf(int menuBar, int item, int* err) {
    auto& bars = RT().menuBars;
    auto it = bars.find(menuBar);
    if (it == bars.end()) {
        *err = UIEBadPanelHandle;
        return nullptr;
    }
    auto e = it->second->entries.find(item);
    if (e == it->second->entries.end()) {
        *err = UIEBadControlId;
        return nullptr;
    }
    return &e->second;
}

// The user chose an item: the run-time, not Qt, owns the check mark, so undo Qt's own toggle
// before the callback decides. An item chosen while the user's input is held off or under a
// modal popup (only an assistive tool can reach it then) is refused.
void Chosen(int bar, int item) {
    int err = 0;
    MenuEntry* e = EntryOf(bar, item, &err);
    if (!e) return;
    if (e->action && e->action->isCheckable()) {
        QSignalBlocker b(e->action);
        e->action->setChecked(e->checked);
    }
    MenuBar* owner = RT().menuBars.at(bar).get();
    if (AssistiveChangeRefused(owner->bar)) return;
    FireMenu(bar, item);
}

QAction* MakeAction(int handle, int id, const QString& label, QObject* parent) {
    auto* a = new QAction(label, parent);
    QObject::connect(a, &QAction::triggered, a, [handle, id] { Chosen(handle, id); });
    return a;
}

}  // namespace

int LoadMenuBar(int panel, const char* fileName, int resourceId) {
    Runtime& rt = RT();
    if (int err = BeginLoad()) return err;
    Panel* owner = nullptr;
    if (panel != 0) {
        owner = FindPanel(panel);
        if (!owner || !owner->window) {
            rt.lastLoadError = "menu bar for panel " + std::to_string(panel) + ", which does not exist";
            return UIEBadPanelHandle;
        }
        if (owner->parent != 0) {
            rt.lastLoadError = "menu bar for panel " + owner->constant + ", which is not a top-level panel";
            return UIEBadPanelHandle;
        }
    }
    int error = 0;
    std::string name;
    const json* mj = FindResource(fileName, "menubars", resourceId, "menu bar", &name, &error);
    if (!mj) return error;

    std::string where = name + ": menu bar " + (*mj)["constant"].get<std::string>();
    std::vector<std::string> unknown;
    auto check = [&](const json& e, const std::string& ctx) {
        if (!e.contains("callback")) return;
        std::string cb = e["callback"].get<std::string>();
        if (rt.menuCallbacks.count(cb)) return;
        std::string note = IsCallbackRegistered(cb) ? " (registered, but not as a menu callback)" : "";
        unknown.push_back(ctx + ": unknown menu callback \"" + cb + "\"" + note);
    };
    for (const json& menu : (*mj)["menus"]) {
        std::string mctx = where + ": menu \"" + menu["label"].get<std::string>() + "\"";
        check(menu, mctx);
        for (const json& item : menu.value("items", json::array()))
            if (!item.contains("separator")) check(item, mctx + ": item \"" + item["label"].get<std::string>() + "\"");
    }
    if (!unknown.empty()) {
        rt.lastLoadError = JoinLines(unknown);
        return UIEUnknownCallback;
    }

    auto owned = std::make_unique<MenuBar>();
    MenuBar& mb = *owned;
    mb.handle = rt.nextHandle++;
    mb.panel = panel;
    mb.file = name;
    mb.resource = resourceId;
    auto* bar = new QMenuBar(owner ? owner->window.data() : nullptr);
    bar->setNativeMenuBar(false);
    mb.bar = bar;
    for (const json& menu : (*mj)["menus"]) {
        MenuEntry me;
        me.id = menu["id"].get<int>();
        me.isMenu = true;
        me.callback = menu.value("callback", std::string());
        me.dimmed = menu.value("dimmed", false);
        QString label = Q(menu["label"].get<std::string>());
        if (!menu.contains("items") && !me.callback.empty()) {
            // A command on the bar itself.
            me.action = MakeAction(mb.handle, me.id, label, bar);
            bar->addAction(me.action);
        } else {
            QMenu* m = bar->addMenu(label);
            me.action = m->menuAction();
            for (const json& item : menu.value("items", json::array())) {
                if (item.contains("separator")) {
                    m->addSeparator();
                    continue;
                }
                MenuEntry ie;
                ie.id = item["id"].get<int>();
                ie.callback = item.value("callback", std::string());
                ie.checked = item.value("checked", false);
                ie.dimmed = item.value("dimmed", false);
                ie.action = MakeAction(mb.handle, ie.id, Q(item["label"].get<std::string>()), m);
                if (ie.checked) {
                    ie.action->setCheckable(true);
                    ie.action->setChecked(true);
                }
                ie.action->setEnabled(!ie.dimmed);
                if (item.contains("help")) {
                    ie.action->setStatusTip(Q(item["help"].get<std::string>()));
                    ie.action->setToolTip(Q(item["help"].get<std::string>()));
                }
                m->addAction(ie.action);
                mb.entries[ie.id] = ie;
            }
        }
        me.action->setEnabled(!me.dimmed);
        mb.entries[me.id] = me;
    }
    if (owner) {
        // One menu bar per panel: a new one replaces the last.
        if (owner->menuBar) {
            auto old = rt.menuBars.find(owner->menuBar);
            if (old != rt.menuBars.end()) {
                Dispose(old->second->bar);
                rt.menuBars.erase(old);
            }
        }
        owner->menuBar = mb.handle;
        if (QLayout* lay = owner->window->layout()) lay->setMenuBar(bar);
    }
    int handle = mb.handle;
    rt.menuBars[handle] = std::move(owned);
    return handle;
}

int SetMenuBarAttribute(int menuBar, int item, int attribute, int value) {
    int err = 0;
    MenuEntry* e = EntryOf(menuBar, item, &err);
    if (!e) return err;
    if (attribute == ATTR_CHECKED) {
        if (e->isMenu) return UIEBadAttribute;
        e->checked = value != 0;
        if (e->action) {
            QSignalBlocker b(e->action);
            e->action->setCheckable(true);
            e->action->setChecked(e->checked);
        }
        return 0;
    }
    if (attribute == ATTR_DIMMED) {
        e->dimmed = value != 0;
        if (e->action) e->action->setEnabled(!e->dimmed);
        return 0;
    }
    return UIEBadAttribute;
}

int GetMenuBarAttribute(int menuBar, int item, int attribute, int* value) {
    int err = 0;
    MenuEntry* e = EntryOf(menuBar, item, &err);
    if (!e) return err;
    if (!value) return UIEBadValue;
    if (attribute == ATTR_CHECKED && !e->isMenu) *value = e->checked ? 1 : 0;
    else if (attribute == ATTR_DIMMED) *value = e->dimmed ? 1 : 0;
    else return UIEBadAttribute;
    return 0;
}

int CallMenuCallback(int menuBar, int item) {
    int err = 0;
    if (!EntryOf(menuBar, item, &err)) return err;
    FireMenu(menuBar, item);
    return 0;
}

}  // namespace rt
