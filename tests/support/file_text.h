// Whole-file text helpers for tests that write files, read them back and compare them byte for
// byte (binary mode: line ends are kept as they are).
#pragma once

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace testsupport {

// Text written with LF line ends in the tests, as the files hold it (CR LF).
inline std::string Crlf(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

// The file's bytes; empty when it cannot be read.
inline std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Replaces the file with `text`.
inline void WriteFile(const std::filesystem::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

// Puts a Unix socket at `path` (a name open(2) refuses with ENXIO) and closes it: the socket
// file stays. False when the path is too long for a socket's address or the bind fails.
inline bool MakeSocketFile(const std::filesystem::path& path) {
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    const std::string name = path.string();
    if (name.size() >= sizeof address.sun_path) return false;
    std::memcpy(address.sun_path, name.c_str(), name.size() + 1);
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    const bool bound = bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    close(fd);
    return bound;
}

}  // namespace testsupport
