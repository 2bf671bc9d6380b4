#include "logo_file_oracle.h"

#include "tests/support/file_contents.h"

#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace quarvel::test {

LogoRaster rasterFromRows(const PixelRows& rows) {
    LogoRaster raster{};
    for (std::size_t y = 0; y < rows.size() && y < 56; ++y) {
        for (std::size_t x = 0; x < rows[y].size() && x < 128; ++x) {
            if (rows[y][x] != 0) {
                raster[x * 7 + y / 8] =
                    static_cast<std::uint8_t>(raster[x * 7 + y / 8] | (1 << (y % 8)));
            }
        }
    }
    return raster;
}

bool rasterPixel(const LogoRaster& raster, int x, int y) {
    return ((raster[static_cast<std::size_t>(x * 7 + y / 8)] >> (y % 8)) & 1) != 0;
}

std::string s1Record(unsigned address, const std::vector<std::uint8_t>& data) {
    std::vector<unsigned> bytes{static_cast<unsigned>(data.size() + 3), address >> 8,
                                address & 0xFF};
    bytes.insert(bytes.end(), data.begin(), data.end());
    unsigned sum = 0;
    std::string line = "S1";
    char hex[3];
    for (const unsigned byte : bytes) {
        sum += byte;
        std::snprintf(hex, sizeof hex, "%02X", byte);
        line += hex;
    }
    std::snprintf(hex, sizeof hex, "%02X", ~sum & 0xFF);
    return line + hex;
}

std::vector<std::string> rasterRecords(unsigned address, const LogoRaster& raster) {
    std::vector<std::uint8_t> ordered;
    for (int band = 0; band < 7; ++band) {
        for (int x = 0; x < 128; ++x) {
            ordered.push_back(raster[static_cast<std::size_t>(x * 7 + band)]);
        }
    }
    std::vector<std::string> records;
    for (std::size_t n = 0; n < 56; ++n) {
        records.push_back(s1Record(address + 16 * static_cast<unsigned>(n),
                                   {ordered.begin() + static_cast<std::ptrdiff_t>(16 * n),
                                    ordered.begin() + static_cast<std::ptrdiff_t>(16 * n + 16)}));
    }
    return records;
}

PixelRows readPlainPbm(const std::string& path) {
    std::ifstream file(path);
    std::string tokens;
    for (std::string line; std::getline(file, line);) {
        tokens += line.substr(0, line.find('#')) + ' ';
    }
    std::istringstream in(tokens);
    std::string magic;
    int width = 0;
    int height = 0;
    in >> magic >> width >> height;
    EXPECT_EQ(magic, "P1");
    PixelRows rows(static_cast<std::size_t>(height));
    for (auto& row : rows) {
        while (row.size() < static_cast<std::size_t>(width) && in) {
            char digit = 0;
            in >> digit;
            row.push_back(digit == '1' ? 1 : 0);
        }
    }
    return rows;
}

std::vector<std::string> expectedLogoFile(const LogoRaster& converted) {
    const std::string pbm = std::string(QUARVEL_SOURCE_DIR) + "/src/logo/builtin_logo.pbm";
    std::vector<std::string> lines{"S00600004844521B",
                                   "S11360006C6F676F0639000000000000000000009C"};
    for (const std::string& record : rasterRecords(0x6010, rasterFromRows(readPlainPbm(pbm)))) {
        lines.push_back(record);
    }
    lines.push_back("S11363906C6F676F067200000000000000000000D0");
    for (const std::string& record : rasterRecords(0x63A0, converted)) {
        lines.push_back(record);
    }
    lines.push_back("S804000000FB");
    return lines;
}

std::vector<std::string> readCrLfLines(const std::string& path) {
    const std::string text = fileText(path);
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            ADD_FAILURE() << path << ": last line has no CR LF";
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        EXPECT_EQ(lines.back().find_first_of("\r\n"), std::string::npos)
            << path << ": stray line end";
        start = end + 2;
    }
    return lines;
}

} // namespace quarvel::test
