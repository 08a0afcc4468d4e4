// Every control of every panel file of the program can be found by assistive technology under
// its name: its label, else the text beside or above it, else its constant; never its value.
#include "runtime/panel_resources.h"
#include "runtime/testing.h"
#include "runtime/ui.h"
#include "shell/callbacks.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QWidget>

#include <set>
#include <string>
#include <vector>

namespace {

QString AccessibleText(QWidget* w, QAccessible::Text t) {
    QAccessibleInterface* i = QAccessible::queryAccessibleInterface(w);
    return i ? i->text(t) : QString();
}

// The widget assistive technology reaches a control by, and the value it shows.
QWidget* Target(const std::string& kind, QWidget* w, QString* value) {
    if (kind == "ring") {
        auto* cb = qobject_cast<QComboBox*>(w);
        if (cb) *value = cb->currentText();
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

TEST(AccessibleNames, EveryControlOfEveryPanelIsNamedAndNotByItsValue) {
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
                else if (!label.isEmpty() && name != label)
                    failures.push_back(where + ": named \"" + name.toStdString() + "\", not by its label \"" +
                                       label.toStdString() + "\"");
            }
            rt::DiscardPanel(handle);
        }
        rt::testing::ResetRuntime();
    }
    std::string all;
    for (const std::string& f : failures) all += "\n  " + f;
    EXPECT_TRUE(failures.empty()) << failures.size() << " control(s) not found by name:" << all;
    EXPECT_GT(checked, 300);
}

}  // namespace
