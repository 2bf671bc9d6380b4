#include "e2e_programs.h"
#include "program_files.h"
#include "tests/support/child_process.h"
#include "tests/support/file_contents.h"
#include "tests/support/json_lines.h"
#include "tests/support/ktv_sim_process.h"

#include <csignal>
#include <gtest/gtest.h>
#include <ostream>
#include <regex>

namespace quarvel::test {
namespace {

constexpr const char* kRetryLine = "The application could not send some of the data. Would you "
                                   "like it to try sending it again? ";

// One load through quarvel-cli into a fresh ktv-sim started with deviceOptions.
Finished loadInto(const std::filesystem::path& folder,
                  const std::vector<std::string>& deviceOptions,
                  const std::filesystem::path& program, std::vector<std::string> loadOptions) {
    std::filesystem::create_directories(folder);
    KtvSimProcess device(folder, deviceOptions);
    std::vector<std::string> argv{QUARVEL_CLI, "load", program.string(), "--port",
                                  device.terminalPath()};
    argv.insert(argv.end(), loadOptions.begin(), loadOptions.end());
    Finished run = runProgram(argv);
    device.stopAndReadFlash();
    return run;
}

struct JsonCase {
    const char* name;
    std::vector<std::string> deviceOptions;
    std::filesystem::path (*program)();
    std::vector<std::string> loadOptions;
    std::string reason;
};

void PrintTo(const JsonCase& c, std::ostream* out) {
    *out << c.name;
}

class JsonEvents : public testing::TestWithParam<JsonCase> {};

// The same load twice, as lines and as JSON: the events tell what the lines tell.
TEST_P(JsonEvents, MatchThePlainLinesOfTheSameLoad) {
    const JsonCase& c = GetParam();
    auto plainOptions = c.loadOptions;
    plainOptions.insert(plainOptions.end(), {"--progress", "lines"});
    const Finished plain =
        loadInto(testFolder() / c.name / "plain", c.deviceOptions, c.program(), plainOptions);
    auto jsonOptions = c.loadOptions;
    jsonOptions.push_back("--json");
    const Finished json =
        loadInto(testFolder() / c.name / "json", c.deviceOptions, c.program(), jsonOptions);

    Lines messages;
    Lines percentages;
    Lines answers;
    Lines results;
    for (const std::string& line : splitLines(json.out)) {
        const QJsonObject event = parseJsonLine(line);
        EXPECT_FALSE(event.contains("port")) << "a single load names no port: " << line;
        ASSERT_TRUE(results.empty()) << "the result comes last: " << line;
        const QString kind = event.value("event").toString();
        if (kind == "message") {
            messages.push_back(event.value("text").toString().toStdString());
        } else if (kind == "progress") {
            percentages.push_back(std::to_string(event.value("percent").toInt(-1)) + "%");
        } else if (kind == "retry") {
            answers.push_back(kRetryLine + std::string(event.value("answer") == "try-again"
                                                           ? "Try Again"
                                                           : "Cancel"));
        } else {
            ASSERT_EQ(kind, "result") << line;
            results.push_back(event.value("status").toString().toStdString() + " " +
                              event.value("reason").toString("null").toStdString());
        }
    }

    Lines plainMessages = splitLines(plain.out);
    ASSERT_EQ(plainMessages.back(), "Error!");
    plainMessages.pop_back();
    Lines plainPercentages;
    Lines plainAnswers;
    Lines explanation;
    for (const std::string& line : splitLines(plain.err)) {
        if (std::regex_match(line, std::regex("[0-9]+%"))) {
            plainPercentages.push_back(line);
        } else if (line.rfind(kRetryLine, 0) == 0) {
            plainAnswers.push_back(line);
        } else {
            explanation.push_back(line);
        }
    }
    EXPECT_EQ(messages, plainMessages);
    EXPECT_EQ(percentages, plainPercentages);
    EXPECT_EQ(answers, plainAnswers);
    EXPECT_EQ(results, Lines{"failed " + c.reason});
    EXPECT_EQ(json.exitCode, 1);
    EXPECT_EQ(plain.exitCode, 1);
    EXPECT_EQ(splitLines(json.err), joined(plainAnswers, explanation))
        << "standard error keeps the retry lines and the reason, and gains nothing";
}

std::filesystem::path spread() {
    return cliPrograms().spread;
}
std::filesystem::path boot() {
    return cliPrograms().boot;
}

INSTANTIATE_TEST_SUITE_P(Cases, JsonEvents,
                         testing::Values(JsonCase{"RecordRefusedThrice",
                                                  {"--fault", "status:8:03:3"},
                                                  spread,
                                                  {"--retry", "never"},
                                                  "transfer"},
                                         JsonCase{"BootSector", {}, boot, {}, "boot-sector"}),
                         [](const testing::TestParamInfo<JsonCase>& info) {
                             return info.param.name;
                         });

// Ctrl-C while the device is silent about the erase: the result says interrupted, not erase.
TEST(JsonEvents, CtrlCEndsWithAnInterruptedResult) {
    const auto folder = testFolder() / "json-interrupt";
    std::filesystem::create_directories(folder);
    KtvSimProcess device(folder, {"--fault", "no-erase"});
    RunningProgram cli({QUARVEL_CLI, "load", cliPrograms().small.string(), "--port",
                        device.terminalPath(), "--json"});

    std::string line;
    while (cli.readLine(line) && parseJsonLine(line).value("text") != "Erasing flash") {
    }
    ASSERT_EQ(parseJsonLine(line).value("text"), "Erasing flash") << cli.errorText();
    cli.signal(SIGINT);
    Lines after;
    while (cli.readLine(line)) {
        after.push_back(line);
    }

    EXPECT_EQ(after, Lines{R"({"event":"result","status":"interrupted","reason":"interrupted"})"});
    EXPECT_EQ(cli.wait(), 1);
}

std::vector<std::uint8_t> hexBytes(const std::string& text) {
    std::vector<std::uint8_t> bytes;
    for (std::size_t at = 0; at < text.size(); at += 3) {
        bytes.push_back(static_cast<std::uint8_t>(std::stoi(text.substr(at, 2), nullptr, 16)));
    }
    return bytes;
}

// A record answered with status 03 twice is sent three times; every frame goes into the trace
// as ktv-sim received it, and every reply read is one whole frame.
TEST(Trace, ShowsTheBytesTheDeviceReceivedAndTheRepliesRead) {
    const auto folder = testFolder() / "trace";
    std::filesystem::create_directories(folder);
    const auto received = folder / "received.bin";
    KtvSimProcess device(folder, {"--fault", "status:3:03:2", "--received-out", received.string()});
    const auto program = cliPrograms().small;
    const Finished run =
        runProgram({QUARVEL_CLI, "load", program.string(), "--port", device.terminalPath(),
                    "--trace", "--retry", "never", "--progress", "none"});
    const std::vector<std::uint8_t> flash = device.stopAndReadFlash();

    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(flash, expectedFlash(program))
        << "the trace leaves the bytes on the line as they are";
    const std::regex traceLine("trace +([0-9]+) ms ([<>]) ((?:[0-9A-F]{2} )*[0-9A-F]{2})");
    std::vector<std::uint8_t> written;
    long lastMs = 0;
    int frames = 0;
    int replies = 0;
    for (const std::string& line : splitLines(run.err)) {
        std::smatch match;
        ASSERT_TRUE(std::regex_match(line, match, traceLine)) << line;
        const long atMs = std::stol(match[1]);
        EXPECT_GE(atMs, lastMs) << line;
        lastMs = atMs;
        const std::vector<std::uint8_t> bytes = hexBytes(match[3]);
        EXPECT_EQ(bytes.front(), 0xF0) << line;
        EXPECT_EQ(bytes.back(), 0xF7) << line;
        if (match[2] == ">") {
            written.insert(written.end(), bytes.begin(), bytes.end());
            ++frames;
        } else {
            ++replies;
        }
    }
    EXPECT_EQ(written, fileBytes(received));
    EXPECT_GE(replies, frames) << "every frame is answered, the identify frame twice";
}

} // namespace
} // namespace quarvel::test
