#include "imaging/metadata/ExifBlock.h"

#include "core/TLittleEndian.h"

#include <algorithm>

namespace {

constexpr std::uint64_t HeaderLength = 8;
constexpr std::uint64_t EntryLength = 12;
constexpr std::uint16_t Short = 3;
constexpr std::uint16_t Long = 4;
constexpr std::uint16_t DirectoryType = 13;

namespace Tag {
constexpr std::uint16_t ImageWidth = 0x0100;
constexpr std::uint16_t ImageLength = 0x0101;
constexpr std::uint16_t Orientation = 0x0112;
constexpr std::uint16_t ThumbnailOffset = 0x0201;
constexpr std::uint16_t ThumbnailLength = 0x0202;
constexpr std::uint16_t ExifDirectory = 0x8769;
constexpr std::uint16_t GpsDirectory = 0x8825;
constexpr std::uint16_t MakerNote = 0x927C;
constexpr std::uint16_t PixelXDimension = 0xA002;
constexpr std::uint16_t PixelYDimension = 0xA003;
constexpr std::uint16_t InteroperabilityDirectory = 0xA005;
} // namespace Tag

// Bytes of one value of each TIFF type; 0 for types this block does not know.
std::uint64_t typeLength(std::uint16_t type) {
    constexpr std::uint8_t lengths[] = {0, 1, 1, 2, 4, 8, 1, 1, 2, 4, 8, 4, 8, 4};
    return type < std::size(lengths) ? lengths[type] : 0;
}

} // namespace

ExifBlock::ExifBlock(std::vector<std::uint8_t> tiff) : tiff_(std::move(tiff)) {
    if (!fits(0, HeaderLength)) {
        return;
    }
    const bool little = tiff_[0] == 'I' && tiff_[1] == 'I';
    bigEndian_ = tiff_[0] == 'M' && tiff_[1] == 'M';
    if ((!little && !bigEndian_) || u16(2) != 42) {
        return;
    }
    first_ = directoryAt(u32(4));
    const bool linksExif = entry(first_, Tag::ExifDirectory).has_value();
    exif_ = linkedDirectory(first_, Tag::ExifDirectory);
    readable_ = first_ && (!linksExif || exif_);
}

bool ExifBlock::fits(std::uint64_t offset, std::uint64_t length) const {
    return offset <= tiff_.size() && length <= tiff_.size() - offset;
}

std::uint16_t ExifBlock::u16(std::uint64_t offset) const {
    const std::uint8_t* p = tiff_.data() + offset;
    return static_cast<std::uint16_t>(bigEndian_ ? (p[0] << 8) | p[1] : (p[1] << 8) | p[0]);
}

std::uint32_t ExifBlock::u32(std::uint64_t offset) const {
    const std::uint32_t high = u16(offset);
    const std::uint32_t low = u16(offset + 2);
    return bigEndian_ ? (high << 16) | low : (low << 16) | high;
}

void ExifBlock::put16(std::uint64_t offset, std::uint16_t value) {
    tiff_[offset + (bigEndian_ ? 1 : 0)] = static_cast<std::uint8_t>(value);
    tiff_[offset + (bigEndian_ ? 0 : 1)] = static_cast<std::uint8_t>(value >> 8);
}

void ExifBlock::put32(std::uint64_t offset, std::uint32_t value) {
    put16(offset + (bigEndian_ ? 2 : 0), static_cast<std::uint16_t>(value));
    put16(offset + (bigEndian_ ? 0 : 2), static_cast<std::uint16_t>(value >> 16));
}

std::optional<ExifBlock::Directory> ExifBlock::directoryAt(std::uint32_t offset) const {
    if (offset < HeaderLength || !fits(offset, 2)) {
        return std::nullopt;
    }
    const std::uint16_t count = u16(offset);
    if (!fits(std::uint64_t{offset} + 2, EntryLength * count)) {
        return std::nullopt; // a count running past the end
    }
    return Directory{offset, count};
}

