#include "process_usage.h"

#include <filesystem>
#include <fstream>
#include <string>

namespace quarvel::endurance {

namespace {

// The value in KiB of a "Name:   123 kB" line of /proc/self/status.
std::int64_t statusValue(const std::string& name) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with(name + ":")) {
            return std::stoll(line.substr(name.size() + 1));
        }
    }
    return -1;
}

} // namespace

ProcessUsage currentUsage() {
    ProcessUsage usage;
    // The listing holds one descriptor of its own while it runs; it is not counted.
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        static_cast<void>(entry);
        ++usage.openDescriptors;
    }
    --usage.openDescriptors;
    usage.residentKiB = statusValue("VmRSS");
    usage.peakResidentKiB = statusValue("VmHWM");
    return usage;
}

} // namespace quarvel::endurance
