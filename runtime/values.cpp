// Control values, attributes, ring and list items, and text boxes.
#include "runtime/rt_internal.h"
#include "runtime/rt_widgets.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTableWidget>
#include <QTimer>

#include <cerrno>
#include <cstdint>
#include <type_traits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <span>

namespace rt {

using namespace detail;

namespace detail {

// A number from a value: numbers as they are, texts parsed (decimal, or hexadecimal with 0x).
bool AsNumber(const Value& v, double* out) {
    if (!v.isString) {
        *out = v.num;
        return true;
    }
    const char* s = v.str.c_str();
    while (*s == ' ' || *s == '\t') ++s;
    if (!*s) return false;
    char* end = nullptr;
    errno = 0;
    double d;
    const char* digits = (*s == '-' || *s == '+') ? s + 1 : s;
    if (digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
        long long n = std::strtoll(s, &end, 16);
        d = static_cast<double>(n);
    } else {
        d = std::strtod(s, &end);
    }
    if (end == s || errno == ERANGE) return false;
    while (*end == ' ' || *end == '\t') ++end;
    if (*end) return false;
    *out = d;
    return true;
}

std::string AsText(const Value& v, DataType type, int precision) {
    if (v.isString) return v.str;
    if (type == DataType::Double) return FormatReal(v.num);
    (void)precision;
    if (v.num == std::floor(v.num) && std::fabs(v.num) < 9.2e18) return std::to_string(static_cast<long long>(v.num));
    return FormatReal(v.num);
}

}  // namespace detail

namespace {

bool IsList(Kind k) { return k == Kind::Ring || k == Kind::RingSlide || k == Kind::ListBox; }
bool IsOnOff(Kind k) {
    return k == Kind::CheckBox || k == Kind::RadioButton || k == Kind::BinarySwitch || k == Kind::ToggleButton ||
           k == Kind::Led;
}

bool SameValue(const Item& item, const Value& v, DataType type) {
    if (type == DataType::String || item.value.isString) return item.value.str == AsText(v, type, 6);
    double d;
    return AsNumber(v, &d) && item.value.num == d;
}

int FindItem(const Control& c, const Value& v) {
    for (size_t i = 0; i < c.items.size(); ++i)
        if (SameValue(c.items[i], v, c.type)) return static_cast<int>(i);
    return -1;
}

// Converts a value to the control's data type, as an item value or a numeric value.
bool Coerce(const Control& c, const Value& in, Value* out) {
    if (c.type == DataType::String) {
        *out = Value::Text(AsText(in, c.type, c.precision));
        return true;
    }
    double d;
    if (!AsNumber(in, &d)) return false;
    if (c.type != DataType::Double) d = std::round(d);
    *out = Value::Number(d);
    return true;
}

int SetValue(int panel, int control, const Value& v) {
    int err = 0;
    Control* c = FindControl(panel, control, &err);
    if (!c) return err;
    QWidget* w = c->widget;
    if (IsOnOff(c->kind)) {
        double d;
        if (!AsNumber(v, &d)) return UIEBadValue;
        c->num = d != 0 ? 1 : 0;
        ShowNumber(*c);
        return 0;
    }
    switch (c->kind) {
    case Kind::Numeric: case Kind::Slide: {
        double d;
        if (!AsNumber(v, &d)) return UIEBadValue;
        // A slide keeps a value beyond its range and shows it, the knob at the nearer end, so
        // that it says what the register holds and gives it back unchanged.
        if (c->kind == Kind::Numeric) d = std::clamp(d, std::min(c->min, c->max), std::max(c->min, c->max));
        if (c->type != DataType::Double) d = std::round(d);
        c->num = d;
        ShowNumber(*c);
        return 0;
    }
    case Kind::Ring: case Kind::RingSlide: case Kind::ListBox: {
        int index = FindItem(*c, v);
        Value shown;
        // A ring never shows blank: a value no item has is shown as what it is.
        if (index < 0 && c->kind != Kind::ListBox && Coerce(*c, v, &shown)) ShowUnlisted(*c, shown);
        else SelectIndex(*c, index);
        return index < 0 ? UIEItemNotFound : 0;
    }
    case Kind::String: {
        c->text = AsText(v, DataType::String, 0);
        QSignalBlocker b(w);
        static_cast<QLineEdit*>(w)->setText(Q(c->text));
        return 0;
    }
    case Kind::TextBox: {
        auto* te = static_cast<QPlainTextEdit*>(w);
        QSignalBlocker b(te);
        QTextCursor cur(te->document());
        cur.movePosition(QTextCursor::End);
        cur.insertText(Q(AsText(v, DataType::String, 0)));
        return 0;
    }
    case Kind::TextMessage:
        static_cast<QLabel*>(w)->setText(Q(AsText(v, DataType::String, 0)));
        return 0;
    case Kind::CommandButton: case Kind::PictureButton:
        return 0;  // buttons hold no value
    default:
        return UIEInvalidControlType;
    }
}

int GetValue(int panel, int control, Value* out) {
    int err = 0;
    Control* c = FindControl(panel, control, &err);
    if (!c) return err;
    QWidget* w = c->widget;
    if (IsOnOff(c->kind) || c->kind == Kind::Numeric || c->kind == Kind::Slide) {
        *out = Value::Number(c->num);
        return 0;
    }
    switch (c->kind) {
    case Kind::Ring: case Kind::RingSlide: case Kind::ListBox: {
        int index = CurrentIndex(*c);
        if (index < 0 || index >= static_cast<int>(c->items.size())) return UIEItemNotFound;
        *out = c->items[index].value;
        return 0;
    }
    case Kind::String: *out = Value::Text(S(static_cast<QLineEdit*>(w)->text())); return 0;
    case Kind::TextBox: *out = Value::Text(S(static_cast<QPlainTextEdit*>(w)->toPlainText())); return 0;
    case Kind::TextMessage: *out = Value::Text(S(static_cast<QLabel*>(w)->text())); return 0;
    case Kind::CommandButton: case Kind::PictureButton: *out = Value::Number(0); return 0;
    default: return UIEInvalidControlType;
    }
}

template <typename T>
int GetNumber(int panel, int control, T* value) {
    if (!value) return UIEBadValue;
    Value v;
    int err = GetValue(panel, control, &v);
    if (err < 0) return err;
    double d;
    if (!AsNumber(v, &d)) return UIEBadValue;
    if constexpr (std::is_same_v<T, double>) {
        *value = d;
    } else {
        // Whole numbers round to the nearest; 32-bit wrap so an unsigned value survives an int.
        long long n = std::llround(std::clamp(d, -9.2e18, 9.2e18));
        *value = static_cast<T>(static_cast<uint32_t>(n));
    }
    return 0;
}

}  // namespace

namespace detail {

void ApplyTextColours(Control& c) {
    QWidget* w = c.widget;
    if (!w) return;
    QPalette pal = w->palette();
    if (c.textColor >= 0) {
        QColor col = ToQColor(c.textColor);
        for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) pal.setColor(role, col);
    }
    if (c.textBgColor >= 0) {
        QColor col = ToQColor(c.textBgColor);
        pal.setColor(QPalette::Base, col);
        pal.setColor(QPalette::Window, col);
        w->setAutoFillBackground(true);
    }
    if (c.buttonColor >= 0) pal.setColor(QPalette::Button, ToQColor(c.buttonColor));
    w->setPalette(pal);
}

}  // namespace detail

