// LoadPanel: builds a panel's Qt widgets from its panel resource.
#include "runtime/panel_resources.h"
#include "runtime/rt_internal.h"
#include "runtime/rt_widgets.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

#include <climits>
#include <cmath>

namespace rt {

using namespace detail;
using nlohmann::json;

namespace detail {

std::string FormatNumber(double v, DataType type, int precision) {
    if (type == DataType::Double) return S(QString::number(v, 'f', precision));
    return std::to_string(std::llround(v));
}

// A command button's label marks its shortcut letter with a double underscore ("Start __Play");
// Qt marks it with "&" (a plain "&" is doubled to stay visible).
QString ButtonCaption(const std::string& label) {
    QString text = Q(label);
    text.replace("&", "&&");
    text.replace("__", "&");
    return text;
}

namespace {

QString BaseAccessibleName(const Control& c) {
    QString name = Q(!c.label.empty()            ? c.label
                     : !c.accessibleName.empty() ? c.accessibleName
                     : !c.nearbyText.empty()     ? c.nearbyText
                                                 : c.constant);
    if (c.kind == Kind::CommandButton) name.remove("__");
    return name;
}

// Kinds that are no control to find by name: a text message is read by the text it shows.
bool Unnamed(Kind k) {
    return k == Kind::TextMessage || k == Kind::Decoration || k == Kind::Splitter || k == Kind::Timer;
}

// Set on a control's widget: the label of the frame it stands in, whether its name repeats on
// its panel (then the frame's label comes first: "EQ BAND 3 Control GAIN"), and, for controls of
// one kind whose names the frame does not tell apart, the name of the control standing nearest
// above it in its column ("Equalizer Band 2 Centre Wide band").
constexpr const char* kFrameLabel = "rtFrameLabel";
constexpr const char* kNameRepeats = "rtNameRepeats";
constexpr const char* kAboveName = "rtAboveName";

// The control's name `base`, after its frame's label when the name repeats on its panel.
QString FramedName(const Control& c, const QString& base, bool repeats) {
    const QString frame = c.widget->property(kFrameLabel).toString();
    return repeats && !frame.isEmpty() ? frame + ' ' + base : base;
}

// The name of the control nearest above `c` whose box overlaps its column; empty when none is.
QString NameAbove(const Panel& p, const Control& c) {
    if (c.inFrame || !c.box) return {};
    const QRect mine = c.box->geometry();
    constexpr int kSlack = 4;
    const Control* best = nullptr;
    int gap = 0;
    for (const auto& [id, o] : p.controls) {
        if (o.get() == &c || !o->box || !o->widget || o->inFrame || Unnamed(o->kind) || o->kind == Kind::Canvas) continue;
        const QRect r = o->box->geometry();
        if (r.top() >= mine.top() || r.bottom() > mine.top() + kSlack || r.left() > mine.right() || r.right() < mine.left()) continue;
        const int d = mine.top() - r.bottom();
        if (!best || d < gap) {
            best = o.get();
            gap = d;
        }
    }
    return best ? BaseAccessibleName(*best) : QString();
}

}  // namespace

void QualifyRepeatedNames(Panel& p) {
    struct Named {
        Control* c;
        QString base, framed;
        bool repeats = false;
    };
    std::vector<Named> named;
    std::map<QString, int> seen;
    for (const auto& [id, c] : p.controls)
        if (c->widget && !Unnamed(c->kind)) {
            named.push_back({c.get(), BaseAccessibleName(*c), {}});
            ++seen[named.back().base];
        }
    std::map<std::pair<QString, int>, int> framed;  // names after the frame's, by kind
    for (Named& n : named) {
        n.repeats = seen[n.base] > 1;
        n.framed = FramedName(*n.c, n.base, n.repeats);
        ++framed[{n.framed, static_cast<int>(n.c->kind)}];
    }
    for (const Named& n : named) {
        const bool still = framed[{n.framed, static_cast<int>(n.c->kind)}] > 1;
        const QString above = still ? NameAbove(p, *n.c) : QString();
        QWidget* w = n.c->widget;
        if (w->property(kNameRepeats).toBool() == n.repeats && w->property(kAboveName).toString() == above) continue;
        w->setProperty(kNameRepeats, n.repeats);
        w->setProperty(kAboveName, above);
        UpdateAccessibleName(*n.c);
    }
}

void UpdateAccessibleName(Control& c) {
    if (c.kind == Kind::TextMessage) {
        // Its text is its name, whatever it is set to.
        if (c.widget) c.widget->setAccessibleName(QString());
        return;
    }
    QString name = BaseAccessibleName(c);
    if (c.widget && c.widget->property(kNameRepeats).toBool()) {
        const QString above = c.widget->property(kAboveName).toString();
        if (!above.isEmpty()) name = above + ' ' + name;
        const QString frame = c.widget->property(kFrameLabel).toString();
        if (!frame.isEmpty()) name = frame + ' ' + name;
    }
    if (c.widget) {
        c.widget->setAccessibleName(name);
        // The parts that take the focus inside a composite control (the slider of a slide, the
        // entry of a numeric) carry the name too, so they are not announced by their value.
        for (QWidget* part : c.widget->findChildren<QWidget*>())
            if (qobject_cast<QAbstractSlider*>(part) || qobject_cast<QLineEdit*>(part)) part->setAccessibleName(name);
    }
    if (c.box && c.box != c.widget) c.box->setAccessibleName(name);
    // A screen reader speaks the label a control is labelled by in place of the control's own
    // name: the label carries that name too ("EQ BAND 2 Control GAIN"), and still shows its text.
    if (c.labelWidget) c.labelWidget->setAccessibleName(name);
}

void SetIndicator(Control& c, bool indicator) {
    c.indicator = indicator;
    QWidget* w = c.widget;
    if (!w) return;
    switch (c.kind) {
    case Kind::Numeric:
        if (auto* sb = qobject_cast<QAbstractSpinBox*>(w)) {
            sb->setReadOnly(indicator);
            sb->setButtonSymbols(indicator ? QAbstractSpinBox::NoButtons : QAbstractSpinBox::UpDownArrows);
        }
        break;
    case Kind::String:
        if (auto* le = qobject_cast<QLineEdit*>(w)) le->setReadOnly(indicator);
        break;
    case Kind::TextBox:
        if (auto* te = qobject_cast<QPlainTextEdit*>(w)) te->setReadOnly(indicator);
        break;
    case Kind::Table:
        if (auto* tv = qobject_cast<QAbstractItemView*>(w))
            tv->setEditTriggers(indicator ? QAbstractItemView::NoEditTriggers
                                          : QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                                                QAbstractItemView::AnyKeyPressed);
        break;
    case Kind::CommandButton: case Kind::PictureButton: case Kind::ToggleButton: case Kind::CheckBox:
    case Kind::RadioButton: case Kind::BinarySwitch: case Kind::Ring: case Kind::RingSlide:
    case Kind::Slide: case Kind::ListBox:
    {
        // An indicator takes no keyboard focus; the policy it had comes back with hot mode.
        QList<QWidget*> all = w->findChildren<QWidget*>();
        all.prepend(w);
        for (QWidget* x : all) {
            QVariant saved = x->property("rtFocusPolicy");
            if (indicator && !saved.isValid() && x->focusPolicy() != Qt::NoFocus) {
                x->setProperty("rtFocusPolicy", static_cast<int>(x->focusPolicy()));
                x->setFocusPolicy(Qt::NoFocus);
            } else if (!indicator && saved.isValid()) {
                x->setFocusPolicy(static_cast<Qt::FocusPolicy>(saved.toInt()));
                x->setProperty("rtFocusPolicy", QVariant());
            }
        }
        break;
    }
    default:
        break;
    }
}

void ShowNumber(Control& c) {
    QWidget* w = c.widget;
    if (!w) return;
    QSignalBlocker block(w);
    switch (c.kind) {
    case Kind::Numeric:
        if (auto* sb = qobject_cast<QSpinBox*>(w)) sb->setValue(static_cast<int>(std::llround(std::clamp(c.num, -2147483648.0, 2147483647.0))));
        else if (auto* db = qobject_cast<QDoubleSpinBox*>(w)) db->setValue(c.num);
        break;
    case Kind::Slide:
        if (auto* pb = qobject_cast<QProgressBar*>(w)) {
            double span = c.max - c.min;
            pb->setValue(span > 0 ? static_cast<int>(std::lround(std::clamp((c.num - c.min) / span, 0.0, 1.0) * 1000)) : 0);
            QString text = Q(FormatNumber(c.num, c.type, c.precision));
            if (c.min == 0 && c.max == 100) text += "%";
            pb->setFormat(text);
        } else if (auto* sl = w->findChild<QSlider*>()) {
            QSignalBlocker b(sl);
            sl->setValue(static_cast<int>(std::lround((c.num - c.min) / c.step)));
            if (c.valueLabel) c.valueLabel->setText(Q(FormatNumber(c.num, c.type, c.precision)));
        }
        break;
    case Kind::CheckBox: case Kind::RadioButton: case Kind::BinarySwitch: case Kind::ToggleButton:
        if (auto* b = qobject_cast<QAbstractButton*>(w)) b->setChecked(c.num != 0);
        break;
    case Kind::Led:
        if (auto* led = dynamic_cast<LedWidget*>(w)) led->setOn(c.num != 0);
        break;
    default:
        break;
    }
}

int ItemAtRow(const Control& c, int row, bool unlistedShown) {
    if (unlistedShown) {
        if (row == c.unlistedAt) return -1;
        if (row > c.unlistedAt) --row;
    }
    return row >= 0 && row < static_cast<int>(c.items.size()) ? row : -1;
}

int CurrentIndex(const Control& c) {
    if (auto* ring = dynamic_cast<RingBox*>(c.widget.data()))
        return ItemAtRow(c, ring->Row(), c.unlisted && ring->count() > static_cast<int>(c.items.size()));
    if (auto* lw = qobject_cast<QListWidget*>(c.widget.data())) return lw->currentRow();
    if (c.kind == Kind::RingSlide) return c.selected;
    return -1;
}

namespace {

// Where a value no item has stands among the items: the index of the item it comes just before
// (the number of items: after the last). It goes between the two neighbouring items that enclose
// it, the closest such pair (a ring may lead with an item off its scale, such as a mute); beyond
// them all, beside the nearest item, on the side away from the neighbour that goes the other way.
// A text, or a ring of texts, puts it after the last item.
int UnlistedPosition(const std::vector<Item>& items, const Value& v) {
    const int n = static_cast<int>(items.size());
    double x = 0;
    if (v.isString || !AsNumber(v, &x)) return n;
    for (const Item& it : items)
        if (it.value.isString) return n;
    int at = -1;
    double span = 0;
    for (int i = 0; i + 1 < n; ++i) {
        const double a = items[i].value.num, b = items[i + 1].value.num;
        if (std::min(a, b) < x && x < std::max(a, b) && (at < 0 || std::fabs(b - a) < span)) {
            at = i + 1;
            span = std::fabs(b - a);
        }
    }
    if (at >= 0 || n == 0) return std::max(at, 0);
    int k = 0;
    for (int i = 1; i < n; ++i)
        if (std::fabs(items[i].value.num - x) < std::fabs(items[k].value.num - x)) k = i;
    const double here = items[k].value.num;
    const int other = k + 1 < n ? k + 1 : k - 1;
    if (other < 0 || items[other].value.num == here) return x < here ? k : k + 1;
    const bool towardOther = (items[other].value.num > here) == (x > here);
    return (other > k) == towardOther ? k + 1 : k;
}

}  // namespace

void LiftUnlisted(Control& c) {
    if (!c.unlisted) return;
    if (auto* cb = qobject_cast<QComboBox*>(c.widget.data()); cb && cb->count() > static_cast<int>(c.items.size())) {
        QSignalBlocker b(cb);
        cb->removeItem(c.unlistedAt);
    }
}

void DropUnlisted(Control& c) {
    LiftUnlisted(c);
    c.unlisted.reset();
}

void ShowUnlisted(Control& c, const Value& v, const std::string& text) {
    if (c.kind != Kind::Ring && c.kind != Kind::RingSlide) return;
    LiftUnlisted(c);
    c.unlisted = v;
    c.unlistedText = text.empty() ? "code " + AsText(v, c.type, c.precision) : text;
    c.unlistedAt = UnlistedPosition(c.items, v);
    const QString label = Q(c.unlistedText);
    if (auto* cb = dynamic_cast<RingBox*>(c.widget.data())) {
        // A row of its own where the value stands among the items, which no key, wheel turn or
        // click can choose: every way of moving steps from it to the neighbouring item.
        QSignalBlocker b(cb);
        cb->insertItem(c.unlistedAt, label);
        if (auto* model = qobject_cast<QStandardItemModel*>(cb->model()))
            if (QStandardItem* row = model->item(c.unlistedAt))
                row->setFlags(row->flags() & ~(Qt::ItemIsEnabled | Qt::ItemIsSelectable));
        cb->ShowRow(c.unlistedAt);
    } else if (c.kind == Kind::RingSlide) {
        // The slider gets a position of its own for it, between its neighbouring items.
        c.selected = -1;
        if (auto* sl = c.widget ? c.widget->findChild<QSlider*>() : nullptr) {
            QSignalBlocker b(sl);
            sl->setRange(0, static_cast<int>(c.items.size()));
            sl->setValue(c.unlistedAt);
        }
        if (c.valueLabel) c.valueLabel->setText(label);
    }
}

void SelectIndex(Control& c, int index) {
    if (index >= static_cast<int>(c.items.size())) index = -1;
    if (index < 0 && c.unlisted) return;  // the value shown stays
    DropUnlisted(c);
    if (auto* ring = dynamic_cast<RingBox*>(c.widget.data())) {
        QSignalBlocker b(ring);
        ring->ShowRow(index);
    } else if (auto* lw = qobject_cast<QListWidget*>(c.widget.data())) {
        QSignalBlocker b(lw);
        lw->setCurrentRow(index);
        if (index < 0) lw->clearSelection();
    } else if (c.kind == Kind::RingSlide) {
        c.selected = index;
        if (auto* sl = c.widget ? c.widget->findChild<QSlider*>() : nullptr) {
            QSignalBlocker b(sl);
            sl->setRange(0, std::max(0, static_cast<int>(c.items.size()) - 1));
            sl->setValue(std::max(index, 0));
        }
        if (c.valueLabel) c.valueLabel->setText(index >= 0 ? Q(c.items[index].label) : QString());
    }
}

}  // namespace detail

namespace {

// The text a text message shows, trimmed.
std::string MessageText(const json& j) {
    std::string t = j.contains("value") && j["value"].is_string() ? j["value"].get<std::string>() : j.value("label", std::string());
    const size_t b = t.find_first_not_of(" \t\r\n"), e = t.find_last_not_of(" \t\r\n");
    return b == std::string::npos ? std::string() : t.substr(b, e - b + 1);
}

QRect GeometryOf(const json& j) {
    const json& g = j["geometry"];
    return QRect(g[0].get<int>(), g[1].get<int>(), g[2].get<int>(), g[3].get<int>());
}

// How far text message `t` is from control `c` when it stands immediately left of it or above
// it (pixel geometry, or the neighbouring cell of the same frame's grid); -1 otherwise.
int NeighbourDistance(const json& t, const json& c) {
    constexpr int kLeftGap = 80, kAboveGap = 40, kSlack = 8;
    if (t.contains("geometry") && c.contains("geometry")) {
        const QRect tr = GeometryOf(t), cr = GeometryOf(c);
        const bool rowsMeet = tr.top() <= cr.bottom() && tr.bottom() >= cr.top();
        const bool columnsMeet = tr.left() <= cr.right() && tr.right() >= cr.left();
        const int leftGap = cr.left() - (tr.right() + 1), aboveGap = cr.top() - (tr.bottom() + 1);
        int best = -1;
        if (tr.left() < cr.left() && leftGap >= -kSlack && leftGap <= kLeftGap && rowsMeet) best = std::max(0, leftGap);
        if (tr.top() < cr.top() && aboveGap >= -kSlack && aboveGap <= kAboveGap && columnsMeet) {
            const int d = std::max(0, aboveGap);
            if (best < 0 || d < best) best = d;
        }
        return best;
    }
    if (!t.contains("frame") || !c.contains("frame") || t["frame"] != c["frame"]) return -1;
    const int tRow = t.value("row", 0), tCol = t.value("col", 0), cRow = c.value("row", 0), cCol = c.value("col", 0);
    if (tRow == cRow && tCol + t.value("colSpan", 1) == cCol) return 0;
    if (tCol == cCol && tRow + t.value("rowSpan", 1) == cRow) return 1;
    return -1;
}

// Controls the resource gives no label take the nearest text placed immediately left of or
// above them as their accessible name.
void NameUnlabelledControls(Panel& p, const json& panel) {
    std::vector<const json*> texts;
    for (const json& j : panel["controls"])
        if (j["kind"] == "text_message" && !MessageText(j).empty()) texts.push_back(&j);
    for (const json& j : panel["controls"]) {
        Control* c = p.controls[j["id"].get<int>()].get();
        if (!c || !c->label.empty() || c->kind == Kind::TextMessage || c->kind == Kind::Timer) continue;
        int best = -1;
        for (const json* t : texts) {
            const int d = NeighbourDistance(*t, j);
            if (d >= 0 && (best < 0 || d < best)) {
                best = d;
                c->nearbyText = MessageText(*t);
            }
        }
        if (best >= 0) UpdateAccessibleName(*c);
    }
}

struct Frame {
    QGroupBox* box = nullptr;
    QGridLayout* grid = nullptr;
};

Value ValueFromJson(const json& v, DataType type) {
    if (type == DataType::String) return Value::Text(v.is_string() ? v.get<std::string>() : std::string());
    if (v.is_boolean()) return Value::Number(v.get<bool>() ? 1 : 0);
    return Value::Number(v.is_number() ? v.get<double>() : 0);
}

// The value a user action gave: value-changed then commit, as the original run-time did.
void UserChanged(int panel, int control) {
    FireControl(panel, control, EVENT_VAL_CHANGED, 0, 0);
    FireControl(panel, control, EVENT_COMMIT, 0, 0);
}

bool IsLabelled(Kind k) {
    switch (k) {
    case Kind::Ring: case Kind::RingSlide: case Kind::Numeric: case Kind::String: case Kind::Slide:
    case Kind::TextBox: case Kind::ListBox: case Kind::Table:
        return true;
    default:
        return false;
    }
}

bool IsSingleLine(Kind k) {
    return k == Kind::Ring || k == Kind::RingSlide || k == Kind::Numeric || k == Kind::String;
}

QWidget* BuildSlide(Control& c, int panel, int id, bool vertical, QWidget* host) {
    if (c.indicator) {
        auto* pb = new QProgressBar(host);
        pb->setRange(0, 1000);
        pb->setTextVisible(true);
        pb->setAlignment(Qt::AlignCenter);
        pb->setOrientation(vertical ? Qt::Vertical : Qt::Horizontal);
        return pb;  // marked for the bus as the control's widget
    }
    auto* holder = new QWidget(host);
    auto* slider = new QSlider(vertical ? Qt::Vertical : Qt::Horizontal, holder);
    double span = c.max - c.min;
    if (span / c.step > 100000) c.step = span / 100000;
    slider->setRange(0, static_cast<int>(std::lround(span / c.step)));
    slider->setSingleStep(1);
    slider->setPageStep(std::max(1, slider->maximum() / 10));
    MarkForAccessibility(slider, panel, id);
    auto* value = new QLabel(holder);
    value->setAlignment(vertical ? Qt::AlignCenter : Qt::AlignRight | Qt::AlignVCenter);
    QFontMetrics fm(holder->font());
    int wide = std::max(fm.horizontalAdvance(Q(FormatNumber(c.min, c.type, c.precision))),
                        fm.horizontalAdvance(Q(FormatNumber(c.max, c.type, c.precision))));
    value->setMinimumWidth(wide + 4);
    c.valueLabel = value;
    QBoxLayout* lay = vertical ? static_cast<QBoxLayout*>(new QVBoxLayout(holder)) : new QHBoxLayout(holder);
    lay->setContentsMargins(0, 0, 0, 0);
    lay->setSpacing(4);
    if (vertical) {
        lay->addWidget(value);
        lay->addWidget(slider, 1, Qt::AlignHCenter);
    } else {
        lay->addWidget(slider, 1);
        lay->addWidget(value);
    }
    QObject::connect(slider, &QSlider::valueChanged, slider, [panel, id, slider](int pos) {
        Control* c = FindControl(panel, id, nullptr);
        if (!c) return;
        double v = std::clamp(c->min + pos * c->step, std::min(c->min, c->max), std::max(c->min, c->max));
        if (c->type != DataType::Double) v = std::round(v);
        c->num = v;
        if (c->valueLabel) c->valueLabel->setText(Q(FormatNumber(v, c->type, c->precision)));
        FireControl(panel, id, EVENT_VAL_CHANGED, 0, 0);
        if (!slider->isSliderDown()) FireControl(panel, id, EVENT_COMMIT, 0, 0);
    });
    QObject::connect(slider, &QSlider::sliderReleased, slider, [panel, id] { FireControl(panel, id, EVENT_COMMIT, 0, 0); });
    return holder;
}

QWidget* BuildRingSlide(Control& c, int panel, int id, QWidget* host) {
    auto* holder = new QWidget(host);
    auto* slider = new QSlider(Qt::Horizontal, holder);
    slider->setRange(0, std::max(0, static_cast<int>(c.items.size()) - 1));
    slider->setPageStep(1);
    slider->setTickPosition(QSlider::TicksBelow);
    MarkForAccessibility(slider, panel, id);
    auto* value = new QLabel(holder);
    c.valueLabel = value;
    QFontMetrics fm(holder->font());
    int wide = 0;
    for (const Item& it : c.items) wide = std::max(wide, fm.horizontalAdvance(Q(it.label)));
    value->setMinimumWidth(std::min(wide + 4, 120));
    auto* lay = new QHBoxLayout(holder);
    lay->setContentsMargins(0, 0, 0, 0);
    lay->setSpacing(4);
    lay->addWidget(slider, 1);
    lay->addWidget(value);
    QObject::connect(slider, &QSlider::valueChanged, slider, [panel, id, slider](int pos) {
        Control* c = FindControl(panel, id, nullptr);
        if (!c) return;
        // While a value no item has is shown, its position lies between two items' positions.
        const int item = ItemAtRow(*c, pos, c->unlisted.has_value());
        if (item < 0) return;
        SelectIndex(*c, item);
        FireControl(panel, id, EVENT_VAL_CHANGED, 0, 0);
        if (!slider->isSliderDown()) FireControl(panel, id, EVENT_COMMIT, 0, 0);
    });
    // Home and End reach the first and last item also from a value shown beyond it.
    QObject::connect(slider, &QAbstractSlider::actionTriggered, slider, [panel, id, slider](int action) {
        const Control* c = FindControl(panel, id, nullptr);
        const int n = c ? static_cast<int>(c->items.size()) : 0;
        if (!c || !c->unlisted || n == 0) return;
        if (action == QAbstractSlider::SliderToMinimum && c->unlistedAt == 0) slider->setSliderPosition(1);
        if (action == QAbstractSlider::SliderToMaximum && c->unlistedAt == n) slider->setSliderPosition(n - 1);
    });
    QObject::connect(slider, &QSlider::sliderReleased, slider, [panel, id] { FireControl(panel, id, EVENT_COMMIT, 0, 0); });
    return holder;
}

void TimerTick(int panel, int id) {
    Control* c = FindControl(panel, id, nullptr);
    if (!c || c->ticking) return;  // a tick whose callback waits in a dialog is not stacked on
    if (HoldingCallbacks()) {
        // Ticks that come during a wait make one tick after it, if the timer still runs then.
        if (!c->tickHeld) {
            c->tickHeld = true;
            HoldCallback([panel, id] {
                Control* held = FindControl(panel, id, nullptr);
                if (!held) return;
                held->tickHeld = false;
                if (held->timer && held->timer->isActive()) TimerTick(panel, id);
            });
        }
        return;
    }
    c->ticking = true;
    FireControl(panel, id, EVENT_TIMER_TICK, 0, 0);
    if ((c = FindControl(panel, id, nullptr))) c->ticking = false;
}

// Builds one control and places it on the panel (in its frame's grid, or by pixel geometry).
void BuildControl(Panel& panel, const json& j, std::map<std::string, Frame>& frames) {
    auto owned = std::make_unique<Control>();
    Control& c = *owned;
    int h = panel.handle;
    c.panel = h;
    c.id = j["id"].get<int>();
    int id = c.id;
    c.constant = j["constant"].get<std::string>();
    panelfmt::KindFromName(j["kind"].get<std::string>(), &c.kind);
    c.type = panelfmt::DefaultType(c.kind);
    if (j.contains("type")) panelfmt::TypeFromName(j["type"].get<std::string>(), &c.type);
    if (c.kind == Kind::String || c.kind == Kind::TextBox || c.kind == Kind::TextMessage) c.type = DataType::String;
    c.label = j.value("label", std::string());
    c.accessibleName = j.value("accessibleName", std::string());
    c.callback = j.value("callback", std::string());
    c.indicator = j.value("indicator", false);
    c.precision = j.value("precision", 0);
    if (c.type == DataType::Unsigned) c.min = 0;
    c.min = j.value("min", c.min);
    c.max = j.value("max", c.max);
    c.step = j.value("step", c.type == DataType::Double ? std::pow(10.0, -c.precision) : 1.0);
    if (c.type == DataType::Double && !j.contains("precision") && !j.contains("step")) {
        c.precision = 2;
        c.step = 0.01;
    }
    if (c.step <= 0) c.step = 1;
    if (j.contains("items"))
        for (const json& it : j["items"]) c.items.push_back({it["label"].get<std::string>(), ValueFromJson(it["value"], c.type)});
    c.onColor = j.value("color", c.onColor);
    c.offColor = j.value("offColor", c.offColor);
    if (c.kind == Kind::TextMessage && j.contains("color")) c.textColor = j["color"].get<int>();
    bool fixed = j.value("fixedFont", false);

    bool geometry = j.contains("geometry");
    QRect geo;
    if (geometry) {
        const json& g = j["geometry"];
        geo = QRect(g[0].get<int>(), g[1].get<int>(), g[2].get<int>(), g[3].get<int>());
    }
    QWidget* widget = nullptr;
    QString label = Q(c.label);
    // Made on the panel itself, so each widget has the panel's font from the start: a font
    // change on a ring builds its pop-up list.
    QWidget* host = panel.content;

    switch (c.kind) {
    case Kind::CommandButton: {
        auto* b = new QPushButton(ButtonCaption(c.label), host);
        b->setAutoDefault(false);
        QObject::connect(b, &QPushButton::clicked, b, [h, id] { FireControl(h, id, EVENT_COMMIT, 0, 0); });
        widget = b;
        break;
    }
    case Kind::PictureButton: {
        auto* b = new ArtButton(Q(j.value("picture", std::string())), host);
        b->setText(label);
        b->setToolTip(label);
        QObject::connect(b, &QAbstractButton::clicked, b, [h, id] { FireControl(h, id, EVENT_COMMIT, 0, 0); });
        widget = b;
        break;
    }
    case Kind::ToggleButton: case Kind::CheckBox: case Kind::RadioButton: case Kind::BinarySwitch: {
        QAbstractButton* b = nullptr;
        if (c.kind == Kind::ToggleButton) b = new QPushButton(label, host);
        else if (c.kind == Kind::RadioButton) b = new QRadioButton(label, host);
        else b = new QCheckBox(label, host);
        b->setCheckable(true);
        b->setAutoExclusive(false);
        QObject::connect(b, &QAbstractButton::clicked, b, [h, id](bool on) {
            if (Control* c = FindControl(h, id, nullptr)) c->num = on ? 1 : 0;
            UserChanged(h, id);
        });
        widget = b;
        break;
    }
    case Kind::Led: {
        auto* led = new LedWidget(host);
        led->setText(label);
        led->setColours(c.onColor, c.offColor);
        widget = led;
        break;
    }
    case Kind::Ring: {
        // In a frame's grid the ring is as wide as its items; in a fixed box it elides instead of
        // overflowing the box.
        auto* cb = new RingBox(geometry, host);
        cb->setProperty("rtRing", true);
        for (const Item& it : c.items) cb->addItem(Q(it.label));
        QObject::connect(cb, &QComboBox::currentIndexChanged, cb, [h, id](int row) {
            Control* c = FindControl(h, id, nullptr);
            if (c && c->unlisted && row >= 0 && row != c->unlistedAt) DropUnlisted(*c);
            UserChanged(h, id);
        });
        widget = cb;
        break;
    }
    case Kind::RingSlide:
        widget = BuildRingSlide(c, h, id, host);
        break;
    case Kind::Slide:
        widget = BuildSlide(c, h, id, geometry && geo.height() > geo.width(), host);
        break;
    case Kind::Numeric: {
        QAbstractSpinBox* sb = nullptr;
        if (c.type == DataType::Double) {
            auto* d = new QDoubleSpinBox(host);
            d->setDecimals(c.precision);
            d->setRange(c.min, c.max);
            d->setSingleStep(c.step);
            QObject::connect(d, &QDoubleSpinBox::valueChanged, d, [h, id](double v) {
                if (Control* c = FindControl(h, id, nullptr)) c->num = v;
                UserChanged(h, id);
            });
            sb = d;
        } else {
            auto* i = new IntSpinBox(host);
            i->setHex(j.value("format", std::string("decimal")) == "hex");
            i->setRange(static_cast<int>(std::clamp(c.min, -2147483648.0, 2147483647.0)),
                        static_cast<int>(std::clamp(c.max, -2147483648.0, 2147483647.0)));
            i->setSingleStep(std::max(1, static_cast<int>(std::lround(c.step))));
            QObject::connect(i, &QSpinBox::valueChanged, i, [h, id](int v) {
                if (Control* c = FindControl(h, id, nullptr)) c->num = v;
                UserChanged(h, id);
            });
            sb = i;
        }
        sb->setKeyboardTracking(false);  // commit on Enter, focus loss or the arrows, not per key
        sb->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        sb->setAccelerated(true);
        widget = sb;
        break;
    }
    case Kind::String: {
        auto* le = new QLineEdit(host);
        QObject::connect(le, &QLineEdit::editingFinished, le, [h, id, le] {
            Control* c = FindControl(h, id, nullptr);
            if (!c || S(le->text()) == c->text) return;
            c->text = S(le->text());
            UserChanged(h, id);
        });
        widget = le;
        break;
    }
    case Kind::TextMessage: {
        const QString shown = j.contains("value") ? Q(j["value"].get<std::string>()) : label;
        auto* l = j.contains("gaps") ? new GapLabel(shown, host) : new QLabel(shown, host);
        l->setTextFormat(Qt::PlainText);
        l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        QFontMetrics fm(l->font());
        l->setWordWrap(!fixed && (!geometry || geo.height() >= 2 * fm.height()));
        widget = l;
        break;
    }
    case Kind::TextBox: {
        auto* te = new QPlainTextEdit(host);
        te->setLineWrapMode(QPlainTextEdit::NoWrap);
        te->setTabChangesFocus(true);  // Tab moves on to the next control, as from any other
        te->setPlainText(j.contains("value") ? Q(j["value"].get<std::string>()) : QString());
        widget = te;
        break;
    }
    case Kind::Canvas:
        widget = BuildCanvas(c, geometry ? geo.width() : 200, geometry ? geo.height() : 150, host);
        break;
    case Kind::Table:
        widget = BuildTable(c, j, host);
        break;
    case Kind::ListBox: {
        auto* lw = new QListWidget(host);
        bool checkable = c.checkable = j.value("checkable", false);
        for (const Item& it : c.items) {
            auto* li = new QListWidgetItem(Q(it.label), lw);
            if (checkable) {
                li->setFlags(li->flags() | Qt::ItemIsUserCheckable);
                li->setCheckState(Qt::Unchecked);
            }
        }
        QObject::connect(lw, &QListWidget::currentRowChanged, lw, [h, id](int) { UserChanged(h, id); });
        QObject::connect(lw, &QListWidget::itemChanged, lw, [h, id](QListWidgetItem*) { FireControl(h, id, EVENT_COMMIT, 0, 0); });
        widget = lw;
        break;
    }
    case Kind::Timer: {
        auto* t = new QTimer(panel.content);
        c.interval = j.value("interval", 1.0);
        t->setInterval(static_cast<int>(std::max<long long>(1, std::llround(c.interval * 1000))));
        t->setTimerType(Qt::PreciseTimer);
        QObject::connect(t, &QTimer::timeout, t, [h, id] { TimerTick(h, id); });
        c.timer = t;
        if (j.value("enabled", true)) t->start();
        break;
    }
    case Kind::Decoration: {
        auto* f = new QFrame(host);
        f->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
        widget = f;
        break;
    }
    case Kind::Picture:
        widget = new ArtView(Q(j.value("picture", std::string())), host);
        break;
    case Kind::Splitter: {
        auto* f = new QFrame(host);
        f->setFrameStyle((geometry && geo.height() > geo.width() ? QFrame::VLine : QFrame::HLine) | QFrame::Sunken);
        widget = f;
        break;
    }
    }

    if (c.kind == Kind::Timer) {
        panel.controls[id] = std::move(owned);
        return;
    }

    widget->setObjectName(Q(c.constant));
    c.widget = widget;
    MarkForAccessibility(widget, h, id);
    QWidget* box = widget;
    if (IsLabelled(c.kind)) {
        auto* lab = new QLabel(label, host);
        lab->setBuddy(widget);
        if (c.label.empty()) lab->hide();
        c.labelWidget = lab;
        bool beside;
        if (!geometry) beside = IsSingleLine(c.kind);
        else beside = IsSingleLine(c.kind) && geo.height() < 40;
        box = new QWidget(host);
        QBoxLayout* lay = beside ? static_cast<QBoxLayout*>(new QHBoxLayout(box)) : new QVBoxLayout(box);
        lay->setContentsMargins(0, 0, 0, 0);
        lay->setSpacing(beside ? 6 : 2);
        lay->addWidget(lab, 0);
        lay->addWidget(widget, 1);
        if (beside) lab->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        box->setObjectName(Q(c.constant + "_box"));
    }
    c.box = box;

    // Values given by the resource, shown without running any callback.
    if (IsLabelled(c.kind) || c.kind == Kind::Led || c.kind == Kind::CheckBox || c.kind == Kind::RadioButton ||
        c.kind == Kind::BinarySwitch || c.kind == Kind::ToggleButton) {
        if (c.kind == Kind::Ring || c.kind == Kind::RingSlide || c.kind == Kind::ListBox) {
            int index = c.items.empty() ? -1 : 0;
            if (j.contains("value")) {
                Value v = ValueFromJson(j["value"], c.type);
                index = -1;
                for (size_t i = 0; i < c.items.size() && index < 0; ++i) {
                    const Value& iv = c.items[i].value;
                    if (iv.isString ? iv.str == v.str : iv.num == v.num) index = static_cast<int>(i);
                }
            }
            SelectIndex(c, index);
        } else if (c.kind == Kind::String) {
            c.text = j.contains("value") ? j["value"].get<std::string>() : std::string();
            static_cast<QLineEdit*>(widget)->setText(Q(c.text));
        } else if (c.kind != Kind::TextBox && c.kind != Kind::Table) {
            c.num = j.contains("value") ? ValueFromJson(j["value"], DataType::Double).num : (c.kind == Kind::Slide || c.kind == Kind::Numeric ? std::clamp(0.0, std::min(c.min, c.max), std::max(c.min, c.max)) : 0);
            if (c.kind == Kind::Slide || c.kind == Kind::Numeric) {
                c.num = std::clamp(c.num, std::min(c.min, c.max), std::max(c.min, c.max));
                if (c.type != DataType::Double) c.num = std::round(c.num);
            } else {
                c.num = c.num != 0 ? 1 : 0;
            }
            ShowNumber(c);
        }
    }

    QGroupBox* frame = nullptr;
    if (geometry) {
        box->setParent(panel.content);
        box->setGeometry(geo);
        // The frame it is drawn in: the smallest one holding its middle.
        for (const auto& [frameName, f] : frames) {
            const QRect r = f.box->geometry();
            if (r.contains(geo.center()) && (!frame || r.width() * r.height() < frame->width() * frame->height())) frame = f.box;
        }
    } else {
        Frame& f = frames[j["frame"].get<std::string>()];
        f.grid->addWidget(box, j["row"].get<int>(), j["col"].get<int>(), j.value("rowSpan", 1), j.value("colSpan", 1));
        c.inFrame = true;
        frame = f.box;
    }
    if (frame) widget->setProperty(kFrameLabel, frame->title().simplified());
    if (fixed) ApplyFixedFont(widget, true);
    if (j.contains("tooltip")) widget->setToolTip(Q(j["tooltip"].get<std::string>()));
    if (!j.value("visible", true)) box->hide();
    if (j.value("dimmed", false)) box->setEnabled(false);
    SetIndicator(c, c.indicator);
    UpdateAccessibleName(c);
    ApplyTextColours(c);

    auto* filter = new ControlFilter(h, id, widget);
    widget->installEventFilter(filter);
    for (QWidget* child : widget->findChildren<QWidget*>()) child->installEventFilter(filter);
    panel.controls[id] = std::move(owned);
}

// Moves the controls a text message names in "gaps" into its gaps: each gap opens to the
// control's width and the control sits in it, centred on the text's line.
void PlaceInGaps(Panel& p, const json& pj) {
    auto byConstant = [&](const std::string& name) -> Control* {
        for (auto& [id, c] : p.controls)
            if (c->constant == name) return c.get();
        return nullptr;
    };
    for (const json& j : pj["controls"]) {
        if (!j.contains("gaps")) continue;
        Control* text = p.controls[j["id"].get<int>()].get();
        auto* label = text ? dynamic_cast<GapLabel*>(text->widget.data()) : nullptr;
        if (!label) continue;
        std::vector<QWidget*> boxes;
        std::vector<int> widths;
        for (const json& g : j["gaps"]) {
            Control* c = byConstant(g.get<std::string>());
            if (!c || !c->box) continue;
            boxes.push_back(c->box);
            widths.push_back(c->box->width());
        }
        label->setSlots(widths);
        const std::vector<int> at = label->slotOffsets();
        for (size_t i = 0; i < boxes.size() && i < at.size(); ++i) {
            const QRect g = label->geometry();
            boxes[i]->move(g.left() + at[i], g.top() + (g.height() - boxes[i]->height()) / 2);
            boxes[i]->raise();
        }
    }
}

}  // namespace

int LoadPanel(int parentPanel, const char* fileName, int resourceId) {
    Runtime& rt = RT();
    if (int err = BeginLoad()) return err;
    int error = 0;
    std::string name;
    const json* pj = FindResource(fileName, "panels", resourceId, "panel", &name, &error);
    if (!pj) return error;
    Panel* parent = nullptr;
    if (parentPanel != 0) {
        parent = FindPanel(parentPanel);
        if (!parent || !parent->content) {
            rt.lastLoadError = name + ": panel " + panelfmt::DescribePanel(*pj) + ": parent panel " +
                               std::to_string(parentPanel) + " does not exist";
            return UIEBadPanelHandle;
        }
    }

    // Every callback the panel names must be known before anything is built.
    std::string where = name + ": panel " + panelfmt::DescribePanel(*pj);
    std::vector<std::string> unknown;
    auto missing = [&](const std::string& cb, bool known, const std::string& ctx, const char* kind) {
        if (known) return;
        std::string note = IsCallbackRegistered(cb) ? " (registered, but not as a " + std::string(kind) + " callback)" : "";
        unknown.push_back(ctx + ": unknown " + kind + " callback \"" + cb + "\"" + note);
    };
    if (pj->contains("callback")) {
        std::string cb = (*pj)["callback"].get<std::string>();
        missing(cb, rt.panelCallbacks.count(cb) > 0, where, "panel");
    }
    for (const json& c : (*pj)["controls"]) {
        if (!c.contains("callback")) continue;
        std::string cb = c["callback"].get<std::string>();
        missing(cb, rt.ctrlCallbacks.count(cb) > 0, where + ": " + panelfmt::DescribeControl(c), "control");
    }
    if (!unknown.empty()) {
        rt.lastLoadError = JoinLines(unknown);
        return UIEUnknownCallback;
    }

    auto owned = std::make_unique<Panel>();
    Panel& p = *owned;
    p.handle = rt.nextHandle++;
    p.parent = parentPanel;
    p.file = name;
    p.resource = resourceId;
    p.constant = (*pj)["constant"].get<std::string>();
    p.title = pj->value("title", std::string());
    p.callback = pj->value("callback", std::string());
    p.columnFoot = pj->value("columnFoot", 0);
    rt.panels[p.handle] = std::move(owned);

    QFont font = QApplication::font();
    font.setPixelSize(12);
    auto* content = new PanelWidget(p.handle, nullptr);
    content->setFont(font);
    content->setObjectName(Q(p.constant));
    content->setAccessibleName(Q(p.title.empty() ? p.constant : p.title));
    content->setFixedSize((*pj)["width"].get<int>(), (*pj)["height"].get<int>());
    p.content = content;
    if (parent) {
        content->setParent(parent->content);
        content->hide();
        p.window = content;
    } else {
        auto* win = new PanelWindow(p.handle);
        win->setFont(font);
        win->setWindowTitle(Q(p.title));
        auto* lay = new QVBoxLayout(win);
        lay->setContentsMargins(0, 0, 0, 0);
        lay->setSpacing(0);
        lay->setSizeConstraint(QLayout::SetFixedSize);
        lay->addWidget(content);
        p.window = win;
    }

    std::map<std::string, Frame> frames;
    std::vector<QWidget*> frameBoxes;
    for (const json& f : pj->value("frames", json::array())) {
        const json& g = f["geometry"];
        Frame fr;
        fr.box = new QGroupBox(Q(f.value("label", std::string())), content);
        fr.box->setGeometry(g[0].get<int>(), g[1].get<int>(), g[2].get<int>(), g[3].get<int>());
        fr.grid = new QGridLayout(fr.box);
        fr.grid->setContentsMargins(8, 6, 8, 6);
        fr.grid->setHorizontalSpacing(8);
        fr.grid->setVerticalSpacing(4);
        frames[f["name"].get<std::string>()] = fr;
        frameBoxes.push_back(fr.box);
    }
    for (const json& c : (*pj)["controls"]) BuildControl(p, c, frames);
    NameUnlabelledControls(p, *pj);
    PlaceInGaps(p, *pj);
    QualifyRepeatedNames(p);

    // Stacking, bottom to top: frames, decorations, canvases, then everything else, so icons
    // placed over a drawing stay visible whatever the order of the resource.
    std::vector<QWidget*> bottom = frameBoxes;
    for (Kind k : {Kind::Decoration, Kind::Canvas}) {
        for (const json& c : (*pj)["controls"]) {
            Control* ctl = p.controls[c["id"].get<int>()].get();
            if (ctl->kind == k && ctl->box && !ctl->inFrame) bottom.push_back(ctl->box);
        }
    }
    for (auto it = bottom.rbegin(); it != bottom.rend(); ++it) (*it)->lower();
    return p.handle;
}

}  // namespace rt

