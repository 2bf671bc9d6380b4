#pragma once

#include <string_view>

namespace quarvel {

// Why a load failed, for callers that act on the cause rather than show the message lines.
// Device is a device that did not answer; WrongAnswer one that answered, but not as a KTV-271
// does (a garbled reply, a refused handshake, another type number).
enum class LoadFailure {
    Port,
    File,
    BootSector,
    Device,
    WrongAnswer,
    Erase,
    Transfer,
    Interrupted
};

// The reason as one lower-case word: port, file, boot-sector, device, wrong-answer, erase,
// transfer, interrupted.
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
    case LoadFailure::WrongAnswer:
        return "wrong-answer";
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
