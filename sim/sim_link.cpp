#include "sim/sim_link.h"

namespace quarvel {

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
            const std::int64_t readyAt = m_link.m_line.nowMs + device.replyDelayMs();
            const std::vector<std::uint8_t> answer = device.receive(byte);
            for (std::size_t i = 0; i < answer.size(); ++i) {
                const auto pauses = static_cast<std::int64_t>(i) * device.bytePauseMs();
                m_link.m_line.arrivals.push_back({readyAt + pauses, answer[i]});
            }
        }
        return !device.lineDropped();
    }

    int readByte() override {
        if (m_link.m_device.lineDropped()) {
            return -2;
        }
        return m_link.m_line.read();
    }

    bool hasUnreadByte() override { return m_link.m_line.hasArrived(); }

    void discardPending() override { m_link.m_line.arrivals.clear(); }

    std::int64_t nowMs() const override { return m_link.m_line.nowMs; }

private:
    SimLink& m_link;
};

ChannelOpener SimLink::opener() {
    return [this](const SerialSettings&) -> std::unique_ptr<ByteChannel> {
        if (m_device.lineDropped()) {
            return nullptr;
        }
        ++m_opens;
        // A line opened again hears nothing of what was sent before.
        m_line.arrivals.clear();
        return std::make_unique<SimChannel>(*this);
    };
}

} // namespace quarvel
