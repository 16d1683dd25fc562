#include "ui/Gdi.h"

#include <cstdio>
#include <memory>
#include <vector>

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
  const int stride = (w_ * 3 + 3) & ~3;
  BITMAPFILEHEADER fh{};
  BITMAPINFOHEADER ih{};
  ih.biSize = sizeof(ih);
  ih.biWidth = w_;
  ih.biHeight = h_;  // bottom-up in the file
  ih.biPlanes = 1;
  ih.biBitCount = 24;
  ih.biCompression = BI_RGB;
  ih.biSizeImage = static_cast<DWORD>(stride) * h_;
  fh.bfType = 0x4D42;
  fh.bfOffBits = sizeof(fh) + sizeof(ih);
  fh.bfSize = fh.bfOffBits + ih.biSizeImage;
  std::unique_ptr<FILE, int (*)(FILE*)> f(std::fopen(path, "wb"), &std::fclose);
  if (!f) return false;
  bool ok = std::fwrite(&fh, sizeof(fh), 1, f.get()) == 1 && std::fwrite(&ih, sizeof(ih), 1, f.get()) == 1;
  std::vector<unsigned char> row(stride, 0);
  for (int y = h_ - 1; ok && y >= 0; --y) {
    const std::uint32_t* src = bits_ + static_cast<size_t>(y) * w_;
    for (int x = 0; x < w_; ++x) {
      row[x * 3] = src[x] & 0xFF;
      row[x * 3 + 1] = (src[x] >> 8) & 0xFF;
      row[x * 3 + 2] = (src[x] >> 16) & 0xFF;
    }
    ok = std::fwrite(row.data(), 1, row.size(), f.get()) == row.size();
  }
  return ok;
}

}  // namespace ui
