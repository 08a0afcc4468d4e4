// Every control of every panel file of the program can be found by assistive technology under
// its name: its label, else the text beside or above it, else its constant; never its value.
// Rings list their items with the current one selected, and rings and slides give their value.
#include "capture/eq_panel.h"
#include "panels/cfgEQJorb_pan.h"
#include "runtime/panel_resources.h"
#include "runtime/testing.h"
#include "runtime/ui.h"
#include "shell/callbacks.h"
#include "shell/handles.h"
#include "shell/state.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QWidget>

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

QString AccessibleText(QWidget* w, QAccessible::Text t) {
    QAccessibleInterface* i = QAccessible::queryAccessibleInterface(w);
    return i ? i->text(t) : QString();
}

// What a screen reader says to tell a control by: the names of the labels it is labelled by
// (a label that is its ancestor, such as its frame, aside), else its own name.
QString SaidName(QWidget* w) {
    QAccessibleInterface* i = QAccessible::queryAccessibleInterface(w);
    if (!i) return {};
    QStringList labels;
    for (const auto& [label, relation] : i->relations(QAccessible::Label)) {
        bool ancestor = label->object() == i->object();
        for (QAccessibleInterface* a = i->parent(); a && !ancestor; a = a->parent()) ancestor = a->object() == label->object();
        if (!ancestor && !label->text(QAccessible::Name).isEmpty()) labels << label->text(QAccessible::Name);
    }
    return labels.isEmpty() ? i->text(QAccessible::Name) : labels.join(' ');
}

// The widget assistive technology reaches a control by, and the value it shows.
QWidget* Target(const std::string& kind, QWidget* w, QString* value) {
    if (kind == "ring") {
        *value = AccessibleText(w, QAccessible::Value);
        return w;
    }
    if (kind == "slide" || kind == "ring_slide") {
        if (auto* pb = qobject_cast<QProgressBar*>(w)) {
            *value = pb->text();
            return w;
        }
        if (auto* shown = w->findChild<QLabel*>()) *value = shown->text();
        auto* slider = w->findChild<QAbstractSlider*>();
        return slider ? slider : w;
    }
    if (auto* sb = qobject_cast<QAbstractSpinBox*>(w)) *value = sb->text();
    if (auto* le = qobject_cast<QLineEdit*>(w)) *value = le->text();
    if (auto* te = qobject_cast<QPlainTextEdit*>(w)) *value = te->toPlainText();
    if (auto* lw = qobject_cast<QListWidget*>(w); lw && lw->currentItem()) *value = lw->currentItem()->text();
    return w;
}

// The label of the frame a control stands in (by its frame, or the smallest frame holding the
// middle of its box), blanks folded; empty outside any frame.
QString FrameOf(const nlohmann::json& panel, const nlohmann::json& c) {
    if (!panel.contains("frames")) return {};
    QString label;
    long bestArea = -1;
    for (const auto& f : panel["frames"]) {
        const auto& g = f["geometry"];
        const long area = g[2].get<long>() * g[3].get<long>();
        bool holds = c.contains("frame") && c["frame"] == f["name"];
        if (c.contains("geometry")) {
            const auto& cg = c["geometry"];
            const int x = cg[0].get<int>() + (cg[2].get<int>() - 1) / 2, y = cg[1].get<int>() + (cg[3].get<int>() - 1) / 2;
            holds = x >= g[0].get<int>() && x < g[0].get<int>() + g[2].get<int>() && y >= g[1].get<int>() && y < g[1].get<int>() + g[3].get<int>();
        }
        if (holds && (bestArea < 0 || area < bestArea)) {
            label = QString::fromStdString(f.value("label", std::string())).simplified();
            bestArea = area;
        }
    }
    return label;
}

