// Controls as assistive technology sees them: named by their label, their value readable, a
// ring's items listed as its children with the current one selected, the tab in front selected,
// a lamp lit or dark. What an assistive tool changes takes the path of the user's own click or
// key (value changed, then commit), and is refused, with no action offered, while the user's
// input is held off: during a wait, while a callback runs, and under a modal popup.
#include "runtime/rt_internal.h"
#include "runtime/rt_widgets.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QPointer>
#include <QProgressBar>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <optional>

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

namespace {

// Marks the interfaces made here (the others are Qt's own).
struct OwnInterface {
    virtual ~OwnInterface() = default;
};

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
    QMetaObject::invokeMethod(
        w, [target = QPointer<QWidget>(w), act = std::move(act)] {
            if (target && Changeable(target)) act();
        },
        Qt::QueuedConnection);
}

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

// A tab's text as read: its shortcut mark taken out ("&&" stands for "&").
QString WithoutMnemonic(QString text) {
    text.replace(QLatin1String("&&"), QString(QChar(0x1)));
    text.remove(QLatin1Char('&'));
    text.replace(QChar(0x1), QLatin1Char('&'));
    return text;
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

    QVariant currentValue() const override {
        const Control* c = OwnerOf(widget());
        if (!c) return {};
        if (c->kind != Kind::RingSlide) return c->num;
        if (std::optional<std::vector<double>> numbers = ItemNumbers(*c))
            return c->selected >= 0 && c->selected < static_cast<int>(numbers->size()) ? QVariant((*numbers)[c->selected]) : QVariant();
        return c->selected;
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
        if (!c) return {};
        if (c->kind != Kind::RingSlide) return std::max(c->min, c->max);
        if (std::optional<std::vector<double>> numbers = ItemNumbers(*c)) return *std::max_element(numbers->begin(), numbers->end());
        return std::max(0, static_cast<int>(c->items.size()) - 1);
    }
    QVariant minimumValue() const override {
        const Control* c = OwnerOf(widget());
        if (!c) return {};
        if (c->kind != Kind::RingSlide) return std::min(c->min, c->max);
        if (std::optional<std::vector<double>> numbers = ItemNumbers(*c)) return *std::min_element(numbers->begin(), numbers->end());
        return 0;
    }
    QVariant minimumStepSize() const override {
        const Control* c = OwnerOf(widget());
        if (!c) return {};
        if (c->kind != Kind::RingSlide) return c->step;
        if (std::optional<std::vector<double>> numbers = ItemNumbers(*c)) {
            // The smallest gap between two items: a step of it from any item reaches the next.
            double gap = std::numeric_limits<double>::infinity();
            for (size_t i = 0; i < numbers->size(); ++i)
                for (size_t k = i + 1; k < numbers->size(); ++k)
                    if ((*numbers)[i] != (*numbers)[k]) gap = std::min(gap, std::abs((*numbers)[i] - (*numbers)[k]));
            return std::isfinite(gap) ? gap : 1.0;
        }
        return 1;
    }

private:
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

// A numeric entry: named by its label, the text it shows as its value and description, and as
// its text (with the caret and selection of its entry, so typing in it is read). A decimal one
// gives its number on the value interface; a hexadecimal one shows digits no number read aloud
// would match ("1470" for 5232), so it gives only the text, and steps up and down by actions.
class NumericAccessible : public QAccessibleWidget,
                          public OwnInterface,
                          public QAccessibleValueInterface,
                          public QAccessibleTextInterface {
public:
    explicit NumericAccessible(QAbstractSpinBox* box) : QAccessibleWidget(box, QAccessible::SpinBox) {}

    QAbstractSpinBox* box() const { return static_cast<QAbstractSpinBox*>(widget()); }
    bool hex() const {
        auto* i = qobject_cast<QSpinBox*>(widget());
        return i && i->displayIntegerBase() != 10;
    }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) return box()->text();
        if (t == QAccessible::Description) return ShownWithTip(box()->text(), QAccessibleWidget::text(t));
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.editable = !box()->isReadOnly();
        s.readOnly = box()->isReadOnly();
        s.busy = UserInputHeld();
        return s;
    }
    // The entry inside is the spin box itself to assistive technology.
    int childCount() const override { return 0; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }

    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::ValueInterface) return hex() ? nullptr : static_cast<QAccessibleValueInterface*>(this);
        if (t == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    // Text interface: the entry's text; offsets past it are taken as its ends.
    QString text(int startOffset, int endOffset) const override {
        const QString all = Entry() ? Entry()->text() : box()->text();
        const int end = endOffset < 0 ? all.size() : std::clamp(endOffset, 0, static_cast<int>(all.size()));
        const int start = std::clamp(startOffset, 0, end);
        return all.mid(start, end - start);
    }
    int characterCount() const override { return static_cast<int>(text(0, -1).size()); }
    int cursorPosition() const override { return Entry() ? Entry()->cursorPosition() : characterCount(); }
    void setCursorPosition(int position) override {
        if (QLineEdit* e = Entry()) e->setCursorPosition(std::clamp(position, 0, characterCount()));
    }
    int selectionCount() const override { return Entry() && Entry()->hasSelectedText() ? 1 : 0; }
    void selection(int index, int* startOffset, int* endOffset) const override {
        *startOffset = *endOffset = 0;
        if (index != 0 || !selectionCount()) return;
        *startOffset = Entry()->selectionStart();
        *endOffset = Entry()->selectionEnd();
    }
    void addSelection(int startOffset, int endOffset) override { setSelection(0, startOffset, endOffset); }
    void removeSelection(int index) override {
        if (index == 0 && Entry()) Entry()->deselect();
    }
    void setSelection(int index, int startOffset, int endOffset) override {
        const int count = characterCount();
        const int start = std::clamp(startOffset, 0, count), end = std::clamp(endOffset, 0, count);
        if (index == 0 && Entry()) Entry()->setSelection(start, end - start);
    }
    // The box of a character, worked out from the entry's font and alignment.
    QRect characterRect(int offset) const override {
        QLineEdit* e = Entry();
        const QString all = text(0, -1);
        if (!e || offset < 0 || offset >= all.size()) return {};
        const QFontMetrics fm(e->font());
        const QRect inside = e->contentsRect().adjusted(2, 0, -2, 0);
        const int left = e->alignment() & Qt::AlignRight ? inside.right() - fm.horizontalAdvance(all) : inside.left();
        const QPoint at(left + fm.horizontalAdvance(all.left(offset)), inside.top());
        return {e->mapToGlobal(at), QSize(fm.horizontalAdvance(all.at(offset)), inside.height())};
    }
    int offsetAtPoint(const QPoint& point) const override {
        QLineEdit* e = Entry();
        return e ? e->cursorPositionAt(e->mapFromGlobal(point)) : -1;
    }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int* startOffset, int* endOffset) const override {
        *startOffset = 0;
        *endOffset = characterCount();
        return {};
    }

    QStringList actionNames() const override {
        if (!Changeable(box()) || box()->isReadOnly()) return {};
        QStringList names = QAccessibleWidget::actionNames();
        if (hex()) names << increaseAction() << decreaseAction();
        return names;
    }
    void doAction(const QString& action) override {
        if (!actionNames().contains(action)) return;
        if (action == increaseAction() || action == decreaseAction())
            AfterTheCall(box(), [box = QPointer<QAbstractSpinBox>(box()), steps = action == increaseAction() ? 1 : -1] {
                if (box && !box->isReadOnly()) box->stepBy(steps);
            });
        else
            QAccessibleWidget::doAction(action);
    }

    // Value interface (decimal entries).
    QVariant currentValue() const override {
        const Control* c = OwnerOf(widget());
        return c ? QVariant(c->num) : QVariant();
    }
    void setCurrentValue(const QVariant& value) override {
        const std::optional<double> v = NumberSet(value);
        if (!v || !Changeable(box()) || box()->isReadOnly()) {
            TellValueUnchanged(widget(), currentValue());
            return;
        }
        if (auto* i = qobject_cast<QSpinBox*>(widget()))
            i->setValue(static_cast<int>(std::clamp(std::round(*v), double(i->minimum()), double(i->maximum()))));
        else if (auto* d = qobject_cast<QDoubleSpinBox*>(widget()))
            d->setValue(*v);
    }
    QVariant maximumValue() const override {
        if (auto* i = qobject_cast<QSpinBox*>(widget())) return i->maximum();
        if (auto* d = qobject_cast<QDoubleSpinBox*>(widget())) return d->maximum();
        return {};
    }
    QVariant minimumValue() const override {
        if (auto* i = qobject_cast<QSpinBox*>(widget())) return i->minimum();
        if (auto* d = qobject_cast<QDoubleSpinBox*>(widget())) return d->minimum();
        return {};
    }
    QVariant minimumStepSize() const override {
        if (auto* i = qobject_cast<QSpinBox*>(widget())) return i->singleStep();
        if (auto* d = qobject_cast<QDoubleSpinBox*>(widget())) return d->singleStep();
        return {};
    }

