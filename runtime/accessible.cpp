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
#include <QHeaderView>
#include <QLabel>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QListView>
#include <QMap>
#include <QPointer>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTextBoundaryFinder>
#include <QTextCursor>
#include <QTextDocument>
#include <QValidator>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <optional>
#include <utility>
#include <vector>

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

// The state of a text the user may edit: its widget's, editable unless read-only, busy while
// user input is held.
static QAccessible::State EditState(QAccessible::State s, bool readOnly) {
    s.editable = !readOnly;
    s.readOnly = readOnly;
    s.busy = UserInputHeld();
    return s;
}

void AfterTheCall(QObject* target, std::function<bool()> allowed, std::function<void()> act) {
    QMetaObject::invokeMethod(
        target,
        [allowed = std::move(allowed), act = std::move(act)] {
            if (allowed()) act();
        },
        Qt::QueuedConnection);
}

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
    ::rt::detail::AfterTheCall(
        w, [target = QPointer<QWidget>(w)] { return target && Changeable(target); }, std::move(act));
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

// The piece of `text` that a text request asks for: the character, word, sentence or line at
// `offset` (which = 0), the one before it (-1) or the one after it (1), with its start and end.
// An offset of -1 stands for the end of the text, as the bus means it; any other offset out of
// the text is taken as its nearest end. None is an empty text from -1 to -1. (Qt's own helpers
// loop for ever at the text's end, which the bus asks for as offset -1.)
QString TextPiece(const QString& text, int offset, QAccessible::TextBoundaryType boundary, int which, int* startOffset,
                  int* endOffset) {
    *startOffset = *endOffset = -1;
    const int length = static_cast<int>(text.size());
    const int at = offset == -1 ? length : std::clamp(offset, 0, length);
    if (boundary == QAccessible::NoBoundary) {
        if (which != 0) return {};
        *startOffset = 0;
        *endOffset = length;
        return text;
    }
    // Where the pieces begin and end, 0 and the length included.
    std::vector<int> edges{0};
    if (boundary == QAccessible::LineBoundary || boundary == QAccessible::ParagraphBoundary) {
        for (int i = 0; i < length; ++i)
            if (text.at(i) == QChar::LineFeed) edges.push_back(i + 1);
    } else {
        const auto type = boundary == QAccessible::CharBoundary   ? QTextBoundaryFinder::Grapheme
                          : boundary == QAccessible::WordBoundary ? QTextBoundaryFinder::Word
                                                                  : QTextBoundaryFinder::Sentence;
        QTextBoundaryFinder finder(type, text);
        // Each step moves on by at least one character, and ends at -1 past the text.
        for (qsizetype p = finder.toNextBoundary(); p > 0 && p < length; p = finder.toNextBoundary())
            if (finder.boundaryReasons() & (QTextBoundaryFinder::StartOfItem | QTextBoundaryFinder::EndOfItem))
                edges.push_back(static_cast<int>(p));
    }
    if (edges.back() != length) edges.push_back(length);
    const int pieces = static_cast<int>(edges.size()) - 1;
    if (pieces <= 0) return {};
    // The piece holding `at`; at the very end, the last one (a character has none there).
    int piece = static_cast<int>(std::upper_bound(edges.begin(), edges.end(), at) - edges.begin()) - 1;
    if (piece >= pieces) {
        if (boundary == QAccessible::CharBoundary && which == 0) return {};
        piece = boundary == QAccessible::CharBoundary && which < 0 ? pieces : pieces - 1;
    }
    piece += which;
    if (piece < 0 || piece >= pieces) return {};
    *startOffset = edges[piece];
    *endOffset = edges[piece + 1];
    return text.mid(*startOffset, *endOffset - *startOffset);
}

// The text interface of an entry (a string control, a numeric's entry, a table cell's editor):
// its text, caret and selection; every offset out of the text is taken as its nearest end, or
// answered with nothing. The most characters a QLineEdit holds bounds the offsets tried first,
// so that a range asked up to the largest offset (the bus asks each offset of a range in turn)
// is answered at once.
class EntryText : public QAccessibleTextInterface {
public:
    virtual QLineEdit* Entry() const = 0;

