#pragma once

#include "imaging/formats/DecodedPicture.h"
#include "imaging/formats/EPictureFile.h"

#include <chrono>
#include <cstdint>
#include <cstring>
#include <gtest/gtest.h>
#include <initializer_list>
#include <string>
#include <vector>

// What the tests of the PNG and TIFF readers share: samples as both libraries take them, the
// pixels read, and the words a refused file gets.
namespace PictureReaderChecks {

using Bytes = std::vector<std::uint8_t>;

// 16-bit samples in the machine's order.
inline Bytes sixteenBits(std::initializer_list<std::uint16_t> samples) {
    Bytes bytes(samples.size() * 2);
    std::memcpy(bytes.data(), std::data(samples), bytes.size());
    return bytes;
}

// Every pixel, row after row, as red + 256 * green + 65536 * blue.
inline std::vector<std::uint32_t> pixelsOf(const TBitmap& bitmap) {
    std::vector<std::uint32_t> all;
    for (int y = 0; y < bitmap.height(); ++y) {
        for (int x = 0; x < bitmap.width(); ++x) {
            all.push_back(bitmap.pixel(x, y));
        }
    }
    return all;
}

struct Refusal {
    Bytes file;
    std::string reason; // how the reason starts; empty for any
};

// Each file is refused at once with `message` and a reason.
template <typename Reader>
void expectRefused(const std::string& message, const std::vector<Refusal>& refusals) {
    for (const Refusal& refusal : refusals) {
        const auto start = std::chrono::steady_clock::now();
        std::string said = "read";
        try {
            DecodedPicture picture;
            Reader::read(refusal.file.data(), refusal.file.size(), {}, picture);
        } catch (const EPictureFile& error) {
            said = error.message() + ": " + error.reason();
        }
        const std::string expected = message + ": " + refusal.reason;
        EXPECT_EQ(said.substr(0, expected.size()), expected);
        EXPECT_GT(said.size(), message.size() + 2) << said;
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(200));
    }
}

} // namespace PictureReaderChecks
