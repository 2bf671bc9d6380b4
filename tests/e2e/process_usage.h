#pragma once

#include <cstdint>

namespace quarvel::endurance {

// What this process holds at one moment, from /proc/self.
struct ProcessUsage {
    int openDescriptors = 0;
    // Resident memory now and at its peak, in KiB.
    std::int64_t residentKiB = 0;
    std::int64_t peakResidentKiB = 0;
};

ProcessUsage currentUsage();

} // namespace quarvel::endurance
