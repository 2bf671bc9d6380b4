#pragma once

#include "tests/support/child_process.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace quarvel::test {

// ktv-sim running on a pseudo-terminal of its own, for the real quarvel-cli to load into.
class SimulatedDevice {
public:
    // options are ktv-sim's own (--model, --fault, ...); folder receives its flash image.
    SimulatedDevice(const std::filesystem::path& folder, const std::vector<std::string>& options);

    // The pseudo-terminal that ktv-sim serves.
    const std::string& port() const { return m_port; }
    // Sends ktv-sim a signal: SIGUSR2 puts a unit on the line, SIGUSR1 takes it off.
    void signal(int number) const { m_program->signal(number); }
    // Stops ktv-sim and answers the flash image it wrote as it ended.
    std::vector<std::uint8_t> stopAndReadFlash();

private:
    std::filesystem::path m_flashPath;
    std::unique_ptr<RunningProgram> m_program;
    std::string m_port;
};

} // namespace quarvel::test