std::optional<std::uint64_t> ExifBlock::entry(const std::optional<Directory>& directory,
                                              std::uint16_t tag) const {
    if (!directory) {
        return std::nullopt;
    }
    for (std::uint16_t i = 0; i < directory->count; ++i) {
        const std::uint64_t at = directory->offset + 2 + EntryLength * i;
        if (u16(at) == tag) {
            return at;
        }
    }
    return std::nullopt;
}

std::optional<ExifBlock::Directory> ExifBlock::linkedDirectory(const std::optional<Directory>& from,
                                                               std::uint16_t tag) const {
    const std::optional<std::uint64_t> at = entry(from, tag);
    if (!at || (u16(*at + 2) != Long && u16(*at + 2) != DirectoryType) || u32(*at + 4) != 1) {
        return std::nullopt;
    }
    const std::optional<Directory> linked = directoryAt(u32(*at + 8));
    // A directory linking to itself would be edited twice and counted as its own data.
    if (linked && from && linked->offset == from->offset) {
        return std::nullopt;
    }
    return linked;
}

std::optional<std::uint64_t>
ExifBlock::nextLinkOffset(const std::optional<Directory>& directory) const {
    if (!directory) {
        return std::nullopt;
    }
    const std::uint64_t at = directory->offset + 2 + EntryLength * directory->count;
    return fits(at, 4) ? std::optional(at) : std::nullopt;
}

int ExifBlock::orientation() const {
    const std::optional<std::uint64_t> at = entry(first_, Tag::Orientation);
    if (!at || u16(*at + 2) != Short || u32(*at + 4) == 0) {
        return 1;
    }
    const int value = u16(*at + 8);
    return value >= 1 && value <= 8 ? value : 1;
}

void ExifBlock::setNumber(const std::optional<Directory>& directory, std::uint16_t tag,
                          std::uint32_t value) {
    const std::optional<std::uint64_t> at = entry(directory, tag);
    if (!at || u32(*at + 4) != 1) {
        return;
    }
    if (u16(*at + 2) == Short && value <= 0xFFFF) {
        put16(*at + 8, static_cast<std::uint16_t>(value));
    } else if (u16(*at + 2) == Long) {
        put32(*at + 8, value);
    }
}

void ExifBlock::setOrientation(int orientation) {
    setNumber(first_, Tag::Orientation, static_cast<std::uint32_t>(orientation));
}

void ExifBlock::setPixelSize(std::uint32_t width, std::uint32_t height) {
    setNumber(first_, Tag::ImageWidth, width);
    setNumber(first_, Tag::ImageLength, height);
    setNumber(exif_, Tag::PixelXDimension, width);
    setNumber(exif_, Tag::PixelYDimension, height);
}

void ExifBlock::dropThumbnail() {
    const std::optional<std::uint64_t> link = nextLinkOffset(first_);
    if (!link) {
        return;
    }
    const std::optional<Directory> second = directoryAt(u32(*link));
    put32(*link, 0);
    if (!second) {
        return;
    }
    std::vector<Range> kept{{0, HeaderLength}};
    for (const std::optional<Directory>& directory :
         {first_, exif_, linkedDirectory(first_, Tag::GpsDirectory),
          linkedDirectory(exif_, Tag::InteroperabilityDirectory)}) {
        addRanges(directory, kept);
    }
    std::vector<Range> dropped;
    // A maker note points in ways of its own, anywhere in the block, the second directory
    // included: with one, only the thumbnail's bytes are known to be the thumbnail's alone.
    addRanges(second, hasMakerNote() ? kept : dropped);
    if (const std::optional<Range> thumbnail = thumbnailRange(second)) {
        dropped.push_back(*thumbnail);
    }
    erase(kept, dropped);
}

bool ExifBlock::hasMakerNote() const {
    return entry(exif_, Tag::MakerNote).has_value() || entry(first_, Tag::MakerNote).has_value();
}

