// The single-precision score of a reference picture against the definition worked out
// plainly in double, and its independence from the number of threads. Photographs come from
// Debian's scikit-image package (python3-skimage); without it the made-up pictures remain.

#include "imaging/similarity/SimilarityReference.h"

#include "core/EAbort.h"
#include "core/TMemoryStream.h"
#include "imaging/bmp/TBitmap.h"
#include "imaging/jpeg/TJPEGImage.h"
#include "imaging/similarity/LumaPlane.h"
#include "support/JpegTestPictures.h"
#include "support/Photographs.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <iostream>
#include <numeric>
#include <random>
#include <stdexcept>

namespace {

// The definition, whole planes at a time in double: the window's five sums at each
// position where it fits, filtered along x, then along y.
double exactSimilarity(const LumaPlane& a, const LumaPlane& b) {
    const auto weights = [](int side) {
        const int radius = std::clamp((side - 1) / 2, 0, 5);
        std::vector<double> weights;
        for (int i = -radius; i <= radius; ++i) {
            weights.push_back(std::exp(-0.5 * i * i / (1.5 * 1.5)));
        }
        const double total = std::accumulate(weights.begin(), weights.end(), 0.0);
        for (double& weight : weights) {
            weight /= total;
        }
        return weights;
    };
    const std::vector<double> wx = weights(a.width);
    const std::vector<double> wy = weights(a.height);
    const int outWidth = a.width - static_cast<int>(wx.size()) + 1;
    const int outHeight = a.height - static_cast<int>(wy.size()) + 1;
    const auto moment = [&](const std::function<double(int, int)>& value) {
        std::vector<double> along(std::size_t(outWidth) * a.height);
        for (int y = 0; y < a.height; ++y) {
            for (int x = 0; x < outWidth; ++x) {
                for (std::size_t k = 0; k < wx.size(); ++k) {
                    along[y * outWidth + x] += wx[k] * value(x + static_cast<int>(k), y);
                }
            }
        }
        std::vector<double> across(std::size_t(outWidth) * outHeight);
        for (int y = 0; y < outHeight; ++y) {
            for (int x = 0; x < outWidth; ++x) {
                for (std::size_t k = 0; k < wy.size(); ++k) {
                    across[y * outWidth + x] += wy[k] * along[(y + k) * outWidth + x];
                }
            }
        }
        return across;
    };
    const auto ua = moment([&](int x, int y) { return double(a.at(x, y)); });
    const auto ub = moment([&](int x, int y) { return double(b.at(x, y)); });
    const auto aa = moment([&](int x, int y) { return double(a.at(x, y)) * a.at(x, y); });
    const auto bb = moment([&](int x, int y) { return double(b.at(x, y)) * b.at(x, y); });
    const auto ab = moment([&](int x, int y) { return double(a.at(x, y)) * b.at(x, y); });
    const double c1 = 6.5025, c2 = 58.5225;
    double total = 0;
    for (std::size_t i = 0; i < ua.size(); ++i) {
        const double va = aa[i] - ua[i] * ua[i], vb = bb[i] - ub[i] * ub[i];
        const double cov = ab[i] - ua[i] * ub[i];
        total += (2 * ua[i] * ub[i] + c1) * (2 * cov + c2) /
                 ((ua[i] * ua[i] + ub[i] * ub[i] + c1) * (va + vb + c2));
    }
    return total / static_cast<double>(ua.size());
}

LumaPlane lumaOf(const RgbPicture& picture) {
    TBitmap bitmap;
    fillBitmap(bitmap, picture);
    return LumaPlane::of(bitmap);
}

// The picture after a recompression at `quality`, as the program decodes it.
void recompress(const RgbPicture& picture, std::uint8_t quality, TBitmap& bitmap) {
    const std::vector<std::uint8_t> bytes = encodePicture(picture, quality);
    TMemoryStream stream;
    stream.writeBuffer(bytes.data(), bytes.size());
    stream.setPosition(0);
    TJPEGImage jpeg;
    jpeg.ReadFromStream(stream);
    bitmap.CopyFrom(&jpeg.Decode());
}

// A plane of `width` x `height` whose values `value(x, y, random)` gives.
LumaPlane plane(int width, int height, const std::function<int(int, int, std::mt19937&)>& value) {
    std::mt19937 random(width * 7919 + height);
    LumaPlane plane{width, height, {}};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            plane.values.push_back(static_cast<std::uint8_t>(value(x, y, random)));
        }
    }
    return plane;
}

