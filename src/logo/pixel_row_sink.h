#pragma once

#include <cstdint>
#include <span>

namespace quarvel {

// Receives decoded rows of colour indices, one call per row, in the order the image data holds
// them.
class PixelRowSink {
public:
    virtual void addRow(std::span<const std::uint8_t> pixels) = 0;
    // False once no later row of the image can be of use, so that decoding may stop there.
    virtual bool acceptsMoreRows() const { return true; }

protected:
    ~PixelRowSink() = default;
};

} // namespace quarvel
