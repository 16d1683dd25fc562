#include "ui/BmpFile.h"

#include <cstddef>
#include <cstdio>
#include <memory>
#include <vector>

namespace ui {

namespace {

constexpr std::size_t kFileHeaderSize = 14;  // BITMAPFILEHEADER
constexpr std::size_t kInfoHeaderSize = 40;  // BITMAPINFOHEADER

void Put16(std::vector<unsigned char>& out, std::uint32_t v) {
  out.push_back(static_cast<unsigned char>(v));
  out.push_back(static_cast<unsigned char>(v >> 8));
}

void Put32(std::vector<unsigned char>& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

}  // namespace

bool WriteBmp24(const char* path, int width, int height, const std::uint32_t* topDownBgrx) {
  if (!topDownBgrx || width <= 0 || height <= 0) return false;
  const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
  const auto imageSize = static_cast<std::uint32_t>(stride * static_cast<std::size_t>(height));
  const auto offBits = static_cast<std::uint32_t>(kFileHeaderSize + kInfoHeaderSize);
  std::vector<unsigned char> head;
  head.reserve(offBits);
  Put16(head, 0x4D42);  // "BM"
  Put32(head, offBits + imageSize);
  Put32(head, 0);  // reserved
  Put32(head, offBits);
  Put32(head, kInfoHeaderSize);
  Put32(head, static_cast<std::uint32_t>(width));
  Put32(head, static_cast<std::uint32_t>(height));  // positive: bottom-up
  Put16(head, 1);                                   // planes
  Put16(head, 24);                                  // bits per pixel
  Put32(head, 0);                                   // BI_RGB
  Put32(head, imageSize);
  Put32(head, 0);  // pixels per metre, x and y: none given
  Put32(head, 0);
  Put32(head, 0);  // colours used and important: all
  Put32(head, 0);

  std::unique_ptr<std::FILE, int (*)(std::FILE*)> f(std::fopen(path, "wb"), &std::fclose);
  if (!f) return false;
  bool ok = std::fwrite(head.data(), 1, head.size(), f.get()) == head.size();
  std::vector<unsigned char> row(stride, 0);
  for (int y = height - 1; ok && y >= 0; --y) {
    const std::uint32_t* src = topDownBgrx + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
    for (int x = 0; x < width; ++x) {
      row[x * 3] = src[x] & 0xFF;
      row[x * 3 + 1] = (src[x] >> 8) & 0xFF;
      row[x * 3 + 2] = (src[x] >> 16) & 0xFF;
    }
    ok = std::fwrite(row.data(), 1, row.size(), f.get()) == row.size();
  }
  return std::fclose(f.release()) == 0 && ok;
}

}  // namespace ui
