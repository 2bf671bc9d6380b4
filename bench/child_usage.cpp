#include <cstdio>
#include <span>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

// Runs a command and writes what it used to REPORT: "cpu-seconds peak-kib", its user and system
// time and its peak resident set. CPU time, unlike the clock on the wall, does not grow while the
// command waits for a share of a busy machine. Exits with the command's status.
// Usage: bench_child_usage REPORT COMMAND [ARGUMENT]...

int main(int argc, char** argv) {
    const std::span<char*> args(argv, static_cast<std::size_t>(argc));
    if (args.size() < 3) {
        std::fputs("usage: bench_child_usage REPORT COMMAND [ARGUMENT]...\n", stderr);
        return 2;
    }
    const pid_t child = ::fork();
    if (child < 0) {
        std::perror("bench_child_usage: fork");
        return 1;
    }
    if (child == 0) {
        ::execvp(args[2], args.subspan(2).data());
        std::perror("bench_child_usage: exec");
        ::_exit(127);
    }
    int status = 0;
    rusage usage{};
    if (::wait4(child, &status, 0, &usage) != child || !WIFEXITED(status)) {
        std::fputs("bench_child_usage: the command did not exit normally\n", stderr);
        return 1;
    }
    const auto seconds = [](const timeval& time) {
        return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
    };
    std::FILE* report = std::fopen(args[1], "w");
    if (report == nullptr) {
        std::perror("bench_child_usage: report");
        return 1;
    }
    std::fprintf(report, "%.6f %ld\n", seconds(usage.ru_utime) + seconds(usage.ru_stime),
                 usage.ru_maxrss);
    std::fclose(report);
    return WEXITSTATUS(status);
}
