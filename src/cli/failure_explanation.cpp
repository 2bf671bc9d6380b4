#include "cli/failure_explanation.h"

#include "cli/commands.h"
#include "cli/device_access_hint.h"
#include "cli/file_verdict.h"

#include <algorithm>
#include <cctype>
#include <sstream>

namespace quarvel {
namespace {

// The problem in our words, then the system's where they add something.
std::string withSystemWords(const std::string& text, const std::string& problem,
                            const OpenFailure& failure) {
    const bool same = std::equal(problem.begin(), problem.end(), failure.systemMessage.begin(),
                                 failure.systemMessage.end(), [](char a, char b) {
                                     return std::tolower(static_cast<unsigned char>(a)) ==
                                            std::tolower(static_cast<unsigned char>(b));
                                 });
    if (failure.systemMessage.empty() || same) {
        return text + ": " + problem;
    }
    return text + ": " + problem + " (" + failure.systemMessage + ")";
}

std::string explainPort(const FailureFacts& facts) {
    if (!facts.openFailure) {
        return facts.port + " opened, then failed during the load; check that it is still there "
                            "(an adapter unplugged, a driver that stopped)\n";
    }
    const OpenFailure& failure = *facts.openFailure;
    std::string text = "cannot open " + failure.device;
    if (facts.port != failure.device) {
        text += ", the device of " + facts.port;
    }
    switch (failure.problem) {
    case OpenProblem::Missing:
        return withSystemWords(text, "it does not exist", failure) + "\n";
    case OpenProblem::PermissionDenied:
        return withSystemWords(text, "permission denied", failure) + "\n" +
               deviceAccessHint(failure.device);
    case OpenProblem::InUse:
        return withSystemWords(text, "another program holds it", failure) + "\n";
    case OpenProblem::NotASerialPort:
        return withSystemWords(text, "it is not a serial port", failure) + "\n";
    case OpenProblem::Other:
        break;
    }
    return text + ": " + failure.systemMessage + "\n";
}

std::string explainFile(const FailureFacts& facts) {
    const FileVerdict verdict = judgeProgramFile(facts.file, facts.bootMode);
    if (verdict.exitCode == ExitSuccess && !verdict.report.endRecordValid) {
        // The scan stops at an end record without checking it; the load checks it last.
        return facts.file + ": the end record on line " + std::to_string(verdict.report.line) +
               " is not a valid record; every record before it was sent\n";
    }
    if (verdict.exitCode == ExitSuccess) {
        return facts.file + ": the file changed while it was being loaded\n";
    }
    return facts.file + ": " + verdict.text + "\n";
}

std::string explainDevice(const FailureFacts& facts) {
    if (facts.channel == kAllChannels) {
        return "the frames went out to every channel on " + facts.port +
               "; check the cable, the port and that the device is switched on\n";
    }
    return "the frames went out on channel " + std::to_string(facts.channel + 1) + " on " +
           facts.port + "; --channel all reaches a device on any channel\n";
}

std::string explainWrongAnswer(const FailureFacts& facts) {
    return "a device answered on " + facts.port +
           ", but not as a KTV-271 does; check that the device there is a KTV-271 and that no "
           "other device shares the line\n";
}

std::string explanationText(LoadFailure reason, const FailureFacts& facts) {
    switch (reason) {
    case LoadFailure::Port:
        return explainPort(facts);
    case LoadFailure::File:
    case LoadFailure::BootSector:
        return explainFile(facts);
    case LoadFailure::Device:
        return explainDevice(facts);
    case LoadFailure::WrongAnswer:
        return explainWrongAnswer(facts);
    case LoadFailure::Erase:
    case LoadFailure::Transfer:
    case LoadFailure::Interrupted:
        break;
    }
    return {};
}

} // namespace

std::vector<std::string> explainFailure(LoadFailure reason, const FailureFacts& facts) {
    std::istringstream text(explanationText(reason, facts));
    std::vector<std::string> lines;
    // The last line counts whether or not a line feed ends it.
    for (std::string line; std::getline(text, line);) {
        lines.push_back(line);
    }
    return lines;
}

} // namespace quarvel
