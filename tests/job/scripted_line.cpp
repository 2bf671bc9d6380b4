#include "scripted_line.h"

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

ScriptedLine::ScriptedLine(std::vector<ScriptedAnswer> answers, ScriptedAnswer fallback)
    : m_answers(answers.begin(), answers.end()), m_fallback(std::move(fallback)) {
    m_script->answer = [this](std::uint8_t byte) { receive(byte); };
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
    std::int64_t readyAt = m_script->nowMs;
    for (const std::uint8_t reply : answer.bytes) {
        m_script->arrivals.push_back({readyAt, reply});
        readyAt += answer.spacingMs;
    }
    // A failed port fails every read once the answer's bytes are read.
    if (answer.lineFails && !m_failed) {
        m_failed = true;
        m_script->arrivals.push_back({readyAt, -2});
    }
}

} // namespace quarvel::test