int noise(std::mt19937& random, int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
}

// A camera-sized picture: the test picture's gradients and waves with a fine grain, which
// keeps every window's variance above nothing, as a photograph's is.
RgbPicture grainyPicture(int width, int height) {
    RgbPicture picture = makeTestPicture(width, height);
    std::uint32_t state = 2024;
    for (std::uint8_t& value : picture.rgb) {
        state = state * 1103515245 + 12345;
        value = static_cast<std::uint8_t>(std::clamp(value + int(state >> 16) % 17 - 8, 0, 255));
    }
    return picture;
}

} // namespace

// Pictures made to strain a float (squares of large values, variances as small differences,
// windows cut down to fit), then photographs recompressed hard, moderately and lightly.
TEST(SimilarityReference, AgreesWithTheDefinitionInDouble) {
    struct Case {
        std::string what;
        LumaPlane first;
        LumaPlane second;
    };
    const auto bright = [](int, int, std::mt19937& r) { return noise(r, 0, 9) == 0 ? 254 : 255; };
    const auto dark = [](int, int, std::mt19937& r) { return noise(r, 0, 2); };
    const auto any = [](int, int, std::mt19937& r) { return noise(r, 0, 255); };
    const auto squares = [](int x, int y, std::mt19937&) { return (x / 3 + y / 3) % 2 * 255; };
    const auto moved = [](int x, int y, std::mt19937&) { return ((x + 1) / 3 + y / 3) % 2 * 255; };
    const auto ramp = [](int x, int y, std::mt19937&) { return (x * 7 + y * 3) % 256; };
    std::vector<Case> cases{
        {"white with grains of one level", plane(300, 260, bright), plane(300, 260, bright)},
        {"near-black noise", plane(257, 301, dark), plane(257, 301, dark)},
        {"full-range noise", plane(200, 140, any), plane(200, 140, any)},
        {"hard edges moved by a pixel", plane(99, 133, squares), plane(99, 133, moved)},
        {"white against black", plane(40, 30, bright), plane(40, 30, dark)},
        {"one pixel", plane(1, 1, ramp), plane(1, 1, any)},
        {"narrower than the window", plane(4, 11, ramp), plane(4, 11, any)},
        {"lower than the window", plane(12, 3, ramp), plane(12, 3, squares)},
        {"one band and one row", plane(50, 139, ramp), plane(50, 139, any)},
    };
    for (const std::string name : {"astronaut", "camera", "coffee", "hubble", "moon"}) {
        if (const std::optional<RgbPicture> photo = Photographs::load(name)) {
            for (const std::uint8_t quality : {5, 60, 95}) {
                TBitmap candidate;
                recompress(*photo, quality, candidate);
                cases.push_back({name + " at " + std::to_string(quality), lumaOf(*photo),
                                 LumaPlane::of(candidate)});
            }
        }
    }
    double worst = 0;
    for (const Case& c : cases) {
        const double exact = exactSimilarity(c.first, c.second);
        const double fast = SimilarityReference(c.first).score(c.second).value();
        EXPECT_NEAR(fast, exact, 1e-5) << c.what;
        worst = std::max(worst, std::abs(fast - exact));
    }
    std::cout << "[ accuracy ] largest difference from the definition over " << cases.size()
              << " pairs: " << worst << '\n';
}

