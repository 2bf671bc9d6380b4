#include "logo/builtin_logo_records.h"
#include "logo_file_oracle.h"

#include <gtest/gtest.h>
#include <string>

namespace quarvel {
namespace {

const std::string kPicture = std::string(QUARVEL_SOURCE_DIR) + "/src/logo/builtin_logo.pbm";

TEST(BuiltinLogo, PreambleCarriesTheSourcePicture) {
    const test::PixelRows picture = test::readPlainPbm(kPicture);
    ASSERT_EQ(picture.size(), 56U);
    for (const auto& row : picture) {
        ASSERT_EQ(row.size(), 128U);
    }
    const std::vector<std::string> records =
        test::rasterRecords(0x6010, test::rasterFromRows(picture));
    ASSERT_EQ(kLogoPreamble.size(), 58U);
    EXPECT_EQ(kLogoPreamble[0], "S00600004844521B");
    EXPECT_EQ(kLogoPreamble[1], "S11360006C6F676F0639000000000000000000009C");
    for (std::size_t n = 0; n < records.size(); ++n) {
        EXPECT_EQ(kLogoPreamble[n + 2], records[n]) << "raster record " << n;
    }
}

TEST(BuiltinLogo, IsARealPicture) {
    const test::PixelRows picture = test::readPlainPbm(kPicture);
    std::size_t lit = 0;
    for (const auto& row : picture) {
        for (const std::uint8_t pixel : row) {
            lit += pixel;
        }
    }
    EXPECT_GT(lit, 128U * 56U / 10) << "hardly anything to see";
    EXPECT_LT(lit, 128U * 56U * 9 / 10) << "hardly anything dark";
}

} // namespace
} // namespace quarvel
