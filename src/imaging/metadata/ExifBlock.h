#pragma once

#include <cstdint>
#include <optional>
#include <vector>

// The TIFF structure of a JPEG file's EXIF block (the bytes after "Exif\0\0"), read as hostile
// input: every offset and count is checked against the block before it is followed. Edits are
// made in place, so the entries nobody here understands (a camera's maker note with offsets of
// its own among them) keep their bytes and positions.
class ExifBlock {
public:
    explicit ExifBlock(std::vector<std::uint8_t> tiff);

    // The header and the tables of the first directory and of the EXIF directory lie within
    // the block; a block that fails this is carried nowhere.
    bool readable() const { return readable_; }
    // 1 to 8; 1 when the tag is absent, out of range or unreadable.
    int orientation() const;

    // Each changes a tag only where the block has it; a missing tag means what it says already
    // (no orientation is upright, no pixel size is no claim).
    void setOrientation(int orientation);
    void setPixelSize(std::uint32_t width, std::uint32_t height);
    // Unlinks the second directory and its picture. Their bytes are cut off when they end the
    // block and blanked in place when they do not; with a maker note, which may point anywhere,
    // only the picture's own bytes go and the directory stays where it was.
    void dropThumbnail();

    const std::vector<std::uint8_t>& tiff() const { return tiff_; }

    // A block saying the orientation and nothing else.
    static std::vector<std::uint8_t> orientationAlone(int orientation);

private:
    struct Directory {
        std::uint32_t offset = 0;
        std::uint16_t count = 0;
    };
    struct Range {
        std::uint64_t begin = 0;
        std::uint64_t end = 0;
    };

    bool fits(std::uint64_t offset, std::uint64_t length) const;
    std::uint16_t u16(std::uint64_t offset) const;
    std::uint32_t u32(std::uint64_t offset) const;
    void put16(std::uint64_t offset, std::uint16_t value);
    void put32(std::uint64_t offset, std::uint32_t value);

    std::optional<Directory> directoryAt(std::uint32_t offset) const;
    std::optional<std::uint64_t> entry(const std::optional<Directory>& directory,
                                       std::uint16_t tag) const;
    std::optional<Directory> linkedDirectory(const std::optional<Directory>& from,
                                             std::uint16_t tag) const;
    std::optional<std::uint64_t> nextLinkOffset(const std::optional<Directory>& directory) const;
    void setNumber(const std::optional<Directory>& directory, std::uint16_t tag,
                   std::uint32_t value);
    bool hasMakerNote() const;
    void addRanges(const std::optional<Directory>& directory, std::vector<Range>& ranges) const;
    std::optional<Range> valueRange(std::uint64_t entryOffset) const;
    std::optional<Range> thumbnailRange(const std::optional<Directory>& second) const;
    bool endsTheBlock(std::vector<Range> dropped) const;
    void erase(const std::vector<Range>& kept, const std::vector<Range>& dropped);

    std::vector<std::uint8_t> tiff_;
    bool bigEndian_ = false;
    bool readable_ = false;
    std::optional<Directory> first_;
    std::optional<Directory> exif_;
};
