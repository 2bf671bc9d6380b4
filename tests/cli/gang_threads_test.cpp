#include "cli/gang_threads.h"

#include <gtest/gtest.h>
#include <map>
#include <mutex>
#include <ostream>
#include <stdexcept>

namespace quarvel {
namespace {

// A piece of work that ends in an exception, and the reason told for it.
struct ThrowCase {
    const char* name;
    void (*fail)();
    std::string why;
};

void PrintTo(const ThrowCase& c, std::ostream* out) {
    *out << c.name;
}

class PiecesAtOnce : public testing::TestWithParam<ThrowCase> {};

TEST_P(PiecesAtOnce, OneThatThrowsIsToldAndTheOthersRunOn) {
    std::mutex lock;
    std::map<std::size_t, std::string> failures;
    std::vector<char> ran(3, 0);
    const std::vector<std::function<void()>> work{[&] { ran[0] = 1; }, [&] { GetParam().fail(); },
                                                  [&] { ran[2] = 1; }};

    runAtOnce(work, [&](std::size_t piece, const std::string& why) {
        const std::lock_guard guard(lock);
        failures[piece] = why;
    });

    EXPECT_EQ(ran, (std::vector<char>{1, 0, 1}));
    EXPECT_EQ(failures, (std::map<std::size_t, std::string>{{1, GetParam().why}}));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PiecesAtOnce,
    testing::Values(ThrowCase{"StandardException", [] { throw std::runtime_error("line lost"); },
                              "line lost"},
                    ThrowCase{"AnythingElse", [] { throw 7; }, "an unknown exception"}),
    [](const testing::TestParamInfo<ThrowCase>& info) { return info.param.name; });

} // namespace
} // namespace quarvel
