#include "logo/gif_decoder.h"

#include "logo/interlaced_rows.h"
#include "logo/logo_output_file.h"

#include <utility>

namespace quarvel {

namespace {

constexpr int kExtensionIntroducer = 0x21;
constexpr int kImageSeparator = 0x2C;
constexpr int kTrailer = 0x3B;

constexpr std::uint8_t kColourTableFlag = 0x80;
constexpr std::uint8_t kInterlaceFlag = 0x40;
constexpr std::uint8_t kColourTableSizeBits = 0x07;

constexpr std::string_view kEndRecord = "S804000000FB";

struct DecoderDiagnostic {
    int result;
    std::string_view text;
};

constexpr std::array<DecoderDiagnostic, 2> kDecoderDiagnostics = {{
    {LzwBadCodeSize, "Bad Code Size"},
    {LzwReadError, "Read Error"},
}};

std::size_t colourTableBytes(std::uint8_t flags) {
    return std::size_t{3} << ((flags & kColourTableSizeBits) + 1);
}

int littleEndian16(std::uint8_t low, std::uint8_t high) {
    return low | (high << 8);
}

} // namespace

void GifDecoder::reportGifError(std::string_view text) const {
    if (m_diagnostics) {
        m_diagnostics(text);
    }
}

int GifDecoder::convertGifToLogo(const std::string& gifPath, const std::string& outputPath,
                                 LogoConversionReport& report) {
    report = LogoConversionReport{};
    m_bitmap.reset();
    m_writer.reset();
    m_hasGlobalColourTable = false;
    if (!m_input.open(gifPath)) {
        report.failure = LogoConversionFailure::GifNotOpened;
        return -1;
    }
    report.failure = convertOpenInput(outputPath);
    m_input.close();
    report.pictureClipped = m_bitmap.clipped();
    report.raster = m_bitmap.raster();
    return report.failure == LogoConversionFailure::None ? 0 : -1;
}

LogoConversionFailure GifDecoder::convertOpenInput(const std::string& outputPath) {
    LogoOutputFile output;
    if (!output.create(outputPath)) {
        return LogoConversionFailure::OutputNotCreated;
    }
    if (!readStream()) {
        // A truncated or damaged picture must never become a logo that could be loaded.
        reportGifError("GIF file ends before its trailer");
        return LogoConversionFailure::GifEndedEarly;
    }
    m_writer.writeLogo(m_bitmap.raster(), output);
    output.writeLine(kEndRecord);
    return output.commit() ? LogoConversionFailure::None : LogoConversionFailure::OutputNotWritten;
}

bool GifDecoder::readStream() {
    if (!readHeader() || !readScreenDescriptor()) {
        return false;
    }
    for (;;) {
        const int block = readGifByte();
        if (block < 0) {
            return false;
        }
        if (block == kTrailer) {
            return true;
        }
        if (block == kExtensionIntroducer) {
            skipExtension();
        } else if (block == kImageSeparator) {
            readImage();
        }
        // Any other byte between blocks is skipped.
    }
}

bool GifDecoder::readHeader() {
    std::array<std::uint8_t, 6> header{};
    if (!readGifBytes(header)) {
        return false;
    }
    const auto text = [&header](std::size_t first) {
        return std::string_view(reinterpret_cast<const char*>(header.data()) + first, 3);
    };
    if (text(0) != "GIF") {
        reportGifError("file is not a GIF file");
    }
    if (text(3) != "87a") {
        reportGifError("unknown GIF version number");
    }
    return true;
}

bool GifDecoder::readScreenDescriptor() {
    std::array<std::uint8_t, 7> descriptor{};
    if (!readGifBytes(descriptor)) {
        return false;
    }
    if (descriptor[6] != 0) {
        reportGifError("screen descriptor is invalid");
    }
    const std::uint8_t flags = descriptor[4];
    m_hasGlobalColourTable = (flags & kColourTableFlag) != 0;
    return !m_hasGlobalColourTable ||
           readGifBytes(std::span(m_colourTable).first(colourTableBytes(flags)));
}

void GifDecoder::readImage() {
    std::array<std::uint8_t, 9> descriptor{};
    if (!readGifBytes(descriptor)) {
        return;
    }
    const int width = littleEndian16(descriptor[4], descriptor[5]);
    const int height = littleEndian16(descriptor[6], descriptor[7]);
    const std::uint8_t flags = descriptor[8];
    if ((flags & kColourTableFlag) != 0) {
        if (!readGifBytes(std::span(m_colourTable).first(colourTableBytes(flags)))) {
            return;
        }
    } else if (!m_hasGlobalColourTable) {
        reportGifError("no colormap present for image");
    }

    int result = LzwDone;
    if ((flags & kInterlaceFlag) != 0) {
        InterlacedRows rows(m_bitmap, height);
        result = m_lzw.decodeLzw(width, rows);
        rows.finish();
    } else {
        result = m_lzw.decodeLzw(width, m_bitmap);
    }
    for (const DecoderDiagnostic& diagnostic : kDecoderDiagnostics) {
        if (diagnostic.result == result) {
            reportGifError(diagnostic.text);
        }
    }
    // Whatever is left of the image data is skipped whole, so that no data byte is taken for
    // the start of a block.
    if (result != LzwReadError && !m_lzw.endedAtTerminator()) {
        skipSubBlocks();
    }
}

void GifDecoder::skipExtension() {
    if (readGifByte() >= 0) {
        skipSubBlocks();
    }
}

void GifDecoder::skipSubBlocks() {
    for (int length = readGifByte(); length > 0; length = readGifByte()) {
        if (!readGifBytes(std::span(m_scratch).first(static_cast<std::size_t>(length)))) {
            return;
        }
    }
}

} // namespace quarvel