// ---- values --------------------------------------------------------------------------------

int SetCtrlVal(int panel, int control, int value) { return SetValue(panel, control, Value::Number(value)); }
int SetCtrlVal(int panel, int control, unsigned value) { return SetValue(panel, control, Value::Number(value)); }
int SetCtrlVal(int panel, int control, double value) { return SetValue(panel, control, Value::Number(value)); }
int SetCtrlVal(int panel, int control, const char* value) {
    return SetValue(panel, control, Value::Text(value ? value : ""));
}
int SetCtrlVal(int panel, int control, const std::string& value) { return SetValue(panel, control, Value::Text(value)); }

namespace {

int ShowNote(int panel, int control, const char* text, const Value& value) {
    int err = 0;
    Control* c = FindControl(panel, control, &err);
    if (!c) return err;
    if (c->kind != Kind::Ring && c->kind != Kind::RingSlide) return UIEBadValue;
    ShowUnlisted(*c, value, text && *text ? text : " ");
    return 0;
}

}  // namespace

// The note stands for no value: an empty text, which no numeric item can equal.
int ShowRingNote(int panel, int control, const char* text) { return ShowNote(panel, control, text, Value::Text("")); }
int ShowRingNote(int panel, int control, const char* text, double value) {
    return ShowNote(panel, control, text, Value::Number(value));
}

