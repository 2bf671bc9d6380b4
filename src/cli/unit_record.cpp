#include "cli/unit_record.h"

#include "cli/json_writer.h"
#include "link/command_set.h"
#include "quarvel_version.h"

#include <array>
#include <cstdio>
#include <ctime>

namespace quarvel {
namespace {

std::string utcTime(std::chrono::system_clock::time_point at) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(at);
    std::tm utc{};
#ifdef _WIN32
    gmtime_s(&utc, &seconds);
#else
    gmtime_r(&seconds, &utc);
#endif
    std::array<char, 32> text{};
    std::strftime(text.data(), text.size(), "%Y-%m-%dT%H:%M:%SZ", &utc);
    return text.data();
}

} // namespace

std::string unitRecordLine(const UnitRecord& record) {
    JsonObject seconds;
    seconds.addSeconds("search", record.facts.searchMs)
        .addSeconds("erase", record.facts.eraseMs)
        .addSeconds("transfer", record.facts.transferMs);
    JsonObject line;
    line.add("time", utcTime(record.started))
        .add("port", record.port)
        .add("port_id", record.portId)
        .add("unit", std::int64_t{record.unit});
    if (record.channel == kAllChannels) {
        line.add("channel", "all");
    } else {
        line.add("channel", std::int64_t{record.channel} + 1);
    }
    line.addNumberOrNull("device", record.facts.deviceType
                                       ? std::optional<std::int64_t>(*record.facts.deviceType)
                                       : std::nullopt)
        .add("file", record.file)
        .addOrNull("sha256", record.sha256)
        .add("status", record.status)
        .addOrNull("reason", record.reason)
        .add("retries", std::int64_t{record.facts.retries})
        .add("seconds", seconds)
        .add("quarvel", kQuarvelVersion);
    return line.text();
}

} // namespace quarvel
