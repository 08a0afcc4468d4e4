// A guard in front of Qt's adaptor of the accessibility bus. Qt's adaptor reads the arguments of
// a call without checking that the caller sent them, and some of its answers cost as much as the
// range the caller names: a call with arguments missing or of other types ends the program, and
// a text range up to the largest offset never ends. The guard takes the adaptor's place on the
// bus, refuses such calls with an error, and a value set that gives anything but a number (the
// adaptor would take a text, a truth value or a list as one); it brings text ranges within the
// text, answers the text within a box itself (the adaptor never answers that call), and hands
// every other call to the adaptor unchanged.
#include "runtime/rt_internal.h"
#include "runtime/accessible_internal.h"
#include "runtime/testing.h"

#include <QAccessible>
#include <QApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QHash>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QVersionNumber>
#include <QWidget>

#include <algorithm>
#include <functional>
#include <optional>

namespace rt::detail {

namespace {

// One range of Text.GetBoundedRanges's answer: its offsets, its text and a value tools ignore.
struct TextRange {
    int start = 0;
    int end = 0;
    QString text;
    QDBusVariant data;
};

QDBusArgument& operator<<(QDBusArgument& arg, const TextRange& r) {
    arg.beginStructure();
    arg << r.start << r.end << r.text << r.data;
    arg.endStructure();
    return arg;
}

const QDBusArgument& operator>>(const QDBusArgument& arg, TextRange& r) {
    arg.beginStructure();
    arg >> r.start >> r.end >> r.text >> r.data;
    arg.endStructure();
    return arg;
}

}  // namespace

}  // namespace rt::detail

Q_DECLARE_METATYPE(rt::detail::TextRange)

