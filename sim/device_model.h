#pragma once

#include "sim/fault.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace quarvel {

struct DeviceConfig {
    // The device's own channel 0 to 15; nothing for a device that answers on every channel.
    std::optional<std::uint8_t> channel;
    int typeNumber = 271;
    // False for the older model that ignores search, identify and handshake and only echoes the
    // probe byte.
    bool answersIdentify = true;
    // How long the device takes before each answer, in milliseconds.
    int replyDelayMs = 0;
    std::vector<Fault> faults;
    // Whether received() keeps what arrived; a device served for hours should not.
    bool keepsReceived = true;
};

// The stand-in KTV-271: takes the loader's bytes one at a time and answers as the device does.
// It keeps a 512 KiB flash that erases to FF and programs only 1-to-0 bit changes.
class DeviceModel {
public:
    explicit DeviceModel(DeviceConfig config = {});

    // One byte from the loader; answers the bytes the device sends back, often none.
    std::vector<std::uint8_t> receive(std::uint8_t byte);
    // The loader closed the line: a frame cut short is forgotten.
    void lineClosed();

    bool lineDropped() const { return m_lineDropped; }
    int replyDelayMs() const { return m_config.replyDelayMs; }
    // The pause between two bytes of one answer, in milliseconds; 0 sends them back to back.
    int bytePauseMs() const;
    std::span<const std::uint8_t> flash() const { return m_flash; }
    // Every frame seen on the line, whole, and each byte outside a frame on its own, while the
    // configuration keeps them.
    const std::vector<std::vector<std::uint8_t>>& received() const { return m_received; }
    // End records acknowledged so far: one for each load that went through.
    int loadsCompleted() const { return m_loadsCompleted; }
    // Explanations of frames the device refused or ignored.
    void setLogger(std::function<void(std::string_view)> logger) { m_logger = std::move(logger); }

private:
    std::vector<std::uint8_t> receiveInFrame(std::uint8_t byte);
    std::vector<std::uint8_t> handleFrame(std::span<const std::uint8_t> frame, bool truncated);
    std::vector<std::uint8_t> handleCommand(std::span<const std::uint8_t> command,
                                            std::uint8_t channel, bool truncated);
    std::optional<std::uint8_t> erase(std::uint8_t sector);
    std::optional<std::uint8_t> handleRecord(std::span<const std::uint8_t> text, bool truncated);
    std::uint8_t programRecord(std::span<const std::uint8_t> text);
    bool has(FaultKind kind) const;
    std::optional<Fault> takeRecordFault();
    void startTransfer();
    void keep(std::span<const std::uint8_t> bytes);
    void log(std::string_view text) const;

    DeviceConfig m_config;
    std::vector<std::uint8_t> m_flash;
    std::vector<std::uint8_t> m_frame;
    bool m_inFrame = false;
    bool m_frameTooLong = false;
    bool m_lineDropped = false;
    // The answer to the record being handled is to be padded past any reply buffer.
    bool m_overlongAnswer = false;
    // Records handled in this transfer, and whether one of them has programmed flash.
    int m_recordsHandled = 0;
    bool m_programmingStarted = false;
    int m_loadsCompleted = 0;
    std::vector<std::vector<std::uint8_t>> m_received;
    std::function<void(std::string_view)> m_logger;
};

} // namespace quarvel