    QString text(int startOffset, int endOffset) const override {
        const QString all = Whole();
        const int end = endOffset < 0 ? static_cast<int>(all.size()) : std::clamp(endOffset, 0, static_cast<int>(all.size()));
        const int start = std::clamp(startOffset, 0, end);
        return all.mid(start, end - start);
    }
    int characterCount() const override { return static_cast<int>(Whole().size()); }
    int cursorPosition() const override {
        QLineEdit* e = Entry();
        return e ? std::clamp(e->cursorPosition(), 0, characterCount()) : 0;
    }
    void setCursorPosition(int position) override {
        if (QLineEdit* e = Entry()) e->setCursorPosition(std::clamp(position, 0, characterCount()));
    }
    int selectionCount() const override { return Entry() && Entry()->hasSelectedText() && Shown() ? 1 : 0; }
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
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset, int* endOffset) const override {
        return TextPiece(Whole(), Caret(offset), boundary, -1, startOffset, endOffset);
    }
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset, int* endOffset) const override {
        return TextPiece(Whole(), Caret(offset), boundary, 0, startOffset, endOffset);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset, int* endOffset) const override {
        return TextPiece(Whole(), Caret(offset), boundary, 1, startOffset, endOffset);
    }
    // The box of a character, worked out from the entry's font and alignment.
    QRect characterRect(int offset) const override {
        if (offset < 0 || offset >= kMostCharacters) return {};
        QLineEdit* e = Entry();
        const QString all = Whole();
        if (!e || offset >= all.size()) return {};
        const QFontMetrics fm(e->font());
        const QRect inside = e->contentsRect().adjusted(2, 0, -2, 0);
        const int left = e->alignment() & Qt::AlignRight ? inside.right() - fm.horizontalAdvance(all) : inside.left();
        const QPoint at(left + fm.horizontalAdvance(all.left(offset)), inside.top());
        return {e->mapToGlobal(at), QSize(fm.horizontalAdvance(all.at(offset)), inside.height())};
    }
    int offsetAtPoint(const QPoint& point) const override {
        QLineEdit* e = Entry();
        return e && Shown() ? e->cursorPositionAt(e->mapFromGlobal(point)) : -1;
    }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int* startOffset, int* endOffset) const override {
        *startOffset = 0;
        *endOffset = characterCount();
        return {};
    }

protected:
    static constexpr int kMostCharacters = 32767;  // QLineEdit holds no more

    // The text read: none from an entry that hides what is typed.
    QString Whole() const {
        QLineEdit* e = Entry();
        return e && Shown() ? e->text() : QString();
    }
    bool Shown() const { return Entry() && Entry()->echoMode() == QLineEdit::Normal; }
    // -2 stands for the caret.
    int Caret(int offset) const { return offset == -2 ? cursorPosition() : offset; }
};

// Editing an entry's text as typing would, refused on a read-only entry and while the user's
// input is held off or a modal popup stands over it.
class EntryEditing : public QAccessibleEditableTextInterface {
public:
    virtual QLineEdit* EditedEntry() const = 0;

    void deleteText(int startOffset, int endOffset) override { replaceText(startOffset, endOffset, QString()); }
    void insertText(int offset, const QString& text) override { replaceText(offset, offset, text); }
    void replaceText(int startOffset, int endOffset, const QString& text) override {
        QLineEdit* e = EditedEntry();
        if (!e || e->isReadOnly() || !e->isEnabled() || AssistiveChangeRefused(e) || e->echoMode() != QLineEdit::Normal) return;
        const QString all = e->text();
        const int length = static_cast<int>(all.size());
        const int end = endOffset < 0 ? length : std::clamp(endOffset, 0, length);
        const int start = std::clamp(startOffset, 0, end);
        QString changed = all;
        changed.replace(start, end - start, text);
        if (const QValidator* v = e->validator()) {
            int pos = 0;
            if (v->validate(changed, pos) == QValidator::Invalid) return;
        }
        e->setText(changed.left(e->maxLength()));
        e->setCursorPosition(std::min(start + static_cast<int>(text.size()), static_cast<int>(e->text().size())));
    }
};

// A string entry, or a table cell's text editor: named by its label, its text as its value.
class LineEditAccessible : public QAccessibleWidget, public OwnInterface, public EntryText, public EntryEditing {
public:
    explicit LineEditAccessible(QLineEdit* e) : QAccessibleWidget(e, QAccessible::EditableText) {}
    QLineEdit* Entry() const override { return static_cast<QLineEdit*>(widget()); }
    QLineEdit* EditedEntry() const override { return Entry(); }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) return Whole();
        QString s = QAccessibleWidget::text(t);
        if (t == QAccessible::Name && s.isEmpty()) s = Entry()->placeholderText();
        return s;
    }
    using EntryText::text;
    QAccessible::State state() const override {
        QAccessible::State s = EditState(QAccessibleWidget::state(), Entry()->isReadOnly());
        s.passwordEdit = Entry()->echoMode() != QLineEdit::Normal;
        s.selectableText = true;
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
        if (t == QAccessible::EditableTextInterface) return static_cast<QAccessibleEditableTextInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }
};

