// Loading panels from panel resources: what is built, and the errors a bad resource gives.
#include "fixture.h"
#include "tests/support/event_wait.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDBusServer>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QSlider>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QTimer>
#include <QVersionNumber>

#include <limits>
#include <optional>
#include <tuple>
#include <vector>

using namespace fixture;

namespace {

class Loading : public RuntimeTest {};

std::string With(const std::string& controls) {
    return R"({"file": "bad.uir", "panels": [ {"resource": 1, "constant": "P", "width": 100, "height": 100,
              "controls": [ )" + controls + R"( ] } ] })";
}

}  // namespace

TEST_F(Loading, BuildsEveryControlHiddenUntilDisplayed) {
    int p = rt::LoadPanel(0, kFile, 1);
    ASSERT_GT(p, 0) << rt::LastLoadError();
    QWidget* win = rt::testing::PanelWindow(p);
    ASSERT_NE(win, nullptr);
    EXPECT_FALSE(win->isVisible());
    EXPECT_TRUE(win->isWindow());
    EXPECT_EQ(win->windowTitle(), "Fixture");
    for (int id = APPLY; id <= UNLABELLED; ++id) {
        if (id == TICK) continue;
        EXPECT_NE(W(p, id), nullptr) << "control " << id;
    }
    EXPECT_EQ(rt::DisplayPanel(p), 0);
    EXPECT_TRUE(win->isVisible());
    QWidget* content = rt::testing::PanelContent(p);
    EXPECT_EQ(content->size(), QSize(520, 420));
    // Pixel placement: the canvas sits exactly where the resource puts it, at its size.
    EXPECT_EQ(rt::testing::ControlBox(p, DRAW)->geometry(), QRect(170, 10, 120, 80));
    // A ring's pop-up list is built when it first opens, not when its panel loads, shows or
    // paints, nor when its value or font is set from code or assistive technology reads it:
    // built for every ring of the program it costs a fifth of the memory and doubles start-up.
    const auto rings = content->findChildren<QComboBox*>();
    ASSERT_FALSE(rings.empty());
    EXPECT_EQ(rt::SetCtrlVal(p, MIC, 1), 0);
    EXPECT_EQ(rt::SetCtrlAttribute(p, MIC, rt::ATTR_TEXT_FONT_FIXED, 1), 0);
    win->grab();
    for (QComboBox* ring : rings) {
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(ring);
        EXPECT_TRUE(iface->state().collapsed);
        EXPECT_FALSE(iface->text(QAccessible::Value).isEmpty());
    }
    for (QComboBox* ring : rings)
        for (QObject* child : ring->children())
            EXPECT_STRNE(child->metaObject()->className(), "QComboBoxPrivateContainer")
                << "ring " << ring->accessibleName().toStdString();
    // Meanwhile a ring looks as a combo box showing its item does, and the keys step from that
    // item.
    auto* rate = qobject_cast<QComboBox*>(W(p, RATE));
    QComboBox plain;
    plain.addItems({"48kHz", "44.1kHz", "32kHz"});
    plain.setCurrentIndex(1);
    plain.setFont(rate->font());
    plain.setPalette(rate->palette());
    plain.resize(rate->size());
    EXPECT_EQ(rate->grab().toImage().convertToFormat(QImage::Format_RGB32),
              plain.grab().toImage().convertToFormat(QImage::Format_RGB32));
    QTest::keyClick(rate, Qt::Key_Down);
    int v = -1;
    EXPECT_EQ(rt::GetCtrlVal(p, RATE, &v), 0);
    EXPECT_EQ(v, 2);
}

TEST_F(Loading, EveryControlCarriesItsLabelOrConstantAsAccessibleName) {
    int p = rt::LoadPanel(0, kFile, 1);
    ASSERT_GT(p, 0);
    EXPECT_EQ(W(p, RATE)->accessibleName(), "Rate");
    EXPECT_EQ(W(p, DRAW)->accessibleName(), "DRAW");
    EXPECT_EQ(W(p, UNLABELLED)->accessibleName(), "UNLABELLED");
    EXPECT_EQ(W(p, CHIP)->accessibleName(), "KorJorb");
    rt::SetCtrlAttribute(p, RATE, rt::ATTR_LABEL_TEXT, "Sample rate");
    EXPECT_EQ(W(p, RATE)->accessibleName(), "Sample rate");
    std::string label;
    rt::GetCtrlAttribute(p, RATE, rt::ATTR_LABEL_TEXT, &label);
    EXPECT_EQ(label, "Sample rate");
}

