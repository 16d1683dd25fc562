#include "dialogs/Pictures.h"

#include <cstring>

#include "dialogs/JpegImage.h"

namespace cv {

ui::BitmapHandle LoadJpegResource(HMODULE module, int id) {
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(10) /* RT_RCDATA */);
    if (!found) return {};
    HGLOBAL loaded = LoadResource(module, found);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes) return {};
    auto image = DecodeJpeg(static_cast<const std::uint8_t*>(bytes), SizeofResource(module, found));
    if (!image) return {};

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = image->width;
    info.bmiHeader.biHeight = -image->height;  // top-down, as decoded
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    ui::BitmapHandle bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || !bits) return {};
    std::memcpy(bits, image->bgra.data(), image->bgra.size());
    GdiFlush();
    return bitmap;
}

ui::BitmapHandle LoadBitmapResource(HMODULE module, int id) {
    return ui::BitmapHandle(static_cast<HBITMAP>(
        LoadImageA(module, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}

ui::IconHandle LoadIconResource(HMODULE module, int id, int size) {
    return ui::IconHandle(
        static_cast<HICON>(LoadImageA(module, MAKEINTRESOURCEA(id), IMAGE_ICON, size, size, 0)));
}

}  // namespace cv
