// The search for the lowest quality reaching a similarity, against trying every quality and
// against the bisection it replaces, on made-up curves and on photographs.

#include "recompress/SimilaritySearch.h"

#include "core/TMemoryStream.h"
#include "imaging/bmp/TBitmap.h"
#include "imaging/jpeg/TJPEGImage.h"
#include "imaging/similarity/SimilarityReference.h"
#include "recompress/EncodedSimilarity.h"
#include "recompress/QualityBisection.h"
#include "support/JpegTestPictures.h"
#include "support/Photographs.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <iostream>
#include <set>

namespace {

using Curve = std::vector<double>; // the similarity at each quality, 0 to 100

std::optional<int> lowestReaching(const Curve& curve, double aim) {
    const auto found = std::find_if(curve.begin(), curve.end(), [&](double s) { return s >= aim; });
    return found == curve.end() ? std::nullopt : std::optional<int>(found - curve.begin());
}

std::optional<int> bisection(const Curve& curve, double aim) {
    const int below = *QualityBisection::highestFitting(
        [&](int q) -> std::optional<bool> { return curve[static_cast<std::size_t>(q)] < aim; });
    return below == 100 ? std::nullopt : std::optional<int>(below + 1);
}

// Runs the search on `curve`, checking that no quality is tried twice and that the tries
// it reports are the ones it made.
SimilaritySearch::Outcome search(const Curve& curve, double aim) {
    std::set<int> tried;
    const auto outcome = SimilaritySearch::lowestReaching(aim, [&](int q) {
        EXPECT_TRUE(q >= 0 && q <= 100 && tried.insert(q).second) << "quality " << q;
        return std::optional<double>(curve[static_cast<std::size_t>(q)]);
    });
    EXPECT_EQ(outcome->tries, static_cast<int>(tried.size()));
    const std::size_t reported = outcome->quality ? std::size_t(*outcome->quality) : 100;
    EXPECT_EQ(outcome->similarity, curve[reported]);
    return *outcome;
}

Curve curveOf(const std::function<double(int)>& similarity) {
    Curve curve;
    for (int q = 0; q <= 100; ++q) {
        curve.push_back(similarity(q));
    }
    return curve;
}

// The quantiser scale at a quality, as the encoder sets it.
double scale(int q) {
    q = std::max(q, 1);
    return q < 50 ? 5000.0 / q : std::max(200.0 - 2 * q, 1.0);
}

// The centre of the photograph, at most 200 x 150: enough for its texture, and 101
// encodes of it stay quick.
RgbPicture centre(const RgbPicture& photo) {
    const int width = std::min(photo.width, 200), height = std::min(photo.height, 150);
    const int left = (photo.width - width) / 2, top = (photo.height - height) / 2;
    RgbPicture cut{width, height, {}};
    for (int y = top; y < top + height; ++y) {
        const auto row = photo.rgb.begin() + (std::ptrdiff_t(y) * photo.width + left) * 3;
        cut.rgb.insert(cut.rgb.end(), row, row + width * 3);
    }
    return cut;
}

// The similarity of the file that a recompression at each quality makes.
Curve photoCurve(const RgbPicture& photo) {
    TBitmap loaded;
    fillBitmap(loaded, photo);
    const SimilarityReference reference(loaded);
    return curveOf([&](int q) {
        const std::vector<std::uint8_t> bytes = encodePicture(photo, std::uint8_t(q));
        TMemoryStream stream;
        stream.writeBuffer(bytes.data(), bytes.size());
        return EncodedSimilarity::of(reference, stream, TJPEGDecodeDepth::Depth24).value();
    });
}

} // namespace

TEST(SimilaritySearch, FindsWhatTryingEveryQualityFindsOnCurvesThatGrow) {
    const std::vector<std::pair<const char*, Curve>> curves{
        {"typical photograph", curveOf([](int q) { return 1 - 0.0014 * std::pow(scale(q), 0.8); })},
        {"steep", curveOf([](int q) { return 1 - 0.0001 * std::pow(scale(q), 1.6); })},
        {"gentle, in steps of 4",
         curveOf([](int q) { return 0.7 + 0.003 * (q / 4 * 4) - (q == 100 ? 0 : 0.01); })},
        {"flat picture, identical at every quality", curveOf([](int) { return 1.0; })},
        {"noise, never close", curveOf([](int q) { return -0.2 + 0.007 * q; })},
        {"one jump", curveOf([](int q) { return q < 83 ? 0.5 : 0.99; })},
    };
    for (const auto& [name, curve] : curves) {
        for (const double aim : {-1.0, 0.3, 0.8, 0.9, 0.95, 0.98, 0.99, 0.995, 0.999, 1.0, 1.1}) {
            SCOPED_TRACE(testing::Message() << name << ", aim " << aim);
            const SimilaritySearch::Outcome found = search(curve, aim);
            EXPECT_EQ(found.quality, lowestReaching(curve, aim));
            EXPECT_EQ(found.quality, bisection(curve, aim));
            EXPECT_LE(found.tries, 12);
        }
    }
}

TEST(SimilaritySearch, AStoppedTryStopsTheSearch) {
    int tries = 0;
    const auto outcome = SimilaritySearch::lowestReaching(0.95, [&](int) -> std::optional<double> {
        return ++tries == 2 ? std::nullopt : std::optional<double>(0.9);
    });
    EXPECT_EQ(outcome, std::nullopt);
    EXPECT_EQ(tries, 2);
}

// Photographs saved before as JPEG files score best near the quality they were saved at,
// so their curves dip: there the answer must still be a quality that reaches the aim above
// one that falls short, and the lowest one as often as the bisection finds it.
TEST(SimilaritySearch, TakesFourTriesOnTheMedianPhotograph) {
    std::vector<int> tries;
    int missedLowest = 0, bisectionMissedLowest = 0;
    for (const std::string& name : Photographs::names()) {
        const std::optional<RgbPicture> photo = Photographs::load(name);
        if (!photo) {
            GTEST_SKIP() << "the photographs need python3-skimage and ImageMagick";
        }
        const Curve curve = photoCurve(centre(*photo));
        for (const double aim : {0.85, 0.9, 0.95, 0.97, 0.98, 0.99, 0.995}) {
            SCOPED_TRACE(testing::Message() << name << ", aim " << aim);
            const SimilaritySearch::Outcome found = search(curve, aim);
            tries.push_back(found.tries);
            if (found.quality) {
                EXPECT_GE(curve[std::size_t(*found.quality)], aim);
                EXPECT_TRUE(*found.quality == 0 || curve[std::size_t(*found.quality - 1)] < aim);
            } else {
                EXPECT_LT(curve[100], aim);
            }
            missedLowest += found.quality != lowestReaching(curve, aim);
            bisectionMissedLowest += bisection(curve, aim) != lowestReaching(curve, aim);
        }
    }
    std::sort(tries.begin(), tries.end());
    const int median = tries[tries.size() / 2];
    EXPECT_LE(median, 4);
    EXPECT_LE(missedLowest, bisectionMissedLowest);
    std::cout << "[ tries    ] median " << median << ", most " << tries.back() << ", over "
              << tries.size() << " searches; not the lowest answer " << missedLowest
              << " times, the bisection " << bisectionMissedLowest << " times\n";
}
