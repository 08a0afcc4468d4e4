// The register maps of Jorb and Pykc as a screen reader meets them while editing, on the emulated
// board: the focus events when the focus enters the table and after a committed edit, the
// names of the cell editors and of the blank rows, and where the table's children stand as the
// bus answers a tool that asks by child index.
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDBusServer>
#include <QDBusVirtualObject>
#include <QDir>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTableView>

#include <algorithm>
#include <string>
#include <vector>

#include "panels/MNRegMap_pan.h"
#include "panels/cfgMapJorb_Pan.h"
#include "runtime/testing.h"
#include "tests/device/device_test_support.h"
#include "tests/support/event_wait.h"

namespace {

using namespace ui::AudioCodec_pan;

// An accessibility event as a screen reader would be told of it: its kind, the object it names
// (a cell: the cell's interface), that object's name when it was sent, and the name then of a
// cell watched beside it.
struct Told {
    QAccessible::Event type;
    QObject* object;
    int child;
    QAccessibleInterface* named;
    QString name;
    QString watchedName;
};

std::vector<Told>* told = nullptr;
QAccessibleInterface* watched = nullptr;

void Record(QAccessibleEvent* e) {
    QAccessibleInterface* named = e->accessibleInterface();
    told->push_back({e->type(), e->object(), e->child(), named, named ? named->text(QAccessible::Name) : QString(),
                     watched ? watched->text(QAccessible::Name) : QString()});
}

// Whether a screen reader takes the event for what the object holds: its focus, or a change of
// its value, text or name. Other events (Qt 6.11 tells of a new editor's parent) say nothing of it.
bool TellsOfValue(QAccessible::Event type) {
    switch (type) {
    case QAccessible::Focus: case QAccessible::ValueChanged: case QAccessible::NameChanged:
    case QAccessible::TextInserted: case QAccessible::TextRemoved: case QAccessible::TextUpdated:
    case QAccessible::TextCaretMoved: case QAccessible::TextSelectionChanged:
        return true;
    default:
        return false;
    }
}

class RegisterMapAccessTest : public devicetest::DeviceFixture {
protected:
    std::vector<Told> events;
    bool qtTells = false;  // Qt tells the handler of focus changes and editors' values itself
    QAccessible::UpdateHandler handlerBefore = nullptr;

    // The events a screen reader is told, recorded. Qt tells of each focus change just after the
    // widget had its focus-in event, and a cell's editor tells of its value or text as it is
    // filled, before it has the focus; the test platform has no screen reader, so Qt sends none
    // of these itself: they are sent here as Qt sends them.
    // Qt 6.11 tells the handler of these events itself, on any platform: then none is sent here,
    // or the view would be told of twice and out of Qt's order.
    void Listen(QWidget* owner) {
        told = &events;
        handlerBefore = QAccessible::installUpdateHandler(Record);
        owner->setFocus(Qt::OtherFocusReason);
        QWidget* next = owner->nextInFocusChain();
        while (next != owner && !((next->focusPolicy() & Qt::TabFocus) && next->isVisible() && next->isEnabled()))
            next = next->nextInFocusChain();
        next->setFocus(Qt::TabFocusReason);
        qtTells = std::any_of(events.begin(), events.end(),
                              [&](const Told& t) { return t.type == QAccessible::Focus && t.object == next; });
        rt::ProcessSystemEvents();
        events.clear();
        QObject::connect(qApp, &QApplication::focusChanged, owner, [this](QWidget*, QWidget* now) {
            if (!now || qtTells) return;
            if (auto* spin = qobject_cast<QAbstractSpinBox*>(now)) {
                QAccessibleValueChangeEvent filled(spin, spin->text());
                SendAsQt(&filled);
            } else if (auto* entry = qobject_cast<QLineEdit*>(now)) {
                QAccessibleTextInsertEvent filled(entry, 0, entry->text());
                SendAsQt(&filled);
            }
            QAccessibleEvent focus(now, QAccessible::Focus);
            SendAsQt(&focus);
        });
    }
    void TearDown() override {
        if (told) {
            QAccessible::installUpdateHandler(handlerBefore);
            told = nullptr;
            watched = nullptr;
        }
        DeviceFixture::TearDown();
    }
    // An event as Qt sends it while a screen reader listens: to the handler in place (the test
    // platform has no screen reader, so Qt sends none itself).
    static void SendAsQt(QAccessibleEvent* e) {
        QAccessible::UpdateHandler handler = QAccessible::installUpdateHandler(nullptr);
        QAccessible::installUpdateHandler(handler);
        if (handler) handler(e);
    }

