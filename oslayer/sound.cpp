// The sound service: one player and numbered recorders over the installed device backend;
// files through libsndfile.
#include "oslayer/sound.h"
#include "oslayer/temp_names.h"
#include "oslayer/user_files.h"

#include <sndfile.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace os {

namespace {

constexpr long kChunkFrames = 1024;

// ---- sample conversion ---------------------------------------------------------------------

// Converts interleaved float frames from one rate and channel count to another, as a stream:
// channels first (a mono side is spread or mixed down, else channels are taken in order and
// extra ones left silent), then the rate by linear interpolation.
class Converter {
public:
    Converter(int fromRate, int fromChannels, int toRate, int toChannels)
        : fromCh_(fromChannels), toCh_(toChannels), sameRate_(fromRate == toRate),
          step_(static_cast<double>(fromRate) / toRate) {}

    // Appends the converted frames of `in` to `out` (cleared first).
    void Process(const float* in, long frames, std::vector<float>& out) {
        out.clear();
        mapped_.resize(static_cast<size_t>(frames) * toCh_);
        MapChannels(in, frames, mapped_.data());
        if (sameRate_) {
            out.assign(mapped_.begin(), mapped_.end());
            return;
        }
        // work = the last frame of the previous chunk (at absolute source index base_) + this one.
        work_.assign(history_.begin(), history_.end());
        work_.insert(work_.end(), mapped_.begin(), mapped_.end());
        const long total = static_cast<long>(work_.size() / toCh_);
        if (total == 0) return;
        for (;;) {
            const double t = static_cast<double>(outIndex_) * step_;
            const long long i = static_cast<long long>(std::floor(t));
            if (i + 1 > base_ + total - 1) break;
            const double f = t - static_cast<double>(i);
            const float* a = &work_[static_cast<size_t>(i - base_) * toCh_];
            const float* b = a + toCh_;
            for (int c = 0; c < toCh_; ++c) out.push_back(static_cast<float>(a[c] * (1.0 - f) + b[c] * f));
            ++outIndex_;
        }
        history_.assign(work_.end() - toCh_, work_.end());
        base_ += total - 1;
    }

private:
    void MapChannels(const float* in, long frames, float* out) const {
        for (long n = 0; n < frames; ++n) {
            const float* s = in + n * fromCh_;
            float* d = out + n * toCh_;
            if (fromCh_ == toCh_) {
                std::copy(s, s + toCh_, d);
            } else if (toCh_ == 1) {
                float sum = 0;
                for (int c = 0; c < fromCh_; ++c) sum += s[c];
                d[0] = sum / static_cast<float>(fromCh_);
            } else if (fromCh_ == 1) {
                std::fill(d, d + toCh_, s[0]);
            } else {
                for (int c = 0; c < toCh_; ++c) d[c] = c < fromCh_ ? s[c] : 0.0f;
            }
        }
    }

    int fromCh_, toCh_;
    bool sameRate_;
    double step_;
    long long base_ = 0;      // absolute source index of work_'s first frame
    long long outIndex_ = 0;  // frames put out so far
    std::vector<float> history_, work_, mapped_;
};

std::string Quoted(const std::string& s) { return "\"" + s + "\""; }

// A failed write: a full disk, or another reason in words, after what failed.
unsigned WriteFailure(int err, const std::string& what, std::string* text) {
    if (err == ENOSPC || err == EDQUOT) {
        *text = what + ": The disk is full.";
        return SOUNDERR_DISK_FULL;
    }
    *text = what + ": " + (err ? std::strerror(err) : "write error") + ".";
    return SOUNDERR_CANNOT_WRITE;
}

// ---- player --------------------------------------------------------------------------------

struct Player {
    std::thread thread;
    std::atomic<bool> stop{false};
    std::atomic<bool> playing{true};
    std::unique_ptr<SoundOutput> out;
    SNDFILE* file = nullptr;
    SF_INFO info{};
    bool loop = false;

