#include "imaging/formats/MatrixProfile.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

namespace {

using Vector = std::array<double, 3>;
using Matrix = std::array<Vector, 3>;
using Bytes = std::vector<std::uint8_t>;

// Colour-managed viewers compare every profile under the D50 white.
constexpr Vector D50{0.9642, 1.0, 0.8249};
// The cone responses the white point is adapted in, as the profiles of cameras and
// displays are made.
constexpr Matrix Bradford{
    {{0.8951, 0.2664, -0.1614}, {-0.7502, 1.7135, 0.0367}, {0.0389, -0.0685, 1.0296}}};

Vector apply(const Matrix& m, const Vector& v) {
    Vector out{};
    for (std::size_t r = 0; r < 3; ++r) {
        out[r] = m[r][0] * v[0] + m[r][1] * v[1] + m[r][2] * v[2];
    }
    return out;
}

Matrix multiply(const Matrix& a, const Matrix& b) {
    Matrix out{};
    for (std::size_t r = 0; r < 3; ++r) {
        for (std::size_t c = 0; c < 3; ++c) {
            out[r][c] = a[r][0] * b[0][c] + a[r][1] * b[1][c] + a[r][2] * b[2][c];
        }
    }
    return out;
}

Matrix inverse(const Matrix& m) {
    const double det = m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
                       m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
                       m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
    Matrix out{};
    for (std::size_t r = 0; r < 3; ++r) {
        for (std::size_t c = 0; c < 3; ++c) {
            // The cofactor of the transposed place, its sign taken by the cyclic order.
            const std::size_t r1 = (c + 1) % 3, r2 = (c + 2) % 3;
            const std::size_t c1 = (r + 1) % 3, c2 = (r + 2) % 3;
            out[r][c] = (m[r1][c1] * m[r2][c2] - m[r1][c2] * m[r2][c1]) / det;
        }
    }
    return out;
}

Vector fromChromaticity(const double xy[2]) {
    return {xy[0] / xy[1], 1.0, (1.0 - xy[0] - xy[1]) / xy[1]};
}

// Red, green and blue at full level to XYZ under the picture's own white.
Matrix rgbToXyz(const MatrixProfile::Primaries& p) {
    const Vector red = fromChromaticity(p.red), green = fromChromaticity(p.green),
                 blue = fromChromaticity(p.blue);
    const Matrix columns{
        {{red[0], green[0], blue[0]}, {red[1], green[1], blue[1]}, {red[2], green[2], blue[2]}}};
    const Vector scale = apply(inverse(columns), fromChromaticity(p.white));
    Matrix out = columns;
    for (auto& row : out) {
        for (std::size_t c = 0; c < 3; ++c) {
            row[c] *= scale[c];
        }
    }
    return out;
}

Matrix adaptationToD50(const Vector& white) {
    const Vector from = apply(Bradford, white), to = apply(Bradford, D50);
    Matrix gain{};
    for (std::size_t i = 0; i < 3; ++i) {
        gain[i][i] = to[i] / from[i];
    }
    return multiply(inverse(Bradford), multiply(gain, Bradford));
}

void put16(Bytes& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value >> 8));
    out.push_back(static_cast<std::uint8_t>(value));
}

void put32(Bytes& out, std::uint32_t value) {
    put16(out, value >> 16);
    put16(out, value & 0xFFFF);
}

void putText(Bytes& out, const char* fourCharacters) {
    out.insert(out.end(), fourCharacters, fourCharacters + 4);
}

void putFixed(Bytes& out, double value) {
    put32(out, static_cast<std::uint32_t>(static_cast<std::int32_t>(std::lround(value * 65536))));
}

Bytes typed(const char* type) {
    Bytes out;
    putText(out, type);
    put32(out, 0);
    return out;
}

Bytes xyzTag(const Vector& xyz) {
    Bytes out = typed("XYZ ");
    for (const double value : xyz) {
        putFixed(out, value);
    }
    return out;
}

Bytes matrixTag(const Matrix& m) {
    Bytes out = typed("sf32");
    for (const Vector& row : m) {
        for (const double value : row) {
            putFixed(out, value);
        }
    }
    return out;
}

// One record in American English: every reader falls back to it.
Bytes textTag(const std::string& text) {
    Bytes out = typed("mluc");
    put32(out, 1);
    put32(out, 12);
    putText(out, "enUS");
    put32(out, static_cast<std::uint32_t>(text.size() * 2));
    put32(out, 28);
    for (const char c : text) {
        put16(out, static_cast<std::uint8_t>(c));
    }
    return out;
}

// The curves with a closed form: y = (a x + b)^g above d, c x below it.
Bytes parametricTag(double g, double a, double b, double c, double d) {
    Bytes out = typed("para");
    put16(out, 3);
    put16(out, 0);
    for (const double value : {g, a, b, c, d}) {
        putFixed(out, value);
    }
    return out;
}

