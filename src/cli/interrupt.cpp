#include "cli/interrupt.h"

#include <atomic>
#include <csignal>
#include <memory>
#include <utility>

namespace quarvel {
namespace {

// Atomic rather than volatile: the loads of a gang read it from threads of their own, and a
// lock-free atomic may be set from a signal handler.
std::atomic<bool> g_interrupted{false};
static_assert(std::atomic<bool>::is_always_lock_free);
struct sigaction g_previous {};

extern "C" void onInterrupt(int) {
    g_interrupted = true;
}

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

InterruptGuard::InterruptGuard() {
    g_interrupted = false;
    struct sigaction action {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    // No SA_RESTART: a read of the retry answer returns at once instead of waiting on.
    action.sa_flags = 0;
    sigaction(SIGINT, &action, &g_previous);
}

InterruptGuard::~InterruptGuard() {
    sigaction(SIGINT, &g_previous, nullptr);
}

bool interrupted() {
    return g_interrupted;
}

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