    void Run() {
        Converter conv(info.samplerate, info.channels, out->SampleRate(), out->Channels());
        std::vector<float> in(static_cast<size_t>(kChunkFrames) * info.channels), converted;
        bool readAny = false;
        while (!stop) {
            sf_count_t n = sf_readf_float(file, in.data(), kChunkFrames);
            if (n <= 0) {
                // The end: again from the start when looping (and the file is not empty).
                if (loop && readAny && sf_seek(file, 0, SEEK_SET) == 0) {
                    readAny = false;
                    continue;
                }
                break;
            }
            readAny = true;
            conv.Process(in.data(), static_cast<long>(n), converted);
            if (!converted.empty() && !out->Write(converted.data(), static_cast<long>(converted.size()) / out->Channels()))
                break;
        }
        out->Close(!stop);
        sf_close(file);
        file = nullptr;
        playing = false;
    }
};

// ---- recorder ------------------------------------------------------------------------------

struct Take {
    std::string folder;
    std::string path;  // the take file while it is not saved; empty once moved
    int lock = -1;     // the take file's locked descriptor, open while `path` names it
    WaveFormat format;
    SNDFILE* file = nullptr;
    bool written = false;  // a take was recorded (and stopped): something to save
    std::unique_ptr<SoundInput> in;
    std::thread thread;
    std::atomic<bool> stop{false};
    std::atomic<bool> recording{false};
    unsigned error = SOUND_OK;  // set by the recording thread, read after it ended
    std::string errorText;

    ~Take() { ReleaseLock(); }
    // Ends the take file's lock, once it was moved or deleted.
    void ReleaseLock() {
        CloseTemp(lock);
        lock = -1;
    }
    // Deletes the take file not saved.
    void Discard() {
        if (!path.empty()) unlink(path.c_str());
        path.clear();
        ReleaseLock();
    }

    void Run(long long frames) {
        Converter conv(in->SampleRate(), in->Channels(), format.samplesPerSec, format.channels);
        std::vector<float> buf(static_cast<size_t>(kChunkFrames) * in->Channels()), converted;
        while (frames > 0 && !stop) {
            long n = in->Read(buf.data(), kChunkFrames);
            if (n < 0) {
                error = SOUNDERR_DEVICE;
                errorText = "The sound input device failed while recording.";
                break;
            }
            if (n == 0) break;
            conv.Process(buf.data(), n, converted);
            const long long have = static_cast<long long>(converted.size()) / format.channels;
            const sf_count_t want = static_cast<sf_count_t>(std::min(have, frames));
            errno = 0;
            if (sf_writef_float(file, converted.data(), want) != want) {
                error = WriteFailure(errno, "Cannot write the recording", &errorText);
                break;
            }
            frames -= want;
        }
        in->Close();
        recording = false;
    }
};

struct Service {
    std::mutex m;
    SoundBackend* backend = nullptr;  // null: PortAudio
    std::shared_ptr<Player> player;
    SoundStatus status;
    std::map<unsigned, std::unique_ptr<Take>> takes;
    unsigned nextId = 1;
    std::string lastError;
    unsigned lastCode = SOUND_OK;

    SoundBackend& Backend() { return backend ? *backend : *PortAudioBackend(); }

    void StopPlayer() {
        if (!player) return;
        player->stop = true;
        if (player->out) player->out->Abort();
        if (player->thread.joinable()) player->thread.join();
        player.reset();
    }

    unsigned Fail(unsigned code, const std::string& text) {
        lastError = text;
        lastCode = code;
        return code;
    }

    Take* Find(unsigned id) {
        auto it = takes.find(id);
        return it == takes.end() ? nullptr : it->second.get();
    }

    // Ends the recording thread and finishes the take file. Returns the take's failure.
    unsigned StopTake(Take& t) {
        if (t.thread.joinable()) {
            t.stop = true;
            if (t.in) t.in->Abort();
            t.thread.join();
        }
        t.in.reset();
        if (t.file) {
            errno = 0;
            if (sf_close(t.file) != 0 && t.error == SOUND_OK)
                t.error = WriteFailure(errno, "Cannot write the recording", &t.errorText);
            t.file = nullptr;
            t.written = true;
        }
        if (t.error != SOUND_OK) Fail(t.error, t.errorText);
        return t.error;
    }

