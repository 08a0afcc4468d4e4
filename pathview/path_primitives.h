// The signal-path diagrams' building blocks: the record types, the record tables (one shared
// set that holds the loaded model's map, and the Zutb set of its own), their construction,
// the path groups, the hit test and the drawing of each record on a path canvas.
#pragma once

#include <array>
#include <initializer_list>
#include <span>
#include <vector>

// ---- records -----------------------------------------------------------------------------
// Canvas pixels, origin top left, x to the right, y downwards.
struct PathDot {
    int x = 0, y = 0;
};

// A wire segment (also a control line); its colour comes from its group or the caller.
struct PathLine {
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0, state = 0;
};

// A single-throw switch: blade from the first dot to the second; state 0 open, 1 closed.
// An empty slot holds -1 in all four coordinates.
struct PathSwitch {
    int x1 = -1, y1 = -1, x2 = -1, y2 = -1, state = 0;
};

// A double-throw switch: pivot (x1, y1), throw 0 at (x2, y2), throw 1 at (x3, y3).
struct PathDPSTSwitch {
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0, x3 = 0, y3 = 0, state = 0;
};

// A path group: lit (on) or dark; drawnOn is the colour its segments are drawn in. The record
// owns its segment list; switchIndex is the switch it opens and closes, or -1.
struct PathGroup {
    int id = 0;
    int on = 0;
    int drawnOn = 0;
    int lineCount = 0;
    std::vector<int> lineIndex;
    int switchIndex = -1;
};

inline constexpr int kPathDots = 303;
inline constexpr int kPathLines = 212;
inline constexpr int kPathSwitches = 30;
inline constexpr int kPathDPSTSwitches = 10;
inline constexpr int kPathGroups = 280;

using DotTable = std::array<PathDot, kPathDots>;
using LineTable = std::array<PathLine, kPathLines>;
using SwitchTable = std::array<PathSwitch, kPathSwitches>;
using DPSTTable = std::array<PathDPSTSwitch, kPathDPSTSwitches>;
using GroupTable = std::array<PathGroup, kPathGroups>;

// Hit codes: switch i is i, segment i is 100 + i, double-throw switch i is 1000 + i.
inline constexpr int kHitNothing = -1;
inline constexpr int kHitSegmentBase = 100;
inline constexpr int kHitDPSTBase = 1000;

// One set of record tables. Numbers outside a table's size are ignored by every operation.
struct PathTables {
    DotTable dots;
    LineTable lines;
    SwitchTable switchs;
    DPSTTable DPSTSwitch;
    GroupTable groups;

    // Every slot empty: dots, segments and double-throw switches zero, switches -1, groups reset.
    void ClearMap();
    // Every group record reset: dark, no segments, no switch; its list released.
    void ResetGroups();
    // Fills group `group`: its switch and a new segment list in the given order; a list made
    // before for the same group is replaced. on and drawnOn are left as they are.
    void MakeGroup(int group, int switchIndex, std::span<const int> segments);
    // Lights (on != 0) or darkens the group, and opens or closes its switch to match.
    void UpdateGroup(int group, int on);
    // Releases one group's segment list.
    void ClearGroups(int group);
    int HitTest(int x, int y) const;
};

// The tables every model's map but Zutb's stands in, and Zutb's own.
PathTables& SharedPathTables();
PathTables& ZutbPathTables();

// ---- construction ------------------------------------------------------------------------
void MakeDot(PathDot& dot, int x, int y);
void MakeLine(PathLine& line, int dotA, int dotB, int state);  // dots of the shared table
void MakeLineDots(PathLine& line, int dotA, int dotB, int state, const DotTable& dots);
// A dot number of -1 makes the slot empty (state is still stored).
void MakeSwitch(PathSwitch& sw, int dotA, int dotB, int state);
void MakeSwitchDots(PathSwitch& sw, int dotA, int dotB, int state, const DotTable& dots);
void MakeDPSTSwitch(PathDPSTSwitch& sw, int pivot, int throw0, int throw1, int state);
void MakeDPSTSwitchDots(PathDPSTSwitch& sw, int pivot, int throw0, int throw1, int state, const DotTable& dots);
// Group operations on the shared tables.
void MakeGroup(int group, int switchIndex, std::initializer_list<int> segments);
void ClearGroups(int group);
void UpdateGroup(int group, int on);

// A double-throw switch whose three points coincide (an unbuilt slot, or one built on a single
// dot) has no blade to show or click.
bool HasPosition(const PathDPSTSwitch& sw);

// ---- hit test ----------------------------------------------------------------------------
// Double-throw switches first (2-pixel margin, inclusive), then switches (a band 4 pixels either
// side of the first dot's row or column, strictly between the ends), then segments (1 pixel
// beyond either end and either side); within each kind the lowest number wins. A segment
// answers whichever end it was stored from; empty slots never answer.
int GetMouseEventIndex(int x, int y);  // the shared tables
int GetMouseEventIndexBy(int x, int y, const DPSTTable& dpst, const LineTable& lines, const SwitchTable& switches);

// ---- drawing -----------------------------------------------------------------------------
inline constexpr int kPathErase = 0xFFFFFF;
inline constexpr int kPathActive = 0xFF00FF;
inline constexpr int kPathInactive = 0xA0A0A0;
inline constexpr int kPathControlActive = 0xFF0000;

struct PathCanvas {
    int panel = 0;
    int control = 0;
};

// Each stroke is erased in white first, then drawn in the colour of its state.
void DrawLineOn(PathCanvas canvas, const PathLine& line, int state);
// Dotted (or the given pen style): red when state is 1, else grey.
void DrawControlLineOn(PathCanvas canvas, const PathLine& line, int state, int penStyle);
// Lying blade along the first dot's row; with `standing` and both dots in one column, the
// standing blade.
void DrawSwitchOn(PathCanvas canvas, const PathSwitch& sw, bool standing);
void DrawDPSTSwitchOn(PathCanvas canvas, const PathDPSTSwitch& sw);
// The group's segments in its drawn colour, then its switch; nothing for a group without
// segments.
void DrawGroupOn(PathCanvas canvas, const PathTables& tables, int group, bool standing);
void DrawTriangleOn(PathCanvas canvas, int x, int y);
void DrawJointPointOn(PathCanvas canvas, const PathDot& dot);
// Dark groups first, then lit ones, so a segment of any lit group shows lit.
void DrawAllGroupsOn(PathCanvas canvas, const PathTables& tables, bool standing);
