// Controls as assistive technology sees them: named by their label, their value readable, a
// ring's items listed as its children with the current one selected, the tab in front selected,
// a lamp lit or dark. What an assistive tool changes takes the path of the user's own click or
// key (value changed, then commit), and is refused, with no action offered, while the user's
// input is held off: during a wait, while a callback runs, and under a modal popup.
//
// This file holds what the interfaces share and the factory that makes them; each kind lives in
// its own file: accessible_rings.cpp (rings and slides), accessible_text.cpp (entries, text
// boxes, numerics), accessible_buttons.cpp (buttons and lamps), accessible_tabs.cpp (tab areas
// and scroll areas), accessible_views.cpp (lists and tables with their cells and headers).
#include "runtime/accessible_internal.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QRadioButton>
#include <QScrollArea>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>

#include <cmath>
#include <functional>
#include <optional>
#include <utility>

namespace rt::detail {

bool UnderModalPopup(const QWidget* w) {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || !w) return false;
    const QWidget* window = w->window();
    if (window == modal) return false;
    if (modal->windowModality() == Qt::WindowModal) {
        // A window-modal popup blocks the windows it stands over only.
        for (const QWidget* p = modal->parentWidget(); p; p = p->parentWidget())
            if (p->window() == window) return true;
        return false;
    }
    return true;
}

bool UserInputHeld() { return HoldingCallbacks() || CallbackDepth() > 0; }

bool AssistiveChangeRefused(const QWidget* w) { return UserInputHeld() || UnderModalPopup(w); }

void AfterTheCall(QObject* target, std::function<bool()> allowed, std::function<void()> act) {
    QMetaObject::invokeMethod(
        target,
        [allowed = std::move(allowed), act = std::move(act)] {
            if (allowed()) act();
        },
        Qt::QueuedConnection);
}

// A control's description: the value it shows, then its tool tip if it has one.
QString ShownWithTip(const QString& shown, const QString& tip) { return tip.isEmpty() ? shown : shown + '\n' + tip; }

const Control* OwnerOf(const QWidget* w) {
    if (!w) return nullptr;
    const QVariant panel = w->property("rtPanel"), control = w->property("rtControl");
    if (!panel.isValid() || !control.isValid()) return nullptr;
    return FindControl(panel.toInt(), control.toInt(), nullptr);
}

// Whether an assistive tool may change the control of `w` now.
bool Changeable(const QWidget* w) {
    const Control* c = OwnerOf(w);
    return w && w->isEnabled() && !(c && c->indicator) && !AssistiveChangeRefused(w);
}

// A refused value set leaves the value as it was; this tells the tool to read it again.
void TellValueUnchanged(QObject* o, const QVariant& value) {
    QAccessibleValueChangeEvent e(o, value);
    QAccessible::updateAccessibility(&e);
}

// The number a tool sets, when it gives one: a value that is no finite number is refused.
std::optional<double> NumberSet(const QVariant& value) {
    bool ok = false;
    const double v = value.toDouble(&ok);
    return ok && std::isfinite(v) ? std::optional<double>(v) : std::nullopt;
}

// What an action starts runs once the tool's call has returned, from the event loop as a click
// does: the tool is answered at once however long the operation takes. An action accepted then
// is dropped when, by its turn, its control can no longer be changed (gone, dimmed, or a popup or
// an operation came first), as a click would be.
void AfterTheCall(QWidget* w, std::function<void()> act) {
    ::rt::detail::AfterTheCall(
        w, [target = QPointer<QWidget>(w)] { return target && Changeable(target); }, std::move(act));
}

namespace {

// Told by the widget, not the control: the interface may be asked for while the control is
// still being built.
QAccessible::Role ButtonRole(const QAbstractButton* b) {
    if (qobject_cast<const QCheckBox*>(b)) return QAccessible::CheckBox;
    if (qobject_cast<const QRadioButton*>(b)) return QAccessible::RadioButton;
    return QAccessible::Button;
}

QAccessibleInterface* Factory(const QString& className, QObject* object) {
    if (!object || !object->isWidgetType()) return nullptr;
    auto* w = static_cast<QWidget*>(object);
    if (className == QLatin1String("QComboBox") && object->property("rtRing").toBool()) {
        if (auto* ring = dynamic_cast<RingBox*>(object)) return NewRingAccessible(ring);
    }
    if (className == QLatin1String("QTabBar")) {
        auto* area = qobject_cast<QTabWidget*>(w->parentWidget());
        if (area && area->property("rtControl").isValid()) return NewTabBarAccessible(static_cast<QTabBar*>(object));
        return nullptr;
    }
    if (className == QLatin1String("QScrollArea")) return NewScrollAreaAccessible(static_cast<QScrollArea*>(object));
    // Entries, text boxes, lists and tables wherever the program shows them (a table's cell
    // editor, a ring's open list, a spin box's entry), in place of Qt's own.
    if (className == QLatin1String("QLineEdit")) return NewLineEditAccessible(static_cast<QLineEdit*>(object));
    if (className == QLatin1String("QPlainTextEdit")) return NewTextBoxAccessible(static_cast<QPlainTextEdit*>(object));
    if (className == QLatin1String("QListView") || className == QLatin1String("QTableView"))
        return NewItemViewAccessible(static_cast<QAbstractItemView*>(object));
    if (!object->property("rtControl").isValid()) return nullptr;
    if (className == QLatin1String("QSlider")) return NewSlideAccessible(w, QAccessible::Slider);
    if (className == QLatin1String("QProgressBar")) return NewSlideAccessible(w, QAccessible::ProgressBar);
    if (auto* box = qobject_cast<QAbstractSpinBox*>(object)) return NewNumericAccessible(box);
    if (auto* b = qobject_cast<QAbstractButton*>(object)) return NewButtonAccessible(b, ButtonRole(b));
    if (auto* tabs = qobject_cast<QTabWidget*>(object)) return NewTabAreaAccessible(tabs);
    if (auto* led = dynamic_cast<LedWidget*>(w)) return NewLedAccessible(led);
    return nullptr;
}

}  // namespace

void InstallAccessibleInterfaces() {
    static const bool installed = (QAccessible::installFactory(Factory), GuardAccessibilityBus(), true);
    (void)installed;
}

void MarkForAccessibility(QWidget* part, int panel, int control) {
    InstallAccessibleInterfaces();
    part->setProperty("rtPanel", panel);
    part->setProperty("rtControl", control);
    // A widget may announce itself while it is built, before this mark: an interface made then
    // is Qt's own, and is dropped so that the next one asked for is ours.
    auto renew = [](QWidget* w) {
        QAccessibleInterface* cached = QAccessible::queryAccessibleInterface(w);
        if (cached && !dynamic_cast<OwnInterface*>(cached)) QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(cached));
    };
    if (auto* tabs = qobject_cast<QTabWidget*>(part)) renew(tabs->tabBar());
    if (qobject_cast<QAbstractButton*>(part) || qobject_cast<QAbstractSpinBox*>(part) || qobject_cast<QAbstractSlider*>(part) ||
        qobject_cast<QProgressBar*>(part) || qobject_cast<QTabWidget*>(part) || dynamic_cast<LedWidget*>(part) ||
        qobject_cast<QLineEdit*>(part) || qobject_cast<QPlainTextEdit*>(part) || qobject_cast<QListView*>(part) ||
        qobject_cast<QTableView*>(part))
        renew(part);
}

}  // namespace rt::detail
