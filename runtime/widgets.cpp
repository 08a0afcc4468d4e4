// The run-time's own widgets and the control event filter.
#include "runtime/rt_internal.h"
#include "runtime/rt_widgets.h"
#include "runtime/testing.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRadialGradient>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <QWheelEvent>

#include <cmath>
#include <utility>

namespace rt::detail {

void LastWindowClosed();  // eventloop.cpp

// ---- assistive technology ------------------------------------------------------------------

namespace {
testing::AccessibilityWatch accessibilityWatch = nullptr;
}  // namespace

void TellAssistiveTechnology(QAccessibleEvent& event) {
    if (accessibilityWatch) accessibilityWatch(&event);
    QAccessible::updateAccessibility(&event);
}

// ---- panels --------------------------------------------------------------------------------

PanelWidget::PanelWidget(int handle, QWidget* parent) : QWidget(parent), handle_(handle) {
    setAutoFillBackground(true);
}

void PanelWidget::mousePressEvent(QMouseEvent* e) {
    QPoint p = e->position().toPoint();
    if (e->button() == Qt::LeftButton) FirePanel(handle_, EVENT_LEFT_CLICK, p.y(), p.x());
    else if (e->button() == Qt::RightButton) FirePanel(handle_, EVENT_RIGHT_CLICK, p.y(), p.x());
    e->accept();
}

void PanelWidget::mouseDoubleClickEvent(QMouseEvent* e) {
    QPoint p = e->position().toPoint();
    if (e->button() == Qt::LeftButton) FirePanel(handle_, EVENT_LEFT_DOUBLE_CLICK, p.y(), p.x());
    e->accept();
}

PanelWindow::PanelWindow(int handle) : QWidget(nullptr, Qt::Window), handle_(handle) {}

void PanelWindow::closeEvent(QCloseEvent* e) {
    e->ignore();
    Panel* p = FindPanel(handle_);
    if (!p) return;
    if (!p->callback.empty()) {
        FirePanel(handle_, EVENT_CLOSE, 0, 0);
        return;
    }
    hide();
    LastWindowClosed();
}

// ---- ring ----------------------------------------------------------------------------------

QSize RingBox::sizeHint() const {
    if (hint_.isValid()) return hint_;
    const QFontMetrics& fm = fontMetrics();
    const QSize icon = iconSize();
    QSize sh;
    if (fixedBox_) {
        sh.setWidth(4 * fm.horizontalAdvance(QLatin1Char('X')) + icon.width() + 4);
    } else if (count() == 0) {
        sh.setWidth(7 * fm.horizontalAdvance(QLatin1Char('x')));
    } else {
        for (int i = 0; i < count(); ++i) sh.setWidth(std::max(sh.width(), fm.boundingRect(itemText(i)).width()));
    }
    sh.setHeight(std::max(static_cast<int>(std::ceil(QFontMetricsF(fm).height())), 14) + 2);
    if (fixedBox_) sh.setHeight(std::max(sh.height(), icon.height() + 2));
    QStyleOptionComboBox opt;
    initStyleOption(&opt);
    hint_ = style()->sizeFromContents(QStyle::CT_ComboBox, &opt, sh, this);
    return hint_;
}

void RingBox::ItemsChanged() {
    hint_ = QSize();
    updateGeometry();
}

RingBox::RingBox(bool fixedBox, QWidget* parent) : QComboBox(parent), fixedBox_(fixedBox) {
    // With a placeholder QComboBox leaves its current index unset when its first items come
    // (without, it takes the first, which builds the list on some Qt versions): the ring takes
    // its first item itself while it holds its row. The placeholder is never painted.
    setPlaceholderText(QStringLiteral(" "));
    // While the ring holds its row, the row follows insertions and removals as QComboBox's
    // current index would.
    connect(model(), &QAbstractItemModel::rowsInserted, this, [this](const QModelIndex& parent, int first, int last) {
        if (!held_ || parent != rootModelIndex()) return;
        const int n = last - first + 1;
        if (row_ < 0) {
            if (first == 0 && n == count()) HoldRow(0);
        } else if (first <= row_) {
            HoldRow(row_ + n);
        }
    });
    connect(model(), &QAbstractItemModel::rowsRemoved, this, [this](const QModelIndex& parent, int first, int last) {
        if (!held_ || parent != rootModelIndex() || row_ < first) return;
        if (row_ > last) HoldRow(row_ - (last - first + 1));
        else HoldRow(count() == 0 ? -1 : std::min(row_, count() - 1));  // the row shown went
    });
    connect(model(), &QAbstractItemModel::modelReset, this, [this] {
        if (held_) HoldRow(-1);
    });
    // Connected before any other: QComboBox's current index set by another way than this
    // class's hands the row over.
    connect(this, &QComboBox::currentIndexChanged, this, [this] { HandOver(); });
}

void RingBox::HandOver() {
    if (!held_) return;
    held_ = false;
    {
        const QSignalBlocker quiet(this);
        if (currentIndex() < 0) QComboBox::setCurrentIndex(row_);
    }
    // Return on the value shown between two items closes the list (see eventFilter).
    view()->installEventFilter(this);
}

void RingBox::HoldRow(int row) {
    row_ = row;
    update();
    const QString shown = RowText();
    if (shown == told_) return;
    told_ = shown;
    QAccessibleValueChangeEvent changed(this, shown);
    TellAssistiveTechnology(changed);
}

void RingBox::ShowRow(int row) {
    if (row < 0 || row >= count()) row = -1;
    if (!held_) {
        QComboBox::setCurrentIndex(row);
        return;
    }
    // The refresh sets every ring again each tick: a row already held needs no repaint.
    if (row != row_) HoldRow(row);
}

void RingBox::ChooseRow(int row) {
    HandOver();
    QComboBox::setCurrentIndex(row);
}

bool RingBox::ListOpen() const {
    const auto* list = findChild<QAbstractItemView*>();
    return list && list->isVisible();
}

void RingBox::showPopup() {
    HandOver();
    QComboBox::showPopup();
}

void RingBox::wheelEvent(QWheelEvent* e) {
    HandOver();
    QComboBox::wheelEvent(e);
}

void RingBox::initStyleOption(QStyleOptionComboBox* option) const {
    QComboBox::initStyleOption(option);
    if (!held_) return;
    option->currentText = RowText();
    option->currentIcon = row_ >= 0 ? itemIcon(row_) : QIcon();
}

void RingBox::paintEvent(QPaintEvent*) {
    // The box and its row as the style draws them (QComboBox's own painting may ask for the
    // list's item delegate, which builds the list).
    QStylePainter painter(this);
    painter.setPen(palette().color(QPalette::Text));
    QStyleOptionComboBox opt;
    initStyleOption(&opt);
    painter.drawComplexControl(QStyle::CC_ComboBox, opt);
    painter.drawControl(QStyle::CE_ComboBoxLabel, opt);
}

bool RingBox::eventFilter(QObject* watched, QEvent* e) {
    // Return in the open list on the value shown between two items closes the list, nothing
    // chosen (the list would take no item there and stay open).
    if (watched == view() && e->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(e)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && ShowsNoItem(view()->currentIndex())) {
            hidePopup();
            return true;
        }
    }
    return QComboBox::eventFilter(watched, e);
}

