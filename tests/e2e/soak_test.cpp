// 200 loads in a row into the in-process device on virtual time, each with a fault drawn from a
// fixed seed. Every load must end as its fault calls for, and the process must not gather open
// files or memory as the loads go by.
#include "job/load_job.h"
#include "load_messages.h"
#include "process_usage.h"
#include "sim/sim_link.h"
#include "tests/support/file_contents.h"

#include <cstdio>
#include <deque>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <random>

namespace quarvel::endurance {
namespace {

#if defined(__SANITIZE_ADDRESS__)
// AddressSanitizer keeps freed memory in quarantine, so resident memory says nothing there.
constexpr bool kMemoryIsMeaningful = false;
#else
constexpr bool kMemoryIsMeaningful = true;
#endif

constexpr int kLoads = 200;
constexpr int kWarmUpLoads = 20;
constexpr std::int64_t kMostGrowthKiB = 1024;
constexpr std::uint32_t kSeed = 271;
constexpr int kEveryChannel = 0x7F;

struct Program {
    std::string file;
    std::vector<std::uint8_t> image;
    // Records as the device counts them: the header is 1, the end record the last.
    int records = 0;
    // Whether each line ends in CR LF, so that the percentage ends at exactly 100.
    bool crlf = false;
};

// What one load meets and how it must end.
struct Drawn {
    std::string kind;
    DeviceConfig device;
    int loaderChannel = kEveryChannel;
    std::vector<bool> retryAnswers;
    Messages expected;
    bool completes = true;
};

class Recorder final : public LoadReporter {
public:
    explicit Recorder(std::vector<bool> answers) : m_answers(answers.begin(), answers.end()) {}

    void addMessage(std::string_view text) override { messages.emplace_back(text); }
    void setPercentage(int percent) override { lastPercentage = percent; }
    bool askRetry() override {
        if (m_answers.empty()) {
            return false;
        }
        const bool answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    }

