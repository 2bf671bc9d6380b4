#include "ktv_sim_process.h"

#include <csignal>

namespace quarvel::test {

namespace {

std::vector<std::string> commandLine(const std::vector<std::string>& arguments) {
    std::vector<std::string> command{KTV_SIM_PATH};
    command.insert(command.end(), arguments.begin(), arguments.end());
    return command;
}

} // namespace

KtvSimProcess::KtvSimProcess(const std::vector<std::string>& arguments)
    : m_program(commandLine(arguments)) {
    if (!m_program.readLine(m_terminalPath)) {
        m_terminalPath.clear();
    }
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

} // namespace quarvel::test