private:
    QLineEdit* Entry() const { return box()->findChild<QLineEdit*>(QString(), Qt::FindDirectChildrenOnly); }
};

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

// The tab area: named after the window it fills once it holds tabs (the text it was named by
// beside it belongs to the model choice, not to the tabs).
class TabAreaAccessible : public QAccessibleWidget, public OwnInterface {
public:
    explicit TabAreaAccessible(QTabWidget* tabs) : QAccessibleWidget(tabs, QAccessible::Client) {}
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) return TabAreaName(static_cast<QTabWidget*>(widget()));
        return QAccessibleWidget::text(t);
    }
    static QString TabAreaName(const QTabWidget* tabs) {
        if (tabs->count() > 0 && !tabs->window()->windowTitle().trimmed().isEmpty())
            return tabs->window()->windowTitle().simplified();
        return tabs->accessibleName();
    }
};

// One tab of the tab area's bar: selected when in front; pressing it brings it to the front as
// a click does.
class TabAccessible : public ItemAccessible<QTabBar> {
public:
    using ItemAccessible::ItemAccessible;

    QString text(QAccessible::Text t) const override {
        if (!isValid()) return {};
        if (t == QAccessible::Name) return WithoutMnemonic(owner_->tabText(index_));
        if (t == QAccessible::Description) return owner_->tabToolTip(index_);
        return {};
    }
    QRect rect() const override {
        if (!isValid()) return {};
        const QRect r = owner_->tabRect(index_);
        return QRect(owner_->mapToGlobal(r.topLeft()), r.size());
    }
    QAccessible::Role role() const override { return QAccessible::PageTab; }
    QAccessible::State state() const override {
        QAccessible::State s;
        if (!isValid()) return s;
        s.selectable = true;
        s.selected = owner_->currentIndex() == index_;
        s.focusable = true;
        s.focused = s.selected && owner_->hasFocus();
        s.invisible = !owner_->isTabVisible(index_) || !owner_->isVisible();
        s.disabled = !owner_->isEnabled() || !owner_->isTabEnabled(index_);
        s.busy = UserInputHeld();
        return s;
    }
    QStringList actionNames() const override {
        return isValid() && Changeable(owner_) && owner_->isTabEnabled(index_) ? QStringList{pressAction()} : QStringList{};
    }
    void doAction(const QString& action) override {
        if (!actionNames().contains(action)) return;
        AfterTheCall(owner_, [bar = owner_, index = index_] {
            if (index < bar->count() && bar->isTabEnabled(index)) bar->setCurrentIndex(index);
        });
    }
};

