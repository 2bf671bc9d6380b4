#pragma once

#include "logo_file_oracle.h"

#include <string>
#include <vector>

namespace quarvel::test {

struct GiflibPicture {
    PixelRows rows; // the rows of every image, one image below the other, in screen order
    bool largerThanLogo = false;
};

// giflib's reading of a GIF file, the independent decoder the conversion is checked against.
GiflibPicture decodeWithGiflib(const std::string& path);

// The names of the GIF files in a folder, sorted.
std::vector<std::string> gifPicturesIn(const std::string& folder);

} // namespace quarvel::test
