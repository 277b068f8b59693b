#pragma once

#include "imaging/bmp/TBitmap.h"
#include "imaging/jpeg/JpegMarkers.h"
#include "imaging/jpeg/TJPEGOptions.h"
#include "imaging/picture/TGraphic.h"
#include "imaging/picture/TPaletteEntry.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class JpegProgressRelay;
class TJPEGData;

// A JPEG picture: the bytes of a JPEG file, shared with its copies, and the bitmap decoded
// from them once someone needs pixels. Options that change the decoded pixels discard the
// bitmap; the bytes change only by reading or by an explicit Encode.
class TJPEGImage : public TGraphic {
public:
    TJPEGImage();
    ~TJPEGImage() override;

    bool empty() const override;
    int width() const override { return ImageWidth(); }
    int height() const override { return ImageHeight(); }
    // A JPEG picture cannot be resized: "Impossible de modifier la taille d'une image JPEG".
    void setWidth(int width) override;
    void setHeight(int height) override;

    // Takes every byte from the stream's position to its end and reads their header only.
    void ReadFromStream(TStream& stream) override;
    // Encodes first when there are no bytes; writes them in one piece.
    void WriteToStream(TStream& stream) override;
    // From a JPEG picture (its bytes are shared, its bitmap copied) or a bitmap (taken as
    // the picture to encode); the options stay this picture's own.
    void CopyFrom(const TGraphic* source) override;
    std::unique_ptr<TGraphic> createEmpty() const override;
    // Decodes when needed; may throw what Decode throws.
    const TBitmap* drawingBitmap() override;

    void Encode();
    void EnsureEncoded();
    // The cached bitmap, decoded from the bytes the first time.
    TBitmap& Decode();
    void copyToBitmap(TBitmap& target);
    int ImageWidth() const;
    int ImageHeight() const;

    const TJPEGData& data() const { return *data_; }
    const TBitmap* decodedBitmap() const { return bitmap_.get(); }
    bool PaletteChanged() const { return paletteChanged_; }
    void setPaletteChanged(bool changed) { paletteChanged_ = changed; }
    // The palette handed to the library when decoding at 8 bits; replacing it discards a
    // decoded bitmap whose palette differs.
    const std::optional<std::vector<TPaletteEntry>>& DisplayPalette() const {
        return displayPalette_;
    }
    void setDisplayPalette(std::optional<std::vector<TPaletteEntry>> palette);

    std::uint8_t Quality() const { return quality_; }
    void setQuality(std::uint8_t quality) { quality_ = quality; }
    bool ProgressiveWrite() const { return progressiveWrite_; }
    void setProgressiveWrite(bool progressive) { progressiveWrite_ = progressive; }
    // Optimised Huffman tables and progressive scans: the same coefficients, so the same
    // pixels once decoded, in the smaller file that jpegtran -optimize -progressive would
    // make of the baseline one, for a slower encode. Off by default.
    bool OptimizedCoding() const { return optimizedCoding_; }
    void setOptimizedCoding(bool optimized) { optimizedCoding_ = optimized; }
    // The smallest file for the look: coefficients chosen block by block against what they
    // cost, written as a progressive file with optimised tables. Any decoder reads it; the
    // pixels differ from the standard coding's at the same quality. Takes precedence over
    // OptimizedCoding; gray pictures keep the standard coding. Off by default.
    bool SmallestCoding() const { return smallestCoding_; }
    void setSmallestCoding(bool smallest) { smallestCoding_ = smallest; }
    // Lets an encode give the memory of the rows it has coded back to the system, after
    // which they read as black: for an owner that asks nothing more of the pixels (nor does
    // anyone sharing them), so that progressive scans never hold the picture and all its
    // coefficients at once. Off by default; the smallest coding keeps its rows.
    bool ConsumesBitmap() const { return consumeBitmap_; }
    void setConsumesBitmap(bool consume) { consumeBitmap_ = consume; }
    bool ProgressiveRead() const { return progressiveRead_; }
    void setProgressiveRead(bool progressive) { progressiveRead_ = progressive; }
    bool GrayMode() const { return grayMode_; }
    void setGrayMode(bool grayMode);
    TJPEGDecodeSpeed DecodeSpeed() const { return decodeSpeed_; }
    void setDecodeSpeed(TJPEGDecodeSpeed speed);
    TJPEGDecodeDepth DecodeDepth() const { return decodeDepth_; }
    void setDecodeDepth(TJPEGDecodeDepth depth);
    TJPEGDecodeScale DecodeScale() const { return decodeScale_; }
    void setDecodeScale(TJPEGDecodeScale scale);
    bool BlockSmoothing() const { return blockSmoothing_; }
    void setBlockSmoothing(bool smoothing);
    // Written by each Encode after the picture's own header; none by default.
    const JpegMarkers& Markers() const { return markers_; }
    void setMarkers(JpegMarkers markers) { markers_ = std::move(markers); }

private:
    friend class JpegProgressRelay;

    struct DecoderSettings; // what the decode pass needs from the preparation
    struct DecodeJob;

    // The progress relay's way in: a running report from inside the library.
    void relayProgress(TProgressStage stage, std::uint8_t percentDone, bool redrawNow,
                       const TRect& r);
    void report(TProgressStage stage, std::uint8_t percentDone, bool redrawNow = false);

    void replaceData(TJPEGData* data);
    void discardBitmap();
    // Options that change the decoded pixels discard the bitmap and tell the listeners.
    void optionChanged(bool paletteChanged);
    void readHeader();

    void encodeBitmap();
    void compress(const TBitmap& rgb);
    // Gives back rows [from, to) of `rgb`; returns `to`.
    static int releaseCodedRows(const TBitmap& rgb, int from, int to);
    void compressSmallest(const TBitmap& rgb);

    void PrepareDecoder(DecodeJob& job) const;
    void decodeInto(TBitmap& bitmap);
    void runDecode(DecodeJob& job);
    void startDecompress(DecodeJob& job);
    void handDisplayPalette(DecodeJob& job);
    void sizeBitmap(DecodeJob& job);
    void decodeScans(DecodeJob& job);
    void readAllRows(DecodeJob& job);
    void whitenUnwrittenRows(DecodeJob& job);
    void takeColourMap(DecodeJob& job);
    void computeScaledSize() const;

    TJPEGData* data_;
    std::unique_ptr<TBitmap> bitmap_;
    mutable std::uint32_t scaledWidth_ = 0;
    mutable std::uint32_t scaledHeight_ = 0;
    mutable bool needsRescale_ = false;
    std::optional<std::vector<TPaletteEntry>> displayPalette_;
    bool paletteChanged_ = false;

    bool blockSmoothing_;
    bool grayMode_;
    TJPEGDecodeDepth decodeDepth_;
    std::uint8_t quality_;
    bool progressiveRead_;
    mutable bool progressiveWrite_; // also refreshed by the scaled-size query
    bool optimizedCoding_ = false;
    bool consumeBitmap_ = false;
    bool smallestCoding_ = false;
    TJPEGDecodeSpeed decodeSpeed_;
    TJPEGDecodeScale decodeScale_;
    JpegMarkers markers_;
};

// Registers "jpeg" and "jpg" with "Fichier image JPEG"; later calls do nothing.
void registerJpegFormat();
