#pragma once

#include <optional>
#include <stop_token>

class LumaRows;
struct LumaPlane;

// The mean structural similarity of two brightness planes of the same size: local means,
// variances and covariance under an 11 x 11 Gaussian window (sigma 1.5), the constants
// (0.01 x 255)^2 and (0.03 x 255)^2, averaged over the positions where the whole window
// lies inside the picture. A side shorter than 11 pixels gets the widest odd window that
// fits. One score between two pictures; to score several against the same picture, keep a
// SimilarityReference of it, which reads a picture of 24 or 32 bits in place instead of
// gathering its brightness for each score, and says what memory it holds.
class StructuralSimilarity {
public:
    // 1 for identical planes. Nothing when `stop` is requested before the end; planes of
    // different or empty sizes are refused with std::invalid_argument.
    static std::optional<double> mean(const LumaPlane& first, const LumaPlane& second,
                                      std::stop_token stop = {});
    // The same, on rows worked out from the pictures.
    static std::optional<double> mean(LumaRows& first, LumaRows& second, std::stop_token stop = {});

    static constexpr int WindowRadius = 5;
    static constexpr double Sigma = 1.5;
};
