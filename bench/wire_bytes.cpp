#include "job/load_job.h"
#include "job/load_reporter.h"
#include "sim/device_model.h"
#include "sim/sim_link.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <span>

// Counts the bytes that one load of a program file puts on the line each way, by running the load
// in-process against the same device model that ktv-sim serves, on virtual time.
// Usage: bench_wire_bytes FILE; prints "sent received records".

namespace quarvel {
namespace {

constexpr std::uint8_t kRecordCommand = 0x1A;
constexpr std::size_t kCommandAt = 5;

struct LineCount {
    std::int64_t sent = 0;
    std::int64_t received = 0;
};

// Passes everything through to the device's channel, counting what crosses it.
class CountingChannel final : public ByteChannel {
public:
    CountingChannel(std::unique_ptr<ByteChannel> line, LineCount& count)
        : m_line(std::move(line)), m_count(count) {}

    bool write(std::span<const std::uint8_t> bytes) override {
        m_count.sent += static_cast<std::int64_t>(bytes.size());
        return m_line->write(bytes);
    }
    int readByte() override {
        const int value = m_line->readByte();
        m_count.received += value >= 0 ? 1 : 0;
        return value;
    }
    void discardPending() override { m_line->discardPending(); }
    std::int64_t nowMs() const override { return m_line->nowMs(); }

private:
    std::unique_ptr<ByteChannel> m_line;
    LineCount& m_count;
};

class SilentReporter final : public LoadReporter {
public:
    void addMessage(std::string_view) override {}
    void setPercentage(int) override {}
    bool askRetry() override { return false; }
};

} // namespace
} // namespace quarvel

int main(int argc, char** argv) {
    using namespace quarvel;
    const std::span<char*> args(argv, static_cast<std::size_t>(argc));
    if (args.size() != 2) {
        std::fputs("usage: bench_wire_bytes FILE\n", stderr);
        return 2;
    }
    DeviceModel device;
    SimLink link(device);
    LineCount count;
    ChannelOpener opener =
        [&link, &count](const SerialSettings& settings) -> std::unique_ptr<ByteChannel> {
        std::unique_ptr<ByteChannel> line = link.opener()(settings);
        return line ? std::make_unique<CountingChannel>(std::move(line), count) : nullptr;
    };

    LoadJob job(opener, false);
    SilentReporter reporter;
    job.reset();
    int result = StepAgain;
    while (result == StepAgain) {
        result = job.step(args[1], 1, 0x7F, reporter);
    }
    job.cleanUp();
    if (result != StepDone) {
        std::fprintf(stderr, "bench_wire_bytes: the load of %s failed\n", args[1]);
        return 1;
    }
    const auto& frames = device.received();
    const auto records = std::count_if(frames.begin(), frames.end(), [](const auto& frame) {
        return frame.size() > kCommandAt && frame[kCommandAt] == kRecordCommand;
    });
    std::printf("%lld %lld %lld\n", static_cast<long long>(count.sent),
                static_cast<long long>(count.received), static_cast<long long>(records));
    return 0;
}
