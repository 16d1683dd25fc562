// Scoped owners of GDI and window handles: every object the toolkit makes is
// released on every path.
#pragma once

#include <windows.h>

#include <cstdint>
#include <utility>

namespace ui {

// Owns one GDI object (HFONT, HBRUSH, HPEN, HBITMAP, HRGN); DeleteObject on reset.
template <typename H>
class GdiObject {
 public:
  GdiObject() = default;
  explicit GdiObject(H h) : h_(h) {}
  ~GdiObject() { reset(); }
  GdiObject(GdiObject&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
  GdiObject& operator=(GdiObject&& o) noexcept {
    if (this != &o) reset(std::exchange(o.h_, nullptr));
    return *this;
  }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  void reset(H h = nullptr) {
    if (h_) DeleteObject(h_);
    h_ = h;
  }
  H release() { return std::exchange(h_, nullptr); }
  H get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }

 private:
  H h_ = nullptr;
};

using FontHandle = GdiObject<HFONT>;
using BrushHandle = GdiObject<HBRUSH>;
using PenHandle = GdiObject<HPEN>;
using BitmapHandle = GdiObject<HBITMAP>;
using RegionHandle = GdiObject<HRGN>;

// Owns an HICON (DestroyIcon).
class IconHandle {
 public:
  IconHandle() = default;
  explicit IconHandle(HICON h) : h_(h) {}
  ~IconHandle() { reset(); }
  IconHandle(IconHandle&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
  IconHandle& operator=(IconHandle&& o) noexcept {
    if (this != &o) reset(std::exchange(o.h_, nullptr));
    return *this;
  }
  IconHandle(const IconHandle&) = delete;
  IconHandle& operator=(const IconHandle&) = delete;
  void reset(HICON h = nullptr) {
    if (h_) DestroyIcon(h_);
    h_ = h;
  }
  HICON get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }

 private:
  HICON h_ = nullptr;
};

// Selects an object into a DC for the scope and puts the old one back.
class SelectObjectScope {
 public:
  SelectObjectScope(HDC dc, HGDIOBJ obj) : dc_(dc), old_(obj ? SelectObject(dc, obj) : nullptr) {}
  ~SelectObjectScope() {
    if (old_) SelectObject(dc_, old_);
  }
  SelectObjectScope(const SelectObjectScope&) = delete;
  SelectObjectScope& operator=(const SelectObjectScope&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// SaveDC / RestoreDC for the scope (clip region, origins, selected objects).
class SavedDC {
 public:
  explicit SavedDC(HDC dc) : dc_(dc), id_(SaveDC(dc)) {}
  ~SavedDC() { RestoreDC(dc_, id_); }
  SavedDC(const SavedDC&) = delete;
  SavedDC& operator=(const SavedDC&) = delete;

 private:
  HDC dc_;
  int id_;
};

// A window DC from GetDC, released at the end of the scope.
class WindowDC {
 public:
  explicit WindowDC(HWND wnd) : wnd_(wnd), dc_(GetDC(wnd)) {}
  ~WindowDC() {
    if (dc_) ReleaseDC(wnd_, dc_);
  }
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND wnd_;
  HDC dc_;
};

// A memory DC holding a top-down 32-bpp DIB section of the given size; the
// pixels are reachable through Bits() (row 0 is the top row, BGRx).
class MemoryBitmap {
 public:
  MemoryBitmap(int width, int height);
  ~MemoryBitmap();
  MemoryBitmap(const MemoryBitmap&) = delete;
  MemoryBitmap& operator=(const MemoryBitmap&) = delete;

  HDC dc() const { return dc_; }
  HBITMAP bitmap() const { return bmp_.get(); }
  int Width() const { return w_; }
  int Height() const { return h_; }
  // The pixel at (x, y) as a COLORREF (red in the low byte); CLR_INVALID outside.
  COLORREF Pixel(int x, int y) const;
  void Fill(COLORREF c);
  const std::uint32_t* Bits() const { return bits_; }
  // Writes the image as a 24-bpp .bmp file; false when the file cannot be written.
  bool SaveBmp(const char* path) const;

 private:
  int w_, h_;
  HDC dc_ = nullptr;
  BitmapHandle bmp_;
  HGDIOBJ old_ = nullptr;
  std::uint32_t* bits_ = nullptr;
};

}  // namespace ui
