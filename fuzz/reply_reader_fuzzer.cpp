// A reply byte stream through SerialPort::readReply on an in-process line with a virtual clock.
//
// Input: a time-out choice, a buffer size, then the stream. In the stream FD n stands for a pause
// of (n + 1) x 50 ms before the next byte, FD FF for a failure of the line and FD FD for the byte
// FD itself; every other byte arrives as it is.
#include "fuzz/fuzz_check.h"
#include "link/serial_port.h"

#include <algorithm>
#include <deque>
#include <memory>
#include <vector>

namespace {

using namespace quarvel;

constexpr std::uint8_t kEscape = 0xFD;
constexpr std::uint8_t kLineFailure = 0xFF;
constexpr std::int64_t kPauseStepMs = 50;
constexpr std::int64_t kReadWaitMs = 100;
constexpr int kFailureValue = -2;
constexpr std::uint8_t kCanary = 0xA5;
constexpr std::size_t kCanaryBytes = 16;

struct Arrival {
    std::int64_t atMs;
    int value;
};

struct Line {
    std::deque<Arrival> arrivals;
    std::int64_t nowMs = 0;
};

class PlayedChannel final : public ByteChannel {
public:
    explicit PlayedChannel(Line& line) : m_line(line) {}

    bool write(std::span<const std::uint8_t>) override { return true; }

    int readByte() override {
        auto& arrivals = m_line.arrivals;
        if (arrivals.empty() || arrivals.front().atMs > m_line.nowMs + kReadWaitMs) {
            m_line.nowMs += kReadWaitMs;
            return -1;
        }
        m_line.nowMs = std::max(m_line.nowMs, arrivals.front().atMs);
        const int value = arrivals.front().value;
        arrivals.pop_front();
        return value;
    }

    void discardPending() override { m_line.arrivals.clear(); }
    std::int64_t nowMs() const override { return m_line.nowMs; }

private:
    Line& m_line;
};

std::deque<Arrival> arrivalsOf(const std::uint8_t* data, std::size_t size) {
    std::deque<Arrival> arrivals;
    std::int64_t at = 0;
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] != kEscape || i + 1 == size) {
            arrivals.push_back({at, data[i]});
            continue;
        }
        const std::uint8_t code = data[++i];
        if (code == kEscape) {
            arrivals.push_back({at, kEscape});
        } else if (code == kLineFailure) {
            arrivals.push_back({at, kFailureValue});
        } else {
            at += (code + 1) * kPauseStepMs;
        }
    }
    return arrivals;
}

// A complete reply: the frame ends in F7 directly before the terminating 0, inside the buffer,
// and the preset FF still shows after it.
void checkComplete(std::span<const std::uint8_t> buffer) {
    const auto end = std::find(buffer.begin() + 1, buffer.end(), 0xF7);
    FUZZ_CHECK(end != buffer.end() && end + 1 != buffer.end());
    FUZZ_CHECK(*(end + 1) == 0);
    const std::size_t terminator = static_cast<std::size_t>(end + 1 - buffer.begin());
    for (std::size_t i = terminator + 1; i < std::min<std::size_t>(buffer.size(), 20); ++i) {
        FUZZ_CHECK(buffer[i] == 0xFF);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    constexpr int kTimeouts[] = {1, 2, 20};
    const int timeoutSeconds = kTimeouts[data[0] % 3];
    const std::size_t capacity = 20 + data[1] % 64;

    Line line;
    line.arrivals = arrivalsOf(data + 2, size - 2);
    SerialPort port([&line](const SerialSettings&) -> std::unique_ptr<ByteChannel> {
        return std::make_unique<PlayedChannel>(line);
    });
    FUZZ_CHECK(port.open({}, 100, 100) == 0);

    std::vector<std::uint8_t> storage(capacity + kCanaryBytes, kCanary);
    const std::span<std::uint8_t> buffer(storage.data(), capacity);
    const int result = port.readReply(buffer, timeoutSeconds);

    FUZZ_CHECK(result >= ReplyComplete && result <= ReplyPortError);
    FUZZ_CHECK(std::all_of(storage.begin() + static_cast<std::ptrdiff_t>(capacity), storage.end(),
                           [](std::uint8_t byte) { return byte == kCanary; }));
    // The wait for the reply, its start byte and its body are each bounded.
    FUZZ_CHECK(line.nowMs <= timeoutSeconds * 1000 + 2000 + 3 * kReadWaitMs);
    if (result == ReplyComplete) {
        checkComplete(buffer);
    }
    return 0;
}
