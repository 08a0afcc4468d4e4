// Runs part of a test as a user without the right to override file modes, where the test runs
// as root: permission checks bite a plain user only.
#pragma once

#include <sys/prctl.h>
#include <unistd.h>

#include <filesystem>

namespace testsupport {

// The uid and gid the plain user gets when the tests run as root ("nobody").
inline constexpr uid_t kPlainUid = 65534;
inline constexpr gid_t kPlainGid = 65534;

// While it lives, the process acts as kPlainUid (effective ids only, for every thread; root
// takes its own back at the end). Run by a plain user it changes nothing: that user is one.
class AsPlainUser {
public:
    AsPlainUser() : root_(geteuid() == 0) {
        if (root_) switched_ = setegid(kPlainGid) == 0 && seteuid(kPlainUid) == 0;
    }
    ~AsPlainUser() { Leave(); }
    // Whether the process now acts as a plain user.
    bool Active() const { return !root_ || switched_; }
    void Leave() {
        if (!root_ || !switched_) return;
        [[maybe_unused]] int ignored = seteuid(0);
        ignored = setegid(0);
        prctl(PR_SET_DUMPABLE, 1);  // a change of ids cleared it; /proc/self is root's again
        switched_ = false;
    }
    // Gives `path` to the plain user (when running as root), so the user may write there.
    static bool Give(const std::filesystem::path& path) {
        return geteuid() != 0 || chown(path.c_str(), kPlainUid, kPlainGid) == 0;
    }

private:
    bool root_;
    bool switched_ = false;
};

}  // namespace testsupport
