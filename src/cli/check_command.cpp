#include "cli/commands.h"
#include "cli/option_parser.h"
#include "cli/usage.h"
#include "image/program_file.h"
#include "image/program_scan.h"
#include "image/sector_map.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

namespace quarvel {
namespace {

constexpr OptionSpec kOptions[] = {{"--boot", 'b'}};
constexpr std::string_view kOperands[] = {"FILE"};
constexpr std::string_view kCheckHelp =
    "\nAnswers what a load would do with a program file: the verdict first, then the flash\n"
    "sectors it erases and whether it writes the boot sector.\n\n"
    "  -b, --boot  judge the file as a load with --boot would (the boot sector may be written)\n\n"
    "Exit status: 0 a load sends the file; 1 a load refuses it (the scan refuses a line, it\n"
    "writes the boot sector without --boot, or it writes no flash sector); 2 the file cannot\n"
    "be read, or bad usage.\n";

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

bool writesAnySector(const SectorMap& sectors) {
    return std::any_of(sectors.begin(), sectors.end(), [](std::uint8_t flag) { return flag != 0; });
}

// What a load does with a file that the scan accepted; the first line is the verdict.
int printLoadVerdict(const std::string& path, const ScanReport& report, const SectorMap& sectors,
                     bool bootMode) {
    const bool writesBoot = sectors[kBootSector] != 0;
    int status = ExitSuccess;
    if (!writesAnySector(sectors)) {
        std::printf("%s: refused: it writes no flash sector; a load erases nothing and stops\n",
                    path.c_str());
        status = ExitFailure;
    } else if (writesBoot && !bootMode) {
        std::printf("%s: refused: it writes the boot sector, which a load writes only with "
                    "--boot\n",
                    path.c_str());
        status = ExitFailure;
    } else {
        std::printf("%s: accepted: a load sends this file\n", path.c_str());
    }
    for (int sector = 0; sector < kFlashSectorCount; ++sector) {
        if (sectors[static_cast<std::size_t>(sector)] != 0) {
            const SectorRange range = sectorRange(sector);
            std::printf("erases sector %d: %05Xh-%05Xh\n", sector,
                        static_cast<unsigned>(range.first), static_cast<unsigned>(range.last));
        }
    }
    std::puts(!writesBoot ? "boot sector: not written"
              : bootMode  ? "boot sector: written, allowed by --boot"
                          : "boot sector: written");
    if (!report.endRecordValid) {
        std::printf(
            "warning: the end record on line %lld is not a valid record; a load stops there "
            "with an error after sending every data record\n",
            static_cast<long long>(report.line));
    }
    return status;
}

} // namespace

int runCheck(std::span<char* const> args) {
    ParsedArguments parsed;
    std::string error;
    if (!parseArguments(args, {kOptions, kOperands}, parsed, error)) {
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
    return printLoadVerdict(path, report, sectors, parsed.given("--boot"));
}

} // namespace quarvel
