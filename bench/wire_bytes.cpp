#include "recorded_load.h"

#include <cstdint>
#include <cstdio>
#include <span>

// Counts the bytes that one load of a program file puts on the line each way.
// Usage: bench_wire_bytes FILE; prints "sent received records".

int main(int argc, char** argv) {
    const std::span<char*> args(argv, static_cast<std::size_t>(argc));
    if (args.size() != 2) {
        std::fputs("usage: bench_wire_bytes FILE\n", stderr);
        return 2;
    }
    const quarvel::bench::RecordedLoad load = quarvel::bench::recordLoad(args[1]);
    if (!load.completed) {
        std::fprintf(stderr, "bench_wire_bytes: the load of %s failed\n", args[1]);
        return 1;
    }
    std::int64_t sent = 0;
    std::int64_t received = 0;
    for (const auto& exchange : load.exchanges) {
        sent += static_cast<std::int64_t>(exchange.sent.size());
        received += static_cast<std::int64_t>(exchange.replyBytes);
    }
    std::printf("%lld %lld %lld\n", static_cast<long long>(sent), static_cast<long long>(received),
                static_cast<long long>(load.records));
    return 0;
}
