#pragma once

#include <optional>
#include <string>

namespace quarvel {

// The master side of a raw pseudo-terminal; the loader opens the slave side by its path.
// Closing the master hangs up the slave.
class PseudoTerminal {
public:
    // A new terminal, or nothing with the reason in error.
    static std::optional<PseudoTerminal> create(std::string& error);

    PseudoTerminal(PseudoTerminal&& other) noexcept;
    PseudoTerminal& operator=(PseudoTerminal&&) = delete;
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;
    ~PseudoTerminal();

    int masterFd() const { return m_master; }
    const std::string& slavePath() const { return m_slavePath; }

private:
    PseudoTerminal(int master, std::string slavePath);

    int m_master = -1;
    std::string m_slavePath;
};

} // namespace quarvel
