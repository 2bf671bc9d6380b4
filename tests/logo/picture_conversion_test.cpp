#include "giflib_picture.h"
#include "logo/gif_reader.h"
#include "logo_file_oracle.h"
#include "temp_dir.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <gif_lib.h>
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
    test::TempDir dir;
    for (const std::string& name : names) {
        const std::string gif = (kPictures / name).string();
        const GiflibPicture picture = decodeWithGiflib(gif);
        const std::string output = dir.path(name + ".s21");
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
    test::TempDir dir;
    std::vector<test::Bytes> files;
    for (const std::string& name : variants) {
        ASSERT_EQ(convertGifToLogo((kPictures / name).string(), dir.path(name)), 0) << name;
        files.push_back(test::readFileBytes(dir.path(name)));
    }
    EXPECT_EQ(files[1], files[0]);
    EXPECT_EQ(files[2], files[0]);
}

GifFileType* openGiflibWriter(const std::string& path, int width, int height, int colourBits) {
    int error = 0;
    GifFileType* gif = EGifOpenFileName(path.c_str(), false, &error);
    if (gif == nullptr) {
        return nullptr;
    }
    std::vector<GifColorType> colours(std::size_t{1} << colourBits, GifColorType{0, 0, 0});
    colours[1] = GifColorType{255, 255, 255};
    ColorMapObject* map = GifMakeMapObject(1 << colourBits, colours.data());
    EGifPutScreenDesc(gif, width, height, colourBits, 0, map);
    GifFreeMapObject(map);
    return gif;
}

// Pictures only giflib's encoder writes as wanted: every pixel lit, and the far corner alone.
TEST(PictureConversion, LogoCornersAndFullRasterFromGiflibPictures) {
    struct Case {
        const char* name;
        int colourBits;
        std::uint8_t (*pixelOf)(int x, int y);
        bool interlaced;
    };
    const Case cases[] = {
        {"every pixel lit", 1, [](int, int) -> std::uint8_t { return 1; }, false},
        {"every pixel lit, interlaced", 4, [](int x, int) -> std::uint8_t { return 1 + x % 15; },
         true},
        {"only column 127 row 55", 8,
         [](int x, int y) -> std::uint8_t { return x == 127 && y == 55 ? 200 : 0; }, false},
        {"only row 8 column 0", 2,
         [](int x, int y) -> std::uint8_t { return x == 0 && y == 8 ? 3 : 0; }, true},
    };
    test::TempDir dir;
    for (const Case& c : cases) {
        const std::string gif = dir.path("giflib.gif");
        GifFileType* writer = openGiflibWriter(gif, 128, 56, c.colourBits);
        ASSERT_NE(writer, nullptr) << c.name;
        EGifPutImageDesc(writer, 0, 0, 128, 56, c.interlaced, nullptr);
        std::vector<GifPixelType> row(128);
        for (int pass = 0; pass < (c.interlaced ? 4 : 1); ++pass) {
            const int first = c.interlaced ? std::array{0, 4, 2, 1}[pass] : 0;
            const int step = c.interlaced ? std::array{8, 8, 4, 2}[pass] : 1;
            for (int y = first; y < 56; y += step) {
                for (int x = 0; x < 128; ++x) {
                    row[static_cast<std::size_t>(x)] = c.pixelOf(x, y);
                }
                EGifPutLine(writer, row.data(), 128);
            }
        }
        int error = 0;
        ASSERT_EQ(EGifCloseFile(writer, &error), GIF_OK) << c.name;

        LogoConversionReport report;
        ASSERT_EQ(convertGifToLogo(gif, dir.path("Temp.s21"), {}, report), 0) << c.name;
        EXPECT_EQ(test::readCrLfLines(dir.path("Temp.s21")),
                  test::expectedLogoFile(test::rasterFromRows(decodeWithGiflib(gif).rows)))
            << c.name;
        for (int y = 0; y < 56; ++y) {
            for (int x = 0; x < 128; ++x) {
                ASSERT_EQ(test::rasterPixel(report.raster, x, y), c.pixelOf(x, y) != 0)
                    << c.name << " at " << x << "," << y;
            }
        }
    }
}

TEST(PictureConversion, TruncatedPicturesFailAndLeaveNoFile) {
    const test::Bytes whole =
        test::readFileBytes((kPictures / "two_images_interlaced.gif").string());
    ASSERT_FALSE(whole.empty());
    test::TempDir dir;
    for (std::size_t length = 0; length < whole.size(); length += 7) {
        const std::string gif =
            dir.write("cut.gif", test::Bytes(whole.begin(),
                                             whole.begin() + static_cast<std::ptrdiff_t>(length)));
        EXPECT_EQ(convertGifToLogo(gif, dir.path("Temp.s21")), -1) << "cut to " << length;
        EXPECT_EQ(dir.fileNames(), std::vector<std::string>{"cut.gif"}) << "cut to " << length;
    }
}

} // namespace
} // namespace quarvel