    // The map's table on its page in front, the window active.
    QTableView* ShowMap(int menu, int* panel, int control) {
        Choose(menu);
        QWidget* window = rt::testing::PanelWindow(PHandlePanel);
        window->show();
        window->activateWindow();
        EXPECT_TRUE(testsupport::EventLoopUntil([&] { return QApplication::activeWindow() == window; }));
        rt::EasyTab_SetAttribute(PHandlePanel, tabCtrl, rt::ATTR_EASY_TAB_ACTIVE_PANEL, *panel);
        rt::ProcessSystemEvents();
        return qobject_cast<QTableView*>(rt::testing::ControlWidget(*panel, control));
    }

    static void Key(QWidget* w, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = {}) {
        QKeyEvent press(QEvent::KeyPress, key, modifiers, text), release(QEvent::KeyRelease, key, modifiers, text);
        QApplication::sendEvent(w, &press);
        QApplication::sendEvent(w, &release);
    }

    // The last focus event told from `from` on, or null.
    const Told* LastFocus(size_t from) const {
        const Told* last = nullptr;
        for (size_t k = from; k < events.size(); ++k)
            if (events[k].type == QAccessible::Focus) last = &events[k];
        return last;
    }
    // Waits for the last focus event from `from` on to name a cell of `view`.
    const Told* FocusedCellTold(QTableView* view, size_t from) {
        auto named = [&] {
            const Told* f = LastFocus(from);
            return f && f->object == view && f->child >= 0 ? f : nullptr;
        };
        EXPECT_TRUE(testsupport::EventLoopUntil([&] { return named() != nullptr; }));
        return named();
    }
    // Whether a focus event told of the whole view from `from` on.
    bool ToldTheWholeView(QTableView* view, size_t from) const {
        for (size_t k = from; k < events.size(); ++k)
            if (events[k].type == QAccessible::Focus && events[k].object == view && events[k].child < 0) return true;
        return false;
    }
};

// On entering the table by Tab and Shift+Tab, and after Return commits a bit cell and "Hex Val",
// a screen reader is told of the focused cell (its place and its value as committed, with the
// rest of the row already redrawn), never of the whole table. An open editor carries its cell's
// name, and what it tells of its value before it has the focus is not passed on.
TEST_F(RegisterMapAccessTest, FocusNamesTheCellOnEnteringTheMapAndAfterACommitAndEditorsCarryTheCellsName) {
    QTableView* view = ShowMap(MENUBAR_DEVICE_StereoJorb, &PHandleSTRegMap, ui::cfgMapJorb_Pan::CFGMAPJorb_REGTABLE);
    ASSERT_NE(view, nullptr);
    Listen(view);
    QAccessibleInterface* map = QAccessible::queryAccessibleInterface(view);
    QAccessibleTableInterface* table = map->tableInterface();
    ASSERT_NE(table, nullptr);
    ASSERT_EQ(table->columnCount(), 12);
    auto cellAt = [&](const Told* f) { return f && f->named ? f->named->tableCellInterface() : nullptr; };

    // Tab and Shift+Tab into the table, from the control before it and the one after it.
    view->setCurrentIndex(view->model()->index(4, 4));  // "Audio_Interface", "Bit 6"
    view->setFocus(Qt::MouseFocusReason);
    ASSERT_TRUE(view->hasFocus());
    for (auto [key, modifiers] : {std::pair{Qt::Key_Backtab, Qt::ShiftModifier}, std::pair{Qt::Key_Tab, Qt::NoModifier}}) {
        SCOPED_TRACE("key " + std::to_string(key));
        Key(view, key == Qt::Key_Tab ? Qt::Key_Backtab : Qt::Key_Tab, key == Qt::Key_Tab ? Qt::ShiftModifier : Qt::NoModifier);
        ASSERT_FALSE(view->hasFocus());
        const size_t from = events.size();
        Key(QApplication::focusWidget(), key, modifiers);
        ASSERT_TRUE(view->hasFocus());
        const Told* focus = FocusedCellTold(view, from);
        ASSERT_NE(cellAt(focus), nullptr);
        EXPECT_EQ(cellAt(focus)->rowIndex(), 4);
        EXPECT_EQ(cellAt(focus)->columnIndex(), 4);
        EXPECT_EQ(focus->name, "1");
        EXPECT_FALSE(ToldTheWholeView(view, from));
    }

    // A bit cell: its editor opened with F2, its value stepped down, Return. The row's "Hex Val"
    // shows the new value by the time the focus comes back to the cell.
    watched = table->cellAt(4, 11);
    ASSERT_EQ(watched->text(QAccessible::Name), "050");
    size_t from = events.size();
    Key(view, Qt::Key_F2);
    auto* spin = qobject_cast<QAbstractSpinBox*>(QApplication::focusWidget());
    ASSERT_NE(spin, nullptr);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(spin)->text(QAccessible::Name), "Audio_Interface, Bit 6");
    // The editor's first word is its focus: its value as it was filled goes no further.
    ASSERT_NE(LastFocus(from), nullptr);
    EXPECT_EQ(LastFocus(from)->object, spin);
    for (size_t k = from; k < events.size(); ++k)
        if (events[k].object == spin && TellsOfValue(events[k].type)) {
            EXPECT_EQ(events[k].type, QAccessible::Focus);
            break;
        }
    Key(spin, Qt::Key_Down);
    from = events.size();
    Key(spin, Qt::Key_Return);
    const Told* focus = FocusedCellTold(view, from);
    ASSERT_NE(cellAt(focus), nullptr);
    EXPECT_EQ(cellAt(focus)->rowIndex(), 4);
    EXPECT_EQ(cellAt(focus)->columnIndex(), 4);
    EXPECT_EQ(focus->name, "0");
    EXPECT_EQ(focus->watchedName, "010");
    EXPECT_FALSE(ToldTheWholeView(view, from));
    EXPECT_EQ(board->CodecRegister(4), 0x010);

