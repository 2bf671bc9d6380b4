#include "giflib_picture.h"

#include <algorithm>
#include <filesystem>
#include <gif_lib.h>
#include <gtest/gtest.h>

namespace quarvel::test {

GiflibPicture decodeWithGiflib(const std::string& path) {
    GiflibPicture picture;
    int error = 0;
    GifFileType* gif = DGifOpenFileName(path.c_str(), &error);
    if (gif == nullptr) {
        ADD_FAILURE() << path << ": giflib cannot open it";
        return picture;
    }
    // DGifSlurp puts interlaced rows back into screen order.
    if (DGifSlurp(gif) != GIF_OK) {
        ADD_FAILURE() << path << ": giflib cannot read it";
    }
    for (int i = 0; i < gif->ImageCount; ++i) {
        const SavedImage& image = gif->SavedImages[i];
        const int width = image.ImageDesc.Width;
        for (int y = 0; y < image.ImageDesc.Height; ++y) {
            const GifByteType* row = image.RasterBits + static_cast<std::ptrdiff_t>(y) * width;
            picture.rows.emplace_back(row, row + width);
        }
        picture.largerThanLogo = picture.largerThanLogo || width > 128;
    }
    picture.largerThanLogo = picture.largerThanLogo || picture.rows.size() > 56;
    DGifCloseFile(gif, &error);
    return picture;
}

std::vector<std::string> gifPicturesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().extension() == ".gif") {
            names.push_back(entry.path().filename().string());
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace quarvel::test
