// A top-level panel holding a tab control fits any screen: the window can be made smaller (or
// larger) than the panel, the tab control then takes what room is left and its pages scroll, and
// the controls left of it scroll in a column of their own, above the foot of the column (the
// panel's "columnFoot" band: lamps, progress, the buttons that end the work), which stays in
// view below the column however low the window is. Each time the program shows it, the
// window takes the panel's size grown by the room reserved for the tab control's sets of tabs
// (EasyTab_ReserveRoom), or less where the screen's available area is smaller.
#include "runtime/rt_internal.h"
#include "runtime/rt_widgets.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLayout>
#include <QMenuBar>
#include <QResizeEvent>
#include <QScreen>
#include <QScrollArea>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>

#include <algorithm>

namespace rt::detail {

namespace {

// The least room the tab control is given, and the least height of the window's client area.
constexpr int kMinTabWidth = 320;
constexpr int kMinHeight = 240;
// Room left after the last tab, so the bar never needs its scroll buttons by a pixel.
constexpr int kBarSlack = 8;

class TabAreaFitter : public QObject {
public:
    TabAreaFitter(QWidget* window, QWidget* content, QWidget* tabs, QScrollArea* side, QWidget* foot, QSize design,
                  QRect tabRect)
        : QObject(content), window_(window), content_(content), tabs_(tabs), side_(side), foot_(foot), design_(design),
          tabRect_(tabRect) {
        content->installEventFilter(this);
        window->installEventFilter(this);
    }

    // Places the side column and the tab control in the content's present size.
    void Layout() {
        if (!content_ || !tabs_ || !side_) return;
        const int w = content_->width(), h = content_->height();
        // The panel's margins right of and below the tab control go first when room is short;
        // the column's scroll bar covers the column's own right margin.
        const int left = tabRect_.left();
        const bool short_ = w < design_.width() || h < design_.height();
        const int right = short_ ? 0 : design_.width() - tabRect_.right() - 1;
        const int bottom = short_ ? 0 : design_.height() - tabRect_.bottom() - 1;
        // The foot stays where the panel has it, or rises with the window's bottom edge; the
        // column above it takes the rest.
        int above = h;
        if (foot_) {
            above = std::max(0, std::min(design_.height(), h) - foot_->height());
            foot_->move(0, above);
        }
        side_->setGeometry(0, 0, left, above);
        tabs_->setGeometry(left, tabRect_.top(), std::max(1, w - left - right), std::max(1, h - tabRect_.top() - bottom));
    }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (watched == content_ && e->type() == QEvent::Resize) Layout();
        // Each time the program shows the window (not when the window system restores it).
        if (watched == window_ && e->type() == QEvent::Show && !e->spontaneous()) FitToScreen();
        return false;
    }

private:
    // The content's size: the panel's, grown where the tab control needs more room to show
    // the tabs and pages reserved for it (EasyTab_ReserveRoom) whole.
    QSize Natural() const {
        auto* tw = qobject_cast<QTabWidget*>(tabs_.data());
        const QSize bar = tabs_->property(kTabBarRoom).toSize();
        const QSize page = tabs_->property(kTabPageRoom).toSize();
        auto* stack = tw ? tw->findChild<QStackedWidget*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
        if (!stack || (!bar.isValid() && !page.isValid())) return design_;
        // What the tab widget draws around a page besides its bar: the pane's frame.
        const int barNow = tw->tabBar()->isVisibleTo(tw) ? tw->tabBar()->height() : 0;
        const QSize frame(tw->width() - stack->width(), tw->height() - stack->height() - barNow);
        const QSize need(std::max(bar.width() + kBarSlack, page.width()) + frame.width(),
                         bar.height() + page.height() + frame.height());
        const int right = design_.width() - tabRect_.right() - 1;
        const int bottom = design_.height() - tabRect_.bottom() - 1;
        return design_.expandedTo(QSize(tabRect_.left() + need.width() + right, tabRect_.top() + need.height() + bottom));
    }

