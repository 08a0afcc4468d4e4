// Lists and tables as assistive technology sees them: their cells, and a table's header cells.
#include "runtime/accessible_internal.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QListView>
#include <QTableView>
#include <QTimer>

#include <algorithm>
#include <utility>

namespace rt::detail {

namespace {

// A list or table (a list box, a table, a ring's open list): its cells as children, row by row,
// and on the table interface. A cell, row or column asked for out of range (-1 included) is
// answered as none: not selected, no extent, no text. The bus reads the cell it asks for without
// checking for none (IsSelected, GetRowExtentAt ...), so a cell asked for out of range is one
// that stands for no cell rather than a null one, as Qt's own interface gives.
// A table's children are numbered as its view numbers them in the focus and selection events it
// sends: the corner first, then the column headers, then each row as its row header followed by
// its cells; so the cell at (row, column) is child (row + 1) * (columns + 1) + column + 1, and a
// screen reader told of a focused cell reads that cell, with its headers.
class ItemViewAccessible;

// A node of an item view with no children of its own (a cell, a header cell): its window and
// parent are the view's.
template <class View>
class ViewLeafAccessible : public QAccessibleInterface {
public:
    explicit ViewLeafAccessible(View* view) : view_(view) {}
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return view_ ? view_->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override { return view_ ? QAccessible::queryAccessibleInterface(view_.data()) : nullptr; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    void setText(QAccessible::Text, const QString&) override {}

protected:
    QPointer<View> view_;
};

// A table's header cell: the label of a column (a column header) or of a row (a row header), or
// the corner where the two headers meet (section -1). It is read, not acted on. Its name is the
// text the header gives assistive technology where it gives one (a row whose label shows nothing
// may still say what it is), else the label shown.
class HeaderAccessible : public ViewLeafAccessible<QTableView> {
public:
    HeaderAccessible(QTableView* view, Qt::Orientation orientation, int section)
        : ViewLeafAccessible(view), orientation_(orientation), section_(section) {}

    bool isValid() const override { return view_ && view_->model() && section_ < Sections(); }
    QString text(QAccessible::Text t) const override {
        if (section_ < 0 || !isValid()) return {};
        if (t == QAccessible::Name) {
            const QString read = view_->model()->headerData(section_, orientation_, Qt::AccessibleTextRole).toString();
            return read.isEmpty() ? view_->model()->headerData(section_, orientation_, Qt::DisplayRole).toString() : read;
        }
        if (t == QAccessible::Description) return view_->model()->headerData(section_, orientation_, Qt::ToolTipRole).toString();
        return {};
    }
    QRect rect() const override {
        QHeaderView* header = Header();
        if (section_ < 0 || !isValid() || !header || !header->isVisible() || header->isSectionHidden(section_)) return {};
        const int at = header->sectionViewportPosition(section_), size = header->sectionSize(section_);
        const QRect r = orientation_ == Qt::Horizontal ? QRect(at, 0, size, header->viewport()->height())
                                                       : QRect(0, at, header->viewport()->width(), size);
        return {header->viewport()->mapToGlobal(r.topLeft()), r.size()};
    }
    QAccessible::Role role() const override {
        if (section_ < 0) return QAccessible::Pane;
        return orientation_ == Qt::Horizontal ? QAccessible::ColumnHeader : QAccessible::RowHeader;
    }
    QAccessible::State state() const override {
        QAccessible::State s;
        QHeaderView* header = Header();
        if (!isValid() || !header) {
            s.invisible = true;
            return s;
        }
        const bool shown = view_->isVisible() && header->isVisible() && (section_ < 0 || !header->isSectionHidden(section_));
        s.invisible = !shown;
        s.disabled = !view_->isEnabled();
        if (shown && section_ >= 0) {
            const int at = header->sectionViewportPosition(section_), size = header->sectionSize(section_);
            const int length = orientation_ == Qt::Horizontal ? header->viewport()->width() : header->viewport()->height();
            s.offscreen = at + size <= 0 || at >= length;
        }
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType) override { return nullptr; }

private:
    QHeaderView* Header() const {
        if (!view_) return nullptr;
        return orientation_ == Qt::Horizontal ? view_->horizontalHeader() : view_->verticalHeader();
    }
    int Sections() const {
        QAbstractItemModel* m = view_->model();
        return orientation_ == Qt::Horizontal ? m->columnCount(view_->rootIndex()) : m->rowCount(view_->rootIndex());
    }

