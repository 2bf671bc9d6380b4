#include "gif_stream_builder.h"
#include "giflib_picture.h"
#include "logo/gif_reader.h"
#include "logo_file_oracle.h"
#include "tests/support/file_contents.h"
#include "tests/support/temporary_folder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace quarvel {
namespace {

const std::filesystem::path kPictures = QUARVEL_PICTURE_DIR;

using test::decodeWithGiflib;
using test::GiflibPicture;

TEST(PictureConversion, WritesWhatGiflibSeesInEveryPicture) {
    const std::vector<std::string> names = test::gifPicturesIn(kPictures.string());
    ASSERT_GE(names.size(), 18U) << "pictures missing from " << kPictures;
    test::TemporaryFolder dir;
    for (const std::string& name : names) {
        const std::string gif = (kPictures / name).string();
        const GiflibPicture picture = decodeWithGiflib(gif);
        const std::string output = dir.file(name + ".s21");
        LogoConversionReport report;
        ASSERT_EQ(convertGifToLogo(gif, output, {}, report), 0) << name;

        const LogoRaster raster = test::rasterFromRows(picture.rows);
        const std::vector<std::string> expected = test::expectedLogoFile(raster);
        const std::vector<std::string> lines = test::readCrLfLines(output);
        ASSERT_EQ(lines.size(), 116U) << name;
        for (std::size_t n = 0; n < lines.size(); ++n) {
            EXPECT_EQ(lines[n], expected[n]) << name << " line " << n + 1;
        }
        EXPECT_EQ(report.raster, raster) << name;
        EXPECT_EQ(report.pictureClipped, picture.largerThanLogo) << name;
    }
}

TEST(PictureConversion, SamePictureGivesTheSameLogoHoweverItIsStored) {
    const std::vector<std::string> variants = {"logo_87a.gif", "logo_89a_extensions.gif",
                                               "logo_interlaced.gif"};
    test::TemporaryFolder dir;
    std::vector<test::Bytes> files;
    for (const std::string& name : variants) {
        ASSERT_EQ(convertGifToLogo((kPictures / name).string(), dir.file(name)), 0) << name;
        files.push_back(test::fileBytes(dir.file(name)));
    }
    EXPECT_EQ(files[1], files[0]);
    EXPECT_EQ(files[2], files[0]);
}

TEST(PictureConversion, RecordLinesThatShowWhereEveryBitGoes) {
    struct Case {
        const char* name;
        std::string picture;
        std::size_t lineNumber;
        std::string line;
    };
    const Case cases[] = {
        {"converted logo header", "one_pixel.gif", 59,
         "S11363906C6F676F067200000000000000000000D0"},
        {"a dark picture gives a blank raster", "one_pixel.gif", 60,
         "S11363A000000000000000000000000000000000E9"},
        {"one lit pixel", "one_lit_pixel.gif", 60, "S11363A001000000000000000000000000000000E8"},
        {"row 8 is bit 0 of band 1", "corners_128x56.gif", 68,
         "S11364200100000000000000000000000000000067"},
        {"column 127 row 55 is the last bit", "corners_128x56.gif", 115,
         "S113671000000000000000000000000000000080F5"},
        {"every pixel lit", "all_lit_128x56.gif", 115,
         "S1136710FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF85"},
        {"end record", "all_lit_128x56.gif", 116, "S804000000FB"},
    };
    test::TemporaryFolder dir;
    for (const Case& c : cases) {
        ASSERT_EQ(convertGifToLogo((kPictures / c.picture).string(), dir.file("Temp.s21")), 0)
            << c.name;
        const std::vector<std::string> lines = test::readCrLfLines(dir.file("Temp.s21"));
        ASSERT_EQ(lines.size(), 116U) << c.name;
        EXPECT_EQ(lines[c.lineNumber - 1], c.line) << c.name;
    }
}

} // namespace
} // namespace quarvel
