#include "imaging/formats/PictureKind.h"

#include <gtest/gtest.h>
#include <string>

TEST(PictureSignature, TellsEachKindByItsFirstBytesAndNothingElseForLookalikes) {
    using namespace std::string_literals;
    const struct {
        std::string bytes;
        PictureKind kind;
    } rows[] = {
        {"\xFF\xD8\xFF\xE0"s, PictureKind::Jpeg},
        {"BM\x36\x10\0\0\0\0\0\0"s, PictureKind::Bmp},
        {"BMW drivers' notes"s, PictureKind::Unknown}, // a text, its "reserved" bytes not zero
        {"\x89PNG\r\n\x1a\n"s, PictureKind::Png},
        {"RIFF\x10\0\0\0WEBPVP8 "s, PictureKind::WebP},
        {"RIFF\x10\0\0\0WAVEfmt "s, PictureKind::Unknown},
        {"II*\0\x08\0\0\0"s, PictureKind::Tiff},
        {"MM\0*\0\0\0\x08"s, PictureKind::Tiff},
        {"MMX notes"s, PictureKind::Unknown},
        {"\0\0\0\x18"
         "ftypheic\0\0\0\0"s,
         PictureKind::Heif},
        {"\0\0\0\x1c"
         "ftypavif\0\0\0\0"s,
         PictureKind::Heif},
        {"\0\0\0\x18"
         "ftypisom\0\0\0\0"s,
         PictureKind::Unknown}, // a video
        {"GIF89a"s, PictureKind::Unknown},
        {"\xFF\xD8"s, PictureKind::Unknown}, // cut short
        {""s, PictureKind::Unknown},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.bytes);
        EXPECT_EQ(PictureSignature::of(reinterpret_cast<const std::uint8_t*>(row.bytes.data()),
                                       row.bytes.size()),
                  row.kind);
    }
    EXPECT_EQ(PictureSignature::ofFile("/no/such/file"), PictureKind::Unknown);
}
