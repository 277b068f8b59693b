// The resize step of "small enough to send" with the project's classes, for
// bench/resize_bench.sh:
//   resize_bench shrink MAX_SIDE QUALITY OUTPUT_FOLDER FILE...
//       each JPEG file decoded at the reduced scale ReducedDecode picks, shrunk by the Lanczos
//       pass to MAX_SIDE, encoded at QUALITY and written under its own name in the folder;
//       prints the milliseconds the whole run took
//   resize_bench scale FILE WIDTH HEIGHT SCALE OUTPUT.ppm
//       FILE decoded at 1 / 2^SCALE (0 to 3), then made WIDTH x HEIGHT by the Lanczos pass,
//       written as a PPM file: the reduced decodes whose quality the script measures
#include "imaging/bmp/TBitmap.h"
#include "imaging/jpeg/TJPEGImage.h"
#include "imaging/resample/LanczosResampler.h"
#include "imaging/resample/ShrinkPicture.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace {

int shrink(int maxSide, int quality, const std::filesystem::path& folder,
           const std::vector<std::string>& files) {
    const auto start = std::chrono::steady_clock::now();
    for (const std::string& file : files) {
        TJPEGImage source;
        source.ReadFromFile(file);
        TBitmap shrunk;
        ShrinkPicture::fromJpeg(source, maxSide, shrunk);
        TJPEGImage encoded;
        encoded.setQuality(static_cast<std::uint8_t>(quality));
        encoded.CopyFrom(&shrunk);
        encoded.Encode();
        encoded.WriteToFile((folder / std::filesystem::path(file).filename()).string());
    }
    const auto elapsed = std::chrono::steady_clock::now() - start;
    std::cout << std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count() << '\n';
    return 0;
}

int scale(const std::string& file, PixelSize size, int scale, const std::string& output) {
    TJPEGImage source;
    source.ReadFromFile(file);
    source.setDecodeScale(static_cast<TJPEGDecodeScale>(scale));
    TBitmap shrunk;
    LanczosResampler::resize(source.Decode(), size, shrunk);
    std::ofstream out(output, std::ios::binary);
    out << "P6\n" << size.width << ' ' << size.height << "\n255\n";
    std::vector<char> row(static_cast<std::size_t>(size.width) * 3);
    for (int y = 0; y < size.height; ++y) {
        const std::uint8_t* bgr = shrunk.scanLine(y);
        for (std::size_t i = 0; i < row.size(); i += 3) {
            row[i] = static_cast<char>(bgr[i + 2]);
            row[i + 1] = static_cast<char>(bgr[i + 1]);
            row[i + 2] = static_cast<char>(bgr[i]);
        }
        out.write(row.data(), static_cast<std::streamsize>(row.size()));
    }
    return out ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (arguments.size() >= 5 && arguments[0] == "shrink") {
        return shrink(std::stoi(arguments[1]), std::stoi(arguments[2]), arguments[3],
                      {arguments.begin() + 4, arguments.end()});
    }
    if (arguments.size() == 6 && arguments[0] == "scale") {
        return scale(arguments[1], {std::stoi(arguments[2]), std::stoi(arguments[3])},
                     std::stoi(arguments[4]), arguments[5]);
    }
    std::cerr << "usage: resize_bench shrink MAX_SIDE QUALITY FOLDER FILE...\n"
                 "       resize_bench scale FILE WIDTH HEIGHT SCALE OUTPUT.ppm\n";
    return 2;
}
