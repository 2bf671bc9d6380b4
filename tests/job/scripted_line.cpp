#include "scripted_line.h"

#include <algorithm>
#include <memory>

namespace quarvel::test {
namespace {

constexpr std::int64_t kReadWaitMs = 100;
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
        auto& pending = m_line.m_pending;
        std::int64_t& now = m_line.m_nowMs;
        if (m_line.m_failed && pending.empty()) {
            // A failed port answers at once, but never in no time at all.
            now += 1;
            return -2;
        }
        if (pending.empty() || pending.front().readyAt > now + kReadWaitMs) {
            now += kReadWaitMs;
            return -1;
        }
        now = std::max(now, pending.front().readyAt);
        const std::uint8_t byte = pending.front().byte;
        pending.pop_front();
        return byte;
    }

    void discardPending() override { m_line.m_pending.clear(); }
    std::int64_t nowMs() const override { return m_line.m_nowMs; }

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
    std::int64_t readyAt = m_nowMs;
    for (const std::uint8_t reply : answer.bytes) {
        m_pending.push_back({readyAt, reply});
        readyAt += answer.spacingMs;
    }
    m_failed = m_failed || answer.lineFails;
}

} // namespace quarvel::test
