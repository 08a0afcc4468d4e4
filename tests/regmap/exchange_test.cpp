// Exchange-file conversion: layout, values, line handling, files and the set splice.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "regmap/config_sets.h"
#include "regmap/exchange.h"
#include "runtime/inifile.h"
#include "tests/support/file_text.h"

namespace {

namespace fs = std::filesystem;

using testsupport::Crlf;
using testsupport::ReadFile;
using testsupport::WriteFile;

class ExchangeTest : public ::testing::Test {
protected:
    fs::path dir;
    void SetUp() override {
        dir = fs::temp_directory_path() / ("codecbench-exchange-" + std::to_string(::getpid()));
        fs::create_directories(dir);
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
};

const std::string kDecimal = Crlf(
    "[Default/Software Reset]\n0x0 = 0\n\n"
    "[Default/Audio Control]\n0x4 = 80\n0x2c = 1\n0x6 = 320\n\n");

TEST_F(ExchangeTest, HexLayout) {
    EXPECT_EQ(ConfigTextToHex(kDecimal),
              Crlf("\n[Default/Software Reset] \n0x0 = 0x0\n"
                   "\n[Default/Audio Control] \n0x4 = 0x50\n0x2c = 0x1\n0x6 = 0x140\n"));
}

TEST_F(ExchangeTest, DecimalLayoutAndValues) {
    EXPECT_EQ(ConfigTextToDecimal(Crlf("\n[Warm/PLL Control] \n0x24 = 0x0\n0x25 = 0x1d\n0x26 = 300\n0x27 = 0X1F\n")),
              Crlf("\n[Warm/PLL Control] \n0x24 = 0\n0x25 = 29\n0x26 = 300\n0x27 = 31\n"));
    // A value the source already wrote in hexadecimal reads as such in the hexadecimal converter.
    EXPECT_EQ(ConfigTextToHex("[A/B]\n0x4 = 0x50\n"), Crlf("\n[A/B] \n0x4 = 0x50\n"));
    // Negative values keep their 32-bit pattern both ways.
    EXPECT_EQ(ConfigTextToHex("[A/B]\n0x1 = -1\n"), Crlf("\n[A/B] \n0x1 = 0xffffffff\n"));
    EXPECT_EQ(ConfigTextToDecimal("[A/B]\n0x1 = 0xffffffff\n"), Crlf("\n[A/B] \n0x1 = -1\n"));
}

// Both conversions give back, to an INI reader, the sets, keys and values of the source.
TEST_F(ExchangeTest, RoundTripKeepsEverySetKeyAndValue) {
    // Sets whose names differ only in a run of blanks stay apart.
    const std::string twoSets = std::string(kDecimal) + "[My Set/Audio Control]\r\n0x5 = 1\r\n\r\n" +
                                "[My  Set/Audio Control]\r\n0x5 = 2\r\n\r\n";
    for (const std::string& text : {std::string(kDecimal), twoSets}) {
        const std::string back = ConfigTextToDecimal(ConfigTextToHex(text));
        rt::IniText a = rt::Ini_New(0), b = rt::Ini_New(0);
        rt::Ini_ReadFromString(a, text);
        rt::Ini_ReadFromString(b, back);
        EXPECT_EQ(rt::Ini_ToString(a), rt::Ini_ToString(b));
        rt::Ini_Dispose(a);
        rt::Ini_Dispose(b);
    }
}

TEST_F(ExchangeTest, LinesAreConvertedOneByOne) {
    // Names keep their blanks; comments and other lines are kept as they stand; "key=value"
    // without blanks is an item too.
    EXPECT_EQ(ConfigTextToHex("; made by hand\r\n[My  Set/Audio   Control]\r\n0x5=7\r\n  0x6   =   8  \r\nnotes\r\n"),
              Crlf("; made by hand\n\n[My  Set/Audio   Control] \n0x5 = 0x7\n0x6 = 0x8\nnotes\n"));
    // A value that is no number is kept; "=" at the end of a line does not take the next line.
    EXPECT_EQ(ConfigTextToDecimal("[A/B]\n0x5 =\n300\n0x7 = loud\n0x8 = 0x\n"),
              Crlf("\n[A/B] \n0x5 = \n300\n0x7 = loud\n0x8 = 0x\n"));
    // Long lines are kept whole.
    const std::string name(300, 'n');
    EXPECT_EQ(ConfigTextToHex("[" + name + "/G]\n0x1 = 2\n"), Crlf("\n[" + name + "/G] \n0x1 = 0x2\n"));
    const std::string key = "0x1" + std::string(200, ' ') + "=" + std::string(200, ' ') + "17";
    EXPECT_EQ(ConfigTextToHex("[A/B]\n" + key + "\n"), Crlf("\n[A/B] \n0x1 = 0x11\n"));
}

// The converters take section lines as the INI reader does: a byte-order mark opening a later
// line is no part of it, and a section line with text after its "]" is no section (kept as it
// stands, its items read into no set).
TEST_F(ExchangeTest, SectionLinesAsTheReaderSeesThem) {
    const std::string text = "[A/B]\n0x1 = 1\n\xEF\xBB\xBF[C/D]\n0x2 = 2\n[E/F] ; note\n0x1 = 3\n";
    const std::string hex = ConfigTextToHex(text);
    EXPECT_EQ(hex, Crlf("\n[A/B] \n0x1 = 0x1\n\n[C/D] \n0x2 = 0x2\n[E/F] ; note\n0x1 = 0x3\n"));
    for (const std::string& pass : {text, ConfigTextToDecimal(hex)}) {
        rt::IniText ini = rt::Ini_New(0);
        rt::Ini_ReadFromString(ini, pass);
        EXPECT_EQ(rt::Ini_NumberOfSections(ini), 2);
        int value = 0;
        EXPECT_EQ(rt::Ini_GetInt(ini, "A/B", "0x1", &value), 1);
        EXPECT_EQ(value, 1);
        EXPECT_EQ(rt::Ini_GetInt(ini, "C/D", "0x2", &value), 1);
        EXPECT_EQ(value, 2);
        rt::Ini_Dispose(ini);
    }
}

TEST_F(ExchangeTest, FilesAreReplacedOnlyWhenTheSourceWasRead) {
    const fs::path source = dir / "source.dat", dest = dir / "dest.dat";
    WriteFile(source, kDecimal);
    ASSERT_EQ(ConvertConfigtoHexFormat(source.c_str(), dest.c_str()), 0);
    EXPECT_EQ(ReadFile(dest), ConfigTextToHex(kDecimal));
    const fs::path back = dir / "back.dat";
    ASSERT_EQ(ConvertConfigtoDecimalFormat(back.c_str(), dest.c_str()), 0);
    EXPECT_EQ(ReadFile(back), ConfigTextToDecimal(ConfigTextToHex(kDecimal)));

    // A missing source: the destination keeps its contents (or is not made at all).
    std::string why;
    EXPECT_EQ(ConvertConfigtoHexFormat((dir / "missing.dat").c_str(), dest.c_str(), &why), kExchangeReadError);
    EXPECT_FALSE(why.empty());
    EXPECT_EQ(ReadFile(dest), ConfigTextToHex(kDecimal));
    EXPECT_EQ(ConvertConfigtoDecimalFormat((dir / "new.dat").c_str(), (dir / "missing.dat").c_str()),
              kExchangeReadError);
    EXPECT_FALSE(fs::exists(dir / "new.dat"));
    // A destination that cannot be written.
    EXPECT_EQ(ConvertConfigtoHexFormat(source.c_str(), (dir / "no" / "such" / "x.dat").c_str()), kExchangeWriteError);
}

TEST_F(ExchangeTest, FormatOfTheFirstValue) {
    const fs::path p = dir / "f.dat";
    WriteFile(p, "\r\n[A/B] \r\n0x1 =\r\n0x2 = 0x1f\r\n0x3 = 4\r\n");
    EXPECT_EQ(GetConfigformat(p.c_str()), 2);
    WriteFile(p, "[A/B]\n0x2 = 31\n0x3 = 0x4\n");
    EXPECT_EQ(GetConfigformat(p.c_str()), 1);
    WriteFile(p, "[A/B]\n; 0x1 = 0x5\n");
    EXPECT_EQ(GetConfigformat(p.c_str()), 0);
    EXPECT_EQ(GetConfigformat((dir / "none.dat").c_str()), 0);
}

}  // namespace
