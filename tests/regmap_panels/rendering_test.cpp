// What the user sees: the register-map and script panels drawn offscreen, checked for clipped
// title rows and a table that needs no sideways scrolling. With REGMAP_PANEL_PNG set to a
// folder, the pictures are also written there for a look.
#include <gmock/gmock.h>
#include <QApplication>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QScrollBar>
#include <QTableWidget>
#include <QWidget>

#include <cstdlib>
#include <string>

#include "panels/MNRegMap_pan.h"
#include "panels/cfgMapJorb_Pan.h"
#include "panels/cfgMapZutb_Pan.h"
#include "runtime/testing.h"
#include "tests/regmap_panels/regmap_test_support.h"

namespace {

using regmaptest::RegMapFixture;
using namespace ui::AudioCodec_pan;

class RegMapRenderingTest : public RegMapFixture {
protected:
    // Shows the main window with `tab` in front, and returns the tab's picture.
    QPixmap Picture(int tab, const std::string& file) {
        rt::DisplayPanel(PHandlePanel);
        ShowTab(tab);
        QWidget* window = rt::testing::PanelWindow(PHandlePanel);
        window->resize(window->sizeHint().expandedTo(QSize(1060, 900)));
        QApplication::processEvents();
        QWidget* content = rt::testing::PanelContent(tab);
        QPixmap picture = content->grab();
        if (const char* dir = std::getenv("REGMAP_PANEL_PNG")) picture.save(QString::fromStdString(std::string(dir) + "/" + file));
        return picture;
    }

    // The text of a title row is drawn whole inside its box.
    void ExpectFits(int panel, int control) {
        auto* label = qobject_cast<QLabel*>(rt::testing::ControlWidget(panel, control));
        ASSERT_NE(label, nullptr);
        const int needed = QFontMetrics(label->font()).horizontalAdvance(label->text());
        EXPECT_LE(needed, label->contentsRect().width()) << label->text().toStdString();
    }

    // The legend's "|" marks stand over those of the bit row, which starts with "0x07: ".
    void ExpectLegendAligned(int panel, int legend, int bits) {
        QWidget* l = rt::testing::ControlWidget(panel, legend);
        auto* b = qobject_cast<QLabel*>(rt::testing::ControlWidget(panel, bits));
        ASSERT_TRUE(l && b);
        const int prefix = QFontMetrics(b->font()).horizontalAdvance(QString("0x07: "));
        const int offset = l->mapTo(l->window(), QPoint(0, 0)).x() - b->mapTo(b->window(), QPoint(0, 0)).x();
        EXPECT_NEAR(offset, prefix, 2);
    }

    void ExpectTableFits(int panel, int table) {
        auto* t = qobject_cast<QTableWidget*>(rt::testing::ControlWidget(panel, table));
        ASSERT_NE(t, nullptr);
        EXPECT_FALSE(t->horizontalScrollBar()->isVisible()) << "the table scrolls sideways";
    }
};

TEST_F(RegMapRenderingTest, RegisterMapsShowWholeTitleRowsAndColumns) {
    struct Case { int menuItem; int* panel; int table, legend, bits, name; const char* file; int row; } cases[] = {
        {MENUBAR_DEVICE_StereoJorb, &PHandleSTRegMap, ui::cfgMapJorb_Pan::CFGMAPJorb_REGTABLE,
         ui::cfgMapJorb_Pan::CFGMAPJorb_REGMAPTITLE, ui::cfgMapJorb_Pan::CFGMAPJorb_REGMAPTITLE2,
         ui::cfgMapJorb_Pan::CFGMAPJorb_TMREGNAME, "regmap_jorb.png", 8},
        {MENUBAR_DEVICE_StereoZutb, &PHandleSTRegMapZutb, ui::cfgMapZutb_Pan::CFGMAPZutb_REGTABLE,
         ui::cfgMapZutb_Pan::CFGMAPZutb_REGMAPTITLE, ui::cfgMapZutb_Pan::CFGMAPZutb_REGMAPTITLE2,
         ui::cfgMapZutb_Pan::CFGMAPZutb_TMREGNAME, "regmap_zutb.png", 50},
        {MENUBAR_DEVICE_Mono, &PHandleMNRegMap, ui::MNRegMap_pan::MNREGMAP_REGTABLE,
         ui::MNRegMap_pan::MNREGMAP_REGMAPTITLE, ui::MNRegMap_pan::MNREGMAP_REGMAPTITLE2,
         ui::MNRegMap_pan::MNREGMAP_TMREGNAME, "regmap_pykc.png", 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        Choose(c.menuItem);
        const int panel = *c.panel;
        rt::SetActiveTableCell(panel, c.table, rt::MakePoint(5, c.row));
        ShowTab(panel);
        RunRedrawList(UILoaded);
        Picture(panel, c.file);
        ExpectFits(panel, c.legend);
        ExpectFits(panel, c.bits);
        ExpectFits(panel, c.name);
        ExpectLegendAligned(panel, c.legend, c.bits);
        ExpectTableFits(panel, c.table);
    }
}

// "Try" shows "check.ico" of the project folder in the cell of column 4, row 2; without the
// file the cell stays as it is.
TEST_F(RegMapRenderingTest, TryShowsThePictureFileWhenThereIsOne) {
    using namespace ui::cfgMapJorb_Pan;
    Choose(MENUBAR_DEVICE_StereoJorb);
    const int panel = PHandleSTRegMap;
    auto* t = qobject_cast<QTableWidget*>(rt::testing::ControlWidget(panel, CFGMAPJorb_REGTABLE));
    ASSERT_NE(t, nullptr);
    Press(panel, CFGMAPJorb_TBTRY);
    EXPECT_TRUE(t->item(1, 3)->data(Qt::DecorationRole).isNull());
    QImage tick(16, 16, QImage::Format_ARGB32);
    tick.fill(Qt::green);
    ASSERT_TRUE(tick.save(QString::fromStdString((home / "check.ico").string()), "PNG"));
    Press(panel, CFGMAPJorb_TBTRY);
    EXPECT_FALSE(t->item(1, 3)->data(Qt::DecorationRole).isNull());
    EXPECT_THAT(prompter.shown, ::testing::IsEmpty());
}

TEST_F(RegMapRenderingTest, ScriptPanelsShowTheirBoxesAndButtons) {
    Choose(MENUBAR_DEVICE_StereoZutb);
    Picture(PHandleSTScriptZutb, "script_zutb.png");
    Choose(MENUBAR_DEVICE_StereoJorb);
    Picture(PHandleSTScript, "script_jorb.png");
    for (int control : {2, 3, 4, 5, 6}) {
        QWidget* w = rt::testing::ControlBox(PHandleSTScript, control);
        ASSERT_NE(w, nullptr);
        EXPECT_TRUE(w->isVisible());
        EXPECT_GE(w->width(), w->sizeHint().width()) << w->objectName().toStdString();
    }
}

}  // namespace