    // "Hex Val": F2, "41", Return.
    view->setCurrentIndex(view->model()->index(4, 11));
    from = events.size();
    Key(view, Qt::Key_F2);
    auto* entry = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(entry)->text(QAccessible::Name), "Audio_Interface, Hex Val");
    for (size_t k = from; k < events.size(); ++k)
        if (events[k].object == entry && TellsOfValue(events[k].type)) {
            EXPECT_EQ(events[k].type, QAccessible::Focus);
            break;
        }
    Key(entry, Qt::Key_4, Qt::NoModifier, "4");
    Key(entry, Qt::Key_1, Qt::NoModifier, "1");
    from = events.size();
    Key(entry, Qt::Key_Return);
    focus = FocusedCellTold(view, from);
    ASSERT_NE(cellAt(focus), nullptr);
    EXPECT_EQ(cellAt(focus)->rowIndex(), 4);
    EXPECT_EQ(cellAt(focus)->columnIndex(), 11);
    EXPECT_EQ(focus->name, "041");
    EXPECT_FALSE(ToldTheWholeView(view, from));
    EXPECT_EQ(board->CodecRegister(4), 0x041);
}

// What a tool asking by child index is answered, for every child of Jorb's and Pykc's maps (and
// past them), in the one numbering the table gives its children: the corner 0, the column
// headers, then each row as its header and its cells. A cell gives its row and column, spanning
// one each; a header the row or column it heads and -1; the rest -1; never an error, and
// nothing for Qt's adaptor to answer. Pykc's blank rows say they hold no register.
TEST_F(RegisterMapAccessTest, TableCallsAnswerEveryChildInTheTablesOwnNumbering) {
    struct Adaptor : QDBusVirtualObject {
        int got = 0;
        QString introspect(const QString&) const override { return {}; }
        bool handleMessage(const QDBusMessage&, const QDBusConnection&) override { return ++got, true; }
    };
    auto* adaptor = new Adaptor;
    QDBusVirtualObject* guard = rt::testing::NewBusGuard(adaptor);
    QDBusServer server(QStringLiteral("unix:tmpdir=") + QDir::tempPath());
    ASSERT_TRUE(server.isConnected());
    bool served = false;
    QObject::connect(&server, &QDBusServer::newConnection, &server, [&](QDBusConnection program) {
        served = program.registerVirtualObject(QStringLiteral("/org/a11y/atspi/accessible"), guard, QDBusConnection::SubPath);
    });
    const QDBusConnection tool = QDBusConnection::connectToPeer(server.address(), QStringLiteral("tool"));
    ASSERT_TRUE(tool.isConnected());
    ASSERT_TRUE(testsupport::EventLoopUntil([&] { return served; }));

    struct Map {
        const char* name;
        int menu;
        int* panel;
        int control;
        int rows, blankFrom;  // blankFrom: the first blank row, 0-based (rows: none)
    };
    for (const Map& m : {Map{"Jorb", MENUBAR_DEVICE_StereoJorb, &PHandleSTRegMap, ui::cfgMapJorb_Pan::CFGMAPJorb_REGTABLE, 70, 70},
                         Map{"Pykc", MENUBAR_DEVICE_Mono, &PHandleMNRegMap, ui::MNRegMap_pan::MNREGMAP_REGTABLE, 56, 51}}) {
        SCOPED_TRACE(m.name);
        QTableView* view = ShowMap(m.menu, m.panel, m.control);
        ASSERT_NE(view, nullptr);
        view->setCurrentIndex(view->model()->index(3, 5));
        view->selectionModel()->select(view->currentIndex(), QItemSelectionModel::ClearAndSelect);
        QAccessibleInterface* map = QAccessible::queryAccessibleInterface(view);
        const int rows = map->tableInterface()->rowCount(), columns = map->tableInterface()->columnCount(), stride = columns + 1;
        ASSERT_EQ(rows, m.rows);
        ASSERT_EQ(map->childCount(), (rows + 1) * stride);
        for (int r = 0; r < rows; ++r) {
            const QList<QAccessibleInterface*> header = map->tableInterface()->cellAt(r, 0)->tableCellInterface()->rowHeaderCells();
            ASSERT_EQ(header.size(), 1);
            if (r >= m.blankFrom) EXPECT_EQ(header[0]->text(QAccessible::Name), "No register") << "row " << r;
            else EXPECT_NE(header[0]->text(QAccessible::Name), "") << "row " << r;
        }

        const QString path = QStringLiteral("/org/a11y/atspi/accessible/%1").arg(QAccessible::uniqueId(map));
        auto ask = [&](const char* member, int index) {
            QDBusMessage call = QDBusMessage::createMethodCall(QString(), path, QStringLiteral("org.a11y.atspi.Table"), member);
            call.setArguments({index});
            return tool.asyncCall(call, 5000);
        };
        struct Asked {
            int index;
            QDBusPendingCall row, column, extents;
        };
        std::vector<Asked> asked;
        for (int index = -1; index <= map->childCount() + 1; ++index)
            asked.push_back({index, ask("GetRowAtIndex", index), ask("GetColumnAtIndex", index), ask("GetRowColumnExtentsAtIndex", index)});
        ASSERT_TRUE(testsupport::EventLoopUntil(
            [&] { return asked.back().extents.isFinished() && asked.back().row.isFinished() && asked.back().column.isFinished(); }, 20000));
        int wrong = 0;
        for (const Asked& a : asked) {
            // Where the index stands in the table's numbering.
            const bool child = a.index >= 0 && a.index < map->childCount();
            const int row = child ? a.index / stride - 1 : -1, column = child ? a.index % stride - 1 : -1;
            const bool cell = row >= 0 && column >= 0;
            const bool selected = cell && view->selectionModel()->isSelected(view->model()->index(row, column));
            const QVariantList want{cell, cell || column < 0 ? row : -1, cell || row < 0 ? column : -1, cell ? 1 : 0, cell ? 1 : 0, selected};
            const QDBusMessage r = a.row.reply(), c = a.column.reply(), e = a.extents.reply();
            const QVariantList got{e.arguments().value(0), e.arguments().value(1), e.arguments().value(2), e.arguments().value(3),
                                   e.arguments().value(4), e.arguments().value(5)};
            if (r.type() != QDBusMessage::ReplyMessage || c.type() != QDBusMessage::ReplyMessage || e.type() != QDBusMessage::ReplyMessage ||
                r.arguments().value(0) != want[1] || c.arguments().value(0) != want[2] || got != want) {
                if (++wrong <= 5)
                    ADD_FAILURE() << "child " << a.index << ": row " << r.arguments().value(0).toString().toStdString() << " "
                                  << r.errorMessage().toStdString() << ", column " << c.arguments().value(0).toString().toStdString()
                                  << ", extents " << QVariant(got).toStringList().join(' ').toStdString() << " "
                                  << e.errorMessage().toStdString() << "; wanted " << QVariant(want).toStringList().join(' ').toStdString();
            }
            // The cell at an index is the child at that index.
            if (cell && map->child(a.index) != map->tableInterface()->cellAt(row, column)) ++wrong;
        }
        EXPECT_EQ(wrong, 0) << "of " << asked.size() << " indexes";
        EXPECT_EQ(adaptor->got, 0);
    }
    QDBusConnection::disconnectFromPeer(QStringLiteral("tool"));
    delete adaptor;
}

}  // namespace