    Qt::Orientation orientation_;
    int section_;
};

// One cell, by its row and column: its text as its name, selected and checked as the view shows
// it; pressed it becomes the current one, toggled its check mark changes, as a click does.
class CellAccessible : public ViewLeafAccessible<QAbstractItemView>, public QAccessibleTableCellInterface, public QAccessibleActionInterface {
public:
    CellAccessible(QAbstractItemView* view, int row, int column) : ViewLeafAccessible(view), row_(row), column_(column) {}

    bool isValid() const override { return Index().isValid(); }
    QString text(QAccessible::Text t) const override {
        const QModelIndex index = Index();
        if (!index.isValid()) return {};
        if (t == QAccessible::Name) {
            const QString read = index.data(Qt::AccessibleTextRole).toString();
            return read.isEmpty() ? index.data(Qt::DisplayRole).toString() : read;
        }
        if (t == QAccessible::Description) {
            const QString read = index.data(Qt::AccessibleDescriptionRole).toString();
            return read.isEmpty() ? index.data(Qt::ToolTipRole).toString() : read;
        }
        return {};
    }
    QRect rect() const override {
        const QModelIndex index = Index();
        if (!index.isValid()) return {};
        const QRect r = view_->visualRect(index);
        return r.isValid() ? QRect(view_->viewport()->mapToGlobal(r.topLeft()), r.size()) : QRect();
    }
    QAccessible::Role role() const override {
        return qobject_cast<const QListView*>(view_.data()) ? QAccessible::ListItem : QAccessible::Cell;
    }
    QAccessible::State state() const override {
        QAccessible::State s;
        const QModelIndex index = Index();
        if (!index.isValid()) {
            s.invisible = true;
            return s;
        }
        const Qt::ItemFlags flags = index.flags();
        s.selectable = (flags & Qt::ItemIsSelectable) && view_->selectionMode() != QAbstractItemView::NoSelection;
        s.selected = view_->selectionModel() && view_->selectionModel()->isSelected(index);
        s.focusable = true;
        s.focused = view_->hasFocus() && view_->currentIndex() == index;
        s.disabled = !(flags & Qt::ItemIsEnabled) || !view_->isEnabled();
        s.invisible = !view_->isVisible();
        s.offscreen = !view_->viewport()->rect().intersects(view_->visualRect(index));
        if (flags & Qt::ItemIsUserCheckable) {
            s.checkable = true;
            const QVariant check = index.data(Qt::CheckStateRole);
            s.checked = check.isValid() && check.toInt() == Qt::Checked;
        }
        s.editable = (flags & Qt::ItemIsEditable) && view_->editTriggers() != QAbstractItemView::NoEditTriggers;
        s.busy = UserInputHeld();
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::TableCellInterface) return static_cast<QAccessibleTableCellInterface*>(this);
        if (t == QAccessible::ActionInterface) return static_cast<QAccessibleActionInterface*>(this);
        return nullptr;
    }

    // Cell interface: no cell out of range has a place, an extent or a selection.
    bool isSelected() const override { return state().selected; }
    // A table's cell has its column's header and its row's header; a list's none.
    QList<QAccessibleInterface*> columnHeaderCells() const override { return HeaderCells(Qt::Horizontal); }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return HeaderCells(Qt::Vertical); }
    int columnIndex() const override { return isValid() ? column_ : -1; }
    int rowIndex() const override { return isValid() ? row_ : -1; }
    int columnExtent() const override { return isValid() ? 1 : 0; }
    int rowExtent() const override { return isValid() ? 1 : 0; }
    QAccessibleInterface* table() const override { return parent(); }