namespace rt::detail {

namespace {

const QString kAccessiblePath = QStringLiteral("/org/a11y/atspi/accessible");
const QString kRootPath = QStringLiteral("/org/a11y/atspi/accessible/root");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");
const QString kText = QStringLiteral("org.a11y.atspi.Text");
const QString kEditableText = QStringLiteral("org.a11y.atspi.EditableText");
const QString kValue = QStringLiteral("org.a11y.atspi.Value");
const QString kTable = QStringLiteral("org.a11y.atspi.Table");

// The arguments each method takes, one complete type each, by interface and by the name the
// adaptor goes by (a property's "Get"/"Set" and its name: a property set takes the interface,
// the name and the value). Methods that take none are not listed.
using Signatures = QHash<QString, QHash<QString, QStringList>>;
const Signatures& MethodArguments() {
    static const Signatures methods = [] {
        const QStringList i{"i"}, ii{"i", "i"}, u{"u"}, iiu{"i", "i", "u"}, iu{"i", "u"}, set{"s", "s", "v"};
        Signatures m;
        m[QStringLiteral("org.a11y.atspi.Application")] = {{"SetId", set}};
        m[QStringLiteral("org.a11y.atspi.Accessible")] = {{"GetChildAtIndex", i}};
        m[QStringLiteral("org.a11y.atspi.Collection")] = {{"GetMatches", {"(aiia{ss}iaiiasib)", "u", "i", "b"}}};
        m[QStringLiteral("org.a11y.atspi.Component")] = {
            {"Contains", iiu}, {"GetAccessibleAtPoint", iiu}, {"GetExtents", u}, {"GetPosition", u}};
        m[QStringLiteral("org.a11y.atspi.Action")] = {{"DoAction", i}, {"GetName", i}, {"GetDescription", i}, {"GetKeyBinding", i}};
        m[kText] = {{"AddSelection", ii},
                    {"GetAttributeRun", {"i", "b"}},
                    {"GetAttributeValue", {"i", "s"}},
                    {"GetAttributes", i},
                    {"GetBoundedRanges", {"i", "i", "i", "i", "u", "u", "u"}},
                    {"GetCharacterAtOffset", i},
                    {"GetCharacterExtents", iu},
                    {"GetOffsetAtPoint", iiu},
                    {"GetRangeExtents", iiu},
                    {"GetSelection", i},
                    {"GetText", ii},
                    {"GetTextAfterOffset", iu},
                    {"GetTextAtOffset", iu},
                    {"GetTextBeforeOffset", iu},
                    {"GetStringAtOffset", iu},
                    {"RemoveSelection", i},
                    {"ScrollSubstringTo", iiu},
                    {"SetCaretOffset", i},
                    {"SetSelection", {"i", "i", "i"}}};
        m[kEditableText] = {{"CopyText", ii}, {"CutText", ii},     {"DeleteText", ii},
                            {"InsertText", {"i", "s", "i"}}, {"PasteText", i}, {"SetTextContents", {"s"}}};
        m[kValue] = {{"SetCurrentValue", set}};
        m[kTable] = {
            {"GetAccessibleAt", ii},       {"GetIndexAt", ii},          {"GetColumnAtIndex", i},    {"GetRowAtIndex", i},
            {"GetColumnDescription", i},   {"GetRowDescription", i},    {"GetRowColumnExtentsAtIndex", i},
            {"GetColumnExtentAt", ii},     {"GetRowExtentAt", ii},      {"GetColumnHeader", i},     {"GetRowHeader", i},
            {"IsColumnSelected", i},       {"IsRowSelected", i},        {"IsSelected", ii},         {"AddColumnSelection", i},
            {"AddRowSelection", i},        {"RemoveColumnSelection", i}, {"RemoveRowSelection", i}};
        m[QStringLiteral("org.a11y.atspi.Selection")] = {
            {"DeselectChild", i}, {"DeselectSelectedChild", i}, {"GetSelectedChild", i}, {"IsChildSelected", i}, {"SelectChild", i}};
        return m;
    }();
    return methods;
}

bool OfType(const QVariant& v, const QString& type) {
    if (type == QLatin1String("i")) return v.metaType() == QMetaType::fromType<int>();
    if (type == QLatin1String("u")) return v.metaType() == QMetaType::fromType<uint>();
    if (type == QLatin1String("s")) return v.metaType() == QMetaType::fromType<QString>();
    if (type == QLatin1String("b")) return v.metaType() == QMetaType::fromType<bool>();
    if (type == QLatin1String("v")) return v.metaType() == QMetaType::fromType<QDBusVariant>();
    return v.metaType() == QMetaType::fromType<QDBusArgument>() && v.value<QDBusArgument>().currentSignature() == type;
}

bool Takes(const QVariantList& args, const QStringList& types) {
    if (args.size() != types.size()) return false;
    for (qsizetype k = 0; k < args.size(); ++k)
        if (!OfType(args.at(k), types.at(k))) return false;
    return true;
}

// The object a call is for, found from its path as the adaptor finds it.
QAccessibleInterface* Addressed(const QString& path) {
    if (path == kRootPath) return QAccessible::queryAccessibleInterface(qApp);
    const QStringList parts = path.split(u'/');
    if (parts.size() != 6) return nullptr;
    bool ok = false;
    const QAccessible::Id id = parts.at(5).toUInt(&ok);
    return ok ? QAccessible::accessibleInterface(id) : nullptr;
}

// Qt's adaptors before 6.11 read a property name from every property call, "GetAll" (which has
// none) included.
bool AdaptorReadsAPropertyName() {
    static const bool reads = QVersionNumber::fromString(QLatin1String(qVersion())) < QVersionNumber(6, 11);
    return reads;
}

// Brings the offsets of a text range within [0, length]; an end of -1 (the whole text) stays.
void ClampRange(QVariantList* args, int first, int length) {
    int& start = *static_cast<int*>((*args)[first].data());
    int& end = *static_cast<int*>((*args)[first + 1].data());
    start = std::clamp(start, 0, length);
    if (end != -1) end = std::clamp(end, 0, length);
}

// Brings the offsets of a text call within its object's text. Returns whether any changed.
bool ClampOffsets(const QString& interface, const QString& function, const QString& path, QVariantList* args) {
    if (interface != kText && interface != kEditableText) return false;
    QAccessibleInterface* object = Addressed(path);
    if (!object || !object->isValid()) return false;
    const QAccessibleTextInterface* text = object->textInterface();
    if (!text && interface == kText) return false;
    // Without a text interface Qt edits the object's value as text.
    const int length = text ? text->characterCount() : static_cast<int>(object->text(QAccessible::Value).size());
    const QVariantList before = *args;
    if (function == QLatin1String("GetRangeExtents") || function == QLatin1String("GetText") ||
        function == QLatin1String("CopyText") || function == QLatin1String("CutText") || function == QLatin1String("DeleteText")) {
        ClampRange(args, 0, length);
    } else if (function == QLatin1String("InsertText")) {
        int& position = *static_cast<int*>((*args)[0].data());
        int& count = *static_cast<int*>((*args)[2].data());
        position = std::clamp(position, 0, length);
        count = std::clamp(count, 0, static_cast<int>(args->at(1).toString().size()));
    } else if (function == QLatin1String("PasteText")) {
        int& position = *static_cast<int*>((*args)[0].data());
        position = std::clamp(position, 0, length);
    }
    return *args != before;
}

// A value set gives a number: a text, a truth value or a list would be read as one.
bool IsNumber(const QVariant& v) {
    switch (v.metaType().id()) {
    case QMetaType::UChar: case QMetaType::Short: case QMetaType::UShort: case QMetaType::Int: case QMetaType::UInt:
    case QMetaType::LongLong: case QMetaType::ULongLong: case QMetaType::Double:
        return true;
    default:
        return false;
    }
}

// The first offset in [from, to) at which `reached` holds (it holds from there on), else `to`.
int FirstWhere(int from, int to, const std::function<bool(int)>& reached) {
    while (from < to) {
        const int mid = from + (to - from) / 2;
        if (reached(mid)) to = mid;
        else from = mid + 1;
    }
    return from;
}

// The window a node shows in, as the bus's window coordinates count from it: the top-level
// widget of the nearest node that is a widget (a main window, a dialog, a menu).
QAccessibleInterface* WindowOf(QAccessibleInterface* object) {
    for (QAccessibleInterface* node = object; node; node = node->parent())
        if (auto* widget = qobject_cast<QWidget*>(node->object())) return QAccessible::queryAccessibleInterface(widget->window());
    return nullptr;
}

// The text of `object` that shows within a box (x, y, width, height in the coordinates `coords`
// names: 0 the screen, 1 the window, 2 the parent; no others), one range per line. A character
// cut by the box's near edge is left out when `xClip` or `yClip` has bit 1, one cut by its far
// edge when they have bit 2. Characters run left to right and lines downwards, so each line and
// each end is found by halving: the cost grows with the lines in the box, not with the text.
QList<TextRange> BoundedRanges(QAccessibleInterface* object, const QVariantList& args) {
    QAccessibleTextInterface* text = object->textInterface();
    // Far beyond any screen, so that no edge of the box overflows.
    auto near = [&args](int k) { return std::clamp(args.at(k).toInt(), -(1 << 28), 1 << 28); };
    QRect box(near(0), near(1), near(2), near(3));
    const uint coords = args.at(4).toUInt(), xClip = args.at(5).toUInt(), yClip = args.at(6).toUInt();
    QList<TextRange> ranges;
    if (coords > 2) return ranges;
    if (coords != 0) {
        QAccessibleInterface* origin = coords == 1 ? WindowOf(object) : object->parent();
        if (!origin) return ranges;  // nothing to count from: no box is known
        box.translate(origin->rect().topLeft());
    }
    const QRect area = box & object->rect();  // what shows of the box
    const int count = text->characterCount();
    if (area.isEmpty() || count <= 0) return ranges;
    auto rect = [text](int offset) { return text->characterRect(offset); };
    for (int line = FirstWhere(0, count, [&](int k) { return rect(k).bottom() >= area.top(); }); line < count;) {
        const QRect first = rect(line);
        if (first.top() > area.bottom()) break;
        const int next = FirstWhere(line + 1, count, [&](int k) { return rect(k).top() > first.top(); });
        const bool cut = (first.top() < area.top() && (yClip & 1)) || (first.bottom() > area.bottom() && (yClip & 2));
        if (!cut) {
            int from = FirstWhere(line, next, [&](int k) { return rect(k).right() >= area.left(); });
            int to = FirstWhere(from, next, [&](int k) { return rect(k).left() > area.right(); });
            if (from < to && rect(from).left() < area.left() && (xClip & 1)) ++from;
            if (from < to && rect(to - 1).right() > area.right() && (xClip & 2)) --to;
            if (from < to) ranges.append({from, to, text->text(from, to), QDBusVariant(QString())});
        }
        line = next;
    }
    return ranges;
}

// The row and column of a list's or table's child, by its index among the list's children:
// Qt's adaptor works them out from a numbering of its own (the cells alone, row by row), which is
// not the one the table gives its children (its header cells first), so it answers another cell,
// a header's neighbour, or an error. Answered here from the table's own numbering for the lists
// and tables made by the program: a cell gives its row and column, spanning one each; a header
// the row or column it heads and -1; the corner, or an index of no child, -1 for both, never an
// error. Returns whether the call was answered.
bool AnswerTablePlace(const QDBusMessage& message, const QDBusConnection& connection, const QString& function,
                      const QVariantList& args) {
    const bool rowColumnExtents = function == QLatin1String("GetRowColumnExtentsAtIndex");
    const bool row = function == QLatin1String("GetRowAtIndex"), column = function == QLatin1String("GetColumnAtIndex");
    if (!rowColumnExtents && !row && !column) return false;
    QAccessibleInterface* table = Addressed(message.path());
    const std::optional<ChildPlace> place = table && table->isValid() ? PlaceOfChild(table, args.at(0).toInt()) : std::nullopt;
    if (!place) return false;
    QDBusMessage reply;
    if (rowColumnExtents)
        // Whether the child is a cell, its row, column, row span, column span, and whether it is selected.
        reply = message.createReply(QVariantList{place->cell, place->row, place->column, place->rowExtent, place->columnExtent, place->selected});
    else
        reply = message.createReply(row ? place->row : place->column);
    connection.send(reply);
    return true;
}

class BusGuard : public QDBusVirtualObject {
public:
    BusGuard(QDBusVirtualObject* adaptor, QObject* parent) : QDBusVirtualObject(parent), adaptor_(adaptor) {
        static const bool registered = (qDBusRegisterMetaType<TextRange>(), qDBusRegisterMetaType<QList<TextRange>>(), true);
        (void)registered;
    }

