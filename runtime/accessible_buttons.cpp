// Buttons and lamps as assistive technology sees them.
#include "runtime/accessible_internal.h"

#include <QAbstractButton>
#include <QAccessibleWidget>

namespace rt::detail {

namespace {

// A button, check box, radio button, toggle or picture button: pressed or toggled as a click
// does it (PressButton), never from an indicator, and not while the user's input is held off.
class ButtonAccessible : public QAccessibleWidget, public OwnInterface {
public:
    ButtonAccessible(QAbstractButton* b, QAccessible::Role role) : QAccessibleWidget(b, role) {}
    QAbstractButton* button() const { return static_cast<QAbstractButton*>(widget()); }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && button()->accessibleName().isEmpty()) return button()->text().remove('&');
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        if (button()->isCheckable()) {
            s.checkable = true;
            s.checked = button()->isChecked();
        }
        s.pressed = button()->isDown();
        if (const Control* c = OwnerOf(widget()); c && c->indicator) s.readOnly = true;
        s.busy = UserInputHeld();
        return s;
    }
    QStringList actionNames() const override {
        if (!Changeable(button())) return {};
        QStringList names{button()->isCheckable() ? toggleAction() : pressAction()};
        return names + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override {
        if (!actionNames().contains(action)) return;
        if (action == toggleAction() || action == pressAction()) {
            if (const Control* c = OwnerOf(widget())) AfterTheCall(button(), [panel = c->panel, id = c->id] { PressButton(panel, id); });
            return;
        }
        QAccessibleWidget::doAction(action);
    }
};

// An indicator lamp: its label as name, lit or dark as its checked state.
class LedAccessible : public QAccessibleWidget, public OwnInterface {
public:
    explicit LedAccessible(LedWidget* led) : QAccessibleWidget(led, QAccessible::Indicator) {}
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.checkable = true;
        s.checked = static_cast<LedWidget*>(widget())->isOn();
        s.readOnly = true;
        return s;
    }
};

}  // namespace

QAccessibleInterface* NewButtonAccessible(QAbstractButton* b, QAccessible::Role role) { return new ButtonAccessible(b, role); }
QAccessibleInterface* NewLedAccessible(LedWidget* led) { return new LedAccessible(led); }

}  // namespace rt::detail