// A text box: its lines as its text, with the caret and selection; offsets out of the text
// taken as its nearest end or answered with nothing; edited as typing would, and not while it
// is read-only or the user's input is held off.
class TextBoxAccessible : public QAccessibleWidget,
                          public OwnInterface,
                          public QAccessibleTextInterface,
                          public QAccessibleEditableTextInterface {
public:
    explicit TextBoxAccessible(QPlainTextEdit* box) : QAccessibleWidget(box, QAccessible::EditableText) {}
    QPlainTextEdit* box() const { return static_cast<QPlainTextEdit*>(widget()); }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) return box()->toPlainText();
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override {
        QAccessible::State s = EditState(QAccessibleWidget::state(), box()->isReadOnly());
        s.multiLine = true;
        s.selectableText = true;
        return s;
    }
    // The viewport and scroll bars inside are the box itself to assistive technology.
    int childCount() const override { return 0; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
        if (t == QAccessible::EditableTextInterface) return static_cast<QAccessibleEditableTextInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    QString text(int startOffset, int endOffset) const override {
        const QString all = box()->toPlainText();
        const int end = endOffset < 0 ? static_cast<int>(all.size()) : std::clamp(endOffset, 0, static_cast<int>(all.size()));
        const int start = std::clamp(startOffset, 0, end);
        return all.mid(start, end - start);
    }
    int characterCount() const override { return Count(); }
    int cursorPosition() const override { return std::clamp(box()->textCursor().position(), 0, Count()); }
    void setCursorPosition(int position) override {
        QTextCursor c = box()->textCursor();
        c.setPosition(std::clamp(position, 0, Count()));
        box()->setTextCursor(c);
    }
    int selectionCount() const override { return box()->textCursor().hasSelection() ? 1 : 0; }
    void selection(int index, int* startOffset, int* endOffset) const override {
        *startOffset = *endOffset = 0;
        if (index != 0 || !selectionCount()) return;
        *startOffset = box()->textCursor().selectionStart();
        *endOffset = box()->textCursor().selectionEnd();
    }
    void addSelection(int startOffset, int endOffset) override { setSelection(0, startOffset, endOffset); }
    void removeSelection(int index) override {
        if (index != 0) return;
        QTextCursor c = box()->textCursor();
        c.clearSelection();
        box()->setTextCursor(c);
    }
    void setSelection(int index, int startOffset, int endOffset) override {
        if (index != 0) return;
        const int count = Count();
        QTextCursor c = box()->textCursor();
        c.setPosition(std::clamp(startOffset, 0, count));
        c.setPosition(std::clamp(endOffset, 0, count), QTextCursor::KeepAnchor);
        box()->setTextCursor(c);
    }
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset, int* endOffset) const override {
        return TextPiece(box()->toPlainText(), Caret(offset), boundary, -1, startOffset, endOffset);
    }
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset, int* endOffset) const override {
        return TextPiece(box()->toPlainText(), Caret(offset), boundary, 0, startOffset, endOffset);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset, int* endOffset) const override {
        return TextPiece(box()->toPlainText(), Caret(offset), boundary, 1, startOffset, endOffset);
    }
    // The box of a character where the box draws it. Checked against the count first: the bus
    // asks each offset of a range in turn, up to the largest there is.
    QRect characterRect(int offset) const override {
        if (offset < 0 || offset >= Count()) return {};
        QTextCursor c(box()->document());
        c.setPosition(offset);
        QRect r = box()->cursorRect(c);
        c.setPosition(offset + 1, QTextCursor::KeepAnchor);
        const QString ch = c.selectedText();
        r.setWidth(ch.isEmpty() ? 1 : std::max(1, QFontMetrics(box()->font()).horizontalAdvance(ch)));
        return QRect(box()->viewport()->mapToGlobal(r.topLeft()), r.size());
    }
    int offsetAtPoint(const QPoint& point) const override {
        const QPoint at = box()->viewport()->mapFromGlobal(point);
        if (!box()->viewport()->rect().contains(at)) return -1;
        return std::clamp(box()->cursorForPosition(at).position(), 0, Count());
    }
    void scrollToSubstring(int startIndex, int endIndex) override {
        const int count = Count();
        QTextCursor c(box()->document());
        c.setPosition(std::clamp(endIndex, 0, count));
        box()->setTextCursor(c);
        c.setPosition(std::clamp(startIndex, 0, count));
        box()->setTextCursor(c);
        box()->ensureCursorVisible();
    }
    QString attributes(int, int* startOffset, int* endOffset) const override {
        *startOffset = 0;
        *endOffset = Count();
        return {};
    }

    void deleteText(int startOffset, int endOffset) override { replaceText(startOffset, endOffset, QString()); }
    void insertText(int offset, const QString& text) override { replaceText(offset, offset, text); }
    void replaceText(int startOffset, int endOffset, const QString& text) override {
        if (box()->isReadOnly() || !box()->isEnabled() || AssistiveChangeRefused(box())) return;
        const int count = Count();
        const int end = endOffset < 0 ? count : std::clamp(endOffset, 0, count);
        QTextCursor c(box()->document());
        c.setPosition(std::clamp(startOffset, 0, end));
        c.setPosition(end, QTextCursor::KeepAnchor);
        c.insertText(text);
    }

