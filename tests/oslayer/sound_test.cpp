// The sound service over the test backend (conversion to what a device takes, takes written
// as they come, saves that never replace silently) and over PortAudio without a sound device.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <thread>
#include <sys/stat.h>
#include <unistd.h>

#include "oslayer/sound.h"
#include "oslayer/sound_testing.h"
#include "oslayer/temp_names.h"
#include "tests/support/plain_user.h"
#include "tests/oslayer/sound_wav_files.h"

namespace {

namespace fs = std::filesystem;
using soundtest::Names;
using soundtest::ReadWav;
using soundtest::WriteWav;

// The permission bits of `p`.
unsigned ModeOf(const fs::path& p) {
    struct stat st {};
    return stat(p.c_str(), &st) == 0 ? st.st_mode & 07777 : 01000u;
}

// Sets the process's umask while it lives.
class Umask {
public:
    explicit Umask(mode_t mask) : saved_(umask(mask)) {}
    ~Umask() { umask(saved_); }

private:
    mode_t saved_;
};

bool WaitFor(const std::function<bool()>& done) {
    for (int i = 0; i < 5000 && !done(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return done();
}

class Sound : public ::testing::Test {
protected:
    os::TestSoundBackend sound;
    fs::path dir;

    void SetUp() override {
        dir = fs::temp_directory_path() / ("codecbench-sound-" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        os::SetSoundBackend(&sound);
    }
    void TearDown() override {
        os::SetSoundBackend(nullptr);
        fs::remove_all(dir);
    }
    void Configure(const std::function<void(os::TestSoundBackend::Config&)>& change) {
        os::TestSoundBackend::Config c;
        change(c);
        sound.SetConfig(c);
    }
    // Opens a recorder in `dir` with the 16 kHz mono 16-bit format; its number.
    unsigned OpenRecorder() {
        unsigned id = 0;
        EXPECT_EQ(os::SoundRecOpen(dir.c_str(), &id), os::SOUND_OK);
        EXPECT_EQ(os::SoundRecSetFormat(id, os::WaveFormat{}), os::SOUND_OK);
        return id;
    }
};

// ---- play ----------------------------------------------------------------------------------

TEST_F(Sound, FloatFilePlaysAsItIsWhenTheDeviceTakesItsFormat) {
    const std::vector<float> samples = soundtest::Ramp(3000, 2);
    WriteWav(dir / "f.wav", 3, 32, 44100, 2, samples);
    ASSERT_TRUE(os::PlaySound((dir / "f.wav").c_str(), os::SND_SYNC));
    EXPECT_EQ(sound.Calls(), (std::vector<std::string>{"open output 44100 2", "close output drain"}));
    EXPECT_EQ(sound.Played(), samples);
    EXPECT_FALSE(os::CurrentSound().playing);
}

TEST_F(Sound, FileIsConvertedToTheRateAndChannelsTheDeviceTakes) {
    // 8-bit mono at 8 kHz on a device that only takes 48 kHz stereo.
    Configure([](auto& c) {
        c.outputRate = 48000;
        c.outputChannels = 2;
    });
    std::vector<float> tone;
    for (int n = 0; n < 8000; ++n) tone.push_back(static_cast<float>(0.8 * std::sin(2 * M_PI * 250 * n / 8000.0)));
    WriteWav(dir / "m.wav", 1, 8, 8000, 1, tone);
    ASSERT_TRUE(os::PlaySound((dir / "m.wav").c_str(), os::SND_SYNC));
    EXPECT_EQ(sound.Calls()[0], "open output 48000 2");
    EXPECT_NEAR(static_cast<double>(sound.FramesPlayed()), 48000.0, 6.0);
    const std::vector<float> out = sound.Played();
    // Both channels carry the tone, still at 250 Hz: 192 output frames per period.
    for (size_t f = 0; f + 1 < out.size(); f += 2) ASSERT_EQ(out[f], out[f + 1]);
    for (int frame : {0, 48, 96, 144, 192 + 48}) {
        const double want = 0.8 * std::sin(2 * M_PI * 250 * frame / 48000.0);
        EXPECT_NEAR(out[2 * static_cast<size_t>(frame)], want, 0.03) << frame;
    }
}

TEST_F(Sound, UnreadableFileOrMissingDeviceFailsWithTheReason) {
    EXPECT_FALSE(os::PlaySound((dir / "missing.wav").c_str(), os::SND_ASYNC | os::SND_NODEFAULT));
    EXPECT_EQ(os::SoundLastErrorCode(), os::SOUNDERR_BAD_FILE);
    EXPECT_TRUE(sound.Calls().empty());
    // A named pipe (no writer: a blocking open would wait for good) is refused at once.
    const fs::path fifo = dir / "pipe.wav";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(os::PlaySound(fifo.c_str(), os::SND_SYNC | os::SND_NODEFAULT));
    EXPECT_EQ(os::SoundLastErrorCode(), os::SOUNDERR_BAD_FILE);
    EXPECT_EQ(os::SoundLastError(), "Cannot play \"" + fifo.string() + "\": " + fifo.string() + " is not a regular file.");
    EXPECT_TRUE(sound.Calls().empty());
    EXPECT_TRUE(fs::is_fifo(fifo));

    WriteWav(dir / "s.wav", 1, 16, 8000, 1, soundtest::Ramp(100, 1));
    Configure([](auto& c) { c.hasOutput = false; });
    EXPECT_FALSE(os::PlaySound((dir / "s.wav").c_str(), os::SND_ASYNC));
    EXPECT_EQ(os::SoundLastErrorCode(), os::SOUNDERR_NO_DEVICE);
    EXPECT_EQ(os::SoundLastError(), "No sound output device was found.");
    EXPECT_FALSE(os::CurrentSound().playing);
}

TEST_F(Sound, NewSoundStopsALoopUnlessItMayNotInterrupt) {
    WriteWav(dir / "s.wav", 1, 16, 8000, 1, soundtest::Ramp(100, 1));
    ASSERT_TRUE(os::PlaySound((dir / "s.wav").c_str(), os::SND_ASYNC | os::SND_LOOP));
    ASSERT_TRUE(WaitFor([&] { return sound.FramesPlayed() > 1000; }));
    EXPECT_FALSE(os::PlaySound((dir / "s.wav").c_str(), os::SND_ASYNC | os::SND_NOSTOP));
    EXPECT_EQ(os::SoundLastErrorCode(), os::SOUNDERR_BUSY);
    EXPECT_TRUE(os::CurrentSound().playing);
    ASSERT_TRUE(os::PlaySound((dir / "s.wav").c_str(), os::SND_SYNC));
    // The loop is dropped (an abort may come first when it was blocked in a write).
    std::vector<std::string> calls = sound.Calls();
    std::erase(calls, "abort output");
    EXPECT_EQ(calls, (std::vector<std::string>{"open output 8000 1", "close output drop", "open output 8000 1",
                                               "close output drain"}));
    EXPECT_TRUE(os::PlaySound(nullptr, 0));
}

TEST_F(Sound, SynchronousPlayRunsTheWaiterUntilTheEnd) {
    // The device takes 100 frames, then holds until the sound is stopped from the waiter.
    Configure([](auto& c) { c.outputFrameLimit = 100; });
    WriteWav(dir / "s.wav", 1, 16, 8000, 1, soundtest::Ramp(5000, 1));
    int waits = 0;
    ASSERT_TRUE(os::PlaySound((dir / "s.wav").c_str(), os::SND_SYNC, [&] {
        if (++waits == 3) std::thread([] { os::PlaySound(nullptr, 0); }).join();
    }));
    EXPECT_EQ(waits, 3);
    EXPECT_FALSE(os::CurrentSound().playing);
}

// ---- record --------------------------------------------------------------------------------

TEST_F(Sound, TakeIsConvertedFromWhatTheInputGivesToTheRecordingFormat) {
    Configure([](auto& c) {
        c.inputRate = 48000;
        c.inputChannels = 2;
    });
    const unsigned id = OpenRecorder();
    ASSERT_EQ(os::SoundRecRecord(id, 1500), os::SOUND_OK);
    ASSERT_TRUE(WaitFor([&] { return !os::SoundRecIsRecording(id); }));
    EXPECT_EQ(os::SoundRecStop(id), os::SOUND_OK);
    ASSERT_EQ(os::SoundRecSave(id, (dir / "t.wav").c_str(), false), os::SOUND_OK);
    EXPECT_EQ(os::SoundRecClose(id), os::SOUND_OK);
    EXPECT_EQ(sound.Calls()[0], "open input 48000 2");
    const auto wav = ReadWav(dir / "t.wav");
    ASSERT_TRUE(wav.ok);
    EXPECT_EQ(wav.samplesPerSec, 16000);
    EXPECT_EQ(wav.channels, 1);
    EXPECT_EQ(wav.Frames(), 1500 * 16);
    // The 1 kHz tone at half scale: 16 samples per period.
    EXPECT_NEAR(wav.samples16[4], 16383, 300);
    EXPECT_NEAR(wav.samples16[12], -16383, 300);
    EXPECT_EQ(Names(dir), (std::vector<std::string>{"t.wav"}));
}

TEST_F(Sound, StopKeepsWhatCameInAndCloseWithoutSaveLeavesNothing) {
    // The input gives 2 s, then nothing more until stopped.
    Configure([](auto& c) { c.inputFrameLimit = 32000; });
    const unsigned id = OpenRecorder();
    ASSERT_EQ(os::SoundRecRecord(id, 60000), os::SOUND_OK);
    ASSERT_TRUE(WaitFor([&] { return sound.FramesRecorded() == 32000; }));
    EXPECT_TRUE(os::SoundRecIsRecording(id));
    // The take is on disk while it comes in.
    ASSERT_EQ(Names(dir).size(), 1u);
    EXPECT_TRUE(os::IsTempName(Names(dir)[0], os::kTakeName)) << Names(dir)[0];
    EXPECT_GE(fs::file_size(dir / Names(dir)[0]), 2u * 32000);
    EXPECT_EQ(os::SoundRecStop(id), os::SOUND_OK);
    EXPECT_FALSE(os::SoundRecIsRecording(id));
    {
        const Umask mask(022);
        ASSERT_EQ(os::SoundRecSave(id, (dir / "two.wav").c_str(), false), os::SOUND_OK);
    }
    os::SoundRecClose(id);
    EXPECT_EQ(ReadWav(dir / "two.wav").Frames(), 32000);
    EXPECT_EQ(ModeOf(dir / "two.wav"), 0644u) << "a new file's mode, not the take's";

    const unsigned other = OpenRecorder();
    ASSERT_EQ(os::SoundRecRecord(other, 1000), os::SOUND_OK);
    EXPECT_EQ(os::SoundRecClose(other), os::SOUND_OK);
    EXPECT_EQ(Names(dir), (std::vector<std::string>{"two.wav"}));
    EXPECT_EQ(sound.OpenDevices(), 0);
    EXPECT_EQ(os::SoundRecClose(other), os::SOUNDERR_BAD_DEVICE_ID);
}

TEST_F(Sound, SaveNeverReplacesUnlessAskedTo) {
    soundtest::WriteWav(dir / "keep.wav", 1, 16, 8000, 1, soundtest::Ramp(10, 1));
    ASSERT_EQ(chmod((dir / "keep.wav").c_str(), 0640), 0);
    const Umask mask(022);
    const unsigned id = OpenRecorder();
    ASSERT_EQ(os::SoundRecRecord(id, 100), os::SOUND_OK);
    ASSERT_TRUE(WaitFor([&] { return !os::SoundRecIsRecording(id); }));
    EXPECT_EQ(os::SoundRecSave(id, (dir / "keep.wav").c_str(), false), os::SOUNDERR_FILE_EXISTS);
    EXPECT_EQ(ReadWav(dir / "keep.wav").Frames(), 10);
    // The take not moved stays the recorder's own.
    for (const auto& name : Names(dir)) {
        if (name != "keep.wav") {
            EXPECT_EQ(ModeOf(dir / name), 0600u) << name;
        }
    }
    // Asked to replace a named pipe: refused with the reason, the pipe left in place.
    const fs::path fifo = dir / "pipe.wav";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(os::SoundRecSave(id, fifo.c_str(), true), os::SOUNDERR_CANNOT_WRITE);
    EXPECT_EQ(os::SoundLastError(), "Cannot save \"" + fifo.string() + "\": " + fifo.string() + " is not a regular file.");
    EXPECT_TRUE(fs::is_fifo(fifo));
    fs::remove(fifo);
    // Nor a file the user cannot read: the take would take its mode and be unreadable too.
    const fs::path locked = dir / "locked.wav";
    std::ofstream(locked) << "the user's";
    ASSERT_EQ(chmod(locked.c_str(), 0), 0);
    {
        testsupport::AsPlainUser plain;
        ASSERT_TRUE(plain.Active());
        EXPECT_EQ(os::SoundRecSave(id, locked.c_str(), true), os::SOUNDERR_CANNOT_WRITE);
    }
    EXPECT_EQ(os::SoundLastError(), "Cannot save \"" + locked.string() + "\": " + locked.string() +
                                        " cannot be read (Permission denied), so it is not replaced.");
    EXPECT_EQ(fs::file_size(locked), 10u);
    fs::remove(locked);
    // Replacing through a symbolic link, as every writer does: the file it leads to gets the
    // take, with that file's mode whatever the umask, and the link stays.
    fs::create_symlink("keep.wav", dir / "link.wav");
    EXPECT_EQ(os::SoundRecSave(id, (dir / "link.wav").c_str(), false), os::SOUNDERR_FILE_EXISTS);
    EXPECT_EQ(os::SoundRecSave(id, (dir / "link.wav").c_str(), true), os::SOUND_OK);
    EXPECT_EQ(ReadWav(dir / "keep.wav").Frames(), 1600);
    EXPECT_EQ(ModeOf(dir / "keep.wav"), 0640u);
    ASSERT_TRUE(fs::is_symlink(dir / "link.wav"));
    EXPECT_EQ(fs::read_symlink(dir / "link.wav"), "keep.wav");
    os::SoundRecClose(id);
    EXPECT_EQ(Names(dir), (std::vector<std::string>{"keep.wav", "link.wav"}));
}

TEST_F(Sound, SaveToAnotherFileSystemCopiesBesideTheTargetThenRenames) {
    const fs::path shm = "/dev/shm";
    if (!fs::is_directory(shm) || access(shm.c_str(), W_OK) != 0) GTEST_SKIP() << "no /dev/shm";
    const fs::path target = shm / ("codecbench-sound-" + std::to_string(::getpid()) + ".wav");
    const unsigned id = OpenRecorder();
    ASSERT_EQ(os::SoundRecRecord(id, 500), os::SOUND_OK);
    ASSERT_TRUE(WaitFor([&] { return !os::SoundRecIsRecording(id); }));
    {
        const Umask mask(027);
        EXPECT_EQ(os::SoundRecSave(id, target.c_str(), false), os::SOUND_OK);
    }
    os::SoundRecClose(id);
    EXPECT_EQ(ReadWav(target).Frames(), 8000);
    EXPECT_EQ(ModeOf(target), 0640u) << "a new file's mode, not the copy's";
    EXPECT_TRUE(Names(dir).empty());  // the take is gone from its folder
    for (const auto& name : Names(shm)) EXPECT_FALSE(os::IsTempName(name, target.filename().string())) << name;
    fs::remove(target);
}

TEST_F(Sound, RecorderRefusesFormatsItCannotWrite) {
    const unsigned id = OpenRecorder();
    os::WaveFormat f;
    f.formatTag = 3;
    EXPECT_EQ(os::SoundRecSetFormat(id, f), os::SOUNDERR_BAD_FORMAT);
    f = os::WaveFormat{};
    f.bitsPerSample = 12;
    EXPECT_EQ(os::SoundRecSetFormat(id, f), os::SOUNDERR_BAD_FORMAT);
    EXPECT_EQ(os::SoundRecSetFormat(id + 100, os::WaveFormat{}), os::SOUNDERR_BAD_DEVICE_ID);
    os::SoundRecClose(id);
}

// ---- PortAudio -----------------------------------------------------------------------------

TEST(SoundPortAudio, WithoutASoundDeviceOpensFailWithNoDevice) {
    os::SetSoundBackend(nullptr);
    EXPECT_FALSE(os::PortAudioStarted());  // nothing starts the audio system before it is used
    os::SoundBackend* pa = os::PortAudioBackend();
    unsigned code = 0;
    std::string error;
    if (pa->HasInput(&code, &error)) GTEST_SKIP() << "this machine has a sound input";
    EXPECT_TRUE(os::PortAudioStarted());
    EXPECT_EQ(code, os::SOUNDERR_NO_DEVICE);
    EXPECT_EQ(error, "No sound input device was found.");
    unsigned id = 0;
    EXPECT_EQ(os::SoundRecOpen(fs::temp_directory_path().c_str(), &id), os::SOUNDERR_NO_DEVICE);
    code = 0;
    EXPECT_EQ(pa->OpenInput(16000, 1, &code, &error), nullptr);
    EXPECT_EQ(code, os::SOUNDERR_NO_DEVICE);
    if (pa->OpenOutput(44100, 2, &code, &error)) GTEST_SKIP() << "this machine has a sound output";
    EXPECT_EQ(code, os::SOUNDERR_NO_DEVICE);
    EXPECT_EQ(error, "No sound output device was found.");
}

}  // namespace
