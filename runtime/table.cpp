// Tables: columns from the panel resource, cells addressed (column, row) from 1, cell values
// numeric or text by column, and a commit with (row, column) when the user edits a cell.
#include "runtime/rt_internal.h"
#include "runtime/accessible_internal.h"
#include "runtime/inifile.h"

#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPixmap>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QStyledItemDelegate>
#include <QTableWidget>

#include <climits>
#include <cmath>
#include <cstdint>

namespace rt {

using namespace detail;
using nlohmann::json;

namespace {

constexpr int kValueRole = Qt::UserRole + 1;

bool IsNumeric(const Column& col) { return !col.picture && col.type != DataType::String; }

QString CellText(const Column& col, double v) {
    if (col.hex) {
        auto n = static_cast<uint64_t>(static_cast<uint32_t>(static_cast<int64_t>(std::llround(v))));
        return QString::number(n, 16).toUpper().rightJustified(col.digits, '0');
    }
    return Q(FormatNumber(v, col.type, col.precision));
}

void StoreCell(QTableWidgetItem* item, const Column& col, const Value& v) {
    if (col.picture) return;
    if (IsNumeric(col)) {
        item->setData(kValueRole, v.num);
        item->setData(Qt::DisplayRole, CellText(col, v.num));
        item->setTextAlignment(Qt::AlignCenter);
    } else {
        item->setData(kValueRole, Q(v.str));
        item->setData(Qt::DisplayRole, Q(v.str));
    }
}

Value CellValue(const QTableWidgetItem* item, const Column& col) {
    if (!item || col.picture) return IsNumeric(col) ? Value::Number(0) : Value::Text("");
    QVariant v = item->data(kValueRole);
    return IsNumeric(col) ? Value::Number(v.toDouble()) : Value::Text(S(v.toString()));
}

QTableWidgetItem* NewCell(const Column& col) {
    auto* item = new QTableWidgetItem;
    Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
    if (col.editable && !col.picture) flags |= Qt::ItemIsEditable;
    item->setFlags(flags);
    StoreCell(item, col, IsNumeric(col) ? Value::Number(0) : Value::Text(""));
    return item;
}

// A table takes Tab and Shift+Tab as every other control does: they move the focus on to the
// next or previous control of the panel; the arrows move between cells. When the focus comes to
// it (by Tab, or back from a cell's closed editor), a screen reader is told of the cell the user
// is on, not of the table as a whole.
class TableWidget : public QTableWidget {
public:
    TableWidget(int rows, int columns, QWidget* parent) : QTableWidget(rows, columns, parent) { setTabKeyNavigation(false); }
    void MoveFocusOn(bool next) { focusNextPrevChild(next); }

protected:
    void focusInEvent(QFocusEvent* e) override {
        QTableWidget::focusInEvent(e);
        NameCurrentCellOnFocus(this);
    }
};

// What a cell's editor is named for assistive technology: the cell's row and column as their
// headers read ("Audio_Interface, Bit 6"), so that a screen reader says which cell is edited.
QString EditedCellName(const QModelIndex& index) {
    const QAbstractItemModel* m = index.model();
    if (!m) return {};
    QString row = m->headerData(index.row(), Qt::Vertical, Qt::AccessibleTextRole).toString();
    if (row.isEmpty()) row = m->headerData(index.row(), Qt::Vertical, Qt::DisplayRole).toString();
    const QString column = m->headerData(index.column(), Qt::Horizontal, Qt::DisplayRole).toString();
    if (row.isEmpty() || column.isEmpty()) return row + column;
    return row + QStringLiteral(", ") + column;
}

// Edits cells by the column's type; a changed value commits after the editor has closed, so
// the callback may show popups or rebuild the table.
class CellDelegate : public QStyledItemDelegate {
public:
    CellDelegate(int panel, int control, TableWidget* table) : QStyledItemDelegate(table), panel_(panel), control_(control) {}

