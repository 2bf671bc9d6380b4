#include "link/command_set.h"

#include <algorithm>

namespace quarvel {

namespace {

constexpr std::array<std::uint8_t, 8> kSearchFrame{0xF0, 0x00, 0x3C, 0x51, 0x7F, 0x06, 0x10, 0xF7};
constexpr std::array<std::uint8_t, 8> kIdentifyFrame{0xF0, 0x00, 0x3C, 0x51,
                                                     0x7F, 0x06, 0x01, 0xF7};
constexpr std::array<std::uint8_t, 7> kHandshakeFrame{0xF0, 0x00, 0x3C, 0x51, 0x7F, 0x1B, 0xF7};
// One template for both dialects: normal mode sends the first 8 bytes, assumed-model all 9.
constexpr std::array<std::uint8_t, 9> kEraseFrame{0xF0, 0x00, 0x3C, 0x51, 0x7F,
                                                  0x18, 0x00, 0xF7, 0xF7};
constexpr std::array<std::uint8_t, 7> kRecordHead{0xF0, 0x00, 0x3C, 0x51, 0x7F, 0x1A, 0x00};

constexpr std::array<std::uint8_t, 2> kAssumedEraseCommand{0x06, 0x05};
constexpr std::array<std::uint8_t, 2> kAssumedRecordCommand{0x06, 0x0E};

struct DialectBytes {
    std::size_t commandLength;
    std::size_t statusIndex;
};

constexpr DialectBytes kNormalBytes{1, 6};
constexpr DialectBytes kAssumedBytes{2, 7};

const DialectBytes& bytesOf(Dialect dialect) {
    return dialect == Dialect::Normal ? kNormalBytes : kAssumedBytes;
}

constexpr std::size_t kCommandIndex = 5;
constexpr int kSectorCount = 11;
constexpr std::uint8_t kNoStatus = 0xFF;

} // namespace

CommandSet::CommandSet() {
    reset(kAllChannels);
}

void CommandSet::reset(std::uint8_t channel) {
    m_dialect = Dialect::Normal;
    m_search = kSearchFrame;
    m_identify = kIdentifyFrame;
    m_handshake = kHandshakeFrame;
    m_erase = kEraseFrame;
    m_recordHead = kRecordHead;
    for (auto* frame : {m_search.data(), m_identify.data(), m_handshake.data(), m_erase.data(),
                        m_recordHead.data()}) {
        frame[kChannelIndex] = channel;
    }
}

void CommandSet::switchToAssumedModel() {
    m_dialect = Dialect::AssumedModel;
    std::copy(kAssumedEraseCommand.begin(), kAssumedEraseCommand.end(),
              m_erase.begin() + kCommandIndex);
    std::copy(kAssumedRecordCommand.begin(), kAssumedRecordCommand.end(),
              m_recordHead.begin() + kCommandIndex);
}

std::span<const std::uint8_t> CommandSet::eraseFrame(int sector) {
    if (sector < 0 || sector >= kSectorCount) {
        return {};
    }
    const DialectBytes& bytes = bytesOf(m_dialect);
    m_erase[bytes.statusIndex] = static_cast<std::uint8_t>(sector);
    return std::span(m_erase).first(bytes.statusIndex + 2);
}

std::span<const std::uint8_t> CommandSet::recordFrameHead() const {
    return std::span(m_recordHead).first(kCommandIndex + bytesOf(m_dialect).commandLength);
}

int CommandSet::statusIndex() const {
    return static_cast<int>(bytesOf(m_dialect).statusIndex);
}

std::uint8_t CommandSet::replyStatus(std::span<const std::uint8_t> reply) const {
    const std::size_t index = bytesOf(m_dialect).statusIndex;
    return index < reply.size() ? reply[index] : kNoStatus;
}

int typeNumber(std::span<const std::uint8_t> reply) {
    constexpr std::size_t kHighIndex = 7;
    constexpr std::size_t kLowIndex = 8;
    if (reply.size() <= kLowIndex) {
        return -1;
    }
    return reply[kHighIndex] * 100 + reply[kLowIndex];
}

} // namespace quarvel
