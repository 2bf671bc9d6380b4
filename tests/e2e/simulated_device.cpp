#include "simulated_device.h"

#include "tests/support/file_contents.h"

#include <csignal>

namespace quarvel::test {

SimulatedDevice::SimulatedDevice(const std::filesystem::path& folder,
                                 const std::vector<std::string>& options)
    : m_flashPath(folder / "flash.bin") {
    std::vector<std::string> argv{KTV_SIM, "--flash-out", m_flashPath.string()};
    argv.insert(argv.end(), options.begin(), options.end());
    m_program = std::make_unique<RunningProgram>(argv);
    // ktv-sim names its terminal on its first line, once the terminal is ready.
    m_program->readLine(m_port);
}

std::vector<std::uint8_t> SimulatedDevice::stopAndReadFlash() {
    m_program->signal(SIGTERM);
    m_program->wait();
    return fileBytes(m_flashPath);
}

} // namespace quarvel::test
