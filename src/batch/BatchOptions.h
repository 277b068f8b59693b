#pragma once

#include "recompress/RecompressOptions.h"

#include <QString>
#include <QStringList>
#include <cstdint>

// What a batch run is asked to do, as its command line says it.
struct BatchOptions {
    // What each new file aims at: a quality, the highest quality under a size, or the
    // smallest file at least this similar to the loaded picture.
    enum class Aim { Quality, MaxSize, MinSimilarity };

    Aim aim = Aim::Quality;
    int quality = 75;
    std::int64_t maxBytes = 0;
    double minSimilarity = 0;

    QStringList inputs;   // files and folders, as named
    QString outputFolder; // empty: each new file beside its input
    bool recursive = false;
    bool overwrite = false;
    bool keepDetails = false;
    bool baseline = false; // the window's default coding, not the smaller progressive one
    bool smallest = false; // the smallest file for the look; before baseline
    int maxSide = 0;       // the longest side of the new files; 0 keeps each picture's size
    bool onlySmaller = false;
    bool dryRun = false;
    bool json = false;
    bool quiet = false;
    bool similarity = false; // the similarity of every file, not only when it is aimed at
    int jobs = 1;
    std::uint32_t background = 0xFFFFFF; // under transparency: red + 256 green + 65536 blue

    // What each new file is made with, as the window's choices say it there.
    RecompressOptions recompressOptions() const {
        return {keepDetails, !baseline, maxSide, TJPEGDecodeDepth::Depth24, background, smallest};
    }
};
