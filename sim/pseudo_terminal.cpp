#include "sim/pseudo_terminal.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>
#include <utility>

namespace quarvel {

namespace {

std::string failure(const char* what) {
    return std::string(what) + ": " + std::strerror(errno);
}

// Raw bytes both ways: the slave must not echo, translate line ends or treat any byte as a
// signal. The loader sets the line up again when it opens it, but a terminal program may not.
bool makeRaw(const std::string& slavePath, std::string& error) {
    const int slave = ::open(slavePath.c_str(), O_RDWR | O_NOCTTY);
    if (slave < 0) {
        error = failure("cannot open the terminal's slave side");
        return false;
    }
    termios settings{};
    bool done = ::tcgetattr(slave, &settings) == 0;
    if (done) {
        ::cfmakeraw(&settings);
        ::cfsetspeed(&settings, B19200);
        done = ::tcsetattr(slave, TCSANOW, &settings) == 0;
    }
    if (!done) {
        error = failure("cannot set the terminal raw");
    }
    ::close(slave);
    return done;
}

} // namespace

std::optional<PseudoTerminal> PseudoTerminal::create(std::string& error) {
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (master < 0) {
        error = failure("cannot open a pseudo-terminal");
        return std::nullopt;
    }
    PseudoTerminal terminal(master, {});
    if (::grantpt(master) != 0 || ::unlockpt(master) != 0) {
        error = failure("cannot unlock the pseudo-terminal");
        return std::nullopt;
    }
    const char* name = ::ptsname(master);
    if (name == nullptr) {
        error = failure("cannot name the pseudo-terminal");
        return std::nullopt;
    }
    terminal.m_slavePath = name;
    if (!makeRaw(terminal.m_slavePath, error)) {
        return std::nullopt;
    }
    return terminal;
}

PseudoTerminal::PseudoTerminal(int master, std::string slavePath)
    : m_master(master), m_slavePath(std::move(slavePath)) {}

PseudoTerminal::PseudoTerminal(PseudoTerminal&& other) noexcept
    : m_master(std::exchange(other.m_master, -1)), m_slavePath(std::move(other.m_slavePath)) {}

PseudoTerminal::~PseudoTerminal() {
    if (m_master >= 0) {
        ::close(m_master);
    }
}

} // namespace quarvel
