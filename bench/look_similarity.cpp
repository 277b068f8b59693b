// The program's own similarity of JPEG files to the picture they were made from, for
// bench/look_bench.sh:
//   look_similarity SOURCE.bmp FILE.jpg...
// prints one line a file, "FILE SCORE", each file decoded as the window's panes decode it and
// scored as the size readout's tooltip scores it. The source's reference is made once, so a
// whole quality sweep costs one score a file. A file that cannot be read or is of another
// size gets "FILE error: WHY" and the others are still scored; the exit code is then 1.
#include "core/TMemoryStream.h"
#include "imaging/bmp/TBitmap.h"
#include "imaging/similarity/SimilarityReference.h"
#include "recompress/EncodedSimilarity.h"

#include <cstdio>
#include <exception>
#include <string>

namespace {

bool printScore(const SimilarityReference& source, const std::string& file) {
    try {
        TMemoryStream bytes;
        bytes.loadFromFile(file);
        const auto score = EncodedSimilarity::of(source, bytes, TJPEGDecodeDepth::Depth24);
        std::printf("%s %.6f\n", file.c_str(), score.value_or(0.0));
        return true;
    } catch (const std::exception& error) {
        std::printf("%s error: %s\n", file.c_str(), error.what());
        return false;
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: look_similarity SOURCE.bmp FILE.jpg...\n");
        return 2;
    }
    try {
        TBitmap picture;
        picture.ReadFromFile(argv[1]);
        // One thread: the script already runs one of these a core.
        const SimilarityReference source(picture, 1);
        bool allScored = true;
        for (int i = 2; i < argc; ++i) {
            allScored = printScore(source, argv[i]) && allScored;
        }
        return allScored ? 0 : 1;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s: %s\n", argv[1], error.what());
        return 1;
    }
}
