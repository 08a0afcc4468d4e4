// The diagram primitives on tables of their own: hit-test margins and order, the mended faults
// (reversed segments answer, a replaced group list is the group's own, a double-throw slot
// without a position is neither hit nor drawn), group state and the strokes on a real canvas.
#include "tests/pathview/path_test_support.h"

using namespace pathtest;

namespace {

// Builds records straight from coordinates into a private set of tables.
class Tables : public ::testing::Test {
protected:
    PathTables t;
    void SetUp() override { t.ClearMap(); }

    int Dot(int n, int x, int y) {
        MakeDot(t.dots[n], x, y);
        return n;
    }
    void Segment(int n, int x1, int y1, int x2, int y2) {
        MakeLineDots(t.lines[n], Dot(0, x1, y1), Dot(1, x2, y2), 0, t.dots);
    }
    void Switch(int n, int x1, int y1, int x2, int y2) {
        MakeSwitchDots(t.switchs[n], Dot(0, x1, y1), Dot(1, x2, y2), 0, t.dots);
    }
    void Dpst(int n, int px, int py, int ax, int ay, int bx, int by) {
        MakeDPSTSwitchDots(t.DPSTSwitch[n], Dot(0, px, py), Dot(1, ax, ay), Dot(2, bx, by), 0, t.dots);
    }
    int Hit(int x, int y) { return t.HitTest(x, y); }
};

TEST_F(Tables, MarginsAreInclusiveForDoubleThrowsAndStrictForSwitchesAndSegments) {
    Dpst(0, 798, 411, 777, 404, 777, 417);
    EXPECT_EQ(Hit(775, 411), 1000);  // 2 pixels left of the leftmost point
    EXPECT_EQ(Hit(800, 402), 1000);
    EXPECT_EQ(Hit(774, 411), -1);
    EXPECT_EQ(Hit(801, 411), -1);

    Segment(5, 200, 50, 260, 50);
    EXPECT_EQ(Hit(199, 50), 105);    // 1 pixel beyond the end
    EXPECT_EQ(Hit(198, 50), -1);     // 2 pixels: no
    EXPECT_EQ(Hit(230, 51), 105);
    EXPECT_EQ(Hit(230, 52), -1);
    EXPECT_EQ(Hit(261, 49), 105);

    Switch(3, 67, 153, 86, 153);
    EXPECT_EQ(Hit(67, 153), -1);     // on either dot: not the switch
    EXPECT_EQ(Hit(86, 153), -1);
    EXPECT_EQ(Hit(68, 153), 3);
    EXPECT_EQ(Hit(75, 149), 3);      // 4 pixels above its row
    EXPECT_EQ(Hit(75, 148), -1);     // 5 pixels
    EXPECT_EQ(Hit(75, 157), 3);
    EXPECT_EQ(Hit(75, 158), -1);
    // A blade whose second dot is on another row is still tested on the first dot's row.
    Switch(4, 300, 300, 320, 340);
    EXPECT_EQ(Hit(310, 302), 4);
    EXPECT_EQ(Hit(310, 330), -1);
    // A standing switch answers in its column.
    Switch(6, 500, 100, 500, 130);
    EXPECT_EQ(Hit(503, 115), 6);
    EXPECT_EQ(Hit(505, 115), -1);
}

TEST_F(Tables, KindsAnswerInOrderAndLowestNumberFirst) {
    Segment(9, 60, 100, 140, 100);
    Segment(2, 60, 100, 140, 100);
    Switch(7, 90, 100, 110, 100);
    Dpst(1, 120, 100, 110, 96, 110, 104);
    EXPECT_EQ(Hit(100, 100), 7);     // inside a switch band and a segment: the switch
    EXPECT_EQ(Hit(112, 100), 1001);  // inside the double-throw box too: the double-throw
    EXPECT_EQ(Hit(70, 100), 102);    // two segments: the lower number
    // Empty slots never answer: the cleared switches (-1) and the all-zero segments.
    EXPECT_EQ(t.switchs[0].x1, -1);
    EXPECT_EQ(Hit(0, 0), -1);
    EXPECT_EQ(Hit(1, 1), -1);
}

TEST_F(Tables, ASegmentAnswersWhicheverEndItWasStoredFrom) {
    Segment(38, 98, 153, 98, 137);  // lower end first
    EXPECT_EQ(Hit(98, 145), 138);
    EXPECT_EQ(Hit(99, 136), 138);
    EXPECT_EQ(Hit(98, 135), -1);
    Segment(64, 796, 180, 703, 180);  // right end first
    EXPECT_EQ(Hit(750, 180), 164);
    EXPECT_EQ(Hit(702, 181), 164);
    EXPECT_EQ(Hit(701, 180), -1);
}

TEST_F(Tables, ADoubleThrowWithoutAPositionIsNeverHit) {
    Dot(0, 50, 22);
    MakeDPSTSwitchDots(t.DPSTSwitch[1], 0, 0, 0, 0, t.dots);  // one dot three times
    EXPECT_FALSE(HasPosition(t.DPSTSwitch[1]));
    EXPECT_FALSE(HasPosition(t.DPSTSwitch[2]));  // never built
    EXPECT_EQ(Hit(50, 22), -1);
    EXPECT_EQ(Hit(0, 0), -1);
    Segment(0, 50, 22, 163, 22);
    EXPECT_EQ(Hit(50, 22), 100);  // the wire that starts there answers instead
}

TEST_F(Tables, GroupsOwnTheirListAndDriveTheirSwitch) {
    Switch(6, 67, 319, 86, 319);
    Switch(9, 584, 122, 604, 122);
    const int first[] = {96, 97, 98, 99, 101, 103, 95};
    t.MakeGroup(153, 6, first);
    const int second[] = {101, 103, 95};
    t.MakeGroup(153, 9, second);
    EXPECT_EQ(t.groups[153].id, 153);
    EXPECT_EQ(t.groups[153].switchIndex, 9);
    EXPECT_EQ(t.groups[153].lineCount, 3);
    EXPECT_EQ(t.groups[153].lineIndex, (std::vector<int>{101, 103, 95}));

    t.UpdateGroup(153, 0x20);  // a raw masked bit counts as on
    EXPECT_EQ(t.groups[153].on, 1);
    EXPECT_EQ(t.groups[153].drawnOn, 1);
    EXPECT_EQ(t.switchs[9].state, 1);
    EXPECT_EQ(t.switchs[6].state, 0);
    t.UpdateGroup(153, 0);
    EXPECT_EQ(t.groups[153].on, 0);
    EXPECT_EQ(t.switchs[9].state, 0);

    t.switchs[6].state = 1;
    t.UpdateGroup(40, 1);  // no switch: no switch changes
    EXPECT_EQ(t.groups[40].on, 1);
    EXPECT_EQ(t.switchs[6].state, 1);

    t.ClearGroups(153);
    EXPECT_EQ(t.groups[153].lineCount, 0);
    EXPECT_TRUE(t.groups[153].lineIndex.empty());
    t.ResetGroups();
    EXPECT_EQ(t.groups[40].on, 0);
    EXPECT_EQ(t.groups[40].switchIndex, -1);
}

TEST(Conditions, TermsAndAtoms) {
    using namespace pathview;
    ResetShellState();
    PathTables t;
    t.ClearMap();
    const Cond c = Bit(43, 0) || (BitClear(43, 5) && BitClear(55, 6));
    CFG_REG[43] = 0x020;
    EXPECT_FALSE(Holds(c, t));
    CFG_REG[43] = 0x000;
    CFG_REG[55] = 0x040;
    EXPECT_FALSE(Holds(c, t));
    CFG_REG[55] = 0x000;
    EXPECT_TRUE(Holds(c, t));
    CFG_REG[43] = 0x021;
    EXPECT_TRUE(Holds(c, t));
    EXPECT_TRUE(Holds(Always(), t));
    EXPECT_FALSE(Holds(Never(), t));
    EXPECT_TRUE(Holds(FieldZero(1, 0x003), t));
    t.UpdateGroup(71, 1);
    EXPECT_TRUE(Holds(Lit(71) || Lit(58), t));
    EXPECT_FALSE(Holds(Lit(71) && Lit(58), t));
    ResetShellState();
}

// Strokes on the Jorb canvas, in a corner the diagram leaves blank.
class Strokes : public JorbPathFixture {
protected:
    PathTables t;
    PathCanvas c;
    void SetUp() override {
        JorbPathFixture::SetUp();
        if (HasFatalFailure()) return;
        t.ClearMap();
        c = {PHandleSTPath, CFGPATHJorb_CVSCONFIG};
        rt::CanvasClear(c.panel, c.control, rt::MakeRect(440, 620, 60, 150));
        MakeDot(t.dots[0], 630, 460);
        MakeDot(t.dots[1], 700, 460);
        MakeDot(t.dots[2], 720, 460);
        MakeDot(t.dots[3], 740, 460);
        MakeDot(t.dots[4], 630, 490);
        MakeLineDots(t.lines[0], 0, 1, 0, t.dots);
        MakeLineDots(t.lines[1], 2, 3, 0, t.dots);
        MakeLineDots(t.lines[2], 0, 4, 0, t.dots);
        MakeSwitchDots(t.switchs[0], 1, 2, 0, t.dots);
        const int a[] = {0, 1};
        const int b[] = {0, 2};
        t.MakeGroup(10, 0, a);
        t.MakeGroup(11, -1, b);
    }
};

TEST_F(Strokes, DarkGroupGreyWithOpenBladeLitGroupMagentaWithClosedBlade) {
    DrawAllGroupsOn(c, t, false);
    EXPECT_EQ(Pixel(660, 460), kGrey);
    EXPECT_EQ(Pixel(730, 460), kGrey);
    EXPECT_EQ(Pixel(717, 455), kGrey);   // open blade end (x2 - 3, y2 - 5)
    EXPECT_EQ(Pixel(702, 458), kGrey);   // blade start (x1 + 2, y1 - 2)
    EXPECT_EQ(Pixel(718, 458), kWhite);  // closed end not drawn

    t.UpdateGroup(10, 1);
    DrawAllGroupsOn(c, t, false);
    EXPECT_EQ(Pixel(660, 460), kMagenta);  // shared with the dark group 11: lit wins
    EXPECT_EQ(Pixel(630, 475), kGrey);     // group 11's own segment
    EXPECT_EQ(Pixel(718, 458), kMagenta);  // closed end (x2 - 2, y2 - 2)
    EXPECT_EQ(Pixel(717, 455), kWhite);    // the open blade erased

    t.UpdateGroup(10, 0);
    DrawGroupOn(c, t, 10, false);
    EXPECT_EQ(Pixel(660, 460), kGrey);
    EXPECT_EQ(Pixel(718, 458), kWhite);
}

TEST_F(Strokes, ControlLinesAndDoubleThrowBlades) {
    DrawControlLineOn(c, t.lines[0], 1, rt::VAL_DOT);
    int red = 0, white = 0;
    for (int x = 631; x < 700; ++x) {
        int p = Pixel(x, 460);
        red += p == kRed;
        white += p == kWhite;
    }
    EXPECT_GT(red, 20);
    EXPECT_GT(white, 20);  // dotted
    DrawControlLineOn(c, t.lines[0], 0, rt::VAL_DOT);
    for (int x = 631; x < 700; ++x) EXPECT_NE(Pixel(x, 460), kRed);

    PathDPSTSwitch d;
    MakeDot(t.dots[5], 760, 480);
    MakeDot(t.dots[6], 740, 472);
    MakeDot(t.dots[7], 740, 488);
    MakeDPSTSwitchDots(d, 5, 6, 7, 0, t.dots);
    DrawDPSTSwitchOn(c, d);
    EXPECT_EQ(Pixel(742, 470), kMagenta);  // throw 0 end (x2 + 2, y2 - 2)
    EXPECT_EQ(Pixel(742, 486), kWhite);
    d.state = 1;
    DrawDPSTSwitchOn(c, d);
    EXPECT_EQ(Pixel(742, 486), kMagenta);
    EXPECT_EQ(Pixel(742, 470), kWhite);

    // Without a position nothing is drawn.
    PathDPSTSwitch flat;
    MakeDPSTSwitchDots(flat, 0, 0, 0, 1, t.dots);
    DrawDPSTSwitchOn(c, flat);
    EXPECT_EQ(Pixel(628, 458), kWhite);
    EXPECT_EQ(Pixel(632, 458), kWhite);
}

}  // namespace