    QStringList actionNames() const override {
        const QModelIndex index = Index();
        if (!index.isValid() || !(index.flags() & Qt::ItemIsEnabled) || !Changeable(view_)) return {};
        QStringList names{pressAction()};
        if (index.flags() & Qt::ItemIsUserCheckable) names << toggleAction();
        return names;
    }
    void doAction(const QString& action) override {
        if (!actionNames().contains(action)) return;
        const bool toggle = action == toggleAction();
        AfterTheCall(view_, [view = view_, row = row_, column = column_, toggle] {
            QAbstractItemModel* model = view ? view->model() : nullptr;
            const QModelIndex index = model ? model->index(row, column, view->rootIndex()) : QModelIndex();
            if (!index.isValid() || !(index.flags() & Qt::ItemIsEnabled)) return;
            if (!toggle) {
                view->setCurrentIndex(index);
                return;
            }
            const bool checked = index.data(Qt::CheckStateRole).toInt() == Qt::Checked;
            model->setData(index, checked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
        });
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    QModelIndex Index() const {
        if (!view_ || !view_->model() || row_ < 0 || column_ < 0) return {};
        return view_->model()->index(row_, column_, view_->rootIndex());
    }
    QList<QAccessibleInterface*> HeaderCells(Qt::Orientation orientation) const;

    int row_, column_;
};

class ItemViewAccessible : public QAccessibleWidget, public OwnInterface, public QAccessibleTableInterface {
public:
    explicit ItemViewAccessible(QAbstractItemView* view)
        : QAccessibleWidget(view, qobject_cast<QListView*>(view) ? QAccessible::List : QAccessible::Table) {}
    ~ItemViewAccessible() override {
        for (QAccessible::Id id : std::as_const(cells_)) QAccessible::deleteAccessibleInterface(id);
        for (QAccessible::Id id : std::as_const(headers_)) QAccessible::deleteAccessibleInterface(id);
    }
    QAbstractItemView* view() const { return static_cast<QAbstractItemView*>(widget()); }
    QTableView* TableView() const { return qobject_cast<QTableView*>(view()); }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) {
            const QModelIndex current = view()->currentIndex();
            return current.isValid() ? current.data(Qt::DisplayRole).toString() : QString();
        }
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        const auto mode = view()->selectionMode();
        s.multiSelectable = mode == QAbstractItemView::MultiSelection;
        s.extSelectable = mode == QAbstractItemView::ExtendedSelection || mode == QAbstractItemView::ContiguousSelection;
        s.busy = UserInputHeld();
        // A list whose current item has the focus hands it to that item: a screen reader looking
        // for the focused one among the list and its items finds the item, not the list.
        if (!TableView() && s.focused && focusChild()) s.focused = false;
        return s;
    }
    // The current cell, or none.
    QAccessibleInterface* focusChild() const override {
        const QModelIndex current = view()->currentIndex();
        if (!current.isValid() || current.parent() != view()->rootIndex() || current.row() >= rowCount() ||
            current.column() >= columnCount())
            return nullptr;
        return Cell(current.row(), current.column());
    }
    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::TableInterface) return static_cast<QAccessibleTableInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    // The cells row by row, a table's with its header cells (see above); the view's scroll bars
    // and header widgets are not read as its children.
    int childCount() const override { return (rowCount() + Headed()) * Stride(); }
    QAccessibleInterface* child(int index) const override {
        const int stride = Stride();
        if (index < 0 || stride <= 0 || index >= childCount()) return nullptr;
        const int row = index / stride - Headed(), column = index % stride - Headed();
        if (row < 0) return Header(Qt::Horizontal, column);  // the corner at column -1
        if (column < 0) return Header(Qt::Vertical, row);
        return Cell(row, column);
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        if (!child) return -1;
        for (auto it = cells_.constBegin(); it != cells_.constEnd(); ++it)
            if (QAccessible::accessibleInterface(it.value()) == child) {
                const auto [row, column] = it.key();
                return row >= 0 && row < rowCount() && column < columnCount() ? IndexOf(row, column) : -1;
            }
        for (auto it = headers_.constBegin(); it != headers_.constEnd(); ++it)
            if (QAccessible::accessibleInterface(it.value()) == child) {
                const auto [orientation, section] = it.key();
                if (section < 0) return 0;
                if (orientation == Qt::Horizontal) return section < columnCount() ? IndexOf(-1, section) : -1;
                return section < rowCount() ? IndexOf(section, -1) : -1;
            }
        return -1;
    }
    // The header cell of a table's column or row (-1: the corner); none for a list.
    QAccessibleInterface* Header(Qt::Orientation orientation, int section) const {
        QTableView* t = TableView();
        if (!t) return nullptr;
        if (section < 0) orientation = Qt::Horizontal;  // one corner, whichever way it is asked for
        const std::pair<Qt::Orientation, int> key(orientation, std::max(section, -1));
        auto it = headers_.constFind(key);
        if (it != headers_.constEnd())
            if (QAccessibleInterface* i = QAccessible::accessibleInterface(*it)) return i;
        auto* header = new HeaderAccessible(t, key.first, key.second);
        headers_.insert(key, QAccessible::registerAccessibleInterface(header));
        return header;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        const QModelIndex index = view()->indexAt(view()->viewport()->mapFromGlobal(QPoint(x, y)));
        return index.isValid() && index.parent() == view()->rootIndex() ? Cell(index.row(), index.column()) : nullptr;
    }

