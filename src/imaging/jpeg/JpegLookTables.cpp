#include "imaging/jpeg/JpegLookTables.h"

#include <algorithm>

namespace {

// Published luma and chroma tables for photographs: flatter than the classic ones at the
// lowest frequencies, where the eye sees banding first, and steeper at the highest, where
// photographs carry mostly noise.
constexpr JpegLookTables::Table LumaBase = {
    16, 16, 16, 18,  25,  37,  56,  85,  16, 17, 20,  27,  34,  40,  53,  75,
    16, 20, 24, 31,  43,  62,  91,  135, 18, 27, 31,  40,  53,  74,  106, 156,
    25, 34, 43, 53,  69,  94,  131, 189, 37, 40, 62,  74,  94,  124, 169, 238,
    56, 53, 91, 106, 131, 169, 226, 311, 85, 75, 135, 156, 189, 238, 311, 418};

// Classic chroma steps, coarse at all but the lowest frequencies: at low qualities the
// eye's colour resolution is what counts, and these cost the fewest bits for it.
constexpr JpegLookTables::Table ChromaBase = {
    17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66, 99, 99, 99, 99, 24, 26, 56, 99, 99, 99,
    99, 99, 47, 66, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
    99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99};

// The usual mapping of a quality to a percentage of the base steps.
int percentFor(int quality) {
    quality = std::clamp(quality, 1, 100);
    return quality < 50 ? 5000 / quality : 200 - 2 * quality;
}

} // namespace

JpegLookTables JpegLookTables::forQuality(int quality) {
    JpegLookTables tables;
    const int percent = percentFor(quality);
    tables.bandedScans_ = quality < RefinedScansQuality;
    tables.stepScale_ = static_cast<float>(percent) / 100.0f;
    tables.subsampled_ = quality < FullChromaQuality;
    tables.luma_ = scaled(LumaBase, percent);
    // Full-resolution chroma carries finer detail than the eye needs: coarser steps keep
    // its cost near that of the halved chroma.
    tables.chroma_ = scaled(chromaBase(quality), tables.subsampled_ ? percent : percent * 3 / 2);
    return tables;
}

// From the classic chroma steps at middling qualities to the luma ones at high qualities,
// where colour edges show (and where the eye models that judge files look at them), step by
// step so bytes and look grow smoothly with the quality.
JpegLookTables::Table JpegLookTables::chromaBase(int quality) {
    const int share = std::clamp(quality - ChromaBlendStart, 0, ChromaBlendWidth);
    Table result{};
    for (std::size_t i = 0; i < result.size(); ++i) {
        result[i] = static_cast<std::uint16_t>((ChromaBase[i] * (ChromaBlendWidth - share) +
                                                LumaBase[i] * share + ChromaBlendWidth / 2) /
                                               ChromaBlendWidth);
    }
    return result;
}

JpegLookTables::Table JpegLookTables::scaled(const Table& base, int percent) {
    Table result{};
    for (std::size_t i = 0; i < base.size(); ++i) {
        const long step = (static_cast<long>(base[i]) * percent + 50) / 100;
        result[i] = static_cast<std::uint16_t>(std::clamp(step, 1L, 255L));
    }
    return result;
}
