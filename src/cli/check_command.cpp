#include "cli/commands.h"
#include "cli/file_verdict.h"
#include "cli/option_parser.h"
#include "cli/usage.h"

#include <cstdio>
#include <string>
#include <string_view>

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

// The flash sectors and the boot sector of a file that the scan accepted.
void printDetails(const FileVerdict& verdict, bool bootMode) {
    for (int sector = 0; sector < kFlashSectorCount; ++sector) {
        if (verdict.sectors[static_cast<std::size_t>(sector)] != 0) {
            const SectorRange range = sectorRange(sector);
            std::printf("erases sector %d: %05Xh-%05Xh\n", sector,
                        static_cast<unsigned>(range.first), static_cast<unsigned>(range.last));
        }
    }
    std::puts(verdict.sectors[kBootSector] == 0 ? "boot sector: not written"
              : bootMode                        ? "boot sector: written, allowed by --boot"
                                                : "boot sector: written");
    if (!verdict.report.endRecordValid) {
        std::printf(
            "warning: the end record on line %lld is not a valid record; a load stops there "
            "with an error after sending every data record\n",
            static_cast<long long>(verdict.report.line));
    }
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
    const bool bootMode = parsed.given("--boot");
    const FileVerdict verdict = judgeProgramFile(path, bootMode);
    if (verdict.exitCode == ExitUsage) {
        std::fprintf(stderr, "quarvel-cli: %s: %s\n", path.c_str(), verdict.text.c_str());
        return ExitUsage;
    }
    std::printf("%s: %s\n", path.c_str(), verdict.text.c_str());
    if (verdict.report.finding == ScanFinding::Accepted) {
        printDetails(verdict, bootMode);
    }
    return verdict.exitCode;
}

} // namespace quarvel
