#include "sim/device_model.h"
#include "sim/flash_layout.h"

#include <algorithm>
#include <cstdio>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace quarvel {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes frame(std::uint8_t channel, const Bytes& body) {
    Bytes bytes{0xF0, 0x00, 0x3C, 0x51, channel};
    bytes.insert(bytes.end(), body.begin(), body.end());
    bytes.push_back(0xF7);
    return bytes;
}

Bytes text(const std::string& characters) {
    return {characters.begin(), characters.end()};
}

Bytes operator+(Bytes first, const Bytes& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

Bytes send(DeviceModel& device, const Bytes& bytes) {
    Bytes answer;
    for (const std::uint8_t byte : bytes) {
        const Bytes part = device.receive(byte);
        answer.insert(answer.end(), part.begin(), part.end());
    }
    return answer;
}

const Bytes kSearch = frame(0x7F, {0x06, 0x10});
const Bytes kIdentify = frame(0x7F, {0x06, 0x01});
const Bytes kHandshake = frame(0x7F, {0x1B});
Bytes erase(std::uint8_t sector) {
    return frame(0x7F, {0x18, sector});
}
Bytes assumedErase(std::uint8_t sector) {
    return frame(0x7F, {0x06, 0x05, sector});
}
Bytes record(const std::string& line) {
    return frame(0x7F, Bytes{0x1A} + text(line));
}
Bytes assumedRecord(const std::string& line) {
    return frame(0x7F, Bytes{0x06, 0x0E} + text(line));
}
Bytes ack(std::uint8_t status, std::uint8_t channel = 0x7F) {
    return frame(channel, {0x19, status});
}
Bytes assumedAck(std::uint8_t status) {
    return frame(0x7F, {0x06, 0x07, status});
}

const std::string kHeader = "S00600004844521B";
// 01 02 at 8000h, in sector 3.
const std::string kData = "S1058000010277";

struct ExchangeCase {
    std::string name;
    DeviceConfig config;
    Bytes sent;
    Bytes answered;
};

void PrintTo(const ExchangeCase& c, std::ostream* out) {
    *out << c.name;
}

class Exchanges : public testing::TestWithParam<ExchangeCase> {};

TEST_P(Exchanges, AnswerAsTheDeviceDoes) {
    const ExchangeCase& c = GetParam();
    DeviceModel device(c.config);
    EXPECT_EQ(send(device, c.sent), c.answered);
}

DeviceConfig onChannel(std::uint8_t channel) {
    DeviceConfig config;
    config.channel = channel;
    return config;
}

DeviceConfig withFaults(std::vector<Fault> faults) {
    DeviceConfig config;
    config.faults = std::move(faults);
    return config;
}

DeviceConfig assumedModel() {
    DeviceConfig config;
    config.answersIdentify = false;
    return config;
}

DeviceConfig ofType(int type) {
    DeviceConfig config;
    config.typeNumber = type;
    return config;
}

const Fault kNoIdentify{FaultKind::NoIdentify};
const Fault kSilent{FaultKind::Silent};
const Fault kNoErase{FaultKind::NoErase};
const Bytes kNoise{0x00, 0x55, 0xF7, 0xFE, 0x7F};
// An acknowledgement with 100 data bytes more than any reply buffer takes.
const Bytes kOverlongAck = frame(0x7F, Bytes{0x19, 0x00} + Bytes(100, 0x00));

INSTANTIATE_TEST_SUITE_P(
    Frames, Exchanges,
    testing::Values(
        ExchangeCase{"SearchIsAcknowledged", {}, kSearch, ack(0)},
        ExchangeCase{"IdentifyGivesTypeThenVersion",
                     {},
                     kIdentify,
                     frame(0x7F, {0x06, 0x02, 0x02, 71}) + frame(0x7F, {0x06, 0x03, 0x01, 0x14})},
        ExchangeCase{"OtherTypeNumber", ofType(322), kIdentify,
                     frame(0x7F, {0x06, 0x02, 0x03, 22}) + frame(0x7F, {0x06, 0x03, 0x01, 0x14})},
        ExchangeCase{"HandshakeIsAcknowledged", {}, kHandshake, ack(0)},
        ExchangeCase{"ProbeIsEchoed", {}, {0xFE}, {0xFE}},
        ExchangeCase{
            "NoIdentifyStillEchoes", withFaults({kNoIdentify}), kIdentify + Bytes{0xFE}, {0xFE}},
        ExchangeCase{"AssumedModelOnlyEchoes",
                     assumedModel(),
                     kSearch + kIdentify + kHandshake + Bytes{0xFE},
                     {0xFE}},
        ExchangeCase{"AssumedEraseAndRecord", assumedModel(),
                     assumedErase(3) + assumedRecord(kHeader) + assumedRecord(kData),
                     assumedAck(0) + assumedAck(0) + assumedAck(0)},
        ExchangeCase{"SilentAnswersNothing",
                     withFaults({kSilent}),
                     Bytes{0xFE} + kSearch + kIdentify + erase(3),
                     {}},
        ExchangeCase{"NoEraseAnswersNoErase", withFaults({kNoErase}), erase(3) + kHandshake,
                     ack(0)},
        ExchangeCase{"OwnChannelAnswersWithIt", onChannel(2), frame(0x02, {0x1B}), ack(0, 0x02)},
        ExchangeCase{"AllChannelsReachEveryDevice", onChannel(15), kHandshake, ack(0, 0x0F)},
        ExchangeCase{"OtherChannelIsIgnored", onChannel(2), frame(0x03, {0x1B}), {}},
        ExchangeCase{
            "AnyChannelDeviceAnswersOnTheFramesChannel", {}, frame(0x05, {0x1B}), ack(0, 0x05)},
        ExchangeCase{
            "OtherMakerIsIgnored", {}, Bytes{0xF0, 0x00, 0x3C, 0x52, 0x7F, 0x1B, 0xF7}, {}},
        ExchangeCase{
            "FrameCutShortIsDropped", {}, Bytes{0xF0, 0x00, 0x3C, 0xF0} + kHandshake, ack(0)},
        ExchangeCase{"RealTimeBytesInsideAFrameAreSkipped",
                     {},
                     Bytes{0xF0, 0x00, 0x3C, 0xF8, 0x51, 0x7F, 0x1B, 0xF7},
                     ack(0)},
        ExchangeCase{"UnknownSectorIsRefused", {}, erase(11), ack(0x02)},
        ExchangeCase{"HeaderIsAccepted", {}, record(kHeader), ack(0)},
        ExchangeCase{"BadChecksum", {}, record("S00600004844521C"), ack(0x03)},
        ExchangeCase{"NotHexDigits", {}, record("S00600004844521G"), ack(0x03)},
        ExchangeCase{"RecordShorterThanItsCount", {}, record("S00600004844"), ack(0x02)},
        ExchangeCase{"RecordWithALineEnd", {}, record(kHeader + "\r"), ack(0x02)},
        ExchangeCase{"TypeThreeIsNotKnown", {}, record("S30500000000FA"), ack(0x02)},
        ExchangeCase{"RecordCountWithAnyChecksum", {}, record("S5030004FF"), ack(0)},
        ExchangeCase{
            "EndRecords", {}, record("S9030000FC") + record("S804000000FB"), ack(0) + ack(0)},
        ExchangeCase{"BeyondTheFlash", {}, record("S20607FFFF0102F1"), ack(0x04)},
        ExchangeCase{"OverlongFrame", {}, record("S0" + std::string(600, '0')), ack(0x02)},
        ExchangeCase{"GarbageBeforeEveryFrame", withFaults({Fault{FaultKind::Garbage}}),
                     kIdentify + Bytes{0xFE},
                     kNoise + frame(0x7F, {0x06, 0x02, 0x02, 71}) + kNoise +
                         frame(0x7F, {0x06, 0x03, 0x01, 0x14}) + Bytes{0xFE}},
        ExchangeCase{"OverlongAnswerToItsRecordOnlyOnce", withFaults({Fault::overlongAt(2)}),
                     erase(3) + record(kHeader) + record(kData) + record(kData),
                     ack(0) + ack(0) + kOverlongAck + ack(0)},
        ExchangeCase{"OverlongAnswerStillReportsARefusal", withFaults({Fault::overlongAt(1)}),
                     record("S00600004844521C"), frame(0x7F, Bytes{0x19, 0x03} + Bytes(100, 0x00))},
        ExchangeCase{"HeaderAfterProgrammingIsSkipped",
                     {},
                     erase(3) + record(kHeader) + record(kData) + record(kHeader),
                     ack(0) + ack(0) + ack(0) + ack(0x05)}),
    [](const auto& info) { return info.param.name; });

std::vector<std::uint8_t> flashAt(const DeviceModel& device, std::uint32_t address,
                                  std::size_t length) {
    const auto flash = device.flash();
    return {flash.begin() + address, flash.begin() + address + length};
}

TEST(DeviceFlash, ProgramsOnlyOneToZeroChanges) {
    DeviceModel device;
    EXPECT_EQ(flashAt(device, 0x8000, 2), (Bytes{0xFF, 0xFF}));
    EXPECT_EQ(send(device, erase(3) + record(kHeader) + record(kData)), ack(0) + ack(0) + ack(0));
    EXPECT_EQ(flashAt(device, 0x8000, 3), (Bytes{0x01, 0x02, 0xFF}));
    // The same bytes again change nothing and pass; 01 over 02 needs an erased bit.
    EXPECT_EQ(send(device, record(kData)), ack(0));
    EXPECT_EQ(send(device, record("S1058000020177")), ack(0x04));
    EXPECT_EQ(flashAt(device, 0x8000, 2), (Bytes{0x01, 0x02}));

    EXPECT_EQ(send(device, erase(3)), ack(0));
    EXPECT_EQ(flashAt(device, 0x8000, 2), (Bytes{0xFF, 0xFF}));
    EXPECT_EQ(send(device, record(kHeader) + record("S1058000020177")), ack(0) + ack(0));
    EXPECT_EQ(flashAt(device, 0x8000, 2), (Bytes{0x02, 0x01}));
}

// An S2 record of one 00 byte at address.
std::string zeroAt(std::uint32_t address) {
    const auto high = static_cast<std::uint8_t>(address >> 16);
    const auto middle = static_cast<std::uint8_t>(address >> 8);
    const auto low = static_cast<std::uint8_t>(address);
    const auto checksum = static_cast<std::uint8_t>(~(0x05 + high + middle + low));
    char line[32];
    std::snprintf(line, sizeof line, "S205%02X%02X%02X00%02X", high, middle, low, checksum);
    return line;
}

TEST(DeviceFlash, EraseClearsExactlyItsSector) {
    struct Case {
        const char* name;
        std::uint8_t sector;
        std::uint32_t first;
        std::uint32_t end;
    };
    for (const Case& c : {Case{"Boot", 0, 0x00000, 0x04000}, Case{"Small", 2, 0x06000, 0x08000},
                          Case{"Large", 4, 0x10000, 0x20000}, Case{"Last", 10, 0x70000, 0x80000}}) {
        SCOPED_TRACE(c.name);
        DeviceModel device;
        std::vector<std::uint32_t> inside{c.first, c.end - 1};
        std::vector<std::uint32_t> outside;
        if (c.first > 0) {
            outside.push_back(c.first - 1);
        }
        if (c.end < kFlashSize) {
            outside.push_back(c.end);
        }
        for (const auto& addresses : {inside, outside}) {
            for (const std::uint32_t address : addresses) {
                ASSERT_EQ(send(device, record(zeroAt(address))), ack(0));
            }
        }
        ASSERT_EQ(send(device, erase(c.sector)), ack(0));
        for (const std::uint32_t address : inside) {
            EXPECT_EQ(flashAt(device, address, 1), Bytes{0xFF});
        }
        for (const std::uint32_t address : outside) {
            EXPECT_EQ(flashAt(device, address, 1), Bytes{0x00});
        }
        EXPECT_EQ(std::count(device.flash().begin(), device.flash().end(), 0x00),
                  static_cast<long>(outside.size()));
    }
}

TEST(DeviceFaults, RecordFaultsHitTheirRecordOnly) {
    struct Case {
        std::string name;
        std::vector<Fault> faults;
        Bytes answered;
    };
    // Header (record 1), data (record 2), end (record 3); a faulted record programs nothing.
    const Bytes transfer = erase(3) + record(kHeader) + record(kData) + record("S9030000FC");
    for (const Case& c : {
             Case{"StatusOnceThenTheNextRecordPasses",
                  {Fault::statusAt(2, 0x04)},
                  ack(0) + ack(0) + ack(4) + ack(0)},
             Case{"RestartNumbersTheEndRecordOne",
                  {Fault::restartAt(2)},
                  ack(0) + ack(0) + ack(1) + ack(0)},
             Case{"Skip", {Fault::skipAt(2)}, ack(0) + ack(0) + ack(5) + ack(0)},
             Case{"DropAnswersNothingMore", {Fault::dropAt(2)}, ack(0) + ack(0)},
             Case{"OtherRecordNumber",
                  {Fault::statusAt(7, 0x04)},
                  ack(0) + ack(0) + ack(0) + ack(0)},
         }) {
        SCOPED_TRACE(c.name);
        DeviceModel device(withFaults(c.faults));
        EXPECT_EQ(send(device, transfer), c.answered);
        EXPECT_EQ(device.lineDropped(), c.faults.front().kind == FaultKind::Drop);
        const bool faulted = c.faults.front().record == 2;
        EXPECT_EQ(flashAt(device, 0x8000, 1),
                  Bytes{faulted ? std::uint8_t{0xFF} : std::uint8_t{0x01}});
    }
}

TEST(DeviceFaults, RetriesAndRestartsRenumberAsTheLoaderResends) {
    DeviceModel device(withFaults({Fault::statusAt(2, 0x03, 2), Fault::restartAt(3)}));
    // Record 2 fails twice and passes on the third try; record 3 asks for the file again, after
    // which the header is record 1 once more and is accepted, not skipped.
    EXPECT_EQ(send(device, erase(3) + record(kHeader) + record(kData) + record(kData) +
                               record(kData) + record("S9030000FC")),
              ack(0) + ack(0) + ack(3) + ack(3) + ack(0) + ack(1));
    EXPECT_EQ(send(device, record(kHeader) + record(kData) + record("S9030000FC")),
              ack(0) + ack(0) + ack(0));
    EXPECT_EQ(device.loadsCompleted(), 1);
    EXPECT_EQ(flashAt(device, 0x8000, 2), (Bytes{0x01, 0x02}));
}

TEST(DeviceModel, KeepsEveryFrameAndLoneByteItReceivedWhenAsked) {
    for (const bool keeps : {true, false}) {
        SCOPED_TRACE(keeps);
        DeviceConfig config = onChannel(4);
        config.keepsReceived = keeps;
        DeviceModel device(config);
        send(device, Bytes{0xFE, 0x42} + frame(0x09, {0x1B}) + kHandshake);
        const std::vector<Bytes> everything{{0xFE}, {0x42}, frame(0x09, {0x1B}), kHandshake};
        EXPECT_EQ(device.received(), keeps ? everything : std::vector<Bytes>{});
    }
}

TEST(DeviceModel, ExplainsWhatItRefusesOrIgnores) {
    struct Case {
        const char* name;
        Bytes sent;
        const char* explanation;
    };
    for (const Case& c : {
             Case{"BadChecksum", record("S00600004844521C"),
                  "refused record with a bad checksum: S00600004844521C"},
             Case{"OtherMaker",
                  {0xF0, 0x00, 0x3C, 0x52, 0x7F, 0x1B, 0xF7},
                  "ignored a frame of another maker"},
             Case{"OtherChannel", frame(0x03, {0x1B}), "ignored a frame for channel 03"},
             Case{"StrayByte", {0x42}, "ignored byte 42 outside a frame"},
             Case{"UnerasedFlash", record("S1058000010277") + record("S1058000020177"),
                  "refused to program over unerased flash: S1058000020177"},
         }) {
        SCOPED_TRACE(c.name);
        DeviceModel device(onChannel(1));
        std::vector<std::string> lines;
        device.setLogger([&lines](std::string_view line) { lines.emplace_back(line); });
        send(device, c.sent);
        EXPECT_EQ(lines, std::vector<std::string>{c.explanation});
    }
}

TEST(DeviceModel, ClosingTheLineForgetsAFrameCutShort) {
    DeviceModel device;
    send(device, Bytes{0xF0, 0x00, 0x3C, 0x51, 0x7F});
    device.lineClosed();
    EXPECT_EQ(send(device, Bytes{0x1B, 0xF7} + kHandshake), ack(0));
}

} // namespace
} // namespace quarvel