void RingBox::keyPressEvent(QKeyEvent* e) {
    // Keys move from QComboBox's current index; a modifier pressed alone (on the way to a
    // shortcut or Shift+Tab) changes nothing.
    switch (e->key()) {
    case Qt::Key_Shift: case Qt::Key_Control: case Qt::Key_Alt: case Qt::Key_AltGr: case Qt::Key_Meta:
        break;
    default:
        HandOver();
    }
    // Typing searches the items after the current one. A value shown between two items stands
    // in a row no search can take as its start: start from the item before it instead.
    const int row = currentIndex();
    if (!e->text().isEmpty() && ShowsNoItem(model()->index(row, modelColumn(), rootModelIndex())))
        view()->selectionModel()->setCurrentIndex(model()->index(row - 1, modelColumn(), rootModelIndex()),
                                                  QItemSelectionModel::NoUpdate);
    QComboBox::keyPressEvent(e);
}

void RingBox::changeEvent(QEvent* e) {
    if (e->type() == QEvent::FontChange || e->type() == QEvent::StyleChange) hint_ = QSize();
    // QComboBox passes a new font to its list, building it on some Qt versions; a list built
    // later takes the ring's font then.
    if (e->type() == QEvent::FontChange && held_) {
        QWidget::changeEvent(e);
        return;
    }
    QComboBox::changeEvent(e);
}

