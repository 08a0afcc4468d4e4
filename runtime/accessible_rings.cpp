// Rings and slides as assistive technology sees them: a drop-down ring with its items as
// children, and the slider or bar of a slide or ring slide with its value as a number.
#include "runtime/accessible_internal.h"

#include <QAbstractSlider>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QProgressBar>
#include <QRegularExpression>
#include <QSlider>

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <vector>

namespace rt::detail {

namespace {

// The number a ring slide's item shows ("105Hz" 105, "1.1KHz" 1100, "-6dB" -6); none for a
// label that is no number with a unit ("Music").
std::optional<double> ShownNumber(const std::string& label) {
    static const QRegularExpression re(QStringLiteral("^\\s*([-+]?\\d+(?:\\.\\d+)?)\\s*([kKM]?)([A-Za-z%]*)\\s*$"));
    const QRegularExpressionMatch m = re.match(Q(label));
    if (!m.hasMatch()) return std::nullopt;
    double v = m.captured(1).toDouble();
    const QString prefix = m.captured(2);
    if (!prefix.isEmpty()) {
        if (m.captured(3).isEmpty()) return std::nullopt;  // "5K" alone: no unit to scale
        v *= prefix == "M" ? 1e6 : 1e3;
    }
    return v;
}

// The numbers a ring slide's items show, when every item shows one.
std::optional<std::vector<double>> ItemNumbers(const Control& c) {
    if (c.kind != Kind::RingSlide || c.items.empty()) return std::nullopt;
    std::vector<double> numbers;
    for (const Item& it : c.items) {
        std::optional<double> n = ShownNumber(it.label);
        if (!n) return std::nullopt;
        numbers.push_back(*n);
    }
    return numbers;
}

// One item of a ring's list.
class RingItemAccessible : public ItemAccessible<RingBox> {
public:
    using ItemAccessible::ItemAccessible;

    QString text(QAccessible::Text t) const override {
        return isValid() && t == QAccessible::Name ? owner_->itemText(index_) : QString();
    }
    QRect rect() const override { return {}; }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override {
        QAccessible::State s;
        s.selectable = Choosable();
        s.selected = isValid() && owner_->Row() == index_;
        s.disabled = !owner_ || !owner_->isEnabled() || !Choosable();
        s.busy = UserInputHeld();
        return s;
    }

    // Choosing an item is the user's choice (value changed, then commit).
    QStringList actionNames() const override {
        return Choosable() && Changeable(owner_) ? QStringList{pressAction()} : QStringList{};
    }
    void doAction(const QString& action) override {
        if (action != pressAction() || !Choosable() || !Changeable(owner_)) return;
        AfterTheCall(owner_, [ring = owner_, index = index_] {
            if (index < ring->count()) ring->ChooseRow(index);
        });
    }

private:
    // Not the row that shows a value no item has, which stands between the items.
    bool Choosable() const {
        return isValid() && !RingBox::ShowsNoItem(owner_->model()->index(index_, owner_->modelColumn(), owner_->rootModelIndex()));
    }
};

// A drop-down ring: named by its label (Qt's own combo-box interface takes the current item as
// the name on this platform, so a ring would be announced and found by its value), its current
// item as its value and description, its items as children.
class RingAccessible : public QAccessibleWidget, public OwnInterface {
public:
    explicit RingAccessible(RingBox* ring) : QAccessibleWidget(ring, QAccessible::ComboBox) {}

    RingBox* ring() const { return static_cast<RingBox*>(widget()); }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && !ring()->accessibleName().isEmpty()) return ring()->accessibleName();
        if (t == QAccessible::Value) return ring()->RowText();
        if (t == QAccessible::Description) return ShownWithTip(ring()->RowText(), QAccessibleWidget::text(t));
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.hasPopup = true;
        s.expandable = true;
        const bool open = ring()->ListOpen();
        s.expanded = open;
        s.collapsed = !open;
        s.busy = UserInputHeld();
        return s;
    }
    int childCount() const override { return ring()->count(); }
    QAccessibleInterface* child(int index) const override {
        if (index < 0 || index >= ring()->count()) return nullptr;
        return items_.Get(ring(), index);
    }
    int indexOfChild(const QAccessibleInterface* child) const override { return items_.IndexOf(child, ring()->count()); }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }

    QStringList actionNames() const override {
        return Changeable(ring()) ? QStringList{showMenuAction(), pressAction()} : QStringList{};
    }
    void doAction(const QString& action) override {
        if ((action == showMenuAction() || action == pressAction()) && Changeable(ring())) ring()->showPopup();
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    mutable ItemInterfaces<RingItemAccessible, RingBox> items_;
};