    // Table interface.
    QAccessibleInterface* cellAt(int row, int column) const override {
        if (row < 0 || column < 0 || row >= rowCount() || column >= columnCount()) return Cell(-1, -1);
        return Cell(row, column);
    }
    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QString columnDescription(int column) const override {
        if (column < 0 || column >= columnCount() || !view()->model()) return {};
        return view()->model()->headerData(column, Qt::Horizontal).toString();
    }
    QString rowDescription(int row) const override {
        if (row < 0 || row >= rowCount() || !view()->model() || qobject_cast<QListView*>(view())) return {};
        return view()->model()->headerData(row, Qt::Vertical).toString();
    }
    int columnCount() const override {
        QAbstractItemModel* m = view()->model();
        return m ? std::max(0, qobject_cast<QListView*>(view()) ? std::min(1, m->columnCount(view()->rootIndex())) : m->columnCount(view()->rootIndex())) : 0;
    }
    int rowCount() const override {
        QAbstractItemModel* m = view()->model();
        return m ? std::max(0, m->rowCount(view()->rootIndex())) : 0;
    }
    int selectedCellCount() const override { return static_cast<int>(SelectedIndexes().size()); }
    int selectedColumnCount() const override { return static_cast<int>(selectedColumns().size()); }
    int selectedRowCount() const override { return static_cast<int>(selectedRows().size()); }
    QList<QAccessibleInterface*> selectedCells() const override {
        QList<QAccessibleInterface*> cells;
        for (const QModelIndex& i : SelectedIndexes()) cells << Cell(i.row(), i.column());
        return cells;
    }
    QList<int> selectedColumns() const override {
        QList<int> columns;
        if (QItemSelectionModel* s = view()->selectionModel())
            for (const QModelIndex& i : s->selectedColumns()) columns << i.column();
        return columns;
    }
    QList<int> selectedRows() const override {
        QList<int> rows;
        if (QItemSelectionModel* s = view()->selectionModel())
            for (const QModelIndex& i : s->selectedRows()) rows << i.row();
        return rows;
    }
    bool isColumnSelected(int column) const override {
        QItemSelectionModel* s = view()->selectionModel();
        return s && column >= 0 && column < columnCount() && s->isColumnSelected(column, view()->rootIndex());
    }
    bool isRowSelected(int row) const override {
        QItemSelectionModel* s = view()->selectionModel();
        return s && row >= 0 && row < rowCount() && s->isRowSelected(row, view()->rootIndex());
    }
    // Where the child at `index` stands (see ChildPlace), in the numbering of child().
    ChildPlace PlaceOf(int index) const {
        ChildPlace place;
        const int stride = Stride();
        if (index < 0 || stride <= 0 || index >= childCount()) return place;
        const int row = index / stride - Headed(), column = index % stride - Headed();
        if (row >= 0 && column >= 0) {
            place.cell = true;
            place.row = row;
            place.column = column;
            place.rowExtent = place.columnExtent = 1;
            QItemSelectionModel* s = view()->selectionModel();
            place.selected = s && s->isSelected(view()->model()->index(row, column, view()->rootIndex()));
        } else if (row >= 0) {
            place.row = row;  // a row header
        } else if (column >= 0) {
            place.column = column;  // a column header
        }
        return place;
    }