    void CloseAll() {
        StopPlayer();
        for (auto& [id, t] : takes) {
            StopTake(*t);
            t->Discard();
        }
        takes.clear();
    }
};

Service& S() {
    // Lives for the process; at exit the sound playing is stopped and takes not saved are
    // deleted, so no thread runs on into the library's teardown.
    static Service* s = [] {
        auto* created = new Service;
        std::atexit([] {
            Service& svc = S();
            std::lock_guard<std::mutex> lock(svc.m);
            svc.CloseAll();
        });
        return created;
    }();
    return *s;
}

// Renames without replacing an existing file; where the file system cannot promise that, an
// existence check comes first.
int RenameNoReplace(const char* from, const char* to) {
    if (renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE) == 0) return 0;
    if (errno != EINVAL && errno != ENOSYS) return -1;
    struct stat st;
    if (lstat(to, &st) == 0) {
        errno = EEXIST;
        return -1;
    }
    return rename(from, to);
}

// Copies a file to a new temporary file in the folder of `target`; on success the temporary's
// name and its locked descriptor, to be closed once the temporary was renamed or deleted.
// Removes what it wrote on failure.
bool CopyBeside(const std::string& from, const std::string& target, std::string* tmp, int* lock, int* err) {
    std::string name;
    int out = MakeTempFor(target, &name);
    if (out < 0) {
        *err = errno;
        return false;
    }
    int in = open(from.c_str(), O_RDONLY | O_CLOEXEC);
    bool ok = in >= 0;
    std::vector<char> buf(1 << 16);
    while (ok) {
        ssize_t n = read(in, buf.data(), buf.size());
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            ok = false;
            break;
        }
        for (ssize_t done = 0; ok && done < n;) {
            ssize_t w = write(out, buf.data() + done, static_cast<size_t>(n - done));
            if (w < 0 && errno == EINTR) continue;
            if (w <= 0) ok = false; else done += w;
        }
    }
    if (ok) TakeFinalMode(out, target.c_str());
    if (ok && fsync(out) != 0) ok = false;
    *err = ok ? 0 : errno;
    if (in >= 0) close(in);
    if (!ok) {
        unlink(name.c_str());
        CloseTemp(out);
        return false;
    }
    *tmp = name;
    *lock = out;
    return true;
}

}  // namespace

// ---- play ----------------------------------------------------------------------------------

bool PlaySound(const char* file, unsigned flags, const std::function<void()>& whileWaiting) {
    Service& s = S();
    std::unique_lock<std::mutex> lock(s.m);
    if (!file) {
        s.StopPlayer();
        s.status.playing = false;
        return true;
    }
    if ((flags & SND_NOSTOP) && s.player && s.player->playing) {
        s.Fail(SOUNDERR_BUSY, "Another sound is playing.");
        return false;
    }
    s.StopPlayer();
    s.status = SoundStatus{file, flags, false};

    auto p = std::make_shared<Player>();
    // Opened without waiting: a named pipe or a device in the file's place is refused.
    std::string why;
    const int fd = OpenUserFile(file, &why);
    if (fd < 0) {
        s.Fail(SOUNDERR_BAD_FILE, "Cannot play " + Quoted(file) + ": " + why);
        return false;
    }
    p->file = sf_open_fd(fd, SFM_READ, &p->info, SF_TRUE);  // the descriptor is closed with the file, or on failure
    if (!p->file) {
        s.Fail(SOUNDERR_BAD_FILE, "Cannot play " + Quoted(file) + ": " + sf_strerror(nullptr));
        return false;
    }
    unsigned code = 0;
    std::string error;
    p->out = s.Backend().OpenOutput(p->info.samplerate, p->info.channels, &code, &error);
    if (!p->out) {
        sf_close(p->file);
        s.Fail(code, error);
        return false;
    }
    // A loop never ends by itself, so it never makes the caller wait.
    p->loop = (flags & SND_LOOP) != 0;
    const bool wait = !(flags & (SND_ASYNC | SND_LOOP));
    Player* raw = p.get();
    p->thread = std::thread([raw] { raw->Run(); });
    std::shared_ptr<Player> player = p;  // kept while waiting, whatever the service does meanwhile
    s.player = std::move(p);
    s.status.playing = true;
    if (wait) {
        lock.unlock();
        while (player->playing) {
            if (whileWaiting)
                whileWaiting();
            else
                Sleep(10);
        }
    }
    return true;
}

