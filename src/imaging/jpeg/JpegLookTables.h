#pragma once

#include <array>
#include <cstdint>

// The quantisation tables and chroma sampling of the smallest coding at one quality. The
// steps grow as the quality falls, table entry by table entry, so bytes and look both grow
// with the quality: the size and similarity searches bisect on it.
class JpegLookTables {
public:
    using Table = std::array<std::uint16_t, 64>; // natural (row by row) order

    // Quality 1..100, clamped.
    static JpegLookTables forQuality(int quality);

    const Table& luma() const { return luma_; }
    const Table& chroma() const { return chroma_; }
    // 4:2:0 below the quality where halving the chroma starts to show, 4:4:4 above.
    bool subsampledChroma() const { return subsampled_; }
    // Scans that split the frequencies into bands only, without successive approximation: at
    // middling and low qualities the refinement scans cost more than they save.
    bool bandedScans() const { return bandedScans_; }
    // The steps as a share of the base tables': 1 at quality 50, smaller above.
    float stepScale() const { return stepScale_; }

    // Where full chroma starts.
    static constexpr int FullChromaQuality = 90;
    // Where successive approximation starts to pay.
    static constexpr int RefinedScansQuality = 85;

private:
    static Table chromaBase(int quality);
    static Table scaled(const Table& base, int percent);

    static constexpr int ChromaBlendStart = 40;
    static constexpr int ChromaBlendWidth = 35;

    Table luma_{};
    Table chroma_{};
    bool subsampled_ = true;
    float stepScale_ = 1.0f;
    bool bandedScans_ = true;
};
