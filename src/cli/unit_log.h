#pragma once

#include <mutex>
#include <string>
#include <string_view>

namespace quarvel {

// The station's log: one line per unit, appended whole and flushed to the disk before append
// returns, so that a power cut loses at most the unit being loaded and never leaves half a line.
// Safe to call from every port's thread.
class UnitLog {
public:
    explicit UnitLog(std::string path) : m_path(std::move(path)) {}

    // Appends line and its line end; false, with error saying why, when it could not be written
    // whole, and then the file is as it was.
    bool append(std::string_view line, std::string& error);

    // True when the log can be opened for appending; false, with error saying why, otherwise.
    bool reachable(std::string& error) const;

private:
    std::mutex m_mutex;
    std::string m_path;
};

} // namespace quarvel
