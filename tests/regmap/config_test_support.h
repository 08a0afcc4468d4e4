// Fixture of the configuration-set tests: the real start-up on the emulated board, a fresh
// project directory (CODECBENCH_HOME), popups answered by script, and helpers for files.
#pragma once

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "boardhid/codec_start_values.h"
#include "regmap/config_list.h"
#include "regmap/config_sets.h"
#include "regmap/config_tables.h"
#include "runtime/scripted_prompter.h"
#include "shell/import_export.h"
#include "shell/progress.h"
#include "tests/shell/model_test_support.h"
#include "tests/support/file_text.h"

namespace cfgtest {

using namespace ui::AudioCodec_pan;
using testsupport::Crlf;
using testsupport::ReadFile;
using testsupport::WriteFile;
using Strings = std::vector<std::string>;

// A file of `size` bytes that starts with `head`, the rest a hole taking no disk space.
inline void WriteSparseFile(const std::filesystem::path& path, const std::string& head, uintmax_t size) {
    WriteFile(path, head);
    std::filesystem::resize_file(path, size);
}

// What tells one version of a file from another without reading it: same inode, size and
// modification time means nothing wrote or replaced it.
inline std::string FileStamp(const std::filesystem::path& path) {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) return "missing";
    return std::to_string(st.st_ino) + ":" + std::to_string(st.st_size) + ":" + std::to_string(st.st_mtim.tv_sec) +
           "." + std::to_string(st.st_mtim.tv_nsec);
}

inline std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

// "Default" of a new Jorb file made from the start contents of CFG_REG (LF line ends).
inline const char* kJorbDefault = R"([Default/Software Reset]
0x0 = 0

[Default/Power Management]
0x1 = 0
0x2 = 0
0x3 = 0

[Default/Audio Control]
0x4 = 80
0x5 = 0
0x6 = 320
0x7 = 0
0x8 = 0
0x9 = 0
0xa = 0
0xb = 255
0xc = 255
0xd = 0
0xe = 256
0xf = 255
0x10 = 255
0x11 = 0

[Default/Equalizer]
0x12 = 300
0x13 = 44
0x14 = 44
0x15 = 44
0x16 = 44

[Default/DAC Limiter]
0x18 = 50
0x19 = 0

[Default/Notch Filter]
0x1b = 0
0x1c = 0
0x1d = 0
0x1e = 0

[Default/ALC Control]
0x20 = 56
0x21 = 11
0x22 = 50
0x23 = 16

[Default/PLL Control]
0x24 = 8
0x25 = 12
0x26 = 147
0x27 = 233

[Default/Mic Bias Mode]
0x28 = 0

[Default/3D Control]
0x29 = 0

[Default/Input Output Mixer]
0x2b = 0
0x2c = 51
0x2d = 16
0x2e = 16
0x2f = 256
0x30 = 256
0x31 = 2
0x32 = 1
0x33 = 1
0x34 = 57
0x35 = 57
0x36 = 57
0x37 = 57
0x38 = 1
0x39 = 1
0x3a = 0

[Default/PCM Timeslot]
0x3b = 0
0x3c = 32
0x3d = 0
0x3e = 0

)";

class ConfigFixture : public modeltest::ModelFixture {
protected:
    rt::ScriptedPrompter ask;

    void SetUp() override {
        ResetConfigTables();
        ResetConfigSetState();
        ResetConfigListState();
        ModelFixture::SetUp();
        if (HasFatalFailure()) return;
        rt::SetPrompter(&ask);
    }

    void TearDown() override {
        ModelFixture::TearDown();
        ResetConfigTables();
        ResetConfigSetState();
        ResetConfigListState();
    }

    // CFG_REG back to its start contents (the choices read the chip back).
    static void StartRegisters() {
        std::fill(std::begin(CFG_REG), std::end(CFG_REG), 0u);
        std::copy(std::begin(boardhid::kCodecStartValues), std::end(boardhid::kCodecStartValues), CFG_REG);
    }

    std::filesystem::path File(const std::string& name) const { return home / name; }

    std::vector<std::string> ListItems(int panel, int list) { return RingLabels(panel, list); }
    std::vector<int> Ticks(int panel, int list) {
        std::vector<int> out;
        int count = 0;
        rt::GetNumListItems(panel, list, &count);
        for (int i = 0; i < count; ++i) {
            int checked = 0;
            rt::IsListItemChecked(panel, list, i, &checked);
            if (checked) out.push_back(i);
        }
        return out;
    }

    // Popups other than the file pickers and questions, as "title|text".
    std::vector<std::string> Messages() const {
        std::vector<std::string> out;
        for (const auto& p : ask.Shown())
            if (p.kind == rt::ScriptedPrompter::Kind::Message) out.push_back(p.title + "|" + p.text);
        return out;
    }

    // Codec block-write reports received (command without the mode bits 0x15 to 0x17).
    std::vector<shelltest::Report> BlockWrites() const {
        std::vector<shelltest::Report> out;
        for (const shelltest::Report& r : board->ReceivedReports()) {
            const int code = r.empty() ? 0 : (r[0] & 0x3F);
            if (code >= CMD_CODEC_WRITE_BLOCK1 && code <= CMD_CODEC_WRITE_BLOCK3) out.push_back(r);
        }
        return out;
    }

    // The registers a report's payload carries, as (register, value).
    static std::vector<std::pair<int, int>> Pairs(const shelltest::Report& r) {
        std::vector<std::pair<int, int>> out;
        const int length = (r[1] << 8) | r[2];
        for (int i = 0; i + 1 < length; i += 2)
            out.emplace_back(r[3 + i] >> 1, ((r[3 + i] & 1) << 8) | r[4 + i]);
        return out;
    }
};

}  // namespace cfgtest