// Without a label of its own a control is named after the text placed immediately left of it or
// above it, else after its constant; assistive technology finds a ring by that name, not by its
// current item.
TEST_F(Loading, UnlabelledControlsTakeTheTextBesideOrAboveThem) {
    rt::RegisterPanelResource("named.uir", R"({"file": "named.uir", "panels": [ {"resource": 1, "constant": "P",
        "width": 400, "height": 300, "frames": [ { "name": "f", "label": "Frame", "geometry": [200, 150, 190, 140] } ],
        "controls": [
          {"id": 2, "constant": "T_LEFT", "kind": "text_message", "label": "Input gain", "geometry": [10, 10, 80, 20]},
          {"id": 3, "constant": "RING", "kind": "ring", "geometry": [96, 8, 90, 24],
           "items": [ {"label": "-15dB", "value": 0}, {"label": "0dB", "value": 1} ]},
          {"id": 4, "constant": "T_ABOVE", "kind": "text_message", "value": " Boost ", "geometry": [10, 50, 120, 18]},
          {"id": 5, "constant": "NUM", "kind": "numeric", "geometry": [10, 72, 90, 24]},
          {"id": 6, "constant": "FAR", "kind": "text_message", "label": "Far away", "geometry": [300, 10, 90, 20]},
          {"id": 7, "constant": "LONELY", "kind": "slide", "geometry": [10, 200, 150, 30]},
          {"id": 8, "constant": "T_CELL", "kind": "text_message", "label": "Mode", "frame": "f", "row": 0, "col": 0},
          {"id": 9, "constant": "CELL", "kind": "ring_slide", "frame": "f", "row": 0, "col": 1,
           "items": [ {"label": "Music", "value": 0}, {"label": "Speech", "value": 1} ]},
          {"id": 10, "constant": "LABELLED", "kind": "ring", "label": "Own", "geometry": [200, 40, 90, 44],
           "items": [ {"label": "A", "value": 0} ]}
        ] } ] })");
    int p = rt::LoadPanel(0, "named.uir", 1);
    ASSERT_GT(p, 0) << rt::LastLoadError();
    auto name = [&](QWidget* w) { return QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name); };
    EXPECT_EQ(name(W(p, 3)), "Input gain");
    EXPECT_EQ(QAccessible::queryAccessibleInterface(W(p, 3))->text(QAccessible::Value), "-15dB");
    EXPECT_EQ(name(W(p, 5)), "Boost");
    EXPECT_EQ(name(W(p, 7)->findChild<QSlider*>()), "LONELY");
    EXPECT_EQ(name(W(p, 9)->findChild<QSlider*>()), "Mode");
    EXPECT_EQ(name(W(p, 10)), "Own");
}

