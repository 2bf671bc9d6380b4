#include "job/load_job.h"

#include <cstdio>

// The start-up step: open the port and the program file, find and identify the device, and
// erase every flash sector that the file writes.

namespace quarvel {
namespace {

constexpr int kQueueSize = 100;
constexpr int kSearchTimeout = 2;
constexpr int kIdentifyTimeout = 1;
constexpr int kHandshakeTimeout = 1;
constexpr int kEraseTimeout = 20;
constexpr std::int64_t kEchoWaitMs = 2000;

// The message for a failed reply where one text covers results 2 and 3 alike.
const char* replyFailureText(int result) {
    return result == ReplyBadMessage ? "Error in returned message"
                                     : "RS232 device error, reset PC and run again";
}

// Why a reply that came back incomplete fails the load: a garbled reply is the device's answer,
// result 3 is the port's own failure.
LoadFailure replyFailureReason(int result) {
    return result == ReplyBadMessage ? LoadFailure::WrongAnswer : LoadFailure::Port;
}

} // namespace

int LoadJob::stepStart(const std::string& filePath, int portNumber, LoadReporter& reporter) {
    reporter.addMessage("Initialising");
    // Each load starts from scratch, whatever an earlier one left open or switched.
    releaseResources();
    m_bytesSent = 0;
    m_sectors.fill(0);
    m_commands.reset(m_channel);
    m_foreignType = false;

    m_port = std::make_unique<SerialPort>(m_opener);
    SerialSettings settings;
    settings.portNumber = portNumber;
    if (m_port->open(settings, kQueueSize, kQueueSize) != 0) {
        reporter.addMessage("Could not open PC RS232");
        return fail(reporter, LoadFailure::Port);
    }
    reporter.addMessage("PC RS232 opened");

    if (const int result = openProgramFile(filePath, reporter); result != StepAgain) {
        return result;
    }
    reporter.addMessage("Searching for device");
    if (const int result = findDevice(reporter); result != StepAgain) {
        return result;
    }
    return eraseFlash(reporter);
}

int LoadJob::openProgramFile(const std::string& filePath, LoadReporter& reporter) {
    if (!m_file.open(filePath)) {
        reporter.addMessage("File not found");
        return fail(reporter, LoadFailure::File);
    }
    m_fileSize = m_file.size();
    if (scanProgramFile(m_file, m_sectors) == ScanRefused) {
        reporter.addMessage("First record is invalid");
        return fail(reporter, LoadFailure::File);
    }
    if (m_sectors[kBootSector] != 0 && !m_bootMode) {
        reporter.addMessage("Error 37.");
        return fail(reporter, LoadFailure::BootSector);
    }
    // The scan accepted this line already; only its length is wanted.
    readRecordLine(m_file, m_line);
    parseRecord(m_line.data(), m_recordLength);
    m_bytesSent = m_recordLength + 2;
    return StepAgain;
}

int LoadJob::findDevice(LoadReporter& reporter) {
    m_port->write(m_commands.searchFrame());
    readReply(kSearchTimeout);

    m_port->write(m_commands.identifyFrame());
    const int result = readReply(kIdentifyTimeout);
    if (result == ReplyNoResponse) {
        return echoProbe(reporter);
    }
    if (result != ReplyComplete) {
        reporter.addMessage(replyFailureText(result));
        return fail(reporter, replyFailureReason(result));
    }
    const int type = typeNumber(m_reply);
    // The device sends a second frame after its identity; it carries nothing we use.
    readReply(kIdentifyTimeout);
    char text[64];
    std::snprintf(text, sizeof text, "Found Device %d, expecting %d", type, kExpectedTypeNumber);
    reporter.addMessage(text);
    if (type != kExpectedTypeNumber) {
        reporter.addMessage("The unit does not report the correct type number.");
        m_foreignType = true;
    }
    return handshake(reporter);
}

int LoadJob::handshake(LoadReporter& reporter) {
    m_port->write(m_commands.handshakeFrame());
    const int result = readReply(kHandshakeTimeout);
    if (result == ReplyComplete) {
        if (m_commands.replyStatus(m_reply) != StatusAccepted) {
            reporter.addMessage("Received Error");
            return fail(reporter, LoadFailure::WrongAnswer);
        }
        reporter.addMessage("Received Acknowledgement");
        return StepAgain;
    }
    if (result == ReplyNoResponse) {
        reporter.addMessage("No response");
        // A device that gave another type number did answer: it is not the device looked for.
        return fail(reporter, m_foreignType ? LoadFailure::WrongAnswer : LoadFailure::Device);
    }
    reporter.addMessage(replyFailureText(result));
    return fail(reporter, replyFailureReason(result));
}

int LoadJob::echoProbe(LoadReporter& reporter) {
    m_port->writeByte(kProbeByte);
    const std::int64_t start = m_port->nowMs();
    int value = m_port->readByte();
    // A failed port stays failed: waiting out the two seconds on it would change nothing.
    while (value != kProbeByte && value != -2 && m_port->nowMs() - start < kEchoWaitMs) {
        value = m_port->readByte();
    }
    if (value == kProbeByte) {
        reporter.addMessage("Found Device (assuming KTV-271)");
        m_commands.switchToAssumedModel();
        return StepAgain;
    }
    if (value == -1) {
        reporter.addMessage(
            "Device not responding, check connections and midi channel, then try again");
        return fail(reporter, LoadFailure::Device);
    }
    if (value == -2) {
        reporter.addMessage("PC RS232 port not operating correctly, restart the PC and retry");
        return fail(reporter, LoadFailure::Port);
    }
    // Bytes came back until the wait ran out, none of them the echo.
    return fail(reporter, LoadFailure::WrongAnswer);
}

int LoadJob::eraseFlash(LoadReporter& reporter) {
    reporter.addMessage("Erasing flash");
    int erased = 0;
    for (int sector = 0; sector < static_cast<int>(m_sectors.size()); ++sector) {
        if (m_sectors[static_cast<std::size_t>(sector)] == 0) {
            continue;
        }
        m_port->write(m_commands.eraseFrame(sector));
        const int result = readReply(kEraseTimeout);
        if (result != ReplyComplete) {
            reporter.addMessage(result == ReplyNoResponse   ? "No response"
                                : result == ReplyBadMessage ? "Error in returned message"
                                                            : "RS232 device error");
            reporter.addMessage("Reset PC and run again");
            return fail(reporter, LoadFailure::Erase);
        }
        if (m_commands.replyStatus(m_reply) != StatusAccepted) {
            reporter.addMessage("Device not Erased, restart");
            return fail(reporter, LoadFailure::Erase);
        }
        ++erased;
    }
    if (erased == 0) {
        // The device did nothing wrong: a file that writes no flash sector cannot be loaded.
        reporter.addMessage("Device not Erased, restart");
        return fail(reporter, LoadFailure::File);
    }
    reporter.addMessage("Flash Erased, sending new program");
    m_state = LoadState::Sending;
    return StepAgain;
}

} // namespace quarvel
