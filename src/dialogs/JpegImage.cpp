#include "dialogs/JpegImage.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <jpeglib.h>
#include <jerror.h>

namespace cv {
namespace {

// libjpeg reports fatal errors through error_exit, which must not return:
// it jumps back into DecodeJpeg. Warnings are counted (num_warnings), never
// printed.
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

void OnFatalError(j_common_ptr info) {
    auto* manager = reinterpret_cast<ErrorManager*>(info->err);
    std::longjmp(manager->jump, 1);
}

void OnMessage(j_common_ptr) {}

// A truncated stream: libjpeg would pad it with a fake end marker and carry
// on with a warning; a picture with missing rows is treated as damaged.
void OnSourceEnd(j_decompress_ptr info) {
    info->err->msg_code = JERR_INPUT_EOF;
    info->err->error_exit(reinterpret_cast<j_common_ptr>(info));
}

// The source manager for a buffer held in memory.
void InitSource(j_decompress_ptr) {}
boolean FillInput(j_decompress_ptr info) {
    OnSourceEnd(info);
    return FALSE;
}
void SkipInput(j_decompress_ptr info, long count) {
    if (count <= 0) return;
    jpeg_source_mgr* src = info->src;
    if (static_cast<unsigned long>(count) > src->bytes_in_buffer) OnSourceEnd(info);
    src->next_input_byte += count;
    src->bytes_in_buffer -= static_cast<std::size_t>(count);
}
void TermSource(j_decompress_ptr) {}

// Runs the decode; everything that must survive a longjmp lives in `out`
// and `info`, which the caller owns.
bool Decode(jpeg_decompress_struct& info, ErrorManager& errors, jpeg_source_mgr& source, DecodedImage& out,
            const std::uint8_t* data, std::size_t size) {
    if (setjmp(errors.jump)) return false;
    jpeg_create_decompress(&info);
    source.next_input_byte = data;
    source.bytes_in_buffer = size;
    source.init_source = InitSource;
    source.fill_input_buffer = FillInput;
    source.skip_input_data = SkipInput;
    source.resync_to_restart = jpeg_resync_to_restart;
    source.term_source = TermSource;
    info.src = &source;

    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK) return false;
    if (info.jpeg_color_space != JCS_YCbCr && info.jpeg_color_space != JCS_RGB &&
        info.jpeg_color_space != JCS_GRAYSCALE)
        return false;
    if (info.image_width == 0 || info.image_height == 0 || info.image_width > kMaxJpegSide ||
        info.image_height > kMaxJpegSide)
        return false;
    info.out_color_space = JCS_EXT_BGRA;
    jpeg_start_decompress(&info);
    if (info.output_components != 4) return false;

    out.width = static_cast<int>(info.output_width);
    out.height = static_cast<int>(info.output_height);
    const std::size_t stride = static_cast<std::size_t>(out.width) * 4;
    out.bgra.assign(stride * static_cast<std::size_t>(out.height), 0);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = out.bgra.data() + stride * info.output_scanline;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    // Corrupt data that libjpeg papered over (rows filled in after an early
    // end marker, for instance) came with a warning: reject the picture.
    // JCS_EXT_BGRA leaves the fourth byte set to 255 already.
    return errors.base.num_warnings == 0;
}

}  // namespace

std::optional<DecodedImage> DecodeJpeg(const std::uint8_t* data, std::size_t size) {
    if (!data || size < 4) return std::nullopt;
    jpeg_decompress_struct info;
    std::memset(&info, 0, sizeof info);
    ErrorManager errors;
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = OnFatalError;
    errors.base.output_message = OnMessage;
    jpeg_source_mgr source{};
    DecodedImage out;
    const bool ok = Decode(info, errors, source, out, data, size);
    jpeg_destroy_decompress(&info);
    if (!ok) return std::nullopt;
    return out;
}

}  // namespace cv
