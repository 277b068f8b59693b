#include "imaging/jpeg/JpegLookCoder.h"

#include "imaging/bmp/TBitmap.h"
#include "imaging/jpeg/JpegBlockQuantiser.h"
#include "imaging/jpeg/JpegColourBand.h"
#include "imaging/jpeg/JpegForwardDct.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <stop_token>
#include <thread>

namespace {

// Bits worth one squared step of error, up to quality 50. Above, the steps shrink and so
// does this, with them: at high qualities files are judged by their worst blocks, and
// rounding to the nearest step keeps those best.
constexpr float Lambda = 0.1f;

} // namespace

JpegLookCoder::JpegLookCoder(const TBitmap& rgb, const JpegLookTables& tables)
    : rgb_(rgb), tables_(tables), width_(rgb.width()), height_(rgb.height()) {}

float JpegLookCoder::lambda() const {
    return Lambda * std::min(tables_.stepScale(), 1.0f);
}

int JpegLookCoder::bandCount() const {
    const int bandHeight = tables_.subsampledChroma() ? 16 : 8;
    return (height_ + bandHeight - 1) / bandHeight;
}

void JpegLookCoder::code(const std::array<JBLOCKARRAY, 3>& planes, const Progress& progress) {
    learnRates(progress);
    quantise(planes, progress);
}

void JpegLookCoder::learnRates(const Progress& progress) {
    std::array<std::array<JpegRateModel, 2>, 2> seen{}; // by worker, then luma and chroma
    shareBands(
        learningBands(),
        [&](JpegColourBand& band, int index, int worker) {
            band.fill(rgb_, index * LearningStride);
            countBand(band, seen[static_cast<std::size_t>(worker)]);
        },
        progress, 0);
    for (std::size_t table = 0; table < 2; ++table) {
        rates_[table].add(seen[0][table]);
        rates_[table].add(seen[1][table]);
        rates_[table].learn();
    }
}

// The symbols of the band's blocks rounded to the nearest steps.
void JpegLookCoder::countBand(const JpegColourBand& band,
                              std::array<JpegRateModel, 2>& seen) const {
    const JpegBlockQuantiser luma(tables_.luma(), rates_[0], lambda());
    const JpegBlockQuantiser chroma(tables_.chroma(), rates_[1], lambda());
    float samples[64];
    float coefficients[64];
    std::int16_t block[64];
    for (int c = 0; c < 3; ++c) {
        for (int y = 0; y < band.blocksDown(c); ++y) {
            for (int x = 0; x < band.blocksAcross(c); ++x) {
                band.block(c, x, y, samples);
                JpegForwardDct::transform(samples, coefficients);
                (c == 0 ? luma : chroma).round(coefficients, block);
                seen[c == 0 ? 0 : 1].count(block);
            }
        }
    }
}

void JpegLookCoder::quantise(const std::array<JBLOCKARRAY, 3>& planes, const Progress& progress) {
    shareBands(
        bandCount(),
        [&](JpegColourBand& band, int index, int) {
            band.fill(rgb_, index);
            quantiseBand(band, index, planes);
        },
        progress, learningBands());
}

void JpegLookCoder::quantiseBand(const JpegColourBand& band, int index,
                                 const std::array<JBLOCKARRAY, 3>& planes) const {
    const JpegBlockQuantiser luma(tables_.luma(), rates_[0], lambda());
    const JpegBlockQuantiser chroma(tables_.chroma(), rates_[1], lambda());
    float samples[64];
    float coefficients[64];
    for (int c = 0; c < 3; ++c) {
        const JpegBlockQuantiser& quantiser = c == 0 ? luma : chroma;
        const int down = band.blocksDown(c);
        for (int y = 0; y < down; ++y) {
            JBLOCKROW row = planes[static_cast<std::size_t>(c)][index * down + y];
            for (int x = 0; x < band.blocksAcross(c); ++x) {
                band.block(c, x, y, samples);
                JpegForwardDct::transform(samples, coefficients);
                quantiser.choose(coefficients, JpegBlockQuantiser::masking(samples), row[x]);
            }
        }
    }
}

// The calling thread and one helper take bands in turn; only the calling thread reports.
void JpegLookCoder::shareBands(int count, const PerBand& perBand, const Progress& progress,
                               int before) {
    const int total = learningBands() + bandCount();
    std::atomic<int> next{0};
    std::atomic<int> done{0};
    std::exception_ptr helperError;
    auto work = [&](std::stop_token stop, int worker) {
        JpegColourBand band(width_, height_, tables_.subsampledChroma());
        for (int i = next++; i < count && !stop.stop_requested(); i = next++) {
            perBand(band, i, worker);
            ++done;
            if (worker == 0) {
                progress(before + done, total);
            }
        }
    };
    std::jthread helper([&](std::stop_token stop) {
        try {
            work(stop, 1);
        } catch (...) {
            helperError = std::current_exception();
        }
    });
    work({}, 0); // a throw stops and joins the helper on the way out
    helper.join();
    if (helperError) {
        std::rethrow_exception(helperError);
    }
}
