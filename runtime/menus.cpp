// Menu bars loaded from panel resources: menus, items with check marks and dimming, and
// callbacks bound by name. The keyboard reaches them as in any desktop program: F10 opens the
// first menu, Alt and a menu's underlined letter opens that menu, and an item's letter chooses
// it; assistive technology finds each item by its text and chooses it as the user would.
#include "runtime/rt_internal.h"
#include "runtime/rt_widgets.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QAction>
#include <QKeySequence>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QRegularExpression>
#include <QShortcut>

namespace rt {

using namespace detail;
using nlohmann::json;

namespace {

// The entry an action stands for, as properties of the action.
constexpr const char* kBarProperty = "rtMenuBar";
constexpr const char* kItemProperty = "rtMenuItem";

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

// A choice from the menu bar is refused while the user's own operation runs (its waits and
// callbacks included) and while a modal popup stands over the bar's window, as a control's
// input is. During an operation that is not the user's (a timer's board read) it is taken, and
// runs once that operation's wait is over.
bool ChoiceRefused(int bar) {
    auto it = RT().menuBars.find(bar);
    return it == RT().menuBars.end() || UserOperationRunning() || UnderModalPopup(it->second->bar);
}

// The user chose an item: the run-time, not Qt, owns the check mark, so undo Qt's own toggle
// before the callback decides.
void Chosen(int bar, int item) {
    int err = 0;
    MenuEntry* e = EntryOf(bar, item, &err);
    if (!e) return;
    if (e->action && e->action->isCheckable()) {
        QSignalBlocker b(e->action);
        e->action->setChecked(e->checked);
    }
    if (ChoiceRefused(bar)) return;
    FireMenu(bar, item);
}

// The text shown for a label: '&' doubled so that it shows as itself, and the mnemonic on the
// first of its letters that `taken` (the letters of its menu so far) does not hold yet: its first
// letter when free, else the next free one. A label with no free letter gets none.
QString WithMnemonic(const std::string& label, QString* taken) {
    QString shown;
    bool marked = false;
    for (const QChar ch : Q(label)) {
        if (ch == QLatin1Char('&')) {
            shown += QLatin1String("&&");
            continue;
        }
        if (!marked && ch.isLetter() && !taken->contains(ch.toLower())) {
            taken->append(ch.toLower());
            shown += QLatin1Char('&');
            marked = true;
        }
        shown += ch;
    }
    return shown;
}

// The letter after the mnemonic mark of a shown text, or none.
QChar MnemonicOf(const QString& shown) {
    for (qsizetype i = 0; i + 1 < shown.size(); ++i) {
        if (shown[i] != QLatin1Char('&')) continue;
        if (shown[i + 1] != QLatin1Char('&')) return shown[i + 1].toUpper();
        ++i;
    }
    return {};
}

QAction* MakeAction(int handle, int id, const QString& shown, QObject* parent) {
    auto* a = new QAction(shown, parent);
    a->setProperty(kBarProperty, handle);
    a->setProperty(kItemProperty, id);
    QObject::connect(a, &QAction::triggered, a, [handle, id] { Chosen(handle, id); });
    return a;
}

// F10 opens the bar's first menu, as on the desktop's other programs.
void OpenFirstMenu(QMenuBar* bar) {
    for (QAction* a : bar->actions()) {
        if (a->isSeparator() || !a->isVisible() || !a->isEnabled()) continue;
        bar->setActiveAction(a);
        return;
    }
}

// A menu of the bar, a command on the bar, or a menu's item, as assistive technology sees it:
// named by its text as the panel resource gives it (no mnemonic mark), its key as its key
// binding ("Alt+D" on the bar, the letter in an open menu), checked when it carries a check
// mark. Its action opens the menu or chooses the item as the user does; a choice returns at
// once and runs from the event loop, as the other accessible actions do. While a choice would
// be refused, the entry reads busy and offers no action.
class MenuItemAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    explicit MenuItemAccessible(QAction* action) : action_(action) {}

