// Every panel file built into the program loads: all its panels and menu bars, with every
// callback it names bound by the program's registration. No panel shows an empty box: every
// decoration shown at load that is a box (not a line) holds a control or a frame.
#include "runtime/panel_resources.h"
#include "runtime/rt_widgets.h"
#include "runtime/testing.h"
#include "runtime/ui.h"
#include "shell/callbacks.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QRegularExpression>
#include <QScreen>
#include <QToolButton>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <string>
#include <vector>

TEST(EmbeddedPanels, EveryPanelAndMenuBarOfEveryFileLoads) {
    ASSERT_EQ(rt::InitCVIRTE(), 0);
    RegisterAllCallbacks();
    rt::RegisterEmbeddedPanels();
    std::vector<std::string> names = rt::PanelResourceNames();
    ASSERT_FALSE(names.empty()) << "no panel file is built into the program";

    std::vector<std::string> failures;
    int panels = 0, menuBars = 0;
    for (const std::string& name : names) {
        std::string text;
        ASSERT_TRUE(rt::PanelResourceText(name, &text));
        nlohmann::json doc = nlohmann::json::parse(text, nullptr, false);
        if (doc.is_discarded() || !doc.contains("panels")) {
            failures.push_back(name + ": malformed panel file");
            continue;
        }
        // Each panel as the program loads it: top-level, and as a child of a top-level panel.
        for (const auto& p : doc["panels"]) {
            auto rectOf = [](const nlohmann::json& j) {
                const auto& g = j["geometry"];
                return QRect(g[0].get<int>(), g[1].get<int>(), g[2].get<int>(), g[3].get<int>());
            };
            for (const auto& d : p["controls"]) {
                if (d.value("kind", std::string()) != "decoration" || !d.value("visible", true) || !d.contains("geometry"))
                    continue;
                const QRect box = rectOf(d);
                if (box.width() <= 8 || box.height() <= 8) continue;
                bool holds = false;
                for (const auto& c : p["controls"])
                    holds = holds || (&c != &d && c.contains("geometry") && box.contains(rectOf(c).center()));
                for (const auto& f : p.value("frames", nlohmann::json::array())) holds = holds || box.contains(rectOf(f).center());
                if (!holds)
                    failures.push_back(name + " " + p.value("constant", std::string()) + ": empty box " +
                                       d.value("constant", std::string()));
            }
            int resource = p.value("resource", 0);
            int handle = rt::LoadPanel(0, name.c_str(), resource);
            if (handle < 0) {
                failures.push_back(rt::LastLoadError());
                continue;
            }
            int child = rt::LoadPanel(handle, name.c_str(), resource);
            if (child < 0) failures.push_back(name + " as a child panel: " + rt::LastLoadError());
            ++panels;
            rt::DiscardPanel(handle);
        }
        if (doc.contains("menubars")) {
            for (const auto& m : doc["menubars"]) {
                int bar = rt::LoadMenuBar(0, name.c_str(), m.value("resource", 0));
                if (bar < 0) failures.push_back(rt::LastLoadError());
                else ++menuBars;
            }
        }
        rt::testing::ResetRuntime();
    }
    std::string all;
    for (const std::string& f : failures) all += "\n  " + f;
    EXPECT_TRUE(failures.empty()) << failures.size() << " load failure(s):" << all;
    std::printf("%zu panel files, %d panels, %d menu bars loaded\n", names.size(), panels, menuBars);
}

