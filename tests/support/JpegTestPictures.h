#pragma once

#include "imaging/bmp/TBitmap.h"
#include "imaging/jpeg/TJPEGImage.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// Pictures for the JPEG tests, made on the spot: smooth gradients with some detail, so
// every quantiser and DCT path has something to do.
struct RgbPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb; // red, green, blue per pixel, top row first
};

RgbPicture makeTestPicture(int width, int height);
// A 24-bit bitmap holding the same pixels.
void fillBitmap(TBitmap& bitmap, const RgbPicture& picture);
RgbPicture bitmapColours(const TBitmap& bitmap);

// Lets `jpeg` take a bitmap of `picture`, as a load does before encoding.
void takePicture(TJPEGImage& jpeg, const RgbPicture& picture);
// The file that encoding `picture` with these options gives.
std::vector<std::uint8_t> encodePicture(const RgbPicture& picture, std::uint8_t quality,
                                        bool gray = false, bool progressive = false);

void writePpm(const std::filesystem::path& path, const RgbPicture& picture);
// P5 and P6 files as the reference decoder writes them; gray is spread to red, green, blue.
RgbPicture readPpm(const std::filesystem::path& path);

std::vector<std::uint8_t> readBytes(const std::filesystem::path& path);
void writeBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);
