#pragma once

// What a user chooses about the new files, the same for the window and the command line.
struct RecompressOptions {
    // The photo's EXIF details and XMP go along, not only its colour profile and way up.
    bool keepDetails = false;
    // Optimised Huffman tables and progressive scans: the same pixels in fewer bytes.
    bool smallerFile = false;
    // The longest side of the new file in pixels, never enlarged; 0 keeps the picture's size.
    int longestSide = 0;
};
