#include "recorded_load.h"

#include "job/load_job.h"
#include "job/load_reporter.h"
#include "sim/device_model.h"
#include "sim/sim_link.h"

#include <algorithm>
#include <memory>
#include <span>

namespace quarvel::bench {
namespace {

constexpr std::uint8_t kRecordCommand = 0x1A;
constexpr std::size_t kCommandAt = 5;
constexpr int kEveryChannel = 0x7F;

// Passes everything through to the device's channel, noting what crosses it.
class RecordingChannel final : public ByteChannel {
public:
    RecordingChannel(std::unique_ptr<ByteChannel> line, std::vector<Exchange>& exchanges)
        : m_line(std::move(line)), m_exchanges(exchanges) {}

    bool write(std::span<const std::uint8_t> bytes) override {
        // A frame written in pieces stays one exchange until a reply byte has been read.
        if (m_exchanges.empty() || m_exchanges.back().replyBytes > 0) {
            m_exchanges.emplace_back();
        }
        auto& sent = m_exchanges.back().sent;
        sent.insert(sent.end(), bytes.begin(), bytes.end());
        return m_line->write(bytes);
    }
    int readByte() override {
        const int value = m_line->readByte();
        if (value >= 0 && !m_exchanges.empty()) {
            ++m_exchanges.back().replyBytes;
        }
        return value;
    }
    void discardPending() override { m_line->discardPending(); }
    std::int64_t nowMs() const override { return m_line->nowMs(); }

private:
    std::unique_ptr<ByteChannel> m_line;
    std::vector<Exchange>& m_exchanges;
};

class SilentReporter final : public LoadReporter {
public:
    void addMessage(std::string_view) override {}
    void setPercentage(int) override {}
    bool askRetry() override { return false; }
};

} // namespace

RecordedLoad recordLoad(const std::string& programFile) {
    DeviceModel device;
    SimLink link(device);
    RecordedLoad load;
    ChannelOpener opener = [&link,
                            &load](const SerialSettings& settings) -> std::unique_ptr<ByteChannel> {
        std::unique_ptr<ByteChannel> line = link.opener()(settings);
        if (!line) {
            return nullptr;
        }
        return std::make_unique<RecordingChannel>(std::move(line), load.exchanges);
    };

    LoadJob job(opener, false);
    SilentReporter reporter;
    job.reset();
    int result = StepAgain;
    while (result == StepAgain) {
        result = job.step(programFile, 1, kEveryChannel, reporter);
    }
    job.cleanUp();
    load.completed = result == StepDone;
    const auto& frames = device.received();
    load.records = std::count_if(frames.begin(), frames.end(), [](const auto& frame) {
        return frame.size() > kCommandAt && frame[kCommandAt] == kRecordCommand;
    });
    return load;
}

} // namespace quarvel::bench
