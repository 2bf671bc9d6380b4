#pragma once

#include "image/program_file.h"
#include "image/sector_map.h"
#include "image/srecord.h"
#include "job/load_reporter.h"
#include "link/byte_channel.h"
#include "link/command_set.h"
#include "link/serial_port.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace quarvel {

// Results of LoadJob::step.
enum StepResult : int {
    StepDone = 0,
    StepFailed = 1,
    StepAgain = 2,
};

enum class LoadState { Start, Sending, Complete, CleanUp };

// One load of a program file into the device, driven one step at a time from outside.
class LoadJob {
public:
    // bootMode allows writing the boot sector; opener creates the port of each load.
    LoadJob(ChannelOpener opener, bool bootMode);
    ~LoadJob();
    LoadJob(const LoadJob&) = delete;
    LoadJob& operator=(const LoadJob&) = delete;

    // Back to Start; an earlier load that never finished is released first.
    void reset();
    // channel is 0 to 15, or 127 for every device.
    int step(const std::string& filePath, int portNumber, int channel, LoadReporter& reporter);
    // Closes the program file and the port, if held.
    void cleanUp();

    LoadState state() const;
    // True while the job holds a port or a program file.
    bool holdsResources() const;

private:
    int stepStart(const std::string& filePath, int portNumber, LoadReporter& reporter);
    int openProgramFile(const std::string& filePath, LoadReporter& reporter);
    int findDevice(LoadReporter& reporter);
    int handshake(LoadReporter& reporter);
    int echoProbe(LoadReporter& reporter);
    int eraseFlash(LoadReporter& reporter);

    int stepSending(LoadReporter& reporter);
    enum class RecordOutcome { Accepted, Restarted, Failed, PortFailed };
    RecordOutcome sendRecord(LoadReporter& reporter);
    void sendRecordFrame();
    void reportPercentage(LoadReporter& reporter);
    bool readNextLine();

    int readReply(int timeoutSeconds);
    // Tells the reporter why the load fails and answers StepFailed.
    static int fail(LoadReporter& reporter, LoadFailure reason);
    void releaseResources();

    ChannelOpener m_opener;
    bool m_bootMode = false;
    LoadState m_state = LoadState::Start;

    std::unique_ptr<SerialPort> m_port;
    ProgramFile m_file;
    std::int64_t m_fileSize = 0;
    std::uint8_t m_channel = kAllChannels;
    CommandSet m_commands;
    // The identify reply named another type than the KTV-271's.
    bool m_foreignType = false;
    SectorMap m_sectors{};

    // The next line to send; between steps it always holds a line not yet acknowledged.
    SRecord m_line{};
    std::int32_t m_recordLength = 0;
    std::int64_t m_bytesSent = 0;

    std::array<std::uint8_t, 64> m_reply{};
    // The record frame is assembled here so that it goes out in one write.
    std::array<std::uint8_t, 600> m_frame{};
};

} // namespace quarvel
