#include "pathview/path_primitives.h"

#include <algorithm>

#include "runtime/ui.h"

namespace {

bool InRange(int index, int size) { return index >= 0 && index < size; }

}  // namespace

// ---- tables ------------------------------------------------------------------------------

void PathTables::ClearMap() {
    dots.fill(PathDot{});
    lines.fill(PathLine{});
    switchs.fill(PathSwitch{});
    DPSTSwitch.fill(PathDPSTSwitch{});
    ResetGroups();
}

void PathTables::ResetGroups() {
    for (int g = 0; g < kPathGroups; ++g) {
        groups[g] = PathGroup{};
        groups[g].id = g;
    }
}

void PathTables::MakeGroup(int group, int switchIndex, std::span<const int> segments) {
    if (!InRange(group, kPathGroups)) return;
    PathGroup& g = groups[group];
    g.id = group;
    g.switchIndex = InRange(switchIndex, kPathSwitches) ? switchIndex : -1;
    g.lineIndex.clear();
    for (int s : segments)
        if (InRange(s, kPathLines)) g.lineIndex.push_back(s);
    g.lineCount = static_cast<int>(g.lineIndex.size());
}

void PathTables::UpdateGroup(int group, int on) {
    if (!InRange(group, kPathGroups)) return;
    PathGroup& g = groups[group];
    g.on = g.drawnOn = on != 0 ? 1 : 0;
    if (g.switchIndex != -1) switchs[g.switchIndex].state = g.on;
}

void PathTables::ClearGroups(int group) {
    if (!InRange(group, kPathGroups)) return;
    groups[group].lineIndex.clear();
    groups[group].lineIndex.shrink_to_fit();
    groups[group].lineCount = 0;
}

int PathTables::HitTest(int x, int y) const { return GetMouseEventIndexBy(x, y, DPSTSwitch, lines, switchs); }

PathTables& SharedPathTables() {
    static PathTables* tables = [] {
        auto* t = new PathTables;
        t->ClearMap();
        return t;
    }();
    return *tables;
}

PathTables& ZutbPathTables() {
    static PathTables* tables = [] {
        auto* t = new PathTables;
        t->ClearMap();
        return t;
    }();
    return *tables;
}

// ---- construction ------------------------------------------------------------------------

void MakeDot(PathDot& dot, int x, int y) {
    dot.x = x;
    dot.y = y;
}

void MakeLineDots(PathLine& line, int dotA, int dotB, int state, const DotTable& dots) {
    line.state = state;
    if (!InRange(dotA, kPathDots) || !InRange(dotB, kPathDots)) return;
    line.x1 = dots[dotA].x;
    line.y1 = dots[dotA].y;
    line.x2 = dots[dotB].x;
    line.y2 = dots[dotB].y;
}

void MakeLine(PathLine& line, int dotA, int dotB, int state) {
    MakeLineDots(line, dotA, dotB, state, SharedPathTables().dots);
}

void MakeSwitchDots(PathSwitch& sw, int dotA, int dotB, int state, const DotTable& dots) {
    sw.state = state;
    if (!InRange(dotA, kPathDots) || !InRange(dotB, kPathDots)) {
        sw.x1 = sw.y1 = sw.x2 = sw.y2 = -1;
        return;
    }
    sw.x1 = dots[dotA].x;
    sw.y1 = dots[dotA].y;
    sw.x2 = dots[dotB].x;
    sw.y2 = dots[dotB].y;
}

void MakeSwitch(PathSwitch& sw, int dotA, int dotB, int state) {
    MakeSwitchDots(sw, dotA, dotB, state, SharedPathTables().dots);
}

void MakeDPSTSwitchDots(PathDPSTSwitch& sw, int pivot, int throw0, int throw1, int state, const DotTable& dots) {
    sw.state = state;
    if (!InRange(pivot, kPathDots) || !InRange(throw0, kPathDots) || !InRange(throw1, kPathDots)) return;
    sw.x1 = dots[pivot].x;
    sw.y1 = dots[pivot].y;
    sw.x2 = dots[throw0].x;
    sw.y2 = dots[throw0].y;
    sw.x3 = dots[throw1].x;
    sw.y3 = dots[throw1].y;
}

