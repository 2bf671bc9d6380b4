#include "fuzz/played_line.h"

namespace quarvel::fuzzing {

namespace {

constexpr std::uint8_t kEscape = 0xFD;
constexpr std::uint8_t kLineFailure = 0xFF;
constexpr std::int64_t kPauseStepMs = 50;
constexpr int kFailureValue = -2;

} // namespace

class PlayedChannel final : public ByteChannel {
public:
    explicit PlayedChannel(PlayedLine& line) : m_line(line) {}

    bool write(std::span<const std::uint8_t>) override { return true; }

    int readByte() override { return m_line.m_line.read(); }

    // What has arrived and not been read is dropped; what is still on its way comes later.
    void discardPending() override {
        auto& arrivals = m_line.m_line.arrivals;
        while (!arrivals.empty() && arrivals.front().atMs <= m_line.m_line.nowMs) {
            arrivals.pop_front();
        }
    }
    std::int64_t nowMs() const override { return m_line.m_line.nowMs; }

private:
    PlayedLine& m_line;
};

PlayedLine::PlayedLine(std::span<const std::uint8_t> input) {
    std::int64_t at = 0;
    for (std::size_t i = 0; i < input.size(); ++i) {
        if (input[i] != kEscape || i + 1 == input.size()) {
            m_line.arrivals.push_back({at, input[i]});
            continue;
        }
        const std::uint8_t code = input[++i];
        if (code == kEscape) {
            m_line.arrivals.push_back({at, kEscape});
        } else if (code == kLineFailure) {
            m_line.arrivals.push_back({at, kFailureValue});
        } else {
            at += (code + 1) * kPauseStepMs;
        }
    }
}

ChannelOpener PlayedLine::opener() {
    return [this](const SerialSettings&) -> std::unique_ptr<ByteChannel> {
        return std::make_unique<PlayedChannel>(*this);
    };
}

} // namespace quarvel::fuzzing