    // Selecting from the tool is choosing a cell: its press action does it, as a click does.
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent*) override {}

private:
    // 1 for a table, whose first row and column of children are its headers; 0 for a list.
    int Headed() const { return TableView() ? 1 : 0; }
    // Children in each row of children.
    int Stride() const { return columnCount() + Headed(); }
    // The child index of the cell at `row`, `column` (-1: the header row or column).
    int IndexOf(int row, int column) const { return (row + Headed()) * Stride() + column + Headed(); }
    QModelIndexList SelectedIndexes() const {
        QModelIndexList shown;
        if (QItemSelectionModel* s = view()->selectionModel())
            for (const QModelIndex& i : s->selectedIndexes())
                if (i.parent() == view()->rootIndex() && i.row() < rowCount() && i.column() < columnCount()) shown << i;
        return shown;
    }
    // The interface of the cell at `row`, `column` (-1, -1: the one that stands for no cell),
    // made when first asked for and kept.
    QAccessibleInterface* Cell(int row, int column) const {
        const std::pair<int, int> key(row, column);
        auto it = cells_.constFind(key);
        if (it != cells_.constEnd())
            if (QAccessibleInterface* i = QAccessible::accessibleInterface(*it)) return i;
        auto* cell = new CellAccessible(view(), row, column);
        cells_.insert(key, QAccessible::registerAccessibleInterface(cell));
        return cell;
    }

    mutable QMap<std::pair<int, int>, QAccessible::Id> cells_;
    mutable QMap<std::pair<Qt::Orientation, int>, QAccessible::Id> headers_;
};

QList<QAccessibleInterface*> CellAccessible::HeaderCells(Qt::Orientation orientation) const {
    auto* view = dynamic_cast<ItemViewAccessible*>(parent());
    QAccessibleInterface* header = view && isValid() ? view->Header(orientation, orientation == Qt::Horizontal ? column_ : row_) : nullptr;
    return header ? QList<QAccessibleInterface*>{header} : QList<QAccessibleInterface*>{};
}

// Accessibility events on their way to the bus while a table takes the focus or a cell's editor
// opens (see NameCurrentCellOnFocus and QuietUntilFocused): an update handler stands in front of
// the bus only while one of them waits, and hands every other event on unchanged.
struct EventWatch {
    QPointer<QAbstractItemView> viewTakingFocus;  // its next event is its own focus event
    QList<QPointer<QWidget>> openingEditors;      // not yet focused
    QAccessible::UpdateHandler before = nullptr;  // the handler in place before ours
    bool installed = false;
};

EventWatch& Watch() {
    static EventWatch watch;
    return watch;
}

void OnEvent(QAccessibleEvent* event);

// Hands an event on as if no handler of ours stood in between.
void HandOn(QAccessibleEvent* event) {
    if (Watch().before) {
        Watch().before(event);
        return;
    }
    // To the bus: Qt's own way, with ours out of it meanwhile.
    QAccessible::installUpdateHandler(nullptr);
    QAccessible::updateAccessibility(event);
    QAccessible::installUpdateHandler(OnEvent);
}

// The focus event of `view` naming its current cell (none: the view itself), if it still has the
// focus, told through `handler` (none: Qt's own way).
void TellFocusedCell(QAbstractItemView* view, QAccessible::UpdateHandler handler) {
    if (!view->hasFocus()) return;
    QAccessibleEvent focus(view, QAccessible::Focus);
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(view);
    QAccessibleTableInterface* cells = table ? table->tableInterface() : nullptr;
    const QModelIndex current = view->currentIndex();
    if (cells && current.isValid() && current.parent() == view->rootIndex())
        focus.setChild(table->indexOfChild(cells->cellAt(current.row(), current.column())));
    if (handler) handler(&focus);
    else QAccessible::updateAccessibility(&focus);
}

