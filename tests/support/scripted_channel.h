#pragma once

#include "link/byte_channel.h"
#include "sim/virtual_line.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace quarvel::test {

// The far end of a scripted line, shared by the test and the channel it opens: arrivals set out
// beforehand, or added by answer as the bytes written reach it.
struct Script : VirtualLine {
    int discards = 0;
    std::vector<std::uint8_t> written;
    std::function<void(std::uint8_t)> answer;
    // The reader is away for awayMs before its read number awayBeforeRead (from 1), as while the
    // program serves its windows; whatever arrives meanwhile waits in the line.
    int awayBeforeRead = 0;
    std::int64_t awayMs = 0;
    int reads = 0;
};

// A line that delivers a script on the virtual clock.
class ScriptedChannel final : public ByteChannel {
public:
    explicit ScriptedChannel(std::shared_ptr<Script> script) : m_script(std::move(script)) {}

    bool write(std::span<const std::uint8_t> bytes) override {
        m_script->written.insert(m_script->written.end(), bytes.begin(), bytes.end());
        for (const std::uint8_t byte : bytes) {
            if (m_script->answer) {
                m_script->answer(byte);
            }
        }
        return true;
    }

    int readByte() override {
        if (++m_script->reads == m_script->awayBeforeRead) {
            m_script->nowMs += m_script->awayMs;
        }
        // A failed line stays failed.
        const int value = m_script->peek();
        if (value >= 0) {
            m_script->arrivals.pop_front();
        }
        return value;
    }

    bool hasUnreadByte() override { return m_script->hasArrived(); }

    void discardPending() override {
        ++m_script->discards;
        m_script->arrivals.clear();
    }

    std::int64_t nowMs() const override { return m_script->nowMs; }

private:
    std::shared_ptr<Script> m_script;
};

inline ChannelOpener scriptedOpener(std::shared_ptr<Script> script) {
    return [script](const SerialSettings&) { return std::make_unique<ScriptedChannel>(script); };
}

} // namespace quarvel::test