    bool isValid() const override { return action_ && Owner() && Entry(); }
    QObject* object() const override { return action_; }
    QWindow* window() const override {
        QWidget* owner = Owner();
        return owner ? owner->window()->windowHandle() : nullptr;
    }
    QAccessibleInterface* parent() const override {
        QWidget* owner = Owner();
        return owner ? QAccessible::queryAccessibleInterface(owner) : nullptr;
    }
    int childCount() const override { return Submenu() ? 1 : 0; }
    QAccessibleInterface* child(int index) const override {
        return index == 0 && Submenu() ? QAccessible::queryAccessibleInterface(Submenu()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* c) const override {
        return c && Submenu() && c->object() == Submenu() ? 0 : -1;
    }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    void setText(QAccessible::Text, const QString&) override {}

    QString text(QAccessible::Text t) const override {
        const MenuEntry* e = Entry();
        if (!e) return {};
        if (t == QAccessible::Name) return Q(e->label);
        if (t == QAccessible::Description) return action_->statusTip();
        if (t == QAccessible::Accelerator) return Key();
        return {};
    }
    QRect rect() const override {
        QRect r;
        if (auto* menu = qobject_cast<QMenu*>(Owner())) r = menu->actionGeometry(action_);
        else if (auto* bar = qobject_cast<QMenuBar*>(Owner())) r = bar->actionGeometry(action_);
        return r.isValid() ? QRect(Owner()->mapToGlobal(r.topLeft()), r.size()) : QRect();
    }
    QAccessible::Role role() const override { return QAccessible::MenuItem; }
    QAccessible::State state() const override {
        QAccessible::State s;
        if (!isValid()) return s;
        QWidget* owner = Owner();
        s.disabled = !action_->isEnabled() || !owner->isEnabled();
        s.invisible = !action_->isVisible() || !owner->isVisible();
        s.focusable = true;
        if (auto* menu = qobject_cast<QMenu*>(owner)) s.focused = menu->isVisible() && menu->activeAction() == action_;
        else if (auto* bar = qobject_cast<QMenuBar*>(owner)) s.focused = bar->activeAction() == action_;
        s.hasPopup = Submenu() != nullptr;
        s.checkable = action_->isCheckable();
        s.checked = action_->isChecked();
        s.busy = ChoiceRefused(Bar());
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType t) override {
        return t == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
    }

    QStringList actionNames() const override {
        if (!isValid() || !action_->isEnabled() || ChoiceRefused(Bar())) return {};
        if (Submenu()) return {showMenuAction(), pressAction()};
        return {pressAction()};
    }
    void doAction(const QString& action) override {
        if (!actionNames().contains(action)) return;
        if (QMenu* menu = Submenu()) {
            if (auto* bar = qobject_cast<QMenuBar*>(Owner())) bar->setActiveAction(action_);
            else if (auto* owner = qobject_cast<QMenu*>(Owner())) owner->setActiveAction(menu->menuAction());
            return;
        }
        // Chosen as by a click: the choice runs from the event loop once the tool's call has
        // returned, and is dropped, as a second click would be, if by then a popup or an
        // operation came first. The call has answered already and no event of the bus means "not
        // done": what the tool meets is what came first (the popup taking the focus, or the
        // operation), and the item reading busy with no action while it lasts.
        const int bar = Bar(), item = Entry()->id;
        AfterTheCall(
            action_, [action = action_, bar] { return action && action->isEnabled() && !ChoiceRefused(bar); },
            [bar, item] { FireMenu(bar, item); });
    }
    QStringList keyBindingsForAction(const QString& action) const override {
        const QString key = Key();
        return actionNames().contains(action) && !key.isEmpty() ? QStringList{key} : QStringList{};
    }

private:
    int Bar() const { return action_ ? action_->property(kBarProperty).toInt() : 0; }
    const MenuEntry* Entry() const {
        if (!action_) return nullptr;
        int err = 0;
        const MenuEntry* e = EntryOf(Bar(), action_->property(kItemProperty).toInt(), &err);
        return e && e->action == action_ ? e : nullptr;
    }
    // The menu or bar showing the action.
    QWidget* Owner() const {
        if (!action_) return nullptr;
        for (QObject* o : action_->associatedObjects())
            if (qobject_cast<QMenu*>(o) || qobject_cast<QMenuBar*>(o)) return static_cast<QWidget*>(o);
        return nullptr;
    }
    QMenu* Submenu() const { return action_ ? action_->menu<QMenu*>() : nullptr; }
    QString Key() const {
        const QChar letter = MnemonicOf(action_ ? action_->text() : QString());
        if (letter.isNull()) return {};
        if (qobject_cast<QMenuBar*>(Owner())) return QKeySequence::mnemonic(action_->text()).toString(QKeySequence::NativeText);
        return letter;
    }

    QPointer<QAction> action_;
};

// A separator, or an item of a menu the program did not load (a text box's own menu), as Qt
// shows them: a separator is dimmed and offers nothing; an item is chosen as by a click, once
// the tool's call has returned.
class PlainMenuItemAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    PlainMenuItemAccessible(QWidget* owner, QAction* action) : owner_(owner), action_(action) {}

