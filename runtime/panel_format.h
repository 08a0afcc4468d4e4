// The panel resource format (panels/FORMAT.md): parsing and checking one panel file.
//
// Shared by the build step (tools/panelgen, which refuses a bad file) and the loader (which
// refuses a bad resource registered at run time), so both apply the same rules. No Qt here.
#pragma once

#include <nlohmann/json.hpp>

#include <string>
#include <utility>
#include <vector>

namespace rt::panelfmt {

enum class Kind {
    CommandButton, PictureButton, ToggleButton, CheckBox, RadioButton, BinarySwitch, Ring,
    RingSlide, Slide, Numeric, String, TextMessage, TextBox, Led, Canvas, Table, ListBox, Timer,
    Decoration, Picture, Splitter
};

enum class DataType { Int, Unsigned, Double, String };

// "command_button" -> Kind::CommandButton. False for an unknown name.
bool KindFromName(const std::string& name, Kind* kind);
const char* KindName(Kind kind);
// The data type a control of this kind holds when its resource names none.
DataType DefaultType(Kind kind);
bool TypeFromName(const std::string& name, DataType* type);
bool IsIdentifier(const std::string& s);

// The gaps of a text message that other controls can fill: runs of three or more blanks
// between two other characters, as [begin, end) byte offsets, left to right.
std::vector<std::pair<size_t, size_t>> TextGaps(const std::string& text);

// One constant the header of a panel file defines.
struct Constant {
    std::string name;
    int value = 0;
};

// Parses `text` and checks it against the format. `where` names the file in messages
// ("cfgDACJorb_pan.uir"). Returns every problem found, each naming the file, the panel and the
// control or menu item concerned; on success the list is empty and *doc holds the file.
std::vector<std::string> ParsePanelFile(const std::string& where, const std::string& text,
                                        nlohmann::json* doc);

// The constants of a checked file, in file order: panels, their controls, menu bars, menus, items.
std::vector<Constant> FileConstants(const nlohmann::json& doc);

// "PANEL (resource 1)", "control TIMER (id 8)": the names used in messages.
std::string DescribePanel(const nlohmann::json& panel);
std::string DescribeControl(const nlohmann::json& control);

}  // namespace rt::panelfmt
