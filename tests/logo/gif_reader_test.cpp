#include "gif_stream_builder.h"
#include "logo/gif_decoder.h"
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

using test::Bytes;
using test::GifStreamBuilder;
using test::PixelRows;

// Pixel values that show where each pixel came from.
int diagonal(int x, int y) {
    return (x + y) % 3;
}
int columnParity(int x, int) {
    return x % 2 == 0 ? 1 : 0;
}
int rowNumber(int, int y) {
    return y % 4;
}
int lit(int, int) {
    return 1;
}

PixelRows rowsOf(int width, int height, int (*pixelOf)(int, int)) {
    PixelRows rows;
    for (int y = 0; y < height; ++y) {
        rows.emplace_back();
        for (int x = 0; x < width; ++x) {
            rows.back().push_back(static_cast<std::uint8_t>(pixelOf(x, y)));
        }
    }
    return rows;
}

PixelRows stacked(PixelRows first, const PixelRows& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

// Image data holding the rows of a picture in interlaced order.
Bytes interlacedImage(int width, int height, int (*pixelOf)(int, int)) {
    std::vector<int> screenRow;
    for (const auto& [first, step] : {std::pair{0, 8}, {4, 8}, {2, 4}, {1, 2}}) {
        for (int y = first; y < height; y += step) {
            screenRow.push_back(y);
        }
    }
    return test::rootCodeImage(2, width, height, [&](int x, int arrival) {
        return pixelOf(x, screenRow[static_cast<std::size_t>(arrival)]);
    });
}

struct Converted {
    int answer;
    std::vector<std::string> lines;
    std::vector<std::string> diagnostics;
    LogoConversionReport report;
};

Converted convert(const Bytes& gif) {
    test::TemporaryFolder dir;
    Converted converted{};
    const std::string output = dir.file("Temp.s21");
    converted.answer = convertGifToLogo(
        dir.write("picture.gif", gif), output,
        [&converted](std::string_view text) { converted.diagnostics.emplace_back(text); },
        converted.report);
    converted.lines = test::readCrLfLines(output);
    return converted;
}

TEST(GifReader, ConvertsEveryBlockOfTheStream) {
    const Bytes image = test::rootCodeImage(2, 12, 5, diagonal);
    Bytes badCodeSize = {1};
    const Bytes trap = test::subBlocks({0x2C, 0x3B, 0x21, 0x2C, 0x3B});
    badCodeSize.insert(badCodeSize.end(), trap.begin(), trap.end());
    // Data after the end code, holding bytes that look like blocks.
    Bytes trailingData = test::rootCodeImage(2, 12, 5, diagonal);
    trailingData.pop_back();
    trailingData.insert(trailingData.end(), trap.begin(), trap.end());
    test::LzwCodePacker loop(3);
    for (const int code : {loop.clearCode(), 1, 11, 12, 11, 1, 1, 1, 1}) {
        loop.code(code);
    }
    Bytes damaged = loop.imageData();
    damaged.insert(damaged.end() - 1, trap.begin(), trap.end() - 1);

    // An image block of width x height whose data is given.
    const auto img = [](int width, int height, const Bytes& data, bool interlaced = false,
                        int localTableBits = 0) {
        return GifStreamBuilder().image(width, height, data, interlaced, localTableBits).bytes();
    };
    const Bytes plain = img(12, 5, image);
    const Bytes parity = img(7, 3, test::rootCodeImage(2, 7, 3, columnParity));
    const PixelRows plainRows = rowsOf(12, 5, diagonal);
    const PixelRows parityRows = rowsOf(7, 3, columnParity);

    struct Case {
        const char* name;
        std::string header;
        int globalTableBits;
        std::uint8_t screenLastByte;
        std::vector<Bytes> blocks; // between the screen descriptor and the trailer
        PixelRows rows;
        std::vector<std::string> diagnostics;
    };
    const Case cases[] = {
        {"version 87a with a global table", "GIF87a", 2, 0, {plain}, plainRows, {}},
        {"version 89a reads like 87a",
         "GIF89a",
         2,
         0,
         {plain},
         plainRows,
         {"unknown GIF version number"}},
        {"a file without the GIF signature is read all the same",
         "JPG87a",
         1,
         0,
         {plain},
         plainRows,
         {"file is not a GIF file"}},
        {"a pixel aspect byte in the screen descriptor",
         "GIF87a",
         2,
         49,
         {plain},
         plainRows,
         {"screen descriptor is invalid"}},
        {"no colour table at all",
         "GIF87a",
         0,
         0,
         {plain},
         plainRows,
         {"no colormap present for image"}},
        {"a local colour table", "GIF87a", 0, 0, {img(12, 5, image, false, 8)}, plainRows, {}},
        {"no image gives a blank logo", "GIF87a", 1, 0, {}, {}, {}},
        {"extensions and stray bytes are skipped whole",
         "GIF87a",
         2,
         0,
         {GifStreamBuilder().extension(0xFE, {0x2C, 0x3B, 0x21, 0x00, 0x2C}).bytes(),
          {0x00, 0x11, 0xFF},
          GifStreamBuilder().extension(0xF9, {0x04, 0x3B, 0, 0}).bytes(),
          plain,
          {0x00}},
         plainRows,
         {}},
        {"rows of a second image follow those of the first",
         "GIF87a",
         2,
         0,
         {plain, parity},
         stacked(plainRows, parityRows),
         {}},
        {"an interlaced image goes back into screen order",
         "GIF87a",
         2,
         0,
         {img(9, 21, interlacedImage(9, 21, rowNumber), true)},
         rowsOf(9, 21, rowNumber),
         {}},
        {"an interlaced image below a plain one",
         "GIF87a",
         2,
         0,
         {plain, img(10, 11, interlacedImage(10, 11, diagonal), true),
          img(3, 2, test::rootCodeImage(2, 3, 2, lit))},
         stacked(stacked(plainRows, rowsOf(10, 11, diagonal)), rowsOf(3, 2, lit)),
         {}},
        {"a bad code size skips the image's data whole",
         "GIF87a",
         2,
         0,
         {img(12, 5, badCodeSize), plain},
         plainRows,
         {"Bad Code Size"}},
        {"data after the end code is skipped whole",
         "GIF87a",
         2,
         0,
         {img(12, 5, trailingData), parity},
         stacked(plainRows, parityRows),
         {}},
        {"a looping string table ends the image, not the file",
         "GIF87a",
         3,
         0,
         {img(2, 4, damaged), plain},
         stacked({{1, 1}, {1, 0}, {0, 1}}, plainRows),
         {}},
        {"an image of width 0 gives no rows",
         "GIF87a",
         2,
         0,
         {img(0, 5, image), plain},
         plainRows,
         {}},
        {"a picture taller than the logo is cut",
         "GIF87a",
         2,
         0,
         {img(3, 60, test::rootCodeImage(2, 3, 60, lit))},
         rowsOf(3, 60, lit),
         {}},
        {"an interlaced picture taller than the logo is cut",
         "GIF87a",
         2,
         0,
         {img(5, 75, interlacedImage(5, 75, diagonal), true), plain},
         rowsOf(5, 75, diagonal),
         {}},
        {"a picture wider than the logo is cut",
         "GIF87a",
         2,
         0,
         {img(129, 2, test::rootCodeImage(2, 129, 2, columnParity))},
         rowsOf(129, 2, columnParity),
         {}},
    };
    for (const Case& c : cases) {
        GifStreamBuilder gif;
        gif.header(c.header).screen(12, 5, c.globalTableBits, c.screenLastByte);
        for (const Bytes& block : c.blocks) {
            gif.raw(block);
        }
        const Converted converted = convert(gif.trailer().bytes());
        EXPECT_EQ(converted.answer, 0) << c.name;
        const LogoRaster raster = test::rasterFromRows(c.rows);
        EXPECT_EQ(converted.lines, test::expectedLogoFile(raster)) << c.name;
        EXPECT_EQ(converted.report.raster, raster) << c.name;
        EXPECT_EQ(converted.diagnostics, c.diagnostics) << c.name;
        const bool clipped = c.rows.size() > 56 || (!c.rows.empty() && c.rows[0].size() > 128);
        EXPECT_EQ(converted.report.pictureClipped, clipped) << c.name;
        EXPECT_EQ(converted.report.failure, LogoConversionFailure::None) << c.name;
    }
}

const Bytes kGoodGif = GifStreamBuilder()
                           .header("GIF89a")
                           .screen(12, 5, 2)
                           .extension(0xFE, {'h', 'i'})
                           .image(12, 5, test::rootCodeImage(2, 12, 5, diagonal), false, 1)
                           .trailer()
                           .bytes();

TEST(GifReader, EveryTruncatedPictureFailsAndLeavesNoFile) {
    test::TemporaryFolder dir;
    const std::string output = dir.file("Temp.s21");
    for (std::size_t length = 0; length < kGoodGif.size(); ++length) {
        const std::string gif =
            dir.write("cut.gif", Bytes(kGoodGif.begin(),
                                       kGoodGif.begin() + static_cast<std::ptrdiff_t>(length)));
        LogoConversionReport report;
        EXPECT_EQ(convertGifToLogo(gif, output, {}, report), -1) << "cut to " << length;
        EXPECT_EQ(report.failure, LogoConversionFailure::GifEndedEarly) << "cut to " << length;
        EXPECT_EQ(dir.fileNames(), std::vector<std::string>{"cut.gif"}) << "cut to " << length;
    }
    EXPECT_EQ(convertGifToLogo(dir.write("whole.gif", kGoodGif), output), 0);
}

TEST(GifReader, FailedConversionLeavesAnExistingOutputAsItWas) {
    struct Case {
        const char* name;
        bool inputExists;
        Bytes gif;
        LogoConversionFailure failure;
        std::string diagnostic;
    };
    const Case cases[] = {
        {"picture missing", false, {}, LogoConversionFailure::GifNotOpened, ""},
        {"no trailer", true, Bytes(kGoodGif.begin(), kGoodGif.end() - 1),
         LogoConversionFailure::GifEndedEarly, "GIF file ends before its trailer"},
    };
    for (const Case& c : cases) {
        test::TemporaryFolder dir;
        const Bytes previous = {'o', 'l', 'd'};
        const std::string output = dir.write("Temp.s21", previous);
        const std::string gif = c.inputExists ? dir.write("p.gif", c.gif) : dir.file("p.gif");
        std::vector<std::string> diagnostics;
        LogoConversionReport report;
        const int answer = convertGifToLogo(
            gif, output, [&](std::string_view text) { diagnostics.emplace_back(text); }, report);
        EXPECT_EQ(answer, -1) << c.name;
        EXPECT_EQ(report.failure, c.failure) << c.name;
        EXPECT_EQ(test::fileBytes(output), previous) << c.name;
        EXPECT_EQ(dir.fileNames().size(), c.inputExists ? 2U : 1U)
            << c.name << ": no file left over";
        EXPECT_EQ(diagnostics.empty() ? "" : diagnostics.back(), c.diagnostic) << c.name;
    }
}

TEST(GifReader, OutputThatCannotBeCreatedFails) {
    test::TemporaryFolder dir;
    const std::string gif = dir.write("p.gif", kGoodGif);
    std::filesystem::create_directory(dir.file("folder"));
    for (const std::string& output : {dir.file("missing/Temp.s21"), dir.file("folder")}) {
        LogoConversionReport report;
        EXPECT_EQ(convertGifToLogo(gif, output, {}, report), -1) << output;
        EXPECT_EQ(report.failure, LogoConversionFailure::OutputNotCreated) << output;
        EXPECT_EQ(dir.fileNames(), (std::vector<std::string>{"folder", "p.gif"})) << output;
        EXPECT_TRUE(std::filesystem::is_directory(dir.file("folder"))) << output;
    }
}

TEST(GifReader, ConversionReplacesAnExistingOutputAndRepeatsExactly) {
    test::TemporaryFolder dir;
    const std::string output = dir.write("Temp.s21", Bytes(20000, 'x'));
    const std::string big =
        dir.write("big.gif", GifStreamBuilder()
                                 .header()
                                 .screen(200, 70, 1)
                                 .image(200, 70, test::rootCodeImage(2, 200, 70, lit))
                                 .trailer()
                                 .bytes());
    const std::string good = dir.write("good.gif", kGoodGif);
    GifDecoder decoder;
    LogoConversionReport first;
    ASSERT_EQ(decoder.convertGifToLogo(good, output, first), 0);
    const Bytes firstFile = test::fileBytes(output);
    LogoConversionReport other;
    ASSERT_EQ(decoder.convertGifToLogo(big, output, other), 0);
    EXPECT_TRUE(other.pictureClipped);
    LogoConversionReport again;
    ASSERT_EQ(decoder.convertGifToLogo(good, output, again), 0);
    EXPECT_EQ(test::fileBytes(output), firstFile) << "nothing of the previous picture stays";
    EXPECT_FALSE(again.pictureClipped);
    EXPECT_EQ(firstFile.size(), 16 + 114 * 42 + 12 + 116 * 2U) << "116 lines ending in CR LF";
}

} // namespace
} // namespace quarvel
