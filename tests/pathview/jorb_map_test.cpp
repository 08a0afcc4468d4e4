// The Jorb map as built at the model choice, and the groups it lights from the register copy.
#include <algorithm>
#include <set>

#include "tests/pathview/path_test_support.h"

using namespace pathtest;

namespace {

class JorbMap : public JorbPathFixture {
protected:
    std::set<int> LitGroups() {
        std::set<int> lit;
        for (int g = 0; g < kPathGroups; ++g)
            if (GroupOn(g)) lit.insert(g);
        return lit;
    }
    void ZeroRegisters() {
        for (int r = 0; r < 64; ++r) CFG_REG[r] = 0;
    }
    static bool Reversed(const PathLine& l) { return l.x1 > l.x2 || l.y1 > l.y2; }
};

TEST_F(JorbMap, BuiltAsDrawnWithEveryOtherSlotEmpty) {
    const PathTables& t = Tables();
    for (int d = 0; d < kPathDots; ++d) {
        if (d < 279) {
            EXPECT_TRUE(t.dots[d].x >= 49 && t.dots[d].x <= 890 && t.dots[d].y >= 22 && t.dots[d].y <= 530) << d;
        } else {
            EXPECT_EQ(t.dots[d].x + t.dots[d].y, 0) << d;
        }
    }
    auto built = [&](int s) { const PathLine& l = t.lines[s]; return l.x1 || l.y1 || l.x2 || l.y2; };
    for (int s = 0; s < kPathLines; ++s) EXPECT_EQ(built(s), s <= 176 && s != 153) << s;

    auto line = [&](int s) { const PathLine& l = t.lines[s]; return std::vector<int>{l.x1, l.y1, l.x2, l.y2}; };
    EXPECT_EQ(line(0), (std::vector<int>{50, 22, 163, 22}));
    EXPECT_EQ(line(1), (std::vector<int>{163, 22, 469, 22}));
    EXPECT_EQ(line(3), (std::vector<int>{560, 22, 560, 75}));
    EXPECT_EQ(line(173), (std::vector<int>{131, 122, 131, 197}));
    EXPECT_EQ(line(174), (std::vector<int>{131, 197, 131, 273}));
    EXPECT_EQ(line(175), (std::vector<int>{131, 197, 219, 197}));
    EXPECT_EQ(line(176), (std::vector<int>{258, 197, 341, 197}));

    // 39 segments are stored from their right or lower end; of those with a click action, only
    // 64, 77 and 132.
    std::set<int> reversed;
    for (int s = 0; s <= 176; ++s)
        if (built(s) && Reversed(t.lines[s])) reversed.insert(s);
    EXPECT_EQ(reversed.size(), 39u);
    std::set<int> clickable;
    for (const auto& row : pathview::JorbPathModel().clicks)
        if (row.hit == pathview::Hit::Segment) clickable.insert(row.numbers.begin(), row.numbers.end());
    std::set<int> both;
    std::set_intersection(reversed.begin(), reversed.end(), clickable.begin(), clickable.end(),
                          std::inserter(both, both.begin()));
    EXPECT_EQ(both, (std::set<int>{64, 77, 132}));

    const int sw[23][3] = {{67, 95, 86}, {67, 119, 86}, {67, 137, 86}, {67, 153, 86}, {67, 277, 86}, {67, 301, 86},
                           {67, 319, 86}, {67, 335, 86}, {584, 106, 604}, {584, 122, 604}, {584, 273, 604},
                           {584, 288, 604}, {718, 98, 738}, {718, 114, 738}, {718, 127, 738}, {718, 144, 738},
                           {718, 162, 738}, {718, 193, 738}, {718, 209, 738}, {718, 222, 738}, {718, 238, 738},
                           {695, 407, 714}, {695, 428, 714}};
    for (int i = 0; i < 23; ++i) {
        const PathSwitch& s = t.switchs[i];
        EXPECT_EQ((std::vector<int>{s.x1, s.y1, s.x2, s.y2}), (std::vector<int>{sw[i][0], sw[i][1], sw[i][2], sw[i][1]})) << i;
    }
    for (int i = 23; i < kPathSwitches; ++i) EXPECT_EQ(t.switchs[i].x1, -1) << i;

    const PathDPSTSwitch& d = t.DPSTSwitch[0];
    EXPECT_EQ((std::vector<int>{d.x1, d.y1, d.x2, d.y2, d.x3, d.y3}), (std::vector<int>{798, 411, 777, 404, 777, 417}));
    EXPECT_FALSE(HasPosition(t.DPSTSwitch[1]));

    int groups = 0;
    for (int g = 0; g < kPathGroups; ++g) groups += t.groups[g].lineCount > 0;
    EXPECT_EQ(groups, 62);
    EXPECT_EQ(t.groups[153].lineIndex, (std::vector<int>{101, 103, 95}));
    EXPECT_EQ(t.groups[153].switchIndex, 6);
    EXPECT_EQ(t.groups[171].lineCount, 0);
}

// Every switch and every wire that the click table names answers a click on its middle, and
// no item lies at the DAC block's centre.
TEST_F(JorbMap, EveryClickableItemAnswersItsOwnClick) {
    const PathTables& t = Tables();
    for (int i = 0; i <= 22; ++i) {
        const PathSwitch& s = t.switchs[i];
        EXPECT_EQ(GetMouseEventIndex((s.x1 + s.x2) / 2, s.y1), i) << "switch " << i;
    }
    for (const auto& row : pathview::JorbPathModel().clicks) {
        if (row.hit != pathview::Hit::Segment) continue;
        for (int n : row.numbers) {
            const PathLine& l = t.lines[n];
            EXPECT_EQ(GetMouseEventIndex((l.x1 + l.x2) / 2, (l.y1 + l.y2) / 2), 100 + n) << "segment " << n;
        }
    }
    EXPECT_EQ(GetMouseEventIndex(798, 411), 1000);
    EXPECT_EQ(GetMouseEventIndex(420, 200), -1);
    EXPECT_EQ(GetMouseEventIndex(343, 106), 138);
}

TEST_F(JorbMap, GroupsFollowTheRegisterCopy) {
    ZeroRegisters();
    FlagAudioInterfaceActive = 0;
    Refresh();
    EXPECT_EQ(LitGroups(), (std::set<int>{0, 23, 40, 53, 148, 177, 181, 204, 214, 215, 223, 225}));
    EXPECT_EQ(Tables().switchs[22].state, 0);  // groups 148 and 169 share it: 169 (R43 bit 0) sets it

    CFG_REG[43] = 0x030;
    Refresh();
    for (int g : {214, 215, 223, 225}) EXPECT_FALSE(GroupOn(g)) << g;
    CFG_REG[43] = 0x031;
    Refresh();
    for (int g : {169, 171, 223, 225}) EXPECT_TRUE(GroupOn(g)) << g;
    for (int g : {214, 215}) EXPECT_FALSE(GroupOn(g)) << g;
    EXPECT_EQ(Tables().switchs[22].state, 1);

    CFG_REG[43] = 0x000;
    CFG_REG[55] = 0x040;
    Refresh();
    EXPECT_FALSE(GroupOn(223));
    EXPECT_TRUE(GroupOn(225));

    CFG_REG[47] = 0x010;
    CFG_REG[2] = 0x010;
    Refresh();
    EXPECT_TRUE(GroupOn(36));
    EXPECT_TRUE(GroupOn(34));
    EXPECT_FALSE(GroupOn(10));

    CFG_REG[44] = 0x040;
    Refresh();
    EXPECT_TRUE(GroupOn(153));
    EXPECT_EQ(Tables().switchs[6].state, 1);

    EXPECT_FALSE(GroupOn(265));
    FlagAudioInterfaceActive = 1;
    Refresh();
    EXPECT_TRUE(GroupOn(265));
    EXPECT_EQ(Pixel(398, 380), kMagenta);
    // The view's start clears the flag and lights the start groups only.
    STPathViewInit();
    EXPECT_EQ(FlagAudioInterfaceActive, 0);
    EXPECT_EQ(LitGroups(), (std::set<int>{0, 23, 40, 53, 148, 177, 181, 204}));
}

}  // namespace
