// The rotation tool beside the program: it takes the form the program hands it (options,
// then the input and the output file) and turns the input without loss through the library's
// transform, keeping every marker of the input: colour profile, EXIF, XMP, comments. The EXIF
// block is brought in line with the turned pixels. Exit status 0 on success, 2 for a result
// written despite warnings about the input, 1 for a failure, which leaves no output file.
#include "imaging/metadata/TurnedMarkers.h"

#include <cstdio>
#include <fstream>
#include <optional>
#include <string>
#include <turbojpeg.h>
#include <vector>

namespace {

constexpr int Success = 0;
constexpr int Failure = 1;
constexpr int Warnings = 2;

std::optional<tjtransform> parseOptions(char** first, char** last) {
    tjtransform transform{};
    transform.op = TJXOP_NONE;
    for (char** option = first; option != last; ++option) {
        const std::string name = *option;
        if (name == "-trim") {
            transform.options |= TJXOPT_TRIM; // edge blocks that cannot turn are dropped
        } else if (name == "-rotate" && option + 1 != last) {
            const std::string angle = *++option;
            transform.op = angle == "90"    ? TJXOP_ROT90
                           : angle == "180" ? TJXOP_ROT180
                           : angle == "270" ? TJXOP_ROT270
                                            : -1;
            if (transform.op < 0) {
                return std::nullopt;
            }
        } else {
            return std::nullopt;
        }
    }
    return transform;
}

std::optional<std::vector<unsigned char>> readFile(const char* name) {
    std::FILE* file = std::fopen(name, "rb");
    if (!file) {
        return std::nullopt;
    }
    std::vector<unsigned char> bytes;
    unsigned char block[65536];
    std::size_t count = 0;
    while ((count = std::fread(block, 1, sizeof block, file)) > 0) {
        bytes.insert(bytes.end(), block, block + count);
    }
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    return failed ? std::nullopt : std::optional(std::move(bytes));
}

bool writeFile(const char* name, const std::vector<std::uint8_t>& bytes) {
    std::ofstream file(name, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    file.close();
    return !file.fail();
}

// Whether the picture's frame is progressive, read from its markers up to the first frame
// or scan: a turn keeps the coding of the file it turns, and the library's transform writes a
// baseline file unless told otherwise.
bool progressive(const std::vector<unsigned char>& bytes) {
    std::size_t at = 2; // after the start of picture
    while (at + 4 <= bytes.size() && bytes[at] == 0xFF) {
        const unsigned char marker = bytes[at + 1];
        if (marker == 0xFF) {
            ++at; // fill byte
            continue;
        }
        if (marker == 0xDA || (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 &&
                               marker != 0xC8 && marker != 0xCC)) {
            return marker == 0xC2 || marker == 0xC6 || marker == 0xCA || marker == 0xCE;
        }
        at += 2 + ((std::size_t{bytes[at + 2]} << 8) | bytes[at + 3]);
    }
    return false;
}

// The library's transform owns its buffers; this frees them however the run ends.
class Transformer {
public:
    Transformer() : handle_(tjInitTransform()) {}
    ~Transformer() {
        tjFree(output_);
        if (handle_) {
            tjDestroy(handle_);
        }
    }
    Transformer(const Transformer&) = delete;
    Transformer& operator=(const Transformer&) = delete;

    // The turned file with its markers settled; nothing on failure. `warned` tells of a
    // result made despite warnings about the input.
    std::optional<std::vector<std::uint8_t>> run(const std::vector<unsigned char>& input,
                                                 tjtransform transform, bool& warned) {
        if (!handle_) {
            return std::nullopt;
        }
        unsigned long size = 0;
        const int status =
            tjTransform(handle_, input.data(), input.size(), 1, &output_, &size, &transform, 0);
        warned = status != 0 && tjGetErrorCode(handle_) == TJERR_WARNING;
        int width = 0;
        int height = 0;
        int subsampling = 0;
        int colours = 0;
        if ((status != 0 && !warned) || !output_ || size == 0 ||
            tjDecompressHeader3(handle_, output_, size, &width, &height, &subsampling, &colours) !=
                0) {
            std::fprintf(stderr, "%s\n", tjGetErrorStr2(handle_));
            return std::nullopt;
        }
        return TurnedMarkers::settle(output_, size, static_cast<std::uint32_t>(width),
                                     static_cast<std::uint32_t>(height));
    }

private:
    tjhandle handle_;
    unsigned char* output_ = nullptr;
};

} // namespace

int main(int argc, char** argv) {
    const std::optional<tjtransform> transform =
        argc >= 3 ? parseOptions(argv + 1, argv + argc - 2) : std::nullopt;
    if (!transform) {
        std::fprintf(stderr, "usage: %s [-rotate 90|180|270] [-trim] input.jpg output.jpg\n",
                     argv[0]);
        return Failure;
    }
    const char* input = argv[argc - 2];
    const char* output = argv[argc - 1];
    const std::optional<std::vector<unsigned char>> bytes = readFile(input);
    if (!bytes) {
        std::fprintf(stderr, "%s: cannot read %s\n", argv[0], input);
        return Failure;
    }
    tjtransform settled = *transform;
    if (progressive(*bytes)) {
        settled.options |= TJXOPT_PROGRESSIVE;
    }
    bool warned = false;
    const std::optional<std::vector<std::uint8_t>> turned =
        Transformer().run(*bytes, settled, warned);
    if (!turned || !writeFile(output, *turned)) {
        std::remove(output); // half a picture is worse than none
        return Failure;
    }
    return warned ? Warnings : Success;
}
