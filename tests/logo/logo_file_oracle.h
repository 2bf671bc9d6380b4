#pragma once

#include "logo/logo_geometry.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quarvel::test {

// Rows of colour indices, top row first.
using PixelRows = std::vector<std::vector<std::uint8_t>>;

// The raster rules, written out plainly: rows stack from the top, a pixel is lit for every colour
// index but 0, and whatever lies beyond column 127 or row 55 is dropped.
LogoRaster rasterFromRows(const PixelRows& rows);
// The lit state of one logo pixel.
bool rasterPixel(const LogoRaster& raster, int x, int y);

// An S1 record with sixteen data bytes, formatted from scratch.
std::string s1Record(unsigned address, const std::vector<std::uint8_t>& data);
// The 56 raster records of a logo whose raster starts at address.
std::vector<std::string> rasterRecords(unsigned address, const LogoRaster& raster);

// A plain PBM picture (P1) as rows of 0 and 1.
PixelRows readPlainPbm(const std::string& path);
// The 116 lines a logo file must hold for this converted raster.
std::vector<std::string> expectedLogoFile(const LogoRaster& converted);

// The file's lines without their line ends; fails the test when a line does not end in CR LF.
std::vector<std::string> readCrLfLines(const std::string& path);

} // namespace quarvel::test