    QString introspect(const QString& path) const override { return adaptor_ ? adaptor_->introspect(path) : QString(); }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        if (!adaptor_) return false;
        QVariantList args = message.arguments();
        QString interface = message.interface(), function = message.member();
        bool changed = false;
        if (interface == kProperties) {
            // Get(interface, name), Set(interface, name, value), GetAll(interface).
            static const QHash<QString, QStringList> calls = {
                {"Get", {"s", "s"}}, {"Set", {"s", "s", "v"}}, {"GetAll", {"s"}}};
            const auto call = calls.constFind(function);
            if (call == calls.constEnd()) return Refuse(message, connection, QDBusError::UnknownMethod);
            if (!Takes(args, *call)) return Refuse(message, connection, QDBusError::InvalidArgs);
            interface = args.at(0).toString();
            if (args.size() > 1) function += args.at(1).toString();
            if (function == QLatin1String("GetAll") && AdaptorReadsAPropertyName()) {
                args << QString();
                changed = true;
            }
        }
        const auto methods = MethodArguments().constFind(interface);
        if (methods != MethodArguments().constEnd()) {
            const auto types = methods->constFind(function);
            if (types != methods->constEnd()) {
                if (!Takes(args, *types)) return Refuse(message, connection, QDBusError::InvalidArgs);
                if (interface == kValue && function == QLatin1String("SetCurrentValue") &&
                    !IsNumber(args.at(2).value<QDBusVariant>().variant()))
                    return Refuse(message, connection, QDBusError::InvalidArgs, QStringLiteral("%1.CurrentValue takes a number").arg(kValue));
                if (interface == kTable && AnswerTablePlace(message, connection, function, args)) return true;
                if (interface == kText && function == QLatin1String("GetBoundedRanges")) {
                    QAccessibleInterface* object = Addressed(message.path());
                    if (object && object->isValid() && object->textInterface()) {
                        connection.send(message.createReply(QVariant::fromValue(BoundedRanges(object, args))));
                        return true;
                    }
                }
                changed = ClampOffsets(interface, function, message.path(), &args) || changed;
            }
        }
        if (!changed) return adaptor_->handleMessage(message, connection);
        // The copy shares the call's sender and serial: the adaptor's answer goes to the caller.
        QDBusMessage amended = message;
        amended.setArguments(args);
        return adaptor_->handleMessage(amended, connection);
    }

private:
    static bool Refuse(const QDBusMessage& message, const QDBusConnection& connection, QDBusError::ErrorType error,
                       const QString& why = {}) {
        connection.send(message.createErrorReply(
            error, why.isEmpty() ? QStringLiteral("%1.%2 does not take the arguments (%3)").arg(message.interface(), message.member(), message.signature())
                                 : why));
        return true;
    }

