#pragma once

#include "link/byte_channel.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

namespace quarvel::test {

// What arrives on a scripted line: a byte, or a failure of the line, at a virtual moment.
struct Arrival {
    std::int64_t atMs;
    int value; // 0 to 255, or -2 for a failed line
};

// The far end of a scripted line, shared by the test and the channel it opens.
struct Script {
    std::deque<Arrival> arrivals;
    std::int64_t nowMs = 0;
    int discards = 0;
    std::vector<std::uint8_t> written;
};

// A line that delivers a script on a virtual clock: reads that would wait move the clock on.
class ScriptedChannel final : public ByteChannel {
public:
    explicit ScriptedChannel(std::shared_ptr<Script> script) : m_script(std::move(script)) {}

    bool write(std::span<const std::uint8_t> bytes) override {
        m_script->written.insert(m_script->written.end(), bytes.begin(), bytes.end());
        return true;
    }

    int readByte() override {
        constexpr std::int64_t kReadWaitMs = 100;
        auto& arrivals = m_script->arrivals;
        std::int64_t& now = m_script->nowMs;
        if (arrivals.empty() || arrivals.front().atMs > now + kReadWaitMs) {
            now += kReadWaitMs;
            return -1;
        }
        now = std::max(now, arrivals.front().atMs);
        const int value = arrivals.front().value;
        if (value >= 0) {
            arrivals.pop_front();
        }
        return value;
    }

    void discardPending() override { ++m_script->discards; }

    std::int64_t nowMs() const override { return m_script->nowMs; }

private:
    std::shared_ptr<Script> m_script;
};

inline ChannelOpener scriptedOpener(std::shared_ptr<Script> script) {
    return [script](const SerialSettings&) { return std::make_unique<ScriptedChannel>(script); };
}

} // namespace quarvel::test