// TellFocusedCell once no callback runs: a committed edit's callback (which may change other cells
// of the row, and waits for the board) runs first, so that what is read is what the table shows.
// While a callback runs (a popup of it may be open a long while) it is looked at again now and
// then, not at every turn of the event loop.
void TellFocusedCellAfterCallbacks(const QPointer<QAbstractItemView>& view, QAccessible::UpdateHandler handler) {
    if (!view) return;
    auto again = [view, handler] { TellFocusedCellAfterCallbacks(view, handler); };
    if (HoldingCallbacks()) HoldCallback(again);
    else if (UserInputHeld()) QTimer::singleShot(50, view.data(), again);
    else TellFocusedCell(view.data(), handler);
}

// What an editor being filled tells of its text and value before it is shown and focused: a
// screen reader handling it once the editor has the focus takes the editor for the focus
// without saying it, and the focus event that follows for nothing new.
bool IsTextOrValueEvent(QAccessible::Event type) {
    switch (type) {
    case QAccessible::TextCaretMoved: case QAccessible::TextInserted: case QAccessible::TextRemoved:
    case QAccessible::TextUpdated: case QAccessible::TextSelectionChanged: case QAccessible::TextAttributeChanged:
    case QAccessible::ValueChanged: case QAccessible::NameChanged:
        return true;
    default:
        return false;
    }
}

void StandDownWhenIdle() {
    EventWatch& w = Watch();
    w.openingEditors.removeAll(nullptr);
    if (!w.installed || w.viewTakingFocus || !w.openingEditors.isEmpty()) return;
    QAccessible::installUpdateHandler(w.before);
    w.before = nullptr;
    w.installed = false;
}

void OnEvent(QAccessibleEvent* event) {
    EventWatch& w = Watch();
    QObject* object = event->object();
    auto* widget = object && object->isWidgetType() ? static_cast<QWidget*>(object) : nullptr;
    // An opening editor's own events: its text and value ones dropped until it has the focus.
    for (qsizetype k = 0; k < w.openingEditors.size(); ++k) {
        QWidget* editor = w.openingEditors.at(k);
        if (!editor || !widget || (widget != editor && !editor->isAncestorOf(widget))) continue;
        if (event->type() == QAccessible::Focus) {
            w.openingEditors.removeAt(k);
            break;
        }
        if (IsTextOrValueEvent(event->type())) return;
    }
    // The focus event of a view that took the focus, naming the whole view, is held back (other
    // events may come first: Qt 6.11 tells of a view's state and its editors' parents on the
    // way), and the view tells of its current cell instead once the events already waiting and
    // the callbacks they start have run.
    if (w.viewTakingFocus && event->type() == QAccessible::Focus && widget == w.viewTakingFocus.data() &&
        event->child() < 0) {
        const QPointer<QAbstractItemView> view = std::exchange(w.viewTakingFocus, nullptr);
        QMetaObject::invokeMethod(
            view.data(), [view, handler = w.before] { TellFocusedCellAfterCallbacks(view, handler); }, Qt::QueuedConnection);
        StandDownWhenIdle();
        return;
    }
    HandOn(event);
    StandDownWhenIdle();
}

void StandBy() {
    EventWatch& w = Watch();
    if (!w.installed) {
        w.before = QAccessible::installUpdateHandler(OnEvent);
        w.installed = true;
    }
    // What waits for an event that never comes (the focus moved on at once, an editor never
    // focused) stops waiting once the event loop runs again.
    QMetaObject::invokeMethod(
        qApp,
        [] {
            Watch().viewTakingFocus = nullptr;
            Watch().openingEditors.clear();
            StandDownWhenIdle();
        },
        Qt::QueuedConnection);
}

}  // namespace

QAccessibleInterface* NewItemViewAccessible(QAbstractItemView* view) { return new ItemViewAccessible(view); }

std::optional<ChildPlace> PlaceOfChild(QAccessibleInterface* view, int index) {
    auto* own = dynamic_cast<ItemViewAccessible*>(view);
    if (!own || !own->isValid()) return std::nullopt;
    return own->PlaceOf(index);
}

void NameCurrentCellOnFocus(QAbstractItemView* view) {
    if (!view) return;
    Watch().viewTakingFocus = view;
    StandBy();
}

void QuietUntilFocused(QWidget* editor) {
    if (!editor) return;
    Watch().openingEditors.append(editor);
    StandBy();
}

}  // namespace rt::detail
