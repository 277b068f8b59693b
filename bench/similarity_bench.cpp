// The similarity score timed against the double-precision score the program had before, and
// the search for the lowest quality reaching a similarity against the bisection with that
// score, side by side in one run, on a photograph-like picture of 24 megapixels (and its
// recompression at quality 75 for the scores). Then the optimised coding's bytes and time
// against the baseline file's. main() prints the ratios at the end. Times are wall-clock:
// the all-cores cases do their work on other threads.

#include "DoubleSimilarity.h"
#include "core/TMemoryStream.h"
#include "imaging/bmp/TBitmap.h"
#include "imaging/jpeg/TJPEGData.h"
#include "imaging/jpeg/TJPEGImage.h"
#include "imaging/similarity/LumaRows.h"
#include "imaging/similarity/SimilarityReference.h"
#include "imaging/similarity/StructuralSimilarity.h"
#include "recompress/EncodedSimilarity.h"
#include "recompress/JpegDecodeOptions.h"
#include "recompress/QualityBisection.h"
#include "recompress/SimilaritySearch.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <map>
#include <optional>
#include <string>
#include <thread>

namespace {

constexpr int Width = 6000;
constexpr int Height = 4000;

// Smooth gradients, hard edges and a fine grain: neither flat colour nor noise.
void makePhotograph(TBitmap& bitmap) {
    bitmap.setPixelFormat(TPixelFormat::Bits24);
    bitmap.setSize(Width, Height);
    std::uint32_t noise = 12345;
    for (int y = 0; y < Height; ++y) {
        std::uint8_t* row = bitmap.scanLine(y);
        for (int x = 0; x < Width; ++x) {
            noise = noise * 1103515245 + 12345;
            const int grain = static_cast<int>((noise >> 16) % 13) - 6;
            const bool sky = y < Height * 2 / 5 + static_cast<int>(60 * std::sin(x * 0.004));
            const bool disc = std::hypot(x - Width * 0.7, y - Height * 0.3) < Height * 0.12;
            int r = sky ? 90 + y * 80 / Height : 70 + static_cast<int>(40 * std::sin(x * 0.01));
            int g = sky ? 140 + y * 60 / Height : 110 + static_cast<int>(30 * std::cos(y * 0.013));
            int b = sky ? 220 - y * 40 / Height : 50 + (x * y) % 23;
            if (disc) {
                r = 250, g = 230, b = 160;
            }
            row[3 * x] = static_cast<std::uint8_t>(std::clamp(b + grain, 0, 255));
            row[3 * x + 1] = static_cast<std::uint8_t>(std::clamp(g + grain, 0, 255));
            row[3 * x + 2] = static_cast<std::uint8_t>(std::clamp(r + grain, 0, 255));
        }
    }
}

struct Pictures {
    TBitmap loaded;
    TBitmap recompressed;
};

const Pictures& pictures() {
    static Pictures made;
    if (made.loaded.empty()) {
        makePhotograph(made.loaded);
        TJPEGImage jpeg;
        jpeg.CopyFrom(&made.loaded);
        jpeg.setQuality(75);
        jpeg.Encode();
        TMemoryStream& bytes = *jpeg.data().Bytes;
        bytes.setPosition(0);
        TJPEGImage decoded;
        decoded.ReadFromStream(bytes);
        made.recompressed.CopyFrom(&decoded.Decode());
    }
    return made;
}

const SimilarityReference& reference(unsigned threads) {
    static std::map<unsigned, SimilarityReference> made;
    auto found = made.find(threads);
    if (found == made.end()) {
        found = made.emplace(threads, SimilarityReference(pictures().loaded, threads)).first;
    }
    return found->second;
}

// Each case checks its score against the baseline's, so none can pass for doing less.
double baselineScore() {
    static const double score = [] {
        LumaRows loaded(pictures().loaded);
        LumaRows recompressed(pictures().recompressed);
        return doubleSimilarity(loaded, recompressed);
    }();
    return score;
}

void check(benchmark::State& state, double score) {
    if (std::abs(score - baselineScore()) > 1e-4) {
        state.SkipWithError("the score differs from the baseline's");
    }
    state.counters["score"] = score;
}

void Score_Double(benchmark::State& state) {
    double score = 0;
    for (auto _ : state) {
        LumaRows loaded(pictures().loaded);
        LumaRows recompressed(pictures().recompressed);
        score = doubleSimilarity(loaded, recompressed);
    }
    check(state, score);
}

// A candidate scored against a reference made beforehand, as each try of a search is. The
// cores counter is the process's processor time over the wall-clock time: how many cores
// the score kept busy.
void Score_Reference(benchmark::State& state) {
    const SimilarityReference& loaded = reference(static_cast<unsigned>(state.range(0)));
    double score = 0;
    const std::clock_t processor = std::clock();
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        score = loaded.score(pictures().recompressed).value();
    }
    const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - start;
    state.counters["cores"] = double(std::clock() - processor) / CLOCKS_PER_SEC / wall.count();
    check(state, score);
}

