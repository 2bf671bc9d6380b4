#include "cli/trace_channel.h"

#include "link/command_set.h"

#include <array>
#include <cinttypes>
#include <cstdio>
#include <memory>
#include <utility>
#include <vector>

namespace quarvel {
namespace {

constexpr int kNothing = -1;
constexpr int kFailure = -2;

class TraceChannel final : public ByteChannel {
public:
    TraceChannel(std::unique_ptr<ByteChannel> line, TraceLog log, std::string label)
        : m_line(std::move(line)), m_log(std::move(log)), m_label(std::move(label)),
          m_openedMs(m_line->nowMs()) {}
    ~TraceChannel() override { endRead(); }
    TraceChannel(const TraceChannel&) = delete;
    TraceChannel& operator=(const TraceChannel&) = delete;

    bool write(std::span<const std::uint8_t> bytes) override {
        endRead();
        const std::int64_t at = m_line->nowMs();
        const bool accepted = m_line->write(bytes);
        std::string text = hex(bytes);
        if (!accepted) {
            text += " (not all written)";
        }
        print(at, '>', text);
        return accepted;
    }

    int readByte() override {
        const int value = m_line->readByte();
        if (value == kNothing) {
            endRead();
        } else if (value == kFailure) {
            endRead();
            print(m_line->nowMs(), '!', "read failed");
        } else {
            if (m_read.empty()) {
                m_readAtMs = m_line->nowMs();
            }
            m_read.push_back(static_cast<std::uint8_t>(value));
            if (value == kEndOfExclusive) {
                endRead();
            }
        }
        return value;
    }

    void discardPending() override {
        endRead();
        m_line->discardPending();
    }

    std::int64_t nowMs() const override { return m_line->nowMs(); }

private:
    static std::string hex(std::span<const std::uint8_t> bytes) {
        static constexpr char kDigits[] = "0123456789ABCDEF";
        std::string text;
        text.reserve(bytes.size() * 3);
        for (const std::uint8_t byte : bytes) {
            if (!text.empty()) {
                text += ' ';
            }
            text += kDigits[byte >> 4];
            text += kDigits[byte & 0x0F];
        }
        return text;
    }

    void endRead() {
        if (!m_read.empty()) {
            print(m_readAtMs, '<', hex(m_read));
            m_read.clear();
        }
    }

    void print(std::int64_t atMs, char direction, const std::string& text) {
        const std::string label = m_label.empty() ? std::string() : " " + m_label;
        std::array<char, 32> prefix{};
        std::snprintf(prefix.data(), prefix.size(), " %7" PRId64 " ms %c ", atMs - m_openedMs,
                      direction);
        m_log("trace" + label + prefix.data() + text);
    }

    std::unique_ptr<ByteChannel> m_line;
    TraceLog m_log;
    std::string m_label;
    std::int64_t m_openedMs;
    std::vector<std::uint8_t> m_read;
    std::int64_t m_readAtMs = 0;
};

} // namespace

ChannelOpener tracingOpener(ChannelOpener opener, TraceLog log, std::string label) {
    return [opener = std::move(opener), log = std::move(log), label = std::move(label)](
               const SerialSettings& settings) -> std::unique_ptr<ByteChannel> {
        auto line = opener(settings);
        if (!line) {
            return nullptr;
        }
        return std::make_unique<TraceChannel>(std::move(line), log, label);
    };
}

} // namespace quarvel