// What the bus tells beyond names: a lamp lit or dark, a text message its text, a hexadecimal
// entry the digits it shows, the tab in front selected, the tab area after its window.
TEST_F(Loading, TheBusTellsWhatTheScreenShows) {
    int p = LoadMain();
    auto iface = [](QWidget* w) { return QAccessible::queryAccessibleInterface(w); };
    rt::SetCtrlVal(p, POWER, 1);
    EXPECT_TRUE(iface(W(p, POWER))->state().checked);
    rt::SetCtrlVal(p, POWER, 0);
    EXPECT_FALSE(iface(W(p, POWER))->state().checked);
    rt::SetCtrlVal(p, PROGRESS, 40.0);
    QAccessibleInterface* progress = iface(W(p, PROGRESS));
    EXPECT_EQ(progress->text(QAccessible::Value), "40.0%");
    EXPECT_EQ(progress->valueInterface()->currentValue().toDouble(), 40.0);
    rt::SetCtrlVal(p, CAPTION, "Writing R41");
    EXPECT_EQ(iface(W(p, CAPTION))->text(QAccessible::Name), "Writing R41");
    rt::SetCtrlVal(p, VALUE, 0x1A4);
    QAccessibleInterface* hex = iface(W(p, VALUE));
    EXPECT_EQ(hex->text(QAccessible::Value), "1A4");
    EXPECT_EQ(hex->valueInterface(), nullptr);  // no number read aloud would match the digits
    EXPECT_TRUE(hex->text(QAccessible::Description).startsWith("1A4"));
    ASSERT_NE(hex->textInterface(), nullptr);  // the digits as text
    EXPECT_EQ(hex->textInterface()->text(0, hex->textInterface()->characterCount()), "1A4");
    EXPECT_EQ(hex->textInterface()->text(-3, 99), "1A4");
    EXPECT_EQ(hex->textInterface()->text(1, 2), "A");
    hex->actionInterface()->doAction(QAccessibleActionInterface::increaseAction());
    EXPECT_EQ(hex->text(QAccessible::Value), "1A4");  // the step is taken after the call returns
    rt::ProcessSystemEvents();
    EXPECT_EQ(hex->text(QAccessible::Value), "1A5");
    EXPECT_EQ(EventCodes(VALUE), (std::vector<int>{rt::EVENT_VAL_CHANGED, rt::EVENT_COMMIT}));

    const int a = rt::LoadPanel(p, kFile, 2), b = rt::LoadPanel(p, kFile, 3);
    ASSERT_EQ(rt::EasyTab_ConvertFromCanvas(p, TABS), TABS);
    ASSERT_EQ(rt::EasyTab_AddPanels(p, TABS, 1, {a, b}), 0);
    rt::EasyTab_SetAttribute(p, TABS, rt::ATTR_EASY_TAB_ACTIVE_PANEL, b);
    QAccessibleInterface* area = iface(W(p, TABS));
    EXPECT_EQ(area->text(QAccessible::Name), "Fixture");
    QAccessibleInterface* bar = nullptr;
    for (int k = 0; k < area->childCount(); ++k)
        if (area->child(k)->role() == QAccessible::PageTabList) bar = area->child(k);
    ASSERT_NE(bar, nullptr);
    std::vector<std::pair<QString, bool>> tabs;
    for (int k = 0; k < bar->childCount(); ++k)
        if (bar->child(k)->role() == QAccessible::PageTab) tabs.emplace_back(bar->child(k)->text(QAccessible::Name), bar->child(k)->state().selected);
    EXPECT_EQ(tabs, (std::vector<std::pair<QString, bool>>{{"Child A", false}, {"Child B", true}}));
    bar->child(0)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    rt::ProcessSystemEvents();
    int front = 0;
    rt::EasyTab_GetAttribute(p, TABS, rt::ATTR_EASY_TAB_ACTIVE_PANEL, &front);
    EXPECT_EQ(front, a);
    EXPECT_TRUE(bar->child(0)->state().selected);
}

