#include "sim/device_model.h"

#include "sim/device_protocol.h"
#include "sim/flash_layout.h"
#include "sim/record_decoder.h"

#include <algorithm>
#include <string>

namespace quarvel {

using namespace device;

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes frameOf(std::uint8_t channel, std::initializer_list<std::uint8_t> body) {
    Bytes frame;
    frame.reserve(body.size() + 6);
    frame.assign({kFrameStart, kMaker[0], kMaker[1], kMaker[2], channel});
    for (const std::uint8_t byte : body) {
        frame.push_back(byte);
    }
    frame.push_back(kFrameEnd);
    return frame;
}

Bytes acknowledgement(bool assumedModel, std::uint8_t channel, std::uint8_t status) {
    if (assumedModel) {
        return frameOf(channel, {kAssumedAcknowledge[0], kAssumedAcknowledge[1], status});
    }
    return frameOf(channel, {kAcknowledge, status});
}

template <std::size_t N>
bool startsWith(std::span<const std::uint8_t> bytes, const std::array<std::uint8_t, N>& head) {
    return bytes.size() >= N && std::equal(head.begin(), head.end(), bytes.begin());
}

template <std::size_t N>
bool equals(std::span<const std::uint8_t> bytes, const std::array<std::uint8_t, N>& command) {
    return bytes.size() == N && startsWith(bytes, command);
}

std::string hex(std::uint8_t byte) {
    constexpr char kDigits[] = "0123456789ABCDEF";
    return {kDigits[byte >> 4], kDigits[byte & 0x0F]};
}

bool isRealTime(std::uint8_t byte) {
    return byte >= 0xF8;
}

bool isStatusByte(std::uint8_t byte) {
    return byte >= 0x80;
}

// Line noise: bytes a loader must skip while it hunts for the start of a frame, among them an
// end byte and the probe byte.
constexpr std::array<std::uint8_t, 5> kNoise{0x00, 0x55, kFrameEnd, kActiveSensing, 0x7F};

Bytes withNoiseBeforeFrames(const Bytes& answer) {
    Bytes noisy;
    for (const std::uint8_t byte : answer) {
        if (byte == kFrameStart) {
            noisy.insert(noisy.end(), kNoise.begin(), kNoise.end());
        }
        noisy.push_back(byte);
    }
    return noisy;
}

// Data bytes that push an answer beyond the longest reply the loader reads.
constexpr std::size_t kOverlongPadding = 100;

Bytes padded(Bytes frame) {
    frame.insert(frame.end() - 1, kOverlongPadding, kAccepted);
    return frame;
}

} // namespace

DeviceModel::DeviceModel(DeviceConfig config)
    : m_config(std::move(config)), m_flash(kFlashSize, kErasedByte) {}

std::vector<std::uint8_t> DeviceModel::receive(std::uint8_t byte) {
    if (m_lineDropped) {
        return {};
    }
    if (m_inFrame) {
        return receiveInFrame(byte);
    }
    if (byte == kFrameStart) {
        m_inFrame = true;
        m_frameTooLong = false;
        m_frame.assign(1, byte);
        return {};
    }
    keep(std::span(&byte, 1));
    if (byte == kActiveSensing) {
        return has(FaultKind::Silent) ? Bytes{} : Bytes{kActiveSensing};
    }
    log("ignored byte " + hex(byte) + " outside a frame");
    return {};
}

std::vector<std::uint8_t> DeviceModel::receiveInFrame(std::uint8_t byte) {
    if (isRealTime(byte)) {
        return {};
    }
    if (byte == kFrameEnd || isStatusByte(byte)) {
        m_inFrame = false;
        m_frame.push_back(byte);
        keep(m_frame);
        if (byte != kFrameEnd) {
            log("frame cut short by byte " + hex(byte));
            if (byte == kFrameStart) {
                m_inFrame = true;
                m_frameTooLong = false;
                m_frame.assign(1, byte);
            }
            return {};
        }
        return handleFrame(m_frame, m_frameTooLong);
    }
    // The frame keeps room for its end byte; the rest of an overlong frame is counted off.
    if (m_frame.size() + 1 < kLongestFrame) {
        m_frame.push_back(byte);
    } else {
        m_frameTooLong = true;
    }
    return {};
}

