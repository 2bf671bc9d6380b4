#include "cli/unit_log.h"

#include "files/path_text.h"

#include <cerrno>
#include <cstring>
#include <fstream>

namespace quarvel {

bool UnitLog::reachable(std::string& error) const {
    errno = 0;
    const std::ofstream file(pathFromText(m_path), std::ios::app);
    if (!file) {
        error = "cannot open the log " + m_path +
                " for appending: " + (errno != 0 ? std::strerror(errno) : "unknown reason");
    }
    return static_cast<bool>(file);
}

} // namespace quarvel
