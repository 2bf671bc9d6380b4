// A GIF picture through convertGifToLogo, with the logo file it writes checked record by record.
#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_input_file.h"
#include "image/srecord.h"
#include "logo/gif_reader.h"

#include <cstdio>
#include <fstream>
#include <string>

namespace {

using namespace quarvel;

constexpr int kLogoFileLines = 116;

// Every line of a written logo file ends in CR LF and holds one valid record.
void checkLogoFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    FUZZ_CHECK(file.is_open());
    int lines = 0;
    for (std::string line; std::getline(file, line); ++lines) {
        FUZZ_CHECK(!line.empty() && line.back() == '\r');
        line.pop_back();
        std::int32_t recordLength = 0;
        FUZZ_CHECK(parseRecord(line.c_str(), recordLength) == RecordValid);
        FUZZ_CHECK(static_cast<std::size_t>(recordLength) == line.size());
    }
    FUZZ_CHECK(lines == kLogoFileLines);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const quarvel::fuzzing::FuzzInputFile picture(".gif");
    static const quarvel::fuzzing::FuzzInputFile logo(".s21");

    if (!picture.write({data, size})) {
        return 0;
    }
    std::remove(logo.path().c_str());
    LogoConversionReport report;
    const int answer = convertGifToLogo(picture.path(), logo.path(), {}, report);
    FUZZ_CHECK(answer == 0 || answer == -1);
    if (answer == 0) {
        FUZZ_CHECK(report.failure == LogoConversionFailure::None);
        checkLogoFile(logo.path());
    } else {
        // A refused picture must not leave a logo file that looks finished.
        FUZZ_CHECK(report.failure != LogoConversionFailure::None);
        FUZZ_CHECK(std::fopen(logo.path().c_str(), "rb") == nullptr);
    }
    return 0;
}
