#include "scripted_line.h"

#include <memory>

namespace quarvel::test {
namespace {

constexpr std::uint8_t kStart = 0xF0;
constexpr std::uint8_t kEnd = 0xF7;
constexpr std::uint8_t kProbe = 0xFE;

} // namespace

ScriptedAnswer ackFrame(std::uint8_t status) {
    return {{kStart, 0x00, 0x3C, 0x51, 0x7F, 0x19, status, kEnd}};
}

ScriptedAnswer assumedAckFrame(std::uint8_t status) {
    return {{kStart, 0x00, 0x3C, 0x51, 0x7F, 0x06, 0x07, status, kEnd}};
}

ScriptedAnswer identifyReply(int typeNumber) {
    return {{kStart, 0x00, 0x3C, 0x51, 0x7F, 0x06, 0x02,
             static_cast<std::uint8_t>(typeNumber / 100),
             static_cast<std::uint8_t>(typeNumber % 100), kEnd}};
}

ScriptedAnswer silence() {
    return {};
}

ScriptedAnswer lineFailure() {
    return {{}, true};
}

class ScriptedChannel final : public ByteChannel {
public:
    explicit ScriptedChannel(ScriptedLine& line) : m_line(line) {}

    bool write(std::span<const std::uint8_t> bytes) override {
        for (const std::uint8_t byte : bytes) {
            m_line.receive(byte);
        }
        return true;
    }

    int readByte() override {
        VirtualLine& line = m_line.m_line;
        if (m_line.m_failed && line.arrivals.empty()) {
            // A failed port answers at once, but never in no time at all.
            line.nowMs += 1;
            return -2;
        }
        return line.read();
    }

    void discardPending() override { m_line.m_line.arrivals.clear(); }
    std::int64_t nowMs() const override { return m_line.m_line.nowMs; }

private:
    ScriptedLine& m_line;
};

ChannelOpener ScriptedLine::opener() {
    return [this](const SerialSettings&) -> std::unique_ptr<ByteChannel> {
        return std::make_unique<ScriptedChannel>(*this);
    };
}

void ScriptedLine::receive(std::uint8_t byte) {
    if (m_frame.empty() && byte != kStart) {
        m_requests.push_back({byte});
        if (byte != kProbe) {
            return;
        }
    } else {
        m_frame.push_back(byte);
        if (byte != kEnd) {
            return;
        }
        m_requests.push_back(m_frame);
        m_frame.clear();
    }
    ScriptedAnswer answer = m_fallback;
    if (!m_answers.empty()) {
        answer = m_answers.front();
        m_answers.pop_front();
    }
    std::int64_t readyAt = m_line.nowMs;
    for (const std::uint8_t reply : answer.bytes) {
        m_line.arrivals.push_back({readyAt, reply});
        readyAt += answer.spacingMs;
    }
    m_failed = m_failed || answer.lineFails;
}

} // namespace quarvel::test
