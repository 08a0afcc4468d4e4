// Random and truncated configuration-set and exchange text fed to the readers: no crash, no
// hang, a clear refusal for what is not a settings file, and register values that stay 9-bit.
#include <unistd.h>

#include <chrono>
#include <random>

#include "regmap/exchange.h"
#include "tests/regmap/config_test_support.h"

namespace {

namespace fs = std::filesystem;

const std::string kValid = cfgtest::Crlf(std::string(cfgtest::kJorbDefault) +
                                         "; comment\n[Warm/Audio Control]\n0x4=0x51\n0x6 = -3\n0x7 =\n");

std::string RandomText(std::mt19937& rng, size_t size) {
    static const std::string alphabet = "[]=/;0x1aF9 \t\r\n-+#Default/Audio Control";
    std::uniform_int_distribution<int> pick(0, 9), ch(0, static_cast<int>(alphabet.size()) - 1), byte(0, 255);
    std::string text;
    text.reserve(size);
    for (size_t i = 0; i < size; ++i)
        text += pick(rng) < 8 ? alphabet[static_cast<size_t>(ch(rng))] : static_cast<char>(byte(rng));
    return text;
}

// What an INI object makes of a text: every section with its items, names with each run of
// blanks as one blank (as the converters write them) and values as the readers take them.
std::string Canonical(const std::string& text) {
    auto collapse = [](const std::string& s) {
        std::string out;
        for (char c : s) {
            const bool blank = c == ' ' || c == '\t';
            if (blank && (out.empty() || out.back() == ' ')) continue;
            out += blank ? ' ' : c;
        }
        while (!out.empty() && out.back() == ' ') out.pop_back();
        return out;
    };
    rt::IniText ini = rt::Ini_New(0);
    rt::Ini_ReadFromString(ini, text);
    std::string out;
    for (int i = 1; i <= rt::Ini_NumberOfSections(ini); ++i) {
        std::string section, key, value;
        rt::Ini_NthSectionName(ini, i, &section);
        out += '[';
        out += collapse(section);
        out += "]\n";
        for (int k = 1; rt::Ini_NthItem(ini, section.c_str(), k, &key, &value) == 1; ++k) {
            int number = 0;
            out += collapse(key);
            out += '=';
            out += ParseExchangeValue(value, &number) ? std::to_string(number) : value;
            out += '\n';
        }
    }
    rt::Ini_Dispose(ini);
    return out;
}

class ConfigFuzzTest : public shelltest::ShellFixture {
protected:
    rt::ScriptedPrompter ask;
    fs::path dir;
    void SetUp() override {
        ShellFixture::SetUp();
        if (HasFatalFailure()) return;
        rt::SetPrompter(&ask);
        ResetConfigTables();
        dir = fs::temp_directory_path() / ("codecbench-fuzz-" + std::to_string(::getpid()));
        fs::create_directories(dir);
        DeviceAttached = 0;
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir, ec);
        ShellFixture::TearDown();
    }

    // One text through every reader.
    void Feed(const std::string& text) {
        const std::string hex = ConfigTextToHex(text), dec = ConfigTextToDecimal(text);
        EXPECT_EQ(ConfigTextToHex(hex), hex);
        EXPECT_EQ(ConfigTextToDecimal(dec), dec);

        const fs::path path = dir / "fuzz.dat";
        cfgtest::WriteFile(path, text);
        const int format = GetConfigformat(path.c_str());
        EXPECT_TRUE(format >= 0 && format <= 2);
        ask.Clear();
        rt::IniText ini = nullptr;
        const int opened = InitConfigFor(CFG_JORB, &ini, path.c_str(), 0, 0);
        EXPECT_TRUE(opened == 1 || opened == -1);
        if (opened == -1) {
            EXPECT_EQ(ask.Shown().size(), 1u);
            EXPECT_EQ(ask.Shown()[0].text, " Error Opening Config File\n" + path.string() +
                                               " holds no configuration set: it is not a configuration file. It was "
                                               "left as it is.");
        }
        const std::vector<std::string> names = ConfigSetNames(ini);
        for (size_t i = 0; i < names.size() && i < 4; ++i) {
            StartProgressBar("Loading configuration ...", 6);
            const int loaded = LoadSingleConfigFor(i % 2 ? CFG_ZUTB : CFG_PYKA, ini, names[i].c_str(), i % 2);
            EXPECT_TRUE(loaded == 0 || loaded == 1);
            EXPECT_EQ(ProgressCurrentStep(), ProgressTotalSteps());
        }
        for (int r = 0; r < 128; ++r) ASSERT_LE(CFG_REG[r], 0x1FFu) << r;
        rt::Ini_Dispose(ini);

        // The converters and the reader agree on every line: a text read directly and after a
        // round trip through both converters gives the same sections, keys and values.
        EXPECT_EQ(Canonical(ConfigTextToDecimal(hex)), Canonical(text));
    }
};

TEST_F(ConfigFuzzTest, TruncatedSettingsText) {
    for (size_t cut = 0; cut <= kValid.size(); cut += 7) Feed(kValid.substr(0, cut));
    Feed(ConfigTextToHex(kValid).substr(0, 333));
}

TEST_F(ConfigFuzzTest, RandomText) {
    std::mt19937 rng(20240611);
    for (int i = 0; i < 300; ++i) {
        std::uniform_int_distribution<size_t> size(0, 600);
        Feed(RandomText(rng, size(rng)));
    }
}

TEST_F(ConfigFuzzTest, HugeLinesAndFiles) {
    Feed("[" + std::string(200000, 'a') + "/Audio Control]\n0x4 = " + std::string(100000, '9') + "\n");
    std::mt19937 rng(7);
    Feed(RandomText(rng, 1 << 20));
    std::string many;
    for (int i = 0; i < 3000; ++i) many += "[S" + std::to_string(i) + "/Power Management]\n0x1 = 1\n";
    Feed(many);
    // Reading is linear in the size of the text.
    std::string sections;
    for (int i = 0; i < 50000; ++i) {
        const std::string n = std::to_string(i);
        sections.append("[S").append(n).append("/Power Management]\n0x1 = ").append(n).append("\n");
    }
    Feed(sections);
}

}  // namespace