TEST(AccessibleNames, EveryControlOfEveryPanelIsNamedAndNotByItsValueAndGivesItsValue) {
    ASSERT_EQ(rt::InitCVIRTE(), 0);
    RegisterAllCallbacks();
    rt::RegisterEmbeddedPanels();
    const std::set<std::string> kinds = {"ring",      "ring_slide",     "numeric",     "string",        "slide",
                                         "text_box",  "list_box",       "table",       "check_box",     "radio_button",
                                         "binary_switch", "toggle_button", "command_button", "picture_button", "led"};
    std::vector<std::string> failures;
    int checked = 0;
    for (const std::string& file : rt::PanelResourceNames()) {
        std::string text;
        ASSERT_TRUE(rt::PanelResourceText(file, &text));
        const nlohmann::json doc = nlohmann::json::parse(text, nullptr, false);
        if (doc.is_discarded() || !doc.contains("panels")) continue;  // the loading test reports it
        for (const auto& p : doc["panels"]) {
            const int handle = rt::LoadPanel(0, file.c_str(), p.value("resource", 0));
            if (handle < 0) continue;
            std::map<std::string, int> labels;
            for (const auto& c : p["controls"])
                if (c["kind"] != "text_message" && !c.value("label", std::string()).empty()) ++labels[c["label"].get<std::string>()];
            std::map<QString, std::set<QString>> framesByName;  // the frames each name is read in
            std::map<std::pair<QString, std::string>, int> saidByKind;
            for (const auto& c : p["controls"]) {
                const std::string kind = c["kind"].get<std::string>();
                if (!kinds.count(kind)) continue;
                const std::string where = file + " " + p["constant"].get<std::string>() + " " + c["constant"].get<std::string>();
                QWidget* w = rt::testing::ControlWidget(handle, c["id"].get<int>());
                if (!w) {
                    failures.push_back(where + ": no widget");
                    continue;
                }
                QString value;
                QWidget* target = Target(kind, w, &value);
                const QString name = AccessibleText(target, QAccessible::Name);
                QString label = QString::fromStdString(c.value("label", std::string()));
                if (kind == "command_button") label.remove("__");  // the shortcut mark is not read out
                ++checked;
                if (name.trimmed().isEmpty())
                    failures.push_back(where + ": no accessible name");
                else if (!value.isEmpty() && name == value)
                    failures.push_back(where + ": named by its value \"" + value.toStdString() + "\"");
                else if (!label.isEmpty() && name != label &&
                         (labels[c.value("label", std::string())] < 2 || !name.endsWith(" " + label) || !name.startsWith(FrameOf(p, c))))
                    failures.push_back(where + ": named \"" + name.toStdString() + "\", not by its label \"" +
                                       label.toStdString() + "\" (after its frame's where it repeats)");
                framesByName[name].insert(FrameOf(p, c));
                ++saidByKind[{SaidName(target), kind}];
                const bool valued = kind == "ring" || kind == "ring_slide" || kind == "slide" || kind == "numeric";
                if (valued && AccessibleText(target, QAccessible::Value) != value)
                    failures.push_back(where + ": value read as \"" + AccessibleText(target, QAccessible::Value).toStdString() +
                                       "\", shown \"" + value.toStdString() + "\"");
            }
            // Two controls of one kind on a page are not said alike (a label they are labelled by
            // is said in place of their name).
            for (const auto& [saidAndKind, count] : saidByKind)
                if (count > 1)
                    failures.push_back(file + " " + p["constant"].get<std::string>() + ": " + std::to_string(count) + " " +
                                       saidAndKind.second + " controls said \"" + saidAndKind.first.toStdString() + "\"");
            // A name read twice on a page is never that of controls in two frames.
            for (const auto& [name, frames] : framesByName)
                if (frames.size() > 1)
                    failures.push_back(file + " " + p["constant"].get<std::string>() + ": \"" + name.toStdString() + "\" names controls in " +
                                       std::to_string(frames.size()) + " frames");
            rt::DiscardPanel(handle);
        }
        rt::testing::ResetRuntime();
    }
    std::string all;
    for (const std::string& f : failures) all += "\n  " + f;
    EXPECT_TRUE(failures.empty()) << failures.size() << " control(s) not found by name or not read right:" << all;
    EXPECT_GT(checked, 300);
}