// The reference made and one candidate scored: a score on its own, as the
// StructuralSimilarity::mean signatures give.
void Score_OneOff(benchmark::State& state) {
    double score = 0;
    for (auto _ : state) {
        LumaRows loaded(pictures().loaded);
        LumaRows recompressed(pictures().recompressed);
        score = StructuralSimilarity::mean(loaded, recompressed).value();
    }
    check(state, score);
}

void Reference_Make(benchmark::State& state) {
    std::size_t bytes = 0;
    for (auto _ : state) {
        SimilarityReference made(pictures().loaded, static_cast<unsigned>(state.range(0)));
        bytes = made.memoryBytes();
    }
    state.counters["bytes_per_pixel"] = double(bytes) / (double(Width) * Height);
}

// The reference made and `scores` candidates scored against it: the tooltip of the first
// preview of a picture (one score), and a search's share of the similarity work (four).
void scoresAfterReference(benchmark::State& state, int scores) {
    double score = 0;
    for (auto _ : state) {
        const SimilarityReference loaded(pictures().loaded, static_cast<unsigned>(state.range(0)));
        for (int i = 0; i < scores; ++i) {
            score = loaded.score(pictures().recompressed).value();
        }
    }
    check(state, score);
}

void Score_First(benchmark::State& state) {
    scoresAfterReference(state, 1);
}

void Score_FourAfterReference(benchmark::State& state) {
    scoresAfterReference(state, 4);
}

// The aim of the searches: reached at a middle quality by this picture, whose grain keeps
// its similarity lower than a photograph's.
constexpr double Aim = 0.9;

TMemoryStream& encodeAt(TJPEGImage& jpeg, int quality) {
    jpeg.setQuality(static_cast<std::uint8_t>(quality));
    jpeg.Encode();
    return *jpeg.data().Bytes;
}

// What --min-ssim did: halving the qualities, each try encoded, decoded as the panes decode
// it and scored in double against the loaded picture.
void MinSimilarity_Bisection(benchmark::State& state) {
    int tries = 0, found = 0;
    for (auto _ : state) {
        TJPEGImage jpeg;
        jpeg.CopyFrom(&pictures().loaded);
        tries = 0;
        found = 1 + *QualityBisection::highestFitting([&](int quality) {
                    ++tries;
                    TMemoryStream& bytes = encodeAt(jpeg, quality);
                    bytes.setPosition(0);
                    TJPEGImage shown;
                    shown.ReadFromStream(bytes);
                    JpegDecodeOptions::decodeForPanes(shown, TJPEGDecodeDepth::Depth24);
                    LumaRows loaded(pictures().loaded);
                    LumaRows preview(shown.Decode());
                    return std::optional<bool>(doubleSimilarity(loaded, preview) < Aim);
                });
    }
    state.counters["tries"] = tries;
    state.counters["quality"] = found;
}

// The same answer from the search, the loaded picture's reference made once, on every core.
void MinSimilarity_Search(benchmark::State& state) {
    int tries = 0, found = 0;
    for (auto _ : state) {
        TJPEGImage jpeg;
        jpeg.CopyFrom(&pictures().loaded);
        const SimilarityReference loaded(pictures().loaded);
        const auto outcome = SimilaritySearch::lowestReaching(Aim, [&](int quality) {
            return EncodedSimilarity::of(loaded, encodeAt(jpeg, quality),
                                         TJPEGDecodeDepth::Depth24);
        });
        tries = outcome->tries;
        found = outcome->quality.value_or(101);
    }
    state.counters["tries"] = tries;
    state.counters["quality"] = found;
}

// One encode at quality 75, baseline or with optimised tables and progressive scans.
void Encode(benchmark::State& state) {
    TJPEGImage jpeg;
    jpeg.CopyFrom(&pictures().loaded);
    jpeg.setOptimizedCoding(state.range(0) == 1);
    std::int64_t bytes = 0;
    for (auto _ : state) {
        bytes = encodeAt(jpeg, 75).size();
    }
    state.counters["bytes"] = static_cast<double>(bytes);
}

