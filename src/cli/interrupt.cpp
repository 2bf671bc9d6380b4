#include "cli/interrupt.h"

#include <memory>
#include <utility>

namespace quarvel {
namespace {

class InterruptibleChannel final : public ByteChannel {
public:
    explicit InterruptibleChannel(std::unique_ptr<ByteChannel> line) : m_line(std::move(line)) {}

    bool write(std::span<const std::uint8_t> bytes) override {
        return !interrupted() && m_line->write(bytes);
    }
    // A port failure unwinds every wait of the job at once.
    int readByte() override {
        if (interrupted()) {
            return -2;
        }
        const int value = m_line->readByte();
        return interrupted() ? -2 : value;
    }
    void discardPending() override { m_line->discardPending(); }
    std::int64_t nowMs() const override { return m_line->nowMs(); }

private:
    std::unique_ptr<ByteChannel> m_line;
};

} // namespace

ChannelOpener interruptibleOpener(ChannelOpener opener) {
    return [opener =
                std::move(opener)](const SerialSettings& settings) -> std::unique_ptr<ByteChannel> {
        auto line = opener(settings);
        if (!line) {
            return nullptr;
        }
        return std::make_unique<InterruptibleChannel>(std::move(line));
    };
}

} // namespace quarvel
