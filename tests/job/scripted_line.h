#pragma once

#include "link/byte_channel.h"
#include "tests/support/scripted_channel.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <utility>
#include <vector>

namespace quarvel::test {

// What the far end sends back after one frame (or the lone probe byte).
struct ScriptedAnswer {
    std::vector<std::uint8_t> bytes;
    // From this answer on, every read reports a failed port.
    bool lineFails = false;
    // Virtual time between two bytes of the answer.
    std::int64_t spacingMs = 0;
};

ScriptedAnswer ackFrame(std::uint8_t status);
ScriptedAnswer assumedAckFrame(std::uint8_t status);
ScriptedAnswer identifyReply(int typeNumber);
ScriptedAnswer silence();
ScriptedAnswer lineFailure();

// A far end that answers each request with the next scripted answer, for replies that no sane
// device gives. Runs on virtual time like the device link.
class ScriptedLine {
public:
    // Once the script runs out, every request gets fallback.
    explicit ScriptedLine(std::vector<ScriptedAnswer> answers, ScriptedAnswer fallback = {});

    ChannelOpener opener() const { return scriptedOpener(m_script); }
    // Every request seen: whole frames, and the probe byte on its own.
    const std::vector<std::vector<std::uint8_t>>& requests() const { return m_requests; }

private:
    void receive(std::uint8_t byte);

    std::deque<ScriptedAnswer> m_answers;
    ScriptedAnswer m_fallback;
    std::vector<std::vector<std::uint8_t>> m_requests;
    std::vector<std::uint8_t> m_frame;
    std::shared_ptr<Script> m_script = std::make_shared<Script>();
    bool m_failed = false;
};

} // namespace quarvel::test
