#include "imaging/jpeg/JpegBlockQuantiser.h"

#include "imaging/jpeg/JpegRateModel.h"
#include "imaging/jpeg/JpegZigzag.h"

#include <algorithm>
#include <cmath>

namespace {

// Below half a step a coefficient is nearer zero than one step, which costs bits too.
constexpr float SmallestKept = 0.5f;
constexpr int LookBack = 12;
// The masking factor: (deviation + Quiet) / (Reference + Quiet), to this power, within the
// bounds. Gentle: a stronger one made files larger at the same similarity on photographs.
constexpr float MaskingStrength = 0.3f;
constexpr float MaskingFloor = 0.5f;
constexpr float MaskingCeiling = 2.0f;
constexpr float MaskingReference = 6.0f; // grey levels: a block of average texture
constexpr float MaskingQuiet = 2.0f;

// Halves away from zero, as the library rounds; quicker than lround, which sets errno.
std::int16_t nearest(float value) {
    return static_cast<std::int16_t>(value < 0.0f ? -static_cast<int>(0.5f - value)
                                                  : static_cast<int>(value + 0.5f));
}

} // namespace

// The search over one block, in zigzag order: for each position that may be kept, the
// cheapest coding of the block up to it that keeps it last.
struct JpegBlockQuantiser::Search {
    struct Choice {
        float cost;
        int previous; // position of the previous kept coefficient, 0 for none
        int magnitude;
    };

    float steps[64];  // |coefficient| in steps
    float zeroed[64]; // error of setting every coefficient up to k to zero
    Choice best[64];
    int kept[64]; // positions that may be kept, in order, the block's start first
    int keptCount = 1;
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
    Search search;
    search.kept[0] = 0;
    search.best[0] = {0.0f, 0, 0};
    search.zeroed[0] = 0.0f;
    for (int k = 1; k < 64; ++k) {
        const float steps = std::abs(coefficients[JpegZigzag::natural(k)]) * inverseSteps_[k];
        search.steps[k] = steps;
        search.zeroed[k] = search.zeroed[k - 1] + steps * steps;
        if (steps >= SmallestKept) {
            keep(search, k, lambda);
        }
    }
    std::fill(block, block + 64, std::int16_t{0});
    block[0] = nearest(coefficients[0] / dcStep_);
    for (int k = lastKept(search, lambda); k > 0; k = search.best[k].previous) {
        const int at = JpegZigzag::natural(k);
        const int magnitude = search.best[k].magnitude;
        block[at] = static_cast<std::int16_t>(coefficients[at] < 0 ? -magnitude : magnitude);
    }
}

// Tries the magnitudes either side of the coefficient after each recent kept position;
// zero is the business of the runs.
void JpegBlockQuantiser::keep(Search& search, int k, float lambda) const {
    const int up = static_cast<int>(search.steps[k]) + 1;
    Search::Choice choice{HUGE_VALF, 0, 0};
    // The best previous kept coefficient is nearly always among the last few; the block's
    // start stays a choice, for blocks better off with this one alone.
    const int oldest = std::max(1, search.keptCount - LookBack);
    // Rounding up only pays when it is also the nearer step: a larger magnitude never
    // costs fewer bits.
    const bool nearerUp = static_cast<float>(up) - search.steps[k] <= 0.5f;
    for (int magnitude = nearerUp ? up : up - 1; magnitude >= std::max(up - 1, 1); --magnitude) {
        const float error = search.steps[k] - static_cast<float>(magnitude);
        const float own = error * error;
        const int size = JpegRateModel::sizeOf(magnitude);
        auto consider = [&](int j) {
            const float cost = search.best[j].cost + (search.zeroed[k - 1] - search.zeroed[j]) +
                               own + lambda * rates_.runBits(k - j - 1, size);
            if (cost < choice.cost) {
                choice = {cost, j, magnitude};
            }
        };
        for (int i = search.keptCount - 1; i >= oldest; --i) {
            consider(search.kept[i]);
        }
        consider(0);
    }
    search.best[k] = choice;
    search.kept[search.keptCount++] = k;
}

// The block ends after its last kept coefficient, with an end-of-block symbol unless that
// is the last position.
int JpegBlockQuantiser::lastKept(const Search& search, float lambda) const {
    int last = 0;
    float lowest = HUGE_VALF;
    for (int i = 0; i < search.keptCount; ++i) {
        const int j = search.kept[i];
        const float end = j < 63 ? lambda * rates_.bits(JpegRateModel::EndOfBlock) : 0.0f;
        const float cost = search.best[j].cost + (search.zeroed[63] - search.zeroed[j]) + end;
        if (cost < lowest) {
            lowest = cost;
            last = j;
        }
    }
    return last;
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
