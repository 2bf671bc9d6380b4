#include "ui/alive_while_waiting.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <utility>

namespace quarvel {

namespace {

class ServingChannel final : public ByteChannel {
public:
    ServingChannel(std::unique_ptr<ByteChannel> line, std::function<void()> whileWaiting)
        : m_line(std::move(line)), m_whileWaiting(std::move(whileWaiting)),
          m_lastServedMs(m_line->nowMs()) {}

    bool write(std::span<const std::uint8_t> bytes) override { return m_line->write(bytes); }

    // Served before the read rather than after it, so that a byte arriving while the windows
    // are served is read at once instead of being outlived by the time-out.
    int readByte() override {
        if (const std::int64_t now = m_line->nowMs();
            now - m_lastServedMs >= kServeWindowsEveryMs) {
            m_lastServedMs = now;
            m_whileWaiting();
        }
        return m_line->readByte();
    }

    bool hasUnreadByte() override { return m_line->hasUnreadByte(); }
    void discardPending() override { m_line->discardPending(); }
    std::int64_t nowMs() const override { return m_line->nowMs(); }

private:
    std::unique_ptr<ByteChannel> m_line;
    std::function<void()> m_whileWaiting;
    std::int64_t m_lastServedMs;
};

} // namespace

void serveWindowsWithoutInput() {
    static bool serving = false;
    if (serving || QCoreApplication::instance() == nullptr) {
        return;
    }
    serving = true;
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    serving = false;
}

ChannelOpener servingWindowsWhileWaiting(ChannelOpener opener, std::function<void()> whileWaiting) {
    return [opener = std::move(opener), whileWaiting = std::move(whileWaiting)](
               const SerialSettings& settings) -> std::unique_ptr<ByteChannel> {
        auto line = opener(settings);
        if (!line) {
            return nullptr;
        }
        return std::make_unique<ServingChannel>(std::move(line), whileWaiting);
    };
}

} // namespace quarvel