private:
    // The characters of the text (the document counts one more, for its last paragraph's end).
    int Count() const { return std::max(0, box()->document()->characterCount() - 1); }
    int Caret(int offset) const { return offset == -2 ? cursorPosition() : offset; }
};

// A numeric entry: named by its label, the text it shows as its value and description, and as
// its text (with the caret and selection of its entry, so typing in it is read). A decimal one
// gives its number on the value interface; a hexadecimal one shows digits no number read aloud
// would match ("1470" for 5232), so it gives only the text, and steps up and down by actions.
class NumericAccessible : public QAccessibleWidget, public OwnInterface, public QAccessibleValueInterface, public EntryText {
public:
    explicit NumericAccessible(QAbstractSpinBox* box) : QAccessibleWidget(box, QAccessible::SpinBox) {}

    QAbstractSpinBox* box() const { return static_cast<QAbstractSpinBox*>(widget()); }
    bool hex() const {
        auto* i = qobject_cast<QSpinBox*>(widget());
        return i && i->displayIntegerBase() != 10;
    }
    QLineEdit* Entry() const override { return box()->findChild<QLineEdit*>(QString(), Qt::FindDirectChildrenOnly); }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) return box()->text();
        if (t == QAccessible::Description) return ShownWithTip(box()->text(), QAccessibleWidget::text(t));
        return QAccessibleWidget::text(t);
    }
    using EntryText::text;
    QAccessible::State state() const override {
        return EditState(QAccessibleWidget::state(), box()->isReadOnly());
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

    // Value interface (decimal entries): always numbers, as the bus reads them.
    QVariant currentValue() const override {
        const Control* c = OwnerOf(widget());
        if (c) return c->num;
        if (auto* i = qobject_cast<QSpinBox*>(widget())) return double(i->value());
        if (auto* d = qobject_cast<QDoubleSpinBox*>(widget())) return d->value();
        return 0.0;
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
        if (auto* i = qobject_cast<QSpinBox*>(widget())) return double(i->maximum());
        if (auto* d = qobject_cast<QDoubleSpinBox*>(widget())) return d->maximum();
        return currentValue();
    }
    QVariant minimumValue() const override {
        if (auto* i = qobject_cast<QSpinBox*>(widget())) return double(i->minimum());
        if (auto* d = qobject_cast<QDoubleSpinBox*>(widget())) return d->minimum();
        return currentValue();
    }
    QVariant minimumStepSize() const override {
        if (auto* i = qobject_cast<QSpinBox*>(widget())) return double(i->singleStep());
        if (auto* d = qobject_cast<QDoubleSpinBox*>(widget())) return d->singleStep();
        return 1.0;
    }
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

// A list or table (a list box, a table, a ring's open list): its cells as children, row by row,
// and on the table interface. A cell, row or column asked for out of range (-1 included) is
// answered as none: not selected, no extent, no text. The bus reads the cell it asks for without
// checking for none (IsSelected, GetRowExtentAt ...), so a cell asked for out of range is one
// that stands for no cell rather than a null one, as Qt's own interface gives.
// A table's children are numbered as its view numbers them in the focus and selection events it
// sends: the corner first, then the column headers, then each row as its row header followed by
// its cells; so the cell at (row, column) is child (row + 1) * (columns + 1) + column + 1, and a
// screen reader told of a focused cell reads that cell, with its headers.
class ItemViewAccessible;

// A node of an item view with no children of its own (a cell, a header cell): its window and
// parent are the view's.
template <class View>
class ViewLeafAccessible : public QAccessibleInterface {
public:
    explicit ViewLeafAccessible(View* view) : view_(view) {}
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return view_ ? view_->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override { return view_ ? QAccessible::queryAccessibleInterface(view_.data()) : nullptr; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    void setText(QAccessible::Text, const QString&) override {}

protected:
    QPointer<View> view_;
};

// A table's header cell: the label of a column (a column header) or of a row (a row header), or
// the corner where the two headers meet (section -1). It is read, not acted on.
class HeaderAccessible : public ViewLeafAccessible<QTableView> {
public:
    HeaderAccessible(QTableView* view, Qt::Orientation orientation, int section)
        : ViewLeafAccessible(view), orientation_(orientation), section_(section) {}

    bool isValid() const override { return view_ && view_->model() && section_ < Sections(); }
    QString text(QAccessible::Text t) const override {
        if (section_ < 0 || !isValid()) return {};
        if (t == QAccessible::Name) return view_->model()->headerData(section_, orientation_, Qt::DisplayRole).toString();
        if (t == QAccessible::Description) return view_->model()->headerData(section_, orientation_, Qt::ToolTipRole).toString();
        return {};
    }
    QRect rect() const override {
        QHeaderView* header = Header();
        if (section_ < 0 || !isValid() || !header || !header->isVisible() || header->isSectionHidden(section_)) return {};
        const int at = header->sectionViewportPosition(section_), size = header->sectionSize(section_);
        const QRect r = orientation_ == Qt::Horizontal ? QRect(at, 0, size, header->viewport()->height())
                                                       : QRect(0, at, header->viewport()->width(), size);
        return {header->viewport()->mapToGlobal(r.topLeft()), r.size()};
    }
    QAccessible::Role role() const override {
        if (section_ < 0) return QAccessible::Pane;
        return orientation_ == Qt::Horizontal ? QAccessible::ColumnHeader : QAccessible::RowHeader;
    }
    QAccessible::State state() const override {
        QAccessible::State s;
        QHeaderView* header = Header();
        if (!isValid() || !header) {
            s.invisible = true;
            return s;
        }
        const bool shown = view_->isVisible() && header->isVisible() && (section_ < 0 || !header->isSectionHidden(section_));
        s.invisible = !shown;
        s.disabled = !view_->isEnabled();
        if (shown && section_ >= 0) {
            const int at = header->sectionViewportPosition(section_), size = header->sectionSize(section_);
            const int length = orientation_ == Qt::Horizontal ? header->viewport()->width() : header->viewport()->height();
            s.offscreen = at + size <= 0 || at >= length;
        }
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType) override { return nullptr; }

private:
    QHeaderView* Header() const {
        if (!view_) return nullptr;
        return orientation_ == Qt::Horizontal ? view_->horizontalHeader() : view_->verticalHeader();
    }
    int Sections() const {
        QAbstractItemModel* m = view_->model();
        return orientation_ == Qt::Horizontal ? m->columnCount(view_->rootIndex()) : m->rowCount(view_->rootIndex());
    }

    Qt::Orientation orientation_;
    int section_;
};

// One cell, by its row and column: its text as its name, selected and checked as the view shows
// it; pressed it becomes the current one, toggled its check mark changes, as a click does.
class CellAccessible : public ViewLeafAccessible<QAbstractItemView>, public QAccessibleTableCellInterface, public QAccessibleActionInterface {
public:
    CellAccessible(QAbstractItemView* view, int row, int column) : ViewLeafAccessible(view), row_(row), column_(column) {}

    bool isValid() const override { return Index().isValid(); }
    QString text(QAccessible::Text t) const override {
        const QModelIndex index = Index();
        if (!index.isValid()) return {};
        if (t == QAccessible::Name) {
            const QString read = index.data(Qt::AccessibleTextRole).toString();
            return read.isEmpty() ? index.data(Qt::DisplayRole).toString() : read;
        }
        if (t == QAccessible::Description) {
            const QString read = index.data(Qt::AccessibleDescriptionRole).toString();
            return read.isEmpty() ? index.data(Qt::ToolTipRole).toString() : read;
        }
        return {};
    }
    QRect rect() const override {
        const QModelIndex index = Index();
        if (!index.isValid()) return {};
        const QRect r = view_->visualRect(index);
        return r.isValid() ? QRect(view_->viewport()->mapToGlobal(r.topLeft()), r.size()) : QRect();
    }
    QAccessible::Role role() const override {
        return qobject_cast<const QListView*>(view_.data()) ? QAccessible::ListItem : QAccessible::Cell;
    }
    QAccessible::State state() const override {
        QAccessible::State s;
        const QModelIndex index = Index();
        if (!index.isValid()) {
            s.invisible = true;
            return s;
        }
        const Qt::ItemFlags flags = index.flags();
        s.selectable = (flags & Qt::ItemIsSelectable) && view_->selectionMode() != QAbstractItemView::NoSelection;
        s.selected = view_->selectionModel() && view_->selectionModel()->isSelected(index);
        s.focusable = true;
        s.focused = view_->hasFocus() && view_->currentIndex() == index;
        s.disabled = !(flags & Qt::ItemIsEnabled) || !view_->isEnabled();
        s.invisible = !view_->isVisible();
        s.offscreen = !view_->viewport()->rect().intersects(view_->visualRect(index));
        if (flags & Qt::ItemIsUserCheckable) {
            s.checkable = true;
            const QVariant check = index.data(Qt::CheckStateRole);
            s.checked = check.isValid() && check.toInt() == Qt::Checked;
        }
        s.editable = (flags & Qt::ItemIsEditable) && view_->editTriggers() != QAbstractItemView::NoEditTriggers;
        s.busy = UserInputHeld();
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::TableCellInterface) return static_cast<QAccessibleTableCellInterface*>(this);
        if (t == QAccessible::ActionInterface) return static_cast<QAccessibleActionInterface*>(this);
        return nullptr;
    }

    // Cell interface: no cell out of range has a place, an extent or a selection.
    bool isSelected() const override { return state().selected; }
    // A table's cell has its column's header and its row's header; a list's none.
    QList<QAccessibleInterface*> columnHeaderCells() const override { return HeaderCells(Qt::Horizontal); }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return HeaderCells(Qt::Vertical); }
    int columnIndex() const override { return isValid() ? column_ : -1; }
    int rowIndex() const override { return isValid() ? row_ : -1; }
    int columnExtent() const override { return isValid() ? 1 : 0; }
    int rowExtent() const override { return isValid() ? 1 : 0; }
    QAccessibleInterface* table() const override { return parent(); }

    QStringList actionNames() const override {
        const QModelIndex index = Index();
        if (!index.isValid() || !(index.flags() & Qt::ItemIsEnabled) || !Changeable(view_)) return {};
        QStringList names{pressAction()};
        if (index.flags() & Qt::ItemIsUserCheckable) names << toggleAction();
        return names;
    }
    void doAction(const QString& action) override {
        if (!actionNames().contains(action)) return;
        const bool toggle = action == toggleAction();
        AfterTheCall(view_, [view = view_, row = row_, column = column_, toggle] {
            QAbstractItemModel* model = view ? view->model() : nullptr;
            const QModelIndex index = model ? model->index(row, column, view->rootIndex()) : QModelIndex();
            if (!index.isValid() || !(index.flags() & Qt::ItemIsEnabled)) return;
            if (!toggle) {
                view->setCurrentIndex(index);
                return;
            }
            const bool checked = index.data(Qt::CheckStateRole).toInt() == Qt::Checked;
            model->setData(index, checked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
        });
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    QModelIndex Index() const {
        if (!view_ || !view_->model() || row_ < 0 || column_ < 0) return {};
        return view_->model()->index(row_, column_, view_->rootIndex());
    }
    QList<QAccessibleInterface*> HeaderCells(Qt::Orientation orientation) const;

    int row_, column_;
};

class ItemViewAccessible : public QAccessibleWidget, public OwnInterface, public QAccessibleTableInterface {
public:
    explicit ItemViewAccessible(QAbstractItemView* view)
        : QAccessibleWidget(view, qobject_cast<QListView*>(view) ? QAccessible::List : QAccessible::Table) {}
    ~ItemViewAccessible() override {
        for (QAccessible::Id id : std::as_const(cells_)) QAccessible::deleteAccessibleInterface(id);
        for (QAccessible::Id id : std::as_const(headers_)) QAccessible::deleteAccessibleInterface(id);
    }
    QAbstractItemView* view() const { return static_cast<QAbstractItemView*>(widget()); }
    QTableView* TableView() const { return qobject_cast<QTableView*>(view()); }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) {
            const QModelIndex current = view()->currentIndex();
            return current.isValid() ? current.data(Qt::DisplayRole).toString() : QString();
        }
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        const auto mode = view()->selectionMode();
        s.multiSelectable = mode == QAbstractItemView::MultiSelection;
        s.extSelectable = mode == QAbstractItemView::ExtendedSelection || mode == QAbstractItemView::ContiguousSelection;
        s.busy = UserInputHeld();
        // A list whose current item has the focus hands it to that item: a screen reader looking
        // for the focused one among the list and its items finds the item, not the list.
        if (!TableView() && s.focused && focusChild()) s.focused = false;
        return s;
    }
    // The current cell, or none.
    QAccessibleInterface* focusChild() const override {
        const QModelIndex current = view()->currentIndex();
        if (!current.isValid() || current.parent() != view()->rootIndex() || current.row() >= rowCount() ||
            current.column() >= columnCount())
            return nullptr;
        return Cell(current.row(), current.column());
    }
    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::TableInterface) return static_cast<QAccessibleTableInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    // The cells row by row, a table's with its header cells (see above); the view's scroll bars
    // and header widgets are not read as its children.
    int childCount() const override { return (rowCount() + Headed()) * Stride(); }
    QAccessibleInterface* child(int index) const override {
        const int stride = Stride();
        if (index < 0 || stride <= 0 || index >= childCount()) return nullptr;
        const int row = index / stride - Headed(), column = index % stride - Headed();
        if (row < 0) return Header(Qt::Horizontal, column);  // the corner at column -1
        if (column < 0) return Header(Qt::Vertical, row);
        return Cell(row, column);
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        if (!child) return -1;
        for (auto it = cells_.constBegin(); it != cells_.constEnd(); ++it)
            if (QAccessible::accessibleInterface(it.value()) == child) {
                const auto [row, column] = it.key();
                return row >= 0 && row < rowCount() && column < columnCount() ? IndexOf(row, column) : -1;
            }
        for (auto it = headers_.constBegin(); it != headers_.constEnd(); ++it)
            if (QAccessible::accessibleInterface(it.value()) == child) {
                const auto [orientation, section] = it.key();
                if (section < 0) return 0;
                if (orientation == Qt::Horizontal) return section < columnCount() ? IndexOf(-1, section) : -1;
                return section < rowCount() ? IndexOf(section, -1) : -1;
            }
        return -1;
    }
    // The header cell of a table's column or row (-1: the corner); none for a list.
    QAccessibleInterface* Header(Qt::Orientation orientation, int section) const {
        QTableView* t = TableView();
        if (!t) return nullptr;
        if (section < 0) orientation = Qt::Horizontal;  // one corner, whichever way it is asked for
        const std::pair<Qt::Orientation, int> key(orientation, std::max(section, -1));
        auto it = headers_.constFind(key);
        if (it != headers_.constEnd())
            if (QAccessibleInterface* i = QAccessible::accessibleInterface(*it)) return i;
        auto* header = new HeaderAccessible(t, key.first, key.second);
        headers_.insert(key, QAccessible::registerAccessibleInterface(header));
        return header;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        const QModelIndex index = view()->indexAt(view()->viewport()->mapFromGlobal(QPoint(x, y)));
        return index.isValid() && index.parent() == view()->rootIndex() ? Cell(index.row(), index.column()) : nullptr;
    }

    // Table interface.
    QAccessibleInterface* cellAt(int row, int column) const override {
        if (row < 0 || column < 0 || row >= rowCount() || column >= columnCount()) return Cell(-1, -1);
        return Cell(row, column);
    }
    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QString columnDescription(int column) const override {
        if (column < 0 || column >= columnCount() || !view()->model()) return {};
        return view()->model()->headerData(column, Qt::Horizontal).toString();
    }
    QString rowDescription(int row) const override {
        if (row < 0 || row >= rowCount() || !view()->model() || qobject_cast<QListView*>(view())) return {};
        return view()->model()->headerData(row, Qt::Vertical).toString();
    }
    int columnCount() const override {
        QAbstractItemModel* m = view()->model();
        return m ? std::max(0, qobject_cast<QListView*>(view()) ? std::min(1, m->columnCount(view()->rootIndex())) : m->columnCount(view()->rootIndex())) : 0;
    }
    int rowCount() const override {
        QAbstractItemModel* m = view()->model();
        return m ? std::max(0, m->rowCount(view()->rootIndex())) : 0;
    }
    int selectedCellCount() const override { return static_cast<int>(SelectedIndexes().size()); }
    int selectedColumnCount() const override { return static_cast<int>(selectedColumns().size()); }
    int selectedRowCount() const override { return static_cast<int>(selectedRows().size()); }
    QList<QAccessibleInterface*> selectedCells() const override {
        QList<QAccessibleInterface*> cells;
        for (const QModelIndex& i : SelectedIndexes()) cells << Cell(i.row(), i.column());
        return cells;
    }
    QList<int> selectedColumns() const override {
        QList<int> columns;
        if (QItemSelectionModel* s = view()->selectionModel())
            for (const QModelIndex& i : s->selectedColumns()) columns << i.column();
        return columns;
    }
    QList<int> selectedRows() const override {
        QList<int> rows;
        if (QItemSelectionModel* s = view()->selectionModel())
            for (const QModelIndex& i : s->selectedRows()) rows << i.row();
        return rows;
    }
    bool isColumnSelected(int column) const override {
        QItemSelectionModel* s = view()->selectionModel();
        return s && column >= 0 && column < columnCount() && s->isColumnSelected(column, view()->rootIndex());
    }
    bool isRowSelected(int row) const override {
        QItemSelectionModel* s = view()->selectionModel();
        return s && row >= 0 && row < rowCount() && s->isRowSelected(row, view()->rootIndex());
    }
    // Selecting from the tool is choosing a cell: its press action does it, as a click does.
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent*) override {}