SoundStatus CurrentSound() {
    Service& s = S();
    std::lock_guard<std::mutex> lock(s.m);
    SoundStatus st = s.status;
    st.playing = s.player && s.player->playing;
    return st;
}

// ---- record --------------------------------------------------------------------------------

unsigned SoundRecOpen(const char* workFolder, unsigned* deviceId) {
    Service& s = S();
    std::lock_guard<std::mutex> lock(s.m);
    unsigned code = 0;
    std::string error;
    if (!s.Backend().HasInput(&code, &error)) return s.Fail(code, error);
    const std::string folder = workFolder && *workFolder ? workFolder : ".";
    std::string name;
    int fd = MakeTempFor(folder + "/" + kTakeName, &name);
    if (fd < 0) {
        std::string text;
        unsigned c = WriteFailure(errno, "Cannot write to " + Quoted(folder), &text);
        return s.Fail(c, text);
    }
    auto t = std::make_unique<Take>();
    t->folder = folder;
    t->path = name;
    t->lock = fd;
    const unsigned id = s.nextId++;
    s.takes[id] = std::move(t);
    if (deviceId) *deviceId = id;
    return SOUND_OK;
}

unsigned SoundRecSetFormat(unsigned deviceId, const WaveFormat& f) {
    Service& s = S();
    std::lock_guard<std::mutex> lock(s.m);
    Take* t = s.Find(deviceId);
    if (!t) return s.Fail(SOUNDERR_BAD_DEVICE_ID, "The recorder is not open.");
    const bool bitsOk = f.bitsPerSample == 8 || f.bitsPerSample == 16 || f.bitsPerSample == 24 || f.bitsPerSample == 32;
    if (f.formatTag != 1 || !bitsOk || f.channels < 1 || f.channels > 8 || f.samplesPerSec < 1000 ||
        f.samplesPerSec > 384000)
        return s.Fail(SOUNDERR_BAD_FORMAT, "The recording format is not supported.");
    if (t->file) return s.Fail(SOUNDERR_BAD_FORMAT, "The format cannot change during a take.");
    t->format = f;
    return SOUND_OK;
}

unsigned SoundRecRecord(unsigned deviceId, unsigned toMs) {
    Service& s = S();
    std::lock_guard<std::mutex> lock(s.m);
    Take* t = s.Find(deviceId);
    if (!t) return s.Fail(SOUNDERR_BAD_DEVICE_ID, "The recorder is not open.");
    if (t->recording) return SOUND_OK;
    if (t->thread.joinable()) t->thread.join();
    if (t->path.empty() || t->written) return s.Fail(SOUNDERR_DEVICE, "The take is finished; open a new one.");
    if (!t->file) {
        SF_INFO info{};
        info.samplerate = t->format.samplesPerSec;
        info.channels = t->format.channels;
        const int sub = t->format.bitsPerSample == 8    ? SF_FORMAT_PCM_U8
                        : t->format.bitsPerSample == 24 ? SF_FORMAT_PCM_24
                        : t->format.bitsPerSample == 32 ? SF_FORMAT_PCM_32
                                                        : SF_FORMAT_PCM_16;
        info.format = SF_FORMAT_WAV | sub;
        errno = 0;
        t->file = sf_open(t->path.c_str(), SFM_WRITE, &info);
        if (!t->file) {
            std::string text;
            unsigned c = WriteFailure(errno, "Cannot write to " + Quoted(t->folder), &text);
            return s.Fail(c, text);
        }
        sf_command(t->file, SFC_SET_CLIPPING, nullptr, SF_TRUE);
    }
    unsigned code = 0;
    std::string error;
    t->in = s.Backend().OpenInput(t->format.samplesPerSec, t->format.channels, &code, &error);
    if (!t->in) return s.Fail(code, error);
    const long long frames = static_cast<long long>(toMs) * t->format.samplesPerSec / 1000;
    t->stop = false;
    t->error = SOUND_OK;
    t->recording = true;
    t->thread = std::thread([t, frames] { t->Run(frames); });
    return SOUND_OK;
}

unsigned SoundRecStop(unsigned deviceId) {
    Service& s = S();
    std::lock_guard<std::mutex> lock(s.m);
    Take* t = s.Find(deviceId);
    if (!t) return s.Fail(SOUNDERR_BAD_DEVICE_ID, "The recorder is not open.");
    return s.StopTake(*t);
}

