#pragma once

// What a user chooses about the new files, the same for the window and the command line.
struct RecompressOptions {
    // The photo's EXIF details and XMP go along, not only its colour profile and way up.
    bool keepDetails = false;
};
