#include "sim/sim_link.h"

#include <deque>

namespace quarvel {

namespace {

constexpr std::int64_t kReadWaitMs = 100;

} // namespace

class SimChannel final : public ByteChannel {
public:
    explicit SimChannel(SimLink& link) : m_link(link) {}
    ~SimChannel() override { m_link.m_device.lineClosed(); }
    SimChannel(const SimChannel&) = delete;
    SimChannel& operator=(const SimChannel&) = delete;

    bool write(std::span<const std::uint8_t> bytes) override {
        DeviceModel& device = m_link.m_device;
        for (const std::uint8_t byte : bytes) {
            if (device.lineDropped()) {
                return false;
            }
            const std::int64_t readyAt = m_link.m_nowMs + device.replyDelayMs();
            const std::vector<std::uint8_t> answer = device.receive(byte);
            for (std::size_t i = 0; i < answer.size(); ++i) {
                const auto pauses = static_cast<std::int64_t>(i) * device.bytePauseMs();
                m_incoming.push_back({readyAt + pauses, answer[i]});
            }
        }
        return !device.lineDropped();
    }

    int readByte() override {
        if (m_link.m_device.lineDropped()) {
            return -2;
        }
        std::int64_t& now = m_link.m_nowMs;
        if (m_incoming.empty() || m_incoming.front().readyAt > now + kReadWaitMs) {
            now += kReadWaitMs;
            return -1;
        }
        now = std::max(now, m_incoming.front().readyAt);
        const std::uint8_t byte = m_incoming.front().byte;
        m_incoming.pop_front();
        return byte;
    }

    void discardPending() override { m_incoming.clear(); }

    std::int64_t nowMs() const override { return m_link.m_nowMs; }

private:
    struct Incoming {
        std::int64_t readyAt;
        std::uint8_t byte;
    };

    SimLink& m_link;
    std::deque<Incoming> m_incoming;
};

ChannelOpener SimLink::opener() {
    return [this](const SerialSettings&) -> std::unique_ptr<ByteChannel> {
        if (m_device.lineDropped()) {
            return nullptr;
        }
        ++m_opens;
        return std::make_unique<SimChannel>(*this);
    };
}

} // namespace quarvel
