// Reaching a menu bar's menus and items as an assistive tool does: from the bar's accessible
// interface down, by the names the tool reads.
#pragma once

#include <QAccessible>
#include <QMenuBar>
#include <QString>

#include "runtime/testing.h"

namespace testsupport {

// The entry of menu `menu` on the bar, or null.
inline QAccessibleInterface* AccessibleMenu(int menuBar, const QString& menu) {
    QAccessibleInterface* bar = QAccessible::queryAccessibleInterface(rt::testing::MenuBarWidget(menuBar));
    for (int i = 0; bar && i < bar->childCount(); ++i)
        if (QAccessibleInterface* entry = bar->child(i); entry && entry->text(QAccessible::Name) == menu) return entry;
    return nullptr;
}

// Item `item` of menu `menu`, or null.
inline QAccessibleInterface* AccessibleMenuItem(int menuBar, const QString& menu, const QString& item) {
    QAccessibleInterface* entry = AccessibleMenu(menuBar, menu);
    QAccessibleInterface* list = entry && entry->childCount() > 0 ? entry->child(0) : nullptr;
    for (int i = 0; list && i < list->childCount(); ++i)
        if (QAccessibleInterface* it = list->child(i); it && it->text(QAccessible::Name) == item) return it;
    return nullptr;
}

}  // namespace testsupport
