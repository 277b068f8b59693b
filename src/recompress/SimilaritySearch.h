#pragma once

#include <functional>
#include <map>
#include <optional>

// Finds the lowest JPEG quality, 0 to 100, whose similarity to the loaded picture reaches an
// aim, in few tries: each encode, decode and score of a large photograph costs more than
// the rest of a recompression, and halving the range takes 7.
//
// It keeps the bisection's bracket (a quality known to fall short, one known to reach, the
// answer the one just above the first when they are neighbours), but picks each try where
// the similarity curve is expected to cross the aim: the encoder scales its quantisers by
// 5000 / q below 50 and by 200 - 2q above, and one minus the similarity grows about as a
// power of that scale, so the curve is nearly straight on logarithms of both. The first
// try follows a typical photograph's curve; later ones step from the end of the bracket
// nearest the aim along the slope between the tries closest to it. Photographs take 3 or 4
// tries. After 5 tries the rest is halved, so a curve that misleads the model (a picture
// of one flat colour, identical at every quality) still ends, within 12 tries.
//
// Like the bisection it relies on the similarity growing with the quality, and then gives
// the same answer. Where a picture's curve dips (a photograph saved before at one of these
// qualities scores best near it), the answer still reaches the aim with the quality below
// it falling short, but a lower quality elsewhere may reach it too, as with the bisection.
class SimilaritySearch {
public:
    // The similarity at `quality`; nothing stops the search, which then gives nothing too.
    using SimilarityAt = std::function<std::optional<double>(int quality)>;

    struct Outcome {
        // The lowest quality reaching the aim (0 when even quality 0 does); nothing when
        // quality 100 falls short.
        std::optional<int> quality;
        // At `quality`; when none reaches, at quality 100, the encoder's finest.
        double similarity = 0;
        // Qualities tried, each once.
        int tries = 0;
    };

    // A try that reaches the aim is lower than every earlier one that did, so the last
    // reaching try is the answer: a caller may keep the file of that try instead of
    // encoding the answer again.
    static std::optional<Outcome> lowestReaching(double aim, const SimilarityAt& similarityAt);

    static constexpr int ModelTries = 5;

private:
    explicit SimilaritySearch(double aim) : aim_(aim) {}

    bool done() const { return reaching_ - below_ <= 1; }
    int nextQuality() const;
    double expectedCrossing() const;
    double slopeFrom(int from) const;
    void record(int quality, double similarity);
    Outcome outcome() const;

    double aim_;
    std::map<int, double> tried_;
    int below_ = -1;     // the highest quality known to fall short, or -1
    int reaching_ = 101; // the lowest quality known to reach, or 101
};