private:
    // 1 for a table, whose first row and column of children are its headers; 0 for a list.
    int Headed() const { return TableView() ? 1 : 0; }
    // Children in each row of children.
    int Stride() const { return columnCount() + Headed(); }
    // The child index of the cell at `row`, `column` (-1: the header row or column).
    int IndexOf(int row, int column) const { return (row + Headed()) * Stride() + column + Headed(); }
    QModelIndexList SelectedIndexes() const {
        QModelIndexList shown;
        if (QItemSelectionModel* s = view()->selectionModel())
            for (const QModelIndex& i : s->selectedIndexes())
                if (i.parent() == view()->rootIndex() && i.row() < rowCount() && i.column() < columnCount()) shown << i;
        return shown;
    }
    // The interface of the cell at `row`, `column` (-1, -1: the one that stands for no cell),
    // made when first asked for and kept.
    QAccessibleInterface* Cell(int row, int column) const {
        const std::pair<int, int> key(row, column);
        auto it = cells_.constFind(key);
        if (it != cells_.constEnd())
            if (QAccessibleInterface* i = QAccessible::accessibleInterface(*it)) return i;
        auto* cell = new CellAccessible(view(), row, column);
        cells_.insert(key, QAccessible::registerAccessibleInterface(cell));
        return cell;
    }

    mutable QMap<std::pair<int, int>, QAccessible::Id> cells_;
    mutable QMap<std::pair<Qt::Orientation, int>, QAccessible::Id> headers_;
};

QList<QAccessibleInterface*> CellAccessible::HeaderCells(Qt::Orientation orientation) const {
    auto* view = dynamic_cast<ItemViewAccessible*>(parent());
    QAccessibleInterface* header = view && isValid() ? view->Header(orientation, orientation == Qt::Horizontal ? column_ : row_) : nullptr;
    return header ? QList<QAccessibleInterface*>{header} : QList<QAccessibleInterface*>{};
}

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
    // Entries, text boxes, lists and tables wherever the program shows them (a table's cell
    // editor, a ring's open list, a spin box's entry), in place of Qt's own.
    if (className == QLatin1String("QLineEdit")) return new LineEditAccessible(static_cast<QLineEdit*>(object));
    if (className == QLatin1String("QPlainTextEdit")) return new TextBoxAccessible(static_cast<QPlainTextEdit*>(object));
    if (className == QLatin1String("QListView") || className == QLatin1String("QTableView"))
        return new ItemViewAccessible(static_cast<QAbstractItemView*>(object));
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
