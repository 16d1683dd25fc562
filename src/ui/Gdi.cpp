#include "ui/Gdi.h"

#include "ui/BmpFile.h"

namespace ui {

MemoryBitmap::MemoryBitmap(int width, int height) : w_(width > 0 ? width : 1), h_(height > 0 ? height : 1) {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = w_;
  bi.bmiHeader.biHeight = -h_;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  bmp_.reset(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  bits_ = static_cast<std::uint32_t*>(bits);
  dc_ = CreateCompatibleDC(nullptr);
  if (dc_ && bmp_) old_ = SelectObject(dc_, bmp_.get());
}

MemoryBitmap::~MemoryBitmap() {
  if (dc_) {
    if (old_) SelectObject(dc_, old_);
    DeleteDC(dc_);
  }
}

COLORREF MemoryBitmap::Pixel(int x, int y) const {
  if (!bits_ || x < 0 || y < 0 || x >= w_ || y >= h_) return CLR_INVALID;
  GdiFlush();
  std::uint32_t p = bits_[static_cast<size_t>(y) * w_ + x];
  return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

void MemoryBitmap::Fill(COLORREF c) {
  RECT r{0, 0, w_, h_};
  BrushHandle b(CreateSolidBrush(c));
  FillRect(dc_, &r, b.get());
}

bool MemoryBitmap::SaveBmp(const char* path) const {
  if (!bits_) return false;
  GdiFlush();
  return WriteBmp24(path, w_, h_, bits_);
}

}  // namespace ui
