// A second process that saves through the real atomic writer and holds its temporary, for
// tests of what a clean-up or another instance meets while a save is under way.
#pragma once

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

#include "runtime/inifile.h"

namespace testsupport {

// Another process holding a temporary: it runs `body`, which calls `ready()` once it holds one;
// `ready()` returns when the test lets it go on (Finish) and never when the test kills it.
class HeldWriter {
public:
    using Body = std::function<int(const std::function<void()>& ready)>;
    explicit HeldWriter(const Body& body) {
        if (pipe(ready_) != 0 || pipe(go_) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            close(ready_[0]);
            close(go_[1]);
            _exit(body([this] {
                char c = 'r';
                if (write(ready_[1], &c, 1) != 1) _exit(3);
                if (read(go_[0], &c, 1) < 0) _exit(3);
            }));
        }
        close(ready_[1]);
        close(go_[0]);
        char c = 0;
        holding_ = pid_ > 0 && read(ready_[0], &c, 1) == 1;
    }
    // A save of `file` through the real atomic writer: `first`, the hold, then `rest`.
    static Body Save(const std::filesystem::path& file, const std::string& first, const std::string& rest = "") {
        return [=](const std::function<void()>& ready) {
            std::string why;
            const bool saved = rt::WriteFileAtomicWith(file.string(), [&](const rt::FileSink& sink) {
                sink(first);
                ready();
                sink(rest);
            }, &why);
            if (!saved) std::fprintf(stderr, "held writer: %s\n", why.c_str());
            return saved ? 0 : 1;
        };
    }
    ~HeldWriter() { Finish(); }
    bool Holding() const { return holding_; }
    // Ends the writer as a kill -9 would.
    void Kill() {
        if (pid_ <= 0) return;
        kill(pid_, SIGKILL);
        Finish();
    }
    // Lets the writer go on; its exit status (0: saved).
    int Finish() {
        if (pid_ <= 0) return -1;
        close(go_[1]);
        close(ready_[0]);
        int status = 0;
        waitpid(pid_, &status, 0);
        pid_ = 0;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }

private:
    int ready_[2] = {-1, -1}, go_[2] = {-1, -1};
    pid_t pid_ = -1;
    bool holding_ = false;
};

}  // namespace testsupport
