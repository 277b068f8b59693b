#pragma once

#include <vector>

// The Lanczos-3 weights of one axis, worked out once: for each output pixel, the first source
// pixel it takes and the weights of the source pixels from there, normalised to sum 1. The
// filter is sin(pi x)/(pi x) x sin(pi x/3)/(pi x/3) for |x| < 3, stretched by the reduction
// factor when shrinking; source pixels beyond the picture's edge are left out and the others
// weigh more, as ImageMagick does.
class LanczosWeights {
public:
    LanczosWeights(int sourceSize, int outputSize);

    int outputSize() const { return static_cast<int>(first_.size()); }
    // Source pixels first(i) .. first(i) + count(i) - 1 make output pixel i.
    int first(int output) const { return first_[static_cast<std::size_t>(output)]; }
    int count(int output) const { return count_[static_cast<std::size_t>(output)]; }
    // count(i) weights, then zeros up to stride().
    const float* weights(int output) const {
        return weights_.data() +
               static_cast<std::size_t>(output) * static_cast<std::size_t>(stride_);
    }
    int stride() const { return stride_; }
    // The output pixels source pixel `source` contributes to lie in this range (empty when
    // last < first); both ends grow with `source`.
    int firstOutputOf(int source) const;
    int lastOutputOf(int source) const;
    // The most output pixels that any one source pixel contributes to.
    int mostOutputsOfOneSource() const;

    static constexpr double Lobes = 3.0;
    static double kernel(double x);

private:
    std::vector<int> first_;
    std::vector<int> count_;
    std::vector<float> weights_;
    int stride_ = 0;
};
