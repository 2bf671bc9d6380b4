#pragma once

#include "sim/device_model.h"

#include <chrono>
#include <csignal>
#include <cstdint>
#include <deque>
#include <vector>

namespace quarvel {

struct ServeSettings {
    // 1920 bytes a second each way, as on a 19200 baud 8N1 line.
    bool paced = false;
    // End when the loader closes the line after a load.
    bool once = false;
    bool verbose = false;
    // Keep every byte the loader sends, for received().
    bool keepsReceived = false;
};

enum class ServeEnd { Stopped, LoadDone, LineDropped, Failed, UnitsChanged };

// Serves a device model on the master side of a pseudo-terminal in real time.
class DeviceServer {
public:
    DeviceServer(DeviceModel& device, int masterFd, ServeSettings settings);

    // Runs until stopRequested becomes nonzero, unitChanges is no longer seenChanges, the device
    // drops the line, the loader closes it after a load (with once), or the terminal fails.
    ServeEnd serve(const volatile std::sig_atomic_t& stopRequested,
                   const volatile std::sig_atomic_t& unitChanges, std::sig_atomic_t seenChanges);
    // The unit on the line from now on; nullptr while none is, and the line stays silent.
    void setDevice(DeviceModel* device);
    // Every byte read from the loader, as it came, when the settings keep them.
    const std::vector<std::uint8_t>& received() const { return m_received; }

private:
    using Clock = std::chrono::steady_clock;
    struct Timed {
        Clock::time_point at;
        std::uint8_t byte;
    };

    // False when the terminal failed.
    bool takeInput(Clock::time_point now);
    void handleDueInput(Clock::time_point now);
    bool sendDueOutput(Clock::time_point now);
    void loaderClosed();
    Clock::duration untilNextEvent(Clock::time_point now) const;

    DeviceModel* m_device;
    int m_master;
    ServeSettings m_settings;
    std::deque<Timed> m_input;
    std::deque<Timed> m_output;
    Clock::time_point m_lastInput{};
    Clock::time_point m_lastOutput{};
    // Whether the loader has sent anything since it last closed the line.
    bool m_loaderActive = false;
    // The terminal's buffer towards the loader is full.
    bool m_outputBlocked = false;
    bool m_loadDone = false;
    std::vector<std::uint8_t> m_received;
};

} // namespace quarvel