// What a tool sends over the bus reaches Qt's adaptor through the run-time's guard: a call with
// arguments missing or of other types than the method takes (which the adaptor would read past
// their end) is refused and goes no further; a text range reaches it within the text; the rest
// reaches it as sent.
TEST_F(Loading, TheBusGuardRefusesCallsTheAdaptorCannotReadAndKeepsTextRangesWithinTheText) {
    int p = LoadMain();
    rt::SetCtrlVal(p, VALUE, 0x1A4);
    QAccessibleInterface* hex = QAccessible::queryAccessibleInterface(W(p, VALUE));
    ASSERT_NE(hex->textInterface(), nullptr);
    const QString path = QStringLiteral("/org/a11y/atspi/accessible/%1").arg(QAccessible::uniqueId(hex));
    struct Adaptor : QDBusVirtualObject {
        QList<QDBusMessage> got;
        QString introspect(const QString&) const override { return {}; }
        bool handleMessage(const QDBusMessage& m, const QDBusConnection&) override {
            got << m;
            return true;
        }
    };
    auto* adaptor = new Adaptor;
    QDBusVirtualObject* guard = rt::testing::NewBusGuard(adaptor);
    const QDBusConnection offline(QStringLiteral("not connected"));
    // What reaches the adaptor when a tool calls `member` of `interface` with `args` (nullopt:
    // nothing), the guard having answered the call either way.
    auto call = [&](const QString& interface, const QString& member, const QVariantList& args) -> std::optional<QVariantList> {
        adaptor->got.clear();
        QDBusMessage m = QDBusMessage::createMethodCall(QStringLiteral(":1.7"), path, interface, member);
        m.setArguments(args);
        EXPECT_TRUE(guard->handleMessage(m, offline)) << member.toStdString() << " left unanswered";
        if (adaptor->got.isEmpty()) return std::nullopt;
        EXPECT_EQ(adaptor->got[0].member(), member);
        return adaptor->got[0].arguments();
    };
    const QString text = QStringLiteral("org.a11y.atspi.Text"), properties = QStringLiteral("org.freedesktop.DBus.Properties");
    const QString value = QStringLiteral("org.a11y.atspi.Value");
    const int kMax = std::numeric_limits<int>::max();
    // A range to the largest offset (which the adaptor walks character by character) reaches it
    // as the whole text; an end of -1 keeps its meaning.
    EXPECT_EQ(call(text, "GetRangeExtents", {-5, kMax, 0u}), (QVariantList{0, 3, 0u}));
    EXPECT_EQ(call(text, "GetRangeExtents", {-5, -1, 0u}), (QVariantList{0, -1, 0u}));
    EXPECT_EQ(call(text, "GetText", {1, 2}), (QVariantList{1, 2}));
    EXPECT_EQ(call("org.a11y.atspi.EditableText", "InsertText", {kMax, QStringLiteral("7"), kMax}),
              (QVariantList{3, QStringLiteral("7"), 1}));
    EXPECT_EQ(call(text, "GetRangeExtents", {-5}), std::nullopt);
    EXPECT_EQ(call(text, "GetRangeExtents", {QStringLiteral("0"), QStringLiteral("3"), 0u}), std::nullopt);
    EXPECT_EQ(call(text, "GetTextAtOffset", {-1, 1}), std::nullopt);  // the boundary is unsigned
    EXPECT_EQ(call("org.a11y.atspi.Table", "IsSelected", {-1}), std::nullopt);
    EXPECT_EQ(call("org.a11y.atspi.Action", "DoAction", {}), std::nullopt);
    EXPECT_EQ(call("org.a11y.atspi.Accessible", "GetChildAtIndex", {0u}), std::nullopt);
    EXPECT_EQ(call(value, "SetCurrentValue", {}), std::nullopt);
    // Properties: Get(interface, name), Set(interface, name, value), GetAll(interface).
    EXPECT_EQ(call(properties, "Get", {text}), std::nullopt);
    EXPECT_EQ(call(properties, "Get", {text, QStringLiteral("RangeExtents")}), std::nullopt);
    EXPECT_EQ(call(properties, "Set", {value, QStringLiteral("CurrentValue")}), std::nullopt);
    EXPECT_EQ(call(properties, "Set", {value, QStringLiteral("CurrentValue"), 5.0}), std::nullopt);
    EXPECT_EQ(call(properties, "Remove", {value, QStringLiteral("CurrentValue")}), std::nullopt);
    const QVariant five = QVariant::fromValue(QDBusVariant(5.0));
    EXPECT_EQ(call(properties, "Set", {value, QStringLiteral("CurrentValue"), five}), (QVariantList{value, QStringLiteral("CurrentValue"), five}));
    const QVariant whole = QVariant::fromValue(QDBusVariant(5));
    EXPECT_EQ(call(properties, "Set", {value, QStringLiteral("CurrentValue"), whole}), (QVariantList{value, QStringLiteral("CurrentValue"), whole}));
    // A value set that gives a text, a truth value or a list, which the adaptor would take as a
    // number, goes no further.
    for (const QVariant& given : {QVariant(QStringLiteral("5")), QVariant(true), QVariant(QStringList{"a", "b"})})
        EXPECT_EQ(call(properties, "Set", {value, QStringLiteral("CurrentValue"), QVariant::fromValue(QDBusVariant(given))}),
                  std::nullopt)
            << given.typeName();
    EXPECT_EQ(call(properties, "Get", {text, QStringLiteral("CharacterCount")}), (QVariantList{text, QStringLiteral("CharacterCount")}));
    // Qt's adaptors before 6.11 read a property name from GetAll too: they are given an empty one.
    const std::optional<QVariantList> all = call(properties, "GetAll", {value});
    ASSERT_TRUE(all.has_value());
    if (QVersionNumber::fromString(QLatin1String(qVersion())) < QVersionNumber(6, 11)) {
        EXPECT_EQ(*all, (QVariantList{value, QString()}));
    }
    EXPECT_EQ(call("org.a11y.atspi.Accessible", "GetRole", {}), QVariantList{});

    // What a tool receives, over a bus of two peers: the guard's refusals are errors, and it
    // answers the text within a box itself (the adaptor leaves that call unanswered).
    QDBusServer server(QStringLiteral("unix:tmpdir=") + QDir::tempPath());
    ASSERT_TRUE(server.isConnected()) << server.lastError().message().toStdString();
    bool served = false;
    QObject::connect(&server, &QDBusServer::newConnection, &server, [&](QDBusConnection program) {
        served = program.registerVirtualObject(QStringLiteral("/org/a11y/atspi/accessible"), guard, QDBusConnection::SubPath);
    });
    const QDBusConnection tool = QDBusConnection::connectToPeer(server.address(), QStringLiteral("tool"));
    ASSERT_TRUE(tool.isConnected()) << tool.lastError().message().toStdString();
    ASSERT_TRUE(testsupport::EventLoopUntil([&] { return served; }));
    auto ask = [&](QAccessibleInterface* object, const QString& interface, const QString& member, const QVariantList& args) {
        QDBusMessage m = QDBusMessage::createMethodCall(QString(), QStringLiteral("/org/a11y/atspi/accessible/%1").arg(QAccessible::uniqueId(object)),
                                                        interface, member);
        m.setArguments(args);
        adaptor->got.clear();
        QDBusPendingCall answer = tool.asyncCall(m, 2000);
        EXPECT_TRUE(testsupport::EventLoopUntil([&] { return answer.isFinished(); })) << member.toStdString();
        return answer.reply();
    };
    const QDBusMessage refused = ask(hex, properties, "Set", {value, QStringLiteral("CurrentValue"), QVariant::fromValue(QDBusVariant(true))});
    EXPECT_EQ(refused.type(), QDBusMessage::ErrorMessage);
    EXPECT_EQ(refused.errorName(), "org.freedesktop.DBus.Error.InvalidArgs");
    EXPECT_TRUE(adaptor->got.isEmpty());
    // The text within a box: one range per line, the characters the box cuts left out as the
    // clip asks (bit 1 the near edge, bit 2 the far one), the box in the screen's coordinates (0),
    // the window's (1) or the parent's (2). The window stands away from the screen's corner, so a
    // box counted from the wrong origin misses the entry.
    using Ranges = std::vector<std::tuple<int, int, QString>>;
    auto within = [&](QAccessibleInterface* object, QRect box, uint coords, uint xClip, uint yClip) {
        const QDBusMessage reply = ask(object, text, "GetBoundedRanges", {box.x(), box.y(), box.width(), box.height(), coords, xClip, yClip});
        EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
        EXPECT_TRUE(adaptor->got.isEmpty());
        Ranges got;
        if (reply.arguments().size() != 1) return got;
        EXPECT_EQ(reply.signature(), "a(iisv)");
        const QDBusArgument list = reply.arguments().at(0).value<QDBusArgument>();
        list.beginArray();
        while (!list.atEnd()) {
            int start = 0, end = 0;
            QString piece;
            QDBusVariant data;
            list.beginStructure();
            list >> start >> end >> piece >> data;
            list.endStructure();
            got.emplace_back(start, end, piece);
        }
        list.endArray();
        return got;
    };
    QWidget* window = rt::testing::PanelWindow(p);
    window->move(300, 200);
    ASSERT_TRUE(testsupport::EventLoopUntil([&] { return window->pos() == QPoint(300, 200); }));
    QWidget* entry = qobject_cast<QWidget*>(hex->object());
    ASSERT_NE(entry, nullptr);
    QAccessibleInterface* parent = hex->parent();
    ASSERT_NE(parent, nullptr);
    const QRect onScreen(entry->mapToGlobal(QPoint()), entry->size());
    const QRect inWindow(entry->mapTo(window, QPoint()), entry->size());
    const QRect inParent(onScreen.translated(-parent->rect().topLeft()));
    EXPECT_EQ(within(hex, onScreen, 0, 0, 0), (Ranges{{0, 3, "1A4"}}));
    EXPECT_EQ(within(hex, inWindow, 1, 0, 0), (Ranges{{0, 3, "1A4"}}));
    EXPECT_EQ(within(hex, inParent, 2, 0, 0), (Ranges{{0, 3, "1A4"}}));
    for (uint coords : {1u, 2u}) EXPECT_EQ(within(hex, onScreen, coords, 0, 0), Ranges{}) << coords;
    EXPECT_EQ(within(hex, inWindow, 0, 0, 0), Ranges{});
    EXPECT_EQ(within(hex, onScreen, 3, 0, 0), Ranges{});  // no such coordinates
    EXPECT_EQ(within(hex, {0, 0, 10, 10}, 0, 0, 0), Ranges{});
    // The file name entry of a file dialog: window coordinates count from the dialog.
    QFileDialog files(window, QStringLiteral("Export"));
    files.setOption(QFileDialog::DontUseNativeDialog, true);
    files.show();
    files.move(700, 450);
    ASSERT_TRUE(testsupport::EventLoopUntil([&] { return files.pos() == QPoint(700, 450); }));
    auto* fileName = files.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(fileName, nullptr);
    fileName->setText(QStringLiteral("myset"));
    QAccessibleInterface* named = QAccessible::queryAccessibleInterface(fileName);
    const QRect nameOnScreen(fileName->mapToGlobal(QPoint()), fileName->size());
    const QRect nameInDialog(fileName->mapTo(&files, QPoint()), fileName->size());
    EXPECT_EQ(within(named, nameOnScreen, 0, 0, 0), (Ranges{{0, 5, "myset"}}));
    EXPECT_EQ(within(named, nameInDialog, 1, 0, 0), (Ranges{{0, 5, "myset"}}));
    EXPECT_EQ(within(named, nameOnScreen.translated(-window->geometry().topLeft()), 1, 0, 0), Ranges{});
    EXPECT_EQ(within(named, nameOnScreen.translated(-named->parent()->rect().topLeft()), 2, 0, 0), (Ranges{{0, 5, "myset"}}));
    files.hide();
    QAccessibleTextInterface* digits = hex->textInterface();
    const QRect a = digits->characterRect(1);
    // A box from the left of the entry to the middle of "A".
    const QRect toA(hex->rect().topLeft(), QPoint(a.center().x(), hex->rect().bottom()));
    EXPECT_EQ(within(hex, toA, 0, 0, 0), (Ranges{{0, 2, "1A"}}));
    EXPECT_EQ(within(hex, toA, 0, 2, 0), (Ranges{{0, 1, "1"}}));
    // From the middle of "A" on.
    const QRect fromA(QPoint(a.center().x(), hex->rect().top()), hex->rect().bottomRight());
    EXPECT_EQ(within(hex, fromA, 0, 0, 0), (Ranges{{1, 3, "A4"}}));
    EXPECT_EQ(within(hex, fromA, 0, 1, 0), (Ranges{{2, 3, "4"}}));
    // A text box's lines; a box through the middle of the second, which its clip leaves out.
    QAccessibleInterface* script = QAccessible::queryAccessibleInterface(W(p, SCRIPT));
    EXPECT_EQ(within(script, script->rect(), 0, 0, 0), (Ranges{{0, 6, "first\n"}, {6, 12, "second"}}));
    const QRect second = script->textInterface()->characterRect(6);
    const QRect throughSecond(script->rect().topLeft(), QPoint(script->rect().right(), second.center().y()));
    EXPECT_EQ(within(script, throughSecond, 0, 0, 0), (Ranges{{0, 6, "first\n"}, {6, 12, "second"}}));
    EXPECT_EQ(within(script, throughSecond, 0, 0, 2), (Ranges{{0, 6, "first\n"}}));
    QDBusConnection::disconnectFromPeer(QStringLiteral("tool"));
    delete adaptor;
}

