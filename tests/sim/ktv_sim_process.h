#pragma once

#include "tests/support/child_process.h"

#include <optional>
#include <string>
#include <vector>

namespace quarvel::test {

// A ktv-sim started for one test, stopped with SIGTERM when the object goes.
class KtvSimProcess {
public:
    explicit KtvSimProcess(const std::vector<std::string>& arguments);
    ~KtvSimProcess() { terminate(); }
    KtvSimProcess(const KtvSimProcess&) = delete;
    KtvSimProcess& operator=(const KtvSimProcess&) = delete;

    // The terminal path ktv-sim printed first; empty when it failed to start.
    const std::string& terminalPath() const { return m_terminalPath; }
    void terminate();
    // The exit status once ktv-sim has ended by itself; nothing if it is still running after
    // a generous bound, which only a broken ktv-sim reaches.
    std::optional<int> waitForExit();

private:
    RunningProgram m_program;
    std::string m_terminalPath;
};

} // namespace quarvel::test