unsigned SoundRecSave(unsigned deviceId, const char* file, bool replace) {
    Service& s = S();
    std::lock_guard<std::mutex> lock(s.m);
    Take* t = s.Find(deviceId);
    if (!t) return s.Fail(SOUNDERR_BAD_DEVICE_ID, "The recorder is not open.");
    if (!file || !*file) return s.Fail(SOUNDERR_CANNOT_WRITE, "No file name was given.");
    if (t->thread.joinable() || t->file) s.StopTake(*t);
    if (!t->written || t->path.empty()) return s.Fail(SOUNDERR_NOT_RECORDED, "There is no recording to save.");
    // Messages name the file as the user gave it, and where a link there leads, which is where
    // the take goes.
    const std::string name = file;
    const std::string target = WriteTargetOf(name);
    const int targetError = errno;
    auto failed = [&](int err) {
        if (err == EEXIST) return s.Fail(SOUNDERR_FILE_EXISTS, Quoted(name) + " exists already.");
        std::string what = "Cannot save " + Quoted(name);
        if (!target.empty() && target != name) what += " (a link to " + Quoted(target) + ")";
        std::string text;
        unsigned c = WriteFailure(err, what, &text);
        return s.Fail(c, text);
    };
    if (target.empty()) return failed(targetError);
    // Replacing takes the name of a file, never of a named pipe, a device or a folder the user
    // has there.
    if (replace && NamesOtherThanRegularFile(target))
        return s.Fail(SOUNDERR_CANNOT_WRITE, "Cannot save " + Quoted(name) + ": " + NotRegularFileText(name));
    // Nor a file the user cannot read: the take would get its mode and be unreadable too.
    if (replace)
        if (const int unreadable = ReadBackError(target.c_str()))
            return s.Fail(SOUNDERR_CANNOT_WRITE, "Cannot save " + Quoted(name) + ": " + UnreadableFileText(target, unreadable));
    auto put = [&](const std::string& from) {
        return replace ? rename(from.c_str(), target.c_str()) : RenameNoReplace(from.c_str(), target.c_str());
    };
    // The saved file gets the replaced file's mode or a new file's, not the take's owner-only
    // mode; a take not moved is the recorder's own again.
    TakeFinalMode(t->lock, target.c_str());
    if (put(t->path) == 0) {
        t->path.clear();
        t->ReleaseLock();
        return SOUND_OK;
    }
    const int putError = errno;
    KeepTempOwnerOnly(t->lock);
    if (putError != EXDEV) return failed(putError);
    // Another file system: a full copy beside the target first, then the rename.
    std::string tmp;
    int copyLock = -1;
    int err = 0;
    if (!CopyBeside(t->path, target, &tmp, &copyLock, &err)) return failed(err);
    const bool moved = put(tmp) == 0;
    err = errno;
    if (!moved) unlink(tmp.c_str());
    CloseTemp(copyLock);
    return moved ? SOUND_OK : failed(err);
}

unsigned SoundRecClose(unsigned deviceId) {
    Service& s = S();
    std::lock_guard<std::mutex> lock(s.m);
    auto it = s.takes.find(deviceId);
    if (it == s.takes.end()) return s.Fail(SOUNDERR_BAD_DEVICE_ID, "The recorder is not open.");
    Take& t = *it->second;
    s.StopTake(t);
    t.Discard();
    s.takes.erase(it);
    return SOUND_OK;
}

bool SoundRecIsRecording(unsigned deviceId) {
    Service& s = S();
    std::lock_guard<std::mutex> lock(s.m);
    Take* t = s.Find(deviceId);
    return t && t->recording;
}

std::string SoundLastError() {
    Service& s = S();
    std::lock_guard<std::mutex> lock(s.m);
    return s.lastError;
}

unsigned SoundLastErrorCode() {
    Service& s = S();
    std::lock_guard<std::mutex> lock(s.m);
    return s.lastCode;
}

SoundBackend* SetSoundBackend(SoundBackend* backend) {
    Service& s = S();
    std::lock_guard<std::mutex> lock(s.m);
    s.CloseAll();
    s.status = SoundStatus{};
    SoundBackend* previous = s.backend;
    s.backend = backend;
    return previous;
}

}  // namespace os
