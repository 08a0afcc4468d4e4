// Private to runtime/: what the accessible interfaces of the run-time's controls share, and the
// makers of each kind of interface for the factory (runtime/accessible.cpp).
#pragma once

#include "runtime/rt_internal.h"
#include "runtime/rt_widgets.h"

#include <QAccessible>
#include <QAccessibleInterface>
#include <QMap>
#include <QPointer>
#include <QString>
#include <QVariant>

#include <functional>
#include <optional>

class QAbstractButton;
class QAbstractItemView;
class QAbstractSpinBox;
class QLineEdit;
class QPlainTextEdit;
class QScrollArea;
class QTabBar;
class QTabWidget;

namespace rt::detail {

// Marks the interfaces made here (the others are Qt's own).
struct OwnInterface {
    virtual ~OwnInterface() = default;
};

// A control's description: the value it shows, then its tool tip if it has one.
QString ShownWithTip(const QString& shown, const QString& tip);

// The control that `w` shows or is part of, if any.
const Control* OwnerOf(const QWidget* w);

// Whether an assistive tool may change the control of `w` now.
bool Changeable(const QWidget* w);

// A refused value set leaves the value as it was; this tells the tool to read it again.
void TellValueUnchanged(QObject* o, const QVariant& value);

// The number a tool sets, when it gives one: a value that is no finite number is refused.
std::optional<double> NumberSet(const QVariant& value);

// What an action starts runs once the tool's call has returned, from the event loop as a click
// does: the tool is answered at once however long the operation takes. An action accepted then
// is dropped when, by its turn, its control can no longer be changed (gone, dimmed, or a popup or
// an operation came first), as a click would be.
void AfterTheCall(QWidget* w, std::function<void()> act);

// One item of a widget's list of items (a ring's item, a tab of the tab bar): no widget of its
// own, its owner as parent, no children, one action.
template <typename Owner>
class ItemAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    ItemAccessible(Owner* owner, int index) : owner_(owner), index_(index) {}

    bool isValid() const override { return owner_ && index_ < owner_->count(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return nullptr; }
    QAccessibleInterface* parent() const override { return owner_ ? QAccessible::queryAccessibleInterface(owner_.data()) : nullptr; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    void setText(QAccessible::Text, const QString&) override {}
    void* interface_cast(QAccessible::InterfaceType t) override {
        return t == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

protected:
    QPointer<Owner> owner_;
    int index_;
};

// The interfaces of a widget's items, made when first asked for and kept by index.
template <typename Item, typename Owner>
class ItemInterfaces {
public:
    ItemInterfaces() = default;
    ItemInterfaces(const ItemInterfaces&) = delete;
    ItemInterfaces& operator=(const ItemInterfaces&) = delete;
    ~ItemInterfaces() {
        for (QAccessible::Id id : ids_) QAccessible::deleteAccessibleInterface(id);
    }

    QAccessibleInterface* Get(Owner* owner, int index) {
        auto it = ids_.constFind(index);
        if (it != ids_.constEnd())
            if (QAccessibleInterface* i = QAccessible::accessibleInterface(*it)) return i;
        auto* item = new Item(owner, index);
        ids_.insert(index, QAccessible::registerAccessibleInterface(item));
        return item;
    }
    // The index of `child` among the first `count` items, else -1.
    int IndexOf(const QAccessibleInterface* child, int count) const {
        for (auto it = ids_.constBegin(); it != ids_.constEnd(); ++it)
            if (QAccessible::accessibleInterface(it.value()) == child) return it.key() < count ? it.key() : -1;
        return -1;
    }

private:
    QMap<int, QAccessible::Id> ids_;
};

// Where a child of a list or table stands, by its index among the view's children: a cell its
// row and column, each spanning one, and whether it is selected; a row header the row it heads
// and a column header the column (the other -1); the corner, or an index of no child, -1 and -1.
struct ChildPlace {
    bool cell = false;
    int row = -1, column = -1;
    int rowExtent = 0, columnExtent = 0;
    bool selected = false;
};
// The place of the child at `index` of `view`, when `view` is a list or table made here.
std::optional<ChildPlace> PlaceOfChild(QAccessibleInterface* view, int index);

// Qt tells assistive technology that a table itself took the focus when the focus comes to it
// (Tab from another control, an editor closed by Return): a screen reader then says the table,
// not the cell the user is on. Called as the focus arrives, before Qt's focus event, this holds
// that event back and tells of the view's current cell in its place once the events already
// waiting have run, as the view's own events do for a move between cells.
void NameCurrentCellOnFocus(QAbstractItemView* view);

// A cell's editor is filled before it is shown and focused, and tells assistive technology of
// its text then: a screen reader handling that once the editor has the focus takes the editor
// for the focus without saying it (the cell's name, what the editor holds). Called as the editor
// is made, the editor's text and value events are dropped until it has the focus.
void QuietUntilFocused(QWidget* editor);

// The interfaces of each kind, made for the factory.
QAccessibleInterface* NewRingAccessible(RingBox* ring);
QAccessibleInterface* NewSlideAccessible(QWidget* w, QAccessible::Role role);
QAccessibleInterface* NewLineEditAccessible(QLineEdit* e);
QAccessibleInterface* NewTextBoxAccessible(QPlainTextEdit* box);
QAccessibleInterface* NewNumericAccessible(QAbstractSpinBox* box);
QAccessibleInterface* NewButtonAccessible(QAbstractButton* b, QAccessible::Role role);
QAccessibleInterface* NewLedAccessible(LedWidget* led);
QAccessibleInterface* NewTabAreaAccessible(QTabWidget* tabs);
QAccessibleInterface* NewTabBarAccessible(QTabBar* bar);
QAccessibleInterface* NewScrollAreaAccessible(QScrollArea* area);
QAccessibleInterface* NewItemViewAccessible(QAbstractItemView* view);

}  // namespace rt::detail
