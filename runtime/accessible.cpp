// Rings and slides as assistive technology sees them: named by their label, their value readable,
// a ring's items listed as its children with the current one selected.
#include "runtime/rt_internal.h"

#include <QAccessible>
#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QLabel>
#include <QMap>
#include <QPointer>
#include <QProgressBar>
#include <QSlider>

#include <algorithm>
#include <cmath>

namespace rt::detail {

namespace {

// A control's description: the value it shows, then its tool tip if it has one.
QString ShownWithTip(const QString& shown, const QString& tip) { return tip.isEmpty() ? shown : shown + '\n' + tip; }

// One item of a ring's list.
class RingItemAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    RingItemAccessible(QComboBox* ring, int index) : ring_(ring), index_(index) {}

    bool isValid() const override { return ring_ && index_ < ring_->count(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return nullptr; }
    QAccessibleInterface* parent() const override { return ring_ ? QAccessible::queryAccessibleInterface(ring_.data()) : nullptr; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override {
        return isValid() && t == QAccessible::Name ? ring_->itemText(index_) : QString();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override { return {}; }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override {
        QAccessible::State s;
        s.selectable = true;
        s.selected = isValid() && ring_->currentIndex() == index_;
        s.disabled = !ring_ || !ring_->isEnabled();
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType t) override {
        return t == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
    }

    // Choosing an item is the user's choice (value changed, then commit); none during a wait.
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& action) override {
        if (action != pressAction() || !isValid() || !ring_->isEnabled() || HoldingCallbacks()) return;
        if (ring_->focusPolicy() == Qt::NoFocus && ring_->property("rtFocusPolicy").isValid()) return;  // indicator
        ring_->setCurrentIndex(index_);
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    QPointer<QComboBox> ring_;
    int index_;
};

// A drop-down ring: named by its label (Qt's own combo-box interface takes the current item as
// the name on this platform, so a ring would be announced and found by its value), its current
// item as its value and description, its items as children.
class RingAccessible : public QAccessibleWidget {
public:
    explicit RingAccessible(QComboBox* ring) : QAccessibleWidget(ring, QAccessible::ComboBox) {}
    ~RingAccessible() override {
        for (QAccessible::Id id : items_) QAccessible::deleteAccessibleInterface(id);
    }

    QComboBox* ring() const { return static_cast<QComboBox*>(widget()); }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && !ring()->accessibleName().isEmpty()) return ring()->accessibleName();
        if (t == QAccessible::Value) return ring()->currentText();
        if (t == QAccessible::Description) return ShownWithTip(ring()->currentText(), QAccessibleWidget::text(t));
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.hasPopup = true;
        s.expandable = true;
        const bool open = ring()->view() && ring()->view()->isVisible();
        s.expanded = open;
        s.collapsed = !open;
        return s;
    }
    int childCount() const override { return ring()->count(); }
    QAccessibleInterface* child(int index) const override {
        if (index < 0 || index >= ring()->count()) return nullptr;
        auto it = items_.constFind(index);
        if (it != items_.constEnd())
            if (QAccessibleInterface* i = QAccessible::accessibleInterface(*it)) return i;
        auto* item = new RingItemAccessible(ring(), index);
        items_.insert(index, QAccessible::registerAccessibleInterface(item));
        return item;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        for (auto it = items_.constBegin(); it != items_.constEnd(); ++it)
            if (QAccessible::accessibleInterface(it.value()) == child) return it.key() < ring()->count() ? it.key() : -1;
        return -1;
    }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }

    QStringList actionNames() const override { return {showMenuAction(), pressAction()}; }
    void doAction(const QString& action) override {
        if ((action == showMenuAction() || action == pressAction()) && !HoldingCallbacks()) ring()->showPopup();
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    mutable QMap<int, QAccessible::Id> items_;
};

// The slider of a slide or ring slide, or the bar of an indicator slide: its value as the
// control shows it (the number beside the slider, the ring slide's item, the bar's text) and
// as a number on the value interface.
class SlideAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    SlideAccessible(QWidget* w, QAccessible::Role role) : QAccessibleWidget(w, role) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) return Shown();
        if (t == QAccessible::Description) return ShownWithTip(Shown(), QAccessibleWidget::text(t));
        return QAccessibleWidget::text(t);
    }
    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    QVariant currentValue() const override {
        const Control* c = Owner();
        if (!c) return {};
        return c->kind == Kind::RingSlide ? QVariant(c->selected) : QVariant(c->num);
    }
    // A value set through assistive technology is the user's: the slider moves and its callback
    // runs. Not on an indicator, nor during a wait.
    void setCurrentValue(const QVariant& value) override {
        const Control* c = Owner();
        auto* slider = qobject_cast<QSlider*>(widget());
        if (!c || !slider || c->indicator || !slider->isEnabled() || HoldingCallbacks()) return;
        const double v = value.toDouble();
        const int pos = c->kind == Kind::RingSlide ? static_cast<int>(std::lround(v))
                                                   : static_cast<int>(std::lround((v - c->min) / c->step));
        slider->setValue(pos);
    }
    QVariant maximumValue() const override {
        const Control* c = Owner();
        if (!c) return {};
        return c->kind == Kind::RingSlide ? QVariant(std::max(0, static_cast<int>(c->items.size()) - 1))
                                          : QVariant(std::max(c->min, c->max));
    }
    QVariant minimumValue() const override {
        const Control* c = Owner();
        if (!c) return {};
        return c->kind == Kind::RingSlide ? QVariant(0) : QVariant(std::min(c->min, c->max));
    }
    QVariant minimumStepSize() const override {
        const Control* c = Owner();
        if (!c) return {};
        return c->kind == Kind::RingSlide ? QVariant(1) : QVariant(c->step);
    }

private:
    const Control* Owner() const {
        return FindControl(widget()->property("rtPanel").toInt(), widget()->property("rtControl").toInt(), nullptr);
    }
    QString Shown() const {
        if (auto* bar = qobject_cast<QProgressBar*>(widget())) return bar->text();
        const Control* c = Owner();
        return c && c->valueLabel ? c->valueLabel->text() : QString();
    }
};

QAccessibleInterface* Factory(const QString& className, QObject* object) {
    if (!object) return nullptr;
    if (className == QLatin1String("QComboBox") && object->property("rtRing").toBool())
        return new RingAccessible(static_cast<QComboBox*>(object));
    if (object->property("rtControl").isValid()) {
        if (className == QLatin1String("QSlider")) return new SlideAccessible(static_cast<QWidget*>(object), QAccessible::Slider);
        if (className == QLatin1String("QProgressBar"))
            return new SlideAccessible(static_cast<QWidget*>(object), QAccessible::ProgressBar);
    }
    return nullptr;
}

}  // namespace

void InstallAccessibleInterfaces() {
    static const bool installed = (QAccessible::installFactory(Factory), true);
    (void)installed;
}

void MarkSlideForAccessibility(QWidget* part, int panel, int control) {
    InstallAccessibleInterfaces();
    part->setProperty("rtPanel", panel);
    part->setProperty("rtControl", control);
}

}  // namespace rt::detail