void DeviceModel::lineClosed() {
    m_inFrame = false;
}

std::vector<std::uint8_t> DeviceModel::handleFrame(std::span<const std::uint8_t> frame,
                                                   bool truncated) {
    constexpr std::size_t kShortestFrame = kCommandAt + 2;
    if (frame.size() < kShortestFrame) {
        log("ignored a frame without a command");
        return {};
    }
    if (!std::equal(kMaker.begin(), kMaker.end(), frame.begin() + 1)) {
        log("ignored a frame of another maker");
        return {};
    }
    const std::uint8_t channel = frame[kChannelAt];
    if (channel != kEveryChannel && m_config.channel && channel != *m_config.channel) {
        log("ignored a frame for channel " + hex(channel));
        return {};
    }
    if (has(FaultKind::Silent)) {
        return {};
    }
    const auto command = frame.subspan(kCommandAt, frame.size() - kCommandAt - 1);
    const Bytes answer = handleCommand(command, m_config.channel.value_or(channel), truncated);
    return has(FaultKind::Garbage) ? withNoiseBeforeFrames(answer) : answer;
}

std::vector<std::uint8_t> DeviceModel::handleCommand(std::span<const std::uint8_t> command,
                                                     std::uint8_t channel, bool truncated) {
    const bool identifies = m_config.answersIdentify;
    if (equals(command, kSearch)) {
        startTransfer();
        return identifies ? acknowledgement(false, channel, kAccepted) : Bytes{};
    }
    if (equals(command, kIdentify)) {
        startTransfer();
        if (!identifies || has(FaultKind::NoIdentify)) {
            return {};
        }
        const auto type = static_cast<std::uint8_t>(m_config.typeNumber / 100);
        const auto model = static_cast<std::uint8_t>(m_config.typeNumber % 100);
        Bytes replies = frameOf(channel, {kIdentity[0], kIdentity[1], type, model});
        const Bytes version =
            frameOf(channel, {kVersion[0], kVersion[1], kFirmwareVersion[0], kFirmwareVersion[1]});
        replies.insert(replies.end(), version.begin(), version.end());
        return replies;
    }
    if (command.size() == 1 && command[0] == kHandshake) {
        return identifies ? acknowledgement(false, channel, kAccepted) : Bytes{};
    }
    std::optional<std::uint8_t> status;
    bool assumedModel = false;
    if (command.size() == 2 && command[0] == kErase) {
        status = erase(command[1]);
    } else if (command.size() == 3 && startsWith(command, kAssumedErase)) {
        assumedModel = true;
        status = erase(command[2]);
    } else if (!command.empty() && command[0] == kRecord) {
        status = handleRecord(command.subspan(1), truncated);
    } else if (startsWith(command, kAssumedRecord)) {
        assumedModel = true;
        status = handleRecord(command.subspan(kAssumedRecord.size()), truncated);
    } else {
        log("ignored an unknown command " + hex(command.front()));
    }
    if (!status) {
        return {};
    }
    Bytes answer = acknowledgement(assumedModel, channel, *status);
    if (m_overlongAnswer) {
        m_overlongAnswer = false;
        return padded(std::move(answer));
    }
    return answer;
}

std::optional<std::uint8_t> DeviceModel::erase(std::uint8_t sector) {
    startTransfer();
    if (has(FaultKind::NoErase)) {
        return std::nullopt;
    }
    if (sector >= kFlashSectorEnds.size()) {
        log("refused to erase sector " + std::to_string(sector));
        return kIncomplete;
    }
    const std::uint32_t begin = sector == 0 ? 0 : kFlashSectorEnds[sector - 1];
    std::fill(m_flash.begin() + begin, m_flash.begin() + kFlashSectorEnds[sector], kErasedByte);
    return kAccepted;
}

