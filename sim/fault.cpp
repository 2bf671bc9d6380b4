#include "sim/fault.h"

#include "sim/device_protocol.h"

#include <array>
#include <charconv>
#include <vector>

namespace quarvel {

namespace {

std::vector<std::string_view> splitFields(std::string_view text) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (std::size_t colon = text.find(':'); colon != std::string_view::npos;
         colon = text.find(':', start)) {
        fields.push_back(text.substr(start, colon - start));
        start = colon + 1;
    }
    fields.push_back(text.substr(start));
    return fields;
}

std::optional<int> number(std::string_view text, int base, int lowest, int highest) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size() ||
        value < lowest || value > highest) {
        return std::nullopt;
    }
    return value;
}

constexpr int kMostRecords = 1'000'000;
constexpr int kHighestStatus = 0x7F; // a data byte of a frame

struct NamedFault {
    std::string_view name;
    FaultKind kind;
};

constexpr std::array<NamedFault, 4> kPlainFaults{{
    {"no-identify", FaultKind::NoIdentify},
    {"silent", FaultKind::Silent},
    {"no-erase", FaultKind::NoErase},
    {"garbage", FaultKind::Garbage},
}};

// Longer pauses than this would only test the loader's two-second limit on a reply's body.
constexpr int kLongestPauseMs = 2000;

} // namespace

Fault Fault::statusAt(int record, std::uint8_t status, int count) {
    return {FaultKind::Status, record, count, status};
}

Fault Fault::restartAt(int record) {
    return statusAt(record, device::kRestart);
}

Fault Fault::skipAt(int record) {
    return statusAt(record, device::kSkipped);
}

Fault Fault::dropAt(int record) {
    return {FaultKind::Drop, record, 1, 0};
}

Fault Fault::trickle(int pauseMs) {
    return {FaultKind::Trickle, 0, 1, 0, pauseMs};
}

Fault Fault::overlongAt(int record) {
    return {FaultKind::Overlong, record, 1, 0};
}

std::optional<Fault> parseFault(std::string_view text) {
    for (const NamedFault& plain : kPlainFaults) {
        if (text == plain.name) {
            return Fault{plain.kind, 0, 1, 0};
        }
    }
    const std::vector<std::string_view> fields = splitFields(text);
    if (fields.size() < 2) {
        return std::nullopt;
    }
    if (fields.size() == 2 && fields[0] == "trickle") {
        const auto pause = number(fields[1], 10, 1, kLongestPauseMs);
        return pause ? std::optional(Fault::trickle(*pause)) : std::nullopt;
    }
    const auto record = number(fields[1], 10, 1, kMostRecords);
    if (!record) {
        return std::nullopt;
    }
    const std::string_view name = fields[0];
    if (fields.size() == 2) {
        if (name == "restart") {
            return Fault::restartAt(*record);
        }
        if (name == "skip") {
            return Fault::skipAt(*record);
        }
        if (name == "drop") {
            return Fault::dropAt(*record);
        }
        if (name == "overlong") {
            return Fault::overlongAt(*record);
        }
    }
    if (name == "status" && (fields.size() == 3 || fields.size() == 4)) {
        const auto status = number(fields[2], 16, 0, kHighestStatus);
        const auto count = fields.size() == 4 ? number(fields[3], 10, 1, kMostRecords) : 1;
        if (status && count) {
            return Fault::statusAt(*record, static_cast<std::uint8_t>(*status), *count);
        }
    }
    return std::nullopt;
}

} // namespace quarvel
