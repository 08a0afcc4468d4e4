// Private to runtime/*.cpp: the run-time's state (panels, controls, menu bars, callback
// registry) and the helpers its parts share. Qt lives here and below, never in ui.h.
#pragma once

#include "runtime/panel_format.h"
#include "runtime/ui.h"

#include <QColor>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QGroupBox;
class QLabel;
class QMenuBar;
class QScrollArea;
class QTimer;
class QWidget;

namespace rt::detail {

using panelfmt::DataType;
using panelfmt::Kind;

// A control's value or an item's value: a number (int, unsigned and double alike) or a text.
struct Value {
    bool isString = false;
    double num = 0;
    std::string str;
    static Value Number(double d) { Value v; v.num = d; return v; }
    static Value Text(std::string s) { Value v; v.isString = true; v.str = std::move(s); return v; }
};

struct Item {
    std::string label;
    Value value;
};

struct Column {
    std::string label;
    DataType type = DataType::Int;
    bool picture = false;
    bool editable = true;
    bool hex = false;
    int digits = 0;
    double min = -2147483648.0;
    double max = 2147483647.0;
    int precision = 0;
};

class PanelWidget;

struct Control {
    int panel = 0;
    int id = 0;
    std::string constant;
    Kind kind = Kind::Decoration;
    DataType type = DataType::Int;
    std::string label;
    std::string callback;
    std::string nearbyText;         // no label: the text placed beside or above it, if any
    std::string accessibleName;     // no label shown: the name the resource gives it to be read by

    QPointer<QWidget> box;          // what is placed on the panel: the control with its label
    QPointer<QWidget> widget;       // the control proper (events, values)
    QPointer<QLabel> labelWidget;   // the label of labelled kinds
    QPointer<QLabel> valueLabel;    // slides: the value shown; ring slides: the item's label
    bool inFrame = false;

    bool indicator = false;
    double num = 0;                 // numerics and slides: the exact value
    double min = 0, max = 100, step = 1;
    int precision = 0;
    int selected = -1;              // ring slides: the selected item (-1 none)
    // Rings and ring slides set to a value no item has: that value, shown as an item of its
    // own ("code 27") until an item is chosen, so the ring never shows blank. It stands where
    // the value lies among the items, before item `unlistedAt`, so moving from it reaches the
    // neighbouring items.
    std::optional<Value> unlisted;
    std::string unlistedText;
    int unlistedAt = 0;
    std::string text;               // strings: the text last set or committed
    std::vector<Item> items;        // rings, ring slides, list boxes
    bool checkable = false;         // list boxes with check marks

    int onColor = 0x00C000;         // LEDs
    int offColor = 0x3A3A3A;
    int buttonColor = -1;           // command buttons: face colour, -1 the style's own
    int textColor = -1;
    int textBgColor = -1;
    int frameColor = -1;

    QPointer<QTimer> timer;         // timers
    double interval = 1.0;
    bool ticking = false;           // a tick's callback is running (no nested ticks)
    bool tickHeld = false;          // a tick that came during a wait is waiting to run

    std::vector<Column> columns;    // tables

    int penColor = VAL_BLACK;       // canvases
    int penWidth = 1;
    int penStyle = VAL_SOLID;
    int fillColor = VAL_BLACK;
    int batch = 0;