BENCHMARK(Score_Double)->Unit(benchmark::kMillisecond)->UseRealTime();
// The argument is the number of threads, 0 for one a core.
BENCHMARK(Score_Reference)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(Score_OneOff)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(Reference_Make)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(Score_First)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(Score_FourAfterReference)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();
// Each a whole search, tens of seconds for the bisection: once is enough.
BENCHMARK(MinSimilarity_Bisection)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(MinSimilarity_Search)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
// 0 baseline, 1 optimised coding.
BENCHMARK(Encode)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// Keeps the median times of every case so the ratios can be printed after the run: the
// processor time of the thread that runs the case, steady on a busy machine, for work done
// on that one thread; the wall-clock time where other threads share the work.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    enum class Clock { Thread, Wall };

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration) {
                std::string key = run.run_name.function_name;
                if (!run.run_name.args.empty()) {
                    key += "/" + run.run_name.args;
                }
                samples_[key + ":wall"].push_back(run.GetAdjustedRealTime());
                samples_[key + ":thread"].push_back(run.GetAdjustedCPUTime());
                for (const auto& [name, counter] : run.counters) {
                    counters_[key + ":" + name] = counter.value;
                }
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    std::optional<double> time(const std::string& key) const {
        const auto found = samples_.find(key);
        if (found == samples_.end()) {
            return std::nullopt;
        }
        std::vector<double> sorted = found->second;
        std::sort(sorted.begin(), sorted.end());
        const std::size_t middle = sorted.size() / 2;
        return sorted.size() % 2 == 1 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
    }

    void printRatio(const std::string& what, const std::string& slow, const std::string& fast,
                    Clock clock, const char* target = "") const {
        const std::string suffix = clock == Clock::Wall ? ":wall" : ":thread";
        const std::optional<double> a = time(slow + suffix);
        const std::optional<double> b = time(fast + suffix);
        if (a && b) {
            std::printf("| %-54s | %9.1f ms | %9.1f ms | %6.2f | %-8s |\n", what.c_str(), *a, *b,
                        *a / *b, target);
        }
    }

    double counter(const std::string& key) const {
        const auto found = counters_.find(key);
        return found == counters_.end() ? 0 : found->second;
    }

private:
    std::map<std::string, std::vector<double>> samples_;
    std::map<std::string, double> counters_;
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\n24 megapixels, %u cores\n", std::thread::hardware_concurrency());
    std::printf("| %-54s | before       | after        | ratio  | target   |\n", "");
    std::printf("|%s|--------------|--------------|--------|----------|\n",
                std::string(56, '-').c_str());
    using Clock = RatioReporter::Clock;
    reporter.printRatio("score: double / reference, one core", "Score_Double", "Score_Reference/1",
                        Clock::Thread, ">= 8");
    reporter.printRatio("score: double / reference, all cores (wall)", "Score_Double",
                        "Score_Reference/0", Clock::Wall);
    reporter.printRatio("score: double / one-off score, all cores (wall)", "Score_Double",
                        "Score_OneOff", Clock::Wall);
    reporter.printRatio("making the reference: one core / all cores (wall)", "Reference_Make/1",
                        "Reference_Make/0", Clock::Wall);
    reporter.printRatio("first score: double / reference and score, one core", "Score_Double",
                        "Score_First/1", Clock::Thread);
    reporter.printRatio("first score: double / reference and score, all cores (wall)",
                        "Score_Double", "Score_First/0", Clock::Wall);
    reporter.printRatio("lowest quality reaching 0.9: bisection / search (wall)",
                        "MinSimilarity_Bisection", "MinSimilarity_Search", Clock::Wall);
    reporter.printRatio("encode at 75: optimised coding / baseline", "Encode/1", "Encode/0",
                        Clock::Thread);
    std::printf("\nsearch: %g tries for quality %g; bisection: %g tries for quality %g\n",
                reporter.counter("MinSimilarity_Search:tries"),
                reporter.counter("MinSimilarity_Search:quality"),
                reporter.counter("MinSimilarity_Bisection:tries"),
                reporter.counter("MinSimilarity_Bisection:quality"));
    std::printf("the reference holds %g bytes a pixel of its own\n",
                reporter.counter("Reference_Make/0:bytes_per_pixel"));
    const double baseline = reporter.counter("Encode/0:bytes");
    const double optimized = reporter.counter("Encode/1:bytes");
    if (baseline > 0) {
        std::printf("optimised coding at 75: %.0f bytes against %.0f, %.1f %% fewer\n", optimized,
                    baseline, 100 * (1 - optimized / baseline));
    }
    benchmark::Shutdown();
    return 0;
}