TEST_F(Loading, LabelsSitAboveOrBesideAndFramedControlsGoIntoTheGrid) {
    int p = LoadMain();
    // A 44 px box has room for the label above the ring.
    auto* rateLabel = rt::testing::ControlBox(p, RATE)->findChild<QLabel*>();
    ASSERT_NE(rateLabel, nullptr);
    EXPECT_EQ(rateLabel->text(), "Rate");
    EXPECT_LT(rateLabel->geometry().bottom(), W(p, RATE)->geometry().top());
    // A 24 px box puts it to the left.
    auto* gainLabel = rt::testing::ControlBox(p, GAIN)->findChild<QLabel*>();
    EXPECT_LT(gainLabel->geometry().right(), W(p, GAIN)->geometry().left());
    // Framed controls live inside the frame's box.
    auto* frame = rt::testing::PanelContent(p)->findChild<QGroupBox*>();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->title(), "Options");
    EXPECT_TRUE(frame->isAncestorOf(W(p, BOOST)));
    EXPECT_TRUE(frame->isAncestorOf(W(p, MIC)));
    int left = 0;
    rt::GetCtrlAttribute(p, BOOST, rt::ATTR_LEFT, &left);
    EXPECT_GE(left, 300);
    // Nothing is clipped: every control's box lies inside the panel.
    QRect panelRect = rt::testing::PanelContent(p)->rect();
    for (int id = APPLY; id <= UNLABELLED; ++id) {
        QWidget* box = rt::testing::ControlBox(p, id);
        if (!box) continue;
        QRect r(box->mapTo(rt::testing::PanelContent(p), QPoint(0, 0)), box->size());
        EXPECT_TRUE(panelRect.contains(r)) << "control " << id;
        EXPECT_GE(box->width(), box->minimumSizeHint().width() - 1) << "control " << id;
    }
}

