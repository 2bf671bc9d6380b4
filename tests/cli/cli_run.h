#pragma once

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace quarvel::test {

struct CliRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

inline std::string shellQuoted(const std::string& word) {
    std::string quoted = "'";
    for (char c : word) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

// Runs the real quarvel-cli with args and collects its exit code and both output streams.
inline CliRun runCli(const std::vector<std::string>& args) {
    const auto errPath = std::filesystem::temp_directory_path() /
                         ("quarvel_cli_err_" + std::to_string(::getpid()) + ".txt");
    std::string command = shellQuoted(QUARVEL_CLI);
    for (const std::string& arg : args) {
        command += " " + shellQuoted(arg);
    }
    command += " 2>" + shellQuoted(errPath.string());
    CliRun run;
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return run;
    }
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        run.out.append(buffer, n);
    }
    const int status = ::pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream err(errPath);
    std::ostringstream text;
    text << err.rdbuf();
    run.err = text.str();
    std::filesystem::remove(errPath);
    return run;
}

} // namespace quarvel::test
