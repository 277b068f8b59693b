#pragma once

#include "imaging/picture/TGraphic.h"
#include "imaging/picture/TPaletteEntry.h"
#include "imaging/picture/TPixelFormat.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

struct TBitmapImage;

// A picture made of rows of pixels, read from and written to BMP files. Copies share one
// image until one of them changes it.
class TBitmap : public TGraphic {
public:
    TBitmap();
    ~TBitmap() override;

    bool empty() const override;
    int width() const override;
    int height() const override;
    void setWidth(int width) override;
    void setHeight(int height) override;
    // One resize and one notification for both sides. The new area is white, the old
    // picture stays at the top-left corner. Negative or outsized sides: EInvalidGraphic.
    void setSize(int width, int height);
    // For a picture the caller fills row by row at once (a decode): the same sizing without
    // painting the new area white, nor even clearing it. The pixels hold anything until
    // written; the padding at the end of each row is zero. Top-down rows lie in memory in
    // picture order, as a screen image does.
    void setSizeToOverwrite(int width, int height, bool topDown = false);

    TPixelFormat pixelFormat() const;
    // Converts the pixels, keeping each pixel's colour as far as the format allows. On a
    // picture without pixels it only records the format that a later sizing creates.
    // Custom is refused with "Format de pixel incorrect".
    void setPixelFormat(TPixelFormat format);
    // Drops pixels and colour table (width and height become 0); the format stays.
    void releaseImage();

    // Picture row `row`, 0 = top row; EInvalidGraphicOperation "Indice ligne hors limites"
    // out of range. The writable form makes the image this picture's own first.
    std::uint8_t* scanLine(int row);
    const std::uint8_t* scanLine(int row) const;
    // Distance in bytes from a picture row to the one below it: negative for bottom-up
    // storage, positive for top-down.
    std::ptrdiff_t rowStep() const;

    // Colour as red + 256 * green + 65536 * blue; 0xFFFFFFFF outside the picture.
    std::uint32_t pixel(int x, int y) const;
    // In formats with a colour table, the nearest colour the table offers. Outside the
    // picture nothing happens.
    void setPixel(int x, int y, std::uint32_t colour);

    // The colour table for 8 bits or fewer (index i is entry i), else the palette that
    // came with the picture, if any.
    const std::vector<TPaletteEntry>& palette() const;
    void setPalette(std::vector<TPaletteEntry> palette);

    // Every format as 4 bytes per pixel blue, green, red, 255, top row first.
    void copyToBgra32(std::uint8_t* destination, std::ptrdiff_t destinationStride) const;

    bool transparent() const { return transparent_; }
    void setTransparent(bool transparent) { transparent_ = transparent; }

    // An empty stream gives an empty picture; a failed read leaves the picture as it was.
    void ReadFromStream(TStream& stream) override;
    // An empty picture writes nothing.
    void WriteToStream(TStream& stream) override;
    // A bitmap source is shared, another picture gives its drawing bitmap; nullptr empties.
    void CopyFrom(const TGraphic* source) override;
    std::unique_ptr<TGraphic> createEmpty() const override;
    const TBitmap* drawingBitmap() override;

private:
    // Makes the image this picture's own, without the source bytes of a compressed file.
    TBitmapImage& ownImage();
    void resize(int width, int height);
    void convert(TPixelFormat format);

    std::shared_ptr<TBitmapImage> image_;
    bool transparent_ = false;
};

// Registers "bmp" with "Bitmaps" in the picture-format registry; later calls do nothing.
void registerBitmapFormat();
