#include "support/JpegTestPictures.h"

#include "core/TMemoryStream.h"

#include <cmath>
#include <fstream>
#include <iterator>
#include <stdexcept>

RgbPicture makeTestPicture(int width, int height) {
    RgbPicture picture{width, height, std::vector<std::uint8_t>(std::size_t(width) * height * 3)};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p = &picture.rgb[(std::size_t(y) * width + x) * 3];
            p[0] = static_cast<std::uint8_t>(x * 255 / std::max(1, width - 1));
            p[1] = static_cast<std::uint8_t>(y * 255 / std::max(1, height - 1));
            p[2] = static_cast<std::uint8_t>(128 + 100 * std::sin(x * 0.3) * std::cos(y * 0.2));
        }
    }
    return picture;
}

void fillBitmap(TBitmap& bitmap, const RgbPicture& picture) {
    bitmap.setPixelFormat(TPixelFormat::Bits24);
    bitmap.setSize(picture.width, picture.height);
    for (int y = 0; y < picture.height; ++y) {
        std::uint8_t* row = bitmap.scanLine(y);
        const std::uint8_t* source = &picture.rgb[std::size_t(y) * picture.width * 3];
        for (int x = 0; x < picture.width; ++x) {
            row[x * 3 + 0] = source[x * 3 + 2];
            row[x * 3 + 1] = source[x * 3 + 1];
            row[x * 3 + 2] = source[x * 3 + 0];
        }
    }
}

RgbPicture bitmapColours(const TBitmap& bitmap) {
    RgbPicture picture{bitmap.width(), bitmap.height(), {}};
    picture.rgb.reserve(std::size_t(picture.width) * picture.height * 3);
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const std::uint32_t colour = bitmap.pixel(x, y);
            picture.rgb.push_back(static_cast<std::uint8_t>(colour & 0xFF));
            picture.rgb.push_back(static_cast<std::uint8_t>((colour >> 8) & 0xFF));
            picture.rgb.push_back(static_cast<std::uint8_t>((colour >> 16) & 0xFF));
        }
    }
    return picture;
}

void takePicture(TJPEGImage& jpeg, const RgbPicture& picture) {
    TBitmap bitmap;
    fillBitmap(bitmap, picture);
    jpeg.CopyFrom(&bitmap);
}

std::vector<std::uint8_t> encodePicture(const RgbPicture& picture, std::uint8_t quality, bool gray,
                                        bool progressive) {
    TJPEGImage jpeg;
    jpeg.setGrayMode(gray); // before taking the bitmap: changing it discards the bitmap
    takePicture(jpeg, picture);
    jpeg.setQuality(quality);
    jpeg.setProgressiveWrite(progressive);
    TMemoryStream stream;
    jpeg.WriteToStream(stream);
    return {stream.memory(), stream.memory() + stream.size()};
}

void writePpm(const std::filesystem::path& path, const RgbPicture& picture) {
    std::ofstream out(path, std::ios::binary);
    out << "P6\n" << picture.width << ' ' << picture.height << "\n255\n";
    out.write(reinterpret_cast<const char*>(picture.rgb.data()),
              static_cast<std::streamsize>(picture.rgb.size()));
}

RgbPicture readPpm(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int maxValue = 0;
    RgbPicture picture;
    in >> magic >> picture.width >> picture.height >> maxValue;
    in.get();
    if (!in || (magic != "P6" && magic != "P5") || maxValue != 255) {
        throw std::runtime_error("not a PPM/PGM file: " + path.string());
    }
    const int channels = magic == "P6" ? 3 : 1;
    std::vector<std::uint8_t> samples(std::size_t(picture.width) * picture.height * channels);
    in.read(reinterpret_cast<char*>(samples.data()), static_cast<std::streamsize>(samples.size()));
    if (channels == 3) {
        picture.rgb = std::move(samples);
    } else {
        for (std::uint8_t gray : samples) {
            picture.rgb.insert(picture.rgb.end(), {gray, gray, gray});
        }
    }
    return picture;
}

std::vector<std::uint8_t> readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}
