// The run-time's state: the callback registry, panel handles, running callbacks, and the
// panel operations (display, hide, discard, attributes).
#include "runtime/rt_internal.h"
#include "runtime/rt_widgets.h"

#include <QApplication>
#include <QFontDatabase>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QScrollArea>
#include <QTabWidget>
#include <QTimer>

#include <cstdio>
#include <exception>
#include <type_traits>

namespace rt {

namespace detail {

Runtime& RT() {
    static Runtime rt;
    return rt;
}

Panel* FindPanel(int handle) {
    auto& panels = RT().panels;
    auto it = panels.find(handle);
    return it == panels.end() ? nullptr : it->second.get();
}

Control* FindControl(int panel, int control, int* error) {
    Panel* p = FindPanel(panel);
    if (!p) {
        if (error) *error = UIEBadPanelHandle;
        return nullptr;
    }
    auto it = p->controls.find(control);
    if (it == p->controls.end()) {
        if (error) *error = UIEBadControlId;
        return nullptr;
    }
    return it->second.get();
}

namespace {

int callbackDepth = 0;
bool disposalsPending = false;

struct InCallback {
    InCallback() { ++callbackDepth; }
    ~InCallback() { --callbackDepth; }
    InCallback(const InCallback&) = delete;
    InCallback& operator=(const InCallback&) = delete;
};

void Report(const std::string& name, const char* what) {
    std::fprintf(stderr, "codecbench: callback %s failed: %s\n", name.c_str(), what);
}

template <typename Fn, typename... Args>
int Invoke(const std::string& name, const Fn& fn, Args... args) {
    InCallback running;
    try {
        if constexpr (std::is_void_v<decltype(fn(args...))>) {
            fn(args...);
            return 0;
        } else {
            return fn(args...);
        }
    } catch (const std::exception& e) {
        Report(name, e.what());
    } catch (...) {
        Report(name, "unknown exception");
    }
    return 0;
}

}  // namespace

int CallbackDepth() { return callbackDepth; }

void Dispose(QObject* o) {
    if (!o) return;
    if (callbackDepth == 0) {
        delete o;
        return;
    }
    o->deleteLater();
    disposalsPending = true;
}

void FlushDisposals() {
    if (callbackDepth != 0 || !disposalsPending || !QCoreApplication::instance()) return;
    disposalsPending = false;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

namespace {

// What the user knows a control's operation by: its label, else the text beside it.
std::string OperationName(const Control& c) {
    std::string name = c.label.empty() ? c.nearbyText : c.label;
    const size_t first = name.find_first_not_of(' ');
    const size_t last = name.find_last_not_of(' ');
    return first == std::string::npos ? std::string() : name.substr(first, last - first + 1);
}

}  // namespace

int FireControl(int panel, int control, int event, int data1, int data2, void* callbackData) {
    if (HoldingCallbacks()) {
        HoldCallback([=] { FireControl(panel, control, event, data1, data2, callbackData); });
        return 0;
    }
    Control* c = FindControl(panel, control, nullptr);
    if (!c || c->callback.empty()) return 0;
    auto it = RT().ctrlCallbacks.find(c->callback);
    if (it == RT().ctrlCallbacks.end()) return 0;
    CtrlCallback cb = it->second;  // the call may replace the registry's entry
    std::string name = c->callback;
    // A timer's tick is the program's own doing; any other event of a control is the user's.
    OperationScope operation(event != EVENT_TIMER_TICK, OperationName(*c).c_str());
    return Invoke(name, cb, panel, control, event, callbackData, data1, data2);
}

int FirePanel(int panel, int event, int data1, int data2, void* callbackData) {
    if (HoldingCallbacks()) {
        HoldCallback([=] { FirePanel(panel, event, data1, data2, callbackData); });
        return 0;
    }
    Panel* p = FindPanel(panel);
    if (!p || p->callback.empty()) return 0;
    auto it = RT().panelCallbacks.find(p->callback);
    if (it == RT().panelCallbacks.end()) return 0;
    PanelCallback cb = it->second;
    std::string name = p->callback;
    OperationScope operation(true, p->title.c_str());
    return Invoke(name, cb, panel, event, callbackData, data1, data2);
}

void FireMenu(int menuBar, int item) {
    if (HoldingCallbacks()) {
        HoldCallback([=] { FireMenu(menuBar, item); });
        return;
    }
    auto& bars = RT().menuBars;
    auto it = bars.find(menuBar);
    if (it == bars.end()) return;
    auto e = it->second->entries.find(item);
    if (e == it->second->entries.end() || e->second.callback.empty()) return;
    auto cb = RT().menuCallbacks.find(e->second.callback);
    if (cb == RT().menuCallbacks.end()) return;
    MenuCallback fn = cb->second;
    std::string name = e->second.callback;
    int panel = it->second->panel;
    OperationScope operation(true, e->second.label.c_str());
    Invoke(name, fn, menuBar, item, static_cast<void*>(nullptr), panel);
}

QColor ToQColor(int rgb) { return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }
int FromQColor(const QColor& c) { return (c.red() << 16) | (c.green() << 8) | c.blue(); }
QString Q(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }
std::string S(const QString& s) { return s.toStdString(); }

void ApplyFixedFont(QWidget* w, bool fixed) {
    if (!w) return;
    QFont f = fixed ? QFontDatabase::systemFont(QFontDatabase::FixedFont) : w->parentWidget() ? w->parentWidget()->font() : QApplication::font();
    f.setPixelSize(12);
    w->setFont(f);
    // Headers take a font of their own from the platform rather than the view's: a table's
    // headers follow its font as its cells do.
    for (QHeaderView* h : w->findChildren<QHeaderView*>()) h->setFont(f);
}

void DiscardMenuBarsOf(int panel) {
    auto& bars = RT().menuBars;
    for (auto it = bars.begin(); it != bars.end();) {
        if (it->second->panel == panel && panel != 0) {
            Dispose(it->second->bar);
            it = bars.erase(it);
        } else {
            ++it;
        }
    }
}

void DiscardPanelTree(int handle) {
    std::vector<int> children;
    for (const auto& [h, p] : RT().panels)
        if (p->parent == handle) children.push_back(h);
    for (int child : children) DiscardPanelTree(child);

    Panel* p = FindPanel(handle);
    if (!p) return;
    if (p->hostPanel) RemoveFromTabs(*p);
    // Panels shown in this panel's tab controls belong elsewhere: hand them back first.
    for (auto& [id, c] : p->controls) {
        if (!c->isTab) continue;
        std::vector<int> tabs = c->tabs;
        for (int t : tabs)
            if (Panel* tp = FindPanel(t)) RemoveFromTabs(*tp);
    }
    for (auto& [id, c] : p->controls)
        if (c->timer) c->timer->stop();
    DiscardMenuBarsOf(handle);
    QPointer<QWidget> window = p->window;
    RT().panels.erase(handle);
    if (window) {
        window->hide();
        Dispose(window);  // the panel may be discarded from inside one of its own events
    }
}

}  // namespace detail

using namespace detail;

// ---- callback registry ---------------------------------------------------------------------

void RegisterCtrlCallback(const std::string& name, CtrlCallback cb) { RT().ctrlCallbacks[name] = std::move(cb); }
void RegisterPanelCallback(const std::string& name, PanelCallback cb) { RT().panelCallbacks[name] = std::move(cb); }
void RegisterMenuCallback(const std::string& name, MenuCallback cb) { RT().menuCallbacks[name] = std::move(cb); }

bool IsCallbackRegistered(const std::string& name) {
    const Runtime& rt = RT();
    return rt.ctrlCallbacks.count(name) || rt.panelCallbacks.count(name) || rt.menuCallbacks.count(name);
}

std::string LastLoadError() { return RT().lastLoadError; }

// ---- panels --------------------------------------------------------------------------------

int DisplayPanel(int panel) {
    Panel* p = FindPanel(panel);
    if (!p || !p->window) return UIEBadPanelHandle;
    p->window->show();
    if (p->parent == 0) {
        p->window->raise();
        p->window->activateWindow();
    }
    return 0;
}

int HidePanel(int panel) {
    Panel* p = FindPanel(panel);
    if (!p || !p->window) return UIEBadPanelHandle;
    p->window->hide();
    return 0;
}

int DiscardPanel(int panel) {
    if (!FindPanel(panel)) return UIEBadPanelHandle;
    DiscardPanelTree(panel);
    FlushDisposals();
    return 0;
}

int GetPanelAttribute(int panel, int attribute, int* value) {
    Panel* p = FindPanel(panel);
    if (!p || !p->window || !p->content) return UIEBadPanelHandle;
    if (!value) return UIEBadValue;
    switch (attribute) {
    case ATTR_VISIBLE: *value = p->window->isHidden() ? 0 : 1; return 0;
    case ATTR_DIMMED: *value = p->content->isEnabled() ? 0 : 1; return 0;
    case ATTR_LEFT: *value = p->window->x(); return 0;
    case ATTR_TOP: *value = p->window->y(); return 0;
    case ATTR_WIDTH: *value = p->content->width(); return 0;
    case ATTR_HEIGHT: *value = p->content->height(); return 0;
    case ATTR_SYSTEM_WINDOW_HANDLE: *value = static_cast<int>(p->window->window()->winId()); return 0;
    default: return UIEBadAttribute;
    }
}

int GetPanelAttribute(int panel, int attribute, std::string* value) {
    Panel* p = FindPanel(panel);
    if (!p) return UIEBadPanelHandle;
    if (!value) return UIEBadValue;
    if (attribute != ATTR_TITLE) return UIEBadAttribute;
    *value = p->title;
    return 0;
}

int SetPanelAttribute(int panel, int attribute, int value) {
    Panel* p = FindPanel(panel);
    if (!p || !p->window || !p->content) return UIEBadPanelHandle;
    switch (attribute) {
    case ATTR_VISIBLE: p->window->setVisible(value != 0); return 0;
    case ATTR_DIMMED: p->content->setEnabled(value == 0); return 0;
    case ATTR_LEFT: p->window->move(value, p->window->y()); return 0;
    case ATTR_TOP: p->window->move(p->window->x(), value); return 0;
    case ATTR_WIDTH:
        if (value <= 0) return UIEBadValue;
        p->content->setFixedWidth(value);
        return 0;
    case ATTR_HEIGHT:
        if (value <= 0) return UIEBadValue;
        p->content->setFixedHeight(value);
        return 0;
    default: return UIEBadAttribute;
    }
}

int SetPanelAttribute(int panel, int attribute, const char* value) {
    Panel* p = FindPanel(panel);
    if (!p || !p->window) return UIEBadPanelHandle;
    if (attribute != ATTR_TITLE) return UIEBadAttribute;
    p->title = value ? value : "";
    if (p->parent == 0) p->window->setWindowTitle(Q(p->title));
    if (p->content) p->content->setAccessibleName(Q(p->title.empty() ? p->constant : p->title));
    if (p->hostPanel) {
        Control* tc = FindControl(p->hostPanel, p->hostTab, nullptr);
        auto* tw = tc ? qobject_cast<QTabWidget*>(tc->widget.data()) : nullptr;
        if (tw && p->page) tw->setTabText(tw->indexOf(p->page), Q(p->title));
    }
    return 0;
}

int SetActiveCtrl(int panel, int control) {
    int err = 0;
    Control* c = FindControl(panel, control, &err);
    if (!c) return err;
    if (!c->widget) return UIEBadControlId;
    if (!c->widget->isEnabled() || c->widget->isHidden() || c->widget->focusPolicy() == Qt::NoFocus)
        return UIEBadValue;
    c->widget->setFocus(Qt::OtherFocusReason);
    return 0;
}

int GetActiveCtrl(int panel) {
    Panel* p = FindPanel(panel);
    if (!p || !p->window) return UIEBadPanelHandle;
    const QWidget* focus = p->window->window()->focusWidget();
    if (!focus) return 0;
    for (const auto& [id, c] : p->controls)
        if (c->widget && (c->widget == focus || c->widget->isAncestorOf(focus))) return id;
    return 0;
}

int CallPanelCallback(int panel, int event, int eventData1, int eventData2, void* callbackData) {
    if (!FindPanel(panel)) return UIEBadPanelHandle;
    FirePanel(panel, event, eventData1, eventData2, callbackData);
    return 0;
}

int CallCtrlCallback(int panel, int control, int event, int eventData1, int eventData2, void* callbackData) {
    int err = 0;
    if (!FindControl(panel, control, &err)) return err;
    FireControl(panel, control, event, eventData1, eventData2, callbackData);
    return 0;
}

}  // namespace rt
