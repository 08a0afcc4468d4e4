// Sound: playing WAV files through the PC's sound output and recording takes from its input.
//
// Files are read and written with libsndfile; the sound devices are reached through a
// backend: PortAudio in the program (started on first use only, so a machine that never plays
// or records starts no audio system), or one that tests inject (os::TestSoundBackend in
// oslayer/sound_testing.h), which needs no sound card.
//
// Playing follows the platform's one-sound-at-a-time call: a new sound stops the one playing.
// Recording works on numbered recorder devices: open (a new, empty take), set the format,
// record (returns at once; the take ends by itself after the given time), stop, save, close.
// A take goes to disk as it comes in, never into memory.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "oslayer/os.h"

namespace os {

// ---- play ----------------------------------------------------------------------------------
inline constexpr unsigned SND_SYNC = 0x0000;       // return when the sound has ended
inline constexpr unsigned SND_ASYNC = 0x0001;      // return at once
inline constexpr unsigned SND_NODEFAULT = 0x0002;  // no default sound when the file cannot play
inline constexpr unsigned SND_LOOP = 0x0008;       // play again and again (with SND_ASYNC)
inline constexpr unsigned SND_NOSTOP = 0x0010;     // fail rather than stop a sound playing

// Plays a WAV file (any PCM or float format libsndfile reads, converted to what the device
// takes). A null file stops the sound playing and returns true. Without SND_ASYNC the call
// returns when the sound has ended, running `whileWaiting` (or sleeping through os::Sleep) in
// slices meanwhile. False when the file cannot be read or no output device can be opened
// (SoundLastError() says which); there is no default sound to fall back on.
CB_OS_API bool PlaySound(const char* file, unsigned flags, const std::function<void()>& whileWaiting = {});

// What the last PlaySound started: the file, its flags, and whether it is still sounding.
struct SoundStatus {
    std::string file;
    unsigned flags = 0;
    bool playing = false;
};
CB_OS_API SoundStatus CurrentSound();

// ---- record --------------------------------------------------------------------------------
// Result codes of the recorder operations (0 = done). They fit in 16 bits.
inline constexpr unsigned SOUND_OK = 0;
inline constexpr unsigned SOUNDERR_NO_DEVICE = 257;     // no sound device of that direction
inline constexpr unsigned SOUNDERR_DEVICE = 258;        // the device failed to open or run
inline constexpr unsigned SOUNDERR_BAD_DEVICE_ID = 259; // no open recorder has that number
inline constexpr unsigned SOUNDERR_BAD_FORMAT = 260;    // a format the recorder cannot write
inline constexpr unsigned SOUNDERR_CANNOT_WRITE = 261;  // the file or folder cannot be written
inline constexpr unsigned SOUNDERR_DISK_FULL = 262;     // no room left on the disk
inline constexpr unsigned SOUNDERR_FILE_EXISTS = 263;   // save without replace found a file
inline constexpr unsigned SOUNDERR_NOT_RECORDED = 264;  // save with no take to save
inline constexpr unsigned SOUNDERR_BAD_FILE = 265;      // a sound file that cannot be read
inline constexpr unsigned SOUNDERR_BUSY = 266;          // a sound plays and may not be stopped

// The recording format: PCM (tag 1) only; block alignment and bytes per second follow from
// the other three.
struct WaveFormat {
    int formatTag = 1;
    int channels = 1;
    int samplesPerSec = 16000;
    int bitsPerSample = 16;
    int BlockAlign() const { return channels * bitsPerSample / 8; }
    int AvgBytesPerSec() const { return bitsPerSample * channels * samplesPerSec / 8; }
};

// The file a take stands for while it records: its temporary is named for it by
// os::TempTemplate (".take.codecbench-tmp-XXXXXX").
inline constexpr const char* kTakeName = "take";

// Opens a recorder with a new, empty take, kept in `workFolder` (the folder takes are saved
// to, so the save is a rename) until it is saved or discarded. Checks that a sound input
// exists. The recorder's number goes to *deviceId.
CB_OS_API unsigned SoundRecOpen(const char* workFolder, unsigned* deviceId);
CB_OS_API unsigned SoundRecSetFormat(unsigned deviceId, const WaveFormat& format);
// Starts recording from the default input and returns at once; the take stops by itself
// after `toMs` milliseconds of sound.
CB_OS_API unsigned SoundRecRecord(unsigned deviceId, unsigned toMs);
// Stops the take (what came in is kept). A failure while recording (disk full ...) is
// returned here.
CB_OS_API unsigned SoundRecStop(unsigned deviceId);
// Saves the stopped take as a RIFF WAVE file: written in full first, then put in place by a
// rename, so a failed save leaves no partial file. The file gets the mode of the file it
// replaces, or the one the umask gives a new file. With `replace` false an existing file is
// never replaced (SOUNDERR_FILE_EXISTS). A failed save keeps the take, to be saved again
// under another name or discarded by the close.
CB_OS_API unsigned SoundRecSave(unsigned deviceId, const char* file, bool replace);
// Closes the recorder; a take not saved is deleted.
CB_OS_API unsigned SoundRecClose(unsigned deviceId);
// Whether the recorder is taking sound in now (false once the time is up or after a stop).
CB_OS_API bool SoundRecIsRecording(unsigned deviceId);

// Words for the last failure of a play or recorder operation ("No sound input device was
// found.", "Cannot write to \"WaveFile\": Not a directory." ...).
CB_OS_API std::string SoundLastError();
// Its code (SOUNDERR_...).
CB_OS_API unsigned SoundLastErrorCode();

// ---- devices -------------------------------------------------------------------------------
// A sound device opened for one direction, interleaved float samples in -1..1. Write and Read
// block while the device is busy; Abort may be called from another thread to end a blocked
// call early (it returns false / 0 then).
class CB_OS_API SoundOutput {
public:
    virtual ~SoundOutput() = default;
    virtual int SampleRate() const = 0;  // the rate and channels the device took
    virtual int Channels() const = 0;
    virtual bool Write(const float* frames, long count) = 0;
    virtual void Abort() = 0;
    // Plays what is queued to its end (false: drop it) and closes the device.
    virtual void Close(bool drain) = 0;
};

class CB_OS_API SoundInput {
public:
    virtual ~SoundInput() = default;
    virtual int SampleRate() const = 0;
    virtual int Channels() const = 0;
    // Reads up to `count` frames; the number read, 0 after Abort, negative on a device error.
    virtual long Read(float* frames, long count) = 0;
    virtual void Abort() = 0;
    virtual void Close() = 0;
};

class CB_OS_API SoundBackend {
public:
    virtual ~SoundBackend() = default;
    // Opens the default device for the wanted rate and channels, or the nearest it takes.
    // Null on failure with *code (SOUNDERR_NO_DEVICE or SOUNDERR_DEVICE) and *error set.
    virtual std::unique_ptr<SoundOutput> OpenOutput(int sampleRate, int channels, unsigned* code,
                                                    std::string* error) = 0;
    virtual std::unique_ptr<SoundInput> OpenInput(int sampleRate, int channels, unsigned* code,
                                                  std::string* error) = 0;
    // Whether a default input device exists (SOUNDERR_NO_DEVICE otherwise).
    virtual bool HasInput(unsigned* code, std::string* error) = 0;
};

// Installs the backend the service uses (null restores PortAudio) and returns the previous
// one. Stops the sound playing and closes every recorder first.
CB_OS_API SoundBackend* SetSoundBackend(SoundBackend* backend);
// The PortAudio backend. PortAudio is started by its first device query or open.
CB_OS_API SoundBackend* PortAudioBackend();
// Whether PortAudio has been started in this process.
CB_OS_API bool PortAudioStarted();

}  // namespace os
