// The dialogs' pictures, loaded from the resources of the module that holds
// this code (the .cvp, or a test program that links the dialogs directly).
#pragma once

#include <windows.h>

#include "ui/Gdi.h"

namespace cv {

// The JPEG held as RCDATA resource `id`, decoded into a top-down 32-bpp DIB
// section; empty when the resource is missing or does not decode.
ui::BitmapHandle LoadJpegResource(HMODULE module, int id);

// Bitmap resource `id` as a DIB section, bits as stored (24 or 32 bpp).
ui::BitmapHandle LoadBitmapResource(HMODULE module, int id);

// The image of icon resource `id` that best fits `size` x `size` pixels.
ui::IconHandle LoadIconResource(HMODULE module, int id, int size);

}  // namespace cv