TEST_F(Loading, ChildPanelIsAPlainWidgetOfItsParent) {
    int p = rt::LoadPanel(0, kFile, 1);
    int c = rt::LoadPanel(p, kFile, 2);
    ASSERT_GT(c, 0) << rt::LastLoadError();
    QWidget* child = rt::testing::PanelWindow(c);
    EXPECT_FALSE(child->isWindow());
    EXPECT_EQ(child, rt::testing::PanelContent(c));
    EXPECT_TRUE(rt::testing::PanelContent(p)->isAncestorOf(child));
    // Discarding the parent discards the child with it.
    EXPECT_EQ(rt::DiscardPanel(p), 0);
    EXPECT_EQ(rt::DisplayPanel(c), rt::UIEBadPanelHandle);
}

TEST_F(Loading, TimersStartAsTheResourceSays) {
    int p = rt::LoadPanel(0, kFile, 1);
    int enabled = -1, ms = 0;
    EXPECT_EQ(rt::GetCtrlAttribute(p, TICK, rt::ATTR_ENABLED, &enabled), 0);
    EXPECT_EQ(enabled, 0);
    EXPECT_EQ(rt::GetCtrlAttribute(p, TICK, rt::ATTR_INTERVAL, &ms), 0);
    EXPECT_EQ(ms, 20);
}

