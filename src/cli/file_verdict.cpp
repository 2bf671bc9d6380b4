#include "cli/file_verdict.h"

#include "cli/commands.h"
#include "image/program_file.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace quarvel {
namespace {

std::string openProblem(const std::string& path) {
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

std::string refusal(const ScanReport& report) {
    const std::string line = "line " + std::to_string(report.line);
    switch (report.finding) {
    case ScanFinding::BadHeader:
        return "line 1 is not a valid S0 header record";
    case ScanFinding::Malformed:
        return line + " is not a record of type S0, S1, S2, S5, S8 or S9";
    case ScanFinding::BadChecksum:
        return line + " has a wrong checksum";
    case ScanFinding::SecondHeader:
        return line + " is a second S0 header record";
    case ScanFinding::EmptyLine:
        return line + " is empty";
    case ScanFinding::MissingEndRecord:
        return "the file ends without an S8 or S9 end record";
    case ScanFinding::Accepted:
        break;
    }
    return "the scan refuses it";
}

} // namespace

FileVerdict judgeProgramFile(const std::string& path, bool bootMode) {
    FileVerdict verdict;
    ProgramFile file;
    if (!file.open(path)) {
        verdict.exitCode = ExitUsage;
        verdict.text = openProblem(path);
        return verdict;
    }
    verdict.report = inspectProgramFile(file, verdict.sectors);
    if (file.readFailed()) {
        verdict.exitCode = ExitUsage;
        verdict.text = "read error";
    } else if (verdict.report.finding != ScanFinding::Accepted) {
        verdict.exitCode = ExitFailure;
        verdict.text = "refused: " + refusal(verdict.report);
    } else if (std::all_of(verdict.sectors.begin(), verdict.sectors.end(),
                           [](std::uint8_t flag) { return flag == 0; })) {
        verdict.exitCode = ExitFailure;
        verdict.text = "refused: it writes no flash sector; a load erases nothing and stops";
    } else if (verdict.sectors[kBootSector] != 0 && !bootMode) {
        verdict.exitCode = ExitFailure;
        verdict.text = "refused: it writes the boot sector, which a load writes only with --boot";
    } else {
        verdict.exitCode = ExitSuccess;
        verdict.text = "accepted: a load sends this file";
    }
    return verdict;
}

} // namespace quarvel