    bool isValid() const override { return owner_ && action_; }
    QObject* object() const override { return action_; }
    QWindow* window() const override { return owner_ ? owner_->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override { return owner_ ? QAccessible::queryAccessibleInterface(owner_) : nullptr; }
    int childCount() const override { return Submenu() ? 1 : 0; }
    QAccessibleInterface* child(int index) const override {
        return index == 0 && Submenu() ? QAccessible::queryAccessibleInterface(Submenu()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* c) const override { return c && Submenu() && c->object() == Submenu() ? 0 : -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    void setText(QAccessible::Text, const QString&) override {}
    QString text(QAccessible::Text t) const override {
        if (!isValid() || action_->isSeparator()) return {};
        if (t == QAccessible::Name) return QString(action_->text()).remove(QRegularExpression(QStringLiteral("&(?!&)")));
        if (t == QAccessible::Accelerator) return action_->shortcut().toString(QKeySequence::NativeText);
        return {};
    }
    QRect rect() const override {
        QRect r;
        if (auto* menu = qobject_cast<QMenu*>(owner_.data())) r = menu->actionGeometry(action_);
        else if (auto* bar = qobject_cast<QMenuBar*>(owner_.data())) r = bar->actionGeometry(action_);
        return r.isValid() ? QRect(owner_->mapToGlobal(r.topLeft()), r.size()) : QRect();
    }
    QAccessible::Role role() const override {
        return action_ && action_->isSeparator() ? QAccessible::Separator : QAccessible::MenuItem;
    }
    QAccessible::State state() const override {
        QAccessible::State s;
        if (!isValid()) return s;
        s.invisible = !owner_->isVisible() || !action_->isVisible();
        if (auto* menu = qobject_cast<QMenu*>(owner_.data())) s.focused = menu->activeAction() == action_;
        else if (auto* bar = qobject_cast<QMenuBar*>(owner_.data())) s.focused = bar->activeAction() == action_;
        s.disabled = action_->isSeparator() || !action_->isEnabled();
        s.checkable = action_->isCheckable();
        s.checked = action_->isChecked();
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType t) override {
        return t == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
    }
    QStringList actionNames() const override {
        if (!isValid() || action_->isSeparator() || !action_->isEnabled() || AssistiveChangeRefused(owner_)) return {};
        return {Submenu() ? showMenuAction() : pressAction()};
    }
    void doAction(const QString& name) override {
        if (!actionNames().contains(name)) return;
        if (QMenu* menu = Submenu()) {
            if (auto* bar = qobject_cast<QMenuBar*>(owner_.data())) bar->setActiveAction(action_);
            else if (auto* owner = qobject_cast<QMenu*>(owner_.data())) owner->setActiveAction(menu->menuAction());
            return;
        }
        ::rt::detail::AfterTheCall(
            action_,
            [owner = owner_, action = action_] { return owner && action && action->isEnabled() && !AssistiveChangeRefused(owner); },
            [action = action_] {
                if (action) action->trigger();
            });
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    QMenu* Submenu() const { return action_ ? action_->menu<QMenu*>() : nullptr; }

    QPointer<QWidget> owner_;
    QPointer<QAction> action_;
};

// The interface of `action` shown in `owner`: the program's item, or a plain one made once.
QAccessibleInterface* ItemInterface(QWidget* owner, QAction* action) {
    if (QAccessibleInterface* i = QAccessible::queryAccessibleInterface(action)) return i;
    auto* plain = new PlainMenuItemAccessible(owner, action);
    QAccessible::registerAccessibleInterface(plain);
    return plain;
}

// A menu bar, or a menu (open or closed), as Qt shows them, its items (separators included) as
// its children; asked for a child out of range or for the index of no item of its own, it
// answers none.
class MenuListAccessible : public QAccessibleWidget {
public:
    MenuListAccessible(QWidget* w, QAccessible::Role role) : QAccessibleWidget(w, role) {}

    int childCount() const override { return static_cast<int>(widget()->actions().size()); }
    QAccessibleInterface* child(int index) const override {
        const QList<QAction*> actions = widget()->actions();
        return index >= 0 && index < actions.size() ? ItemInterface(widget(), actions.at(index)) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* c) const override {
        if (!c) return -1;
        auto* a = qobject_cast<QAction*>(c->object());
        return a ? static_cast<int>(widget()->actions().indexOf(a)) : -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        auto* menu = qobject_cast<QMenu*>(widget());
        QAction* a = menu ? menu->actionAt(menu->mapFromGlobal(QPoint(x, y))) : nullptr;
        return a && !a->isSeparator() ? ItemInterface(widget(), a) : QAccessibleWidget::childAt(x, y);
    }
    QString text(QAccessible::Text t) const override {
        const QString own = QAccessibleWidget::text(t);
        return own.isEmpty() && t == QAccessible::Name ? widget()->windowTitle() : own;
    }
    // A menu's parent is the entry that opens it.
    QAccessibleInterface* parent() const override {
        auto* menu = qobject_cast<QMenu*>(widget());
        if (QAction* opener = menu ? menu->menuAction() : nullptr)
            for (QObject* o : QList<QObject*>{menu->parentWidget()} + opener->associatedObjects())
                if ((qobject_cast<QMenu*>(o) || qobject_cast<QMenuBar*>(o)) && static_cast<QWidget*>(o)->actions().contains(opener))
                    return ItemInterface(static_cast<QWidget*>(o), opener);
        return QAccessibleWidget::parent();
    }
};

QAccessibleInterface* MenuFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("QMenu")) return new MenuListAccessible(static_cast<QWidget*>(object), QAccessible::PopupMenu);
    if (className == QLatin1String("QMenuBar")) return new MenuListAccessible(static_cast<QWidget*>(object), QAccessible::MenuBar);
    if (className != QLatin1String("QAction")) return nullptr;
    auto* a = qobject_cast<QAction*>(object);
    return a && a->property(kBarProperty).isValid() ? new MenuItemAccessible(a) : nullptr;
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
    static const bool accessible = (QAccessible::installFactory(MenuFactory), true);
    (void)accessible;
    auto* bar = new QMenuBar(owner ? owner->window.data() : nullptr);
    bar->setNativeMenuBar(false);
    new QShortcut(QKeySequence(Qt::Key_F10), bar, [bar] { OpenFirstMenu(bar); }, Qt::WindowShortcut);
    mb.bar = bar;
    QString barLetters;
    for (const json& menu : (*mj)["menus"]) {
        MenuEntry me;
        me.id = menu["id"].get<int>();
        me.isMenu = true;
        me.label = menu["label"].get<std::string>();
        me.callback = menu.value("callback", std::string());
        me.dimmed = menu.value("dimmed", false);
        const QString shown = WithMnemonic(me.label, &barLetters);
        if (!menu.contains("items") && !me.callback.empty()) {
            // A command on the bar itself.
            me.action = MakeAction(mb.handle, me.id, shown, bar);
            bar->addAction(me.action);
        } else {
            auto* m = new QMenu(shown, bar);
            me.action = m->menuAction();
            me.action->setProperty(kBarProperty, mb.handle);
            me.action->setProperty(kItemProperty, me.id);
            bar->addMenu(m);
            QString itemLetters;
            for (const json& item : menu.value("items", json::array())) {
                if (item.contains("separator")) {
                    m->addSeparator();
                    continue;
                }
                MenuEntry ie;
                ie.id = item["id"].get<int>();
                ie.label = item["label"].get<std::string>();
                ie.callback = item.value("callback", std::string());
                ie.checked = item.value("checked", false);
                ie.dimmed = item.value("dimmed", false);
                ie.action = MakeAction(mb.handle, ie.id, WithMnemonic(ie.label, &itemLetters), m);
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
