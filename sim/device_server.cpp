#include "sim/device_server.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <ctime>
#include <iostream>
#include <poll.h>
#include <unistd.h>

namespace quarvel {

namespace {

// One byte of 8N1 at 19200 baud: ten bit times.
constexpr std::chrono::nanoseconds kByteTime{1'000'000'000 / 1920};
constexpr std::chrono::milliseconds kLongestPoll{100};
// While no loader holds the line the terminal reports a hang-up at once; look again this often.
constexpr int kIdleRecheckMs = 20;

} // namespace

DeviceServer::DeviceServer(DeviceModel& device, int masterFd, ServeSettings settings)
    : m_device(&device), m_master(masterFd), m_settings(settings) {}

void DeviceServer::setDevice(DeviceModel* device) {
    // Whatever was under way belonged to the unit that left.
    m_input.clear();
    m_output.clear();
    m_device = device;
}

ServeEnd DeviceServer::serve(const volatile std::sig_atomic_t& stopRequested,
                             const volatile std::sig_atomic_t& unitChanges,
                             std::sig_atomic_t seenChanges) {
    while (stopRequested == 0) {
        if (unitChanges != seenChanges) {
            return ServeEnd::UnitsChanged;
        }
        Clock::time_point now = Clock::now();
        handleDueInput(now);
        if (m_device != nullptr && m_device->lineDropped()) {
            return ServeEnd::LineDropped;
        }
        if (!sendDueOutput(now)) {
            return ServeEnd::Failed;
        }
        // A byte lasts about half a millisecond: whole-millisecond waits would send late.
        const auto wait = std::chrono::ceil<std::chrono::nanoseconds>(untilNextEvent(now));
        const auto seconds = std::chrono::floor<std::chrono::seconds>(wait);
        const timespec timeout{static_cast<std::time_t>(seconds.count()),
                               static_cast<long>((wait - seconds).count())};
        const short events = m_outputBlocked ? POLLIN | POLLOUT : POLLIN;
        pollfd master{m_master, events, 0};
        if (::ppoll(&master, 1, &timeout, nullptr) < 0) {
            if (errno == EINTR) {
                continue;
            }
            return ServeEnd::Failed;
        }
        now = Clock::now();
        if ((master.revents & POLLIN) != 0) {
            if (!takeInput(now)) {
                return ServeEnd::Failed;
            }
        } else if ((master.revents & (POLLHUP | POLLERR)) != 0) {
            loaderClosed();
            ::poll(nullptr, 0, kIdleRecheckMs);
        }
        if (m_loadDone) {
            return ServeEnd::LoadDone;
        }
    }
    return ServeEnd::Stopped;
}

bool DeviceServer::takeInput(Clock::time_point now) {
    std::array<std::uint8_t, 4096> bytes{};
    const ssize_t count = ::read(m_master, bytes.data(), bytes.size());
    if (count < 0) {
        if (errno == EIO) {
            loaderClosed();
            return true;
        }
        return errno == EAGAIN || errno == EINTR;
    }
    for (ssize_t i = 0; i < count; ++i) {
        Clock::time_point at = now;
        if (m_settings.paced) {
            // A byte has arrived once its ten bit times have passed, one after the other.
            at = std::max(now, m_lastInput) + kByteTime;
            m_lastInput = at;
        }
        m_input.push_back({at, bytes[static_cast<std::size_t>(i)]});
    }
    if (m_settings.keepsReceived) {
        m_received.insert(m_received.end(), bytes.begin(), bytes.begin() + count);
    }
    m_loaderActive = m_loaderActive || count > 0;
    return true;
}

void DeviceServer::handleDueInput(Clock::time_point now) {
    // With no unit on the line, what the loader sends reaches nobody.
    if (m_device == nullptr) {
        m_input.clear();
        return;
    }
    const std::chrono::milliseconds delay{m_device->replyDelayMs()};
    const std::chrono::milliseconds pause{m_device->bytePauseMs()};
    while (!m_input.empty() && m_input.front().at <= now && !m_device->lineDropped()) {
        const Timed input = m_input.front();
        m_input.pop_front();
        const std::vector<std::uint8_t> answer = m_device->receive(input.byte);
        for (std::size_t i = 0; i < answer.size(); ++i) {
            Clock::time_point at = input.at + delay + pause * static_cast<int>(i);
            if (m_settings.paced) {
                at = std::max(at, m_lastOutput) + kByteTime;
                m_lastOutput = at;
            }
            m_output.push_back({at, answer[i]});
        }
    }
}

bool DeviceServer::sendDueOutput(Clock::time_point now) {
    m_outputBlocked = false;
    while (!m_output.empty() && m_output.front().at <= now) {
        const ssize_t count = ::write(m_master, &m_output.front().byte, 1);
        if (count == 1) {
            m_output.pop_front();
        } else if (errno == EAGAIN || errno == EINTR) {
            m_outputBlocked = true;
            return true;
        } else if (errno == EIO) {
            loaderClosed();
            return true;
        } else {
            return false;
        }
    }
    return true;
}

void DeviceServer::loaderClosed() {
    if (!m_loaderActive) {
        return;
    }
    m_loaderActive = false;
    m_input.clear();
    m_output.clear();
    if (m_device != nullptr) {
        m_device->lineClosed();
    }
    if (m_settings.verbose) {
        std::cerr << "ktv-sim: the loader closed the line\n";
    }
    m_loadDone = m_settings.once;
}

DeviceServer::Clock::duration DeviceServer::untilNextEvent(Clock::time_point now) const {
    Clock::duration wait = kLongestPoll;
    const auto until = [now](const std::deque<Timed>& queue) {
        return std::max(Clock::duration::zero(), queue.front().at - now);
    };
    if (!m_input.empty()) {
        wait = std::min(wait, until(m_input));
    }
    // A blocked line wakes the poll itself when it can take more.
    if (!m_output.empty() && !m_outputBlocked) {
        wait = std::min(wait, until(m_output));
    }
    return wait;
}

} // namespace quarvel
