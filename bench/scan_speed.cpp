#include "best_time.h"
#include "image/program_file.h"
#include "image/sector_map.h"

#include <cstdint>
#include <cstdio>
#include <span>

// Times opening one program file and scanProgramFile over it.
// Usage: bench_scan_speed FILE; prints "bytes best-seconds".

namespace {

constexpr int kRounds = 10;

} // namespace

int main(int argc, char** argv) {
    const std::span<char*> args(argv, static_cast<std::size_t>(argc));
    if (args.size() != 2) {
        std::fputs("usage: bench_scan_speed FILE\n", stderr);
        return 2;
    }
    quarvel::ProgramFile file;
    if (!file.open(args[1])) {
        std::fprintf(stderr, "bench_scan_speed: cannot open %s\n", args[1]);
        return 1;
    }
    quarvel::SectorMap sectors{};
    if (quarvel::scanProgramFile(file, sectors) != quarvel::ScanAccepted) {
        std::fprintf(stderr, "bench_scan_speed: %s is refused\n", args[1]);
        return 1;
    }
    const std::int64_t size = file.size();
    file.close();
    const auto best = quarvel::bench::bestTime(kRounds, [&] {
        quarvel::ProgramFile round;
        round.open(args[1]);
        sectors = {};
        quarvel::scanProgramFile(round, sectors);
    });
    std::printf("%lld %.9f\n", static_cast<long long>(size), best.count());
    return 0;
}