void ExifBlock::addRanges(const std::optional<Directory>& directory,
                          std::vector<Range>& ranges) const {
    if (!directory) {
        return;
    }
    const std::uint64_t table = directory->offset + 2 + EntryLength * directory->count;
    ranges.push_back({directory->offset, std::min<std::uint64_t>(table + 4, tiff_.size())});
    for (std::uint16_t i = 0; i < directory->count; ++i) {
        if (const std::optional<Range> value =
                valueRange(directory->offset + 2 + EntryLength * i)) {
            ranges.push_back(*value);
        }
    }
}

std::optional<ExifBlock::Range> ExifBlock::valueRange(std::uint64_t entryOffset) const {
    const std::uint64_t length = typeLength(u16(entryOffset + 2)) * u32(entryOffset + 4);
    const std::uint32_t offset = u32(entryOffset + 8);
    if (length <= 4 || !fits(offset, length)) {
        return std::nullopt; // held in the entry itself, or nowhere to be found
    }
    return Range{offset, offset + length};
}

std::optional<ExifBlock::Range>
ExifBlock::thumbnailRange(const std::optional<Directory>& second) const {
    const std::optional<std::uint64_t> start = entry(second, Tag::ThumbnailOffset);
    const std::optional<std::uint64_t> length = entry(second, Tag::ThumbnailLength);
    if (!start || !length || u16(*start + 2) != Long || u16(*length + 2) != Long) {
        return std::nullopt;
    }
    const std::uint32_t offset = u32(*start + 8);
    const std::uint32_t count = u32(*length + 8);
    return fits(offset, count) ? std::optional(Range{offset, std::uint64_t{offset} + count})
                               : std::nullopt;
}

bool ExifBlock::endsTheBlock(std::vector<Range> dropped) const {
    // Bytes after the thumbnail may be values that a maker note points to in ways of its own,
    // which no range here knows about: the block is cut only where nothing follows what goes.
    // A byte between two ranges is the padding that keeps values on even offsets.
    std::sort(dropped.begin(), dropped.end(),
              [](const Range& a, const Range& b) { return a.begin < b.begin; });
    std::uint64_t end = dropped.front().begin;
    for (const Range& range : dropped) {
        if (range.begin > end + 1) {
            return false;
        }
        end = std::max(end, range.end);
    }
    return end + 1 >= tiff_.size();
}

void ExifBlock::erase(const std::vector<Range>& kept, const std::vector<Range>& dropped) {
    if (dropped.empty()) {
        return;
    }
    const auto byEnd = [](const Range& a, const Range& b) { return a.end < b.end; };
    const auto byBegin = [](const Range& a, const Range& b) { return a.begin < b.begin; };
    const std::uint64_t keptEnd = std::max_element(kept.begin(), kept.end(), byEnd)->end;
    const std::uint64_t droppedBegin =
        std::min_element(dropped.begin(), dropped.end(), byBegin)->begin;
    if (droppedBegin >= keptEnd && endsTheBlock(dropped)) {
        // Cameras put the thumbnail last: it goes with its bytes. What lies between the last
        // value known here and the first byte dropped may be reached through a directory not
        // followed here, so the cut starts no earlier than what is dropped.
        tiff_.resize(droppedBegin);
        return;
    }
    for (const Range& range : dropped) {
        const bool shared = std::any_of(kept.begin(), kept.end(), [&range](const Range& k) {
            return range.begin < k.end && k.begin < range.end;
        });
        if (!shared) {
            std::fill(tiff_.begin() + static_cast<std::ptrdiff_t>(range.begin),
                      tiff_.begin() + static_cast<std::ptrdiff_t>(range.end), 0);
        }
    }
}

std::vector<std::uint8_t> ExifBlock::orientationAlone(int orientation) {
    std::vector<std::uint8_t> tiff{'I', 'I'};
    TLittleEndian::put16(tiff, 42);
    TLittleEndian::put32(tiff, HeaderLength); // the first directory right after the header
    TLittleEndian::put16(tiff, 1);
    TLittleEndian::put16(tiff, Tag::Orientation);
    TLittleEndian::put16(tiff, Short);
    TLittleEndian::put32(tiff, 1);
    TLittleEndian::put32(tiff, static_cast<std::uint32_t>(orientation));
    TLittleEndian::put32(tiff, 0); // no second directory
    return tiff;
}
