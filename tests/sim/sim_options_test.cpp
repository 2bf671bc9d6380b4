#include "sim/sim_options.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace quarvel {
namespace {

SimOptionsResult parse(const std::vector<std::string_view>& arguments) {
    return parseSimOptions(arguments);
}

TEST(SimOptions, RefusesWhatItCannotServe) {
    struct Case {
        const char* name;
        std::vector<std::string_view> arguments;
        const char* error;
    };
    for (const Case& c : {
             Case{"UnknownOption", {"--bogus"}, "unknown option '--bogus'"},
             Case{"MissingValue", {"--type"}, "option '--type' needs a value"},
             Case{"ChannelZero", {"--channel", "0"}, "--channel takes all or 1 to 16"},
             Case{"ChannelSeventeen", {"--channel", "17"}, "--channel takes all or 1 to 16"},
             Case{"TypeTooLargeForTwoDataBytes",
                  {"--type", "12800"},
                  "--type takes a number from 0 to 12799"},
             Case{"TypeNotANumber", {"--type", "27x"}, "--type takes a number from 0 to 12799"},
             Case{"Model", {"--model", "old"}, "--model takes normal or assumed"},
             Case{"NegativeDelay",
                  {"--delay-ms", "-1"},
                  "--delay-ms takes a number from 0 to 60000"},
             Case{"Fault", {"--fault", "status:0:03"}, "unknown fault 'status:0:03'"},
         }) {
        SCOPED_TRACE(c.name);
        const SimOptionsResult result = parse(c.arguments);
        EXPECT_FALSE(result.options.has_value());
        EXPECT_EQ(result.error, c.error);
    }
}

TEST(SimOptions, FillsTheDeviceAndTheServer) {
    const SimOptionsResult result = parse(
        {"--link",       "/tmp/ktv", "--channel", "16",          "--type",    "322",
         "--model",      "assumed",  "--pace",    "--delay-ms",  "250",       "--fault",
         "no-erase",     "--fault",  "drop:9",    "--flash-out", "flash.bin", "--received-out",
         "received.bin", "--once",   "--verbose"});
    ASSERT_TRUE(result.options.has_value()) << result.error;
    const SimOptions& options = *result.options;
    EXPECT_EQ(options.linkPath, "/tmp/ktv");
    EXPECT_EQ(options.device.channel, std::optional<std::uint8_t>{15});
    EXPECT_EQ(options.device.typeNumber, 322);
    EXPECT_FALSE(options.device.answersIdentify);
    EXPECT_EQ(options.device.replyDelayMs, 250);
    ASSERT_EQ(options.device.faults.size(), 2u);
    EXPECT_EQ(options.device.faults[0].kind, FaultKind::NoErase);
    EXPECT_EQ(options.device.faults[1].kind, FaultKind::Drop);
    EXPECT_EQ(options.device.faults[1].record, 9);
    EXPECT_EQ(options.flashOutPath, "flash.bin");
    EXPECT_EQ(options.receivedOutPath, "received.bin");
    EXPECT_TRUE(options.paced && options.once && options.verbose);
    EXPECT_FALSE(options.help);
}

TEST(FaultText, ParsesEveryKindAndRefusesTheRest) {
    struct Case {
        const char* text;
        std::optional<Fault> fault;
    };
    const auto same = [](const Fault& a, const Fault& b) {
        return a.kind == b.kind && a.record == b.record && a.count == b.count &&
               a.status == b.status && a.pauseMs == b.pauseMs;
    };
    for (const Case& c : {
             Case{"no-identify", Fault{FaultKind::NoIdentify}},
             Case{"silent", Fault{FaultKind::Silent}},
             Case{"no-erase", Fault{FaultKind::NoErase}},
             Case{"status:12:03", Fault::statusAt(12, 0x03, 1)},
             Case{"status:12:7f:3", Fault::statusAt(12, 0x7F, 3)},
             Case{"restart:5", Fault::statusAt(5, 0x01, 1)},
             Case{"skip:2", Fault::statusAt(2, 0x05, 1)},
             Case{"drop:40", Fault::dropAt(40)},
             Case{"garbage", Fault{FaultKind::Garbage}},
             Case{"overlong:3", Fault::overlongAt(3)},
             Case{"trickle:120", Fault::trickle(120)},
             Case{"trickle:0", std::nullopt},
             Case{"trickle:2001", std::nullopt},
             Case{"overlong:0", std::nullopt},
             Case{"garbage:1", std::nullopt},
             Case{"status:12:80", std::nullopt},
             Case{"status:12:03:0", std::nullopt},
             Case{"status:12", std::nullopt},
             Case{"restart:0", std::nullopt},
             Case{"skip:-1", std::nullopt},
             Case{"drop:4:1", std::nullopt},
             Case{"drop:", std::nullopt},
             Case{"silent:1", std::nullopt},
             Case{"", std::nullopt},
         }) {
        SCOPED_TRACE(c.text);
        const std::optional<Fault> fault = parseFault(c.text);
        ASSERT_EQ(fault.has_value(), c.fault.has_value());
        if (fault) {
            EXPECT_TRUE(same(*fault, *c.fault));
        }
    }
}

} // namespace
} // namespace quarvel
