#include "recompress/SimilaritySearch.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// A typical photograph's curve, log(1 - similarity) = Slope x log(scale) + Intercept:
// the middle of what photographs of faces, animals, streets, textures and the sky give.
constexpr double TypicalSlope = 0.8;
constexpr double TypicalIntercept = -6.6;
// Slopes measured between two tries are kept within what photographs show, so two tries
// close together on a noisy stretch of curve do not send the next one far away.
constexpr double LeastSlope = 0.5;
constexpr double MostSlope = 3;
// The furthest one try moves from the nearest earlier one, on the logarithm of the scale:
// a factor of e, about 20 qualities around 75.
constexpr double LongestStep = 1;

// The percentage by which the encoder scales its quantisers at `quality` (quality 0 is
// taken as 1, and the tables stop shrinking at 100), on a logarithm.
double logScale(double quality) {
    const double q = std::max(quality, 1.0);
    return std::log(q < 50 ? 5000 / q : std::max(200 - 2 * q, 1.0));
}

double qualityOfLogScale(double logScale) {
    const double scale = std::exp(logScale);
    return scale >= 100 ? 5000 / scale : (200 - scale) / 2;
}

// How far from identical, on a logarithm; identical is taken as a hair short of it.
double logDistance(double similarity) {
    return std::log(std::max(1 - similarity, 1e-7));
}

} // namespace

std::optional<SimilaritySearch::Outcome>
SimilaritySearch::lowestReaching(double aim, const SimilarityAt& similarityAt) {
    SimilaritySearch search(aim);
    while (!search.done()) {
        const int quality = search.nextQuality();
        const std::optional<double> similarity = similarityAt(quality);
        if (!similarity) {
            return std::nullopt;
        }
        search.record(quality, *similarity);
    }
    return search.outcome();
}

int SimilaritySearch::nextQuality() const {
    const double crossing = expectedCrossing();
    const bool modelled = static_cast<int>(tried_.size()) < ModelTries && std::isfinite(crossing);
    const int guess = modelled ? static_cast<int>(std::lround(std::clamp(crossing, -1.0, 101.0)))
                               : (below_ + reaching_) / 2;
    return std::clamp(guess, below_ + 1, reaching_ - 1);
}

double SimilaritySearch::expectedCrossing() const {
    const double target = logDistance(aim_);
    if (tried_.empty()) {
        return qualityOfLogScale((target - TypicalIntercept) / TypicalSlope);
    }
    // From the end of the bracket nearest the aim: on a curve that grows, no try on the same
    // side of the aim is nearer.
    const auto distance = [&](int quality) {
        return tried_.count(quality) == 0 ? std::numeric_limits<double>::infinity()
                                          : std::abs(logDistance(tried_.at(quality)) - target);
    };
    const int from = distance(below_) <= distance(reaching_) ? below_ : reaching_;
    const double step = (target - logDistance(tried_.at(from))) / slopeFrom(from);
    return qualityOfLogScale(logScale(from) + std::clamp(step, -LongestStep, LongestStep));
}

// The slope between the bracket's two ends when both were tried, else between `from` and
// the other try nearest the aim; the typical slope after a single try.
double SimilaritySearch::slopeFrom(int from) const {
    int other = from == below_ ? reaching_ : below_;
    if (tried_.count(other) == 0) {
        const double target = logDistance(aim_);
        double closest = std::numeric_limits<double>::infinity();
        for (const auto& [quality, similarity] : tried_) {
            const double distance = std::abs(logDistance(similarity) - target);
            if (quality != from && distance < closest) {
                closest = distance;
                other = quality;
            }
        }
    }
    if (tried_.count(other) == 0 || logScale(other) == logScale(from)) {
        return TypicalSlope;
    }
    const double slope = (logDistance(tried_.at(other)) - logDistance(tried_.at(from))) /
                         (logScale(other) - logScale(from));
    return std::clamp(slope, LeastSlope, MostSlope);
}

void SimilaritySearch::record(int quality, double similarity) {
    tried_[quality] = similarity;
    (similarity >= aim_ ? reaching_ : below_) = quality;
}

SimilaritySearch::Outcome SimilaritySearch::outcome() const {
    Outcome outcome;
    outcome.tries = static_cast<int>(tried_.size());
    if (reaching_ <= 100) {
        outcome.quality = reaching_;
        outcome.similarity = tried_.at(reaching_);
    } else {
        outcome.similarity = tried_.at(100);
    }
    return outcome;
}