// HDR levels relative to the reference white of 203 cd/m², the level an SDR white is shown at.
double hdrLight(MatrixProfile::Curve curve, double level) {
    if (curve == MatrixProfile::Curve::Pq) {
        const double m1 = 2610.0 / 16384, m2 = 2523.0 / 4096 * 128;
        const double c1 = 3424.0 / 4096, c2 = 2413.0 / 4096 * 32, c3 = 2392.0 / 4096 * 32;
        const double p = std::pow(level, 1 / m2);
        return std::pow(std::max(p - c1, 0.0) / (c2 - c3 * p), 1 / m1) * 10000 / 203;
    }
    const double a = 0.17883277, b = 0.28466892, c = 0.55991073;
    const double scene = level <= 0.5 ? level * level / 3 : (std::exp((level - c) / a) + b) / 12;
    return std::pow(scene, 1.2) * 1000 / 203; // shown on a display of 1000 cd/m²
}

Bytes sampledTag(MatrixProfile::Curve curve) {
    constexpr int Count = 1024;
    Bytes out = typed("curv");
    put32(out, Count);
    for (int i = 0; i < Count; ++i) {
        const double light = std::clamp(hdrLight(curve, i / double(Count - 1)), 0.0, 1.0);
        put16(out, static_cast<std::uint32_t>(std::lround(light * 65535)));
    }
    return out;
}

Bytes curveTag(MatrixProfile::Curve curve) {
    using Curve = MatrixProfile::Curve;
    switch (curve) {
    case Curve::Srgb:
        return parametricTag(2.4, 1 / 1.055, 0.055 / 1.055, 1 / 12.92, 0.04045);
    case Curve::Rec709:
        return parametricTag(1 / 0.45, 1 / 1.099, 0.099 / 1.099, 1 / 4.5, 0.081);
    case Curve::Gamma22:
        return parametricTag(2.2, 1, 0, 0, 0);
    case Curve::Gamma28:
        return parametricTag(2.8, 1, 0, 0, 0);
    case Curve::Linear:
        return parametricTag(1, 1, 0, 0, 0);
    case Curve::Pq:
    case Curve::Hlg:
        break;
    }
    return sampledTag(curve);
}

// The fixed part of the header: a version 4.3 display profile of RGB colours against XYZ.
Bytes header() {
    Bytes out;
    put32(out, 0); // the size, once known
    put32(out, 0);
    put32(out, 0x04300000);
    putText(out, "mntr");
    putText(out, "RGB ");
    putText(out, "XYZ ");
    for (const std::uint32_t part : {2026, 1, 1, 0, 0, 0}) {
        put16(out, part);
    }
    putText(out, "acsp");
    out.resize(68, 0); // platform, flags, maker, model, attributes, perceptual intent
    for (const double value : D50) {
        putFixed(out, value);
    }
    out.resize(128, 0);
    return out;
}

// The tags in order, each with its data; the three curves share theirs.
Bytes assemble(const std::vector<std::pair<const char*, std::size_t>>& tags,
               const std::vector<Bytes>& data) {
    Bytes out = header();
    put32(out, static_cast<std::uint32_t>(tags.size()));
    std::vector<std::uint32_t> offsets;
    std::uint32_t next = static_cast<std::uint32_t>(out.size() + 12 * tags.size());
    for (const Bytes& block : data) {
        offsets.push_back(next);
        next += static_cast<std::uint32_t>((block.size() + 3) / 4 * 4);
    }
    for (const auto& [signature, index] : tags) {
        putText(out, signature);
        put32(out, offsets[index]);
        put32(out, static_cast<std::uint32_t>(data[index].size()));
    }
    for (const Bytes& block : data) {
        out.insert(out.end(), block.begin(), block.end());
        out.resize((out.size() + 3) / 4 * 4, 0);
    }
    const std::uint32_t size = static_cast<std::uint32_t>(out.size());
    for (int i = 0; i < 4; ++i) {
        out[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(size >> (24 - 8 * i));
    }
    return out;
}

} // namespace

std::vector<std::uint8_t> MatrixProfile::build(const Primaries& primaries, Curve curve,
                                               const std::string& description) {
    const Matrix adaptation = adaptationToD50(fromChromaticity(primaries.white));
    const Matrix colorants = multiply(adaptation, rgbToXyz(primaries));
    std::vector<Bytes> data{textTag(description), textTag("No copyright, use freely"), xyzTag(D50),
                            matrixTag(adaptation), curveTag(curve)};
    for (std::size_t c = 0; c < 3; ++c) {
        data.push_back(xyzTag({colorants[0][c], colorants[1][c], colorants[2][c]}));
    }
    return assemble({{"desc", 0},
                     {"cprt", 1},
                     {"wtpt", 2},
                     {"chad", 3},
                     {"rXYZ", 5},
                     {"gXYZ", 6},
                     {"bXYZ", 7},
                     {"rTRC", 4},
                     {"gTRC", 4},
                     {"bTRC", 4}},
                    data);
}
