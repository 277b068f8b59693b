#include "support/PhotoSamples.h"

#include "support/ReferenceTool.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>

namespace PhotoSamples {

namespace {

// A TIFF directory as written: entries with their values already in the file's byte order.
struct Entry {
    std::uint16_t tag;
    std::uint16_t type;
    std::uint32_t count;
    Bytes value;
    int linksTo = -1; // the directory whose offset is the value
};
using Directory = std::vector<Entry>;

class TiffWriter {
public:
    explicit TiffWriter(bool bigEndian) : bigEndian_(bigEndian) {}

    Bytes u16(std::uint32_t v) const {
        return bigEndian_ ? Bytes{std::uint8_t(v >> 8), std::uint8_t(v)}
                          : Bytes{std::uint8_t(v), std::uint8_t(v >> 8)};
    }
    Bytes u32(std::uint32_t v) const {
        Bytes high = u16(v >> 16);
        Bytes low = u16(v & 0xFFFF);
        Bytes out = bigEndian_ ? high : low;
        const Bytes& second = bigEndian_ ? low : high;
        out.insert(out.end(), second.begin(), second.end());
        return out;
    }
    Entry text(std::uint16_t tag, const std::string& value) const {
        Bytes bytes(value.begin(), value.end());
        bytes.push_back(0);
        return {tag, 2, std::uint32_t(bytes.size()), bytes};
    }
    Entry shortValue(std::uint16_t tag, std::uint32_t v) const { return {tag, 3, 1, u16(v)}; }
    Entry longValue(std::uint16_t tag, std::uint32_t v) const { return {tag, 4, 1, u32(v)}; }
    Entry link(std::uint16_t tag, int directory) const { return {tag, 4, 1, u32(0), directory}; }

    // Header, then each directory with its values after it, then `tail`; the first directory
    // links to `nextOfFirst` when it is not -1.
    Bytes write(std::vector<Directory> directories, int nextOfFirst, const Bytes& tail,
                Entry* tailOffset) {
        std::vector<std::uint32_t> offsets;
        std::uint32_t at = 8;
        for (const Directory& d : directories) {
            offsets.push_back(at);
            at += 2 + 12 * std::uint32_t(d.size()) + 4;
            for (const Entry& e : d) {
                at += e.value.size() > 4 ? std::uint32_t(e.value.size()) : 0;
            }
        }
        if (tailOffset) {
            tailOffset->value = u32(at);
        }
        Bytes out = bigEndian_ ? Bytes{'M', 'M'} : Bytes{'I', 'I'};
        append(out, u16(42));
        append(out, u32(8));
        for (std::size_t i = 0; i < directories.size(); ++i) {
            writeDirectory(out, directories[i], offsets,
                           i == 0 && nextOfFirst >= 0 ? offsets[std::size_t(nextOfFirst)] : 0);
        }
        append(out, tail);
        return out;
    }

private:
    static void append(Bytes& out, const Bytes& more) {
        out.insert(out.end(), more.begin(), more.end());
    }

    void writeDirectory(Bytes& out, Directory& d, const std::vector<std::uint32_t>& offsets,
                        std::uint32_t next) {
        std::uint32_t data = std::uint32_t(out.size()) + 2 + 12 * std::uint32_t(d.size()) + 4;
        Bytes values;
        append(out, u16(std::uint32_t(d.size())));
        for (Entry& e : d) {
            if (e.linksTo >= 0) {
                e.value = u32(offsets[std::size_t(e.linksTo)]);
            }
            append(out, u16(e.tag));
            append(out, u16(e.type));
            append(out, u32(e.count));
            if (e.value.size() > 4) {
                append(out, u32(data));
                data += std::uint32_t(e.value.size());
                append(values, e.value);
            } else {
                Bytes inline_ = e.value;
                inline_.resize(4, 0);
                append(out, inline_);
            }
        }
        append(out, u32(next));
        append(out, values);
    }

