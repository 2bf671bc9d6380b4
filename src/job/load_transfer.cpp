#include "job/load_job.h"

#include <algorithm>
#include <cctype>
#include <cmath>

// The transfer steps: up to ten records a step, each acknowledged before the next is read.

namespace quarvel {
namespace {

constexpr int kRecordsPerStep = 10;
constexpr int kRetriesPerRecord = 2;
constexpr int kRecordTimeout = 2;
// Each line counts as its record and a CR LF line end.
constexpr int kLineEndLength = 2;

// An empty line's second character is left over from the line before, so it is never read.
bool isEndRecord(const SRecord& line) {
    return line[0] != '\0' && (line[1] == '9' || line[1] == '8');
}

// The message of a status that asks for the record again; nullptr for one retried silently.
const char* retryText(std::uint8_t status) {
    switch (status) {
    case StatusIncomplete:
        return "Device received incomplete record. Trying record again";
    case StatusBadChecksum:
        return "Device received record with bad checksum. Trying record again";
    case StatusProgramFailed:
        return "Device found error in programming flash memory. Trying record again";
    default:
        return nullptr;
    }
}

} // namespace

int LoadJob::stepSending(LoadReporter& reporter) {
    for (int recordsThisStep = 0;;) {
        const RecordOutcome outcome = sendRecord(reporter);
        if (outcome == RecordOutcome::PortFailed) {
            return fail(reporter, LoadFailure::Transfer);
        }
        if (outcome == RecordOutcome::Failed) {
            // Try Again sends the same line in the next step, with a fresh count of attempts.
            return reporter.askRetry() ? StepAgain : fail(reporter, LoadFailure::Transfer);
        }
        reportPercentage(reporter);

        // After a restart the line in the buffer was not taken, whatever its type: the device
        // wants the whole file again, so even an end record must not end the transfer.
        if (outcome == RecordOutcome::Accepted && isEndRecord(m_line)) {
            m_state = LoadState::Complete;
            return StepAgain;
        }
        if (!readNextLine()) {
            // Reaching the end without an end record means the file changed after the scan:
            // the device did not get the whole program, so this is no success.
            reporter.addMessage("Program file changed during loading");
            return fail(reporter, LoadFailure::File);
        }
        if (std::toupper(static_cast<unsigned char>(m_line[0])) != 'S') {
            m_state = LoadState::Complete;
            return StepAgain;
        }
        if (parseRecord(m_line.data(), m_recordLength) != RecordValid) {
            return fail(reporter, LoadFailure::File);
        }
        m_bytesSent += m_recordLength + kLineEndLength;
        if (++recordsThisStep == kRecordsPerStep) {
            return StepAgain;
        }
    }
}

LoadJob::RecordOutcome LoadJob::sendRecord(LoadReporter& reporter) {
    for (int attemptsLeft = kRetriesPerRecord;; --attemptsLeft) {
        sendRecordFrame();
        const int result = readReply(kRecordTimeout);
        const char* retryMessage = nullptr;
        if (result == ReplyComplete) {
            const std::uint8_t status = m_commands.replyStatus(m_reply);
            if (status == StatusAccepted || status == StatusSkipped) {
                if (status == StatusSkipped) {
                    reporter.addMessage("Device received first record after programming "
                                        "started. Skipping record");
                }
                return RecordOutcome::Accepted;
            }
            if (status == StatusRestart) {
                m_file.rewind();
                m_bytesSent = 0;
                return RecordOutcome::Restarted;
            }
            retryMessage = retryText(status);
        } else if (result == ReplyNoResponse) {
            retryMessage = "No response. Trying record again";
        } else if (result == ReplyBadMessage) {
            retryMessage = "Error in returned message. Trying record again";
        } else {
            reporter.addMessage("RS232 device error, reset PC and run program again");
            reporter.addMessage("Leave device to be programmed in current state");
            return RecordOutcome::PortFailed;
        }
        if (retryMessage != nullptr) {
            reporter.addMessage(retryMessage);
        }
        if (attemptsLeft == 0) {
            return RecordOutcome::Failed;
        }
    }
}

void LoadJob::sendRecordFrame() {
    // Room for the longest head, a whole line and the closing byte.
    static_assert(std::tuple_size_v<decltype(m_frame)> >= 16 + std::tuple_size_v<SRecord>);
    const auto head = m_commands.recordFrameHead();
    // Exactly the record's characters go out, fewer only where the line ends first.
    const std::size_t limit = std::min<std::size_t>(
        static_cast<std::size_t>(std::max(m_recordLength, 0)), m_line.size() - 1);
    std::size_t length = 0;
    while (length < limit && m_line[length] != '\0') {
        ++length;
    }
    auto end = std::copy(head.begin(), head.end(), m_frame.begin());
    end = std::copy_n(m_line.begin(), length, end);
    *end++ = kEndOfExclusive;
    const auto size = static_cast<std::size_t>(end - m_frame.begin());
    // One write for the whole frame: the same bytes on the wire as byte-by-byte writes, without
    // a system call per byte.
    m_port->write(std::span<const std::uint8_t>(m_frame.data(), size));
}

void LoadJob::reportPercentage(LoadReporter& reporter) {
    // The scan refuses an empty file; the guard keeps a file emptied meanwhile from dividing by 0.
    const double share =
        m_fileSize > 0 ? static_cast<double>(m_bytesSent) / static_cast<double>(m_fileSize) : 0.0;
    reporter.setPercentage(static_cast<int>(std::floor(share * 100.0 + 0.5)));
}

bool LoadJob::readNextLine() {
    if (m_file.position() >= m_fileSize) {
        return false;
    }
    readRecordLine(m_file, m_line);
    // A line that is no record ends the transfer only where the scan took it for the end record.
    return std::toupper(static_cast<unsigned char>(m_line[0])) == 'S' || isEndRecord(m_line);
}

} // namespace quarvel
