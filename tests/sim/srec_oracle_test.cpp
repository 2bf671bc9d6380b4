#include "link/command_set.h"
#include "link/serial_port.h"
#include "sim/sim_link.h"
#include "tests/support/temporary_folder.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace quarvel {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

// Records that srec_cat writes for data at address, one per line.
std::vector<std::string> srecCatRecords(const Bytes& data, std::uint32_t address, int addressLength,
                                        const fs::path& folder) {
    const fs::path binary = folder / "data.bin";
    const fs::path records = folder / "data.srec";
    std::ofstream(binary, std::ios::binary)
        .write(reinterpret_cast<const char*>(data.data()), static_cast<long>(data.size()));
    const std::string command = std::string(SREC_CAT_PATH) + " " + binary.string() +
                                " -binary -offset " + std::to_string(address) + " -o " +
                                records.string() +
                                " -motorola -address-length=" + std::to_string(addressLength) +
                                " -obs=32 -execution-start-address=0";
    if (std::system(command.c_str()) != 0) {
        return {};
    }
    std::vector<std::string> lines;
    std::ifstream in(records);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(line);
    }
    return lines;
}

// The device programs exactly what an independent S-record writer encoded.
TEST(DeviceAgainstSrecCat, ProgramsWhatTheRecordsSay) {
    struct Case {
        std::string name;
        std::uint32_t address;
        std::size_t length;
        int addressLength;
        int sector;
        bool assumedModel;
    };
    const test::TemporaryFolder temporary;
    const fs::path& folder = temporary.path();
    std::mt19937 random(271);
    for (const Case& c : {
             Case{"SixteenBitAddresses", 0x8000, 3000, 2, 3, false},
             Case{"TwentyFourBitAddresses", 0x70000, 4096, 3, 10, false},
             Case{"AssumedModelFrames", 0x20010, 777, 3, 5, true},
         }) {
        SCOPED_TRACE(c.name);
        Bytes data(c.length);
        for (std::uint8_t& byte : data) {
            byte = static_cast<std::uint8_t>(random());
        }
        const std::vector<std::string> lines =
            srecCatRecords(data, c.address, c.addressLength, folder);
        ASSERT_GT(lines.size(), 2u);

        DeviceModel device;
        SimLink link(device);
        SerialPort port(link.opener());
        ASSERT_EQ(port.open(SerialSettings{}, 100, 100), 0);
        CommandSet commands;
        commands.reset(kAllChannels);
        if (c.assumedModel) {
            commands.switchToAssumedModel();
        }
        std::array<std::uint8_t, 32> reply{};
        port.write(commands.eraseFrame(c.sector));
        ASSERT_EQ(port.readReply(reply, 20), ReplyComplete);
        ASSERT_EQ(commands.replyStatus(reply), StatusAccepted);
        for (const std::string& line : lines) {
            port.write(commands.recordFrameHead());
            port.write(std::span(reinterpret_cast<const std::uint8_t*>(line.data()), line.size()));
            port.writeByte(kEndOfExclusive);
            ASSERT_EQ(port.readReply(reply, 2), ReplyComplete) << line;
            ASSERT_EQ(commands.replyStatus(reply), StatusAccepted) << line;
        }
        const auto flash = device.flash();
        EXPECT_EQ(Bytes(flash.begin() + c.address, flash.begin() + c.address + c.length), data);
        EXPECT_EQ(flash[c.address - 1], 0xFF);
        EXPECT_EQ(flash[c.address + c.length], 0xFF);
        EXPECT_EQ(device.loadsCompleted(), 1);
    }
}

} // namespace
} // namespace quarvel