int GetCtrlVal(int panel, int control, int* value) { return GetNumber(panel, control, value); }
int GetCtrlVal(int panel, int control, unsigned* value) { return GetNumber(panel, control, value); }
int GetCtrlVal(int panel, int control, double* value) { return GetNumber(panel, control, value); }

int GetCtrlVal(int panel, int control, std::string* value) {
    if (!value) return UIEBadValue;
    int err = 0;
    Control* c = FindControl(panel, control, &err);
    if (!c) return err;
    Value v;
    err = GetValue(panel, control, &v);
    if (err < 0) return err;
    *value = v.isString ? v.str
                        : (c->kind == Kind::Numeric || c->kind == Kind::Slide ? FormatNumber(v.num, c->type, c->precision)
                                                                              : AsText(v, c->type, c->precision));
    return 0;
}

int GetCtrlVal(int panel, int control, char* value, int size) {
    if (!value || size <= 0) return UIEBadValue;
    std::string s;
    int err = GetCtrlVal(panel, control, &s);
    if (err < 0) return err;
    size_t n = std::min(s.size(), static_cast<size_t>(size - 1));
    std::memcpy(value, s.data(), n);
    value[n] = '\0';
    return 0;
}

// ---- attributes ----------------------------------------------------------------------------

int SetCtrlAttribute(int panel, int control, int attribute, int value) {
    int err = 0;
    Control* c = FindControl(panel, control, &err);
    if (!c) return err;
    QWidget* w = c->widget;
    QWidget* box = c->box;
    switch (attribute) {
    case ATTR_DIMMED:
        if (c->kind == Kind::Timer) return UIEBadAttribute;
        box->setEnabled(value == 0);
        return 0;
    case ATTR_VISIBLE:
        if (c->kind == Kind::Timer) return UIEBadAttribute;
        box->setVisible(value != 0);
        return 0;
    case ATTR_CTRL_VAL: return SetCtrlVal(panel, control, value);
    case ATTR_CTRL_MODE:
        if (c->kind == Kind::Timer || c->kind == Kind::Canvas) return UIEBadAttribute;
        SetIndicator(*c, value == VAL_INDICATOR);
        return 0;
    case ATTR_TEXT_COLOR:
        if (!w) return UIEBadAttribute;
        c->textColor = value & 0xFFFFFF;
        ApplyTextColours(*c);
        return 0;
    case ATTR_TEXT_BGCOLOR:
        if (!w) return UIEBadAttribute;
        c->textBgColor = value & 0xFFFFFF;
        ApplyTextColours(*c);
        return 0;
    case ATTR_CMD_BUTTON_COLOR:
        if (c->kind != Kind::CommandButton && c->kind != Kind::ToggleButton) return UIEBadAttribute;
        c->buttonColor = value & 0xFFFFFF;
        ApplyTextColours(*c);
        return 0;
    case ATTR_FRAME_COLOR:
        if (!w) return UIEBadAttribute;
        c->frameColor = value & 0xFFFFFF;
        if (auto* f = qobject_cast<QFrame*>(w)) {
            QPalette pal = f->palette();
            pal.setColor(QPalette::WindowText, ToQColor(c->frameColor));
            pal.setColor(QPalette::Dark, ToQColor(c->frameColor));
            f->setPalette(pal);
        }
        return 0;
    case ATTR_ON_COLOR: case ATTR_OFF_COLOR:
        if (c->kind != Kind::Led) return UIEBadAttribute;
        (attribute == ATTR_ON_COLOR ? c->onColor : c->offColor) = value & 0xFFFFFF;
        static_cast<LedWidget*>(w)->setColours(c->onColor, c->offColor);
        return 0;
    case ATTR_INTERVAL:
        if (c->kind != Kind::Timer) return UIEBadAttribute;
        if (value <= 0) return UIEBadValue;
        return SetCtrlAttribute(panel, control, attribute, value / 1000.0);
    case ATTR_ENABLED:
        if (c->kind != Kind::Timer || !c->timer) return UIEBadAttribute;
        if (value) c->timer->start();  // restarts the interval, as re-enabling a timer does
        else c->timer->stop();
        return 0;
    case ATTR_LEFT: case ATTR_TOP: case ATTR_WIDTH: case ATTR_HEIGHT: {
        if (!box || c->inFrame) return UIEBadAttribute;
        QRect g = box->geometry();
        if (attribute == ATTR_LEFT) g.moveLeft(value);
        else if (attribute == ATTR_TOP) g.moveTop(value);
        else if (value <= 0) return UIEBadValue;
        else if (attribute == ATTR_WIDTH) g.setWidth(value);
        else g.setHeight(value);
        box->setGeometry(g);
        return 0;
    }
    case ATTR_PEN_COLOR: case ATTR_PEN_WIDTH: case ATTR_PEN_STYLE: case ATTR_PEN_FILL_COLOR:
        if (c->kind != Kind::Canvas || c->isTab) return UIEBadAttribute;
        if (attribute == ATTR_PEN_COLOR) c->penColor = value & 0xFFFFFF;
        else if (attribute == ATTR_PEN_FILL_COLOR) c->fillColor = value & 0xFFFFFF;
        else if (attribute == ATTR_PEN_WIDTH) {
            if (value < 1) return UIEBadValue;
            c->penWidth = value;
        } else {
            if (value != VAL_SOLID && value != VAL_DASH && value != VAL_DOT) return UIEBadValue;
            c->penStyle = value;
        }
        return 0;
    case ATTR_TEXT_FONT_FIXED:
        if (!w) return UIEBadAttribute;
        ApplyFixedFont(w, value != 0);
        return 0;
    case ATTR_FORMAT:
        if (auto* sb = dynamic_cast<IntSpinBox*>(w)) {
            if (value != VAL_DECIMAL_FORMAT && value != VAL_HEX_FORMAT) return UIEBadValue;
            QSignalBlocker b(sb);
            sb->setHex(value == VAL_HEX_FORMAT);
            return 0;
        }
        return UIEBadAttribute;
    default:
        return UIEBadAttribute;
    }
}