// ---- LED -----------------------------------------------------------------------------------

LedWidget::LedWidget(QWidget* parent) : QWidget(parent) {}

void LedWidget::setOn(bool on) {
    if (on_ == on) return;
    on_ = on;
    update();
    // Assistive technology reads a lamp's light as its checked state.
    QAccessible::State changed;
    changed.checked = true;
    QAccessibleStateChangeEvent e(this, changed);
    TellAssistiveTechnology(e);
}

void LedWidget::setColours(int on, int off) {
    onColour_ = on;
    offColour_ = off;
    update();
}

void LedWidget::setText(const QString& text) {
    text_ = text;
    updateGeometry();
    update();
}

QSize LedWidget::sizeHint() const {
    QFontMetrics fm(font());
    int w = 18 + (text_.isEmpty() ? 0 : 6 + fm.horizontalAdvance(text_));
    return {w, std::max(18, fm.height() + 2)};
}

void LedWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, true);
    int d = std::min(16, std::max(6, height() - 4));
    QRectF lamp(2, (height() - d) / 2.0, d, d);
    QColor c = ToQColor(on_ ? onColour_ : offColour_);
    if (!isEnabled()) c = QColor::fromHsv(c.hsvHue(), c.hsvSaturation() / 4, std::min(255, c.value() / 2 + 100));
    QRadialGradient g(lamp.center() - QPointF(d / 5.0, d / 5.0), d * 0.7);
    g.setColorAt(0, on_ ? c.lighter(170) : c.lighter(130));
    g.setColorAt(1, c);
    p.setBrush(g);
    p.setPen(QPen(c.darker(170), 1));
    p.drawEllipse(lamp);
    if (!text_.isEmpty()) {
        p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
        QRect tr(d + 8, 0, width() - d - 8, height());
        p.drawText(tr, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextWordWrap, text_);
    }
}

// ---- canvas --------------------------------------------------------------------------------

CanvasWidget::CanvasWidget(int width, int height, QWidget* parent)
    : QWidget(parent), image_(std::max(1, width), std::max(1, height), QImage::Format_RGB32) {
    image_.fill(Qt::white);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CanvasWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    p.drawImage(QPoint(0, 0), image_);
}

void CanvasWidget::resizeEvent(QResizeEvent*) {
    // Grow the retained pixels with the widget (a canvas in a frame's grid gets its size late);
    // never shrink them, so a drawing survives a temporary resize.
    if (width() <= image_.width() && height() <= image_.height()) return;
    QImage bigger(std::max(width(), image_.width()), std::max(height(), image_.height()), QImage::Format_RGB32);
    bigger.fill(Qt::white);
    QPainter p(&bigger);
    p.drawImage(QPoint(0, 0), image_);
    p.end();
    image_ = bigger;
}

// ---- drawings ------------------------------------------------------------------------------

ArtButton::ArtButton(const QString& picture, QWidget* parent) : QAbstractButton(parent), picture_(picture) {
    setCursor(Qt::PointingHandCursor);
    setAttribute(Qt::WA_Hover);
}

void ArtButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    PaintArtwork(p, rect(), picture_, text(), isEnabled(), isDown(), hover_);
    if (hasFocus()) {
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setPen(QPen(palette().color(QPalette::Highlight), 2));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 4, 4);
    }
}

namespace {

bool PressKey(const QKeyEvent* e) {
    return e->key() == Qt::Key_Space || e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter || e->key() == Qt::Key_Select;
}

}  // namespace

void ArtButton::keyPressEvent(QKeyEvent* e) {
    if (!PressKey(e) || e->modifiers() & ~Qt::KeypadModifier) {
        QAbstractButton::keyPressEvent(e);
        return;
    }
    if (!e->isAutoRepeat()) setDown(true);
    e->accept();
}

void ArtButton::keyReleaseEvent(QKeyEvent* e) {
    if (!PressKey(e) || e->modifiers() & ~Qt::KeypadModifier) {
        QAbstractButton::keyReleaseEvent(e);
        return;
    }
    e->accept();
    if (e->isAutoRepeat() || !isDown()) return;
    setDown(false);
    const QVariant panel = property("rtPanel"), control = property("rtControl");
    if (panel.isValid() && control.isValid()) PressButton(panel.toInt(), control.toInt());
}

