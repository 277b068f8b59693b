#pragma once

#include <cstdint>
#include <utility>
#include <vector>

// JPEG files of unusual build, written by the library itself: any component count, any
// sampling factors, any scan layout. The decoder must refuse or read them safely.
struct JpegFrame {
    int width = 16;
    int height = 16;
    // Horizontal and vertical sampling factor of each component, in frame order.
    std::vector<std::pair<int, int>> sampling{{1, 1}, {1, 1}, {1, 1}};
    // Component indexes of each sequential scan (at most four a scan); none: the library's
    // own layout.
    std::vector<std::vector<int>> scans;
    bool progressive = false;
    bool arithmetic = false;
    int restartRows = 0;

    std::vector<std::uint8_t> bytes() const;
};

// The file cut after its first `scans` scans and ended there.
std::vector<std::uint8_t> keepScans(std::vector<std::uint8_t> jpeg, int scans);
// The file with the frame header announcing another size; the picture data stays.
std::vector<std::uint8_t> withFrameSize(std::vector<std::uint8_t> jpeg, std::uint16_t width,
                                        std::uint16_t height);