    // Tab or Shift+Tab in a cell's editor keeps the edit, closes the editor and moves the focus on
    // from the table (Qt's own would open the next cell's editor).
    bool eventFilter(QObject* watched, QEvent* e) override {
        auto* editor = qobject_cast<QWidget*>(watched);
        if (editor && e->type() == QEvent::KeyPress) {
            const auto* k = static_cast<QKeyEvent*>(e);
            const bool back = k->key() == Qt::Key_Backtab || (k->key() == Qt::Key_Tab && (k->modifiers() & Qt::ShiftModifier));
            if ((back || k->key() == Qt::Key_Tab) && !(k->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
                emit commitData(editor);
                emit closeEditor(editor, QAbstractItemDelegate::NoHint);
                static_cast<TableWidget*>(parent())->MoveFocusOn(!back);
                return true;
            }
        }
        return QStyledItemDelegate::eventFilter(watched, e);
    }

    // The editor carries the name of the cell it edits (its entry too, inside a spin box).
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QWidget* editor = NewEditor(parent, option, index);
        if (editor) {
            QuietUntilFocused(editor);
            const QString name = EditedCellName(index);
            editor->setAccessibleName(name);
            if (auto* box = qobject_cast<QAbstractSpinBox*>(editor))
                if (auto* entry = box->findChild<QLineEdit*>()) entry->setAccessibleName(name);
        }
        return editor;
    }

    QWidget* NewEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const {
        const Column* col = ColumnAt(index.column());
        if (!col || col->picture) return nullptr;
        if (col->type == DataType::String || col->hex) {
            auto* le = new QLineEdit(parent);
            if (col->hex)
                le->setValidator(new QRegularExpressionValidator(QRegularExpression("(0[xX])?[0-9A-Fa-f]{1,8}"), le));
            return le;
        }
        if (col->type == DataType::Double) {
            auto* d = new QDoubleSpinBox(parent);
            d->setDecimals(col->precision);
            d->setRange(col->min, col->max);
            d->setButtonSymbols(QAbstractSpinBox::NoButtons);
            return d;
        }
        auto* i = new QSpinBox(parent);
        i->setRange(static_cast<int>(std::max(col->min, -2147483648.0)), static_cast<int>(std::min(col->max, 2147483647.0)));
        i->setButtonSymbols(QAbstractSpinBox::NoButtons);
        return i;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        const Column* col = ColumnAt(index.column());
        if (!col) return;
        QVariant v = index.data(kValueRole);
        if (auto* le = qobject_cast<QLineEdit*>(editor)) {
            le->setText(col->hex ? CellText(*col, v.toDouble()) : v.toString());
            le->selectAll();
        } else if (auto* d = qobject_cast<QDoubleSpinBox*>(editor)) {
            d->setValue(v.toDouble());
        } else if (auto* i = qobject_cast<QSpinBox*>(editor)) {
            i->setValue(static_cast<int>(std::llround(v.toDouble())));
        }
    }

    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override {
        const Column* col = ColumnAt(index.column());
        if (!col) return;
        Value v;
        if (auto* le = qobject_cast<QLineEdit*>(editor)) {
            if (col->hex) {
                QString t = le->text().trimmed();
                if (t.startsWith("0x", Qt::CaseInsensitive)) t = t.mid(2);
                bool ok = false;
                qulonglong n = t.toULongLong(&ok, 16);
                if (!ok) return;  // nothing typed: the cell keeps its value
                v = Value::Number(std::clamp(static_cast<double>(n), col->min, col->max));
            } else {
                v = Value::Text(S(le->text()));
            }
        } else if (auto* d = qobject_cast<QDoubleSpinBox*>(editor)) {
            d->interpretText();
            v = Value::Number(d->value());
        } else if (auto* i = qobject_cast<QSpinBox*>(editor)) {
            i->interpretText();
            v = Value::Number(i->value());
        } else {
            return;
        }
        QVariant old = index.data(kValueRole);
        bool changed = IsNumeric(*col) ? old.toDouble() != v.num : old.toString() != Q(v.str);
        if (!changed) return;
        model->setData(index, IsNumeric(*col) ? QVariant(v.num) : QVariant(Q(v.str)), kValueRole);
        model->setData(index, IsNumeric(*col) ? CellText(*col, v.num) : Q(v.str), Qt::DisplayRole);
        int panel = panel_, control = control_, row = index.row() + 1, column = index.column() + 1;
        QMetaObject::invokeMethod(parent(), [panel, control, row, column] {
            FireControl(panel, control, EVENT_VAL_CHANGED, row, column);
            FireControl(panel, control, EVENT_COMMIT, row, column);
        }, Qt::QueuedConnection);
    }

private:
    const Column* ColumnAt(int column) const {
        Control* c = FindControl(panel_, control_, nullptr);
        if (!c || column < 0 || column >= static_cast<int>(c->columns.size())) return nullptr;
        return &c->columns[column];
    }