    // The natural size with the menu bar, within the available area of the window's screen.
    void FitToScreen() {
        QScreen* screen = window_->screen() ? window_->screen() : QGuiApplication::primaryScreen();
        if (!screen) return;
        const QRect avail = screen->availableGeometry();
        // The window manager's frame is not known before the window is mapped.
        QSize frame = window_->frameGeometry().size() - window_->geometry().size();
        if (frame.isEmpty() && QGuiApplication::platformName() != QLatin1String("offscreen")) frame = QSize(12, 44);
        const auto* bar = window_->findChild<QMenuBar*>();
        const QSize content = Natural();
        const QSize natural(content.width(), content.height() + (bar ? bar->sizeHint().height() : 0));
        const QSize fit = natural.boundedTo(avail.size() - frame);
        window_->resize(fit);
        // Placed whole on the screen, in its middle when the window opens where it would not be.
        QRect outer(window_->pos(), fit + frame);
        if (!avail.contains(outer)) {
            outer.moveCenter(avail.center());
            window_->move(std::max(outer.left(), avail.left()), std::max(outer.top(), avail.top()));
        }
    }

    QPointer<QWidget> window_, content_, tabs_;
    QPointer<QScrollArea> side_;
    QPointer<QWidget> foot_;
    QSize design_;
    QRect tabRect_;
};

}  // namespace

void FitTabAreaToWindow(Panel& p, Control& tab) {
    QWidget* content = p.content;
    QWidget* tabs = tab.box;
    if (!content || !tabs || !p.window || p.parent != 0 || tab.inFrame) return;
    const QSize design = content->size();
    const QRect tabRect = tabs->geometry();
    // Only a panel laid out as a column of controls beside the tab control is fitted: anything
    // right of the column would be covered by the tab control as it grows.
    auto ownControl = [&](QWidget* w) { return w != tabs && !w->isWindow() && !dynamic_cast<PanelWidget*>(w); };
    for (QWidget* w : content->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (ownControl(w) && w->geometry().right() >= tabRect.left()) return;

    // The controls (not the child panels shown as tabs) move, in place and stacking order, into
    // a column that scrolls when the window is lower than the panel; those in the panel's foot
    // band move into the foot below it instead.
    const int footHeight = std::clamp(p.columnFoot, 0, design.height() - 1);
    const int footTop = design.height() - footHeight;
    QWidget* foot = nullptr;
    if (footHeight > 0) {
        foot = new QWidget(content);
        foot->setObjectName(QStringLiteral("rtSideFoot"));
        foot->setFixedSize(tabRect.left(), footHeight);
        foot->move(0, footTop);
    }
    auto* side = new QScrollArea(content);
    side->setObjectName(QStringLiteral("rtSideColumn"));
    side->setFrameShape(QFrame::NoFrame);
    side->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    side->setWidgetResizable(false);
    // The column is in the window before the controls move, so no move leaves the window.
    auto* column = new QWidget(side);
    column->setFixedSize(tabRect.left(), footTop);
    side->setWidget(column);
    for (QWidget* w : content->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!ownControl(w) || w == side || w == foot) continue;
        const QRect g = w->geometry();
        const bool hidden = w->isHidden();
        const bool inFoot = foot && g.top() >= footTop;
        w->setParent(inFoot ? foot : column);
        w->setGeometry(inFoot ? g.translated(0, -footTop) : g);
        w->setHidden(hidden);
    }
    side->lower();
    if (foot) foot->lower();

    // The foot and a little of the column above it show in the lowest window.
    content->setMinimumSize(tabRect.left() + kMinTabWidth, std::max(kMinHeight, footHeight + kMinHeight / 4));
    content->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    if (QLayout* lay = p.window->layout()) lay->setSizeConstraint(QLayout::SetDefaultConstraint);
    auto* fitter = new TabAreaFitter(p.window, content, tabs, side, foot, design, tabRect);
    fitter->Layout();
}

}  // namespace rt::detail
