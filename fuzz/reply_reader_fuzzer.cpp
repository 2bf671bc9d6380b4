// A reply byte stream through SerialPort::readReply on an in-process line with a virtual clock.
//
// Input: a time-out choice, a buffer size, then the stream as PlayedLine reads it.
#include "fuzz/fuzz_check.h"
#include "fuzz/played_line.h"
#include "link/serial_port.h"

#include <algorithm>
#include <vector>

namespace {

using namespace quarvel;

constexpr std::int64_t kReadWaitMs = 100;
constexpr std::int64_t kBodyLimitMs = 2000;
constexpr std::uint8_t kCanary = 0xA5;
constexpr std::size_t kCanaryBytes = 16;
constexpr std::size_t kPresetLength = 20;

// A complete reply: the frame ends in F7 directly before the terminating 0, inside the buffer,
// and the preset FF still shows after it.
void checkComplete(std::span<const std::uint8_t> buffer) {
    const auto end = std::find(buffer.begin() + 1, buffer.end(), 0xF7);
    FUZZ_CHECK(end != buffer.end() && end + 1 != buffer.end());
    FUZZ_CHECK(*(end + 1) == 0);
    const std::size_t terminator = static_cast<std::size_t>(end + 1 - buffer.begin());
    for (std::size_t i = terminator + 1; i < std::min(buffer.size(), kPresetLength); ++i) {
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
    const std::size_t capacity = kPresetLength + data[1] % 64;

    quarvel::fuzzing::PlayedLine line({data + 2, size - 2});
    SerialPort port(line.opener());
    FUZZ_CHECK(port.open({}, 100, 100) == 0);

    std::vector<std::uint8_t> storage(capacity + kCanaryBytes, kCanary);
    const std::span<std::uint8_t> buffer(storage.data(), capacity);
    const int result = port.readReply(buffer, timeoutSeconds);

    FUZZ_CHECK(result >= ReplyComplete && result <= ReplyPortError);
    FUZZ_CHECK(std::all_of(storage.begin() + static_cast<std::ptrdiff_t>(capacity), storage.end(),
                           [](std::uint8_t byte) { return byte == kCanary; }));
    // The wait for the reply, its start byte and its body are each bounded.
    FUZZ_CHECK(line.nowMs() <= timeoutSeconds * 1000 + kBodyLimitMs + 3 * kReadWaitMs);
    if (result == ReplyComplete) {
        checkComplete(buffer);
    }
    return 0;
}
