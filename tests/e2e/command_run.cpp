#include "command_run.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace quarvel::endurance {

namespace {

// Everything a descriptor delivers until its writer closes it.
std::string readAll(int fd) {
    std::string text;
    char buffer[4096];
    for (ssize_t count; (count = ::read(fd, buffer, sizeof buffer)) != 0;) {
        if (count > 0) {
            text.append(buffer, static_cast<std::size_t>(count));
        } else if (errno != EINTR) {
            break;
        }
    }
    return text;
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end = text.find('\n'); end != std::string::npos;
         end = text.find('\n', start)) {
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    if (start < text.size()) {
        lines.push_back(text.substr(start));
    }
    return lines;
}

} // namespace

CommandResult runCommand(const std::vector<std::string>& command) {
    CommandResult result;
    int output[2];
    if (::pipe(output) != 0) {
        return result;
    }
    // The error stream goes to a file, so that neither pipe can fill while the other is read.
    std::FILE* errors = std::tmpfile();
    if (errors == nullptr) {
        ::close(output[0]);
        ::close(output[1]);
        return result;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, ::fileno(errors), STDERR_FILENO);
    posix_spawn_file_actions_addclose(&actions, output[0]);
    std::vector<std::string> words = command;
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    pid_t pid = -1;
    const int spawned = ::posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(output[1]);
    if (spawned == 0) {
        result.outputLines = linesOf(readAll(output[0]));
        int status = 0;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
        result.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        std::rewind(errors);
        result.errorText = readAll(::fileno(errors));
    }
    ::close(output[0]);
    std::fclose(errors);
    return result;
}

} // namespace quarvel::endurance