void PressButton(int panel, int control) {
    Control* c = FindControl(panel, control, nullptr);
    auto* b = c ? qobject_cast<QAbstractButton*>(c->widget.data()) : nullptr;
    if (!b || !b->isEnabled() || c->indicator) return;
    QPointer<QAbstractButton> button(b);
    if (c->kind == Kind::PictureButton) {
        const QPoint middle = b->rect().center();
        FireControl(panel, control, EVENT_LEFT_CLICK, middle.y(), middle.x());
        // The callback may have discarded the panel, or dimmed the button.
        c = FindControl(panel, control, nullptr);
        if (!c || !button || c->widget != button || !button->isEnabled()) return;
    }
    button->click();
}

ArtView::ArtView(const QString& picture, QWidget* parent) : QWidget(parent), picture_(picture) {}

void ArtView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    PaintArtwork(p, rect(), picture_, QString(), isEnabled(), false, false);
}

// ---- control events ------------------------------------------------------------------------

namespace {

// Kinds whose input an indicator swallows (the others become read-only instead).
bool SwallowsInput(Kind k) {
    switch (k) {
    case Kind::CommandButton: case Kind::PictureButton: case Kind::ToggleButton:
    case Kind::CheckBox: case Kind::RadioButton: case Kind::BinarySwitch: case Kind::Ring:
    case Kind::RingSlide: case Kind::Slide: case Kind::ListBox:
        return true;
    default:
        return false;
    }
}

// Kinds that take no mouse input of their own: a click meant for their callback must not also
// reach the panel behind them.
bool IsStatic(Kind k) {
    switch (k) {
    case Kind::TextMessage: case Kind::Picture: case Kind::Decoration: case Kind::Led:
    case Kind::Splitter: case Kind::Canvas:
        return true;
    default:
        return false;
    }
}

bool Swallow(const Control& c, QEvent::Type t) {
    if (!c.indicator || !SwallowsInput(c.kind)) return false;
    if (t == QEvent::Wheel && c.kind == Kind::ListBox) return false;  // scrolling stays possible
    return true;
}

}  // namespace

bool ControlFilter::eventFilter(QObject* watched, QEvent* e) {
    QEvent::Type t = e->type();
    bool press = t == QEvent::MouseButtonPress || t == QEvent::MouseButtonDblClick;
    bool input = press || t == QEvent::MouseButtonRelease || t == QEvent::Wheel ||
                 t == QEvent::KeyPress || t == QEvent::KeyRelease;
    if (!input) return false;
    int err = 0;
    Control* c = FindControl(panel_, control_, &err);
    if (!c || !c->widget) return false;
    // A dimmed control takes nothing; a drop-down list's popup is no click on the control.
    if (!c->widget->isEnabled()) return false;
    if (watched->isWidgetType() && static_cast<QWidget*>(watched)->window() != c->widget->window()) return false;
    if (press && !c->callback.empty() && watched->isWidgetType()) {
        auto* me = static_cast<QMouseEvent*>(e);
        auto* w = static_cast<QWidget*>(watched);
        QPoint pos = me->position().toPoint();
        if (c->widget && w != c->widget && c->widget->isAncestorOf(w)) pos = w->mapTo(c->widget.data(), pos);
        int event = EVENT_NONE;
        if (t == QEvent::MouseButtonDblClick) {
            if (me->button() == Qt::LeftButton) event = EVENT_LEFT_DOUBLE_CLICK;
        } else if (me->button() == Qt::LeftButton) {
            event = EVENT_LEFT_CLICK;
        } else if (me->button() == Qt::RightButton) {
            event = EVENT_RIGHT_CLICK;
        }
        bool isStatic = IsStatic(c->kind);
        int panel = panel_, control = control_;
        if (event != EVENT_NONE) FireControl(panel, control, event, pos.y(), pos.x());
        if (isStatic) return true;
        // The callback may have discarded the panel; its widgets go at the next turn.
        c = FindControl(panel, control, &err);
        if (!c) return true;
    }
    return Swallow(*c, t);
}

}  // namespace rt::detail

namespace rt::testing {

AccessibilityWatch WatchAccessibility(AccessibilityWatch watch) {
    std::swap(watch, detail::accessibilityWatch);
    return watch;
}

}  // namespace rt::testing
