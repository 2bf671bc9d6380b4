#include "gif_stream_builder.h"
#include "giflib_picture.h"
#include "logo_file_oracle.h"
#include "tests/support/file_contents.h"
#include "tests/support/in_process_cli.h"
#include "tests/support/temporary_folder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace quarvel {
namespace {

using CliRun = test::Finished;
using test::runCliInProcess;

const std::string kPictures = QUARVEL_PICTURE_DIR;

std::string picture(const std::string& name) {
    return kPictures + "/" + name;
}

std::string previewOf(const LogoRaster& raster) {
    std::string text;
    for (int y = 0; y < 56; ++y) {
        for (int x = 0; x < 128; ++x) {
            text += test::rasterPixel(raster, x, y) ? '#' : '.';
        }
        text += '\n';
    }
    return text;
}

TEST(ConvertLogoCli, WritesWhatGiflibSeesInEveryPicture) {
    const std::vector<std::string> names = test::gifPicturesIn(kPictures);
    ASSERT_FALSE(names.empty());
    test::TemporaryFolder dir;
    for (const std::string& name : names) {
        const std::string output = dir.file(name + ".s21");
        const CliRun run = runCliInProcess({"convert-logo", picture(name), output});
        EXPECT_EQ(run.exitCode, 0) << name << ": " << run.err;
        const test::GiflibPicture expected = test::decodeWithGiflib(picture(name));
        EXPECT_EQ(test::readCrLfLines(output),
                  test::expectedLogoFile(test::rasterFromRows(expected.rows)))
            << name;
        const bool warned =
            run.err.find("only the top-left 128 x 56 pixels are used") != std::string::npos;
        EXPECT_EQ(warned, expected.largerThanLogo) << name << ": " << run.err;
    }
}

TEST(ConvertLogoCli, PreviewShowsTheLogoAsTheDeviceWill) {
    for (const std::string name : {"text_two_colours.gif", "two_images_interlaced.gif"}) {
        test::TemporaryFolder dir;
        const std::string output = dir.file("Temp.s21");
        const CliRun run = runCliInProcess({"convert-logo", "--preview", picture(name), output});
        EXPECT_EQ(run.exitCode, 0) << name;
        const LogoRaster raster = test::rasterFromRows(test::decodeWithGiflib(picture(name)).rows);
        EXPECT_EQ(run.out, picture(name) + ": logo written to " + output + "\n" + previewOf(raster))
            << name;
    }
}

TEST(ConvertLogoCli, AnswersWithExitCodeAndMessage) {
    test::TemporaryFolder dir;
    const test::Bytes whole = test::fileBytes(picture("logo_87a.gif"));
    const std::string truncated =
        dir.write("cut.gif", test::Bytes(whole.begin(), whole.begin() + 100));
    const std::string out = dir.file("Temp.s21");
    struct Case {
        const char* name;
        std::vector<std::string> args;
        int exitCode;
        std::string errorText; // empty: nothing on stderr
        bool written;
    };
    const Case cases[] = {
        {"quiet without --verbose", {picture("logo_89a_extensions.gif"), out}, 0, "", true},
        {"--verbose shows the diagnostics",
         {"--verbose", picture("logo_89a_extensions.gif"), out},
         0,
         picture("logo_89a_extensions.gif") +
             ": unknown GIF version number (the picture is read as usual)",
         true},
        {"options after the paths", {picture("logo_87a.gif"), out, "--verbose"}, 0, "", true},
        {"truncated picture",
         {truncated, out},
         1,
         "quarvel-cli: " + truncated +
             ": the picture ends before its trailer; it is truncated or damaged; no logo file "
             "written",
         false},
        {"missing picture",
         {dir.file("none.gif"), out},
         1,
         "quarvel-cli: " + dir.file("none.gif") + ": no such file; no logo file written",
         false},
        {"a folder is no picture", {dir.file(""), out}, 1, "cannot be read as a picture", false},
        {"output folder missing",
         {picture("one_pixel.gif"), dir.file("no/Temp.s21")},
         1,
         "quarvel-cli: " + dir.file("no/Temp.s21") + ": cannot be created",
         false},
    };
    for (const Case& c : cases) {
        std::filesystem::remove(out);
        std::vector<std::string> args = {"convert-logo"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const CliRun run = runCliInProcess(args);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.name << ": " << run.err;
        if (c.errorText.empty()) {
            EXPECT_EQ(run.err, "") << c.name;
        } else {
            EXPECT_NE(run.err.find(c.errorText), std::string::npos) << c.name << ": " << run.err;
        }
        EXPECT_EQ(std::filesystem::exists(out), c.written) << c.name;
    }
}

} // namespace
} // namespace quarvel
