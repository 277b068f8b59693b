#include "imaging/ResampleSamples.h"

#include "support/ReferenceTool.h"

#include <cmath>
#include <fstream>
#include <limits>
#include <string>

std::filesystem::path photographFolder() {
    const char* script = "import os, skimage.data; print(os.path.dirname(skimage.data.__file__))";
    for (const std::string python : {"/usr/bin/python3", "python3"}) {
        const std::filesystem::path out = freshTestFolder("trevano-photos") / "folder.txt";
        if (runReferenceTool({python, "-c", script}, out) == 0) {
            std::string folder;
            std::getline(std::ifstream(out), folder);
            if (std::filesystem::exists(std::filesystem::path(folder) / "coffee.png")) {
                return folder;
            }
        }
    }
    return {};
}

RgbPicture referenceResize(const std::filesystem::path& file, PixelSize size,
                           const std::filesystem::path& work) {
    const std::filesystem::path out = work / "reference.ppm";
    std::vector<std::string> arguments{"convert", file.string()};
    if (size.width > 0) {
        arguments.insert(arguments.end(),
                         {"-colorspace", "RGB", "-filter", "Lanczos", "-resize",
                          std::to_string(size.width) + "x" + std::to_string(size.height) + "!",
                          "-colorspace", "sRGB"});
    }
    arguments.insert(arguments.end(), {"-strip", "-depth", "8", "ppm:" + out.string()});
    if (runReferenceTool(arguments) != 0) {
        throw std::runtime_error("convert failed on " + file.string());
    }
    return readPpm(out);
}

double psnr(const RgbPicture& first, const RgbPicture& second) {
    if (first.rgb.size() != second.rgb.size() || first.rgb.empty()) {
        return -std::numeric_limits<double>::infinity();
    }
    double squares = 0;
    for (std::size_t i = 0; i < first.rgb.size(); ++i) {
        const double difference = double(first.rgb[i]) - double(second.rgb[i]);
        squares += difference * difference;
    }
    if (squares == 0) {
        return std::numeric_limits<double>::infinity();
    }
    return 10 * std::log10(255.0 * 255.0 * double(first.rgb.size()) / squares);
}
