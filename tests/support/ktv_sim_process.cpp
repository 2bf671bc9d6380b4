#include "tests/support/ktv_sim_process.h"

#include "tests/support/file_contents.h"

#include <csignal>

namespace quarvel::test {

namespace {

std::vector<std::string> commandLine(const std::vector<std::string>& arguments) {
    std::vector<std::string> command{KTV_SIM_PATH};
    command.insert(command.end(), arguments.begin(), arguments.end());
    return command;
}

constexpr const char* kFlashName = "flash.bin";

// The options after one that has ktv-sim write its flash image to the file as it ends.
std::vector<std::string> writingFlashTo(const std::filesystem::path& file,
                                        const std::vector<std::string>& options) {
    std::vector<std::string> arguments{"--flash-out", file.string()};
    arguments.insert(arguments.end(), options.begin(), options.end());
    return arguments;
}

} // namespace

KtvSimProcess::KtvSimProcess(const std::vector<std::string>& arguments)
    : m_program(commandLine(arguments)) {
    if (!m_program.readLine(m_terminalPath)) {
        m_terminalPath.clear();
    }
}

KtvSimProcess::KtvSimProcess(const std::filesystem::path& folder,
                             const std::vector<std::string>& options)
    : KtvSimProcess(writingFlashTo(folder / kFlashName, options)) {
    m_flashPath = folder / kFlashName;
}

void KtvSimProcess::terminate() {
    m_program.signal(SIGTERM);
    m_program.wait();
}

std::optional<int> KtvSimProcess::waitForExit() {
    constexpr int kBoundMs = 5000;
    if (!m_program.endsWithin(kBoundMs)) {
        return std::nullopt;
    }
    return m_program.wait();
}

std::vector<std::uint8_t> KtvSimProcess::stopAndReadFlash() {
    terminate();
    return fileBytes(m_flashPath);
}

} // namespace quarvel::test