TEST(SimilarityReference, GivesTheSameScoreToTheBitWhateverTheThreadsAndPixelFormat) {
    const RgbPicture picture = makeTestPicture(211, 530); // five bands, the last one short
    TBitmap loaded;
    fillBitmap(loaded, picture);
    TBitmap candidate;
    recompress(picture, 30, candidate);
    const double once = SimilarityReference(loaded, 1).score(candidate).value();
    for (const unsigned threads : {2u, 3u, 8u, 0u}) {
        EXPECT_EQ(SimilarityReference(loaded, threads).score(candidate), once) << threads;
    }
    const SimilarityReference reference(loaded);
    EXPECT_EQ(reference.score(LumaPlane::of(candidate)), once);
    candidate.setPixelFormat(TPixelFormat::Bits32);
    EXPECT_EQ(reference.score(candidate), once);
    candidate.setPixelFormat(TPixelFormat::Bits8); // through the bitmap's own conversion
    EXPECT_EQ(reference.score(candidate), reference.score(LumaPlane::of(candidate)));
}

// Scores the program gave before the loaded picture's moments were worked out during each
// score: the same float operations in the same order must give the same bits.
TEST(SimilarityReference, ScoresLargePicturesAsTheStoredMomentsDid) {
    const RgbPicture picture = grainyPicture(6000, 4001); // the last band of an odd height
    TBitmap loaded;
    fillBitmap(loaded, picture);
    std::vector<TBitmap> candidates(2);
    recompress(picture, 75, candidates[0]);
    recompress(picture, 10, candidates[1]);
    struct Case {
        TPixelFormat loadedFormat;
        unsigned threads;
        std::array<double, 2> scores; // against the recompressions at 75 and at 10
    };
    const std::array<double, 2> fullColour{0x1.cbb3ad776a673p-1, 0x1.91f406cb01fc9p-1};
    const std::array<double, 2> plane{0x1.c5f26c6380fc1p-1, 0x1.8cba5bc05285dp-1};
    const std::vector<Case> cases{
        {TPixelFormat::Bits24, 0, fullColour},
        {TPixelFormat::Bits24, 1, fullColour},
        {TPixelFormat::Bits32, 0, fullColour},
        {TPixelFormat::Bits16, 0, plane}, // the brightness kept beside the picture
    };
    for (const Case& c : cases) {
        loaded.setPixelFormat(c.loadedFormat);
        TBitmap caller; // goes on writing to its picture once the reference is made
        caller.CopyFrom(&loaded);
        const SimilarityReference reference(caller, c.threads);
        std::fill_n(caller.scanLine(2000), 3000, 0);
        for (std::size_t i = 0; i < candidates.size(); ++i) {
            EXPECT_EQ(reference.score(candidates[i]), c.scores[i])
                << int(c.loadedFormat) << ' ' << c.threads << ' ' << i;
        }
    }
}

TEST(SimilarityReference, RefusesOtherSizesAndEmptyPicturesAndStops) {
    const LumaPlane wide = lumaOf(makeTestPicture(300, 200));
    const SimilarityReference reference(wide);
    EXPECT_THROW(reference.score(lumaOf(makeTestPicture(200, 300))), std::invalid_argument);
    EXPECT_THROW(SimilarityReference{LumaPlane{}}, std::invalid_argument);
    EXPECT_THROW(SimilarityReference{TBitmap{}}, std::invalid_argument);
    std::stop_source stop;
    stop.request_stop();
    EXPECT_EQ(reference.score(wide, stop.get_token()), std::nullopt);
    TBitmap bitmap;
    fillBitmap(bitmap, makeTestPicture(300, 200));
    EXPECT_THROW(SimilarityReference(bitmap, stop.get_token()), EAbort);
    // Its own memory: the brightness it was given, nothing beside pixels it shares.
    EXPECT_EQ(reference.memoryBytes(), 300 * 200);
    EXPECT_EQ(SimilarityReference(bitmap).memoryBytes(), 0);
    bitmap.setPixelFormat(TPixelFormat::Bits16);
    EXPECT_EQ(SimilarityReference(bitmap).memoryBytes(), 300 * 200);
}
