// JPEG pictures decoded with libjpeg into 32-bit BGRA rows, the layout of a
// top-down 32-bpp device-independent bitmap. Portable: no windows.h here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace cv {

struct DecodedImage {
    int width = 0;
    int height = 0;
    // height rows of width pixels, top row first; each pixel is blue, green,
    // red and 255 (opaque), so the stride is width * 4 bytes.
    std::vector<std::uint8_t> bgra;
};

// The largest picture accepted (per side); the module's own pictures are far
// smaller, and a bigger header is taken as damaged input.
inline constexpr int kMaxJpegSide = 4096;

// Decodes a whole JPEG held in memory. Colour and greyscale pictures decode;
// anything else (damaged or truncated data, CMYK, sides of 0 or above
// kMaxJpegSide) gives nullopt. libjpeg's messages are never printed.
std::optional<DecodedImage> DecodeJpeg(const std::uint8_t* data, std::size_t size);

}  // namespace cv