int SetCtrlAttribute(int panel, int control, int attribute, unsigned value) {
    return SetCtrlAttribute(panel, control, attribute, static_cast<int>(value));
}

int SetCtrlAttribute(int panel, int control, int attribute, double value) {
    int err = 0;
    Control* c = FindControl(panel, control, &err);
    if (!c) return err;
    if (attribute == ATTR_CTRL_VAL) return SetCtrlVal(panel, control, value);
    if (attribute != ATTR_INTERVAL) return SetCtrlAttribute(panel, control, attribute, static_cast<int>(std::lround(value)));
    if (c->kind != Kind::Timer || !c->timer) return UIEBadAttribute;
    if (!(value > 0) || value > 2e6) return UIEBadValue;
    c->interval = value;
    c->timer->setInterval(static_cast<int>(std::max<long long>(1, std::llround(value * 1000))));
    return 0;
}

int SetCtrlAttribute(int panel, int control, int attribute, const char* value) {
    int err = 0;
    Control* c = FindControl(panel, control, &err);
    if (!c) return err;
    QString text = QString::fromUtf8(value ? value : "");
    switch (attribute) {
    case ATTR_LABEL_TEXT:
        c->label = value ? value : "";
        if (c->labelWidget) {
            c->labelWidget->setText(text);
            c->labelWidget->setVisible(!text.isEmpty());
        } else if (auto* b = qobject_cast<QAbstractButton*>(c->widget.data())) {
            b->setText(text);
            if (c->kind == Kind::PictureButton) b->setToolTip(text);
        } else if (c->kind == Kind::Led) {
            static_cast<LedWidget*>(c->widget.data())->setText(text);
        }
        UpdateAccessibleName(*c);
        if (Panel* p = FindPanel(panel)) QualifyRepeatedNames(*p);
        return 0;
    case ATTR_TOOLTIP_TEXT:
        if (!c->widget) return UIEBadAttribute;
        c->widget->setToolTip(text);
        return 0;
    case ATTR_CTRL_VAL:
        return SetCtrlVal(panel, control, value);
    default:
        return UIEBadAttribute;
    }
}

