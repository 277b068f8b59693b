#include "imaging/jpeg/JpegRateModel.h"

#include "imaging/jpeg/JpegZigzag.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdlib>

int JpegRateModel::sizeOf(int magnitude) {
    return std::bit_width(static_cast<unsigned>(std::abs(magnitude)));
}

void JpegRateModel::count(const std::int16_t* block) {
    int run = 0;
    for (int k = 1; k < 64; ++k) {
        const int value = block[JpegZigzag::natural(k)];
        if (value == 0) {
            ++run;
            continue;
        }
        counts_[ZeroRun] += static_cast<std::uint64_t>(run >> 4);
        ++counts_[static_cast<std::size_t>((run & 15) << 4 | sizeOf(value))];
        run = 0;
    }
    if (run > 0) {
        ++counts_[EndOfBlock];
    }
}

void JpegRateModel::add(const JpegRateModel& other) {
    for (std::size_t i = 0; i < counts_.size(); ++i) {
        counts_[i] += other.counts_[i];
    }
}

void JpegRateModel::learn() {
    // Half a count for each symbol keeps those never seen possible, at a high cost.
    double total = 0.0;
    for (const std::uint64_t count : counts_) {
        total += static_cast<double>(count) + 0.5;
    }
    for (std::size_t i = 0; i < counts_.size(); ++i) {
        const double share = (static_cast<double>(counts_[i]) + 0.5) / total;
        // A Huffman code spends at least one bit and at most sixteen on a symbol.
        bits_[i] = static_cast<float>(std::clamp(-std::log2(share), 1.0, 16.0));
    }
}
