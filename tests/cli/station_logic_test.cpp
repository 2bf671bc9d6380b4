#include "cli/presence.h"
#include "cli/unit_log.h"
#include "cli/unit_record.h"
#include "cli/unit_watch.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <vector>

namespace quarvel {
namespace {

struct PresenceCase {
    const char* name;
    PresenceWatch::Waiting waiting;
    // One search after another: 'a' answered, '-' no answer.
    std::string searches;
    // How many searches it takes to decide; 0 when these do not decide.
    std::size_t decidedAfter;
};

void PrintTo(const PresenceCase& c, std::ostream* out) {
    *out << c.name;
}

class Presence : public testing::TestWithParam<PresenceCase> {};

TEST_P(Presence, DecidesOnAnswersInARow) {
    const PresenceCase& c = GetParam();
    PresenceWatch watch(c.waiting);
    std::size_t decided = 0;
    for (std::size_t i = 0; i < c.searches.size() && decided == 0; ++i) {
        decided = watch.searched(c.searches[i] == 'a') ? i + 1 : 0;
    }
    EXPECT_EQ(decided, c.decidedAfter);
}

using enum PresenceWatch::Waiting;
INSTANTIATE_TEST_SUITE_P(
    Cases, Presence,
    testing::Values(PresenceCase{"ArrivesOnTwoAnswers", ForArrival, "--aa", 4},
                    PresenceCase{"OneAnswerIsNotAUnit", ForArrival, "a-a-a-", 0},
                    PresenceCase{"FlickerStartsTheCountAgain", ForArrival, "a-aa", 4},
                    PresenceCase{"GoesOnThreeMisses", ForDeparture, "aa---", 5},
                    PresenceCase{"TwoMissesAreNotGone", ForDeparture, "--a--a", 0},
                    PresenceCase{"FlickerWhileLeaving", ForDeparture, "--a---", 6}),
    [](const testing::TestParamInfo<PresenceCase>& info) { return info.param.name; });

// Keeps what reaches the unit's own output.
class Recorder final : public LoadOutput {
public:
    Recorder() : LoadOutput([] { return false; }) {}
    void addMessage(std::string_view text) override { lines.emplace_back(text); }
    void setPercentage(int) override {}
    bool askRetry() override { return false; }
    void finish(bool failed) override { finished = failed ? "failed" : "completed"; }
    std::vector<std::string> lines;
    std::string finished;
};

struct RecordCase {
    const char* name;
    // Each message with the clock's reading when the job reports it.
    std::vector<std::pair<std::int64_t, std::string>> messages;
    std::int64_t finishedAtMs;
    std::uint8_t channel;
    // The record's fields as JSON text.
    std::string device;
    int retries;
    std::string seconds;
    std::string channelField;
};

void PrintTo(const RecordCase& c, std::ostream* out) {
    *out << c.name;
}

class Record : public testing::TestWithParam<RecordCase> {};

TEST_P(Record, KeepsWhatTheLoadReported) {
    const RecordCase& c = GetParam();
    Recorder unitOutput;
    std::int64_t now = 0;
    UnitWatch watch(
        unitOutput, [&now] { return now; }, [] { return false; });
    std::vector<std::string> sent;
    for (const auto& [at, text] : c.messages) {
        now = at;
        watch.addMessage(text);
        sent.push_back(text);
    }
    now = c.finishedAtMs;
    watch.finish(false);

    UnitRecord record;
    record.port = "bench-left";
    record.portId = "/dev/serial/by-path/pci-0000:00:14.0-usb-0:2:1.0-port0";
    record.unit = 7;
    record.channel = c.channel;
    record.file = "demo.a21";
    record.status = "completed";
    record.facts = watch.facts();
    const QJsonObject json =
        QJsonDocument::fromJson(QByteArray::fromStdString(unitRecordLine(record))).object();

    EXPECT_EQ(unitOutput.lines, sent) << "every line goes on to the unit's output";
    EXPECT_EQ(unitOutput.finished, "completed");
    const auto field = [&json](const char* key) {
        return QJsonDocument(QJsonObject{{key, json[key]}})
            .toJson(QJsonDocument::Compact)
            .toStdString();
    };
    EXPECT_EQ(field("device"), "{\"device\":" + c.device + "}");
    EXPECT_EQ(json["retries"].toInt(), c.retries);
    EXPECT_EQ(field("seconds"), "{\"seconds\":" + c.seconds + "}");
    EXPECT_EQ(field("channel"), "{\"channel\":" + c.channelField + "}");
    EXPECT_EQ(json["port_id"].toString().toStdString(), record.portId);
    EXPECT_EQ(json["unit"].toInt(), 7);
    EXPECT_TRUE(json["time"].toString().endsWith('Z'));
    EXPECT_TRUE(json["reason"].isNull());
}

const std::vector<std::pair<std::int64_t, std::string>> kWholeLoad{
    {0, "Initialising"},
    {100, "Searching for device"},
    {150, "Found Device 322, expecting 271"},
    {400, "Erasing flash"},
    {2400, "Flash Erased, sending new program"},
    {3000, "No response. Trying record again"},
    {3500, "Device received record with bad checksum. Trying record again"},
};

INSTANTIATE_TEST_SUITE_P(
    Cases, Record,
    testing::Values(RecordCase{"EveryStep", kWholeLoad, 12400, 0x7F, "322", 2,
                               R"({"erase":2,"search":0.3,"transfer":10})", R"("all")"},
                    RecordCase{"NoDeviceFound",
                               {{0, "Searching for device"},
                                {2000, "Device not responding, check connections"}},
                               3500,
                               2,
                               "null",
                               0,
                               R"({"erase":null,"search":3.5,"transfer":null})",
                               "3"}),
    [](const testing::TestParamInfo<RecordCase>& info) { return info.param.name; });

TEST(UnitLog, AppendsWholeLinesOrSaysWhy) {
    const auto path =
        std::filesystem::temp_directory_path() /
        ("quarvel-unit-log-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    std::filesystem::remove(path);
    UnitLog log(path.string());
    std::string error;
    ASSERT_TRUE(log.append("{\"unit\":1}", error)) << error;
    ASSERT_TRUE(log.append("{\"unit\":2}", error)) << error;
    std::ifstream file(path);
    const std::string text{std::istreambuf_iterator<char>(file), {}};
    EXPECT_EQ(text, "{\"unit\":1}\n{\"unit\":2}\n");
    std::filesystem::remove(path);

    UnitLog full("/dev/full");
    EXPECT_FALSE(full.append("{\"unit\":1}", error));
    EXPECT_NE(error.find("/dev/full"), std::string::npos) << error;
    UnitLog nowhere("/nonexistent/units.log");
    EXPECT_FALSE(nowhere.reachable(error));
    EXPECT_NE(error.find("/nonexistent/units.log"), std::string::npos) << error;
}

} // namespace
} // namespace quarvel