    int panel_;
    int control_;
};

QTableWidget* TableOf(int panel, int control, Control** out, int* err) {
    Control* c = FindControl(panel, control, err);
    if (!c) return nullptr;
    auto* t = c->kind == Kind::Table ? qobject_cast<QTableWidget*>(c->widget.data()) : nullptr;
    if (!t) {
        *err = UIEInvalidControlType;
        return nullptr;
    }
    *out = c;
    return t;
}

// The item of a 1-based (column, row) cell, or null with *err set.
QTableWidgetItem* CellOf(int panel, int control, Point cell, Control** c, int* err, QTableWidget** table = nullptr) {
    QTableWidget* t = TableOf(panel, control, c, err);
    if (!t) return nullptr;
    if (cell.x < 1 || cell.x > t->columnCount() || cell.y < 1 || cell.y > t->rowCount()) {
        *err = UIEIndexOutOfRange;
        return nullptr;
    }
    QTableWidgetItem* item = t->item(cell.y - 1, cell.x - 1);
    if (!item) {
        QSignalBlocker b(t);
        item = NewCell((*c)->columns[cell.x - 1]);
        t->setItem(cell.y - 1, cell.x - 1, item);
    }
    if (table) *table = t;
    return item;
}

// Runs `body(Control&, QTableWidget&)` on a table control and returns its result, or the error
// of finding the table.
template <typename Body>
int WithTable(int panel, int control, Body body) {
    int err = 0;
    Control* c = nullptr;
    QTableWidget* t = TableOf(panel, control, &c, &err);
    if (!t) return err;
    return body(*c, *t);
}

// Runs `body(Control&, QTableWidget&, QTableWidgetItem&)` on a 1-based (column, row) cell and
// returns its result, or the error of finding the cell.
template <typename Body>
int WithCell(int panel, int control, Point cell, Body body) {
    int err = 0;
    Control* c = nullptr;
    QTableWidget* t = nullptr;
    QTableWidgetItem* item = CellOf(panel, control, cell, &c, &err, &t);
    if (!item) return err;
    return body(*c, *t, *item);
}

}  // namespace

namespace detail {

QWidget* BuildTable(Control& c, const json& resource, QWidget* parent) {
    for (const json& cj : resource.value("columns", json::array())) {
        Column col;
        col.label = cj["label"].get<std::string>();
        std::string type = cj.value("type", std::string("int"));
        if (type == "picture") col.picture = true;
        else panelfmt::TypeFromName(type, &col.type);
        col.editable = cj.value("editable", !col.picture);
        col.hex = cj.value("format", std::string("decimal")) == "hex";
        col.digits = cj.value("digits", 0);
        if (col.type == DataType::Unsigned) col.min = 0;
        if (col.type == DataType::Unsigned && !cj.contains("max")) col.max = 4294967295.0;
        col.min = cj.value("min", col.min);
        col.max = cj.value("max", col.max);
        col.precision = cj.value("precision", col.type == DataType::Double ? 2 : 0);
        c.columns.push_back(col);
    }
    auto* t = new TableWidget(0, static_cast<int>(c.columns.size()), parent);
    QStringList labels;
    for (const Column& col : c.columns) labels << Q(col.label);
    t->setHorizontalHeaderLabels(labels);
    int i = 0;
    for (const json& cj : resource.value("columns", json::array())) {
        if (cj.contains("width")) t->setColumnWidth(i, cj["width"].get<int>());
        ++i;
    }
    t->setSelectionMode(QAbstractItemView::SingleSelection);
    t->setSelectionBehavior(QAbstractItemView::SelectItems);
    t->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    t->verticalHeader()->setDefaultSectionSize(22);
    t->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    t->horizontalHeader()->setHighlightSections(false);
    t->setItemDelegate(new CellDelegate(c.panel, c.id, t));
    int rows = resource.value("rows", 0);
    t->setRowCount(rows);
    for (int r = 0; r < rows; ++r)
        for (int col = 0; col < t->columnCount(); ++col) t->setItem(r, col, NewCell(c.columns[col]));
    return t;
}

}  // namespace detail

int GetNumTableRows(int panel, int control, int* rows) {
    return WithTable(panel, control, [&](Control&, QTableWidget& t) {
        if (!rows) return UIEBadValue;
        *rows = t.rowCount();
        return 0;
    });
}

int GetNumTableColumns(int panel, int control, int* columns) {
    return WithTable(panel, control, [&](Control&, QTableWidget& t) {
        if (!columns) return UIEBadValue;
        *columns = t.columnCount();
        return 0;
    });
}

int InsertTableRows(int panel, int control, int index, int count) {
    return WithTable(panel, control, [&](Control& c, QTableWidget& t) {
        int rows = t.rowCount();
        if (index == -1) index = rows + 1;
        if (index < 1 || index > rows + 1 || count < 0) return UIEIndexOutOfRange;
        QSignalBlocker b(&t);
        for (int i = 0; i < count; ++i) {
            int r = index - 1 + i;
            t.insertRow(r);
            for (int col = 0; col < t.columnCount(); ++col) t.setItem(r, col, NewCell(c.columns[col]));
        }
        return 0;
    });
}

int DeleteTableRows(int panel, int control, int index, int count) {
    return WithTable(panel, control, [&](Control&, QTableWidget& t) {
        int rows = t.rowCount();
        if (index < 1 || index > rows) return UIEIndexOutOfRange;
        if (count == -1 || index - 1 + count > rows) count = rows - index + 1;
        if (count < 0) return UIEIndexOutOfRange;
        QSignalBlocker b(&t);
        for (int i = 0; i < count; ++i) t.removeRow(index - 1);
        return 0;
    });
}

int GetTableColumnFromLabel(int panel, int control, const char* label) {
    int err = 0;
    Control* c = nullptr;
    if (!TableOf(panel, control, &c, &err) || !label) return 0;
    for (size_t i = 0; i < c->columns.size(); ++i)
        if (c->columns[i].label == label) return static_cast<int>(i) + 1;
    return 0;
}

namespace {

int SetCell(int panel, int control, Point cell, const Value& v) {
    return WithCell(panel, control, cell, [&](Control& c, QTableWidget& t, QTableWidgetItem& item) {
        const Column& col = c.columns[cell.x - 1];
        if (col.picture) return UIEInvalidControlType;
        QSignalBlocker b(&t);
        if (IsNumeric(col)) {
            double d;
            if (!AsNumber(v, &d)) return UIEBadValue;
            if (col.type != DataType::Double) d = std::round(d);
            StoreCell(&item, col, Value::Number(d));
        } else {
            StoreCell(&item, col, Value::Text(AsText(v, DataType::String, 0)));
        }
        return 0;
    });
}

int GetCell(int panel, int control, Point cell, Value* v) {
    return WithCell(panel, control, cell, [&](Control& c, QTableWidget&, QTableWidgetItem& item) {
        const Column& col = c.columns[cell.x - 1];
        if (col.picture) return UIEInvalidControlType;
        *v = CellValue(&item, col);
        return 0;
    });
}

}  // namespace

int SetTableCellVal(int panel, int control, Point cell, int value) { return SetCell(panel, control, cell, Value::Number(value)); }
int SetTableCellVal(int panel, int control, Point cell, double value) { return SetCell(panel, control, cell, Value::Number(value)); }
int SetTableCellVal(int panel, int control, Point cell, const char* value) {
    return SetCell(panel, control, cell, Value::Text(value ? value : ""));
}

int GetTableCellVal(int panel, int control, Point cell, int* value) {
    double d;
    const int err = GetTableCellVal(panel, control, cell, value ? &d : nullptr);
    if (err != 0) return err;
    *value = static_cast<int>(static_cast<uint32_t>(std::llround(d)));
    return 0;
}

int GetTableCellVal(int panel, int control, Point cell, double* value) {
    if (!value) return UIEBadValue;
    Value v;
    int err = GetCell(panel, control, cell, &v);
    if (err < 0) return err;
    return AsNumber(v, value) ? 0 : UIEBadValue;
}

int GetTableCellVal(int panel, int control, Point cell, std::string* value) {
    if (!value) return UIEBadValue;
    return WithCell(panel, control, cell, [&](Control& c, QTableWidget&, QTableWidgetItem& item) {
        const Column& col = c.columns[cell.x - 1];
        if (col.picture) return UIEInvalidControlType;
        *value = IsNumeric(col) ? S(item.text()) : S(item.data(kValueRole).toString());
        return 0;
    });
}

int SetTableRowLabel(int panel, int control, int row, const char* label) {
    return WithTable(panel, control, [&](Control&, QTableWidget& t) {
        if (row < 1 || row > t.rowCount()) return UIEIndexOutOfRange;
        QSignalBlocker b(&t);
        t.setVerticalHeaderItem(row - 1, new QTableWidgetItem(QString::fromUtf8(label ? label : "")));
        return 0;
    });
}

int SetTableRowAccessibleName(int panel, int control, int row, const char* name) {
    return WithTable(panel, control, [&](Control&, QTableWidget& t) {
        if (row < 1 || row > t.rowCount()) return UIEIndexOutOfRange;
        QSignalBlocker b(&t);
        QTableWidgetItem* h = t.verticalHeaderItem(row - 1);
        if (!h) {
            h = new QTableWidgetItem(QString::number(row));
            t.setVerticalHeaderItem(row - 1, h);
        }
        h->setData(Qt::AccessibleTextRole, QString::fromUtf8(name ? name : ""));
        return 0;
    });
}

int GetTableRowLabel(int panel, int control, int row, std::string* label) {
    return WithTable(panel, control, [&](Control&, QTableWidget& t) {
        if (!label) return UIEBadValue;
        if (row < 1 || row > t.rowCount()) return UIEIndexOutOfRange;
        QTableWidgetItem* h = t.verticalHeaderItem(row - 1);
        *label = h ? S(h->text()) : std::to_string(row);
        return 0;
    });
}

int SetTableCellEditable(int panel, int control, Point cell, int editable) {
    return WithCell(panel, control, cell, [&](Control& c, QTableWidget& t, QTableWidgetItem& item) {
        QSignalBlocker b(&t);
        Qt::ItemFlags f = item.flags();
        item.setFlags(editable && !c.columns[cell.x - 1].picture ? f | Qt::ItemIsEditable : f & ~Qt::ItemIsEditable);
        return 0;
    });
}

int SetTableCellColour(int panel, int control, Point cell, int colour) {
    return WithCell(panel, control, cell, [&](Control&, QTableWidget& t, QTableWidgetItem& item) {
        QSignalBlocker b(&t);
        item.setBackground(ToQColor(colour));
        return 0;
    });
}

int SetTableCellPictureFromFile(int panel, int control, Point cell, const char* path) {
    return WithCell(panel, control, cell, [&](Control&, QTableWidget& t, QTableWidgetItem& item) {
        // Read without waiting: a named pipe or a device in the file's place is refused.
        std::string bytes;
        if (!path || !ReadWholeFile(path, &bytes) || bytes.size() > static_cast<size_t>(INT_MAX)) return UIEBadFile;
        // The format by the contents, else by the name's suffix (for formats without a signature).
        const auto* data = reinterpret_cast<const uchar*>(bytes.data());
        const int size = static_cast<int>(bytes.size());
        const QByteArray suffix = QFileInfo(QString::fromUtf8(path)).suffix().toLatin1();
        QImage image;
        if (!image.loadFromData(data, size) && (suffix.isEmpty() || !image.loadFromData(data, size, suffix.constData())))
            return UIEBadFile;
        int side = std::max(8, t.verticalHeader()->defaultSectionSize() - 4);
        QSignalBlocker b(&t);
        item.setData(Qt::DecorationRole, QPixmap::fromImage(image.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
        return 0;
    });
}

int GetActiveTableCell(int panel, int control, Point* cell) {
    return WithTable(panel, control, [&](Control&, QTableWidget& t) {
        if (!cell) return UIEBadValue;
        int row = t.currentRow(), col = t.currentColumn();
        // With no cell chosen yet, the first cell is the active one.
        *cell = row < 0 || col < 0 ? Point{1, 1} : Point{col + 1, row + 1};
        return 0;
    });
}

int SetActiveTableCell(int panel, int control, Point cell) {
    return WithTable(panel, control, [&](Control&, QTableWidget& t) {
        if (cell.x < 1 || cell.x > t.columnCount() || cell.y < 1 || cell.y > t.rowCount()) return UIEIndexOutOfRange;
        QSignalBlocker b(&t);
        t.setCurrentCell(cell.y - 1, cell.x - 1);
        return 0;
    });
}

}  // namespace rt
