#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

namespace quarvel::test {

using Lines = std::vector<std::string>;

// A program's output split at its line feeds; a last line without one counts too.
Lines splitLines(const std::string& text);

struct Finished {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs a program to its end with input on its standard input; extraEnvironment holds
// NAME=VALUE entries added to this process's environment.
Finished runProgram(const std::vector<std::string>& argv, const std::string& input = "",
                    const std::vector<std::string>& extraEnvironment = {});

// A program left running, whose standard output is read line by line as it comes; its
// standard error is kept in a file until it ends.
class RunningProgram {
public:
    explicit RunningProgram(const std::vector<std::string>& argv);
    ~RunningProgram();
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    // The next line without its line end; false at the end of the output.
    bool readLine(std::string& line);
    // Nothing once the program has been waited for.
    void signal(int number) const;
    // True when the program ends within the time, false when it still runs then.
    bool endsWithin(int milliseconds) const;
    // Waits for the end and answers the exit status, or -1 for a program ended by a signal.
    int wait();
    std::string errorText() const;

private:
    pid_t m_pid = -1;
    int m_output = -1;
    std::string m_buffer;
    std::string m_errorPath;
    bool m_ended = false;
    int m_exitCode = -1;
};

} // namespace quarvel::test