// The tab area's bar: named as the tab area, its tabs as children, then its scroll buttons.
class TabBarAccessible : public QAccessibleWidget, public OwnInterface {
public:
    explicit TabBarAccessible(QTabBar* bar) : QAccessibleWidget(bar, QAccessible::PageTabList) {}
    QTabBar* bar() const { return static_cast<QTabBar*>(widget()); }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name)
            if (auto* area = qobject_cast<QTabWidget*>(bar()->parentWidget())) return TabAreaAccessible::TabAreaName(area);
        return QAccessibleWidget::text(t);
    }
    int childCount() const override { return bar()->count() + QAccessibleWidget::childCount(); }
    QAccessibleInterface* child(int index) const override {
        if (index < 0) return nullptr;
        if (index >= bar()->count()) return QAccessibleWidget::child(index - bar()->count());
        return tabs_.Get(bar(), index);
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        if (const int tab = tabs_.IndexOf(child, bar()->count()); tab >= 0) return tab;
        const int other = QAccessibleWidget::indexOfChild(child);
        return other < 0 ? -1 : bar()->count() + other;
    }

private:
    mutable ItemInterfaces<TabAccessible, QTabBar> tabs_;
};

// A scrolling area (a tab page, the column of model choices): its viewport, then the scroll bars
// shown, as Qt's own interface lists them; a child asked for past the last, or the index of
// no child, is none (Qt's own interface reads past its list there).
class ScrollAreaAccessible : public QAccessibleWidget, public OwnInterface {
public:
    explicit ScrollAreaAccessible(QAbstractScrollArea* area) : QAccessibleWidget(area, QAccessible::Client) {}

