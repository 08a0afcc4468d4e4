// Test support: putting the run-time back to a clean state between test cases, and reaching the
// Qt widgets behind panel and control handles so that tests can send real mouse and keyboard
// events. Only forward declarations of Qt types here; tests that use them include Qt.
#pragma once

class QAccessibleEvent;
class QAction;
class QDBusVirtualObject;
class QMenuBar;
class QWidget;

namespace rt::testing {

// Discards every panel and menu bar, stops every file watch, restores the real dialogs and
// forgets a pending QuitUserInterface. The callback registry and panel resources stay.
void ResetRuntime();

QWidget* PanelWindow(int panel);                 // top-level: the window; child: the panel
QWidget* PanelContent(int panel);                // the client area (controls' coordinates)
QWidget* ControlWidget(int panel, int control);  // the control proper (the tab widget of a tab control)
QWidget* ControlBox(int panel, int control);     // the control with its label
QMenuBar* MenuBarWidget(int menuBar);
QAction* MenuItemAction(int menuBar, int item);
// The guard the run-time puts in front of Qt's adaptor of the accessibility bus, here in front
// of `adaptor` (which owns it).
QDBusVirtualObject* NewBusGuard(QDBusVirtualObject* adaptor);
// Sees every change the run-time's own widgets tell assistive technology, also where Qt passes
// none on (no assistive technology listens under the offscreen platform). Returns the watch it
// replaces; nullptr watches nothing.
using AccessibilityWatch = void (*)(QAccessibleEvent* event);
AccessibilityWatch WatchAccessibility(AccessibilityWatch watch);

}  // namespace rt::testing
