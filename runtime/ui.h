// The user-interface run-time the subsystems stand on: panels loaded from panel resources,
// controls with values and attributes, callbacks bound by name, timers, menus, popups, the tab
// control, canvases, tables, list and text boxes, and the event loop.
//
// Subsystem code talks to the screen only through this header (and never includes Qt).
// Handles and ids are ints; events keep their numbers; setting a value from code fires no
// callback: only a user's action, or CallCtrlCallback ("as a commit"), runs one.
// Everything here runs on the UI thread (the thread that called InitCVIRTE).
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace rt {

// ---- events ------------------------------------------------------------------------------
inline constexpr int EVENT_NONE = 0;
inline constexpr int EVENT_COMMIT = 1;
inline constexpr int EVENT_VAL_CHANGED = 2;
inline constexpr int EVENT_LEFT_CLICK = 3;
inline constexpr int EVENT_LEFT_DOUBLE_CLICK = 4;
inline constexpr int EVENT_RIGHT_CLICK = 5;
inline constexpr int EVENT_GOT_FOCUS = 7;
inline constexpr int EVENT_LOST_FOCUS = 8;
inline constexpr int EVENT_CLOSE = 12;
inline constexpr int EVENT_TIMER_TICK = 15;
inline constexpr int EVENT_PANEL_SIZE = 17;
inline constexpr int EVENT_ACTIVE_TAB_CHANGE = 6000;

// ---- callbacks ---------------------------------------------------------------------------
// Control callback: (panel, control, event, callbackData, eventData1, eventData2) -> int.
// Canvas clicks carry the y coordinate in eventData1 and x in eventData2; table cell commits
// carry the row in eventData1 and the column in eventData2 (both 1-based).
//
// What the user's actions deliver:
// - a mouse button pressed on a control that has a callback: EVENT_LEFT_CLICK or
//   EVENT_RIGHT_CLICK, a left double click EVENT_LEFT_DOUBLE_CLICK, with y in eventData1 and x
//   in eventData2 relative to the control (on a canvas: canvas pixels);
// - a command or picture button clicked: EVENT_COMMIT (after the EVENT_LEFT_CLICK of the press);
// - a value changed (check boxes, toggle buttons, switches, rings, ring slides, slides,
//   numerics, strings, list boxes, table cells): EVENT_VAL_CHANGED, then EVENT_COMMIT (a slide
//   dragged with the mouse: EVENT_VAL_CHANGED while it moves, EVENT_COMMIT when released);
// - a list box item ticked or unticked: EVENT_COMMIT;
// - a mouse button pressed on the panel's background (or on a frame, label or decoration
//   without a callback): the panel callback gets EVENT_LEFT_CLICK / EVENT_RIGHT_CLICK with y, x
//   relative to the panel; closing a top-level panel's window: EVENT_CLOSE (the window stays
//   open; without a panel callback it is hidden);
// - a timer's interval elapsed: EVENT_TIMER_TICK to the timer's callback;
// - another tab brought to the front of a tab control: EVENT_ACTIVE_TAB_CHANGE to the callback
//   of the canvas it was made from, with the new tab's panel in eventData1 and in eventData2.
// Text messages, pictures, LEDs and decorations deliver mouse events only (no commit).
// Return values of callbacks are ignored by the run-time.
using CtrlCallback = std::function<int(int, int, int, void*, int, int)>;
// Panel callback: (panel, event, callbackData, eventData1, eventData2) -> int.
using PanelCallback = std::function<int(int, int, void*, int, int)>;
// Menu callback: (menuBar, menuItem, callbackData, panel).
using MenuCallback = std::function<void(int, int, void*, int)>;

// One registry of name -> function; panel resources name their callbacks and fail to load when
// a name is unknown. Registering a name again replaces it.
void RegisterCtrlCallback(const std::string& name, CtrlCallback cb);
void RegisterPanelCallback(const std::string& name, PanelCallback cb);
void RegisterMenuCallback(const std::string& name, MenuCallback cb);
bool IsCallbackRegistered(const std::string& name);  // any of the three kinds

// ---- errors (negative results) -----------------------------------------------------------
inline constexpr int UIENoError = 0;
inline constexpr int UIEOutOfMemory = -12;
inline constexpr int UIEResourceNotFound = -4;
inline constexpr int UIEBadPanelHandle = -42;
inline constexpr int UIEBadControlId = -45;
inline constexpr int UIEBadAttribute = -46;
inline constexpr int UIEIndexOutOfRange = -55;
inline constexpr int UIEItemNotFound = -56;
inline constexpr int UIEBadFile = -37;
inline constexpr int UIEUnknownCallback = -110;
inline constexpr int UIEInvalidControlType = -47;  // the operation does not apply to this kind
inline constexpr int UIEBadValue = -57;            // a value of the wrong type, or not a number
inline constexpr int UIENoApplication = -1;        // InitCVIRTE: no GUI application can be made

// ---- panels ------------------------------------------------------------------------------
// Loads panel `resourceId` of the embedded panel file `fileName` ("cfgDACJorb_pan.uir"), as a
// top-level panel (parent 0) or a child panel. Returns the new panel's handle (> 0) or an
// error (< 0); LastLoadError() says what went wrong in words (file and control named).
int LoadPanel(int parentPanel, const char* fileName, int resourceId);
std::string LastLoadError();
int DisplayPanel(int panel);
int HidePanel(int panel);
int DiscardPanel(int panel);
int GetPanelAttribute(int panel, int attribute, int* value);
int GetPanelAttribute(int panel, int attribute, std::string* value);
int SetPanelAttribute(int panel, int attribute, int value);
int SetPanelAttribute(int panel, int attribute, const char* value);
// The keyboard focus of a panel's window: SetActiveCtrl gives it to the control (taken when
// the window is next active, if it is not now); a dimmed or hidden control cannot take it
// (UIEBadValue). GetActiveCtrl returns the control of `panel` that holds the window's focus,
// 0 when none of its controls does, or an error.
int SetActiveCtrl(int panel, int control);
int GetActiveCtrl(int panel);
// Runs the panel's callback as the run-time would for `event`.
int CallPanelCallback(int panel, int event, int eventData1, int eventData2, void* callbackData = nullptr);

// ---- control values ----------------------------------------------------------------------
// Rings and list boxes: the value is the value of the selected item. Setting a ring to a value
// no item has returns UIEItemNotFound and reads back as no value (UIEItemNotFound), but is
// shown as an item of its own, "code " and the value, until an item is chosen or set.
// Numerics keep the value given clamped to their range; slides keep it as given and show it
// (beyond their range with the knob at the nearer end); an int read of a double
// value rounds to the nearest. Check boxes, toggle buttons, switches and LEDs hold 0 or 1.
// Text boxes: SetCtrlVal appends the text (ResetTextBox replaces it); GetCtrlVal gives it all.
// Text messages: the text shown. Command buttons take any value and hold 0.
int SetCtrlVal(int panel, int control, int value);
int SetCtrlVal(int panel, int control, unsigned value);
int SetCtrlVal(int panel, int control, double value);
int SetCtrlVal(int panel, int control, const char* value);
int SetCtrlVal(int panel, int control, const std::string& value);
// Rings: shows `text` as an item of its own, for a state none of the items stands for (the
// ring then reads back as no value), until an item is chosen or set.
int ShowRingNote(int panel, int control, const char* text);
// The same for a value none of the items has, read as `text` (its dB value, say) rather than
// "code N": it stands where `value` lies among the items, so the keys step from there.
int ShowRingNote(int panel, int control, const char* text, double value);
int GetCtrlVal(int panel, int control, int* value);
int GetCtrlVal(int panel, int control, unsigned* value);
int GetCtrlVal(int panel, int control, double* value);
int GetCtrlVal(int panel, int control, std::string* value);
// Copies at most size-1 bytes and terminates (bounded copy).
int GetCtrlVal(int panel, int control, char* value, int size);
// Runs the control's callback with `event` (EVENT_COMMIT: "as a commit").
int CallCtrlCallback(int panel, int control, int event, int eventData1, int eventData2,
                     void* callbackData = nullptr);

// ---- attributes --------------------------------------------------------------------------
inline constexpr int ATTR_DIMMED = 500;
inline constexpr int ATTR_VISIBLE = 530;
inline constexpr int ATTR_LABEL_TEXT = 600;
inline constexpr int ATTR_TEXT_COLOR = 505;
inline constexpr int ATTR_TEXT_BGCOLOR = 510;
inline constexpr int ATTR_FRAME_COLOR = 520;
inline constexpr int ATTR_CTRL_VAL = 1500;
inline constexpr int ATTR_TOOLTIP_TEXT = 1541;
inline constexpr int ATTR_ON_COLOR = 1200;
inline constexpr int ATTR_OFF_COLOR = 1210;
inline constexpr int ATTR_INTERVAL = 1610;
inline constexpr int ATTR_ENABLED = 1620;
inline constexpr int ATTR_CHECKED = 1040;
inline constexpr int ATTR_CTRL_MODE = 680;  // VAL_HOT or VAL_INDICATOR
inline constexpr int ATTR_TITLE = 1110;     // panels
inline constexpr int ATTR_LEFT = 670;
inline constexpr int ATTR_TOP = 690;
inline constexpr int ATTR_WIDTH = 700;
inline constexpr int ATTR_HEIGHT = 710;
inline constexpr int ATTR_PEN_COLOR = 4000;
inline constexpr int ATTR_PEN_WIDTH = 4001;
inline constexpr int ATTR_PEN_STYLE = 4002;
inline constexpr int ATTR_PEN_FILL_COLOR = 4003;
inline constexpr int ATTR_TEXT_FONT_FIXED = 4100;  // 1 = fixed-width font
inline constexpr int ATTR_SYSTEM_WINDOW_HANDLE = 1300;
inline constexpr int ATTR_CMD_BUTTON_COLOR = 1050;  // command buttons: face colour 0xRRGGBB
inline constexpr int ATTR_FORMAT = 1700;            // whole-number numerics: VAL_DECIMAL_FORMAT or VAL_HEX_FORMAT

inline constexpr int VAL_HOT = 1;
inline constexpr int VAL_INDICATOR = 0;
inline constexpr int VAL_SOLID = 0;
inline constexpr int VAL_DASH = 1;
inline constexpr int VAL_DOT = 2;
inline constexpr int VAL_DECIMAL_FORMAT = 0;
inline constexpr int VAL_HEX_FORMAT = 1;  // shown and typed as hexadecimal digits

// Colours are 0xRRGGBB.
inline constexpr int VAL_BLACK = 0x000000;
inline constexpr int VAL_WHITE = 0xFFFFFF;
inline constexpr int VAL_RED = 0xFF0000;
inline constexpr int VAL_GREEN = 0x00FF00;
inline constexpr int VAL_BLUE = 0x0000FF;
inline constexpr int VAL_MAGENTA = 0xFF00FF;
inline constexpr int VAL_GRAY = 0x808080;
inline constexpr int VAL_LT_GRAY = 0xCCCCCC;
inline constexpr int VAL_DK_GRAY = 0x444444;
inline constexpr int VAL_YELLOW = 0xFFFF00;

// ATTR_INTERVAL (timers): an int value is in milliseconds, a double value in seconds.
int SetCtrlAttribute(int panel, int control, int attribute, int value);
int SetCtrlAttribute(int panel, int control, int attribute, unsigned value);
int SetCtrlAttribute(int panel, int control, int attribute, double value);
int SetCtrlAttribute(int panel, int control, int attribute, const char* value);
int GetCtrlAttribute(int panel, int control, int attribute, int* value);
int GetCtrlAttribute(int panel, int control, int attribute, double* value);
int GetCtrlAttribute(int panel, int control, int attribute, std::string* value);

// ---- ring and list items -----------------------------------------------------------------
// index -1 appends. Item values are int, double or string like the control's data type.
int InsertListItem(int panel, int control, int index, const char* label, int value);
int InsertListItem(int panel, int control, int index, const char* label, double value);
int InsertListItem(int panel, int control, int index, const char* label, const char* value);
// Inserts items labelled `labels`, all of value `value`, at `index` (-1: at the end), as many
// InsertListItem calls would, but a list box takes them in one step.
int InsertListItems(int panel, int control, int index, const std::vector<std::string>& labels, int value);
int DeleteListItem(int panel, int control, int index, int count);  // count -1: to the end
int ClearListCtrl(int panel, int control);
int GetNumListItems(int panel, int control, int* count);
int GetIndexFromValue(int panel, int control, int* index, int value);  // UIEItemNotFound
int GetIndexFromValue(int panel, int control, int* index, double value);
int GetValueFromIndex(int panel, int control, int index, int* value);
int GetValueFromIndex(int panel, int control, int index, double* value);
int GetLabelFromIndex(int panel, int control, int index, std::string* label);
int GetCtrlIndex(int panel, int control, int* index);  // -1 when nothing is selected
int SetCtrlIndex(int panel, int control, int index);
// List boxes with check marks.
int CheckListItem(int panel, int control, int index, int checked);
int IsListItemChecked(int panel, int control, int index, int* checked);

// ---- text boxes --------------------------------------------------------------------------
int ResetTextBox(int panel, int control, const char* text);
int InsertTextBoxLine(int panel, int control, int index, const char* text);  // -1 appends
int GetNumTextBoxLines(int panel, int control, int* count);
int GetTextBoxLine(int panel, int control, int index, std::string* line);

// ---- canvases ----------------------------------------------------------------------------
struct Point { int x = 0, y = 0; };
struct Rect { int top = 0, left = 0, height = 0, width = 0; };
inline Point MakePoint(int x, int y) { return {x, y}; }
inline Rect MakeRect(int top, int left, int height, int width) { return {top, left, height, width}; }
inline constexpr int VAL_DRAW_FRAME = 0;
inline constexpr int VAL_DRAW_INTERIOR = 1;
inline constexpr int VAL_DRAW_FRAME_AND_INTERIOR = 2;
// Drawing goes to the canvas's retained pixels (they survive hiding and repainting).
int CanvasClear(int panel, int control, Rect area);  // whole canvas: a Rect with width 0
int CanvasDrawPoint(int panel, int control, Point p);
int CanvasDrawLine(int panel, int control, Point from, Point to);
int CanvasDrawRect(int panel, int control, Rect r, int drawMode);
int CanvasDrawOval(int panel, int control, Rect r, int drawMode);
int CanvasDrawText(int panel, int control, const char* text, Rect r);
int CanvasStartBatchDraw(int panel, int control);
int CanvasEndBatchDraw(int panel, int control);
// Colour 0xRRGGBB of one retained pixel (tests compare drawings by a few pixels).
int CanvasGetPixel(int panel, int control, Point p, int* colour);

// ---- tables ------------------------------------------------------------------------------
// Cells are addressed by (column, row), both 1-based. Cell types follow the column's type
// (numeric or string); a picture cell shows a colour swatch.
int GetNumTableRows(int panel, int control, int* rows);
int GetNumTableColumns(int panel, int control, int* columns);
int InsertTableRows(int panel, int control, int index, int count);  // index -1 appends
int DeleteTableRows(int panel, int control, int index, int count);  // count -1: to the end
// The 1-based column whose label is `label`, or 0.
int GetTableColumnFromLabel(int panel, int control, const char* label);
int SetTableCellVal(int panel, int control, Point cell, int value);
int SetTableCellVal(int panel, int control, Point cell, double value);
int SetTableCellVal(int panel, int control, Point cell, const char* value);
int GetTableCellVal(int panel, int control, Point cell, int* value);
int GetTableCellVal(int panel, int control, Point cell, double* value);
int GetTableCellVal(int panel, int control, Point cell, std::string* value);
int SetTableRowLabel(int panel, int control, int row, const char* label);
int GetTableRowLabel(int panel, int control, int row, std::string* label);
// What a screen reader reads for a row's header in place of its label (until the label is set
// again), for a row whose label alone would not say what the row is.
int SetTableRowAccessibleName(int panel, int control, int row, const char* name);
int SetTableCellEditable(int panel, int control, Point cell, int editable);
int SetTableCellColour(int panel, int control, Point cell, int colour);  // picture cells
// Shows the image in a file (PNG, ICO, BMP, ...) in a cell; UIEBadFile (cell unchanged) when
// the file cannot be read or is not a regular file (never waited on).
int SetTableCellPictureFromFile(int panel, int control, Point cell, const char* path);
int GetActiveTableCell(int panel, int control, Point* cell);
int SetActiveTableCell(int panel, int control, Point cell);

// ---- menus -------------------------------------------------------------------------------
// Loads menu bar `resourceId` of a panel file onto `panel` (0: not shown). Returns the menu bar
// handle (> 0) or an error.
int LoadMenuBar(int panel, const char* fileName, int resourceId);
int SetMenuBarAttribute(int menuBar, int item, int attribute, int value);  // ATTR_CHECKED, ATTR_DIMMED
int GetMenuBarAttribute(int menuBar, int item, int attribute, int* value);
// Runs the item's callback as if the user chose it (also when the item is dimmed).
int CallMenuCallback(int menuBar, int item);

// ---- tab control (made from a canvas) ----------------------------------------------------
inline constexpr int ATTR_EASY_TAB_ACTIVE_PANEL = 3800;
inline constexpr int ATTR_EASY_TAB_VISIBLE = 3808;
// Turns a canvas into a tab control; returns the tab control's id on that panel (its control
// id), or an error. The canvas's callback receives EVENT_ACTIVE_TAB_CHANGE with the new panel
// in eventData1 (and again in eventData2) when the user brings another tab to the front;
// changes made from code send nothing. Tabs show the panels' titles.
int EasyTab_ConvertFromCanvas(int panel, int canvas);
// Appends child panels (loaded with a parent) as tabs; a panel already there stays where it is.
// `row` is accepted for compatibility (there is one row of tabs).
int EasyTab_AddPanels(int panel, int tabCtrl, int row, const std::vector<int>& childPanels);
// UIEItemNotFound (nothing changes) when the panel is not one of the tabs.
int EasyTab_RemovePanel(int panel, int tabCtrl, int childPanel);
int EasyTab_SetAttribute(int panel, int tabCtrl, int attribute, int value);
int EasyTab_GetAttribute(int panel, int tabCtrl, int attribute, int* value);
int EasyTab_SetTabAttribute(int panel, int tabCtrl, int childPanel, int attribute, int value);
// The panels shown as tabs, in order.
std::vector<int> EasyTab_Panels(int panel, int tabCtrl);
// Makes room for a set of child panels that will be shown as tabs together: a top-level
// window holding the tab control opens large enough, where its screen allows, to show all
// their tabs side by side and the largest of them whole. Called once per set before the
// window is shown; the largest room asked for wins.
int EasyTab_ReserveRoom(int panel, int tabCtrl, const std::vector<int>& childPanels);

// ---- popups ------------------------------------------------------------------------------
// All popups go through one prompter: real dialogs in the program, scripted answers in tests.
inline constexpr int VAL_OK_CANCEL_DIALOG = 1;
inline constexpr int VAL_SELECT_BUTTON = 1;   // FileSelectPopup: a file was chosen
inline constexpr int VAL_EXISTING_FILE_SELECTED = 1;
inline constexpr int VAL_NEW_FILE_SELECTED = 2;
inline constexpr int VAL_NO_FILE_SELECTED = 0;
inline constexpr int VAL_LOAD_BUTTON = 0;
inline constexpr int VAL_SAVE_BUTTON = 1;
inline constexpr int VAL_GENERIC_POPUP_BTN1 = 1;  // GenericMessagePopup: OK
inline constexpr int VAL_GENERIC_POPUP_BTN2 = 2;  // GenericMessagePopup: Cancel
inline constexpr int VAL_DIRECTORY_SELECTED = 1;
inline constexpr int VAL_NO_DIRECTORY_SELECTED = 0;

class Prompter {
public:
    virtual ~Prompter() = default;
    virtual void Message(const std::string& title, const std::string& text) = 0;
    virtual bool YesNo(const std::string& title, const std::string& text) = 0;  // true = Yes
    // false = Cancel; on OK `answer` holds the text. The dialog opens holding *answer.
    virtual bool Prompt(const std::string& title, const std::string& text, std::string* answer) = 0;
    // Returns VAL_NO_FILE_SELECTED, VAL_EXISTING_FILE_SELECTED or VAL_NEW_FILE_SELECTED.
    virtual int FileSelect(const std::string& defaultDir, const std::string& defaultFile,
                           const std::string& filter, const std::string& title, int buttonKind,
                           std::string* path) = 0;
    virtual bool DirSelect(const std::string& defaultDir, const std::string& title, std::string* dir) = 0;
    // OK / Cancel question; true = OK. Prompters without one answer it as a Yes/No question.
    virtual bool OkCancel(const std::string& title, const std::string& text) { return YesNo(title, text); }
    // A Yes/No question whose Yes destroys something: Return answers No. Prompters that have no
    // default button answer it as any Yes/No question.
    virtual bool YesNoDefaultNo(const std::string& title, const std::string& text) { return YesNo(title, text); }
};
// Installs a prompter (null restores the real dialogs); returns the previous one. The real
// dialogs never wait without a screen: on the offscreen platform a popup is written to stderr
// and answered No / Cancel.
Prompter* SetPrompter(Prompter* p);

void MessagePopup(const char* title, const char* text);
int ConfirmPopup(const char* title, const char* text);  // 1 Yes, 0 No
// As ConfirmPopup, for a question whose Yes cannot be undone: the dialog's default button is No.
int ConfirmDestructivePopup(const char* title, const char* text);
// With VAL_OK_CANCEL_DIALOG: VAL_GENERIC_POPUP_BTN1 (OK) or VAL_GENERIC_POPUP_BTN2 (Cancel);
// any other `buttons` shows a message and returns VAL_GENERIC_POPUP_BTN1.
int GenericMessagePopup(const char* title, const char* text, int buttons);
// Returns 0 on OK (answer copied, at most maxLen characters), -1 on Cancel. The dialog opens
// holding *answer.
int PromptPopup(const char* title, const char* text, std::string* answer, int maxLen);
int FileSelectPopup(const char* defaultDir, const char* defaultFile, const char* filter,
                    const char* title, int buttonKind, std::string* path);
// VAL_DIRECTORY_SELECTED with the folder in *dir, or VAL_NO_DIRECTORY_SELECTED.
int DirSelectPopup(const char* defaultDir, const char* title, std::string* dir);

// ---- event loop and waits ----------------------------------------------------------------
// Starts the run-time (creates the application object when none exists). 0 on success,
// UIENoApplication when a non-GUI application object exists already.
int InitCVIRTE();
// Runs the event loop until QuitUserInterface; returns the code given to it. Also returns (with
// 0) when the user closes the last visible top-level panel that has no panel callback.
int RunUserInterface();
// Ends the innermost RunUserInterface; called while none runs, the next one returns at once.
int QuitUserInterface(int code);
int ProcessSystemEvents();        // handles every pending event (timers and input included)
int ProcessDrawEvents();          // repaints what is pending, and runs nothing else
// Blocks for `seconds`, measured on os::Now() (the steady clock; with a replaced sleeper the
// clock the sleeps move on): the wait ends at its deadline however late the system wakes it.
// Meanwhile the window answers the window system (paint, expose, the window manager's ping,
// moves and resizes) as events come, but runs no callback: timers, watched
// descriptors and callbacks that window events would run are held, and run in order once the
// event loop (or ProcessSystemEvents) is reached outside every wait. A close of a panel's window
// that comes during a wait is done after it, as a close between waits is.
// An operation the user started (a callback run by the user's action, not by a timer or a
// watched descriptor) that waits shows the busy cursor until it ends, and the pointer clicks and
// key presses that come during its waits, or after its last wait while it still runs, are
// dropped (a release whose press came before passes). During other waits (a timer's read) input
// reaches the controls at once, their callbacks held.
// With a replaced sleeper (tests, benchmarks) the wait goes through os::Sleep in slices of at most
// 10 ms, as many as make up `seconds`, so a sleeper that returns at once ends the wait at once.
void Delay(double seconds);
// The wait of `slices` times `milliseconds`, as Delay waits, to one deadline; through a replaced
// sleeper it asks for `slices` sleeps of `milliseconds`.
void DelayInSlices(int slices, int milliseconds);
// Told about each operation the user starts: with `seconds` 0 when it starts, then once its
// waits add up to half a second and about every quarter second of waiting after that with the
// time spent waiting so far, and with `seconds` < 0 when it ends. `operation` is the label of
// the control or menu item that started it (the panel's title for a panel event). Returns the
// previous observer.
using BusyObserver = std::function<void(const std::string& operation, double seconds)>;
BusyObserver SetBusyObserver(BusyObserver observer);
// Told when the program's code starts to run for an event while none of it runs (a control's,
// panel's or menu item's callback, a timer's tick, a watched descriptor: `starting` true) and
// when it has ended (false). Returns the previous observer.
using RunObserver = std::function<void(bool starting)>;
RunObserver SetRunObserver(RunObserver observer);
// Watches a file descriptor from the event loop: `onReadable` runs on the UI thread. Returns a
// watch id (> 0), or UIEBadValue for a negative fd.
int WatchFd(int fd, std::function<void()> onReadable);

// ---- files and paths ---------------------------------------------------------------------
// The project directory: CODECBENCH_HOME when set; else, for a program started from its build
// folder (the build writes kBuildFolderMarker beside it, an install does not copy it) that
// folder when it is writable; else $XDG_DATA_HOME/codecbench, by default
// ~/.local/share/codecbench (created when missing), for any user including root.
std::string GetProjectDir();
// The same rule for a program in `programDir`.
std::string ProjectDirFor(const std::string& programDir);
inline constexpr const char* kBuildFolderMarker = "codecbench-build-folder";
// dir + "/" + file (one separator; `file` alone when dir is empty).
std::string MakePathname(const std::string& dir, const std::string& file);
// "/a/b/c.dat" -> "/a/b" and "c.dat"; either output may be null.
void SplitPath(const std::string& path, std::string* dir, std::string* file);
bool FileExists(const std::string& path);  // an existing file (not a folder)

// ---- formatting --------------------------------------------------------------------------
// Formats a real number for generated ring labels: fixed notation, at most six decimals,
// trailing zeros and a trailing point removed ("1.5", "-12", "0.125").
std::string FormatReal(double value);

}  // namespace rt