namespace rt::detail {

namespace {
// Blank room on each side of a control in a gap.
constexpr int kGapPad = 4;
}  // namespace

GapLabel::GapLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {}

void GapLabel::setSlots(std::vector<int> widths) {
    slots_ = std::move(widths);
    updateGeometry();
    update();
}

QStringList GapLabel::pieces() const {
    const std::string t = S(text());
    const auto gaps = panelfmt::TextGaps(t);
    if (slots_.empty() || gaps.size() != slots_.size()) return {};
    QStringList out;
    size_t from = 0;
    for (const auto& [begin, end] : gaps) {
        out << Q(t.substr(from, begin - from));
        from = end;
    }
    out << Q(t.substr(from));
    return out;
}

std::vector<int> GapLabel::slotOffsets() const {
    std::vector<int> at;
    const QStringList parts = pieces();
    int x = contentsRect().left();
    for (int i = 0; i + 1 < parts.size(); ++i) {
        x += fontMetrics().horizontalAdvance(parts[i]) + kGapPad;
        at.push_back(x);
        x += slots_[i] + kGapPad;
    }
    return at;
}

QSize GapLabel::sizeHint() const {
    const QStringList parts = pieces();
    if (parts.isEmpty()) return QLabel::sizeHint();
    int w = 0;
    for (const QString& part : parts) w += fontMetrics().horizontalAdvance(part);
    for (int slot : slots_) w += slot + 2 * kGapPad;
    const QMargins m = contentsMargins();
    return {w + m.left() + m.right(), QLabel::sizeHint().height()};
}

void GapLabel::paintEvent(QPaintEvent* e) {
    const QStringList parts = pieces();
    if (parts.isEmpty()) {
        QLabel::paintEvent(e);
        return;
    }
    QPainter painter(this);
    QRect r = contentsRect();
    for (int i = 0; i < parts.size(); ++i) {
        style()->drawItemText(&painter, r, Qt::AlignLeft | Qt::AlignVCenter, palette(), isEnabled(), parts[i], foregroundRole());
        r.setLeft(r.left() + fontMetrics().horizontalAdvance(parts[i]));
        if (i < static_cast<int>(slots_.size())) r.setLeft(r.left() + slots_[i] + 2 * kGapPad);
    }
}

}  // namespace rt::detail
