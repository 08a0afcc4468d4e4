// Fixture of the register-map and script panel tests: the real start-up on the emulated board
// (board present, LED on), models chosen through the Device menu, a fresh project folder,
// popups recorded, waits instant; helpers to read the tables and commit cells as a user does.
#pragma once

#include <string>
#include <vector>

#include "regmap/config_tables.h"
#include "regmap/regmap_model.h"
#include "tests/shell/model_test_support.h"
#include "tests/support/file_text.h"

namespace regmaptest {

using namespace ui::AudioCodec_pan;

class RegMapFixture : public modeltest::ModelFixture {
protected:
    void SetUp() override {
        ModelFixture::SetUp();
        if (HasFatalFailure()) return;
        ResetConfigTables();
        ResetRegMapPanels();
    }
    void TearDown() override {
        ModelFixture::TearDown();
        ResetConfigTables();
        ResetRegMapPanels();
    }

    // Chooses a model from the Device menu and forgets what that did on the board and in popups.
    void Choose(int menuItem) {
        Menu(menuItem);
        board->ClearReceivedReports();
        prompter.shown.clear();
        FlagCFGUpdate = 0;
    }

    // Brings a tab to the front as the user does (the tab control reports it).
    void ShowTab(int panel) {
        rt::EasyTab_SetAttribute(PHandlePanel, tabCtrl, rt::ATTR_EASY_TAB_ACTIVE_PANEL, panel);
        rt::CallCtrlCallback(PHandlePanel, tabCtrl, rt::EVENT_ACTIVE_TAB_CHANGE, panel, panel);
    }

    int Rows(int panel, int table) {
        int rows = -1;
        rt::GetNumTableRows(panel, table, &rows);
        return rows;
    }
    int Cell(int panel, int table, const char* column, int row) {
        int value = -1;
        rt::GetTableCellVal(panel, table, rt::MakePoint(rt::GetTableColumnFromLabel(panel, table, column), row),
                            &value);
        return value;
    }
    std::string RowLabel(int panel, int table, int row) {
        std::string label;
        rt::GetTableRowLabel(panel, table, row, &label);
        return label;
    }
    std::string Text(int panel, int control) {
        std::string text;
        rt::GetCtrlVal(panel, control, &text);
        return text;
    }
    // Types `value` into a cell and commits it, as the table does after an edit.
    void Commit(int panel, int table, int row, const char* column, int value) {
        const int col = rt::GetTableColumnFromLabel(panel, table, column);
        rt::SetActiveTableCell(panel, table, rt::MakePoint(col, row));
        rt::SetTableCellVal(panel, table, rt::MakePoint(col, row), value);
        rt::CallCtrlCallback(panel, table, rt::EVENT_COMMIT, row, col);
    }
    void Press(int panel, int control) { rt::CallCtrlCallback(panel, control, rt::EVENT_COMMIT, 0, 0); }

    // The row of register `reg` in a built table, or 0.
    int RowOf(int panel, int table, int reg) {
        for (int row = 1; row <= Rows(panel, table); ++row)
            if (!RowLabel(panel, table, row).empty() && Cell(panel, table, "Dec Addr", row) == reg) return row;
        return 0;
    }

    // Every popup shown, as "title|text".
    std::vector<std::string> Popups() const {
        std::vector<std::string> out;
        for (const auto& p : prompter.shown) out.push_back(p.title + "|" + p.text);
        return out;
    }
    std::vector<std::string> Titles() const {
        std::vector<std::string> out;
        for (const auto& p : prompter.shown) out.push_back(p.title);
        return out;
    }
};

// The Jorb register map chosen from the Device menu, its tab in front.
class JorbRegMapFixture : public RegMapFixture {
protected:
    int panel = 0;
    void SetUp() override {
        RegMapFixture::SetUp();
        if (HasFatalFailure()) return;
        Choose(MENUBAR_DEVICE_StereoJorb);
        panel = PHandleSTRegMap;
        ShowTab(panel);
    }
};

using testsupport::ReadFile;
using testsupport::WriteFile;

}  // namespace regmaptest
