#include "cli/commands.h"
#include "cli/option_parser.h"
#include "cli/usage.h"
#include "image/program_file.h"
#include "image/program_scan.h"
#include "image/sector_map.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

namespace quarvel {
namespace {

constexpr std::string_view kOperands[] = {"FILE"};
constexpr std::string_view kCheckHelp =
    "\nScans a program file as a load does and shows the flash sectors it writes.\n";

const char* openProblem(const std::string& path) {
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (!std::filesystem::exists(status)) {
        return "no such file";
    }
    if (std::filesystem::is_directory(status)) {
        return "is a directory";
    }
    if (!std::filesystem::is_regular_file(status)) {
        return "not a regular file";
    }
    return "cannot be read";
}

void printRefusal(const ScanReport& report) {
    const auto line = static_cast<long long>(report.line);
    switch (report.finding) {
    case ScanFinding::BadHeader:
        std::puts("line 1 is not a valid S0 header record");
        break;
    case ScanFinding::Malformed:
        std::printf("line %lld is not a record of type S0, S1, S2, S5, S8 or S9\n", line);
        break;
    case ScanFinding::BadChecksum:
        std::printf("line %lld has a wrong checksum\n", line);
        break;
    case ScanFinding::SecondHeader:
        std::printf("line %lld is a second S0 header record\n", line);
        break;
    case ScanFinding::EmptyLine:
        std::printf("line %lld is empty\n", line);
        break;
    case ScanFinding::MissingEndRecord:
        std::puts("the file ends without an S8 or S9 end record");
        break;
    case ScanFinding::Accepted:
        break;
    }
}

void printAcceptance(const ScanReport& report, const SectorMap& sectors) {
    bool anySector = false;
    for (int sector = 0; sector < kFlashSectorCount; ++sector) {
        if (sectors[static_cast<std::size_t>(sector)] != 0) {
            const SectorRange range = sectorRange(sector);
            std::printf("erases sector %d: %05Xh-%05Xh\n", sector,
                        static_cast<unsigned>(range.first), static_cast<unsigned>(range.last));
            anySector = true;
        }
    }
    if (!anySector) {
        std::puts("erases no sector: a load of this file fails before sending it");
    }
    if (sectors[kBootSector] != 0) {
        std::puts("boot sector: written; a load refuses this file unless boot mode is on");
    } else {
        std::puts("boot sector: not written");
    }
    if (!report.endRecordValid) {
        std::printf(
            "warning: the end record on line %lld is not a valid record; a load stops there "
            "with an error after sending every data record\n",
            static_cast<long long>(report.line));
    }
}

} // namespace

int runCheck(std::span<char* const> args) {
    ParsedArguments parsed;
    std::string error;
    if (!parseArguments(args, {{}, kOperands}, parsed, error)) {
        return badUsage(kCheckUsage, error);
    }
    if (parsed.helpWanted) {
        return printHelp(kCheckUsage, kCheckHelp);
    }
    const std::string& path = parsed.operands.front();
    ProgramFile file;
    if (!file.open(path)) {
        std::fprintf(stderr, "quarvel-cli: %s: %s\n", path.c_str(), openProblem(path));
        return ExitUsage;
    }
    SectorMap sectors{};
    const ScanReport report = inspectProgramFile(file, sectors);
    if (file.readFailed()) {
        std::fprintf(stderr, "quarvel-cli: %s: read error\n", path.c_str());
        return ExitUsage;
    }
    if (report.finding != ScanFinding::Accepted) {
        std::printf("%s: refused: ", path.c_str());
        printRefusal(report);
        return ExitFailure;
    }
    std::printf("%s: accepted\n", path.c_str());
    printAcceptance(report, sectors);
    return ExitSuccess;
}

} // namespace quarvel
