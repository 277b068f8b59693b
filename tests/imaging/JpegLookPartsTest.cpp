// The parts of the smallest coding that its files cannot show on their own: the transform's
// scale and the symbols the cost model counts.

#include "imaging/jpeg/JpegForwardDct.h"
#include "imaging/jpeg/JpegRateModel.h"
#include "imaging/jpeg/JpegZigzag.h"

#include <cmath>
#include <gtest/gtest.h>
#include <random>

TEST(JpegLookParts, TransformMatchesTheDefinitionInDouble) {
    std::mt19937 random(7);
    std::uniform_real_distribution<float> level(-128.0f, 127.0f);
    const double pi = std::acos(-1.0);
    for (const char* kind : {"flat", "ramp", "noise"}) {
        SCOPED_TRACE(kind);
        float samples[64];
        for (int i = 0; i < 64; ++i) {
            const std::string name = kind;
            samples[i] = name == "flat"   ? 50.0f
                         : name == "ramp" ? float(i % 8 * 20 - 70)
                                          : level(random);
        }
        float coefficients[64];
        JpegForwardDct::transform(samples, coefficients);
        for (int v = 0; v < 8; ++v) {
            for (int u = 0; u < 8; ++u) {
                double sum = 0.0;
                for (int y = 0; y < 8; ++y) {
                    for (int x = 0; x < 8; ++x) {
                        sum += samples[y * 8 + x] * std::cos((2 * x + 1) * u * pi / 16) *
                               std::cos((2 * y + 1) * v * pi / 16);
                    }
                }
                const double scale =
                    (u == 0 ? std::sqrt(0.5) : 1.0) * (v == 0 ? std::sqrt(0.5) : 1.0) / 4;
                EXPECT_NEAR(coefficients[v * 8 + u], scale * sum, 2e-3) << u << "," << v;
            }
        }
    }
}

// Runs of sixteen zeros or more take zero-run symbols first; a block that ends in zeros takes
// an end-of-block symbol. What was counted becomes cheap, what never was dear.
TEST(JpegLookParts, RateModelCountsTheSymbolsTheCoderWrites) {
    struct Case {
        int position; // zigzag position of the block's only AC coefficient
        int value;
        int symbol;
        bool zeroRun;
        bool endOfBlock;
    };
    for (const Case& c : {Case{1, 1, 0x01, false, true}, Case{5, -3, 0x42, false, true},
                          Case{20, 100, 0x37, true, true}, Case{63, 1, 0xE1, true, false}}) {
        SCOPED_TRACE(c.position);
        std::int16_t block[64] = {};
        block[JpegZigzag::natural(c.position)] = static_cast<std::int16_t>(c.value);
        JpegRateModel model;
        for (int i = 0; i < 1000; ++i) {
            model.count(block);
        }
        model.learn();
        EXPECT_LT(model.bits(c.symbol), 3.0f);
        EXPECT_EQ(model.bits(JpegRateModel::ZeroRun) < 3.0f, c.zeroRun);
        EXPECT_EQ(model.bits(JpegRateModel::EndOfBlock) < 3.0f, c.endOfBlock);
        EXPECT_GT(model.bits(0x11), 10.0f);
    }
    for (const auto& [magnitude, size] :
         {std::pair(0, 0), std::pair(1, 1), std::pair(-1, 1), std::pair(3, 2), std::pair(255, 8),
          std::pair(-1023, 10)}) {
        EXPECT_EQ(JpegRateModel::sizeOf(magnitude), size) << magnitude;
    }
}
