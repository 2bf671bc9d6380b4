#pragma once

#include "tests/support/child_process.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace quarvel::test {

// A ktv-sim started for one test, stopped with SIGTERM when the object goes.
class KtvSimProcess {
public:
    explicit KtvSimProcess(const std::vector<std::string>& arguments);
    // One that writes its flash image into folder as it ends, for stopAndReadFlash; options are
    // ktv-sim's own (--model, --fault, ...).
    KtvSimProcess(const std::filesystem::path& folder, const std::vector<std::string>& options);
    ~KtvSimProcess() { terminate(); }
    KtvSimProcess(const KtvSimProcess&) = delete;
    KtvSimProcess& operator=(const KtvSimProcess&) = delete;

    // The terminal path ktv-sim printed first; empty when it failed to start.
    const std::string& terminalPath() const { return m_terminalPath; }
    void terminate();
    // Sends ktv-sim a signal: SIGUSR2 puts a unit on the line, SIGUSR1 takes it off.
    void signal(int number) const { m_program.signal(number); }
    // The exit status once ktv-sim has ended by itself; nothing if it is still running after
    // a generous bound, which only a broken ktv-sim reaches.
    std::optional<int> waitForExit();
    // Stops ktv-sim and answers the flash image it wrote as it ended.
    std::vector<std::uint8_t> stopAndReadFlash();

private:
    std::filesystem::path m_flashPath;
    RunningProgram m_program;
    std::string m_terminalPath;
};

} // namespace quarvel::test