TEST_F(Loading, MissingFileOrResourceOrParentIsNamed) {
    EXPECT_EQ(rt::LoadPanel(0, "nothere_pan.uir", 1), rt::UIEResourceNotFound);
    EXPECT_NE(rt::LastLoadError().find("nothere_pan.uir"), std::string::npos);
    EXPECT_EQ(rt::LoadPanel(0, kFile, 9), rt::UIEResourceNotFound);
    EXPECT_NE(rt::LastLoadError().find("fixture_pan.uir: no panel with resource 9"), std::string::npos);
    EXPECT_EQ(rt::LoadPanel(777, kFile, 2), rt::UIEBadPanelHandle);
    EXPECT_EQ(rt::LoadPanel(0, nullptr, 1), rt::UIEResourceNotFound);
    // File names match whatever their letter case, as on the original's file system.
    int p = rt::LoadPanel(0, "FIXTURE_PAN.UIR", 1);
    EXPECT_GT(p, 0);
    EXPECT_TRUE(rt::LastLoadError().empty());
}

TEST_F(Loading, MalformedTextFailsWithTheFileNamed) {
    rt::RegisterPanelResource("broken.uir", R"({"file": "broken.uir", "panels": [ {"resource": 1,)");
    EXPECT_EQ(rt::LoadPanel(0, "broken.uir", 1), rt::UIEBadFile);
    EXPECT_NE(rt::LastLoadError().find("broken.uir: malformed JSON"), std::string::npos) << rt::LastLoadError();
}

