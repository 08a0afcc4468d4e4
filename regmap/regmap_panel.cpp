// The register table and its title rows: rows from the model's register table, cells from
// CFG_REG, and a committed cell written to the chip at once.
#include "regmap/regmap_panel.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "link/usbcomvunt.h"
#include "panels/AudioCodec_pan.h"
#include "runtime/ui.h"
#include "shell/state.h"

namespace regmap {
namespace {

// What was last built on a model's panel: rebuilt when the panel, the register table or the
// row layout changes.
struct Built {
    int panel = 0;
    const ConfigRegister* table = nullptr;
    std::vector<int> layout;  // record index per row, kBlankRow for a blank row
};

std::array<Built, kModelCount> built;

Built& BuiltOf(const RegMapModel& m) { return built[static_cast<int>(m.id)]; }

// The table's columns, found by their labels.
struct Columns {
    int hexAddr = 0, decAddr = 0, bit8 = 0, bit0 = 0, hexVal = 0;
    bool Valid() const { return hexAddr > 0 && decAddr > 0 && bit8 > 0 && bit0 == bit8 + 8 && hexVal > 0; }
};

Columns FindColumns(int panel, int table) {
    Columns c;
    c.hexAddr = rt::GetTableColumnFromLabel(panel, table, "Hex Addr");
    c.decAddr = rt::GetTableColumnFromLabel(panel, table, "Dec Addr");
    c.bit8 = rt::GetTableColumnFromLabel(panel, table, "Bit 8");
    c.bit0 = rt::GetTableColumnFromLabel(panel, table, "Bit 0");
    c.hexVal = rt::GetTableColumnFromLabel(panel, table, "Hex Val");
    return c;
}

bool HidesEqRows(const RegMapModel& m) { return m.hideEqForDevType != 0 && g_dev_type == m.hideEqForDevType; }

// The mono chips without an EQ have no rows for the five EQ registers; as many blank rows
// follow the last register so that the row count stays the same.
std::vector<int> Layout(const RegMapModel& m) {
    const ConfigRegister* table = m.registers();
    const bool hideEq = HidesEqRows(m);
    std::vector<int> rows;
    int hidden = 0;
    for (int i = 0; table[i].name[0] != '\0'; ++i) {
        if (hideEq && table[i].reg >= 18 && table[i].reg <= 22) {
            ++hidden;
            continue;
        }
        rows.push_back(i);
    }
    for (int i = 0; i < hidden; ++i) rows.push_back(kBlankRow);
    if (rows.size() > static_cast<size_t>(kRowMapSize - 1)) rows.resize(kRowMapSize - 1);  // the row map's size
    return rows;
}

void SetRowCount(int panel, int table, int wanted) {
    int rows = 0;
    rt::GetNumTableRows(panel, table, &rows);
    if (rows < wanted) rt::InsertTableRows(panel, table, -1, wanted - rows);
    if (rows > wanted) rt::DeleteTableRows(panel, table, wanted + 1, -1);
}

// What a screen reader reads for the header of a blank row: the row stands for no register.
const char* const kBlankRowName = "No register";

// Labels, address cells, editability and the row map of every row.
void BuildRows(const RegMapModel& m, int panel, const Columns& cols, const std::vector<int>& layout) {
    const int table = m.ids.table;
    const ConfigRegister* records = m.registers();
    SetRowCount(panel, table, static_cast<int>(layout.size()));
    std::fill(m.rowToIndex, m.rowToIndex + kRowMapSize, kBlankRow);
    for (size_t i = 0; i < layout.size(); ++i) {
        const int row = static_cast<int>(i) + 1;
        const bool blank = layout[i] == kBlankRow;
        const int reg = blank ? 0 : records[layout[i]].reg;
        rt::SetTableRowLabel(panel, table, row, blank ? "" : records[layout[i]].name);
        // A blank row shows no label; a screen reader says what it is.
        if (blank) rt::SetTableRowAccessibleName(panel, table, row, kBlankRowName);
        rt::SetTableCellVal(panel, table, rt::MakePoint(cols.hexAddr, row), reg);
        rt::SetTableCellVal(panel, table, rt::MakePoint(cols.decAddr, row), reg);
        for (int c = cols.bit8; c <= cols.bit0; ++c) rt::SetTableCellEditable(panel, table, rt::MakePoint(c, row), !blank);
        rt::SetTableCellEditable(panel, table, rt::MakePoint(cols.hexVal, row), !blank);
        m.rowToIndex[row] = layout[i];
    }
}

// The value and the nine bit cells of one row (0 and 1 per bit).
void ShowRowValue(const RegMapModel& m, int panel, const Columns& cols, int row, int recordIndex) {
    const int table = m.ids.table;
    uint32_t v = recordIndex == kBlankRow ? 0 : CFG_REG[m.registers()[recordIndex].reg];
    rt::SetTableCellVal(panel, table, rt::MakePoint(cols.hexVal, row), static_cast<double>(v));
    for (int c = cols.bit8; c <= cols.bit0; ++c)
        rt::SetTableCellVal(panel, table, rt::MakePoint(c, row), static_cast<int>((v >> (cols.bit0 - c)) & 1u));
}

bool BoardLedOn() {
    if (PHandlePanel <= 0) return false;
    int on = 0;
    rt::GetCtrlVal(PHandlePanel, ui::AudioCodec_pan::PANEL_LDevAttached, &on);
    return on != 0;
}

void SetRefreshLed(int on) {
    if (PHandlePanel > 0) rt::SetCtrlVal(PHandlePanel, ui::AudioCodec_pan::PANEL_LRefresh, on);
}

const char* const kNoBoardTitle = "Invalid Operation ";
const char* const kNoBoardText = "Software Reset without hardware attached. \nThis operation will be discarded... ";
const char* const kSpi4Title = "Warning -- It is not safe to reset device under SPI 4 wire mode";
const char* const kSpi4Text =
    "SPI 4 wire communication mode requires R7[8] be 1, however chip reset will clear this bit.\n"
    "          If you want to continue, please make sure to choose a communication mode first after reset - "
    "to recover the communication; or you\n"
    "          can swicth to other mode and then reset device.\n"
    "\n"
    "          Do you want to continue? ";
const char* const kInvalidValueTitle = "Invalid value";
const char* const kBitValueText = "A bit takes the value 0 or 1.\nThe register keeps its value.";
const char* const kRegisterValueText = "A register value lies between 0x000 and 0x1FF.\nThe register keeps its value.";

}  // namespace

void ResetRegMapPanels() { built = {}; }

void RefreshTable(const RegMapModel& m) {
    const int panel = *m.panel;
    if (panel <= 0) return;
    const Columns cols = FindColumns(panel, m.ids.table);
    if (!cols.Valid()) return;
    Built& b = BuiltOf(m);
    std::vector<int> layout = Layout(m);
    int rows = 0;
    rt::GetNumTableRows(panel, m.ids.table, &rows);
    if (b.panel != panel || b.table != m.registers() || b.layout != layout ||
        rows != static_cast<int>(layout.size())) {
        BuildRows(m, panel, cols, layout);
        b.panel = panel;
        b.table = m.registers();
        b.layout = std::move(layout);
    }
    for (size_t i = 0; i < b.layout.size(); ++i) ShowRowValue(m, panel, cols, static_cast<int>(i) + 1, b.layout[i]);
    UpdateTitle(m);
}

void UpdateDisplay(const RegMapModel& m, int insertRows) {
    if (m.jorbTable) {
        if (g_dev_type == DEV_ZUTB || g_dev_type == DEV_ZUTA) return;
        // The plain Jorb chip has the long table; once chosen, it stays for the run.
        if (g_dev_type == DEV_JORB) ConfigRegistersJorb = ConfigRegistersL;
    }
    if (insertRows == 0 && m.refreshOnlyWhenShown && (NowPanel <= 0 || NowPanel != *m.panel)) return;
    if (m.buildOnlyForDevType != 0 && g_dev_type != m.buildOnlyForDevType) return;
    // A build at the model choice rewrites every row label as well.
    if (insertRows != 0) BuiltOf(m).panel = 0;
    RefreshTable(m);
}

int RegisterOfRow(const RegMapModel& m, int row) {
    const Built& b = BuiltOf(m);
    if (b.panel != *m.panel || row < 1 || row > static_cast<int>(b.layout.size())) return -1;
    int index = b.layout[row - 1];
    return index == kBlankRow ? -1 : m.registers()[index].reg;
}

void UpdateTitle(const RegMapModel& m) {
    ClearFlag(&FlagRegMapTitle);
    const int panel = *m.panel;
    if (panel <= 0 || m.ids.legendRow == 0) return;
    rt::Point cell;
    if (rt::GetActiveTableCell(panel, m.ids.table, &cell) < 0) return;
    const Built& b = BuiltOf(m);
    if (b.panel != panel || cell.y < 1 || cell.y > static_cast<int>(b.layout.size())) return;
    const int index = b.layout[cell.y - 1];
    if (index == kBlankRow) return;  // a blank row leaves the rows as they are
    const ConfigRegister& record = m.registers()[index];
    const uint32_t v = CFG_REG[record.reg];
    char prefix[16];
    std::snprintf(prefix, sizeof prefix, "0x%02X: |", static_cast<unsigned>(record.reg));
    std::string bits = prefix;
    for (int n = 8; n >= 0; --n) bits += ((v >> n) & 1u) ? "____1____|" : "____0____|";
    char value[24];
    std::snprintf(value, sizeof value, " 0x%03X", static_cast<unsigned>(v));
    bits += value;
    rt::SetCtrlVal(panel, m.ids.legendRow, LegendOfRegister(*m.legends, record.reg));
    rt::SetCtrlVal(panel, m.ids.bitRow, bits);
    rt::SetCtrlVal(panel, m.ids.nameRow, record.name);
}

int ShowTitleRows(const RegMapModel& m, int panel, int event) {
    if (event != rt::EVENT_COMMIT || m.ids.showBox == 0) return 0;
    int shown = 0;
    rt::GetCtrlVal(panel, m.ids.showBox, &shown);
    for (int id : {m.ids.legendRow, m.ids.bitRow, m.ids.nameRow})
        rt::SetCtrlAttribute(panel, id, rt::ATTR_VISIBLE, shown ? 1 : 0);
    return 0;
}

int TableCommit(const RegMapModel& m, int panel, int event, int row, int column) {
    // A click may change the active row: the next refresh tick redraws the title rows.
    if (event == rt::EVENT_LEFT_CLICK) SetFlag(&FlagRegMapTitle);
    if (event != rt::EVENT_COMMIT || panel <= 0 || panel != *m.panel) return 0;
    const int table = m.ids.table;
    const Columns cols = FindColumns(panel, table);
    if (!cols.Valid()) return 0;
    const int reg = RegisterOfRow(m, row);
    if (reg < 0) return 0;  // blank rows take no edits
    const Built& b = BuiltOf(m);
    const int index = b.layout[row - 1];
    auto restoreRow = [&] {
        rt::SetTableCellVal(panel, table, rt::MakePoint(cols.hexAddr, row), reg);
        rt::SetTableCellVal(panel, table, rt::MakePoint(cols.decAddr, row), reg);
        ShowRowValue(m, panel, cols, row, index);
        UpdateTitle(m);
    };
    rt::SetActiveTableCell(panel, table, rt::MakePoint(column, row));

    // The register that resets the chip: never without the board, and under 4-wire SPI only
    // when the user agrees (a reset clears the R7[8] that mode needs).
    if (reg == m.resetRegister) {
        if (!BoardLedOn()) {
            rt::MessagePopup(kNoBoardTitle, kNoBoardText);
            SetFlag(&FlagCFGUpdate);
            restoreRow();
            return 0;
        }
        if (m.confirmResetUnderSpi4 && CommMode == COMM_SPI4W && !rt::ConfirmPopup(kSpi4Title, kSpi4Text)) {
            restoreRow();
            return 0;
        }
    }

    const uint32_t old = CFG_REG[reg];
    int v = 0;
    if (rt::GetTableCellVal(panel, table, rt::MakePoint(column, row), &v) < 0) return 0;
    uint32_t now = old;
    if (column >= cols.bit8 && column <= cols.bit0) {
        if (v != 0 && v != 1) {
            rt::MessagePopup(kInvalidValueTitle, kBitValueText);
            restoreRow();
            return 0;
        }
        const int n = cols.bit0 - column;
        now = (old & ~(1u << n)) | (static_cast<uint32_t>(v) << n);
    } else if (column == cols.hexVal) {
        if (static_cast<unsigned>(v) > 0x1FFu) {
            rt::MessagePopup(kInvalidValueTitle, kRegisterValueText);
            restoreRow();
            return 0;
        }
        now = static_cast<uint32_t>(v);
    } else {
        restoreRow();  // the address cells name the register; they are not values
        return 0;
    }

    rt::Delay(0.2);
    if (now == old) {
        restoreRow();
        return 0;
    }
    CFG_REG[reg] = now;
    ZelqxWriteOneReg(reg);
    rt::Delay(0.1);

    RefreshTable(m);
    SetRefreshLed(0);
    for (Refresh refresh : m.afterEdit) refresh();
    UpdateTitle(m);
    SetRefreshLed(1);
    return 0;
}

}  // namespace regmap