    bool bigEndian_;
};

Bytes rational(const TiffWriter& w, std::uint32_t n, std::uint32_t d) {
    Bytes out = w.u32(n);
    const Bytes second = w.u32(d);
    out.insert(out.end(), second.begin(), second.end());
    return out;
}

} // namespace

Bytes exifBlock(const Exif& exif) {
    TiffWriter w(exif.bigEndian);
    Directory first{w.text(0x010F, "Trevano Test Camera")};
    if (exif.orientation) {
        first.push_back(w.shortValue(0x0112, std::uint32_t(exif.orientation)));
    }
    first.push_back(w.link(0x8769, 1));
    Directory details{w.text(0x9003, "2026:05:17 10:42:07")};
    if (exif.pixelWidth) {
        details.push_back(w.longValue(0xA002, exif.pixelWidth));
        details.push_back(w.shortValue(0xA003, exif.pixelHeight));
    }
    std::vector<Directory> directories{first, details};
    if (exif.gps) {
        directories[0].push_back(w.link(0x8825, 2));
        Bytes latitude = rational(w, 46, 1);
        for (const Bytes& part : {rational(w, 1, 1), rational(w, 3000, 100)}) {
            latitude.insert(latitude.end(), part.begin(), part.end());
        }
        directories.push_back(
            {{0x0000, 1, 4, {2, 3, 0, 0}}, {0x0001, 2, 2, {'N', 0}}, {0x0002, 5, 3, latitude}});
    }
    if (exif.thumbnail.empty()) {
        return w.write(directories, -1, {}, nullptr);
    }
    directories.push_back({w.shortValue(0x0103, 6), w.longValue(0x0201, 0),
                           w.longValue(0x0202, std::uint32_t(exif.thumbnail.size()))});
    Directory& second = directories.back();
    // Two passes: the first learns where the thumbnail lands.
    Entry offset = second[1];
    w.write(directories, int(directories.size()) - 1, exif.thumbnail, &offset);
    second[1] = offset;
    return w.write(directories, int(directories.size()) - 1, exif.thumbnail, nullptr);
}

Bytes iccProfile(const char* colourSpace, std::size_t length) {
    Bytes profile(length, 0);
    for (std::size_t i = 132; i < length; ++i) {
        profile[i] = std::uint8_t(i * 7 + i / 251);
    }
    for (int i = 0; i < 4; ++i) {
        profile[std::size_t(i)] = std::uint8_t(length >> (24 - 8 * i));
    }
    const auto put = [&profile](std::size_t at, const char* four) {
        std::copy(four, four + 4, profile.begin() + std::ptrdiff_t(at));
    };
    put(8, "\x04\x30\x00\x00");
    put(12, std::string(colourSpace) == "CMYK" ? "prtr" : "mntr");
    put(16, colourSpace);
    put(20, "XYZ ");
    put(36, "acsp");
    return profile;
}

Bytes xmpPacket(int orientation) {
    const std::string text =
        "<?xpacket begin='' id='W5M0MpCehiHzreSzNTczkc9d'?><x:xmpmeta xmlns:x='adobe:ns:meta/'>"
        "<rdf:RDF xmlns:rdf='http://www.w3.org/1999/02/22-rdf-syntax-ns#'><rdf:Description "
        "xmlns:tiff='http://ns.adobe.com/tiff/1.0/' xmlns:photoshop='http://ns.adobe.com/"
        "photoshop/1.0/' tiff:Orientation=\"" +
        std::to_string(orientation) +
        "\" photoshop:City='Lugano'/></rdf:RDF></x:xmpmeta><?xpacket end='w'?>";
    return {text.begin(), text.end()};
}

Segment exifSegment(const Bytes& tiff) {
    Segment segment{0xE1, {'E', 'x', 'i', 'f', 0, 0}};
    segment.data.insert(segment.data.end(), tiff.begin(), tiff.end());
    return segment;
}

Segment xmpSegment(const Bytes& packet) {
    const std::string name = "http://ns.adobe.com/xap/1.0/";
    Segment segment{0xE1, Bytes(name.begin(), name.end())};
    segment.data.push_back(0);
    segment.data.insert(segment.data.end(), packet.begin(), packet.end());
    return segment;
}

Segment commentSegment(const std::string& text) {
    return {0xFE, Bytes(text.begin(), text.end())};
}

std::vector<Segment> iccSegments(const Bytes& profile, std::size_t chunk) {
    const std::size_t count = (profile.size() + chunk - 1) / chunk;
    std::vector<Segment> segments;
    for (std::size_t i = 0; i < count; ++i) {
        const std::string name = "ICC_PROFILE";
        Segment segment{0xE2, Bytes(name.begin(), name.end())};
        segment.data.insert(segment.data.end(), {0, std::uint8_t(i + 1), std::uint8_t(count)});
        const auto begin = profile.begin() + std::ptrdiff_t(i * chunk);
        segment.data.insert(segment.data.end(), begin,
                            begin + std::ptrdiff_t(std::min(chunk, profile.size() - i * chunk)));
        segments.push_back(segment);
    }
    return segments;
}

Bytes withSegments(const Bytes& jpeg, const std::vector<Segment>& segments) {
    std::size_t at = 2;
    if (jpeg.size() > 6 && jpeg[3] == 0xE0) {
        at += 2 + std::size_t((jpeg[4] << 8) | jpeg[5]);
    }
    Bytes out(jpeg.begin(), jpeg.begin() + std::ptrdiff_t(at));
    for (const Segment& s : segments) {
        const std::size_t length = s.data.size() + 2;
        out.insert(out.end(),
                   {0xFF, std::uint8_t(s.code), std::uint8_t(length >> 8), std::uint8_t(length)});
        out.insert(out.end(), s.data.begin(), s.data.end());
    }
    out.insert(out.end(), jpeg.begin() + std::ptrdiff_t(at), jpeg.end());
    return out;
}

std::vector<Segment> segmentsOf(const Bytes& jpeg) {
    std::vector<Segment> segments;
    for (std::size_t at = 2; at + 4 <= jpeg.size() && jpeg[at + 1] != 0xDA;) {
        const std::size_t length = std::size_t((jpeg[at + 2] << 8) | jpeg[at + 3]);
        segments.push_back({jpeg[at + 1], Bytes(jpeg.begin() + std::ptrdiff_t(at + 4),
                                                jpeg.begin() + std::ptrdiff_t(at + 2 + length))});
        at += 2 + length;
    }
    return segments;
}

namespace {

bool startsWith(const Bytes& data, const std::string& prefix) {
    return data.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), data.begin());
}

} // namespace