std::optional<std::uint8_t> DeviceModel::handleRecord(std::span<const std::uint8_t> text,
                                                      bool truncated) {
    const std::optional<Fault> fault = takeRecordFault();
    // An overlong answer is a fault of the answer only: the record is handled as ever.
    m_overlongAnswer = fault && fault->kind == FaultKind::Overlong;
    if (fault && !m_overlongAnswer) {
        if (fault->kind == FaultKind::Drop) {
            log("dropped the line at record " + std::to_string(fault->record));
            m_lineDropped = true;
            return std::nullopt;
        }
        if (fault->status == kRestart) {
            startTransfer();
        } else if (fault->status == kSkipped) {
            ++m_recordsHandled;
        }
        return fault->status;
    }
    if (truncated) {
        log("refused a record longer than any record can be");
        return kIncomplete;
    }
    const std::uint8_t status = programRecord(text);
    if (status == kAccepted || status == kSkipped) {
        ++m_recordsHandled;
    }
    return status;
}

std::uint8_t DeviceModel::programRecord(std::span<const std::uint8_t> text) {
    const DecodeResult decoded = decodeRecord(text);
    const std::string shown(text.begin(), text.end());
    switch (decoded.error) {
    case DecodeError::None:
        break;
    case DecodeError::BadChecksum:
        log("refused record with a bad checksum: " + shown);
        return kBadChecksum;
    case DecodeError::Incomplete:
    case DecodeError::UnknownType:
        log("refused incomplete or unknown record: " + shown);
        return kIncomplete;
    }
    const DecodedRecord& record = decoded.record;
    switch (record.type) {
    case '0':
        return m_programmingStarted ? kSkipped : kAccepted;
    case '8':
    case '9':
        ++m_loadsCompleted;
        return kAccepted;
    case '1':
    case '2':
        break;
    default:
        return kAccepted;
    }
    if (record.address + record.data.size() > m_flash.size()) {
        log("refused a record beyond the flash: " + shown);
        return kProgramFailed;
    }
    const auto target = m_flash.begin() + record.address;
    // Programming only clears bits: a 1 where the flash holds 0 needs an erase first.
    for (std::size_t i = 0; i < record.data.size(); ++i) {
        if ((target[i] & record.data[i]) != record.data[i]) {
            log("refused to program over unerased flash: " + shown);
            return kProgramFailed;
        }
    }
    std::copy(record.data.begin(), record.data.end(), target);
    m_programmingStarted = true;
    return kAccepted;
}

int DeviceModel::bytePauseMs() const {
    for (const Fault& fault : m_config.faults) {
        if (fault.kind == FaultKind::Trickle) {
            return fault.pauseMs;
        }
    }
    return 0;
}

bool DeviceModel::has(FaultKind kind) const {
    return std::any_of(m_config.faults.begin(), m_config.faults.end(),
                       [kind](const Fault& fault) { return fault.kind == kind; });
}

std::optional<Fault> DeviceModel::takeRecordFault() {
    const int record = m_recordsHandled + 1;
    for (Fault& fault : m_config.faults) {
        const bool perRecord = fault.kind == FaultKind::Status || fault.kind == FaultKind::Drop ||
                               fault.kind == FaultKind::Overlong;
        if (perRecord && fault.record == record && fault.count > 0) {
            --fault.count;
            return fault;
        }
    }
    return std::nullopt;
}

void DeviceModel::startTransfer() {
    m_recordsHandled = 0;
    m_programmingStarted = false;
}

void DeviceModel::keep(std::span<const std::uint8_t> bytes) {
    if (m_config.keepsReceived) {
        m_received.emplace_back(bytes.begin(), bytes.end());
    }
}

void DeviceModel::log(std::string_view text) const {
    if (m_logger) {
        m_logger(text);
    }
}

} // namespace quarvel
