#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

// The fuzz input as a regular file in memory, reachable by a path.
class FuzzFile {
public:
    FuzzFile() : fd_(::memfd_create("fixtally-fuzz", 0)) {
        path_ = "/proc/self/fd/" + std::to_string(fd_);
    }
    ~FuzzFile() { ::close(fd_); }
    const std::string& Write(const std::uint8_t* data, std::size_t size) {
        if (::ftruncate(fd_, 0) != 0) __builtin_trap();
        std::size_t done = 0;
        while (done < size) {
            const ssize_t n = ::pwrite(fd_, data + done, size - done, static_cast<off_t>(done));
            if (n <= 0) __builtin_trap();
            done += static_cast<std::size_t>(n);
        }
        return path_;
    }

private:
    int fd_;
    std::string path_;
};
