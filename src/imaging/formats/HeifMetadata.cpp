#include "imaging/formats/HeifMetadata.h"

#include "imaging/formats/MatrixProfile.h"
#include "imaging/metadata/ExifBlock.h"
#include "imaging/metadata/IccProfile.h"
#include "imaging/metadata/TurnedMarkers.h"

#include <algorithm>
#include <libheif/heif.h>
#include <memory>
#include <optional>
#include <string_view>

namespace {

using Bytes = std::vector<std::uint8_t>;

// What a JPEG file's APP1 segment puts before an XMP packet, as the JPEG reader keeps it.
constexpr std::string_view XmpHeader{"http://ns.adobe.com/xap/1.0/\0", 29};
constexpr std::string_view ExifHeader{"Exif\0\0", 6};

struct NclxFree {
    void operator()(heif_color_profile_nclx* nclx) const { heif_nclx_color_profile_free(nclx); }
};

std::optional<Bytes> block(const heif_image_handle& handle, heif_item_id id) {
    Bytes data(heif_image_handle_get_metadata_size(&handle, id));
    if (data.empty() || heif_image_handle_get_metadata(&handle, id, data.data()).code) {
        return std::nullopt;
    }
    return data;
}

std::vector<heif_item_id> blockIds(const heif_image_handle& handle) {
    std::vector<heif_item_id> ids(static_cast<std::size_t>(
        std::max(0, heif_image_handle_get_number_of_metadata_blocks(&handle, nullptr))));
    const int listed = heif_image_handle_get_list_of_metadata_block_IDs(
        &handle, nullptr, ids.data(), static_cast<int>(ids.size()));
    ids.resize(static_cast<std::size_t>(std::clamp(listed, 0, static_cast<int>(ids.size()))));
    return ids;
}

bool startsWith(const Bytes& data, std::size_t at, std::string_view text) {
    return data.size() >= at + text.size() &&
           std::equal(text.begin(), text.end(), reinterpret_cast<const char*>(data.data()) + at);
}

// A HEIF EXIF block starts with the distance from its fourth byte to the TIFF header; some
// writers put a JPEG's "Exif\0\0" there too. A block whose way up cannot be set to 1 is left
// out: a viewer would turn the upright pixels again.
std::optional<Bytes> uprightExif(const Bytes& data) {
    if (data.size() < 4) {
        return std::nullopt;
    }
    std::uint64_t start =
        4 + ((std::uint64_t{data[0]} << 24) | (data[1] << 16) | (data[2] << 8) | data[3]);
    if (startsWith(data, static_cast<std::size_t>(std::min<std::uint64_t>(start, data.size())),
                   ExifHeader)) {
        start += ExifHeader.size();
    }
    if (start >= data.size()) {
        return std::nullopt;
    }
    ExifBlock exif(Bytes(data.begin() + static_cast<std::ptrdiff_t>(start), data.end()));
    exif.setOrientation(1);
    if (!exif.readable() || exif.orientation() != 1) {
        return std::nullopt;
    }
    return exif.tiff();
}

// A packet may give the way up too (tiff:Orientation); it is set to 1 as in the packets of a
// JPEG file turned here. One too long for a JPEG segment is kept as it is.
Bytes uprightXmp(Bytes packet) {
    const std::size_t length = packet.size() + 2;
    if (length > 0xFFFF) {
        return packet;
    }
    Bytes jpeg{0xFF,
               0xD8,
               0xFF,
               0xE1,
               static_cast<std::uint8_t>(length >> 8),
               static_cast<std::uint8_t>(length)};
    jpeg.insert(jpeg.end(), packet.begin(), packet.end());
    const Bytes settled = TurnedMarkers::settle(jpeg.data(), jpeg.size(), 0, 0);
    return Bytes(settled.begin() + 6, settled.end());
}

std::string_view text(const char* words) {
    return words ? words : "";
}

void takeBlock(const heif_image_handle& handle, heif_item_id id, PictureMetadata& metadata) {
    const std::string_view type = text(heif_image_handle_get_metadata_type(&handle, id));
    const std::string_view content = text(heif_image_handle_get_metadata_content_type(&handle, id));
    const bool exif = type == "Exif" && metadata.exif.empty();
    const bool xmp = type == "mime" && content == "application/rdf+xml";
    if (!exif && !xmp) {
        return;
    }
    const std::optional<Bytes> data = block(handle, id);
    if (data && exif) {
        metadata.exif = uprightExif(*data).value_or(Bytes{});
    } else if (data) {
        Bytes packet(XmpHeader.begin(), XmpHeader.end());
        packet.insert(packet.end(), data->begin(), data->end());
        metadata.xmp.push_back(uprightXmp(std::move(packet)));
    }
}

// The curve of a transfer number; the unknown ones, and none, are taken for sRGB's, as
// every viewer takes a picture without a profile.
MatrixProfile::Curve curveOf(heif_transfer_characteristics transfer) {
    using Curve = MatrixProfile::Curve;
    switch (transfer) {
    case heif_transfer_characteristic_ITU_R_BT_709_5:
    case heif_transfer_characteristic_ITU_R_BT_601_6:
    case heif_transfer_characteristic_SMPTE_240M:
    case heif_transfer_characteristic_ITU_R_BT_2020_2_10bit:
    case heif_transfer_characteristic_ITU_R_BT_2020_2_12bit:
        return Curve::Rec709;
    case heif_transfer_characteristic_ITU_R_BT_470_6_System_M:
        return Curve::Gamma22;
    case heif_transfer_characteristic_ITU_R_BT_470_6_System_B_G:
        return Curve::Gamma28;
    case heif_transfer_characteristic_linear:
        return Curve::Linear;
    case heif_transfer_characteristic_ITU_R_BT_2100_0_PQ:
        return Curve::Pq;
    case heif_transfer_characteristic_ITU_R_BT_2100_0_HLG:
        return Curve::Hlg;
    default:
        return Curve::Srgb;
    }
}

// A profile for colours given as numbers; none for sRGB's own, which a JPEG file without a
// profile already means. The library gives the primaries' chromaticities of every number it
// knows, and zeros for the unknown ones, which are taken for sRGB's.
Bytes profileOf(const heif_color_profile_nclx& nclx) {
    const MatrixProfile::Curve curve = curveOf(nclx.transfer_characteristics);
    const bool srgbPrimaries = nclx.color_primaries == heif_color_primaries_ITU_R_BT_709_5 ||
                               nclx.color_primaries == heif_color_primaries_unspecified ||
                               nclx.color_primary_white_y <= 0 || nclx.color_primary_red_y <= 0 ||
                               nclx.color_primary_green_y <= 0 || nclx.color_primary_blue_y <= 0;
    if (srgbPrimaries && curve == MatrixProfile::Curve::Srgb) {
        return {};
    }
    MatrixProfile::Primaries primaries{{0.64, 0.33}, {0.30, 0.60}, {0.15, 0.06}, {0.3127, 0.3290}};
    if (!srgbPrimaries) {
        primaries = {{nclx.color_primary_red_x, nclx.color_primary_red_y},
                     {nclx.color_primary_green_x, nclx.color_primary_green_y},
                     {nclx.color_primary_blue_x, nclx.color_primary_blue_y},
                     {nclx.color_primary_white_x, nclx.color_primary_white_y}};
    }
    const std::string description =
        "RGB of colour primaries " +
        std::to_string(srgbPrimaries ? 1 : static_cast<int>(nclx.color_primaries)) + ", transfer " +
        std::to_string(static_cast<int>(nclx.transfer_characteristics));
    return MatrixProfile::build(primaries, curve, description);
}

Bytes colourProfile(const heif_image_handle& handle) {
    Bytes icc(heif_image_handle_get_raw_color_profile_size(&handle));
    if (!icc.empty() && heif_image_handle_get_raw_color_profile(&handle, icc.data()).code == 0 &&
        IccProfile::suits(icc, false)) {
        return icc;
    }
    // The library hands a profile out with some of its errors (an unknown number) too.
    heif_color_profile_nclx* nclx = nullptr;
    const heif_error error = heif_image_handle_get_nclx_color_profile(&handle, &nclx);
    const std::unique_ptr<heif_color_profile_nclx, NclxFree> owned(nclx);
    return error.code == heif_error_Ok && nclx ? profileOf(*nclx) : Bytes{};
}

} // namespace

PictureMetadata HeifMetadata::of(const heif_image_handle& handle) {
    PictureMetadata metadata;
    metadata.iccProfile = colourProfile(handle);
    for (const heif_item_id id : blockIds(handle)) {
        takeBlock(handle, id, metadata);
    }
    metadata.orientation = 1;
    return metadata;
}
