// A byte stream from the loader into the stand-in device's model.
//
// Input: two bytes that set up the device (model, channel, garbage, an overlong answer, one more
// scripted fault), then the stream.
#include "fuzz/fuzz_check.h"
#include "sim/device_model.h"
#include "sim/flash_layout.h"

#include <algorithm>

namespace {

using namespace quarvel;

constexpr std::uint8_t kGarbageBit = 0x40;
constexpr std::uint8_t kOverlongBit = 0x80;
constexpr std::size_t kLongestAnswerFrame = 16;
// An overlong answer carries 100 data bytes more than the longer, nine-byte acknowledgement.
constexpr std::size_t kLongestOverlongFrame = 9 + 100;

// What the answers of a device set up so may look like.
struct AnswerShape {
    bool noisy = false;
    std::size_t longestFrame = kLongestAnswerFrame;
};

DeviceConfig configOf(std::uint8_t setup, std::uint8_t fault) {
    DeviceConfig config;
    config.answersIdentify = (setup & 0x01) == 0;
    const int channel = (setup >> 1) & 0x1F;
    if (channel < 16) {
        config.channel = static_cast<std::uint8_t>(channel);
    }
    const int record = 1 + (fault >> 3);
    if ((setup & kGarbageBit) != 0) {
        config.faults.push_back({FaultKind::Garbage});
    }
    if ((setup & kOverlongBit) != 0) {
        config.faults.push_back(Fault::overlongAt(record));
    }
    switch (fault & 0x07) {
    case 1:
        config.faults.push_back({FaultKind::NoIdentify});
        break;
    case 2:
        config.faults.push_back({FaultKind::Silent});
        break;
    case 3:
        config.faults.push_back({FaultKind::NoErase});
        break;
    case 4:
        config.faults.push_back(Fault::restartAt(record));
        break;
    case 5:
        config.faults.push_back(Fault::skipAt(record));
        break;
    case 6:
        config.faults.push_back(Fault::dropAt(record));
        break;
    case 7:
        config.faults.push_back(Fault::statusAt(record, 0x03, 2));
        break;
    default:
        break;
    }
    return config;
}

// What the device sends is the probe echo alone, or whole frames of data bytes, with noise
// before them only when the device is set up to be noisy.
void checkAnswer(const std::vector<std::uint8_t>& answer, AnswerShape shape) {
    if (answer.empty() || (answer.size() == 1 && answer[0] == 0xFE)) {
        return;
    }
    bool inFrame = false;
    std::size_t frameLength = 0;
    for (const std::uint8_t byte : answer) {
        if (!inFrame) {
            FUZZ_CHECK(byte == 0xF0 || shape.noisy);
            inFrame = byte == 0xF0;
            frameLength = 1;
            continue;
        }
        ++frameLength;
        FUZZ_CHECK(frameLength <= shape.longestFrame);
        if (byte == 0xF7) {
            inFrame = false;
        } else {
            FUZZ_CHECK(byte < 0x80);
        }
    }
    FUZZ_CHECK(!inFrame && answer.back() == 0xF7);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    DeviceModel device(configOf(data[0], data[1]));
    const AnswerShape shape{(data[0] & kGarbageBit) != 0, (data[0] & kOverlongBit) != 0
                                                              ? kLongestOverlongFrame
                                                              : kLongestAnswerFrame};
    for (std::size_t i = 2; i < size; ++i) {
        const bool droppedBefore = device.lineDropped();
        const std::vector<std::uint8_t> answer = device.receive(data[i]);
        checkAnswer(answer, shape);
        FUZZ_CHECK(!droppedBefore || answer.empty());
        // A closed and reopened line starts on a fresh frame.
        if (data[i] == 0xFD && (i & 1) != 0) {
            device.lineClosed();
        }
    }
    FUZZ_CHECK(device.flash().size() == kFlashSize);
    return 0;
}