void MakeDPSTSwitch(PathDPSTSwitch& sw, int pivot, int throw0, int throw1, int state) {
    MakeDPSTSwitchDots(sw, pivot, throw0, throw1, state, SharedPathTables().dots);
}

void MakeGroup(int group, int switchIndex, std::initializer_list<int> segments) {
    SharedPathTables().MakeGroup(group, switchIndex, std::span<const int>(segments.begin(), segments.size()));
}

void ClearGroups(int group) { SharedPathTables().ClearGroups(group); }

void UpdateGroup(int group, int on) { SharedPathTables().UpdateGroup(group, on); }

bool HasPosition(const PathDPSTSwitch& sw) {
    bool samePoint = sw.x1 == sw.x2 && sw.x1 == sw.x3 && sw.y1 == sw.y2 && sw.y1 == sw.y3;
    return !samePoint;
}

// ---- hit test ----------------------------------------------------------------------------

namespace {

bool EmptySegment(const PathLine& l) { return l.x1 == 0 && l.y1 == 0 && l.x2 == 0 && l.y2 == 0; }

}  // namespace

int GetMouseEventIndexBy(int x, int y, const DPSTTable& dpst, const LineTable& lines, const SwitchTable& switches) {
    for (int i = 0; i < kPathDPSTSwitches; ++i) {
        const PathDPSTSwitch& d = dpst[i];
        if (!HasPosition(d)) continue;
        int left = std::min({d.x1, d.x2, d.x3}), right = std::max({d.x1, d.x2, d.x3});
        int top = std::min({d.y1, d.y2, d.y3}), bottom = std::max({d.y1, d.y2, d.y3});
        if (left - 2 <= x && x <= right + 2 && top - 2 <= y && y <= bottom + 2) return kHitDPSTBase + i;
    }
    for (int i = 0; i < kPathSwitches; ++i) {
        const PathSwitch& s = switches[i];
        if (s.x1 == -1) continue;
        bool lying = s.x1 < x && x < s.x2 && s.y1 - 5 < y && y < s.y1 + 5;
        bool standing = s.y1 < y && y < s.y2 && s.x1 - 5 < x && x < s.x1 + 5;
        if (lying || standing) return i;
    }
    for (int i = 0; i < kPathLines; ++i) {
        const PathLine& l = lines[i];
        if (EmptySegment(l)) continue;
        int left = std::min(l.x1, l.x2), right = std::max(l.x1, l.x2);
        int top = std::min(l.y1, l.y2), bottom = std::max(l.y1, l.y2);
        if (left - 2 < x && x < right + 2 && top - 2 < y && y < bottom + 2) return kHitSegmentBase + i;
    }
    return kHitNothing;
}

int GetMouseEventIndex(int x, int y) { return SharedPathTables().HitTest(x, y); }

// ---- drawing -----------------------------------------------------------------------------

namespace {

void Pen(PathCanvas c, int colour, bool fill = true) {
    rt::SetCtrlAttribute(c.panel, c.control, rt::ATTR_PEN_COLOR, colour);
    rt::SetCtrlAttribute(c.panel, c.control, rt::ATTR_PEN_WIDTH, 1);
    if (fill) rt::SetCtrlAttribute(c.panel, c.control, rt::ATTR_PEN_FILL_COLOR, colour);
}

void Stroke(PathCanvas c, int x1, int y1, int x2, int y2) {
    rt::CanvasDrawLine(c.panel, c.control, rt::MakePoint(x1, y1), rt::MakePoint(x2, y2));
}

// Erases the stroke that is not shown, then draws the one that is.
void Blade(PathCanvas c, int sx, int sy, int hiddenX, int hiddenY, int shownX, int shownY, int colour) {
    Pen(c, kPathErase);
    Stroke(c, sx, sy, hiddenX, hiddenY);
    Pen(c, colour);
    Stroke(c, sx, sy, shownX, shownY);
}

}  // namespace