    bool isTab = false;             // a canvas made into a tab control
    std::vector<int> tabs;          // the panels shown as tabs, in order
};

struct Panel {
    int handle = 0;
    int parent = 0;
    std::string file;
    int resource = 0;
    std::string constant;
    std::string title;
    std::string callback;
    QPointer<QWidget> window;          // top-level: the window; child panel: the content itself
    QPointer<PanelWidget> content;     // the panel's client area; controls live here
    std::map<int, std::unique_ptr<Control>> controls;
    int menuBar = 0;
    int hostPanel = 0;                 // the tab control showing this panel as a tab, if any
    int hostTab = 0;
    QPointer<QScrollArea> page;        // its tab page
    int columnFoot = 0;                // height of the band at its bottom kept in view (window fit)
};

struct MenuEntry {
    int id = 0;
    bool isMenu = false;
    std::string label;              // as the resource gives it (the shown text adds a mnemonic)
    std::string callback;
    QPointer<QAction> action;
    bool checked = false;
    bool dimmed = false;
};

struct MenuBar {
    int handle = 0;
    int panel = 0;
    std::string file;
    int resource = 0;
    QPointer<QMenuBar> bar;
    std::map<int, MenuEntry> entries;
};

struct Runtime {
    int nextHandle = 1;
    std::map<int, std::unique_ptr<Panel>> panels;
    std::map<int, std::unique_ptr<MenuBar>> menuBars;
    std::map<std::string, CtrlCallback> ctrlCallbacks;
    std::map<std::string, PanelCallback> panelCallbacks;
    std::map<std::string, MenuCallback> menuCallbacks;
    std::string lastLoadError;
};

Runtime& RT();

// Creates the application object when none exists; false when no GUI application can be had.
bool EnsureApp();

Panel* FindPanel(int handle);
// The control, or null with *error set to UIEBadPanelHandle / UIEBadControlId.
Control* FindControl(int panel, int control, int* error);

// Run callbacks by name (looked up at call time, so a re-registered name takes effect at once).
// Exceptions escaping a callback are reported on stderr and do not reach Qt.
int FireControl(int panel, int control, int event, int data1, int data2, void* callbackData = nullptr);
int FirePanel(int panel, int event, int data1, int data2, void* callbackData = nullptr);
void FireMenu(int menuBar, int item);

// Loading: the checked document of a panel file (cached until the file is registered again).
const nlohmann::json* PanelFile(const std::string& fileName, std::string* canonicalName, int* error);
// Starts a load: clears the last load error. 0, or UIENoApplication (with the error said) when
// no GUI application can be had.
int BeginLoad();
// The element of the array `list` ("panels", "menubars") of a panel file whose "resource" is
// `resourceId` (the last such). Null, with the load error said and *error set, when no file is
// named, the file is not loadable, or no element has that resource (`what` names the element
// kind in that message). *canonicalName is set once the file is loaded.
const nlohmann::json* FindResource(const char* fileName, const char* list, int resourceId, const char* what,
                                   std::string* canonicalName, int* error);
// The lines joined with LF between them.
std::string JoinLines(const std::vector<std::string>& lines);

// A wait (Delay) handles the window system's events (paint, expose, the window manager's ping,
// moves) but runs no program callback: a callback those events would run is held and runs
// after the wait, once control is back outside every wait, in the order they came.
bool HoldingCallbacks();
void HoldCallback(std::function<void()> call);

// The outermost callback running is an operation; it is the user's when a user's action (a
// control's event other than a timer tick, a panel event, a menu item) started it, and not when
// a timer tick or a watched descriptor did. Nested callbacks belong to the outermost one. While
// a wait of a user's operation handles events, pointer clicks and key presses are dropped, the
// windows show a busy cursor, and once its waits pass half a second the busy observer is told.
class OperationScope {
public:
    OperationScope(bool user, const char* name);
    ~OperationScope();
    OperationScope(const OperationScope&) = delete;
    OperationScope& operator=(const OperationScope&) = delete;
};
// A user's operation is running (its callback, its waits, the callbacks nested in it).
bool UserOperationRunning();

// Callbacks running now (nested ones counted): while one runs, a Qt event handler may be below
// it on the stack, so widgets it discards must outlive the event.
int CallbackDepth();
// Deletes `o` at once when no callback is running, else once control is back in the event loop
// (or at the next FlushDisposals outside any callback).
void Dispose(QObject* o);
// Deletes what was disposed of during callbacks, when no callback is running now.
void FlushDisposals();

// Discarding panels and menu bars (children and tab membership included).
void DiscardPanelTree(int handle);
void DiscardMenuBarsOf(int panel);
void RemoveFromTabs(Panel& child);
// Removing the tab in front hides the tab control's pages until the next turn of the event loop
// (or the next paint or ProcessSystemEvents), so that removing a row of tabs does not show each
// next one in turn. Shows them again now.
void RevealTabPages();

// Widgets.
QColor ToQColor(int rgb);
int FromQColor(const QColor& c);
QString Q(const std::string& s);
std::string S(const QString& s);
void ApplyTextColours(Control& c);
void ApplyFixedFont(QWidget* w, bool fixed);
void SetIndicator(Control& c, bool indicator);
// The name assistive technology finds a control by: its label, else the name the resource gives
// it to be read by ("accessibleName"), else the text beside or above it, else its constant name.
// A name that repeats on a panel is given the label of its control's frame first.
void UpdateAccessibleName(Control& c);
void QualifyRepeatedNames(Panel& p);
// Controls as assistive technology sees them (accessible.cpp): installs their interfaces
// (once), and marks the widget that stands for a control (the slider or bar of a slide, a
// button, an entry, a lamp, a tab area) with its panel and control.
void InstallAccessibleInterfaces();
// Puts a guard in front of Qt's adaptor of the accessibility bus, once it is active.
void GuardAccessibilityBus();
void MarkForAccessibility(QWidget* part, int panel, int control);
// Shows c.num on the control's widget (numerics, slides), signals blocked.
void ShowNumber(Control& c);
std::string FormatNumber(double v, DataType type, int precision);
// A number from a value: numbers as they are, texts parsed (decimal, or hexadecimal with 0x).
bool AsNumber(const Value& v, double* out);
// A value as text: texts as they are, whole numbers without decimals, others by FormatReal.
std::string AsText(const Value& v, DataType type, int precision);

// Ring, ring slide and list box item helpers (widget kept in step with c.items).
// An index of -1 keeps showing a value no item has (ShowUnlisted), if any, else shows nothing.
int CurrentIndex(const Control& c);
// The item that row `row` of a ring's list, or position of a ring slide, stands for, -1 for
// none. With the value no item has in the list (`unlistedShown`), its row stands for none and the
// rows after it for the item before them.
int ItemAtRow(const Control& c, int row, bool unlistedShown);
void SelectIndex(Control& c, int index);
// Shows a value no item has in a ring or ring slide: "code " and the value, or `label`.
void ShowUnlisted(Control& c, const Value& v, const std::string& label = {});
// Takes the value no item has out of the widget before its items change (ShowUnlisted puts it
// back where it then stands); DropUnlisted forgets it too.
void LiftUnlisted(Control& c);
void DropUnlisted(Control& c);

// A tab control placed directly on a top-level panel takes the room the window leaves it: the
// window becomes resizable down to a small size, the tab control follows its size (its pages
// scroll) and the controls left of it scroll in a column of their own (window_fit.cpp).
void FitTabAreaToWindow(Panel& p, Control& tab);
// Properties of the tab widget holding the room reserved by EasyTab_ReserveRoom (QSize each):
// the tab bar with every tab of the widest set, and the largest page.
inline constexpr const char* kTabBarRoom = "rtTabBarRoom";
inline constexpr const char* kTabPageRoom = "rtTabPageRoom";

// Tables (table.cpp).
QWidget* BuildTable(Control& c, const nlohmann::json& resource, QWidget* parent);
// Canvases and pictures (canvas.cpp, artwork.cpp).
QWidget* BuildCanvas(Control& c, int width, int height, QWidget* parent);
}  // namespace rt::detail