int GetCtrlAttribute(int panel, int control, int attribute, int* value) {
    if (!value) return UIEBadValue;
    int err = 0;
    Control* c = FindControl(panel, control, &err);
    if (!c) return err;
    QWidget* box = c->box;
    switch (attribute) {
    case ATTR_DIMMED:
        if (c->kind == Kind::Timer) return UIEBadAttribute;
        *value = box->isEnabled() ? 0 : 1;
        return 0;
    case ATTR_VISIBLE:
        if (c->kind == Kind::Timer) return UIEBadAttribute;
        *value = box->isHidden() ? 0 : 1;
        return 0;
    case ATTR_CTRL_VAL: return GetCtrlVal(panel, control, value);
    case ATTR_CTRL_MODE:
        *value = c->indicator ? VAL_INDICATOR : VAL_HOT;
        return 0;
    case ATTR_TEXT_COLOR:
        if (!c->widget) return UIEBadAttribute;
        *value = c->textColor >= 0 ? c->textColor : FromQColor(c->widget->palette().color(QPalette::WindowText));
        return 0;
    case ATTR_TEXT_BGCOLOR:
        if (!c->widget) return UIEBadAttribute;
        *value = c->textBgColor >= 0 ? c->textBgColor : FromQColor(c->widget->palette().color(QPalette::Window));
        return 0;
    case ATTR_CMD_BUTTON_COLOR:
        if (c->kind != Kind::CommandButton && c->kind != Kind::ToggleButton) return UIEBadAttribute;
        *value = c->buttonColor >= 0 ? c->buttonColor : FromQColor(c->widget->palette().color(QPalette::Button));
        return 0;
    case ATTR_FRAME_COLOR:
        if (!c->widget) return UIEBadAttribute;
        *value = c->frameColor >= 0 ? c->frameColor : FromQColor(c->widget->palette().color(QPalette::Dark));
        return 0;
    case ATTR_ON_COLOR: case ATTR_OFF_COLOR:
        if (c->kind != Kind::Led) return UIEBadAttribute;
        *value = attribute == ATTR_ON_COLOR ? c->onColor : c->offColor;
        return 0;
    case ATTR_INTERVAL:
        if (c->kind != Kind::Timer) return UIEBadAttribute;
        *value = static_cast<int>(std::llround(c->interval * 1000));
        return 0;
    case ATTR_ENABLED:
        if (c->kind != Kind::Timer || !c->timer) return UIEBadAttribute;
        *value = c->timer->isActive() ? 1 : 0;
        return 0;
    case ATTR_LEFT: case ATTR_TOP: case ATTR_WIDTH: case ATTR_HEIGHT: {
        if (!box) return UIEBadAttribute;
        Panel* p = FindPanel(panel);
        QPoint at = c->inFrame && p && p->content ? box->mapTo(p->content.data(), QPoint(0, 0)) : box->pos();
        *value = attribute == ATTR_LEFT ? at.x() : attribute == ATTR_TOP ? at.y()
               : attribute == ATTR_WIDTH ? box->width() : box->height();
        return 0;
    }
    case ATTR_PEN_COLOR: case ATTR_PEN_WIDTH: case ATTR_PEN_STYLE: case ATTR_PEN_FILL_COLOR:
        if (c->kind != Kind::Canvas || c->isTab) return UIEBadAttribute;
        *value = attribute == ATTR_PEN_COLOR ? c->penColor : attribute == ATTR_PEN_WIDTH ? c->penWidth
               : attribute == ATTR_PEN_STYLE ? c->penStyle : c->fillColor;
        return 0;
    case ATTR_TEXT_FONT_FIXED:
        if (!c->widget) return UIEBadAttribute;
        *value = c->widget->font().fixedPitch() || QFontInfo(c->widget->font()).fixedPitch() ? 1 : 0;
        return 0;
    case ATTR_FORMAT:
        if (auto* sb = dynamic_cast<IntSpinBox*>(c->widget.data())) {
            *value = sb->isHex() ? VAL_HEX_FORMAT : VAL_DECIMAL_FORMAT;
            return 0;
        }
        return UIEBadAttribute;
    default:
        return UIEBadAttribute;
    }
}

