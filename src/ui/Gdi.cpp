#include "ui/Gdi.h"

#include <iterator>

#include "ui/BmpFile.h"

namespace ui {

MemoryDC::~MemoryDC() {
  if (!dc_) return;
  for (int i = originalCount_ - 1; i >= 0; --i) SelectObject(dc_.get(), originals_[i].object);
}

bool MemoryDC::Select(HGDIOBJ object) {
  if (!dc_ || !object) return false;
  DWORD type = GetObjectType(object);
  if (type == OBJ_EXTPEN) type = OBJ_PEN;
  bool seen = false;
  for (int i = 0; i < originalCount_; ++i) seen = seen || originals_[i].type == type;
  if (!seen && originalCount_ == static_cast<int>(std::size(originals_))) return false;
  HGDIOBJ old = SelectObject(dc_.get(), object);
  if (!old || old == HGDI_ERROR) return false;
  if (!seen) originals_[originalCount_++] = {type, old};
  return true;
}

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
  if (bmp_ && dc_.Select(bmp_.get())) bits_ = static_cast<std::uint32_t*>(bits);
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
  FillRect(dc_.get(), &r, b.get());
}

bool MemoryBitmap::SaveBmp(const char* path) const {
  if (!bits_) return false;
  GdiFlush();
  return WriteBmp24(path, w_, h_, bits_);
}

}  // namespace ui
