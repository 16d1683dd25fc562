// Scoped owners of GDI and window handles: every object the toolkit makes is
// released on every path.
#pragma once

#include <windows.h>

#include <cstdint>
#include <utility>

namespace ui {

// The ways the owners below free their handles.
inline void FreeGdiObject(HGDIOBJ h) { DeleteObject(h); }
inline void FreeIcon(HICON h) { DestroyIcon(h); }
inline void FreeDC(HDC h) { DeleteDC(h); }

// Owns one handle and frees it with `Free` on reset: the one owner of every
// GDI object, icon and DC that the module makes.
template <typename H, auto Free>
class Owned {
 public:
  Owned() = default;
  explicit Owned(H h) : h_(h) {}
  ~Owned() { reset(); }
  Owned(Owned&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
  Owned& operator=(Owned&& o) noexcept {
    if (this != &o) reset(std::exchange(o.h_, nullptr));
    return *this;
  }
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;
  void reset(H h = nullptr) {
    if (h_) Free(h_);
    h_ = h;
  }
  H release() { return std::exchange(h_, nullptr); }
  H get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }

 private:
  H h_ = nullptr;
};

// HFONT, HBRUSH, HPEN, HBITMAP, HRGN: DeleteObject.
template <typename H>
using GdiObject = Owned<H, &FreeGdiObject>;
using FontHandle = GdiObject<HFONT>;
using BrushHandle = GdiObject<HBRUSH>;
using PenHandle = GdiObject<HPEN>;
using BitmapHandle = GdiObject<HBITMAP>;
using RegionHandle = GdiObject<HRGN>;
using IconHandle = Owned<HICON, &FreeIcon>;

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

// A memory DC made for drawing like `compatibleWith` (nullptr: the screen).
// What Select puts into it is taken out again, and the DC deleted, at the end
// of the scope, so that the objects selected can be deleted after it.
class MemoryDC {
 public:
  explicit MemoryDC(HDC compatibleWith) : dc_(CreateCompatibleDC(compatibleWith)) {}
  ~MemoryDC();
  MemoryDC(const MemoryDC&) = delete;
  MemoryDC& operator=(const MemoryDC&) = delete;

  HDC get() const { return dc_.get(); }
  explicit operator bool() const { return static_cast<bool>(dc_); }
  // Selects a bitmap, brush, pen or font; false when it could not be.
  bool Select(HGDIOBJ object);

 private:
  Owned<HDC, &FreeDC> dc_;
  // The object each kind held before this scope's first Select of that kind.
  struct Original {
    DWORD type;
    HGDIOBJ object;
  };
  Original originals_[4] = {};
  int originalCount_ = 0;
};

// BeginPaint for the scope, EndPaint at its end, however the painting ends:
// the window is validated and its DC given back even when a paint throws.
class PaintScope {
 public:
  explicit PaintScope(HWND wnd) : wnd_(wnd), dc_(BeginPaint(wnd, &ps_)) {}
  ~PaintScope() { EndPaint(wnd_, &ps_); }
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;
  HDC dc() const { return dc_; }
  const RECT& Area() const { return ps_.rcPaint; }

 private:
  HWND wnd_;
  PAINTSTRUCT ps_{};
  HDC dc_;
};

// A memory DC holding a top-down 32-bpp DIB section of the given size; the
// pixels are reachable through Bits() (row 0 is the top row, BGRx).
class MemoryBitmap {
 public:
  MemoryBitmap(int width, int height);
  MemoryBitmap(const MemoryBitmap&) = delete;
  MemoryBitmap& operator=(const MemoryBitmap&) = delete;

  // Both the DC and the pixels are there.
  bool Ok() const { return dc_ && bits_; }
  HDC dc() const { return dc_.get(); }
  HBITMAP bitmap() const { return bmp_.get(); }
  int Width() const { return w_; }
  int Height() const { return h_; }
  // The pixel at (x, y) as a COLORREF (red in the low byte); CLR_INVALID outside.
  COLORREF Pixel(int x, int y) const;
  void Fill(COLORREF c);
  const std::uint32_t* Bits() const { return bits_; }
  std::uint32_t* Bits() { return bits_; }
  // Writes the image as a 24-bpp .bmp file; false when the file cannot be written.
  bool SaveBmp(const char* path) const;

 private:
  int w_, h_;
  BitmapHandle bmp_;  // outlives dc_, which lets go of it first
  MemoryDC dc_{nullptr};
  std::uint32_t* bits_ = nullptr;
};

}  // namespace ui