TEST_F(Loading, UnknownCallbackFailsNamingFilePanelAndControl) {
    rt::RegisterPanelResource("bad.uir", With(R"({"id": 2, "constant": "OK", "kind": "command_button", "callback": "CtrlCB", "geometry": [0,0,10,10]},
        {"id": 5, "constant": "RFMT", "kind": "ring", "callback": "NoSuchCB", "geometry": [0,20,10,10]})"));
    EXPECT_EQ(rt::LoadPanel(0, "bad.uir", 1), rt::UIEUnknownCallback);
    EXPECT_EQ(rt::LastLoadError(), "bad.uir: panel P (resource 1): control RFMT (id 5): unknown control callback \"NoSuchCB\"");
    // A name known only as another kind of callback is no control callback either.
    static int round = 0;
    std::string name = "PanelOnlyCB" + std::to_string(++round);  // fresh in every repetition
    rt::RegisterPanelCallback(name, [](int, int, void*, int, int) { return 0; });
    rt::RegisterPanelResource("bad.uir", With(R"({"id": 2, "constant": "OK", "kind": "command_button", "callback": ")" +
                                              name + R"(", "geometry": [0,0,10,10]})"));
    EXPECT_EQ(rt::LoadPanel(0, "bad.uir", 1), rt::UIEUnknownCallback);
    EXPECT_NE(rt::LastLoadError().find("not as a control callback"), std::string::npos);
    // Once the name is registered, the same panel loads.
    rt::RegisterCtrlCallback(name, [](int, int, int, void*, int, int) { return 0; });
    EXPECT_GT(rt::LoadPanel(0, "bad.uir", 1), 0) << rt::LastLoadError();
}

TEST_F(Loading, StructuralFaultsAreRefusedWithTheControlNamed) {
    struct Case {
        std::string controls;
        std::string message;
    } cases[] = {
        {R"({"id": 3, "constant": "A", "kind": "led", "geometry": [0,0,9,9]}, {"id": 3, "constant": "B", "kind": "led", "geometry": [0,0,9,9]})",
         "control B (id 3): duplicate control id 3 (also A)"},
        {R"({"id": 3, "constant": "A", "kind": "knob", "geometry": [0,0,9,9]})", "control A (id 3): unknown kind \"knob\""},
        {R"({"id": 3, "kind": "led", "geometry": [0,0,9,9]})", "missing key \"constant\""},
        {R"({"id": 3, "constant": "A", "kind": "led"})", "control A (id 3): missing placement"},
        {R"({"id": 3, "constant": "A", "kind": "led", "geometry": [0,0,9,9], "calback": "X"})", "unknown key \"calback\""},
        {R"({"id": 3, "constant": "A", "kind": "ring", "geometry": [0,0,9,9], "items": [{"label": "x", "value": "y"}]})",
         "\"value\" must be an integer"},
        {R"({"id": 3, "constant": "A", "kind": "led", "frame": "none", "row": 0, "col": 0})", "names frame \"none\""},
        {R"({"id": 3, "constant": "A", "kind": "led", "geometry": [0,0,9,9], "dimmed": true, "dimmed": false})",
         "key \"dimmed\" given twice"},
        {R"({"id": 3, "constant": "A", "kind": "led", "geometry": [60,0,50,9]})",
         "control A (id 3): \"geometry\" [60, 0, 50, 9] reaches outside the panel (100 x 100)"},
        {R"({"id": 3, "constant": "A", "kind": "numeric", "min": 5, "max": 1, "geometry": [0,0,9,9]})",
         "control A (id 3): \"min\" is above \"max\""},
    };
    for (const Case& c : cases) {
        rt::RegisterPanelResource("bad.uir", With(c.controls));
        EXPECT_EQ(rt::LoadPanel(0, "bad.uir", 1), rt::UIEBadFile) << c.controls;
        EXPECT_NE(rt::LastLoadError().find("bad.uir"), std::string::npos) << rt::LastLoadError();
        EXPECT_NE(rt::LastLoadError().find(c.message), std::string::npos) << rt::LastLoadError();
    }
}

TEST_F(Loading, ResourceNamesAreListed) {
    rt::RegisterPanelResource("zz_pan.uir", With(""));
    std::vector<std::string> names = rt::PanelResourceNames();
    EXPECT_NE(std::find(names.begin(), names.end(), "zz_pan.uir"), names.end());
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));
    std::string text;
    EXPECT_TRUE(rt::PanelResourceText("ZZ_PAN.uir", &text));
    EXPECT_FALSE(rt::PanelResourceText("none.uir", &text));
}
