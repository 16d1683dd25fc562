// Decoding the project's own JPEG pictures, and damaged input.
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "dialogs/JpegImage.h"

namespace {

std::vector<std::uint8_t> ReadFile(const std::string& name) {
  std::ifstream in(std::string(RIZER_DIALOG_RES) + "/" + name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// BGRA of pixel (x, y).
std::array<int, 4> Pixel(const cv::DecodedImage& image, int x, int y) {
  const std::uint8_t* p = image.bgra.data() + (static_cast<std::size_t>(y) * image.width + x) * 4;
  return {p[0], p[1], p[2], p[3]};
}

bool Near(int a, int b) { return std::abs(a - b) <= 12; }

TEST(JpegImage, DecodesTheDialogPicturesAtTheirSizes) {
  const auto strip = ReadFile("strip.jpg");
  ASSERT_FALSE(strip.empty());
  auto image = cv::DecodeJpeg(strip.data(), strip.size());
  ASSERT_TRUE(image);
  EXPECT_EQ(image->width, 76);
  EXPECT_EQ(image->height, 316);
  ASSERT_EQ(image->bgra.size(), 76u * 316u * 4u);
  // Top row first: the strip runs from plum (#800040) at the top to sky
  // blue (#A6CAF0) at the bottom; every pixel is opaque.
  auto top = Pixel(*image, 3, 2);
  EXPECT_TRUE(Near(top[0], 0x40) && Near(top[1], 0x00) && Near(top[2], 0x80))
      << top[0] << "," << top[1] << "," << top[2];
  auto bottom = Pixel(*image, 2, 313);
  EXPECT_TRUE(Near(bottom[0], 0xF0) && Near(bottom[1], 0xCA) && Near(bottom[2], 0xA6))
      << bottom[0] << "," << bottom[1] << "," << bottom[2];
  for (std::size_t i = 3; i < image->bgra.size(); i += 4) ASSERT_EQ(image->bgra[i], 255);

  const auto about = ReadFile("about.jpg");
  auto picture = cv::DecodeJpeg(about.data(), about.size());
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->width, 202);
  EXPECT_EQ(picture->height, 170);
}

TEST(JpegImage, RejectsDamagedInput) {
  const auto strip = ReadFile("strip.jpg");
  ASSERT_GT(strip.size(), 1000u);
  EXPECT_FALSE(cv::DecodeJpeg(nullptr, 0));
  EXPECT_FALSE(cv::DecodeJpeg(strip.data(), 0));
  EXPECT_FALSE(cv::DecodeJpeg(strip.data(), 3));
  // Cut in the middle of the scan: missing rows are not passed off as a picture.
  EXPECT_FALSE(cv::DecodeJpeg(strip.data(), strip.size() / 2));
  EXPECT_FALSE(cv::DecodeJpeg(strip.data(), 200));
  std::vector<std::uint8_t> noise(4096);
  for (std::size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<std::uint8_t>(i * 131 + 7);
  EXPECT_FALSE(cv::DecodeJpeg(noise.data(), noise.size()));
  // A JPEG start followed by noise.
  noise[0] = 0xFF, noise[1] = 0xD8;
  EXPECT_FALSE(cv::DecodeJpeg(noise.data(), noise.size()));
}

// Patches the frame header's height (SOF0 marker FF C0: length, precision, height, width).
std::vector<std::uint8_t> WithHeight(std::vector<std::uint8_t> jpeg, unsigned height) {
  for (std::size_t i = 2; i + 8 < jpeg.size(); ++i) {
    if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {
      jpeg[i + 5] = static_cast<std::uint8_t>(height >> 8);
      jpeg[i + 6] = static_cast<std::uint8_t>(height);
      return jpeg;
    }
  }
  ADD_FAILURE() << "no frame header";
  return jpeg;
}

TEST(JpegImage, RejectsImpossibleSizesBeforeAllocating) {
  const auto strip = ReadFile("strip.jpg");
  EXPECT_FALSE(cv::DecodeJpeg(WithHeight(strip, 0).data(), strip.size()));
  EXPECT_FALSE(cv::DecodeJpeg(WithHeight(strip, 60000).data(), strip.size()));
  // A taller frame than the data holds runs out of data: damaged.
  EXPECT_FALSE(cv::DecodeJpeg(WithHeight(strip, 400).data(), strip.size()));
}

}  // namespace
