// The dialogs' pictures, loaded from the resources of the module that holds
// this code (the .cvp, or a test program that links the dialogs directly).
#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

namespace cv {

struct GdiObjectDeleter {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
struct IconDeleter {
    void operator()(HICON icon) const { DestroyIcon(icon); }
};
using OwnedBitmap = std::unique_ptr<std::remove_pointer_t<HBITMAP>, GdiObjectDeleter>;
using OwnedIcon = std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter>;

// The JPEG held as RCDATA resource `id`, decoded into a top-down 32-bpp DIB
// section; empty when the resource is missing or does not decode.
OwnedBitmap LoadJpegResource(HMODULE module, int id);

// Bitmap resource `id` as a DIB section, bits as stored (24 or 32 bpp).
OwnedBitmap LoadBitmapResource(HMODULE module, int id);

// The image of icon resource `id` that best fits `size` x `size` pixels.
OwnedIcon LoadIconResource(HMODULE module, int id, int size);

}  // namespace cv