int GetCtrlAttribute(int panel, int control, int attribute, double* value) {
    if (!value) return UIEBadValue;
    int err = 0;
    Control* c = FindControl(panel, control, &err);
    if (!c) return err;
    if (attribute == ATTR_INTERVAL) {
        if (c->kind != Kind::Timer) return UIEBadAttribute;
        *value = c->interval;
        return 0;
    }
    if (attribute == ATTR_CTRL_VAL) return GetCtrlVal(panel, control, value);
    int i = 0;
    err = GetCtrlAttribute(panel, control, attribute, &i);
    if (err == 0) *value = i;
    return err;
}

int GetCtrlAttribute(int panel, int control, int attribute, std::string* value) {
    if (!value) return UIEBadValue;
    int err = 0;
    Control* c = FindControl(panel, control, &err);
    if (!c) return err;
    switch (attribute) {
    case ATTR_LABEL_TEXT: *value = c->label; return 0;
    case ATTR_TOOLTIP_TEXT:
        if (!c->widget) return UIEBadAttribute;
        *value = S(c->widget->toolTip());
        return 0;
    case ATTR_CTRL_VAL: return GetCtrlVal(panel, control, value);
    default: return UIEBadAttribute;
    }
}

// ---- ring and list items -------------------------------------------------------------------

namespace {

Control* ListControl(int panel, int control, int* err) {
    Control* c = FindControl(panel, control, err);
    if (c && !IsList(c->kind)) {
        *err = UIEInvalidControlType;
        return nullptr;
    }
    return c;
}

// The item at `index` of a list control, for a query that writes to `out`. Null, with *err
// set, when the control is no list, `out` is null or the index is out of range (in that order).
const Item* QueriedItem(int panel, int control, int index, const void* out, int* err) {
    Control* c = ListControl(panel, control, err);
    if (!c) return nullptr;
    if (!out) {
        *err = UIEBadValue;
        return nullptr;
    }
    if (index < 0 || index >= static_cast<int>(c->items.size())) {
        *err = UIEIndexOutOfRange;
        return nullptr;
    }
    return &c->items[index];
}

// Inserts items of one value at `index` (-1: at the end), in one insertion for the widget.
int Insert(int panel, int control, int index, std::span<const std::string> labels, const Value& value) {
    int err = 0;
    Control* c = ListControl(panel, control, &err);
    if (!c) return err;
    const int count = static_cast<int>(c->items.size());
    if (index == -1) index = count;
    if (index < 0 || index > count) return UIEIndexOutOfRange;
    if (labels.empty()) return 0;
    Value v;
    if (!Coerce(*c, value, &v)) return UIEBadValue;
    const int current = CurrentIndex(*c);
    LiftUnlisted(*c);
    QStringList texts;
    texts.reserve(static_cast<qsizetype>(labels.size()));
    std::vector<Item> added;
    added.reserve(labels.size());
    for (const std::string& label : labels) {
        added.push_back(Item{label, v});
        texts.push_back(QString::fromStdString(label));
    }
    c->items.insert(c->items.begin() + index, std::make_move_iterator(added.begin()), std::make_move_iterator(added.end()));
    if (auto* cb = qobject_cast<QComboBox*>(c->widget.data())) {
        QSignalBlocker b(cb);
        cb->insertItems(index, texts);
        if (auto* ring = dynamic_cast<RingBox*>(cb)) ring->ItemsChanged();
    } else if (auto* lw = qobject_cast<QListWidget*>(c->widget.data())) {
        QSignalBlocker b(lw);
        lw->insertItems(index, texts);
        if (c->checkable)
            for (int i = 0; i < texts.size(); ++i) {
                QListWidgetItem* it = lw->item(index + i);
                it->setFlags(it->flags() | Qt::ItemIsUserCheckable);
                it->setCheckState(Qt::Unchecked);
            }
    }
    // The selection stays on the item it was on; an empty control selects its first item. A
    // ring showing a value no item had selects the new items' first when they have that value.
    const int n = static_cast<int>(labels.size());
    int select = current < 0 ? (count == 0 ? 0 : -1) : (index <= current ? current + n : current);
    if (current < 0 && c->unlisted) select = SameValue(c->items[index], *c->unlisted, c->type) ? index : -1;
    SelectIndex(*c, select);
    if (select < 0 && c->unlisted) ShowUnlisted(*c, *c->unlisted, c->unlistedText);  // where it now stands
    return 0;
}

int InsertOne(int panel, int control, int index, const char* label, const Value& value) {
    const std::string one = label ? label : "";
    return Insert(panel, control, index, std::span<const std::string>(&one, 1), value);
}

}  // namespace

