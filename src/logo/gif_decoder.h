#pragma once

#include "logo/gif_byte_source.h"
#include "logo/gif_input_file.h"
#include "logo/gif_reader.h"
#include "logo/logo_bitmap.h"
#include "logo/logo_writer.h"
#include "logo/lzw_decoder.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <utility>

namespace quarvel {

// Walks a GIF stream block by block, decodes its images into the logo raster and writes the logo
// file. One conversion at a time; the object can be reused for the next.
class GifDecoder final : private GifByteSource {
public:
    explicit GifDecoder(GifDiagnosticSink diagnostics = {})
        : m_diagnostics(std::move(diagnostics)) {}

    int convertGifToLogo(const std::string& gifPath, const std::string& outputPath,
                         LogoConversionReport& report);

    int readGifByte() override { return m_input.readByte(); }
    bool readGifBytes(std::span<std::uint8_t> bytes) override { return m_input.readBytes(bytes); }
    void reportGifError(std::string_view text) const;

private:
    LogoConversionFailure convertOpenInput(const std::string& outputPath);
    // Header, screen descriptor and blocks; true when the trailer was reached.
    bool readStream();
    bool readHeader();
    bool readScreenDescriptor();
    void readImage();
    void skipExtension();
    // Skips data sub-blocks up to and including the zero length that closes them.
    void skipSubBlocks();

    GifDiagnosticSink m_diagnostics;
    GifInputFile m_input;
    LogoBitmap m_bitmap;
    LogoWriter m_writer;
    LzwDecoder m_lzw{*this};
    bool m_hasGlobalColourTable = false;
    // Colour tables are read only to move past them: the logo lights every index but 0.
    std::array<std::uint8_t, 768> m_colourTable{};
    std::array<std::uint8_t, 255> m_scratch{};
};

} // namespace quarvel
