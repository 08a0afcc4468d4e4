// The configuration-set list of the path panels: fill, load, add, update and delete, driven
// through the panels' callbacks, checked on the list, the file, CFG_REG and the board.
#include <gmock/gmock.h>
#include <QAccessible>
#include <QLayout>
#include <QListWidget>

#include "boardhid/emulator_control.h"
#include "link/chip_operation.h"
#include "panels/MNPath_pan.h"
#include "panels/MNPykbPath_pan.h"
#include "panels/cfgEQJora_pan.h"
#include "panels/cfgPathJora_pan.h"
#include "panels/cfgPathJorb_pan.h"
#include "panels/cfgPathZuta_pan.h"
#include "panels/cfgPathZutb_pan.h"
#include "runtime/testing.h"
#include "tests/regmap/config_test_support.h"
#include "tests/support/popup_texts.h"

namespace {

using namespace cfgtest;  // the fixture, its file helpers and ui::AudioCodec_pan
namespace jora = ui::cfgPathJora_pan;
namespace zuta = ui::cfgPathZuta_pan;
namespace zutb = ui::cfgPathZutb_pan;
namespace mn = ui::MNPath_pan;

// "Default" of the Jorb file with "Default" renamed and some values changed.
std::string JorbSet(const std::string& name, const std::vector<std::pair<std::string, std::string>>& changes = {}) {
    std::string text = ReplaceAll(cfgtest::kJorbDefault, "[Default/", "[" + name + "/");
    for (const auto& [from, to] : changes) text = ReplaceAll(text, from, to);
    return text;
}

class ConfigListTest : public ConfigFixture {
protected:
    // The Jora set with "Default" made from the start registers.
    void ChooseJora() {
        StartRegisters();
        Menu(MENUBAR_DEVICE_StereoJora);
        StartRegisters();
        ask.Clear();
        board->ClearReceivedReports();
    }
    void Press(int panel, int control) { rt::CallCtrlCallback(panel, control, rt::EVENT_COMMIT, 0, 0); }
    void Add(const std::string& name) {
        ask.QueuePrompt(name);
        Press(PHdlPathJora, jora::CFGPATHJora_ADD_CFG);
    }
    Strings JoraList() { return ListItems(PHdlPathJora, jora::CFGPATHJora_STD_CFG); }
    std::string JoraFile() { return ReadFile(File("STconfigJora.dat")); }
};

// How much wider than the list the widest name it shows is (0 when each shows whole).
int NamesCutBy(int panel, int list) {
    auto* names = qobject_cast<QListWidget*>(rt::testing::ControlWidget(panel, list));
    if (!names) return -1;
    if (QLayout* lay = names->parentWidget()->layout()) lay->activate();
    return std::max(0, names->sizeHintForColumn(0) - (names->width() - 2 * names->frameWidth()));
}

// Each set once, in file order, its name shown whole.
TEST_F(ConfigListTest, ListShowsEachSetOnceInFileOrder) {
    StartRegisters();
    rt::IniText ini = rt::Ini_New(0);
    for (const char* name : {"Default", "Bright", "Mic to HP -1"}) CreateConfigFile(ini, File("STconfig.dat").c_str(), name, 0);
    rt::IniText z = rt::Ini_New(0);
    for (const char* name : {"Default", "Mic to HP -1", "Soft"}) CreateConfigFileZutb(z, File("STZutbconfig.dat").c_str(), name, 0);
    Menu(MENUBAR_DEVICE_StereoZuta);
    EXPECT_EQ(ListItems(PHandleSTPathZuta, zuta::CFGPATHZuta_STD_CFG), (Strings{"Default", "Bright", "Mic to HP -1"}));
    EXPECT_EQ(NamesCutBy(PHandleSTPathZuta, zuta::CFGPATHZuta_STD_CFG), 0);
    Menu(MENUBAR_DEVICE_StereoJorb);
    EXPECT_EQ(ListItems(PHandleSTPath, ui::cfgPathJorb_pan::CFGPATHJorb_STD_CFG), (Strings{"Default", "Bright", "Mic to HP -1"}));
    EXPECT_EQ(NamesCutBy(PHandleSTPath, ui::cfgPathJorb_pan::CFGPATHJorb_STD_CFG), 0);
    Menu(MENUBAR_DEVICE_StereoZutb);
    EXPECT_EQ(ListItems(PHandleSTPathZutb, zutb::CFGPATHZutb_STD_CFG), (Strings{"Default", "Mic to HP -1", "Soft"}));
    EXPECT_EQ(NamesCutBy(PHandleSTPathZutb, zutb::CFGPATHZutb_STD_CFG), 0);
    std::string name;
    ASSERT_TRUE(GetConfigNameFromIniTextZutb(STIniConfig, &name, 67));
    EXPECT_EQ(name, "Soft");
    // Sets of any number of sections, names differing only in case counted once.
    WriteFile(File("STconfigJora.dat"), "[A/Power Management]\n0x1 = 1\n[A/Equalizer]\n0x12 = 2\n"
                                        "[B/Power Management]\n0x1 = 3\n[a/PLL Control]\n0x24 = 4\n[Mic to HP -1]\n0x1 = 5\n");
    Menu(MENUBAR_DEVICE_StereoJora);
    EXPECT_EQ(JoraList(), (Strings{"A", "B", "Mic to HP -1"}));
    EXPECT_EQ(NamesCutBy(PHdlPathJora, jora::CFGPATHJora_STD_CFG), 0);
    rt::Ini_Dispose(ini);
    rt::Ini_Dispose(z);
}

// "S1", "S2", ... (built by appending: GCC 12 warns falsely on a literal + std::to_string).
std::string SetName(int i) {
    std::string name = "S";
    name += std::to_string(i);
    return name;
}

// After the power-up emptied the "Software Reset" group, new sets have one section fewer and the
// list still shows each set once, in order.
TEST_F(ConfigListTest, ListFollowsSetsWrittenAfterThePowerUp) {
    ChooseJora();
    EmptySoftwareResetGroup(ConfigGroups_Jora);
    Strings expected{"Default"};
    for (int i = 1; i <= 13; ++i) {
        Add(SetName(i));
        expected.push_back(SetName(i));
    }
    EXPECT_EQ(JoraList(), expected);
    EXPECT_EQ(rt::Ini_NumberOfSections(STIniConfig), 12 + 13 * 11);
    EXPECT_EQ(JoraFile().find("[S1/Software Reset]"), std::string::npos);
    EXPECT_EQ(JoraFile(), Crlf(cfgtest::kJorbDefault) + [&] {
        std::string sets;
        for (int i = 1; i <= 13; ++i) {
            std::string resetSection = "[";
            resetSection += SetName(i);
            resetSection += "/Software Reset]\n0x0 = 0\n\n";
            sets += ReplaceAll(JorbSet(SetName(i)), resetSection, "");
        }
        return Crlf(sets);
    }());
    // Each model's table is its own: after the Jorb power-up a Jorb set has no "Software Reset"
    // section, a Zuta set in the same file still has one.
    Menu(MENUBAR_DEVICE_StereoJorb);
    EmptySoftwareResetGroup(ConfigGroups);
    ask.QueuePrompt("J");
    Press(PHandleSTPath, ui::cfgPathJorb_pan::CFGPATHJorb_ADD_CFG);
    Menu(MENUBAR_DEVICE_StereoZuta);
    ask.QueuePrompt("Z");
    Press(PHandleSTPathZuta, zuta::CFGPATHZuta_ADD_CFG);
    const std::string shared = ReadFile(File("STconfig.dat"));
    EXPECT_EQ(shared.find("[J/Software Reset]"), std::string::npos);
    EXPECT_NE(shared.find("[J/Power Management]"), std::string::npos);
    EXPECT_NE(shared.find("[Z/Software Reset]"), std::string::npos);
    EXPECT_EQ(ListItems(PHandleSTPathZuta, zuta::CFGPATHZuta_STD_CFG), (Strings{"Default", "J", "Z"}));
}

TEST_F(ConfigListTest, AddStoresTheRegistersAsANewSet) {
    ChooseJora();
    CFG_REG[4] = 81;
    Add("  Bright ");
    EXPECT_EQ(JoraList(), (Strings{"Default", "Bright"}));
    EXPECT_EQ(JoraFile(), Crlf(cfgtest::kJorbDefault + JorbSet("Bright", {{"0x4 = 80", "0x4 = 81"}})));
    ASSERT_EQ(ask.Shown().size(), 1u);
    EXPECT_EQ(ask.Shown()[0].title, "Config Entry");
    EXPECT_EQ(ask.Shown()[0].text, "Enter name for Configuration");
}

// Cancel adds nothing; a refused name, or an existing set's name not to be replaced, brings the
// dialog back holding the text typed, until a name is taken or the user cancels.
TEST_F(ConfigListTest, AddRefusesOrConfirmsNamesAndAsksAgainWithTheTextTyped) {
    ChooseJora();
    const std::string before = JoraFile();
    auto prompts = [&] {
        Strings held;
        for (const auto& p : ask.Shown())
            if (p.kind == rt::ScriptedPrompter::Kind::Prompt) held.push_back(p.held + "|" + p.answer);
        return held;
    };
    ask.QueuePromptCancel();
    Press(PHdlPathJora, jora::CFGPATHJora_ADD_CFG);
    EXPECT_EQ(prompts(), Strings{"|cancel"});
    ask.Clear();
    for (const char* bad : {"   ", "a/b", "x[y", "z]"}) ask.QueuePrompt(bad);
    ask.QueuePromptCancel();
    Press(PHdlPathJora, jora::CFGPATHJora_ADD_CFG);
    EXPECT_EQ(JoraFile(), before);
    EXPECT_EQ(JoraList(), Strings{"Default"});
    EXPECT_EQ(prompts(), (Strings{"|   ", "   |a/b", "a/b|x[y", "x[y|z]", "z]|cancel"}));
    EXPECT_EQ(Messages(), (Strings{"Config Entry|Please enter a name for the configuration.",
                                   "Config Entry|A configuration name cannot contain \"/\", \"[\" or \"]\".",
                                   "Config Entry|A configuration name cannot contain \"/\", \"[\" or \"]\".",
                                   "Config Entry|A configuration name cannot contain \"/\", \"[\" or \"]\"."}));
    // Mended in the dialog, the name is taken.
    ask.Clear();
    ask.QueuePrompt("Bright/2");
    ask.QueuePrompt("Bright 2");
    Press(PHdlPathJora, jora::CFGPATHJora_ADD_CFG);
    EXPECT_EQ(prompts(), (Strings{"|Bright/2", "Bright/2|Bright 2"}));
    EXPECT_EQ(JoraList(), (Strings{"Default", "Bright 2"}));

    // An existing name is confirmed first; No asks again with the name typed.
    ask.Clear();
    const std::string withBright = JoraFile();
    CFG_REG[6] = 0x141;
    ask.QueueYesNo(false);
    ask.QueuePrompt("DEFAULT");
    ask.QueuePromptCancel();
    Press(PHdlPathJora, jora::CFGPATHJora_ADD_CFG);
    EXPECT_EQ(JoraFile(), withBright);
    ASSERT_EQ(ask.Shown().size(), 3u);
    EXPECT_EQ(ask.Shown()[1].text, "A configuration named \"Default\" exists already.\n"
                                   "Replace its values with the current registers?");
    EXPECT_EQ(prompts(), (Strings{"|DEFAULT", "DEFAULT|cancel"}));
    ask.QueueYesNo(true);
    Add("default");
    EXPECT_EQ(JoraFile(), Crlf(JorbSet("Default", {{"0x6 = 320", "0x6 = 321"}})) +
                              withBright.substr(Crlf(cfgtest::kJorbDefault).size()));
    EXPECT_EQ(JoraList(), (Strings{"Default", "Bright 2"}));
}

TEST_F(ConfigListTest, UpdateRewritesTheSelectedSetOnly) {
    ChooseJora();
    Add("Bright");
    rt::SetCtrlIndex(PHdlPathJora, jora::CFGPATHJora_STD_CFG, 1);
    CFG_REG[0x12] = 301;
    ask.QueueYesNo(false);
    Press(PHdlPathJora, jora::CFGPATHJora_UPDATE_CFG);
    EXPECT_EQ(JoraFile(), Crlf(cfgtest::kJorbDefault + JorbSet("Bright")));
    Press(PHdlPathJora, jora::CFGPATHJora_UPDATE_CFG);
    EXPECT_EQ(JoraFile(), Crlf(cfgtest::kJorbDefault + JorbSet("Bright", {{"0x12 = 300", "0x12 = 301"}})));
    EXPECT_EQ(JoraList(), (Strings{"Default", "Bright"}));
    EXPECT_EQ(ask.Shown().back().title, "Update configuration");
    EXPECT_EQ(ask.Shown().back().text, "Are you sure you want to update this configuration \"Bright\"?");
}

TEST_F(ConfigListTest, DeleteRemovesEverySectionOfTheSet) {
    ChooseJora();
    Add("Bright");
    Add("Dark");
    rt::SetCtrlIndex(PHdlPathJora, jora::CFGPATHJora_STD_CFG, 1);
    ask.QueueYesNo(false);
    Press(PHdlPathJora, jora::CFGPATHJora_DEL_CFG);
    EXPECT_EQ(JoraList(), (Strings{"Default", "Bright", "Dark"}));
    Press(PHdlPathJora, jora::CFGPATHJora_DEL_CFG);
    EXPECT_EQ(JoraList(), (Strings{"Default", "Dark"}));
    EXPECT_EQ(JoraFile(), Crlf(cfgtest::kJorbDefault + JorbSet("Dark")));
    EXPECT_EQ(ask.Shown().back().title, "Delete configuration");
    EXPECT_EQ(ask.Shown().back().text, "Are you sure you want to delete this configuration \"Bright\"?");
    // Until the list is empty; then Delete and Update refuse after their question.
    Press(PHdlPathJora, jora::CFGPATHJora_DEL_CFG);
    Press(PHdlPathJora, jora::CFGPATHJora_DEL_CFG);
    EXPECT_TRUE(JoraList().empty());
    EXPECT_EQ(JoraFile(), "");
    ask.Clear();
    Press(PHdlPathJora, jora::CFGPATHJora_DEL_CFG);
    Press(PHdlPathJora, jora::CFGPATHJora_UPDATE_CFG);
    EXPECT_EQ(Messages(), (Strings{"Delete Warning!|Cannot Delete Default Config!",
                                   "Update Warning!|Cannot Update Default Config!"}));
    ASSERT_EQ(ask.Shown().size(), 4u);  // each after its question, which names no set
    EXPECT_EQ(ask.Shown()[0].text, "Are you sure you want to delete this configuration?");
    EXPECT_EQ(ask.Shown()[2].text, "Are you sure you want to update this configuration?");
    EXPECT_EQ(JoraFile(), "");

    // Names are exact: deleting "Loud " leaves "Loud".
    WriteFile(File("STconfigJora.dat"), Crlf(JorbSet("Loud") + JorbSet("Loud ", {{"0x4 = 80", "0x4 = 81"}})));
    Menu(MENUBAR_DEVICE_StereoJorb);
    ChooseJora();
    ASSERT_EQ(JoraList(), (Strings{"Loud", "Loud "}));
    rt::SetCtrlIndex(PHdlPathJora, jora::CFGPATHJora_STD_CFG, 1);
    Press(PHdlPathJora, jora::CFGPATHJora_DEL_CFG);
    EXPECT_EQ(JoraList(), Strings{"Loud"});
    EXPECT_EQ(JoraFile(), Crlf(JorbSet("Loud")));

    // Nor do names that begin alike reach each other: updating and then deleting "Loud" leaves
    // "Loud " and "Loudest" as they are, in the list and in the file.
    const std::string loudBlank = JorbSet("Loud ", {{"0x4 = 80", "0x4 = 81"}});
    const std::string loudest = JorbSet("Loudest", {{"0x4 = 80", "0x4 = 83"}});
    const auto loud = [](const char* r4) { return JorbSet("Loud", {{"0x4 = 80", r4}}); };
    WriteFile(File("STconfigJora.dat"), Crlf(cfgtest::kJorbDefault + loudBlank + loud("0x4 = 82") + loudest));
    Menu(MENUBAR_DEVICE_StereoJorb);
    ChooseJora();
    ASSERT_EQ(JoraList(), (Strings{"Default", "Loud ", "Loud", "Loudest"}));
    rt::SetCtrlIndex(PHdlPathJora, jora::CFGPATHJora_STD_CFG, 2);
    CFG_REG[4] = 84;
    Press(PHdlPathJora, jora::CFGPATHJora_UPDATE_CFG);
    EXPECT_EQ(ask.Shown().back().text, "Are you sure you want to update this configuration \"Loud\"?");
    EXPECT_EQ(JoraFile(), Crlf(cfgtest::kJorbDefault + loudBlank + loud("0x4 = 84") + loudest));
    rt::SetCtrlIndex(PHdlPathJora, jora::CFGPATHJora_STD_CFG, 2);
    Press(PHdlPathJora, jora::CFGPATHJora_DEL_CFG);
    EXPECT_EQ(ask.Shown().back().text, "Are you sure you want to delete this configuration \"Loud\"?");
    EXPECT_EQ(JoraList(), (Strings{"Default", "Loud ", "Loudest"}));
    EXPECT_EQ(JoraFile(), Crlf(cfgtest::kJorbDefault + loudBlank + loudest));
}

// A double click or Load applies the set and ticks it; Load on the ticked item does nothing.
TEST_F(ConfigListTest, LoadAppliesTheSetAndTicksIt) {
    StartRegisters();
    Menu(MENUBAR_DEVICE_Mono);
    StartRegisters();
    CFG_REG[4] = 0x51;
    ask.QueuePrompt("Warm");
    Press(PHandleMNPath, mn::MNPATH_ADD_CFG);
    StartRegisters();
    board->ClearReceivedReports();
    const int list = mn::MNPATH_MNCONFIGLIST;
    rt::SetCtrlIndex(PHandleMNPath, list, 1);
    rt::CallCtrlCallback(PHandleMNPath, list, rt::EVENT_LEFT_DOUBLE_CLICK, 0, 0);
    EXPECT_EQ(CFG_REG[4], 0x51u);
    EXPECT_EQ(Ticks(PHandleMNPath, list), std::vector<int>{1});
    EXPECT_EQ(BlockWrites().size(), 3u);
    EXPECT_EQ(board->CodecRegister(4), 0x51);

    board->ClearReceivedReports();
    CFG_REG[4] = 0x50;
    Press(PHandleMNPath, mn::MNPATH_BLoadConfig);  // already ticked
    EXPECT_TRUE(board->ReceivedReports().empty());
    EXPECT_EQ(CFG_REG[4], 0x50u);

    rt::SetCtrlIndex(PHandleMNPath, list, 0);
    CFG_REG[4] = 0x33;
    Press(PHandleMNPath, mn::MNPATH_BLoadConfig);
    EXPECT_EQ(CFG_REG[4], 0x50u);
    EXPECT_EQ(Ticks(PHandleMNPath, list), std::vector<int>{0});
    EXPECT_EQ(BlockWrites().size(), 3u);

    // A click on another item's check box does not move the tick.
    rt::CheckListItem(PHandleMNPath, list, 1, 1);
    rt::CallCtrlCallback(PHandleMNPath, list, rt::EVENT_COMMIT, 0, 0);
    EXPECT_EQ(Ticks(PHandleMNPath, list), std::vector<int>{0});
    // Other events on the list do nothing.
    board->ClearReceivedReports();
    rt::CallCtrlCallback(PHandleMNPath, list, rt::EVENT_LEFT_CLICK, 0, 0);
    EXPECT_TRUE(board->ReceivedReports().empty());
    EXPECT_THAT(Messages(), ::testing::IsEmpty());

    // The board refuses the first block: nothing more goes out, the set is not ticked as
    // loaded, and one popup names the set and the block.
    board->SetFaults(boardhid::RefuseOneSend());
    rt::SetCtrlIndex(PHandleMNPath, list, 1);
    Press(PHandleMNPath, mn::MNPATH_BLoadConfig);
    EXPECT_TRUE(board->ReceivedReports().empty());
    EXPECT_EQ(Ticks(PHandleMNPath, list), std::vector<int>{0});
    EXPECT_EQ(Messages(), std::vector<std::string>{std::string("Warning -- Operation aborted|") +
                                                   "\"Load configuration \"Warm\"\" stopped: the board refused the "
                                                   "block write of R1 to R24, and nothing after it was sent." +
                                                   testsupport::kPanelsMayDiffer});
}

// A set loaded while the equaliser page shows rings never opened: the refresh that shows it
// tells assistive technology the new text of a ring it changed, and nothing of one it left.
std::vector<std::pair<QObject*, std::string>> valueEvents;
void RecordValueEvent(QAccessibleEvent* e) {
    if (e->type() == QAccessible::ValueChanged)
        valueEvents.emplace_back(e->object(), static_cast<QAccessibleValueChangeEvent*>(e)->value().toString().toStdString());
}

TEST_F(ConfigListTest, LoadedSetIsToldByTheRingsThatShowIt) {
    namespace eq = ui::cfgEQJora_pan;
    ChooseJora();
    CFG_REG[19] = 0x2A;  // band 2: +2 dB
    Add("Warm");
    StartRegisters();
    SetFlag(&FlagCFGUpdate);
    Tick(PANEL_STTIMER);
    ASSERT_EQ(rt::EasyTab_SetAttribute(PHandlePanel, tabCtrl, rt::ATTR_EASY_TAB_ACTIVE_PANEL, PHdlEQJora), 0);
    QWidget* band2 = rt::testing::ControlWidget(PHdlEQJora, eq::CFGEQ_EQ2G);
    ASSERT_NE(band2, nullptr);
    ASSERT_TRUE(band2->isVisible());
    EXPECT_EQ(QAccessible::queryAccessibleInterface(band2)->text(QAccessible::Value), "0 dB");

    valueEvents.clear();
    const rt::testing::AccessibilityWatch before = rt::testing::WatchAccessibility(RecordValueEvent);
    rt::SetCtrlIndex(PHdlPathJora, jora::CFGPATHJora_STD_CFG, 1);
    Press(PHdlPathJora, jora::CFGPATHJora_BLoadConfig);
    EXPECT_EQ(CFG_REG[19], 0x2Au);
    Tick(PANEL_STTIMER);
    rt::testing::WatchAccessibility(before);
    QWidget* band1 = rt::testing::ControlWidget(PHdlEQJora, eq::CFGEQ_EQ1G);
    Strings band2Told, band1Told;
    for (const auto& [object, text] : valueEvents) {
        if (object == band2) band2Told.push_back(text);
        if (object == band1) band1Told.push_back(text);
    }
    EXPECT_EQ(band2Told, Strings{"2 dB"});
    EXPECT_TRUE(band1Told.empty());  // it shows what it showed
    EXPECT_EQ(QAccessible::queryAccessibleInterface(band2)->text(QAccessible::Value), "2 dB");
}

// A set whose section names hold a NUL byte is not taken in; a failed save and a delete still
// finish, and the list, the object and the file keep agreeing. Values holding a NUL byte or a
// CR come back exactly after a failed save, and the next save writes them as they were.
TEST_F(ConfigListTest, SetNamesWithNulBytesAreNotTakenIn) {
    const std::string odd = JorbSet("Good", {{"0x4 = 80", std::string("0x4 = 8\0", 8) + "0"}, {"0x6 = 320", "0x6 = 3\r20"}});
    WriteFile(File("STconfigJora.dat"), Crlf(JorbSet("Default") + JorbSet(std::string("Ba\0d", 4)) + odd));
    ChooseJora();
    EXPECT_EQ(JoraList(), (Strings{"Default", "Good"}));
    const std::string object = rt::Ini_ToString(STIniConfig);
    EXPECT_EQ(object.find("[Ba"), std::string::npos);

    const std::string file = JoraFile();
    const std::string elsewhere = (home / "gone" / "STconfigJora.dat").string();
    const std::string kept = STcfgFileName;
    std::snprintf(STcfgFileName, kCfgFileNameSize, "%s", elsewhere.c_str());
    Add("Q");
    rt::SetCtrlIndex(PHdlPathJora, jora::CFGPATHJora_STD_CFG, 1);
    Press(PHdlPathJora, jora::CFGPATHJora_UPDATE_CFG);  // "Good"
    EXPECT_EQ(Messages().size(), 2u);
    EXPECT_EQ(rt::Ini_ToString(STIniConfig), object);
    EXPECT_EQ(JoraList(), (Strings{"Default", "Good"}));
    EXPECT_EQ(JoraFile(), file);

    std::snprintf(STcfgFileName, kCfgFileNameSize, "%s", kept.c_str());
    rt::SetCtrlIndex(PHdlPathJora, jora::CFGPATHJora_STD_CFG, 0);
    Press(PHdlPathJora, jora::CFGPATHJora_DEL_CFG);
    EXPECT_EQ(JoraList(), Strings{"Good"});
    EXPECT_EQ(JoraFile(), Crlf(odd));
}

// Pykc and Pykb share their file; a write that fails leaves list, object and file as they were.
TEST_F(ConfigListTest, SharedFileAndFailedWrites) {
    Menu(MENUBAR_DEVICE_Mono);
    ask.QueuePrompt("P");
    Press(PHandleMNPath, mn::MNPATH_ADD_CFG);
    Menu(MENUBAR_DEVICE_MonoPykb);
    namespace pykb = ui::MNPykbPath_pan;
    EXPECT_EQ(ListItems(PHandleMNPykbPath, pykb::MNPykbPATH_MNCONFIGLIST), (Strings{"Default", "P"}));

    const std::string file = ReadFile(File("MNconfig.dat"));
    const std::string object = rt::Ini_ToString(MNIniConfig);
    const std::string elsewhere = (home / "gone" / "MNconfig.dat").string();
    std::snprintf(MNcfgFileName, kCfgFileNameSize, "%s", elsewhere.c_str());
    CFG_REG[4] ^= 1;  // the update would change the set: its failure puts the old value back
    ask.Clear();
    ask.QueuePrompt("Q");
    Press(PHandleMNPykbPath, pykb::MNPykbPATH_ADD_CFG);
    rt::SetCtrlIndex(PHandleMNPykbPath, pykb::MNPykbPATH_MNCONFIGLIST, 1);
    Press(PHandleMNPykbPath, pykb::MNPykbPATH_DEL_CFG);
    Press(PHandleMNPykbPath, pykb::MNPykbPATH_UPDATE_CFG);
    const Strings messages = Messages();
    ASSERT_EQ(messages.size(), 3u);
    for (const std::string& m : messages) EXPECT_EQ(m.rfind("ERROR| Error Writing Config File\n" + elsewhere, 0), 0u) << m;
    EXPECT_EQ(ListItems(PHandleMNPykbPath, pykb::MNPykbPATH_MNCONFIGLIST), (Strings{"Default", "P"}));
    EXPECT_EQ(rt::Ini_ToString(MNIniConfig), object);
    EXPECT_EQ(ReadFile(File("MNconfig.dat")), file);
}

}  // namespace
