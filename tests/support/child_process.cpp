#include "tests/support/child_process.h"

#include "tests/support/file_contents.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace quarvel::test {
namespace {

struct Pipe {
    int read = -1;
    int write = -1;
};

Pipe makePipe() {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) {
        throw std::runtime_error("pipe failed");
    }
    return {ends[0], ends[1]};
}

[[noreturn]] void execute(const std::vector<std::string>& argv,
                          const std::vector<std::string>& extraEnvironment) {
    for (const auto& entry : extraEnvironment) {
        ::putenv(const_cast<char*>(entry.c_str()));
    }
    std::vector<char*> words;
    for (const auto& word : argv) {
        words.push_back(const_cast<char*>(word.c_str()));
    }
    words.push_back(nullptr);
    ::execv(words[0], words.data());
    ::_exit(127);
}

int exitStatus(int status) {
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

Finished runProgram(const std::vector<std::string>& argv, const std::string& input,
                    const std::vector<std::string>& extraEnvironment) {
    const Pipe in = makePipe();
    const Pipe out = makePipe();
    const Pipe err = makePipe();
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(in.read, STDIN_FILENO);
        ::dup2(out.write, STDOUT_FILENO);
        ::dup2(err.write, STDERR_FILENO);
        execute(argv, extraEnvironment);
    }
    ::close(in.read);
    ::close(out.write);
    ::close(err.write);
    // The input is small: it fits the pipe, so writing it all first cannot block.
    [[maybe_unused]] const auto written = ::write(in.write, input.data(), input.size());
    ::close(in.write);

    Finished finished;
    pollfd streams[2] = {{out.read, POLLIN, 0}, {err.read, POLLIN, 0}};
    std::string* texts[2] = {&finished.out, &finished.err};
    for (int open = 2; open > 0;) {
        if (::poll(streams, 2, -1) < 0 && errno != EINTR) {
            break;
        }
        for (int i = 0; i < 2; ++i) {
            if (streams[i].fd < 0 || streams[i].revents == 0) {
                continue;
            }
            char buffer[4096];
            const ssize_t n = ::read(streams[i].fd, buffer, sizeof buffer);
            if (n > 0) {
                texts[i]->append(buffer, static_cast<std::size_t>(n));
            } else {
                ::close(streams[i].fd);
                streams[i].fd = -1;
                --open;
            }
        }
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    finished.exitCode = exitStatus(status);
    return finished;
}

RunningProgram::RunningProgram(const std::vector<std::string>& argv) {
    char errorPath[] = "/tmp/quarvel-e2e-stderr-XXXXXX";
    const int errorFile = ::mkstemp(errorPath);
    m_errorPath = errorPath;
    const Pipe out = makePipe();
    m_pid = ::fork();
    if (m_pid == 0) {
        ::dup2(out.write, STDOUT_FILENO);
        ::dup2(errorFile, STDERR_FILENO);
        execute(argv, {});
    }
    ::close(errorFile);
    ::close(out.write);
    m_output = out.read;
}

RunningProgram::~RunningProgram() {
    if (!m_ended) {
        signal(SIGKILL);
        wait();
    }
    ::close(m_output);
    ::unlink(m_errorPath.c_str());
}

bool RunningProgram::readLine(std::string& line) {
    for (;;) {
        if (const auto end = m_buffer.find('\n'); end != std::string::npos) {
            line = m_buffer.substr(0, end);
            m_buffer.erase(0, end + 1);
            return true;
        }
        char buffer[4096];
        const ssize_t n = ::read(m_output, buffer, sizeof buffer);
        if (n <= 0) {
            return false;
        }
        m_buffer.append(buffer, static_cast<std::size_t>(n));
    }
}

void RunningProgram::signal(int number) const {
    if (!m_ended) {
        ::kill(m_pid, number);
    }
}

bool RunningProgram::endsWithin(int milliseconds) const {
    if (m_ended) {
        return true;
    }
    // A process descriptor becomes readable when the process ends: wait for that, not in steps.
    const int process = static_cast<int>(::syscall(SYS_pidfd_open, m_pid, 0));
    if (process < 0) {
        return false;
    }
    pollfd ended{process, POLLIN, 0};
    const bool hasEnded = ::poll(&ended, 1, milliseconds) == 1;
    ::close(process);
    return hasEnded;
}

int RunningProgram::wait() {
    if (!m_ended) {
        int status = 0;
        ::waitpid(m_pid, &status, 0);
        m_ended = true;
        m_exitCode = exitStatus(status);
    }
    return m_exitCode;
}

std::string RunningProgram::errorText() const {
    return fileText(m_errorPath);
}

Lines splitLines(const std::string& text) {
    Lines lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        lines.push_back(text.substr(start, end - start));
    }
    if (start < text.size()) {
        lines.push_back(text.substr(start));
    }
    return lines;
}

} // namespace quarvel::test