    QPointer<QDBusVirtualObject> adaptor_;
};

// Puts the guard in front of the adaptor Qt registered on the accessibility bus, unless it stands
// there already. Cheap, and safe to repeat.
void GuardTheBus() {
    QDBusConnection bus(QStringLiteral("a11y"));
    if (!bus.isConnected()) return;
    QObject* registered = bus.objectRegisteredAt(kAccessiblePath);
    auto* adaptor = qobject_cast<QDBusVirtualObject*>(registered);
    if (!adaptor || dynamic_cast<BusGuard*>(adaptor)) return;
    bus.unregisterObject(kAccessiblePath);
    // The guard lives as long as the adaptor it stands for.
    auto* guard = new BusGuard(adaptor, adaptor);
    if (!bus.registerVirtualObject(kAccessiblePath, guard, QDBusConnection::SubPath)) {
        delete guard;
        bus.registerVirtualObject(kAccessiblePath, adaptor, QDBusConnection::SubPath);
    }
}

// Qt registers its adaptor when accessibility becomes active, just after telling so: the guard
// follows once that call has returned.
struct BusActivation : QAccessible::ActivationObserver {
    void accessibilityActiveChanged(bool active) override {
        if (active) QTimer::singleShot(0, qApp, GuardTheBus);
    }
};

}  // namespace

void GuardAccessibilityBus() {
    static BusActivation* const observer = [] {
        auto* o = new BusActivation;
        QAccessible::installActivationObserver(o);
        return o;
    }();
    (void)observer;
    if (QAccessible::isActive()) QTimer::singleShot(0, qApp, GuardTheBus);
}

}  // namespace rt::detail

namespace rt::testing {

QDBusVirtualObject* NewBusGuard(QDBusVirtualObject* adaptor) { return new detail::BusGuard(adaptor, adaptor); }

}  // namespace rt::testing