// Every text a panel shows whole: the labels beside and above controls, text messages, the
// captions of buttons, check boxes, radio buttons and LEDs, and frame titles, each measured in
// its own font against the room its widget has on the panel as laid out. CTest runs it once
// more with the fonts of a 120 dpi screen (QT_FONT_DPI=120).
TEST(EmbeddedPanels, NoLabelOfAnyPanelIsClipped) {
    ASSERT_EQ(rt::InitCVIRTE(), 0);
    RegisterAllCallbacks();
    rt::RegisterEmbeddedPanels();
    std::vector<std::string> clipped;
    int measured = 0;
    for (const std::string& name : rt::PanelResourceNames()) {
        std::string text;
        ASSERT_TRUE(rt::PanelResourceText(name, &text));
        nlohmann::json doc = nlohmann::json::parse(text, nullptr, false);
        ASSERT_FALSE(doc.is_discarded()) << name;
        for (const auto& p : doc["panels"]) {
            int handle = rt::LoadPanel(0, name.c_str(), p.value("resource", 0));
            ASSERT_GT(handle, 0) << rt::LastLoadError();
            QWidget* window = rt::testing::PanelWindow(handle);
            window->show();
            QApplication::processEvents();
            QWidget* content = rt::testing::PanelContent(handle);
            auto report = [&](QWidget* w, const QString& shown, int need, int room) {
                clipped.push_back(name + " " + p.value("constant", std::string()) + " \"" + shown.toStdString() +
                                  "\" (" + (w->objectName().isEmpty() && w->parentWidget() ? w->parentWidget() : w)->objectName().toStdString() + "): needs " + std::to_string(need) +
                                  " px, has " + std::to_string(room));
            };
            // Room on the panel: a widget also loses what its parents cut off.
            auto visibleWidth = [&](QWidget* w) {
                QRect r(w->mapTo(content, QPoint(0, 0)), w->size());
                for (QWidget* up = w->parentWidget(); up && up != content; up = up->parentWidget())
                    r &= QRect(up->mapTo(content, QPoint(0, 0)), up->size());
                return (r & content->rect()).width();
            };
            for (QWidget* w : content->findChildren<QWidget*>()) {
                if (!w->isVisibleTo(window) || w->objectName().startsWith(QLatin1String("qt_"))) continue;
                const QFontMetrics fm = w->fontMetrics();
                if (auto* l = qobject_cast<QLabel*>(w)) {
                    if (l->text().isEmpty() || l->pixmap().cacheKey() != 0) continue;
                    if (qobject_cast<QAbstractSpinBox*>(l->parentWidget()) || qobject_cast<QComboBox*>(l->parentWidget()))
                        continue;
                    ++measured;
                    const QRect room = l->contentsRect();
                    const int roomW = std::min(room.width(), visibleWidth(l));
                    if (l->wordWrap()) {
                        const int need = l->heightForWidth(l->width());
                        if (need > l->height()) report(l, l->text(), need, l->height());
                        // A single word longer than the line is cut, not wrapped.
                        for (const QString& word : l->text().split(QRegularExpression("\\s+"), Qt::SkipEmptyParts))
                            if (fm.horizontalAdvance(word) > roomW) report(l, word, fm.horizontalAdvance(word), roomW);
                    } else {
                        int need = 0;
                        for (const QString& line : l->text().split(QLatin1Char('\n')))
                            need = std::max(need, fm.horizontalAdvance(line));
                        // A text with controls in its gaps is drawn around them.
                        if (dynamic_cast<rt::detail::GapLabel*>(l)) need = l->sizeHint().width() - l->margin() * 2;
                        if (need > roomW) report(l, l->text(), need, roomW);
                    }
                } else if (auto* b = qobject_cast<QAbstractButton*>(w)) {
                    if (b->text().isEmpty() || qobject_cast<QToolButton*>(b) || dynamic_cast<rt::detail::ArtButton*>(b))
                        continue;
                    ++measured;
                    const int need = b->sizeHint().width();
                    const int room = std::min(b->width(), visibleWidth(b));
                    if (need > room) report(b, b->text(), need, room);
                } else if (auto* g = qobject_cast<QGroupBox*>(w)) {
                    if (g->title().isEmpty()) continue;
                    ++measured;
                    const int need = fm.horizontalAdvance(g->title()) + 12;
                    if (need > visibleWidth(g)) report(g, g->title(), need, visibleWidth(g));
                } else if (dynamic_cast<rt::detail::LedWidget*>(w)) {
                    ++measured;
                    const int need = w->sizeHint().width();
                    if (need > visibleWidth(w)) report(w, w->accessibleName(), need, visibleWidth(w));
                }
            }
            rt::DiscardPanel(handle);
        }
        rt::testing::ResetRuntime();
    }
    std::string all;
    for (const std::string& c : clipped) all += "\n  " + c;
    EXPECT_TRUE(clipped.empty()) << clipped.size() << " clipped text(s) at " << QGuiApplication::primaryScreen()->logicalDotsPerInch() << " dpi:" << all;
    EXPECT_GT(measured, 1000);
}