    int childCount() const override { return static_cast<int>(Children().size()); }
    QAccessibleInterface* child(int index) const override {
        const QWidgetList children = Children();
        return index >= 0 && index < children.size() ? QAccessible::queryAccessibleInterface(children.at(index)) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        if (!child || !child->object() || !child->object()->isWidgetType()) return -1;
        return static_cast<int>(Children().indexOf(static_cast<QWidget*>(child->object())));
    }

private:
    QWidgetList Children() const {
        auto* area = static_cast<QAbstractScrollArea*>(widget());
        QWidgetList children;
        if (QWidget* viewport = area->viewport()) children << viewport;
        for (QScrollBar* bar : {area->horizontalScrollBar(), area->verticalScrollBar()})
            if (bar && bar->isVisible() && bar->parentWidget()) children << bar->parentWidget();
        if (QWidget* corner = area->cornerWidget(); corner && corner->isVisible()) children << corner;
        return children;
    }
};

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
        if (auto* ring = dynamic_cast<RingBox*>(object)) return new RingAccessible(ring);
    }
    if (className == QLatin1String("QTabBar")) {
        auto* area = qobject_cast<QTabWidget*>(w->parentWidget());
        if (area && area->property("rtControl").isValid()) return new TabBarAccessible(static_cast<QTabBar*>(object));
        return nullptr;
    }
    if (className == QLatin1String("QScrollArea")) return new ScrollAreaAccessible(static_cast<QScrollArea*>(object));
    if (!object->property("rtControl").isValid()) return nullptr;
    if (className == QLatin1String("QSlider")) return new SlideAccessible(w, QAccessible::Slider);
    if (className == QLatin1String("QProgressBar")) return new SlideAccessible(w, QAccessible::ProgressBar);
    if (auto* box = qobject_cast<QAbstractSpinBox*>(object)) return new NumericAccessible(box);
    if (auto* b = qobject_cast<QAbstractButton*>(object)) return new ButtonAccessible(b, ButtonRole(b));
    if (auto* tabs = qobject_cast<QTabWidget*>(object)) return new TabAreaAccessible(tabs);
    if (auto* led = dynamic_cast<LedWidget*>(w)) return new LedAccessible(led);
    return nullptr;
}

}  // namespace

void InstallAccessibleInterfaces() {
    static const bool installed = (QAccessible::installFactory(Factory), true);
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
        qobject_cast<QProgressBar*>(part) || qobject_cast<QTabWidget*>(part) || dynamic_cast<LedWidget*>(part))
        renew(part);
}

}  // namespace rt::detail
