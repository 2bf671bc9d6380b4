#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace quarvel {

enum class FaultKind {
    NoIdentify, // the identify frame gets no answer, so the loader falls back to the probe echo
    Silent,     // nothing is ever answered, not even the probe byte
    NoErase,    // erase frames get no answer
    Status,     // record N is answered with status, count times
    Drop,       // the line drops when record N arrives
    Garbage,    // noise bytes come before every frame the device sends
    Trickle,    // the bytes of every answer come one at a time, pauseMs apart
    Overlong,   // the answer to record N is longer than any reply can be, once
};

// One scripted misbehaviour of the stand-in device. Records are numbered from 1 in the order the
// device handles them; the header record is 1, and a restart numbers them afresh.
struct Fault {
    FaultKind kind = FaultKind::Status;
    int record = 0;
    int count = 1;
    std::uint8_t status = 0;
    int pauseMs = 0;

    static Fault statusAt(int record, std::uint8_t status, int count = 1);
    static Fault restartAt(int record);
    static Fault skipAt(int record);
    static Fault dropAt(int record);
    static Fault trickle(int pauseMs);
    static Fault overlongAt(int record);
};

// Reads one --fault argument: no-identify, silent, no-erase, garbage, status:N:S[:K] (S in hex),
// restart:N, skip:N, drop:N, overlong:N or trickle:MS. Nothing when the text is not one of these.
std::optional<Fault> parseFault(std::string_view text);

} // namespace quarvel
