#include "ktv_sim_process.h"

#include <csignal>
#include <poll.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace quarvel::test {

KtvSimProcess::KtvSimProcess(const std::vector<std::string>& arguments) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) {
        return;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    std::vector<std::string> command{KTV_SIM_PATH};
    command.insert(command.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& argument : command) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    const int spawned =
        ::posix_spawn(&m_pid, KTV_SIM_PATH, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeFds[1]);
    if (spawned != 0) {
        m_pid = -1;
        ::close(pipeFds[0]);
        return;
    }
    char c = 0;
    while (::read(pipeFds[0], &c, 1) == 1 && c != '\n') {
        m_terminalPath.push_back(c);
    }
    ::close(pipeFds[0]);
}

KtvSimProcess::~KtvSimProcess() {
    terminate();
}

void KtvSimProcess::terminate() {
    if (m_pid > 0) {
        ::kill(m_pid, SIGTERM);
        ::waitpid(m_pid, nullptr, 0);
        m_pid = -1;
    }
}

std::optional<int> KtvSimProcess::waitForExit() {
    constexpr int kBoundMs = 5000;
    if (m_pid <= 0) {
        return std::nullopt;
    }
    // A process descriptor becomes readable when the process ends: wait for that, not in steps.
    const int process = static_cast<int>(::syscall(SYS_pidfd_open, m_pid, 0));
    if (process < 0) {
        return std::nullopt;
    }
    pollfd ended{process, POLLIN, 0};
    const bool hasEnded = ::poll(&ended, 1, kBoundMs) == 1;
    ::close(process);
    int status = 0;
    if (!hasEnded || ::waitpid(m_pid, &status, 0) != m_pid) {
        return std::nullopt;
    }
    m_pid = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace quarvel::test
