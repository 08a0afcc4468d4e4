// The tab area, its bar and its tabs, and scrolling areas, as assistive technology sees them.
#include "runtime/accessible_internal.h"

#include <QAbstractScrollArea>
#include <QAccessibleWidget>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>

namespace rt::detail {

namespace {

// A tab's text as read: its shortcut mark taken out ("&&" stands for "&").
QString WithoutMnemonic(QString text) {
    text.replace(QLatin1String("&&"), QString(QChar(0x1)));
    text.remove(QLatin1Char('&'));
    text.replace(QChar(0x1), QLatin1Char('&'));
    return text;
}

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

}  // namespace

QAccessibleInterface* NewTabAreaAccessible(QTabWidget* tabs) { return new TabAreaAccessible(tabs); }
QAccessibleInterface* NewTabBarAccessible(QTabBar* bar) { return new TabBarAccessible(bar); }
QAccessibleInterface* NewScrollAreaAccessible(QScrollArea* area) { return new ScrollAreaAccessible(area); }

}  // namespace rt::detail