// The slider of a slide or ring slide, or the bar of an indicator slide: its value as the
// control shows it (the number beside the slider, the ring slide's item, the bar's text) and
// as a number on the value interface: a ring slide whose items show numbers gives the number
// of its item ("105Hz" 105), any other its item's index.
class SlideAccessible : public QAccessibleWidget, public QAccessibleValueInterface, public OwnInterface {
public:
    SlideAccessible(QWidget* w, QAccessible::Role role) : QAccessibleWidget(w, role) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) return Shown();
        if (t == QAccessible::Description) return ShownWithTip(Shown(), QAccessibleWidget::text(t));
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        if (const Control* c = OwnerOf(widget()); c && c->indicator) s.readOnly = true;
        s.busy = UserInputHeld();
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }
    QStringList actionNames() const override { return Changeable(widget()) ? QAccessibleWidget::actionNames() : QStringList{}; }
    void doAction(const QString& action) override {
        if (Changeable(widget())) QAccessibleWidget::doAction(action);
    }

    // The numbers are always numbers, as the bus reads them: where the control gives none (a ring
    // slide showing a value no item has, a bar still being built), the widget's own position.
    QVariant currentValue() const override {
        const Control* c = OwnerOf(widget());
        if (!c) return WidgetValue(&QProgressBar::value, &QAbstractSlider::value);
        if (c->kind != Kind::RingSlide) return c->num;
        if (std::optional<std::vector<double>> numbers = ItemNumbers(*c))
            return c->selected >= 0 && c->selected < static_cast<int>(numbers->size()) ? QVariant((*numbers)[c->selected])
                                                                                     : WidgetValue(&QProgressBar::value, &QAbstractSlider::value);
        return double(c->selected);
    }
    // A value set through assistive technology is the user's: the slider moves and its callback
    // runs. Refused on an indicator and while the user's input is held off.
    void setCurrentValue(const QVariant& value) override {
        const Control* c = OwnerOf(widget());
        auto* slider = qobject_cast<QSlider*>(widget());
        const std::optional<double> number = NumberSet(value);
        if (!c || !slider || !number || !Changeable(slider)) {
            TellValueUnchanged(widget(), currentValue());
            return;
        }
        const double v = *number;
        double pos = 0;
        if (c->kind != Kind::RingSlide) {
            pos = std::round((v - c->min) / c->step);
        } else {
            if (std::optional<std::vector<double>> numbers = ItemNumbers(*c)) pos = ItemFor(*numbers, c->selected, v);
            else pos = std::round(v);
            if (c->unlisted && pos >= c->unlistedAt) ++pos;  // past the position of the value shown
        }
        slider->setValue(static_cast<int>(std::clamp(pos, double(slider->minimum()), double(slider->maximum()))));
    }
    QVariant maximumValue() const override {
        const Control* c = OwnerOf(widget());
        if (!c) return WidgetValue(&QProgressBar::maximum, &QAbstractSlider::maximum);
        if (c->kind != Kind::RingSlide) return std::max(c->min, c->max);
        if (std::optional<std::vector<double>> numbers = ItemNumbers(*c)) return *std::max_element(numbers->begin(), numbers->end());
        return double(std::max(0, static_cast<int>(c->items.size()) - 1));
    }
    QVariant minimumValue() const override {
        const Control* c = OwnerOf(widget());
        if (!c) return WidgetValue(&QProgressBar::minimum, &QAbstractSlider::minimum);
        if (c->kind != Kind::RingSlide) return std::min(c->min, c->max);
        if (std::optional<std::vector<double>> numbers = ItemNumbers(*c)) return *std::min_element(numbers->begin(), numbers->end());
        return 0.0;
    }
    QVariant minimumStepSize() const override {
        const Control* c = OwnerOf(widget());
        if (!c) return 1.0;
        if (c->kind != Kind::RingSlide) return c->step;
        if (std::optional<std::vector<double>> numbers = ItemNumbers(*c)) {
            // The smallest gap between two items: a step of it from any item reaches the next.
            double gap = std::numeric_limits<double>::infinity();
            for (size_t i = 0; i < numbers->size(); ++i)
                for (size_t k = i + 1; k < numbers->size(); ++k)
                    if ((*numbers)[i] != (*numbers)[k]) gap = std::min(gap, std::abs((*numbers)[i] - (*numbers)[k]));
            return std::isfinite(gap) ? gap : 1.0;
        }
        return 1.0;
    }

private:
    QVariant WidgetValue(int (QProgressBar::*bar)() const, int (QAbstractSlider::*slider)() const) const {
        if (auto* b = qobject_cast<QProgressBar*>(widget())) return double((b->*bar)());
        if (auto* s = qobject_cast<QAbstractSlider*>(widget())) return double((s->*slider)());
        return 0.0;
    }
    QString Shown() const {
        if (auto* bar = qobject_cast<QProgressBar*>(widget())) return bar->text();
        const Control* c = OwnerOf(widget());
        return c && c->valueLabel ? c->valueLabel->text() : QString();
    }
    // The item a number asks for: the one showing it, else the nearest one past the current item
    // in the direction of the number (so a step up or down always reaches the next item).
    static int ItemFor(const std::vector<double>& numbers, int current, double v) {
        const double now = current >= 0 && current < static_cast<int>(numbers.size()) ? numbers[current] : v;
        int best = -1;
        for (int i = 0; i < static_cast<int>(numbers.size()); ++i) {
            if (numbers[i] == v) return i;
            const bool past = v > now ? numbers[i] >= v : numbers[i] <= v;
            if (past && (best < 0 || std::abs(numbers[i] - v) < std::abs(numbers[best] - v))) best = i;
        }
        if (best >= 0) return best;
        // Beyond the last item: the nearest of all.
        for (int i = 0; i < static_cast<int>(numbers.size()); ++i)
            if (best < 0 || std::abs(numbers[i] - v) < std::abs(numbers[best] - v)) best = i;
        return best;
    }
};

}  // namespace

QAccessibleInterface* NewRingAccessible(RingBox* ring) { return new RingAccessible(ring); }
QAccessibleInterface* NewSlideAccessible(QWidget* w, QAccessible::Role role) { return new SlideAccessible(w, role); }

}  // namespace rt::detail