int InsertListItems(int panel, int control, int index, const std::vector<std::string>& labels, int value) {
    return Insert(panel, control, index, labels, Value::Number(value));
}

int InsertListItem(int panel, int control, int index, const char* label, int value) {
    return InsertOne(panel, control, index, label, Value::Number(value));
}
int InsertListItem(int panel, int control, int index, const char* label, double value) {
    return InsertOne(panel, control, index, label, Value::Number(value));
}
int InsertListItem(int panel, int control, int index, const char* label, const char* value) {
    return InsertOne(panel, control, index, label, Value::Text(value ? value : ""));
}

int DeleteListItem(int panel, int control, int index, int count) {
    int err = 0;
    Control* c = ListControl(panel, control, &err);
    if (!c) return err;
    int n = static_cast<int>(c->items.size());
    if (index < 0 || index >= n) return UIEIndexOutOfRange;
    if (count == -1 || index + count > n) count = n - index;
    if (count < 0) return UIEIndexOutOfRange;
    int current = CurrentIndex(*c);
    LiftUnlisted(*c);
    c->items.erase(c->items.begin() + index, c->items.begin() + index + count);
    if (auto* cb = qobject_cast<QComboBox*>(c->widget.data())) {
        QSignalBlocker b(cb);
        for (int i = 0; i < count; ++i) cb->removeItem(index);
        if (auto* ring = dynamic_cast<RingBox*>(cb)) ring->ItemsChanged();
    } else if (auto* lw = qobject_cast<QListWidget*>(c->widget.data())) {
        QSignalBlocker b(lw);
        lw->model()->removeRows(index, count);  // at once: one removal for the view, not one per item
    }
    int remaining = static_cast<int>(c->items.size());
    int select;
    if (current < index) select = current;
    else if (current >= index + count) select = current - count;
    else select = remaining == 0 ? -1 : std::min(index, remaining - 1);  // the selected item went
    SelectIndex(*c, select);
    if (select < 0 && c->unlisted) ShowUnlisted(*c, *c->unlisted, c->unlistedText);  // where it now stands
    return 0;
}

int ClearListCtrl(int panel, int control) {
    int err = 0;
    Control* c = ListControl(panel, control, &err);
    if (!c) return err;
    if (c->items.empty()) return 0;
    return DeleteListItem(panel, control, 0, -1);
}

int GetNumListItems(int panel, int control, int* count) {
    int err = 0;
    Control* c = ListControl(panel, control, &err);
    if (!c) return err;
    if (!count) return UIEBadValue;
    *count = static_cast<int>(c->items.size());
    return 0;
}

int GetIndexFromValue(int panel, int control, int* index, int value) {
    return GetIndexFromValue(panel, control, index, static_cast<double>(value));
}

int GetIndexFromValue(int panel, int control, int* index, double value) {
    int err = 0;
    Control* c = ListControl(panel, control, &err);
    if (!c) return err;
    if (!index) return UIEBadValue;
    int i = FindItem(*c, Value::Number(value));
    if (i < 0) return UIEItemNotFound;
    *index = i;
    return 0;
}

int GetValueFromIndex(int panel, int control, int index, int* value) {
    double d;
    const int err = GetValueFromIndex(panel, control, index, value ? &d : nullptr);
    if (err != 0) return err;
    *value = static_cast<int>(std::llround(d));
    return 0;
}

int GetValueFromIndex(int panel, int control, int index, double* value) {
    int err = 0;
    const Item* item = QueriedItem(panel, control, index, value, &err);
    if (!item) return err;
    if (!AsNumber(item->value, value)) return UIEBadValue;
    return 0;
}