void DrawLineOn(PathCanvas c, const PathLine& l, int state) {
    Pen(c, kPathErase);
    Stroke(c, l.x1, l.y1, l.x2, l.y2);
    Pen(c, state == 1 ? kPathActive : kPathInactive);
    Stroke(c, l.x1, l.y1, l.x2, l.y2);
}

void DrawControlLineOn(PathCanvas c, const PathLine& l, int state, int penStyle) {
    Pen(c, kPathErase);
    Stroke(c, l.x1, l.y1, l.x2, l.y2);
    Pen(c, state == 1 ? kPathControlActive : kPathInactive, false);
    rt::SetCtrlAttribute(c.panel, c.control, rt::ATTR_PEN_STYLE, penStyle);
    Stroke(c, l.x1, l.y1, l.x2, l.y2);
    rt::SetCtrlAttribute(c.panel, c.control, rt::ATTR_PEN_STYLE, rt::VAL_SOLID);
}

void DrawSwitchOn(PathCanvas c, const PathSwitch& s, bool standing) {
    if (s.x1 == -1) return;
    int sx, sy, closedX, closedY, openX, openY;
    if (standing && s.x1 == s.x2) {
        sx = s.x1 + 2, sy = s.y1 + 2;
        closedX = s.x2 + 2, closedY = s.y2 - 2;
        openX = s.x2 + 5, openY = s.y2 - 3;
    } else {
        sx = s.x1 + 2, sy = s.y1 - 2;
        closedX = s.x2 - 2, closedY = s.y2 - 2;
        openX = s.x2 - 3, openY = s.y2 - 5;
    }
    if (s.state == 0) Blade(c, sx, sy, closedX, closedY, openX, openY, kPathInactive);
    else Blade(c, sx, sy, openX, openY, closedX, closedY, kPathActive);
}

void DrawDPSTSwitchOn(PathCanvas c, const PathDPSTSwitch& d) {
    if (!HasPosition(d)) return;
    int sx = d.x1 - 2, sy = d.y1 - 2;
    int x0 = d.x2 + 2, y0 = d.y2 - 2, x1 = d.x3 + 2, y1 = d.y3 - 2;
    if (d.state == 0) Blade(c, sx, sy, x1, y1, x0, y0, kPathActive);
    else Blade(c, sx, sy, x0, y0, x1, y1, kPathActive);
}

void DrawGroupOn(PathCanvas c, const PathTables& t, int group, bool standing) {
    if (!InRange(group, kPathGroups)) return;
    const PathGroup& g = t.groups[group];
    if (g.lineCount == 0) return;
    for (int s : g.lineIndex) DrawLineOn(c, t.lines[s], g.drawnOn);
    if (g.switchIndex != -1) DrawSwitchOn(c, t.switchs[g.switchIndex], standing);
}

void DrawTriangleOn(PathCanvas c, int x, int y) {
    Stroke(c, x, y, x - 4, y - 4);
    Stroke(c, x - 4, y - 4, x - 4, y + 4);
    Stroke(c, x - 4, y + 4, x, y);
}

void DrawJointPointOn(PathCanvas c, const PathDot& dot) {
    Pen(c, kPathActive);
    rt::CanvasDrawOval(c.panel, c.control, rt::MakeRect(dot.y - 2, dot.x - 2, 5, 5), rt::VAL_DRAW_FRAME_AND_INTERIOR);
}

void DrawAllGroupsOn(PathCanvas c, const PathTables& t, bool standing) {
    for (int pass = 0; pass <= 1; ++pass)
        for (int g = 0; g < kPathGroups; ++g)
            if (t.groups[g].on == pass) DrawGroupOn(c, t, g, standing);
}
