// Any bytes: a picture or nothing, never a crash or a leak.
#include <cstddef>
#include <cstdint>

#include "dialogs/JpegImage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  auto image = cv::DecodeJpeg(data, size);
  if (image && image->bgra.size() != static_cast<std::size_t>(image->width) * image->height * 4)
    __builtin_trap();
  return 0;
}
