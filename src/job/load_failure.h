#pragma once

#include <string_view>

namespace quarvel {

// Why a load failed, for callers that act on the cause rather than show the message lines.
enum class LoadFailure { Port, File, BootSector, Device, Erase, Transfer, Interrupted };

// The reason as one lower-case word: port, file, boot-sector, device, erase, transfer,
// interrupted.
constexpr std::string_view failureName(LoadFailure failure) {
    switch (failure) {
    case LoadFailure::Port:
        return "port";
    case LoadFailure::File:
        return "file";
    case LoadFailure::BootSector:
        return "boot-sector";
    case LoadFailure::Device:
        return "device";
    case LoadFailure::Erase:
        return "erase";
    case LoadFailure::Transfer:
        return "transfer";
    case LoadFailure::Interrupted:
        return "interrupted";
    }
    return "unknown";
}

} // namespace quarvel