int GetLabelFromIndex(int panel, int control, int index, std::string* label) {
    int err = 0;
    const Item* item = QueriedItem(panel, control, index, label, &err);
    if (!item) return err;
    *label = item->label;
    return 0;
}

int GetCtrlIndex(int panel, int control, int* index) {
    int err = 0;
    Control* c = ListControl(panel, control, &err);
    if (!c) return err;
    if (!index) return UIEBadValue;
    *index = CurrentIndex(*c);
    return 0;
}

int SetCtrlIndex(int panel, int control, int index) {
    int err = 0;
    Control* c = ListControl(panel, control, &err);
    if (!c) return err;
    if (index < 0 || index >= static_cast<int>(c->items.size())) return UIEIndexOutOfRange;
    SelectIndex(*c, index);
    return 0;
}

int CheckListItem(int panel, int control, int index, int checked) {
    int err = 0;
    Control* c = ListControl(panel, control, &err);
    if (!c) return err;
    auto* lw = qobject_cast<QListWidget*>(c->widget.data());
    if (!lw) return UIEInvalidControlType;
    if (index < 0 || index >= lw->count()) return UIEIndexOutOfRange;
    QSignalBlocker b(lw);
    QListWidgetItem* it = lw->item(index);
    it->setFlags(it->flags() | Qt::ItemIsUserCheckable);
    it->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    return 0;
}

int IsListItemChecked(int panel, int control, int index, int* checked) {
    int err = 0;
    Control* c = ListControl(panel, control, &err);
    if (!c) return err;
    auto* lw = qobject_cast<QListWidget*>(c->widget.data());
    if (!lw) return UIEInvalidControlType;
    if (!checked) return UIEBadValue;
    if (index < 0 || index >= lw->count()) return UIEIndexOutOfRange;
    *checked = lw->item(index)->checkState() == Qt::Checked ? 1 : 0;
    return 0;
}

// ---- text boxes ----------------------------------------------------------------------------

namespace {

QPlainTextEdit* TextBox(int panel, int control, int* err) {
    Control* c = FindControl(panel, control, err);
    if (!c) return nullptr;
    auto* te = qobject_cast<QPlainTextEdit*>(c->widget.data());
    if (!te) *err = UIEInvalidControlType;
    return te;
}

// The lines of a text: split at line breaks; a final line break ends the last line rather
// than starting an empty one.
QStringList Lines(const QString& text) {
    if (text.isEmpty()) return {};
    QStringList lines = text.split('\n');
    if (text.endsWith('\n')) lines.removeLast();
    return lines;
}

}  // namespace

int ResetTextBox(int panel, int control, const char* text) {
    int err = 0;
    QPlainTextEdit* te = TextBox(panel, control, &err);
    if (!te) return err;
    QSignalBlocker b(te);
    te->setPlainText(QString::fromUtf8(text ? text : ""));
    return 0;
}

int InsertTextBoxLine(int panel, int control, int index, const char* text) {
    int err = 0;
    QPlainTextEdit* te = TextBox(panel, control, &err);
    if (!te) return err;
    QStringList lines = Lines(te->toPlainText());
    if (index == -1) index = static_cast<int>(lines.size());
    if (index < 0 || index > lines.size()) return UIEIndexOutOfRange;
    lines.insert(index, QString::fromUtf8(text ? text : ""));
    QSignalBlocker b(te);
    te->setPlainText(lines.join('\n'));
    te->moveCursor(QTextCursor::End);
    return 0;
}

int GetNumTextBoxLines(int panel, int control, int* count) {
    int err = 0;
    QPlainTextEdit* te = TextBox(panel, control, &err);
    if (!te) return err;
    if (!count) return UIEBadValue;
    *count = static_cast<int>(Lines(te->toPlainText()).size());
    return 0;
}

int GetTextBoxLine(int panel, int control, int index, std::string* line) {
    int err = 0;
    QPlainTextEdit* te = TextBox(panel, control, &err);
    if (!te) return err;
    if (!line) return UIEBadValue;
    QStringList lines = Lines(te->toPlainText());
    if (index < 0 || index >= lines.size()) return UIEIndexOutOfRange;
    *line = S(lines[index]);
    return 0;
}

}  // namespace rt
