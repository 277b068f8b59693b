#include "imaging/jpeg/JpegBlockQuantiser.h"

#include "imaging/jpeg/JpegRateModel.h"
#include "imaging/jpeg/JpegZigzag.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

float tuning(const char* name, float fallback) {
    const char* text = std::getenv(name);
    return text ? std::strtof(text, nullptr) : fallback;
}

// Below this many steps a coefficient is not worth a symbol at any cost of the error.
const float SmallestKept = tuning("LOOK_SMALLEST", 0.4f);
const float MaskingStrength = tuning("LOOK_MASK", 0.5f);
const float MaskingFloor = tuning("LOOK_MASKLO", 0.5f);
const float MaskingCeiling = tuning("LOOK_MASKHI", 2.0f);
const float MaskingReference = tuning("LOOK_MASKREF", 6.0f);
const float MaskingQuiet = tuning("LOOK_MASKQUIET", 2.0f);

std::int16_t nearest(float value) {
    return static_cast<std::int16_t>(std::lround(value));
}

} // namespace

struct JpegBlockQuantiser::Choice {
    float cost;
    int previous; // position of the previous kept coefficient, 0 for none
    int magnitude;
};

JpegBlockQuantiser::JpegBlockQuantiser(const JpegLookTables::Table& table,
                                       const JpegRateModel& rates, float lambda)
    : dcStep_(table[0]), rates_(rates), lambda_(lambda) {
    for (int k = 0; k < 64; ++k) {
        inverseSteps_[k] =
            1.0f / static_cast<float>(table[static_cast<std::size_t>(JpegZigzag::natural(k))]);
    }
}

void JpegBlockQuantiser::round(const float* coefficients, std::int16_t* block) const {
    block[0] = nearest(coefficients[0] / dcStep_);
    for (int k = 1; k < 64; ++k) {
        const int at = JpegZigzag::natural(k);
        block[at] = nearest(coefficients[at] * inverseSteps_[k]);
    }
}

void JpegBlockQuantiser::choose(const float* coefficients, float masking,
                                std::int16_t* block) const {
    const float lambda = lambda_ * masking;
    float steps[64];  // |coefficient| in steps, zigzag order
    float zeroed[64]; // error of every coefficient up to k set to zero
    Choice best[64];  // best coding that keeps coefficient k last
    int kept[64];     // positions that may be kept, in order
    int keptCount = 1;
    kept[0] = 0;
    best[0] = {0.0f, 0, 0};
    zeroed[0] = 0.0f;
    for (int k = 1; k < 64; ++k) {
        steps[k] = std::abs(coefficients[JpegZigzag::natural(k)]) * inverseSteps_[k];
        zeroed[k] = zeroed[k - 1] + steps[k] * steps[k];
        if (steps[k] < SmallestKept) {
            continue;
        }
        // The magnitudes either side of the coefficient; zero is the run's business.
        const int up = static_cast<int>(steps[k]) + 1;
        const int down = up - 1;
        Choice choice{HUGE_VALF, 0, 0};
        for (int magnitude = up; magnitude >= std::max(down, 1); --magnitude) {
            const float error = steps[k] - static_cast<float>(magnitude);
            const float own = error * error;
            const int size = JpegRateModel::sizeOf(magnitude);
            for (int i = keptCount - 1; i >= 0; --i) {
                const int j = kept[i];
                const float cost = best[j].cost + (zeroed[k - 1] - zeroed[j]) + own +
                                   lambda * rates_.runBits(k - j - 1, size);
                if (cost < choice.cost) {
                    choice = {cost, j, magnitude};
                }
            }
        }
        best[k] = choice;
        kept[keptCount++] = k;
    }
    // The block ends after its last kept coefficient, with an end-of-block symbol unless
    // that is the last position.
    int last = 0;
    float lowest = HUGE_VALF;
    for (int i = 0; i < keptCount; ++i) {
        const int j = kept[i];
        const float end = j < 63 ? lambda * rates_.bits(JpegRateModel::EndOfBlock) : 0.0f;
        const float cost = best[j].cost + (zeroed[63] - zeroed[j]) + end;
        if (cost < lowest) {
            lowest = cost;
            last = j;
        }
    }
    std::fill(block, block + 64, std::int16_t{0});
    block[0] = nearest(coefficients[0] / dcStep_);
    for (int k = last; k > 0; k = best[k].previous) {
        const int at = JpegZigzag::natural(k);
        const int magnitude = best[k].magnitude;
        block[at] = static_cast<std::int16_t>(coefficients[at] < 0 ? -magnitude : magnitude);
    }
}

float JpegBlockQuantiser::masking(const float* samples) {
    float quietest = HUGE_VALF;
    for (int quadrant = 0; quadrant < 4; ++quadrant) {
        const int top = (quadrant / 2) * 4;
        const int left = (quadrant % 2) * 4;
        float sum = 0.0f;
        float squares = 0.0f;
        for (int y = top; y < top + 4; ++y) {
            for (int x = left; x < left + 4; ++x) {
                const float value = samples[y * 8 + x];
                sum += value;
                squares += value * value;
            }
        }
        const float mean = sum / 16.0f;
        quietest = std::min(quietest, squares / 16.0f - mean * mean);
    }
    const float deviation = std::sqrt(std::max(quietest, 0.0f));
    const float ratio = (deviation + MaskingQuiet) / (MaskingReference + MaskingQuiet);
    return std::clamp(std::pow(ratio, MaskingStrength), MaskingFloor, MaskingCeiling);
}
