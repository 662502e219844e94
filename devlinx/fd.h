#pragma once
// A file descriptor that closes itself, and the eventfd that wakes a thread blocked in poll.

#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <utility>

namespace devlinx {

class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : fd_(fd) {}
    UniqueFd(UniqueFd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept
    {
        if (this != &other)
            Reset(std::exchange(other.fd_, -1));
        return *this;
    }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    ~UniqueFd() { Reset(); }

    int Get() const { return fd_; }
    bool Valid() const { return fd_ >= 0; }
    void Reset(int fd = -1)
    {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = fd;
    }

private:
    int fd_ = -1;
};

// An eventfd that stays readable once signalled: the "stop" wake-up of a poll loop.
inline UniqueFd MakeWakeFd()
{
    return UniqueFd(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
}

inline void Signal(const UniqueFd& wake)
{
    const uint64_t one = 1;
    while (::write(wake.Get(), &one, sizeof one) < 0 && errno == EINTR) {
    }
}

// Empties a signalled eventfd so that it can be waited on again.
inline void Drain(const UniqueFd& wake)
{
    uint64_t value = 0;
    while (::read(wake.Get(), &value, sizeof value) < 0 && errno == EINTR) {
    }
}

} // namespace devlinx
