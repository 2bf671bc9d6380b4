#include "recorded_load.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <span>
#include <termios.h>
#include <unistd.h>

// Replays the bytes of one load on a real line with nothing in between: a frame, its reply, the
// next frame. What the line on the far end allows any loader on this machine, at this moment.
// Usage: bench_ideal_line FILE DEVICE; prints "seconds".

namespace {

constexpr int kReplyWaitMs = 5000;

class RawLine {
public:
    explicit RawLine(const char* path) : m_fd(::open(path, O_RDWR | O_NOCTTY)) {
        termios settings{};
        if (m_fd >= 0 && ::tcgetattr(m_fd, &settings) == 0) {
            ::cfmakeraw(&settings);
            ::tcsetattr(m_fd, TCSANOW, &settings);
        }
    }
    ~RawLine() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    RawLine(const RawLine&) = delete;
    RawLine& operator=(const RawLine&) = delete;

    bool isOpen() const { return m_fd >= 0; }

    bool writeAll(std::span<const std::uint8_t> bytes) {
        while (!bytes.empty()) {
            const ssize_t count = ::write(m_fd, bytes.data(), bytes.size());
            if (count < 0 && errno != EINTR) {
                return false;
            }
            bytes = bytes.subspan(static_cast<std::size_t>(std::max<ssize_t>(count, 0)));
        }
        return true;
    }

    // Reads exactly count bytes, each within kReplyWaitMs of the one before.
    bool readCount(std::size_t count) {
        std::uint8_t buffer[64];
        while (count > 0) {
            pollfd line{m_fd, POLLIN, 0};
            if (::poll(&line, 1, kReplyWaitMs) <= 0) {
                return false;
            }
            const ssize_t got = ::read(m_fd, buffer, std::min(count, sizeof buffer));
            if (got <= 0) {
                return false;
            }
            count -= static_cast<std::size_t>(got);
        }
        return true;
    }

private:
    int m_fd;
};

} // namespace

int main(int argc, char** argv) {
    const std::span<char*> args(argv, static_cast<std::size_t>(argc));
    if (args.size() != 3) {
        std::fputs("usage: bench_ideal_line FILE DEVICE\n", stderr);
        return 2;
    }
    const quarvel::bench::RecordedLoad load = quarvel::bench::recordLoad(args[1]);
    RawLine line(args[2]);
    if (!load.completed || !line.isOpen()) {
        std::fprintf(stderr, "bench_ideal_line: cannot load %s or open %s\n", args[1], args[2]);
        return 1;
    }
    const auto start = std::chrono::steady_clock::now();
    for (const auto& exchange : load.exchanges) {
        if (!line.writeAll(exchange.sent) || !line.readCount(exchange.replyBytes)) {
            std::fputs("bench_ideal_line: the line did not answer as in the recorded load\n",
                       stderr);
            return 1;
        }
    }
    const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
    std::printf("%.6f\n", seconds.count());
    return 0;
}