Bytes exifOf(const Bytes& jpeg) {
    for (const Segment& s : segmentsOf(jpeg)) {
        if (s.code == 0xE1 && startsWith(s.data, std::string("Exif\0\0", 6))) {
            return Bytes(s.data.begin() + 6, s.data.end());
        }
    }
    return {};
}

Bytes iccOf(const Bytes& jpeg) {
    std::map<int, Bytes> chunks;
    for (const Segment& s : segmentsOf(jpeg)) {
        if (s.code == 0xE2 && startsWith(s.data, std::string("ICC_PROFILE\0", 12))) {
            chunks[s.data[12]] = Bytes(s.data.begin() + 14, s.data.end());
        }
    }
    Bytes profile;
    for (const auto& [number, chunk] : chunks) {
        profile.insert(profile.end(), chunk.begin(), chunk.end());
    }
    return profile;
}

std::vector<Bytes> xmpOf(const Bytes& jpeg) {
    std::vector<Bytes> packets;
    const std::string name("http://ns.adobe.com/xap/1.0/\0", 29);
    for (const Segment& s : segmentsOf(jpeg)) {
        if (s.code == 0xE1 && startsWith(s.data, name)) {
            packets.emplace_back(s.data.begin() + std::ptrdiff_t(name.size()), s.data.end());
        }
    }
    return packets;
}

std::string exifTag(const std::filesystem::path& jpeg, const std::string& tag) {
    const std::filesystem::path out = jpeg.string() + ".tag.txt";
    runReferenceTool({"identify", "-format", "%[EXIF:" + tag + "]", jpeg.string()}, out);
    const Bytes text = readFile(out);
    std::filesystem::remove(out);
    return {text.begin(), text.end()};
}

Bytes decodedPixels(const std::filesystem::path& jpeg, const std::filesystem::path& work) {
    const std::filesystem::path out = work / "decoded.ppm";
    runReferenceTool({"djpeg", "-outfile", out.string(), jpeg.string()});
    return readFile(out);
}

Bytes readFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

void writeFile(const std::filesystem::path& path, const Bytes& bytes) {
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

} // namespace PhotoSamples
