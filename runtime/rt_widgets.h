// Private to runtime/: the widgets the run-time paints itself, and the event filter that turns
// mouse actions on controls into callback events.
#pragma once

#include <QAbstractButton>
#include <QComboBox>
#include <QSpinBox>
#include <QImage>
#include <QLabel>
#include <QObject>
#include <QString>
#include <QWidget>

#include <functional>
#include <vector>

class QAccessibleEvent;
class QPainter;

namespace rt::detail {

// Tells assistive technology of a change (Qt passes it on only while one listens; a test's
// watch sees it either way).
void TellAssistiveTechnology(QAccessibleEvent& event);

// A panel's client area. Mouse presses that no control takes (the background, frames, labels,
// decorations) reach the panel callback as click events.
class PanelWidget : public QWidget {
public:
    PanelWidget(int handle, QWidget* parent);
    int handle() const { return handle_; }

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;

private:
    int handle_;
};

// The window of a top-level panel: menu bar above the client area. Closing it asks the panel
// callback (EVENT_CLOSE) instead of closing.
class PanelWindow : public QWidget {
public:
    explicit PanelWindow(int handle);

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    int handle_;
};

// A whole-number entry that can show its value as upper-case hexadecimal digits.
class IntSpinBox : public QSpinBox {
public:
    using QSpinBox::QSpinBox;
    void setHex(bool hex) { setDisplayIntegerBase(hex ? 16 : 10); }
    bool isHex() const { return displayIntegerBase() == 16; }

protected:
    QString textFromValue(int value) const override {
        return isHex() ? QString::number(static_cast<unsigned>(value), 16).toUpper() : QSpinBox::textFromValue(value);
    }
};

// A drop-down ring, as wide as its longest item (in a frame's grid) or as four characters (in a
// box of fixed size, where a longer item elides). The size is worked out here rather than by
// QComboBox's size policies, which build the pop-up list of every ring at once.
//
// The pop-up list is built when the ring is first used (opened, a key, the wheel, a choice made
// through assistive technology), not when its panel loads or shows: some Qt versions build it
// whenever QComboBox's current index changes or the box paints. Until then the ring keeps the
// row it shows itself and leaves QComboBox's current index unset; read and set the row through
// Row(), RowText(), ShowRow() and ChooseRow(), never QComboBox's currentIndex().
class RingBox : public QComboBox {
public:
    RingBox(bool fixedBox, QWidget* parent);
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }
    // Items were added or removed: the size follows them.
    void ItemsChanged();
    void showPopup() override;
    // The row shown, -1 for none.
    int Row() const { return held_ ? row_ : currentIndex(); }
    QString RowText() const { return Row() >= 0 ? itemText(Row()) : QString(); }
    // Shows a row from code (-1 or a row out of range: none); the caller blocks the signals.
    void ShowRow(int row);
    // A user's choice of a row: reported as a change of the current index.
    void ChooseRow(int row);
    // Whether the pop-up list is open (asking builds nothing).
    bool ListOpen() const;
    // The row showing a value no item has, which takes no choice.
    static bool ShowsNoItem(const QModelIndex& row) { return row.isValid() && !(row.flags() & Qt::ItemIsEnabled); }

protected:
    void changeEvent(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void initStyleOption(QStyleOptionComboBox* option) const override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    // Hands the row shown to QComboBox, which builds the list from then on.
    void HandOver();
    // Every change of the row held, from code or by the items moving under it: the ring is
    // repainted, and assistive technology told when what it shows changed.
    void HoldRow(int row);

    bool fixedBox_;
    bool held_ = true;  // the row shown is row_, QComboBox's current index is unset
    int row_ = -1;
    QString told_;  // what the held row showed when assistive technology was last told
    mutable QSize hint_;
};

// A text message whose gaps (runs of three or more blanks) hold other controls: the text is
// drawn in pieces around a slot of the given width for each gap, so the sentence reads on
// through the controls. With no slots, or a text whose gaps no longer match, it is a plain label.
class GapLabel : public QLabel {
public:
    GapLabel(const QString& text, QWidget* parent);
    void setSlots(std::vector<int> widths);
    // Where each slot begins, from the label's left edge.
    std::vector<int> slotOffsets() const;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    // The text's pieces around its gaps; empty when they do not match the slots.
    QStringList pieces() const;
    std::vector<int> slots_;
};

// A round indicator lamp with its label to the right.
class LedWidget : public QWidget {
public:
    explicit LedWidget(QWidget* parent);
    void setOn(bool on);
    bool isOn() const { return on_; }
    void setColours(int on, int off);
    void setText(const QString& text);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    bool on_ = false;
    int onColour_ = 0x00C000;
    int offColour_ = 0x3A3A3A;
    QString text_;
};

// A drawing surface with retained pixels, painted 1:1.
class CanvasWidget : public QWidget {
public:
    CanvasWidget(int width, int height, QWidget* parent);
    QImage& image() { return image_; }
    QSize sizeHint() const override { return image_.size(); }

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;

private:
    QImage image_;
};

// Paints one of the run-time's own drawings ("chip:Jorb", "mute", ...) into `r`.
void PaintArtwork(QPainter& p, const QRect& r, const QString& name, const QString& caption,
                  bool enabled, bool down, bool hover);

// A button showing a drawing (model choice buttons, clickable icons). Space, Return and Enter
// press it as a click on it does (PressButton); it draws a frame while it has the focus.
class ArtButton : public QAbstractButton {
public:
    ArtButton(const QString& picture, QWidget* parent);
    void setPicture(const QString& picture) { picture_ = picture; update(); }
    QSize sizeHint() const override { return {64, 48}; }

protected:
    void paintEvent(QPaintEvent*) override;
    void enterEvent(QEnterEvent*) override { hover_ = true; update(); }
    void leaveEvent(QEvent*) override { hover_ = false; update(); }
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;

private:
    QString picture_;
    bool hover_ = false;
};

// A drawing that is not a button (icons, indicators).
class ArtView : public QWidget {
public:
    ArtView(const QString& picture, QWidget* parent);
    QSize sizeHint() const override { return {24, 24}; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QString picture_;
};

// A press of a button control from the keyboard or by an assistive tool: what a pointer click
// on it gives. A picture button gets a left click on its middle, then its commit (its callback
// may act on either, as on a pointer click); the other buttons are clicked (toggled, then
// value changed and commit).
void PressButton(int panel, int control);

// The user's input is held off: a wait is running, or a callback (an operation may handle
// events while it runs; what comes then is not the user's to act on).
bool UserInputHeld();
// A modal popup stands over the window of `w`, so the pointer cannot reach it.
bool UnderModalPopup(const QWidget* w);
// What an assistive tool would change on `w` is refused now: the user's input is held off, or
// a modal popup stands over it.
bool AssistiveChangeRefused(const QWidget* w);
// An action an assistive tool asked for on `target`: the tool's call returns at once and `act`
// runs from the event loop, as a click does, unless by its turn `target` is gone or `allowed`
// says no (a popup or an operation came first): then it is dropped, as a click would be.
void AfterTheCall(QObject* target, std::function<bool()> allowed, std::function<void()> act);

// Watches a control's widgets: mouse presses become EVENT_LEFT_CLICK / EVENT_RIGHT_CLICK /
// EVENT_LEFT_DOUBLE_CLICK for the control's callback, and an indicator swallows the input that
// would change it.
class ControlFilter : public QObject {
public:
    ControlFilter(int panel, int control, QObject* parent) : QObject(parent), panel_(panel), control_(control) {}

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    int panel_;
    int control_;
};

}  // namespace rt::detail