// The equaliser panel as read from the chip (band 3 holding gain code 27, which no gain item
// has), walked from its window down the accessibility tree.
TEST(AccessibleNames, RingsListTheirItemsWithTheCurrentOneAndSlidesGiveTheirValue) {
    namespace eq = ui::cfgEQJorb_pan;
    ASSERT_EQ(rt::InitCVIRTE(), 0);
    RegisterAllCallbacks();
    rt::RegisterEmbeddedPanels();
    ResetShellState();
    PHandleSTEQ = rt::LoadPanel(0, "cfgEQJorb_pan.uir", eq::CFGEQ);
    ASSERT_GT(PHandleSTEQ, 0) << rt::LastLoadError();
    const int p = PHandleSTEQ;
    InitEQPanel();
    for (int r = 18; r <= 22; ++r) CFG_REG[r] = 0x00C;  // 0 dB, lowest cut-off
    CFG_REG[20] = 0x05B;                                // band 3: cut-off 2, gain code 27
    CFG_REG[19] = 0x12A;                                // band 2: wide, cut-off 1, +2 dB
    UpdateEQPanel();
    ASSERT_EQ(rt::SetCtrlVal(p, eq::CFGEQ_PresetMusicEffect, 4), 0);  // "Jazz"

    std::vector<QAccessibleInterface*> found;
    std::function<void(QAccessibleInterface*)> walk = [&](QAccessibleInterface* i) {
        if (i->role() == QAccessible::ComboBox || i->role() == QAccessible::Slider) found.push_back(i);
        for (int k = 0; k < i->childCount(); ++k)
            if (QAccessibleInterface* c = i->child(k)) walk(c);
    };
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(rt::testing::PanelWindow(p));
    ASSERT_NE(window, nullptr);
    walk(window);
    auto byWidget = [&](int control) -> QAccessibleInterface* {
        QWidget* w = rt::testing::ControlWidget(p, control);
        for (QAccessibleInterface* i : found)
            if (i->object() == w || (i->object() && i->object()->parent() == w)) return i;
        return nullptr;
    };

    // Every ring: named by its label, its items as children, the current one selected and given
    // as its value and description.
    int rings = 0;
    for (int control = eq::CFGEQ_EQ1G; control <= eq::CFGEQ_PresetMusicEffect; ++control) {
        QAccessibleInterface* ring = byWidget(control);
        if (!ring || ring->role() != QAccessible::ComboBox) continue;
        ++rings;
        SCOPED_TRACE(ring->text(QAccessible::Name).toStdString() + " " + std::to_string(control));
        int count = 0, index = -1;
        rt::GetNumListItems(p, control, &count);
        rt::GetCtrlIndex(p, control, &index);
        std::string label;
        if (index >= 0) rt::GetLabelFromIndex(p, control, index, &label);
        const int shown = count + (index < 0 ? 1 : 0);  // a code no item has is shown as one more
        ASSERT_EQ(ring->childCount(), shown);
        QStringList selected;
        for (int k = 0; k < shown; ++k) {
            QAccessibleInterface* item = ring->child(k);
            ASSERT_NE(item, nullptr);
            EXPECT_EQ(item->role(), QAccessible::ListItem);
            EXPECT_EQ(item->parent(), ring);
            EXPECT_EQ(ring->indexOfChild(item), k);
            if (k < count) {
                std::string itemLabel;
                rt::GetLabelFromIndex(p, control, k, &itemLabel);
                EXPECT_EQ(item->text(QAccessible::Name).toStdString(), itemLabel);
            }
            if (item->state().selected) selected << item->text(QAccessible::Name);
        }
        ASSERT_EQ(selected.size(), 1);
        EXPECT_EQ(ring->text(QAccessible::Value), selected[0]);
        EXPECT_TRUE(ring->text(QAccessible::Description).startsWith(selected[0]));
        if (index >= 0) {
            EXPECT_EQ(selected[0].toStdString(), label);
        }
        EXPECT_NE(ring->text(QAccessible::Name), selected[0]);
    }
    EXPECT_EQ(rings, 16);  // five gain, five cut-off, three bandwidth, path, depth and preset
    QAccessibleInterface* preset = byWidget(eq::CFGEQ_PresetMusicEffect);
    ASSERT_NE(preset, nullptr);
    EXPECT_EQ(preset->text(QAccessible::Name), "Equalizer  Presets");
    EXPECT_EQ(preset->childCount(), 12);
    EXPECT_EQ(preset->text(QAccessible::Value), "Jazz");
    EXPECT_EQ(byWidget(eq::CFGEQ_EQ3G)->text(QAccessible::Value), "code 27");
    EXPECT_EQ(byWidget(eq::CFGEQ_EQ2G)->text(QAccessible::Value), "2 dB");

    // Slides and ring slides give the value they show, in text and as a number.
    QAccessibleInterface* gain2 = byWidget(eq::CFGEQ_EQ2GN);
    ASSERT_NE(gain2, nullptr);
    EXPECT_EQ(gain2->text(QAccessible::Name), "Band 2");
    EXPECT_EQ(gain2->text(QAccessible::Value), "2");
    ASSERT_NE(gain2->valueInterface(), nullptr);
    EXPECT_EQ(gain2->valueInterface()->currentValue().toDouble(), 2.0);
    EXPECT_EQ(gain2->valueInterface()->minimumValue().toDouble(), -12.0);
    EXPECT_EQ(byWidget(eq::CFGEQ_EQ3GN)->text(QAccessible::Value), "-15");
    QAccessibleInterface* cut2 = byWidget(eq::CFGEQ_EQ2CN);
    ASSERT_NE(cut2, nullptr);
    EXPECT_EQ(cut2->text(QAccessible::Value), "300Hz");
    // A ring slide whose items show numbers gives the number shown, and is set by one.
    EXPECT_EQ(cut2->valueInterface()->currentValue().toDouble(), 300.0);
    EXPECT_EQ(cut2->valueInterface()->minimumValue().toDouble(), 230.0);
    EXPECT_EQ(cut2->valueInterface()->maximumValue().toDouble(), 500.0);
    cut2->valueInterface()->setCurrentValue(cut2->valueInterface()->currentValue().toDouble() +
                                            cut2->valueInterface()->minimumStepSize().toDouble());
    EXPECT_EQ(cut2->text(QAccessible::Value), "385Hz");
    cut2->valueInterface()->setCurrentValue(230.0);
    EXPECT_EQ(cut2->text(QAccessible::Value), "230Hz");
    QAccessibleInterface* cut5 = byWidget(eq::CFGEQ_EQ5CN);
    ASSERT_NE(cut5, nullptr);
    rt::SetCtrlIndex(p, eq::CFGEQ_EQ5CN, 3);
    EXPECT_EQ(cut5->valueInterface()->currentValue().toDouble(), 11700.0);  // "11.7KHz"

    // A label that repeats on the page is read after its frame's.
    EXPECT_EQ(byWidget(eq::CFGEQ_EQ3G)->text(QAccessible::Name), "EQ BAND 3 Control GAIN");
    EXPECT_EQ(cut2->text(QAccessible::Name), "EQ BAND 2 Control C.F.");
    EXPECT_EQ(byWidget(eq::CFGEQ_EQ4BW)->text(QAccessible::Name), "EQ BAND 4 Control Bandwidth Control");
    EXPECT_EQ(byWidget(eq::CFGEQ_NUM_DEPTH3D)->text(QAccessible::Value), "0.00");

    rt::DiscardPanel(p);
    ResetPanelHandles();
    ResetShellState();
    rt::testing::ResetRuntime();
}

}  // namespace
