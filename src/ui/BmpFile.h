// The one writer of .bmp files: the toolkit's images (tests, the gradient
// gallery) and the stand-in host's screenshots. Portable, no windows.h, so
// that a program can compile it alone.
#pragma once

#include <cstdint>

namespace ui {

// Writes `width` x `height` pixels, given top-down as 32-bit BGRx words (row 0
// on top, `width` words a row), as a 24-bpp BMP file (bottom-up rows, each
// padded to four bytes). False when the file cannot be written.
bool WriteBmp24(const char* path, int width, int height, const std::uint32_t* topDownBgrx);

}  // namespace ui