    Messages messages;
    int lastPercentage = 0;

private:
    std::deque<bool> m_answers;
};

Drawn named(std::string kind) {
    Drawn drawn;
    drawn.kind = std::move(kind);
    return drawn;
}

Drawn completing(std::string kind, std::vector<Fault> faults, Messages lines) {
    Drawn drawn = named(std::move(kind));
    drawn.device.faults = std::move(faults);
    drawn.expected = identifiedStart() + lines + Messages{kComplete};
    return drawn;
}

Drawn draw(std::mt19937& random, const Program& program) {
    // A data record, neither the header nor the end record.
    const int record = 2 + static_cast<int>(random() % static_cast<unsigned>(program.records - 2));
    const int status = 2 + static_cast<int>(random() % 3);
    switch (random() % 14) {
    case 0:
        return completing("none", {}, {});
    case 1: {
        Drawn drawn = completing("line drops", {Fault::dropAt(record)}, {});
        drawn.expected = identifiedStart() + Messages{kPortFailed, kLeaveDevice};
        drawn.completes = false;
        return drawn;
    }
    case 2: {
        Drawn drawn = named("no answer to an erase");
        drawn.device.faults = {Fault{FaultKind::NoErase}};
        drawn.expected =
            searchStart() + Messages{"Found Device 271, expecting 271", "Received Acknowledgement",
                                     "Erasing flash", kEraseNoResponse, kResetAndRunAgain};
        drawn.completes = false;
        return drawn;
    }
    case 3: {
        const int times = 1 + static_cast<int>(random() % 2);
        return completing("status, retried", {Fault::statusAt(record, status, times)},
                          Messages(times, statusRetry(status)));
    }
    case 4: {
        // Three failures bring the question; the answer decides.
        const bool tryAgain = random() % 2 == 0;
        Drawn drawn =
            completing(tryAgain ? "status, try again" : "status, cancel",
                       {Fault::statusAt(record, status, 3)}, Messages(3, statusRetry(status)));
        drawn.retryAnswers = {tryAgain};
        if (!tryAgain) {
            drawn.expected.pop_back();
            drawn.completes = false;
        }
        return drawn;
    }
    case 5: {
        const int restarts = 1 + static_cast<int>(random() % 3);
        return completing("repeated restarts", {Fault::statusAt(record, 0x01, restarts)}, {});
    }
    case 6:
        return completing("status 05 on the first record", {Fault::skipAt(1)}, {kSkipped});
    case 7:
        return completing("overlong reply", {Fault::overlongAt(record)}, {kBadMessageRetry});
    case 8:
        return completing("garbage between frames", {Fault{FaultKind::Garbage}}, {});
    case 9:
        return completing("byte by byte", {Fault::trickle(120)}, {});
    case 10: {
        Drawn drawn = named("device on another channel");
        drawn.device.channel = 5;
        drawn.loaderChannel = 2;
        drawn.expected =
            searchStart() + Messages{"Found Device (assuming KTV-271)", "Erasing flash",
                                     kEraseNoResponse, kResetAndRunAgain};
        drawn.completes = false;
        return drawn;
    }
    case 11: {
        Drawn drawn = named("no identify reply");
        drawn.device.faults = {Fault{FaultKind::NoIdentify}};
        drawn.expected = echoedStart() + Messages{kComplete};
        return drawn;
    }
    case 12: {
        Drawn drawn = named("silent device");
        drawn.device.faults = {Fault{FaultKind::Silent}};
        drawn.expected = searchStart() + Messages{kNotResponding};
        drawn.completes = false;
        return drawn;
    }
    default: {
        Drawn drawn = named("wrong type number");
        drawn.device.typeNumber = 322;
        drawn.expected =
            searchStart() + Messages{"Found Device 322, expecting 271",
                                     "The unit does not report the correct type number.",
                                     "Received Acknowledgement",
                                     "Erasing flash",
                                     "Flash Erased, sending new program",
                                     kComplete};
        return drawn;
    }
    }
}

void report(const char* moment, const ProcessUsage& usage) {
    std::printf("soak %s: %d open descriptors, VmRSS %lld KiB, VmHWM %lld KiB\n", moment,
                usage.openDescriptors, static_cast<long long>(usage.residentKiB),
                static_cast<long long>(usage.peakResidentKiB));
}

TEST(Soak, TwoHundredLoadsWithRandomFaultsEndAsTheirFaultsCallFor) {
    const std::vector<Program> programs{
        {QUARVEL_SOAK_DIR "/rows.a21", test::fileBytes(QUARVEL_SOAK_DIR "/rows.bin"), 35, true},
        {QUARVEL_SOAK_DIR "/spread.a21", test::fileBytes(QUARVEL_SOAK_DIR "/spread.bin"), 11,
         false},
    };
    for (const Program& program : programs) {
        ASSERT_EQ(program.image.size(), 0x80000u) << program.file;
    }

    // One job for every load, as in the desktop program; each load meets a device of its own.
    std::unique_ptr<SimLink> link;
    LoadJob job([&link](const SerialSettings& settings) { return link->opener()(settings); },
                false);
    std::mt19937 random(kSeed);
    std::map<std::string, std::pair<int, int>> tally;

    const ProcessUsage start = currentUsage();
    ProcessUsage warm;
    for (int load = 1; load <= kLoads; ++load) {
        const Program& program = programs[random() % programs.size()];
        const Drawn drawn = draw(random, program);
        SCOPED_TRACE("load " + std::to_string(load) + ": " + drawn.kind + " with " + program.file);

        DeviceModel device(drawn.device);
        link = std::make_unique<SimLink>(device);
        Recorder recorder(drawn.retryAnswers);
        job.reset();
        int result = StepAgain;
        while (result == StepAgain) {
            result = job.step(program.file, 1, drawn.loaderChannel, recorder);
        }
        job.cleanUp();

        EXPECT_EQ(result, drawn.completes ? StepDone : StepFailed);
        EXPECT_EQ(recorder.messages, drawn.expected);
        EXPECT_FALSE(job.holdsResources());
        if (result == StepDone) {
            EXPECT_TRUE(std::equal(device.flash().begin(), device.flash().end(),
                                   program.image.begin(), program.image.end()));
            if (program.crlf) {
                EXPECT_EQ(recorder.lastPercentage, 100);
            }
        }
        auto& [completed, failed] = tally[drawn.kind];
        ++(result == StepDone ? completed : failed);
        link.reset();
        if (load == kWarmUpLoads) {
            warm = currentUsage();
        }
    }
    const ProcessUsage end = currentUsage();

    for (const auto& [kind, counts] : tally) {
        std::printf("soak: %-32s %3d complete, %3d failed\n", kind.c_str(), counts.first,
                    counts.second);
    }
    report("start", start);
    report("after the warm-up", warm);
    report("end", end);
    EXPECT_EQ(end.openDescriptors, start.openDescriptors);
    if (kMemoryIsMeaningful) {
        EXPECT_LT(end.residentKiB - warm.residentKiB, kMostGrowthKiB);
    }
}

} // namespace
} // namespace quarvel::endurance
