#include "job_fixture.h"
#include "program_files.h"
#include "sim/device_model.h"
#include "sim/sim_link.h"

#include <gtest/gtest.h>
#include <ostream>

namespace quarvel::test {
namespace {

// Each way a load ends in failure, and the reason it gives beside its lines.
struct FailureCase {
    const char* name;
    std::filesystem::path (*file)();
    std::vector<Fault> faults;
    bool portOpens;
    LoadFailure reason;
};

void PrintTo(const FailureCase& c, std::ostream* out) {
    *out << c.name;
}

std::filesystem::path small() {
    return programs().small;
}
std::filesystem::path boot() {
    return programs().boot;
}
std::filesystem::path missing() {
    return testFolder() / "no-such-file.a21";
}
std::filesystem::path headerless() {
    return writeLines(testFolder(), "reason-headerless", {"S1041234AB0A", "S9030000FC"});
}
std::filesystem::path noData() {
    return writeLines(testFolder(), "reason-no-data", {"S00600004844521B", "S9030000FC"});
}

class LoadFailureReason : public testing::TestWithParam<FailureCase> {};

TEST_P(LoadFailureReason, NamesTheCauseOnce) {
    const FailureCase& c = GetParam();
    DeviceConfig config;
    config.faults = c.faults;
    DeviceModel device(config);
    SimLink link(device);
    LoadJob job(
        [&](const SerialSettings& settings) {
            return c.portOpens ? link.opener()(settings) : std::unique_ptr<ByteChannel>();
        },
        false);

    const LoadOutcome outcome = runLoad(job, c.file());

    EXPECT_EQ(outcome.result, StepFailed);
    EXPECT_EQ(outcome.failures, std::vector<LoadFailure>{c.reason});
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LoadFailureReason,
    testing::Values(
        FailureCase{"PortNotOpened", small, {}, false, LoadFailure::Port},
        FailureCase{"FileMissing", missing, {}, true, LoadFailure::File},
        FailureCase{"FileRefusedByTheScan", headerless, {}, true, LoadFailure::File},
        FailureCase{"FileWritesNoSector", noData, {}, true, LoadFailure::File},
        FailureCase{"BootSectorWithoutBootMode", boot, {}, true, LoadFailure::BootSector},
        FailureCase{"SilentDevice", small, {{FaultKind::Silent}}, true, LoadFailure::Device},
        FailureCase{"EraseUnanswered", small, {{FaultKind::NoErase}}, true, LoadFailure::Erase},
        FailureCase{"RecordRefusedUntilCancel",
                    small,
                    {Fault::statusAt(3, 0x02, 3)},
                    true,
                    LoadFailure::Transfer},
        FailureCase{
            "LineDroppedMidTransfer", small, {Fault::dropAt(3)}, true, LoadFailure::Transfer}),
    [](const testing::TestParamInfo<FailureCase>& info) { return info.param.name; });

TEST(LoadFailureReason, IsNotGivenForALoadThatCompletes) {
    DeviceModel device;
    SimLink link(device);
    LoadJob job(link.opener(), false);

    EXPECT_TRUE(runLoad(job, programs().small).failures.empty());
}

} // namespace
} // namespace quarvel::test
